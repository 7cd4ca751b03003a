#include "controls/InputStyles.h"

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

std::wstring FormatFixed(double value, int decimals) {
    return Widen(FormatAscii("%.*f", decimals < 0 ? 0 : decimals, value));
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
