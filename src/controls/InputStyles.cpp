#include "controls/InputStyles.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cwctype>
#include <string>

namespace qv {

namespace {

bool IsDigit(wchar_t ch) {
    return ch >= L'0' && ch <= L'9';
}
bool IsBlank(wchar_t ch) {
    return ch == L' ' || ch == L'\t';
}

std::wstring_view TrimBlanks(std::wstring_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

// Consumes a run of digits and tells how many there were.
size_t SkipDigits(std::wstring_view text, size_t& pos) {
    const size_t start = pos;
    while (pos < text.size() && IsDigit(text[pos])) ++pos;
    return pos - start;
}

void SkipSign(std::wstring_view text, size_t& pos) {
    if (pos < text.size() && (text[pos] == L'+' || text[pos] == L'-')) ++pos;
}

bool IsNumberSyntax(std::wstring_view text) {
    size_t pos = 0;
    SkipSign(text, pos);
    size_t mantissaDigits = SkipDigits(text, pos);
    if (pos < text.size() && text[pos] == L'.') {
        ++pos;
        mantissaDigits += SkipDigits(text, pos);
    }
    if (mantissaDigits == 0) return false;
    if (pos < text.size() && (text[pos] == L'e' || text[pos] == L'E')) {
        ++pos;
        SkipSign(text, pos);
        if (SkipDigits(text, pos) == 0) return false;
    }
    return pos == text.size();
}

std::wstring Widen(const std::string& ascii) {
    return std::wstring(ascii.begin(), ascii.end());
}

std::string FormatAscii(const char* format, int precision, double value) {
    const int length = std::snprintf(nullptr, 0, format, precision, value);
    if (length <= 0) return {};
    std::string text(static_cast<size_t>(length) + 1, '\0');
    std::snprintf(text.data(), text.size(), format, precision, value);
    text.resize(static_cast<size_t>(length));
    return text;
}

}  // namespace

bool IsNumericStyle(TInputStyle style) {
    return style != TInputStyle::ISText;
}

bool AcceptsTypedChar(TInputStyle style, wchar_t ch, std::wstring_view currentText) {
    if (!IsNumericStyle(style)) return true;
    if (ch == L'\b' || IsDigit(ch)) return true;
    return ch == L'.' && currentText.find(L'.') == std::wstring_view::npos;
}

std::optional<double> ParseNumber(std::wstring_view text) {
    text = TrimBlanks(text);
    if (!IsNumberSyntax(text)) return std::nullopt;
    // The syntax check leaves only ASCII, so the narrow conversion below is exact.
    const std::string ascii(text.begin(), text.end());
    const double value = std::strtod(ascii.c_str(), nullptr);
    if (!std::isfinite(value)) return std::nullopt;
    return value;
}

std::optional<double> ValueFromText(TInputStyle style, std::wstring_view text) {
    if (style == TInputStyle::ISPercent && text.ends_with(kPercentSign)) {
        text.remove_suffix(1);
    } else if (style == TInputStyle::IsCurrency && text.starts_with(kCurrencySign)) {
        text.remove_prefix(1);
    }
    if (text.empty()) return 0.0;
    return ParseNumber(text);
}

// Rounds half away from zero on the number's 15 significant decimal digits, as people do:
// 0.5 shows as 1 and 2.25 as 2.3, although neither tie is broken that way by binary rounding.
std::wstring FormatFixed(double value, int decimals) {
    decimals = std::max(decimals, 0);
    if (!std::isfinite(value)) return Widen(FormatAscii("%.*f", decimals, value));
    constexpr int kDigits = 15;
    // "d.dddddddddddddde+XX": the significant digits and the decimal exponent.
    const std::string scientific = FormatAscii("%.*e", kDigits - 1, std::fabs(value));
    std::string digits(1, scientific[0]);
    digits.append(scientific, 2, kDigits - 1);
    int exponent = std::atoi(scientific.c_str() + scientific.find('e') + 1);
    const int kept = exponent + 1 + decimals;  // digits left after rounding
    if (kept < 0) {
        digits.clear();
    } else if (kept < kDigits) {
        const bool roundUp = digits[static_cast<size_t>(kept)] >= '5';
        digits.resize(static_cast<size_t>(kept));
        if (roundUp) {
            int i = kept - 1;
            for (; i >= 0 && digits[static_cast<size_t>(i)] == '9'; --i) {
                digits[static_cast<size_t>(i)] = '0';
            }
            if (i >= 0) {
                ++digits[static_cast<size_t>(i)];
            } else {
                digits.insert(digits.begin(), '1');
                ++exponent;
            }
        }
    } else {
        digits.append(static_cast<size_t>(kept - kDigits), '0');
    }
    // The digit for 10^k sits at index exponent - k of the digit string.
    std::string integer, fraction;
    for (int power = std::max(exponent, 0); power >= -decimals; --power) {
        const int index = exponent - power;
        const char digit = index >= 0 && index < static_cast<int>(digits.size())
                               ? digits[static_cast<size_t>(index)]
                               : '0';
        (power >= 0 ? integer : fraction).push_back(digit);
    }
    integer.erase(0, std::min(integer.find_first_not_of('0'), integer.size() - 1));
    const bool zero = integer == "0" && fraction.find_first_not_of('0') == std::string::npos;
    std::string text;
    if (value < 0 && !zero) text.push_back('-');
    text.append(integer);
    if (decimals > 0) {
        text.push_back('.');
        text.append(fraction);
    }
    return Widen(text);
}

std::wstring FormatGeneral(double value) {
    return Widen(FormatAscii("%.*g", 15, value));
}

std::wstring FormatStyledValue(TInputStyle style, double value, int decimals) {
    switch (style) {
        case TInputStyle::ISPercent:
            return FormatFixed(value, decimals) + kPercentSign;
        case TInputStyle::ISNumber:
            return FormatFixed(value, decimals);
        case TInputStyle::IsCurrency:
            return kCurrencySign + FormatFixed(value, decimals);
        case TInputStyle::ISText:
            break;
    }
    return {};
}

}  // namespace qv
