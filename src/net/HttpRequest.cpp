// One HTTP request: its header lines, sending with a bounded number of attempts, and the GET and
// POST operations that deliver the answer into a stream or a text.
#include <exception>
#include <memory>
#include <new>
#include <optional>
#include <stdexcept>
#include <vector>

#include "common/StringConv.h"
#include "net/HttpClient.h"
#include "net/ResponseInfo.h"
#include "net/SystemMessage.h"
#include "net/UrlEncoding.h"

namespace qv {
namespace {

constexpr const char* kFixedHeaders[] = {
    "User-Agent:Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; WOW64; Trident/5.0) "
    "AppleWebKit/537.36 (KHTML, like Gecko) Chrome/30.0.1599.101 Safari/537.36",
    "Accept:text/html,application/xhtml+xml,application/xml,application/json;q=0.9,*/*;q=0.8",
    "Cache-control:no-cache",
    "Content-type:application/octet-stream",
};

bool AddHeaderLine(HINTERNET request, const std::string& line) {
    return HttpAddRequestHeadersA(request, line.c_str(), static_cast<DWORD>(line.size()),
                                  HTTP_ADDREQ_FLAG_ADD | HTTP_ADDREQ_FLAG_REPLACE) != FALSE;
}

// Blanks and control characters, as trimmed from caller header lines.
bool IsTrimmed(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

std::vector<std::string> CallerHeaderLines(const std::string& headers) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start <= headers.size()) {
        size_t end = headers.find_first_of("\r\n", start);
        if (end == std::string::npos) end = headers.size();
        size_t first = start;
        size_t last = end;
        while (first < last && IsTrimmed(headers[first])) ++first;
        while (last > first && IsTrimmed(headers[last - 1])) --last;
        if (last > first) lines.push_back(headers.substr(first, last - first));
        start = end + 1;
    }
    return lines;
}

void WriteText(IByteStream& stream, const std::wstring& text) {
    const std::string bytes = WideToAnsi(text);
    stream.Write(bytes.data(), bytes.size());
}

std::wstring DecodeBody(const std::string& bytes, bool utf8) {
    return utf8 ? Utf8ToWide(bytes) : AnsiToWide(bytes);
}

std::optional<std::wstring> RawResponseHeaders(HINTERNET request) {
    DWORD bytes = 0;
    HttpQueryInfoW(request, HTTP_QUERY_RAW_HEADERS_CRLF, nullptr, &bytes, nullptr);
    std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    if (!HttpQueryInfoW(request, HTTP_QUERY_RAW_HEADERS_CRLF, text.data(), &bytes, nullptr)) {
        return std::nullopt;
    }
    text.resize(bytes / sizeof(wchar_t));
    return text;
}

}  // namespace

bool THttpClient::_AddRequestHeaders(HINTERNET Request, const std::string& Headers, bool Ranged,
                                     uint64_t Start) {
    for (const char* line : kFixedHeaders) {
        if (!AddHeaderLine(Request, line)) return false;
    }
    if (Ranged && Start > 0) {
        if (!AddHeaderLine(Request, "Accept-Ranges:bytes")) return false;
        if (!AddHeaderLine(Request, "Range: bytes=" + std::to_string(Start) + "-")) return false;
    }
    for (const std::string& line : CallerHeaderLines(Headers)) {
        if (!AddHeaderLine(Request, line)) return false;
    }
    return true;
}

SendOutcome THttpClient::_SendRequest(HINTERNET Request, int32_t Attempts, IByteStream* Body) {
    std::string body;
    if (Body) {
        const int64_t size = Body->Size();
        if (size < 0) throw std::runtime_error("请求内容流不能报告其大小");
        body.resize(static_cast<size_t>(size));
        body.resize(Body->Read(body.data(), body.size()));
    }
    SendOutcome outcome;
    outcome.Error = GetLastError();
    while (Request && Attempts > 0) {
        --Attempts;
        outcome.Status = 0;
        if (!HttpSendRequestW(Request, nullptr, 0, body.empty() ? nullptr : body.data(),
                              static_cast<DWORD>(body.size()))) {
            outcome.Error = GetLastError();
            continue;
        }
        DWORD status = 0;
        DWORD size = sizeof status;
        if (!HttpQueryInfoW(Request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status,
                            &size, nullptr)) {
            outcome.Error = GetLastError();
            continue;
        }
        outcome.Status = status;
        if (status == HTTP_STATUS_OK || status == HTTP_STATUS_PARTIAL_CONTENT) {
            outcome.Ok = true;
            break;
        }
    }
    return outcome;
}

bool THttpClient::_HttpRequest(const std::wstring& Verb, const std::wstring& Url,
                               const std::wstring& Headers, std::wstring& ResponseHeaders,
                               IByteStream* Body, IByteStream& Response) {
    std::wstring errorText;
    const bool result =
        PerformRequest(Verb, Url, Headers, ResponseHeaders, Body, Response, errorText);
    if (!errorText.empty()) WriteText(Response, errorText);
    return result;
}

bool THttpClient::PerformRequest(const std::wstring& Verb, const std::wstring& Url,
                                 const std::wstring& Headers, std::wstring& ResponseHeaders,
                                 IByteStream* Body, IByteStream& Response,
                                 std::wstring& ErrorText) {
    Response.Clear();
    ErrorText.clear();
    try {
        std::wstring objectName = EncodeUrl(Url);
        InternetConnection connection;
        if (!_CreateInternetConnect(objectName, connection, ErrorText)) return false;
        ScopedInternet request = _OpenRequest(connection, Verb, objectName);
        return ExchangeRequest(request.get(), Headers, ResponseHeaders, Body, Response, ErrorText);
    } catch (const std::exception& error) {
        ErrorText = L"[THttpClient._HttpRequest]" + ExceptionText(error);
        return false;
    }
}

bool THttpClient::RequestText(const std::wstring& Verb, const std::wstring& Url,
                              const std::wstring& Headers, std::wstring& ResponseHeaders,
                              IByteStream* Body, std::wstring& Response, bool Utf8) {
    Response.clear();
    TMemoryStream answer;
    std::wstring errorText;
    const bool result =
        PerformRequest(Verb, Url, Headers, ResponseHeaders, Body, answer, errorText);
    // The body as asked; a failure text is the engine's own and never needs decoding.
    Response = DecodeBody(answer.Bytes(), Utf8) + errorText;
    return result;
}

bool THttpClient::ExchangeRequest(HINTERNET Request, const std::wstring& Headers,
                                  std::wstring& ResponseHeaders, IByteStream* Body,
                                  IByteStream& Response, std::wstring& ErrorText) {
    if (!_AddRequestHeaders(Request, WideToAnsi(Headers), false, 0)) {
        ErrorText = L"组织请求头失败！";
        return false;
    }
    const SendOutcome sent = _SendRequest(Request, FRetryCount, Body);
    if (!sent.Ok) {
        ErrorText = L"发生下载请求失败:" + SendFailureText(sent);
        return false;
    }
    const std::optional<std::wstring> headers = RawResponseHeaders(Request);
    if (!headers) {
        ErrorText = L"获取响应头失败:" + LastErrorText();
        return false;
    }
    ResponseHeaders = *headers;
    return ReadBodyInto(Request, Response, ErrorText);
}

bool THttpClient::ReadBodyInto(HINTERNET Request, IByteStream& Response, std::wstring& ErrorText) {
    const int32_t bufferSize = FBufferSize;
    std::unique_ptr<char[]> buffer;
    if (bufferSize > 0) buffer.reset(new (std::nothrow) char[static_cast<size_t>(bufferSize)]);
    if (!buffer) {
        SetLastError(bufferSize > 0 ? ERROR_NOT_ENOUGH_MEMORY : ERROR_INVALID_PARAMETER);
        ErrorText = L"创建缓冲区失败:" + LastErrorText();
        return false;
    }
    const std::optional<uint64_t> announced = QueryContentLength(Request);
    uint64_t received = 0;
    for (;;) {
        DWORD read = 0;
        if (!InternetReadFile(Request, buffer.get(), static_cast<DWORD>(bufferSize), &read)) {
            ErrorText = L"读取响应报文失败：" + LastErrorText();
            return false;
        }
        if (read == 0) {
            // A connection closed early looks like the end of the body: compare with the length.
            if (announced && received < *announced) {
                ErrorText = L"读取响应报文失败：" + ShortBodyText(received, *announced);
                return false;
            }
            return true;
        }
        received += read;
        if (!Response.Write(buffer.get(), read)) {
            ErrorText = L"将响应报文写入流失败：" + LastErrorText();
            return false;
        }
    }
}

bool THttpClient::Get(const std::wstring& Url, const std::wstring& Headers, IByteStream& Response) {
    std::wstring responseHeaders;
    return _HttpRequest(L"GET", Url, Headers, responseHeaders, nullptr, Response);
}

bool THttpClient::GetText(const std::wstring& Url, const std::wstring& Headers,
                          std::wstring& Response, bool Utf8) {
    std::wstring responseHeaders;
    return RequestText(L"GET", Url, Headers, responseHeaders, nullptr, Response, Utf8);
}

bool THttpClient::CheckUrl(const std::wstring& Url) {
    std::wstring scratch;
    return GetText(Url, L"", scratch, true);
}

bool THttpClient::Post(const std::wstring& Url, const std::wstring& Headers,
                       std::wstring& ResponseHeaders, IByteStream& Body, IByteStream& Response) {
    return _HttpRequest(L"POST", Url, Headers, ResponseHeaders, &Body, Response);
}

bool THttpClient::PostStreamForText(const std::wstring& Url, const std::wstring& Headers,
                                    std::wstring& ResponseHeaders, IByteStream& Body,
                                    std::wstring& Response, bool Utf8) {
    return RequestText(L"POST", Url, Headers, ResponseHeaders, &Body, Response, Utf8);
}

bool THttpClient::PostText(const std::wstring& Url, const std::wstring& Headers,
                           std::wstring& ResponseHeaders, const std::wstring& Body,
                           std::wstring& Response, bool Utf8) {
    TMemoryStream body(WideToAnsi(Body));
    return PostStreamForText(Url, Headers, ResponseHeaders, body, Response, Utf8);
}

bool THttpClient::PostTextForStream(const std::wstring& Url, const std::wstring& Headers,
                                    std::wstring& ResponseHeaders, const std::wstring& Body,
                                    IByteStream& Response) {
    TMemoryStream body(WideToAnsi(Body));
    return Post(Url, Headers, ResponseHeaders, body, Response);
}

}  // namespace qv
