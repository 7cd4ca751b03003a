// THttpClient, the engine behind IHttpClient: settings and lifetime here; connection, requests
// and the file download in HttpConnect.cpp, HttpRequest.cpp and FileDownload.cpp.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <atomic>
#include <optional>
#include <string>

#include "common/ScopedHandles.h"
#include "net/IHttpClient.h"
#include "net/Transport.h"

namespace qv {

inline constexpr int64_t kDefaultMaxSize = 2097152000;  // 2000 MiB
inline constexpr int32_t kDefaultBufferSize = 524288;   // 512 KiB
inline constexpr int32_t kDefaultRetryCount = 3;
inline constexpr int32_t kDefaultTimeoutMs = 60000;

// The open session and connection of one operation; closed connection first, then session.
struct InternetConnection {
    ScopedInternet Session;
    ScopedInternet Connection;
    bool IsHttps = false;

    void Close() {
        Connection.reset();
        Session.reset();
    }
};

// How a request's sending ended: the last status seen (0 when nothing was answered).
struct SendOutcome {
    bool Ok = false;
    DWORD Status = 0;
    DWORD Error = ERROR_SUCCESS;
};

class THttpClient final : public IHttpClient {
public:
    // A new client with one reference held by the caller.
    static InterfacePtr<THttpClient> Create();

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    std::wstring GetAgent() override { return FAgent; }
    THttpAccessType GetAccessType() override { return FAccessType; }
    int32_t GetTimeout() override { return FTimeout; }
    std::wstring GetProxyServer() override { return FProxyServer; }
    std::wstring GetProxyUserName() override { return FProxyUserName; }
    std::wstring GetProxyPassword() override { return FProxyPassword; }
    int64_t GetMaxSize() override { return FMaxSize; }
    int32_t GetBufferSize() override { return FBufferSize; }
    int32_t GetRetryCount() override { return FRetryCount; }
    bool GetAllowResume() override { return FAllowResume; }
    TBeforeDownloadEvent GetOnBeforeDownload() override { return FOnBeforeDownload; }
    std::wstring GetLastErrorText() override { return FLastErrorText; }
    void SetAgent(const std::wstring& Value) override { FAgent = Value; }
    void SetAccessType(THttpAccessType Value) override { FAccessType = Value; }
    void SetTimeout(int32_t Value) override { FTimeout = Value; }
    void SetProxyServer(const std::wstring& Value) override { FProxyServer = Value; }
    void SetProxyUserName(const std::wstring& Value) override { FProxyUserName = Value; }
    void SetProxyPassword(const std::wstring& Value) override { FProxyPassword = Value; }
    void SetMaxSize(int64_t Value) override { FMaxSize = Value; }
    void SetBufferSize(int32_t Value) override { FBufferSize = Value; }
    void SetRetryCount(int32_t Value) override { FRetryCount = Value; }
    void SetAllowResume(bool Value) override { FAllowResume = Value; }
    void SetOnBeforeDownload(const TBeforeDownloadEvent& Value) override {
        FOnBeforeDownload = Value;
    }
    InterfacePtr<IHttpClient> Clone() override;
    void Reset() override;
    bool CheckUrl(const std::wstring& Url) override;
    bool ParseUrl(const std::wstring& Url, TURLParts& Parts) override;
    int32_t DownloadFile(const std::wstring& Url, std::wstring& FileName,
                         const THttpDownloadEvent& OnProgress, int32_t Tag,
                         const std::wstring& Verb, const std::wstring& Headers) override;
    std::wstring GetTmpFileName(const std::wstring& FileName) override;
    int64_t GetDownloadedSize(const std::wstring& FileName) override;
    bool GetText(const std::wstring& Url, const std::wstring& Headers, std::wstring& Response,
                 bool Utf8) override;
    bool Get(const std::wstring& Url, const std::wstring& Headers, IByteStream& Response) override;
    bool PostText(const std::wstring& Url, const std::wstring& Headers,
                  std::wstring& ResponseHeaders, const std::wstring& Body, std::wstring& Response,
                  bool Utf8) override;
    bool PostStreamForText(const std::wstring& Url, const std::wstring& Headers,
                           std::wstring& ResponseHeaders, IByteStream& Body, std::wstring& Response,
                           bool Utf8) override;
    bool PostTextForStream(const std::wstring& Url, const std::wstring& Headers,
                           std::wstring& ResponseHeaders, const std::wstring& Body,
                           IByteStream& Response) override;
    bool Post(const std::wstring& Url, const std::wstring& Headers, std::wstring& ResponseHeaders,
              IByteStream& Body, IByteStream& Response) override;

    // The transport questions asked during a file download (tests substitute their own).
    void SetTransport(IInternetTransport& transport) { transport_ = &transport; }
    IInternetTransport& Transport() const { return *transport_; }

    // The connection step: on success `Url` becomes the object name to request and both
    // handles are open; on failure ErrorText says why and no handle stays open.
    bool _CreateInternetConnect(std::wstring& Url, InternetConnection& Connection,
                                std::wstring& ErrorText);
    // Opens a request on the connection with the fixed flags and this client's time-outs.
    ScopedInternet _OpenRequest(const InternetConnection& Connection, const std::wstring& Verb,
                                const std::wstring& ObjectName);
    // The fixed header lines, a byte range from `Start` when `Ranged` and Start > 0, then the
    // caller's lines (trimmed, empty ones skipped). False at the first line refused.
    bool _AddRequestHeaders(HINTERNET Request, const std::string& Headers, bool Ranged,
                            uint64_t Start);
    // Sends up to `Attempts` times until the answer is 200 or 206.
    SendOutcome _SendRequest(HINTERNET Request, int32_t Attempts, IByteStream* Body);
    bool _HttpRequest(const std::wstring& Verb, const std::wstring& Url,
                      const std::wstring& Headers, std::wstring& ResponseHeaders, IByteStream* Body,
                      IByteStream& Response);
    // _HttpRequest without writing the failure text into Response.
    bool PerformRequest(const std::wstring& Verb, const std::wstring& Url,
                        const std::wstring& Headers, std::wstring& ResponseHeaders,
                        IByteStream* Body, IByteStream& Response, std::wstring& ErrorText);
    // A request whose answer (or failure text) is delivered as text.
    bool RequestText(const std::wstring& Verb, const std::wstring& Url, const std::wstring& Headers,
                     std::wstring& ResponseHeaders, IByteStream* Body, std::wstring& Response,
                     bool Utf8);
    // Headers, sending and the answer of one open request.
    bool ExchangeRequest(HINTERNET Request, const std::wstring& Headers,
                         std::wstring& ResponseHeaders, IByteStream* Body, IByteStream& Response,
                         std::wstring& ErrorText);
    // Reads the whole body into Response through one FBufferSize buffer.
    bool ReadBodyInto(HINTERNET Request, IByteStream& Response, std::wstring& ErrorText);
    // Sends a report to `OnProgress` (no callback: nothing happens at all).
    void ReportProgress(const THttpDownloadEvent& OnProgress, THttpDownloadStatus Status,
                        bool& Cancel, int32_t Tag, int64_t Position, int64_t Size,
                        const std::wstring& Message, int64_t RemainTime, int64_t Speed,
                        int32_t ResultCode);

private:
    THttpClient();
    ~THttpClient() = default;

    std::atomic<ULONG> refCount_{1};
    IInternetTransport* transport_;

    std::wstring FAgent;
    THttpAccessType FAccessType = atPreconfig;
    int32_t FTimeout = kDefaultTimeoutMs;
    std::wstring FProxyServer;
    std::wstring FProxyUserName;
    std::wstring FProxyPassword;
    int64_t FMaxSize = kDefaultMaxSize;
    int32_t FBufferSize = kDefaultBufferSize;
    int32_t FRetryCount = kDefaultRetryCount;
    bool FAllowResume = false;
    TBeforeDownloadEvent FOnBeforeDownload;
    std::wstring FLastErrorText;
};

// Size of the first file a directory search finds for `Name`; 0 when none.
int64_t GetFileSizeByName(const std::wstring& Name);

// The status and the failure text of a request that was not answered with 200 or 206:
// the system text for the last error, or the HTTP status when the server did answer.
std::wstring SendFailureText(const SendOutcome& outcome);
// The reason given for a body that ended before its announced length.
std::wstring ShortBodyText(uint64_t received, uint64_t announced);

}  // namespace qv
