#include "app/AppFolders.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace qv {
namespace {

struct SeparatorCase {
    const wchar_t* folder;
    const wchar_t* expected;
};

class TrailingSeparatorTest : public testing::TestWithParam<SeparatorCase> {};

TEST_P(TrailingSeparatorTest, AddsOneWhenMissing) {
    EXPECT_EQ(WithTrailingSeparator(GetParam().folder), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Folders, TrailingSeparatorTest,
                         testing::Values(SeparatorCase{L"C:\\d", L"C:\\d\\"},
                                         SeparatorCase{L"C:\\d\\", L"C:\\d\\"},
                                         SeparatorCase{L"C:/d/", L"C:/d/"},
                                         SeparatorCase{L"", L""}));

TEST(AppFoldersTest, DefaultDownloadFolderIsBesideTheExecutable) {
    const std::wstring exeFolder = ExecutableFolder();
    ASSERT_FALSE(exeFolder.empty());
    EXPECT_EQ(exeFolder.back(), L'\\');
    EXPECT_NE(GetFileAttributesW(exeFolder.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(DefaultDownloadFolder(), exeFolder + L"Quorvane\\");
}

class FolderCreationTest : public testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        ASSERT_NE(GetTempPathW(MAX_PATH, temp), 0u);
        root_ = std::wstring(temp) + L"qv_app_folders_" + std::to_wstring(GetCurrentProcessId());
    }
    void TearDown() override {
        RemoveDirectoryW((root_ + L"\\层一\\层二").c_str());
        RemoveDirectoryW((root_ + L"\\层一").c_str());
        DeleteFileW((root_ + L"\\file").c_str());
        RemoveDirectoryW(root_.c_str());
    }
    std::wstring root_;
};

TEST_F(FolderCreationTest, CreatesEveryMissingLevel) {
    const std::wstring nested = root_ + L"\\层一\\层二\\";
    EXPECT_TRUE(EnsureFolderExists(nested));
    EXPECT_TRUE(GetFileAttributesW(nested.c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_TRUE(EnsureFolderExists(nested));  // existing already: still fine
}

TEST_F(FolderCreationTest, FailsWhereAFileBlocksTheWay) {
    ASSERT_TRUE(EnsureFolderExists(root_));
    const std::wstring file = root_ + L"\\file";
    HANDLE h = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    CloseHandle(h);
    EXPECT_TRUE(FileExists(file));
    EXPECT_FALSE(EnsureFolderExists(file + L"\\below\\"));
    EXPECT_FALSE(EnsureFolderExists(L""));
}

TEST_F(FolderCreationTest, FileExistsIsFalseForFoldersAndMissingFiles) {
    ASSERT_TRUE(EnsureFolderExists(root_));
    EXPECT_FALSE(FileExists(root_));
    EXPECT_FALSE(FileExists(root_ + L"\\missing.exe"));
}

}  // namespace
}  // namespace qv
