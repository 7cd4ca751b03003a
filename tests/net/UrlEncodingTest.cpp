#include <gtest/gtest.h>

#include "net/UrlEncoding.h"

namespace qv {
namespace {

struct EncodeCase {
    const wchar_t* input;
    const wchar_t* expected;
};

class EncodeUrlTest : public testing::TestWithParam<EncodeCase> {};

TEST_P(EncodeUrlTest, EncodesOnlyRunsAbove0x80) {
    EXPECT_EQ(EncodeUrl(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EncodeUrlTest,
    testing::Values(
        EncodeCase{L"http://h/a b%20c?x=1&y=*", L"http://h/a b%20c?x=1&y=*"},
        EncodeCase{L"http://h/下载", L"http://h/%e4%b8%8b%e8%bd%bd"},
        EncodeCase{L"http://h/下载/x", L"http://h/%e4%b8%8b%e8%bd%bd/x"},
        EncodeCase{L"http://h/uploads/Quorvane（湖北）（完整安装包）.exe",
                   L"http://h/uploads/Quorvane%ef%bc%88%e6%b9%96%e5%8c%97%ef%bc%89%ef%bc%88%e5%"
                   L"ae%8c%e6%95%b4%e5%ae%89%e8%a3%85%e5%8c%85%ef%bc%89.exe"},
        // U+0080 itself passes unchanged; U+0081 is encoded.
        EncodeCase{L"a\u0080b", L"a\u0080b"}, EncodeCase{L"a\u0081b", L"a%c2%81b"},
        // A surrogate pair: each half on its own as a three-byte sequence.
        EncodeCase{L"\U0001F600", L"%ed%a0%bd%ed%b8%80"}, EncodeCase{L"", L""}));

TEST(UrlEncodeRunTest, PassesItsSafeSetTurnsBlankToPlusAndEscapesTheRest) {
    const struct {
        const wchar_t* input;
        const wchar_t* expected;
    } cases[] = {
        {L"!$'()*-.09@AZ_az", L"!$'()*-.09@AZ_az"},
        {L"a b", L"a+b"},
        {L"/?%&=:#~+,;", L"%2f%3f%25%26%3d%3a%23%7e%2b%2c%3b"},
        {L"下载", L"%e4%b8%8b%e8%bd%bd"},
        {L"é", L"%c3%a9"},
    };
    for (const auto& c : cases) EXPECT_EQ(UrlEncodeRun(c.input), c.expected) << c.input;
}

}  // namespace
}  // namespace qv
