#include "net/SystemMessage.h"

#include <wininet.h>

#include "common/StringConv.h"

namespace qv {
namespace {

std::wstring FormatFrom(DWORD flags, HMODULE module, DWORD code) {
    wchar_t* text = nullptr;
    const DWORD length =
        FormatMessageW(flags | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS,
                       module, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring result = length > 0 && text ? std::wstring(text, length) : std::wstring();
    if (text) LocalFree(text);
    while (!result.empty() &&
           (result.back() == L'\r' || result.back() == L'\n' || result.back() == L' ')) {
        result.pop_back();
    }
    return result;
}

}  // namespace

std::wstring SystemErrorText(DWORD code) {
    std::wstring text;
    if (code >= INTERNET_ERROR_BASE && code <= INTERNET_ERROR_LAST) {
        text = FormatFrom(FORMAT_MESSAGE_FROM_HMODULE, GetModuleHandleW(L"wininet.dll"), code);
    }
    if (text.empty()) text = FormatFrom(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, code);
    if (text.empty()) text = L"错误代码 " + std::to_wstring(code);
    return text;
}

std::wstring LastErrorText() {
    return SystemErrorText(GetLastError());
}

std::wstring ExceptionText(const std::exception& error) {
    return Utf8ToWide(error.what());
}

}  // namespace qv
