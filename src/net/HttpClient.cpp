#include "net/HttpClient.h"

#include <string_view>

#include "net/SystemMessage.h"

namespace qv {
namespace {

std::wstring ExecutableFileName() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

// The process-wide client; released when the program's static objects are destroyed.
InterfacePtr<IHttpClient>& ProcessClient() {
    static InterfacePtr<IHttpClient> client;
    return client;
}

}  // namespace

InterfacePtr<THttpClient> THttpClient::Create() {
    return InterfacePtr<THttpClient>::Adopt(new THttpClient());
}

THttpClient::THttpClient() : transport_(&SystemTransport()) {
    Reset();
}

HRESULT STDMETHODCALLTYPE THttpClient::QueryInterface(REFIID riid, void** object) {
    if (!object) return E_POINTER;
    if (IsEqualGUID(riid, IID_IUnknown) || IsEqualGUID(riid, IID_IHttpClient)) {
        *object = static_cast<IHttpClient*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE THttpClient::AddRef() {
    return ++refCount_;
}

ULONG STDMETHODCALLTYPE THttpClient::Release() {
    const ULONG count = --refCount_;
    if (count == 0) delete this;
    return count;
}

void THttpClient::Reset() {
    FAgent = ExecutableFileName();
    FAccessType = atPreconfig;
    FProxyServer.clear();
    FProxyUserName.clear();
    FProxyPassword.clear();
    FAllowResume = false;
    FMaxSize = kDefaultMaxSize;
    FBufferSize = kDefaultBufferSize;
    FRetryCount = kDefaultRetryCount;
    FTimeout = kDefaultTimeoutMs;
}

InterfacePtr<IHttpClient> THttpClient::Clone() {
    InterfacePtr<THttpClient> copy = Create();
    copy->FAgent = FAgent;
    copy->FAccessType = FAccessType;
    copy->FTimeout = FTimeout;
    copy->FProxyServer = FProxyServer;
    copy->FProxyUserName = FProxyUserName;
    copy->FProxyPassword = FProxyPassword;
    copy->FMaxSize = FMaxSize;
    copy->FBufferSize = FBufferSize;
    copy->FRetryCount = FRetryCount;
    copy->FAllowResume = FAllowResume;
    copy->FOnBeforeDownload = FOnBeforeDownload;
    copy->FLastErrorText = FLastErrorText;
    copy->transport_ = transport_;
    return InterfacePtr<IHttpClient>::Share(copy.get());
}

std::wstring THttpClient::GetTmpFileName(const std::wstring& FileName) {
    return FileName + L".tmp";
}

int64_t GetFileSizeByName(const std::wstring& Name) {
    WIN32_FIND_DATAW found{};
    ScopedFind search(FindFirstFileW(Name.c_str(), &found));
    if (!search) return 0;
    return static_cast<int64_t>((static_cast<uint64_t>(found.nFileSizeHigh) << 32) |
                                found.nFileSizeLow);
}

int64_t THttpClient::GetDownloadedSize(const std::wstring& FileName) {
    const std::wstring temporary = GetTmpFileName(FileName);
    if (GetFileAttributesW(temporary.c_str()) != INVALID_FILE_ATTRIBUTES) {
        return GetFileSizeByName(temporary);
    }
    return GetFileSizeByName(FileName);
}

void THttpClient::ReportProgress(const THttpDownloadEvent& OnProgress, THttpDownloadStatus Status,
                                 bool& Cancel, int32_t Tag, int64_t Position, int64_t Size,
                                 const std::wstring& Message, int64_t RemainTime, int64_t Speed,
                                 int32_t ResultCode) {
    Cancel = false;
    if (!OnProgress) return;
    if (Status == dsFail || Status == dsError) FLastErrorText = Message;
    THttpDownloadInfo info;
    info.Marker = 1;
    info.Status = Status;
    info.Position = Position;
    info.Size = Size;
    info.Tag = Tag;
    info.Message = Message;
    info.RemainTime = RemainTime;
    info.RemainTimeText.Assign(FormatRemainTime(RemainTime));
    info.Speed = Speed;
    info.SpeedText.Assign(FormatSpeed(static_cast<double>(Speed)));
    info.ResultCode = ResultCode;
    OnProgress(info, Cancel);
}

std::wstring SendFailureText(const SendOutcome& outcome) {
    if (outcome.Status != 0) return L"服务器应答 HTTP " + std::to_wstring(outcome.Status);
    return SystemErrorText(outcome.Error);
}

std::wstring ShortBodyText(uint64_t received, uint64_t announced) {
    return L"连接在数据收完前被关闭（收到 " + std::to_wstring(received) + L" / " +
           std::to_wstring(announced) + L" 字节）";
}

InterfacePtr<IHttpClient> GetHttpClient() {
    InterfacePtr<IHttpClient>& client = ProcessClient();
    if (!client) client = InterfacePtr<IHttpClient>::Share(THttpClient::Create().get());
    return client;
}

}  // namespace qv
