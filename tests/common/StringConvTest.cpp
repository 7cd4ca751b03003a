#include "common/StringConv.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

TEST(StringConvTest, RoundTripsChineseThroughUtf8AndTheAnsiCodePage) {
    const std::wstring text = L"Quorvane（电信）正在下载";
    EXPECT_EQ(qv::Utf8ToWide(qv::WideToUtf8(text)), text);
    EXPECT_EQ(qv::WideToUtf8(L"电信"), "\xE7\x94\xB5\xE4\xBF\xA1");
    // The tests run with the code page of the systems the program is made for.
    ASSERT_EQ(GetACP(), 936u);
    EXPECT_EQ(qv::WideToAnsi(L"电信"), "\xB5\xE7\xD0\xC5");
    EXPECT_EQ(qv::AnsiToWide(qv::WideToAnsi(text)), text);
}

TEST(StringConvTest, EmptyStaysEmpty) {
    EXPECT_EQ(qv::WideToAnsi(L""), "");
    EXPECT_EQ(qv::Utf8ToWide(""), L"");
}

}  // namespace
