// One call of DownloadFile: fetches a URL into a file through FileName + ".tmp", resuming a
// matching partial file described by FileName + ".sdc", with progress reports.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "common/ScopedHandles.h"
#include "net/HttpClient.h"
#include "net/ProgressMeter.h"

namespace qv {

class FileDownload {
public:
    FileDownload(THttpClient& client, const THttpDownloadEvent& onProgress, int32_t tag);
    FileDownload(const FileDownload&) = delete;
    FileDownload& operator=(const FileDownload&) = delete;

    // Never throws: failures and caught exceptions are reported and give the result code.
    int32_t Run(const std::wstring& url, std::wstring& fileName, const std::wstring& verb,
                const std::wstring& headers) noexcept;

private:
    bool Connect(const std::wstring& url);
    void Transfer();
    bool PreCheck();
    bool RunBeforeDownloadHook();
    void CheckResumableFile();
    bool OpenTransfer();
    bool SendTransferRequest();
    bool AnswerContinuesAtStart() const;
    bool OpenTemporaryFile();
    bool TakeBuffer();
    void ReceiveBody();
    bool ConnectivityDue(uint64_t now);
    bool CheckConnectivity(IInternetTransport& transport);
    bool WriteChunk(DWORD bytes);
    bool EndOfBody();
    void Finish();
    void StampCompletedFile();
    void MoveIntoPlace();

    // Reports and answers the callback's Cancel.
    bool Report(THttpDownloadStatus status, int64_t position = 0, int64_t size = 0,
                const std::wstring& message = {}, int64_t remainTime = 0, int64_t speed = 0);
    bool ReportProgressAt(int64_t remainTime, int64_t speed);
    // Reports a failure; always false so that callers can `return Fail(...)`.
    bool Fail(const std::wstring& text);
    void ReportException(const std::wstring& message) noexcept;
    int64_t Position() const { return static_cast<int64_t>(start_ + received_); }
    bool ExceedsMaxSize(uint64_t length) const;

    THttpClient& client_;
    const THttpDownloadEvent& onProgress_;
    int32_t tag_;
    int32_t result_ = kDownloadFailed;

    std::wstring* fileName_ = nullptr;
    std::wstring verb_;
    std::wstring headers_;
    std::wstring objectName_;
    std::wstring tmpName_;
    std::wstring recordName_;
    int32_t attempts_ = 0;

    uint64_t start_ = 0;
    uint64_t received_ = 0;
    uint64_t contentLength_ = 0;
    bool resume_ = false;
    bool bodyComplete_ = false;
    std::optional<SYSTEMTIME> lastModified_;      // the server's date from the HEAD pre-check
    std::optional<SYSTEMTIME> lastModifiedTime_;  // the date of the answer the data comes from

    InternetConnection connection_;
    ScopedInternet request_;
    ScopedFile file_;
    std::unique_ptr<char[]> buffer_;
    DWORD bufferSize_ = 0;
    ProgressMeter meter_;
    bool connectivityAsked_ = false;
    uint64_t connectivityAskedAt_ = 0;
};

}  // namespace qv
