#include "app/PackageSource.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

// This test is linked with the mirror bases "http://127.0.0.1:18080" and
// "http://mirror-two.test:8081" (tests/app/CMakeLists.txt).
TEST(PackageUrlTest, EachLineUsesItsOwnMirrorWithTheSamePath) {
    EXPECT_EQ(PackageUrl(TMirrorLine::FirstLine),
              L"http://127.0.0.1:18080/uploads/Quorvane（湖北）（完整安装包）.exe");
    EXPECT_EQ(PackageUrl(TMirrorLine::SecondLine),
              L"http://mirror-two.test:8081/uploads/Quorvane（湖北）（完整安装包）.exe");
}

struct FileNameCase {
    const wchar_t* path;
    const wchar_t* name;
};

class FileNameTest : public testing::TestWithParam<FileNameCase> {};

TEST_P(FileNameTest, TakesTheLastComponent) {
    EXPECT_EQ(FileNameOfUrlPath(GetParam().path), GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, FileNameTest,
    testing::Values(FileNameCase{L"/uploads/Quorvane（湖北）（完整安装包）.exe",
                                 L"Quorvane（湖北）（完整安装包）.exe"},
                    FileNameCase{L"/a/b/setup.exe", L"setup.exe"},
                    FileNameCase{L"/uploads/", L""},  // no file name: the caller refuses it
                    FileNameCase{L"/", L""}, FileNameCase{L"", L""},
                    FileNameCase{L"setup.exe", L"setup.exe"},
                    FileNameCase{L"/a\\b\\c.exe", L"c.exe"},
                    FileNameCase{L"/x:evil.exe", L"evil.exe"}));  // no stream or drive names

}  // namespace
}  // namespace qv
