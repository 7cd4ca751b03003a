#include "net/UrlEncoding.h"

#include <windows.h>

namespace qv {
namespace {

bool PassesUnchanged(unsigned char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '!' ||
           c == '$' || c == '\'' || c == '(' || c == ')' || c == '*' || c == '-' || c == '.' ||
           c == '@' || c == '_';
}

// UTF-8 of one UTF-16 unit taken alone: a surrogate half gives its own three-byte sequence.
void AppendUtf8Unit(std::string& out, wchar_t unit) {
    const unsigned value = static_cast<unsigned>(unit);
    if (value < 0x80) {
        out += static_cast<char>(value);
    } else if (value < 0x800) {
        out += static_cast<char>(0xC0 | (value >> 6));
        out += static_cast<char>(0x80 | (value & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (value >> 12));
        out += static_cast<char>(0x80 | ((value >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (value & 0x3F));
    }
}

}  // namespace

std::wstring UrlEncodeRun(std::wstring_view Text) {
    static const wchar_t kHex[] = L"0123456789abcdef";
    std::string bytes;
    for (const wchar_t unit : Text) AppendUtf8Unit(bytes, unit);
    std::wstring out;
    for (const unsigned char c : bytes) {
        if (PassesUnchanged(c)) {
            out += static_cast<wchar_t>(c);
        } else if (c == ' ') {
            out += L'+';
        } else {
            out += L'%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

std::wstring EncodeUrl(std::wstring_view Url) {
    std::wstring out;
    size_t runStart = 0;
    size_t runLength = 0;
    for (size_t i = 0; i < Url.size(); ++i) {
        if (static_cast<unsigned>(Url[i]) > 0x80) {
            if (runLength == 0) runStart = i;
            ++runLength;
            continue;
        }
        if (runLength > 0) out += UrlEncodeRun(Url.substr(runStart, runLength));
        runLength = 0;
        out += Url[i];
    }
    if (runLength > 0) out += UrlEncodeRun(Url.substr(runStart, runLength));
    return out;
}

}  // namespace qv
