// The download engine's public interface: the client settings, the URL splitter, the resumable
// file download with its progress records, and the GET/POST operations. The rest of the program
// reaches the engine only through IHttpClient, obtained from GetHttpClient().
#pragma once

#include <unknwn.h>
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "net/ByteStream.h"
#include "net/InterfacePtr.h"

namespace qv {

// {17447337-0737-4A11-981B-73C885598DCD}
inline constexpr GUID IID_IHttpClient = {
    0x17447337, 0x0737, 0x4A11, {0x98, 0x1B, 0x73, 0xC8, 0x85, 0x59, 0x8D, 0xCD}};

// How the Internet session reaches the network. Other values make every connection fail.
enum THttpAccessType : uint8_t { atDirect = 0, atPreconfig = 1, atProxy = 2 };

// The pieces of a URL as the platform's splitter reports them, not decoded.
struct TURLParts {
    int32_t Scheme = 0;  // 3 http, 4 https, 1 ftp
    std::wstring SchemeName;
    std::wstring HostName;
    uint16_t Port = 0;  // the scheme's default port when the URL names none
    std::wstring UserName;
    std::wstring Password;
    std::wstring UrlPath;    // from the first "/" after the host up to the query
    std::wstring ExtraInfo;  // query with its "?" and fragment
};

enum THttpDownloadStatus : uint8_t {
    dsStart = 0,     // connection open, nothing requested yet
    dsProgress = 1,  // position report during the transfer
    dsFinish = 2,    // the download has ended, whatever the outcome
    dsFail = 3,      // a failure; Message says which
    dsError = 4,     // an exception was caught; Message is its message
};

// A short text of at most 16 characters; longer texts are cut.
class TShortText {
public:
    static constexpr size_t kCapacity = 16;
    TShortText() = default;
    explicit TShortText(std::wstring_view text) { Assign(text); }
    void Assign(std::wstring_view text);
    std::wstring_view View() const { return std::wstring_view(text_, length_); }
    std::wstring Str() const { return std::wstring(View()); }

private:
    uint8_t length_ = 0;
    wchar_t text_[kCapacity] = {};
};

// One progress report of DownloadFile. Valid only during the callback: copy what you keep.
struct THttpDownloadInfo {
    uint8_t Marker = 1;
    THttpDownloadStatus Status = dsStart;
    int64_t Position = 0;  // resume offset plus bytes received in this call
    int64_t Size = 0;      // announced total length, 0 when not announced
    int32_t Tag = 0;
    std::wstring Message;    // failure text (dsFail) or exception message (dsError)
    int64_t RemainTime = 0;  // milliseconds; -1 when it cannot be estimated
    TShortText RemainTimeText;
    int64_t Speed = 0;  // bytes per second over the last measuring window
    TShortText SpeedText;
    int32_t ResultCode = -1;  // -1 until success (0) or cancellation (1) is decided
};

// The progress callback: answers Cancel (preset to false) to stop the download.
using THttpDownloadEvent = std::function<void(const THttpDownloadInfo& Info, bool& Cancel)>;

struct IHttpClient;

// Called by DownloadFile after the HEAD pre-check, before the transfer; may change the in/out
// values. ObjectName is used as changed only when the hook sets Handled.
using TBeforeDownloadEvent =
    std::function<void(IHttpClient* Sender, std::wstring& ObjectName, std::wstring& FileName,
                       int32_t& Tag, const std::wstring& Verb, std::wstring& Headers,
                       uint64_t& StartPos, uint64_t& ContentLength, bool& Resume, bool& Handled)>;

// Result codes of DownloadFile.
inline constexpr int32_t kDownloadFailed = -1;
inline constexpr int32_t kDownloadDone = 0;
inline constexpr int32_t kDownloadCancelled = 1;

// The engine's interface; its operations keep this fixed order after those of IUnknown.
struct IHttpClient : public IUnknown {
    virtual std::wstring GetAgent() = 0;
    virtual THttpAccessType GetAccessType() = 0;
    virtual int32_t GetTimeout() = 0;
    virtual std::wstring GetProxyServer() = 0;
    virtual std::wstring GetProxyUserName() = 0;
    virtual std::wstring GetProxyPassword() = 0;
    virtual int64_t GetMaxSize() = 0;
    virtual int32_t GetBufferSize() = 0;
    virtual int32_t GetRetryCount() = 0;
    virtual bool GetAllowResume() = 0;
    virtual TBeforeDownloadEvent GetOnBeforeDownload() = 0;
    virtual std::wstring GetLastErrorText() = 0;
    virtual void SetAgent(const std::wstring& Value) = 0;
    virtual void SetAccessType(THttpAccessType Value) = 0;
    virtual void SetTimeout(int32_t Value) = 0;
    virtual void SetProxyServer(const std::wstring& Value) = 0;
    virtual void SetProxyUserName(const std::wstring& Value) = 0;
    virtual void SetProxyPassword(const std::wstring& Value) = 0;
    virtual void SetMaxSize(int64_t Value) = 0;
    virtual void SetBufferSize(int32_t Value) = 0;
    virtual void SetRetryCount(int32_t Value) = 0;
    virtual void SetAllowResume(bool Value) = 0;
    virtual void SetOnBeforeDownload(const TBeforeDownloadEvent& Value) = 0;
    // A new client with a copy of every setting, the hook and the last error text.
    virtual InterfacePtr<IHttpClient> Clone() = 0;
    // Restores the default settings; keeps the hook and the last error text.
    virtual void Reset() = 0;
    // True when a GET of Url succeeds.
    virtual bool CheckUrl(const std::wstring& Url) = 0;
    virtual bool ParseUrl(const std::wstring& Url, TURLParts& Parts) = 0;
    // Downloads Url into FileName (resuming a matching partial file when resuming is allowed).
    // Returns kDownloadFailed, kDownloadDone or kDownloadCancelled.
    virtual int32_t DownloadFile(const std::wstring& Url, std::wstring& FileName,
                                 const THttpDownloadEvent& OnProgress, int32_t Tag,
                                 const std::wstring& Verb, const std::wstring& Headers) = 0;
    // FileName followed by ".tmp".
    virtual std::wstring GetTmpFileName(const std::wstring& FileName) = 0;
    // Size of FileName's ".tmp" file when it exists, else of FileName, else 0.
    virtual int64_t GetDownloadedSize(const std::wstring& FileName) = 0;
    // The GET and POST operations: false on failure, with the reason written into the response.
    virtual bool GetText(const std::wstring& Url, const std::wstring& Headers,
                         std::wstring& Response, bool Utf8) = 0;
    virtual bool Get(const std::wstring& Url, const std::wstring& Headers,
                     IByteStream& Response) = 0;
    virtual bool PostText(const std::wstring& Url, const std::wstring& Headers,
                          std::wstring& ResponseHeaders, const std::wstring& Body,
                          std::wstring& Response, bool Utf8) = 0;
    virtual bool PostStreamForText(const std::wstring& Url, const std::wstring& Headers,
                                   std::wstring& ResponseHeaders, IByteStream& Body,
                                   std::wstring& Response, bool Utf8) = 0;
    virtual bool PostTextForStream(const std::wstring& Url, const std::wstring& Headers,
                                   std::wstring& ResponseHeaders, const std::wstring& Body,
                                   IByteStream& Response) = 0;
    virtual bool Post(const std::wstring& Url, const std::wstring& Headers,
                      std::wstring& ResponseHeaders, IByteStream& Body, IByteStream& Response) = 0;

protected:
    ~IHttpClient() = default;
};

// The one client of the process, created on the first call; released at program end.
InterfacePtr<IHttpClient> GetHttpClient();

// Formatting of the progress record's short texts.
std::wstring FormatSpeed(double BytesPerSecond);      // "1.50KB/S"
std::wstring FormatRemainTime(int64_t Milliseconds);  // "01:02:03", "3天 ", "--:--:--"

}  // namespace qv
