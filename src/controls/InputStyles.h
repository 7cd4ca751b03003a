// Text rules of the flat edit box's input styles: which typed characters pass, how the shown
// text turns into the kept number, and how the number is shown again.
//
// The numeric styles always use "." as the decimal point: it is the only separator the typing
// filter lets through, so formatting and reading must agree with it whatever the locale says.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qv {

enum class TInputStyle : std::uint8_t { ISText, ISPercent, ISNumber, IsCurrency };

inline constexpr wchar_t kCurrencySign[] = L"\uFFE5";  // fullwidth yuan sign
inline constexpr wchar_t kPercentSign[] = L"%";

bool IsNumericStyle(TInputStyle style);

// Whether a typed character reaches the edit window. In the numeric styles only backspace, the
// digits and a first "." pass.
bool AcceptsTypedChar(TInputStyle style, wchar_t ch, std::wstring_view currentText);

// A real number written as [sign]digits[.digits][e[sign]digits], blanks around it allowed;
// nullopt for anything else (a lone ".", letters, an empty text).
std::optional<double> ParseNumber(std::wstring_view text);

// The number a numeric box's text stands for: an empty text is 0, the style's own "%" suffix or
// currency prefix is ignored. nullopt when the rest is not a number.
std::optional<double> ValueFromText(TInputStyle style, std::wstring_view text);

// Fixed-point text with `decimals` digits after the point (a negative count counts as 0).
std::wstring FormatFixed(double value, int decimals);

// The shortest general form with up to 15 significant digits ("12.5", "1e+20").
std::wstring FormatGeneral(double value);

// What a numeric box shows while it is not being edited: "12.50%", "￥4", "0.000".
// ISText gives an empty text.
std::wstring FormatStyledValue(TInputStyle style, double value, int decimals);

}  // namespace qv
