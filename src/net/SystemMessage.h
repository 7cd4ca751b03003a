// The operating system's message text for an error code, as failure texts end with it.
#pragma once

#include <windows.h>

#include <exception>
#include <string>

namespace qv {

// Text for `code` (WinInet's 12xxx codes included), without trailing line breaks; a code
// without a text gives "错误代码 N".
std::wstring SystemErrorText(DWORD code);
// SystemErrorText(GetLastError()).
std::wstring LastErrorText();
// The message of a caught exception (narrow texts of this program are UTF-8).
std::wstring ExceptionText(const std::exception& error);

}  // namespace qv
