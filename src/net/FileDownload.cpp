#include "net/FileDownload.h"

#include <exception>
#include <new>

#include "common/StringConv.h"
#include "net/DownloadRecord.h"
#include "net/ResponseInfo.h"
#include "net/SystemMessage.h"
#include "net/UrlEncoding.h"

namespace qv {
namespace {

constexpr DWORD kConnectionKinds = INTERNET_CONNECTION_MODEM | INTERNET_CONNECTION_LAN |
                                   INTERNET_CONNECTION_PROXY | INTERNET_CONNECTION_MODEM_BUSY;
constexpr uint64_t kConnectivityRecheckMs = 250;

bool FileExists(const std::wstring& name) {
    const DWORD attributes = GetFileAttributesW(name.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void DeleteIfExists(const std::wstring& name) {
    if (FileExists(name)) DeleteFileW(name.c_str());
}

bool SetLastWriteTime(HANDLE file, const SYSTEMTIME& time) {
    FILETIME fileTime{};
    return SystemTimeToFileTime(&time, &fileTime) && SetFileTime(file, nullptr, nullptr, &fileTime);
}

}  // namespace

int32_t THttpClient::DownloadFile(const std::wstring& Url, std::wstring& FileName,
                                  const THttpDownloadEvent& OnProgress, int32_t Tag,
                                  const std::wstring& Verb, const std::wstring& Headers) {
    FileDownload download(*this, OnProgress, Tag);
    return download.Run(Url, FileName, Verb, Headers);
}

FileDownload::FileDownload(THttpClient& client, const THttpDownloadEvent& onProgress, int32_t tag)
    : client_(client), onProgress_(onProgress), tag_(tag) {}

int32_t FileDownload::Run(const std::wstring& url, std::wstring& fileName, const std::wstring& verb,
                          const std::wstring& headers) noexcept {
    try {
        fileName_ = &fileName;
        if (fileName.empty()) {
            Fail(L"下载保存路径为空！");
            return result_;
        }
        verb_ = verb;
        headers_ = headers;
        tmpName_ = client_.GetTmpFileName(fileName);
        recordName_ = fileName + L".sdc";
        attempts_ = client_.GetRetryCount();
        if (!Connect(url)) return result_;
    } catch (const std::exception& error) {
        ReportException(ExceptionText(error));
        return result_;
    } catch (...) {
        ReportException(L"未知异常");
        return result_;
    }

    // Every path after the connection passes through Finish; an exception is reported after it.
    std::optional<std::wstring> exception;
    try {
        Transfer();
    } catch (const std::exception& error) {
        exception = ExceptionText(error);
    } catch (...) {
        exception = L"未知异常";
    }
    try {
        Finish();
    } catch (const std::exception& error) {
        if (!exception) exception = ExceptionText(error);
    } catch (...) {
        if (!exception) exception = L"未知异常";
    }
    if (exception) ReportException(*exception);
    return result_;
}

bool FileDownload::Connect(const std::wstring& url) {
    objectName_ = EncodeUrl(url);
    std::wstring errorText;
    if (client_._CreateInternetConnect(objectName_, connection_, errorText)) return true;
    return Fail(errorText);
}

void FileDownload::Transfer() {
    received_ = 0;
    if (Report(dsStart)) return;
    resume_ = false;
    lastModifiedTime_.reset();
    const bool allowResume = client_.GetAllowResume();
    if (allowResume) {
        if (!PreCheck()) return;
        const bool handled = RunBeforeDownloadHook();
        if (!handled) CheckResumableFile();
        if (result_ == kDownloadDone) return;  // the temporary file is already complete
    }
    if (!resume_) {
        start_ = 0;
        DeleteIfExists(tmpName_);
        DeleteIfExists(recordName_);
    }
    if (allowResume) WriteRecord(recordName_, contentLength_, lastModified_);
    if (!OpenTransfer() || !TakeBuffer()) return;
    received_ = 0;
    meter_ = ProgressMeter{};
    if (Report(dsProgress, Position(), static_cast<int64_t>(contentLength_))) {
        result_ = kDownloadCancelled;
        return;
    }
    ReceiveBody();
}

bool FileDownload::PreCheck() {
    ScopedInternet head = client_._OpenRequest(connection_, L"HEAD", objectName_);
    const SendOutcome sent = client_._SendRequest(head.get(), attempts_, nullptr);
    if (!sent.Ok) return Fail(L"获取下载包信息失败:" + SendFailureText(sent));
    if (const std::optional<uint64_t> length = QueryContentLength(head.get())) {
        contentLength_ = *length;
        if (ExceedsMaxSize(contentLength_)) return Fail(L"超过下载文件大小限制！");
    }
    lastModified_ = QueryLastModified(head.get());
    lastModifiedTime_ = lastModified_;
    return true;
}

bool FileDownload::RunBeforeDownloadHook() {
    bool handled = false;
    const TBeforeDownloadEvent hook = client_.GetOnBeforeDownload();
    if (!hook) return handled;
    std::wstring objectName = objectName_;
    hook(&client_, objectName, *fileName_, tag_, verb_, headers_, start_, contentLength_, resume_,
         handled);
    if (handled) objectName_ = objectName;
    return handled;
}

void FileDownload::CheckResumableFile() {
    if (contentLength_ == 0 || !FileExists(tmpName_)) return;
    if (!RecordMatches(recordName_, contentLength_, lastModified_)) return;
    start_ = static_cast<uint64_t>(GetFileSizeByName(tmpName_));
    if (start_ == contentLength_) {
        result_ = kDownloadDone;
        return;
    }
    resume_ = start_ < contentLength_;
}

bool FileDownload::OpenTransfer() {
    if (!SendTransferRequest()) return false;
    if (resume_ && !AnswerContinuesAtStart()) {
        // The server did not send the asked-for rest: start the file again from zero, with this
        // answer when it carries the whole body, else with a request for all of it.
        const bool wholeBody = QueryStatusCode(request_.get()) == HTTP_STATUS_OK;
        resume_ = false;
        start_ = 0;
        if (!wholeBody && !SendTransferRequest()) return false;
    }
    return OpenTemporaryFile();
}

bool FileDownload::SendTransferRequest() {
    request_ = client_._OpenRequest(connection_, verb_, objectName_);
    if (!client_._AddRequestHeaders(request_.get(), WideToAnsi(headers_), resume_, start_)) {
        return Fail(L"组织请求头失败！");
    }
    const SendOutcome sent = client_._SendRequest(request_.get(), attempts_, nullptr);
    if (!sent.Ok) return Fail(L"发生下载请求失败:" + SendFailureText(sent));
    return true;
}

bool FileDownload::AnswerContinuesAtStart() const {
    if (QueryStatusCode(request_.get()) != HTTP_STATUS_PARTIAL_CONTENT) return false;
    const std::optional<uint64_t> rangeStart = QueryRangeStart(request_.get());
    return !rangeStart || *rangeStart == start_;
}

bool FileDownload::OpenTemporaryFile() {
    if (resume_) {
        file_.reset(CreateFileW(tmpName_.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file_) SetFilePointerEx(file_.get(), LARGE_INTEGER{}, nullptr, FILE_END);
    } else {
        contentLength_ = QueryContentLength(request_.get()).value_or(0);
        if (ExceedsMaxSize(contentLength_)) return Fail(L"超过下载文件大小限制！");
        lastModifiedTime_ = QueryLastModified(request_.get());
        file_.reset(CreateFileW(tmpName_.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    }
    if (!file_) return Fail(L"创建下载文件失败:" + LastErrorText());
    return true;
}

bool FileDownload::TakeBuffer() {
    const int32_t size = client_.GetBufferSize();
    if (size > 0) buffer_.reset(new (std::nothrow) char[static_cast<size_t>(size)]);
    if (!buffer_) {
        SetLastError(size > 0 ? ERROR_NOT_ENOUGH_MEMORY : ERROR_INVALID_PARAMETER);
        return Fail(L"创建缓冲区失败:" + LastErrorText());
    }
    bufferSize_ = static_cast<DWORD>(size);
    return true;
}

void FileDownload::ReceiveBody() {
    IInternetTransport& transport = client_.Transport();
    for (;;) {
        const uint64_t now = GetTickCount64();
        meter_.OpenWindowIfNone(now);
        if (ConnectivityDue(now) && !CheckConnectivity(transport)) return;
        DWORD read = 0;
        const bool readOk = transport.ReadFile(request_.get(), buffer_.get(), bufferSize_, read);
        const DWORD readError = GetLastError();
        if (!readOk) {
            // A read cut by a reset still hands over the bytes it got: keep them for resuming.
            if (read > 0 && WriteFile(file_.get(), buffer_.get(), read, &read, nullptr)) {
                received_ += read;
            }
            Fail(L"从网络读取文件失败:" + SystemErrorText(readError));
            return;
        }
        if (read == 0) {
            EndOfBody();
            return;
        }
        if (!WriteChunk(read)) return;
    }
}

// The system's answer costs milliseconds on some systems (tens under Wine), far more than a read
// of a fast transfer: it is asked before the first read and then again before a read once the
// previous answer is older than kConnectivityRecheckMs.
bool FileDownload::ConnectivityDue(uint64_t now) {
    if (connectivityAsked_ && now - connectivityAskedAt_ < kConnectivityRecheckMs) return false;
    connectivityAsked_ = true;
    connectivityAskedAt_ = now;
    return true;
}

bool FileDownload::CheckConnectivity(IInternetTransport& transport) {
    DWORD flags = 0;
    if (!transport.GetConnectedState(flags)) return Fail(L"检查网络状态失败: 有可能是网络不通。");
    if ((flags & kConnectionKinds) == 0) return Fail(L"网络不通！");
    return true;
}

bool FileDownload::WriteChunk(DWORD bytes) {
    received_ += bytes;
    DWORD written = 0;
    if (!WriteFile(file_.get(), buffer_.get(), bytes, &written, nullptr) || written != bytes) {
        return Fail(L"写文件失败:" + LastErrorText());
    }
    if (meter_.AddChunk(bytes, GetTickCount64(), Position(),
                        static_cast<int64_t>(contentLength_))) {
        if (ReportProgressAt(meter_.RemainTime(), meter_.Speed())) {
            result_ = kDownloadCancelled;
            return false;
        }
    }
    return true;
}

bool FileDownload::EndOfBody() {
    // A connection closed before the announced length looks like the end of the body.
    if (contentLength_ > 0 && start_ + received_ < contentLength_) {
        return Fail(L"从网络读取文件失败:连接在数据收完前被关闭（收到 " +
                    std::to_wstring(start_ + received_) + L" / " + std::to_wstring(contentLength_) +
                    L" 字节）");
    }
    ReportProgressAt(meter_.RemainTime(), meter_.Speed());
    result_ = kDownloadDone;
    bodyComplete_ = true;
    return true;
}

void FileDownload::Finish() {
    buffer_.reset();
    if (file_) {
        if (result_ == kDownloadDone && lastModifiedTime_) {
            SetLastWriteTime(file_.get(), *lastModifiedTime_);
        }
        file_.reset();
    } else if (result_ == kDownloadDone) {
        StampCompletedFile();
    }
    request_.reset();
    if (result_ == kDownloadDone && tmpName_ != *fileName_) MoveIntoPlace();
    Report(dsFinish, Position(), static_cast<int64_t>(contentLength_));
    connection_.Close();
}

// A temporary file found complete by the pre-check gets the server's date too.
void FileDownload::StampCompletedFile() {
    if (!lastModifiedTime_) return;
    ScopedFile file(CreateFileW(tmpName_.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file) SetLastWriteTime(file.get(), *lastModifiedTime_);
}

void FileDownload::MoveIntoPlace() {
    const std::wstring& target = *fileName_;
    if (FileExists(target) && !DeleteFileW(target.c_str())) {
        Fail(L"删除[" + target + L"]文件失败:" + LastErrorText());
        result_ = kDownloadFailed;
        return;
    }
    if (!MoveFileW(tmpName_.c_str(), target.c_str())) {
        Fail(L"重命名下载文件失败:" + LastErrorText());
        result_ = kDownloadFailed;
        return;
    }
    if (bodyComplete_) DeleteIfExists(recordName_);
}

bool FileDownload::Report(THttpDownloadStatus status, int64_t position, int64_t size,
                          const std::wstring& message, int64_t remainTime, int64_t speed) {
    bool cancel = false;
    client_.ReportProgress(onProgress_, status, cancel, tag_, position, size, message, remainTime,
                           speed, result_);
    return cancel;
}

bool FileDownload::ReportProgressAt(int64_t remainTime, int64_t speed) {
    return Report(dsProgress, Position(), static_cast<int64_t>(contentLength_), {}, remainTime,
                  speed);
}

bool FileDownload::Fail(const std::wstring& text) {
    Report(dsFail, 0, 0, text);
    return false;
}

void FileDownload::ReportException(const std::wstring& message) noexcept {
    try {
        Report(dsError, 0, 0, message);
    } catch (...) {
        // The callback failed while hearing of a failure: the result code still tells.
    }
}

bool FileDownload::ExceedsMaxSize(uint64_t length) const {
    const int64_t maxSize = client_.GetMaxSize();
    return maxSize < 0 || length > static_cast<uint64_t>(maxSize);
}

}  // namespace qv
