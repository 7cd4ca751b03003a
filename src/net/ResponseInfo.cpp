#include "net/ResponseInfo.h"

#include <cstdlib>
#include <string>

namespace qv {
namespace {

std::optional<std::wstring> QueryHeaderText(HINTERNET request, DWORD query) {
    wchar_t text[256] = {};
    DWORD bytes = sizeof text - sizeof(wchar_t);
    if (!HttpQueryInfoW(request, query, text, &bytes, nullptr)) return std::nullopt;
    return std::wstring(text, bytes / sizeof(wchar_t));
}

}  // namespace

DWORD QueryStatusCode(HINTERNET request) {
    DWORD status = 0;
    DWORD size = sizeof status;
    if (!HttpQueryInfoW(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size,
                        nullptr)) {
        return 0;
    }
    return status;
}

std::optional<uint64_t> QueryContentLength(HINTERNET request) {
    const std::optional<std::wstring> text = QueryHeaderText(request, HTTP_QUERY_CONTENT_LENGTH);
    if (!text || text->empty() || (*text)[0] < L'0' || (*text)[0] > L'9') return std::nullopt;
    wchar_t* end = nullptr;
    const unsigned long long value = std::wcstoull(text->c_str(), &end, 10);
    if (*end != L'\0') return std::nullopt;
    return value;
}

std::optional<SYSTEMTIME> QueryLastModified(HINTERNET request) {
    SYSTEMTIME time{};
    DWORD size = sizeof time;
    if (!HttpQueryInfoW(request, HTTP_QUERY_LAST_MODIFIED | HTTP_QUERY_FLAG_SYSTEMTIME, &time,
                        &size, nullptr)) {
        return std::nullopt;
    }
    return time;
}

std::optional<uint64_t> QueryRangeStart(HINTERNET request) {
    const std::optional<std::wstring> text = QueryHeaderText(request, HTTP_QUERY_CONTENT_RANGE);
    if (!text) return std::nullopt;
    const size_t digits = text->find_first_of(L"0123456789");
    if (digits == std::wstring::npos || text->find(L'*') < digits) return std::nullopt;
    return std::wcstoull(text->c_str() + digits, nullptr, 10);
}

}  // namespace qv
