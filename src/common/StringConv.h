// Conversions between the wide strings used inside the program and the byte encodings used at
// its edges: the ANSI code page (log text, INI side files) and UTF-8 (URL encoding, JSON output).
#pragma once

#include <string>
#include <string_view>

namespace qv {

std::string WideToAnsi(std::wstring_view text);
std::wstring AnsiToWide(std::string_view text);
std::string WideToUtf8(std::wstring_view text);
std::wstring Utf8ToWide(std::string_view text);

}  // namespace qv
