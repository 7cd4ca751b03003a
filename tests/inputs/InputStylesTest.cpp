#include "controls/InputStyles.h"

#include <gtest/gtest.h>

namespace {

using qv::TInputStyle;

constexpr TInputStyle kNumericStyles[] = {TInputStyle::ISPercent, TInputStyle::ISNumber,
                                          TInputStyle::IsCurrency};

TEST(InputStylesTest, NumericStylesLetOnlyDigitsBackspaceAndOnePointThrough) {
    struct Case {
        wchar_t ch;
        const wchar_t* text;
        bool accepted;
    };
    const Case cases[] = {
        {L'0', L"", true},       {L'9', L"12", true}, {L'\b', L"12", true}, {L'.', L"12", true},
        {L'.', L"1.2", false},   {L'.', L".", false}, {L'-', L"", false},   {L'+', L"", false},
        {L'e', L"1", false},     {L'a', L"", false},  {L' ', L"1", false},  {L'%', L"1", false},
        {L'\x0016', L"", false},  // Ctrl+V arrives as a character and is refused too
        {L'\uFF11', L"", false},  // a fullwidth digit is not a digit here
    };
    for (TInputStyle style : kNumericStyles) {
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << "style " << int(style) << " char " << int(c.ch)
                                            << " text " << testing::PrintToString(c.text));
            EXPECT_EQ(qv::AcceptsTypedChar(style, c.ch, c.text), c.accepted);
        }
    }
}

TEST(InputStylesTest, TextStyleLetsEveryCharacterThrough) {
    for (wchar_t ch : {L'-', L'.', L'a', L'\x0016', L'电'}) {
        EXPECT_TRUE(qv::AcceptsTypedChar(TInputStyle::ISText, ch, L"1.5"));
    }
}

TEST(InputStylesTest, ParseNumberAcceptsPlainNumbersAndRefusesTheRest) {
    struct Case {
        const wchar_t* text;
        std::optional<double> value;
    };
    const Case cases[] = {
        {L"12.5", 12.5},
        {L"0", 0.0},
        {L"5.", 5.0},
        {L".5", 0.5},
        {L" 7 ", 7.0},
        {L"-3.25", -3.25},
        {L"1e3", 1000.0},
        {L"1E-2", 0.01},
        {L".", std::nullopt},
        {L"", std::nullopt},
        {L"1.2.3", std::nullopt},
        {L"abc", std::nullopt},
        {L"1e", std::nullopt},
        {L"0x10", std::nullopt},
        {L"inf", std::nullopt},
        {L"nan", std::nullopt},
        {L"1e999", std::nullopt},
        {L"12%", std::nullopt},
        {L"\uFFE54", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.text)));
        EXPECT_EQ(qv::ParseNumber(c.text), c.value);
    }
}

TEST(InputStylesTest, ValueFromTextDropsTheStylesOwnAffixOnly) {
    struct Case {
        TInputStyle style;
        const wchar_t* text;
        std::optional<double> value;
    };
    const Case cases[] = {
        {TInputStyle::ISPercent, L"12.50%", 12.5},
        {TInputStyle::ISPercent, L"12.50", 12.5},
        {TInputStyle::ISPercent, L"%", 0.0},
        {TInputStyle::ISPercent, L"\uFFE54", std::nullopt},
        {TInputStyle::IsCurrency, L"\uFFE54", 4.0},
        {TInputStyle::IsCurrency, L"4%", std::nullopt},
        {TInputStyle::ISNumber, L"", 0.0},
        {TInputStyle::ISNumber, L"3%", std::nullopt},
        {TInputStyle::ISNumber, L".", std::nullopt},
        {TInputStyle::IsCurrency, L"\uFFE5.", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.text)));
        EXPECT_EQ(qv::ValueFromText(c.style, c.text), c.value);
    }
}

TEST(InputStylesTest, FormatsWithTheStylesAffixAndFixedDecimals) {
    struct Case {
        TInputStyle style;
        double value;
        int decimals;
        const wchar_t* text;
    };
    const Case cases[] = {
        {TInputStyle::ISPercent, 12.5, 2, L"12.50%"},
        {TInputStyle::IsCurrency, 3.7, 0, L"\uFFE54"},
        {TInputStyle::ISNumber, 0.0, 3, L"0.000"},
        {TInputStyle::ISNumber, 0.0, 0, L"0"},
        {TInputStyle::ISNumber, -2.5, 1, L"-2.5"},
        {TInputStyle::ISNumber, 1.25, -4, L"1"},  // a negative count shows no decimals
        {TInputStyle::ISText, 12.5, 2, L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.text)));
        EXPECT_EQ(qv::FormatStyledValue(c.style, c.value, c.decimals), c.text);
    }
}

TEST(InputStylesTest, FixedFormRoundsHalfAwayFromZeroOnTheDecimalDigits) {
    struct Case {
        double value;
        int decimals;
        const wchar_t* text;
    };
    const Case cases[] = {
        {0.5, 0, L"1"},         {1.5, 0, L"2"},
        {2.5, 0, L"3"},         {2.25, 1, L"2.3"},
        {2.675, 2, L"2.68"},    {0.15, 1, L"0.2"},
        {9.995, 2, L"10.00"},   {99.95, 1, L"100.0"},
        {999.5, 0, L"1000"},    {0.0004, 3, L"0.000"},
        {-0.0004, 3, L"0.000"}, {-2.5, 0, L"-3"},
        {123.456, 0, L"123"},   {0.001234, 5, L"0.00123"},
        {12.5, 2, L"12.50"},    {1e20, 2, L"100000000000000000000.00"},
        {0.0, 0, L"0"},         {7.0, 4, L"7.0000"},
        {0.04, 1, L"0.0"},      {0.05, 1, L"0.1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.value << " with " << c.decimals);
        EXPECT_EQ(qv::FormatFixed(c.value, c.decimals), c.text);
    }
}

TEST(InputStylesTest, GeneralFormIsShortestUpToFifteenDigits) {
    EXPECT_EQ(qv::FormatGeneral(12.5), L"12.5");
    EXPECT_EQ(qv::FormatGeneral(0.1 + 0.2), L"0.3");
    EXPECT_EQ(qv::FormatGeneral(1e20), L"1e+20");
    EXPECT_EQ(qv::FormatFixed(1e20, 0), L"100000000000000000000");
}

}  // namespace
