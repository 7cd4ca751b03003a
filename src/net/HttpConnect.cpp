// Splitting URLs, and opening the session, connection and request of one operation.
#include <cwctype>
#include <exception>
#include <vector>

#include "common/StringConv.h"
#include "net/HttpClient.h"
#include "net/SystemMessage.h"

namespace qv {
namespace {

// Buffer sizes of the splitter, in ANSI bytes with the terminating zero: a longer piece makes
// the split fail.
constexpr DWORD kSchemeBytes = 32;
constexpr DWORD kHostBytes = 256;
constexpr DWORD kUserBytes = 128;
constexpr DWORD kPasswordBytes = 128;
constexpr DWORD kPathBytes = 2055;
constexpr DWORD kExtraBytes = 2048;

bool FitsAnsiBuffer(const std::wstring& piece, DWORD bytes) {
    return WideToAnsi(piece).size() + 1 <= bytes;
}

bool EqualsNoCase(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::towlower(a[i]) != std::towlower(b[i])) return false;
    }
    return true;
}

void SetTimeouts(HINTERNET handle, int32_t timeoutMs) {
    if (timeoutMs == 0) return;
    DWORD value = static_cast<DWORD>(timeoutMs);
    for (const DWORD option :
         {INTERNET_OPTION_SEND_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT,
          INTERNET_OPTION_DATA_SEND_TIMEOUT, INTERNET_OPTION_DATA_RECEIVE_TIMEOUT}) {
        InternetSetOptionW(handle, option, &value, sizeof value);
    }
}

void SetTextOption(HINTERNET handle, DWORD option, const std::wstring& value) {
    if (value.empty()) return;
    std::string text = WideToAnsi(value);
    InternetSetOptionA(handle, option, text.data(), static_cast<DWORD>(text.size()));
}

ScopedInternet OpenSession(const std::wstring& agent, THttpAccessType accessType,
                           const std::wstring& proxyServer) {
    switch (accessType) {
        case atDirect:
            return ScopedInternet(
                InternetOpenW(agent.c_str(), INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
        case atPreconfig:
            return ScopedInternet(
                InternetOpenW(agent.c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
        case atProxy:
            return ScopedInternet(InternetOpenW(agent.c_str(), INTERNET_OPEN_TYPE_PROXY,
                                                proxyServer.c_str(), nullptr, 0));
    }
    SetLastError(ERROR_INVALID_PARAMETER);
    return ScopedInternet();
}

}  // namespace

bool THttpClient::ParseUrl(const std::wstring& Url, TURLParts& Parts) {
    Parts = TURLParts{};
    // Wide buffers as long as the ANSI ones: a piece that does not fit them cannot fit those.
    std::vector<wchar_t> scheme(kSchemeBytes), host(kHostBytes), user(kUserBytes),
        password(kPasswordBytes), path(kPathBytes), extra(kExtraBytes);
    URL_COMPONENTSW components{};
    components.dwStructSize = sizeof components;
    components.lpszScheme = scheme.data();
    components.dwSchemeLength = kSchemeBytes;
    components.lpszHostName = host.data();
    components.dwHostNameLength = kHostBytes;
    components.lpszUserName = user.data();
    components.dwUserNameLength = kUserBytes;
    components.lpszPassword = password.data();
    components.dwPasswordLength = kPasswordBytes;
    components.lpszUrlPath = path.data();
    components.dwUrlPathLength = kPathBytes;
    components.lpszExtraInfo = extra.data();
    components.dwExtraInfoLength = kExtraBytes;
    if (!InternetCrackUrlW(Url.c_str(), 0, 0, &components)) return false;

    TURLParts parts;
    parts.Scheme = static_cast<int32_t>(components.nScheme);
    parts.SchemeName.assign(scheme.data(), components.dwSchemeLength);
    parts.HostName.assign(host.data(), components.dwHostNameLength);
    parts.Port = components.nPort;
    parts.UserName.assign(user.data(), components.dwUserNameLength);
    parts.Password.assign(password.data(), components.dwPasswordLength);
    parts.UrlPath.assign(path.data(), components.dwUrlPathLength);
    parts.ExtraInfo.assign(extra.data(), components.dwExtraInfoLength);
    if (!FitsAnsiBuffer(parts.SchemeName, kSchemeBytes) ||
        !FitsAnsiBuffer(parts.HostName, kHostBytes) ||
        !FitsAnsiBuffer(parts.UserName, kUserBytes) ||
        !FitsAnsiBuffer(parts.Password, kPasswordBytes) ||
        !FitsAnsiBuffer(parts.UrlPath, kPathBytes) ||
        !FitsAnsiBuffer(parts.ExtraInfo, kExtraBytes)) {
        return false;
    }
    Parts = std::move(parts);
    return true;
}

bool THttpClient::_CreateInternetConnect(std::wstring& Url, InternetConnection& Connection,
                                         std::wstring& ErrorText) {
    Connection.Close();
    Connection.IsHttps = false;
    ErrorText.clear();
    try {
        if (Url.empty()) {
            ErrorText = L"URL地址为空！";
            return false;
        }
        TURLParts parts;
        if (!ParseUrl(Url, parts)) {
            ErrorText = L"解析URL失败！";
            return false;
        }
        if (parts.Scheme != INTERNET_SCHEME_HTTP) {
            ErrorText = L"URL类型不是HTTP！";
            return false;
        }
        Connection.IsHttps = EqualsNoCase(parts.SchemeName, L"https");

        Connection.Session = OpenSession(FAgent, FAccessType, FProxyServer);
        if (!Connection.Session) {
            ErrorText = L"打开一个Internet连接失败:" + LastErrorText();
            return false;
        }
        if (FAccessType == atProxy) {
            SetTextOption(Connection.Session.get(), INTERNET_OPTION_USERNAME, FProxyUserName);
            SetTextOption(Connection.Session.get(), INTERNET_OPTION_PASSWORD, FProxyPassword);
        }
        SetTimeouts(Connection.Session.get(), FTimeout);

        Connection.Connection.reset(InternetConnectW(
            Connection.Session.get(), parts.HostName.c_str(), parts.Port, parts.UserName.c_str(),
            parts.Password.c_str(), INTERNET_SERVICE_HTTP, 0, 0));
        if (!Connection.Connection) {
            ErrorText = L"打开HTTP连接失败:" + LastErrorText();
            Connection.Close();
            return false;
        }
        Url = (parts.UrlPath.empty() ? std::wstring(L"/") : parts.UrlPath) + parts.ExtraInfo;
        return true;
    } catch (const std::exception& error) {
        ErrorText = L"[THttpClient._CreateInternetConnect]" + ExceptionText(error);
        Connection.Close();
        return false;
    }
}

ScopedInternet THttpClient::_OpenRequest(const InternetConnection& Connection,
                                         const std::wstring& Verb, const std::wstring& ObjectName) {
    DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE;
    if (Connection.IsHttps) flags |= INTERNET_FLAG_SECURE;
    ScopedInternet request(HttpOpenRequestW(Connection.Connection.get(), Verb.c_str(),
                                            ObjectName.c_str(), L"HTTP/1.1", nullptr, nullptr,
                                            flags, 0));
    // Request handles do not take the session's time-outs everywhere: set them again here so
    // that a stalled transfer always ends.
    if (request) SetTimeouts(request.get(), FTimeout);
    return request;
}

}  // namespace qv
