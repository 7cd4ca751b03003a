// The resumable file download over real sockets to the local mirror.
#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>

#include "MirrorTestBase.h"
#include "NetTestSupport.h"
#include "net/HttpClient.h"

namespace qv {
namespace {

using test::FileExists;
using test::HeaderValue;
using test::ProgressRecorder;
using test::ReadWholeFile;
using test::RecordValue;
using test::Report;
using test::ScratchFolder;
using test::WriteWholeFile;

constexpr char kServerDate[] = "Mon, 01 Jan 2024 08:30:15 GMT";
constexpr wchar_t kRecordDate[] = L"2024-01-01 08:30:15";
constexpr char kOtherServerDate[] = "Tue, 02 Jan 2024 09:00:00 GMT";

std::string RequestLine(const std::string& head) {
    return head.substr(0, head.find("\r\n"));
}

bool StartsWith(const std::wstring& text, const std::wstring& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

std::optional<SYSTEMTIME> LastWriteTime(const std::wstring& name) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    SYSTEMTIME time{};
    if (!GetFileAttributesExW(name.c_str(), GetFileExInfoStandard, &data) ||
        !FileTimeToSystemTime(&data.ftLastWriteTime, &time)) {
        return std::nullopt;
    }
    return time;
}

void ExpectStampedWithServerDate(const std::wstring& name) {
    const std::optional<SYSTEMTIME> time = LastWriteTime(name);
    ASSERT_TRUE(time);
    EXPECT_EQ(time->wYear, 2024);
    EXPECT_EQ(time->wMonth, 1);
    EXPECT_EQ(time->wDay, 1);
    EXPECT_EQ(time->wHour, 8);
    EXPECT_EQ(time->wMinute, 30);
    EXPECT_EQ(time->wSecond, 15);
}

// Answers the transport questions as scripted, and otherwise as WinInet does.
class ScriptedTransport final : public IInternetTransport {
public:
    std::optional<bool> connected;
    DWORD connectionFlags = 0;
    int connectedAnswers = 0;  // with `connected` unset: answer connected this often, then not
    int questions = 0;
    int failReadNumber = 0;  // the n-th read fails (1 = the first), 0 never
    int reads = 0;

    bool GetConnectedState(DWORD& flags) override {
        if (connectedAnswers > 0 && ++questions > connectedAnswers) {
            flags = 0;
            return false;
        }
        if (!connected) return SystemTransport().GetConnectedState(flags);
        flags = connectionFlags;
        return *connected;
    }
    bool ReadFile(HINTERNET request, void* buffer, DWORD size, DWORD& read) override {
        if (++reads == failReadNumber) {
            read = 0;
            SetLastError(ERROR_INTERNET_CONNECTION_RESET);
            return false;
        }
        return SystemTransport().ReadFile(request, buffer, size, read);
    }
};

class FileDownloadTest : public test::MirrorTestBase {
protected:
    void SetUp() override {
        MirrorTestBase::SetUp();
        target_ = folder_.File(L"Quorvane（湖北）（完整安装包）.exe");
        client_->SetBufferSize(16384);
    }

    int32_t Download(ProgressRecorder* recorder, int32_t tag = 0,
                     const std::wstring& headers = {}) {
        return client_->DownloadFile(Url(), target_, recorder ? recorder->Callback() : nullptr, tag,
                                     L"GET", headers);
    }

    // A first download cut by the server after `bytes` body bytes; leaves .tmp and .sdc.
    void DownloadPartially(size_t bytes, bool reset = false) {
        Rule("\"drop_after\": " + std::to_string(bytes) + ", \"drop_reset\": " +
             (reset ? "true" : "false") + ", \"last_modified\": \"" + kServerDate + "\"");
        ProgressRecorder first;
        ASSERT_EQ(Download(&first), kDownloadFailed);
        const Report* fail = first.First(dsFail);
        ASSERT_NE(fail, nullptr);
        EXPECT_TRUE(StartsWith(fail->Message, L"从网络读取文件失败:")) << fail->Message;
        EXPECT_EQ(first.reports.back().Status, dsFinish);
        EXPECT_EQ(first.reports.back().ResultCode, kDownloadFailed);
        ASSERT_TRUE(FileExists(Tmp()));
        ASSERT_TRUE(FileExists(Record()));
        EXPECT_FALSE(FileExists(target_));
    }

    std::wstring Tmp() const { return target_ + L".tmp"; }
    std::wstring Record() const { return target_ + L".sdc"; }
    std::string TargetBytes() const {
        std::string bytes;
        EXPECT_TRUE(ReadWholeFile(target_, bytes));
        return bytes;
    }
    size_t TmpSize() const {
        std::string bytes;
        ReadWholeFile(Tmp(), bytes);
        return bytes.size();
    }
    void WriteRecord(const std::wstring& length, const std::wstring& date) {
        ASSERT_TRUE(
            WritePrivateProfileStringW(L"server", L"ContentLen", length.c_str(), Record().c_str()));
        ASSERT_TRUE(
            WritePrivateProfileStringW(L"server", L"LastModified", date.c_str(), Record().c_str()));
    }

    ScratchFolder folder_;
    std::wstring target_;
    InterfacePtr<THttpClient> client_ = THttpClient::Create();
};

TEST_F(FileDownloadTest, FreshDownloadWritesStampsAndReportsInOrder) {
    const std::string data = test::PatternBytes(300000);
    Serve(data);
    Rule(std::string("\"last_modified\": \"") + kServerDate + "\"");
    ProgressRecorder recorder;

    ASSERT_EQ(Download(&recorder, 7), kDownloadDone);

    EXPECT_EQ(TargetBytes(), data);
    EXPECT_FALSE(FileExists(Tmp()));
    EXPECT_FALSE(FileExists(Record()));
    ExpectStampedWithServerDate(target_);
    const std::vector<std::string> requests = Requests();
    ASSERT_EQ(requests.size(), 1u);  // no HEAD without resuming
    EXPECT_EQ(RequestLine(requests[0]).substr(0, 4), "GET ");
    EXPECT_EQ(HeaderValue(requests[0], "Range"), "");

    const auto& r = recorder.reports;
    ASSERT_GE(r.size(), 4u);
    EXPECT_EQ(r.front().Status, dsStart);
    EXPECT_EQ(r.front().Position, 0);
    EXPECT_EQ(r.front().Size, 0);
    EXPECT_EQ(r[1].Status, dsProgress);
    EXPECT_EQ(r[1].Position, 0);
    EXPECT_EQ(r[1].Size, 300000);
    EXPECT_EQ(r[1].SpeedText, L"0.00B/S");
    EXPECT_EQ(r[1].RemainTimeText, L"00:00:00");
    EXPECT_EQ(r[r.size() - 2].Status, dsProgress);
    EXPECT_EQ(r[r.size() - 2].Position, 300000);
    EXPECT_EQ(r.back().Status, dsFinish);
    EXPECT_EQ(r.back().Position, 300000);
    EXPECT_EQ(r.back().Size, 300000);
    EXPECT_EQ(r.back().ResultCode, kDownloadDone);
    for (const Report& report : r) {
        EXPECT_EQ(report.Tag, 7);
        EXPECT_NE(report.Status, dsFail);
        if (report.Status != dsFinish) {
            EXPECT_EQ(report.ResultCode, kDownloadFailed);
        }
    }
}

TEST_F(FileDownloadTest, WithResumingAHeadComesFirstAndTheRecordGoesAtTheEnd) {
    const std::string data = test::PatternBytes(50000);
    Serve(data);
    client_->SetAllowResume(true);
    ASSERT_EQ(Download(nullptr), kDownloadDone);
    EXPECT_EQ(TargetBytes(), data);
    EXPECT_FALSE(FileExists(Record()));
    const std::vector<std::string> requests = Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(RequestLine(requests[0]).substr(0, 5), "HEAD ");
    EXPECT_EQ(RequestLine(requests[1]).substr(0, 4), "GET ");
}

TEST_F(FileDownloadTest, ResumesAfterACutConnectionWithARangeRequest) {
    const std::string data = test::PatternBytes(400000, 3);
    Serve(data);
    client_->SetAllowResume(true);
    for (const bool reset : {false, true}) {
        SCOPED_TRACE(reset ? "reset" : "orderly close");
        ASSERT_TRUE(Mirror().Reset(Path()));
        DeleteFileW(target_.c_str());
        DownloadPartially(100000, reset);
        const size_t kept = TmpSize();
        ASSERT_GT(kept, 0u);
        ASSERT_LE(kept, 100000u);
        EXPECT_EQ(RecordValue(Record(), L"ContentLen"), L"400000");
        EXPECT_EQ(RecordValue(Record(), L"LastModified"), kRecordDate);

        ProgressRecorder second;
        ASSERT_EQ(Download(&second), kDownloadDone);

        EXPECT_EQ(TargetBytes(), data);
        EXPECT_FALSE(FileExists(Tmp()));
        EXPECT_FALSE(FileExists(Record()));
        const std::vector<std::string> requests = Requests();
        ASSERT_EQ(requests.size(), 4u);
        EXPECT_EQ(RequestLine(requests[2]).substr(0, 5), "HEAD ");
        EXPECT_EQ(HeaderValue(requests[3], "Range"), "bytes=" + std::to_string(kept) + "-");
        ASSERT_NE(second.First(dsProgress), nullptr);
        EXPECT_EQ(second.First(dsProgress)->Position, static_cast<int64_t>(kept));
        EXPECT_EQ(second.First(dsProgress)->Size, 400000);
    }
}

TEST_F(FileDownloadTest, AChangedServerVersionStartsAfreshWithoutRange) {
    const std::string data = test::PatternBytes(200000, 4);
    Serve(data);
    client_->SetAllowResume(true);
    const struct {
        const char* name;
        std::string rule;
    } cases[] = {
        {"date changed", std::string("\"last_modified\": \"") + kOtherServerDate + "\""},
        {"no date any more", R"("no_last_modified": true, "content_length": 199999)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(Mirror().Reset(Path()));
        DeleteFileW(target_.c_str());
        DownloadPartially(50000);
        Rule(c.rule);
        ProgressRecorder second;
        Download(&second);
        const std::vector<std::string> requests = Requests();
        ASSERT_EQ(requests.size(), 4u);
        EXPECT_EQ(HeaderValue(requests[3], "Range"), "");
        ASSERT_NE(second.First(dsProgress), nullptr);
        EXPECT_EQ(second.First(dsProgress)->Position, 0);
    }
    // The first case completes with the whole file from zero.
    ASSERT_TRUE(Mirror().Reset(Path()));
    DeleteFileW(target_.c_str());
    DownloadPartially(50000);
    Rule(cases[0].rule);
    ASSERT_EQ(Download(nullptr), kDownloadDone);
    EXPECT_EQ(TargetBytes(), data);
}

TEST_F(FileDownloadTest, ACompleteTemporaryFileIsRenamedAfterOnlyTheHead) {
    const std::string data = test::PatternBytes(30000, 5);
    Serve(data);
    Rule(std::string("\"last_modified\": \"") + kServerDate + "\"");
    ASSERT_TRUE(WriteWholeFile(Tmp(), data));
    WriteRecord(L"30000", kRecordDate);
    client_->SetAllowResume(true);
    ProgressRecorder recorder;

    ASSERT_EQ(Download(&recorder), kDownloadDone);

    EXPECT_EQ(TargetBytes(), data);
    EXPECT_FALSE(FileExists(Tmp()));
    EXPECT_TRUE(FileExists(Record()));
    ExpectStampedWithServerDate(target_);
    const std::vector<std::string> requests = Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(RequestLine(requests[0]).substr(0, 5), "HEAD ");
    EXPECT_EQ(recorder.Statuses(), (std::vector<THttpDownloadStatus>{dsStart, dsFinish}));
    EXPECT_EQ(recorder.reports.back().Position, 30000);
}

TEST_F(FileDownloadTest, ATemporaryFileThatDoesNotMatchIsDiscarded) {
    const std::string data = test::PatternBytes(30000, 6);
    Serve(data);
    Rule(std::string("\"last_modified\": \"") + kServerDate + "\"");
    client_->SetAllowResume(true);
    const struct {
        const char* name;
        std::string tmp;
        std::wstring length;
        std::wstring date;
        bool writeRecord;
    } cases[] = {
        {"longer than announced", data + "extra", L"30000", kRecordDate, true},
        {"other length", data.substr(0, 1000), L"29999", kRecordDate, true},
        {"other date", data.substr(0, 1000), L"30000", L"2023-12-31 00:00:00", true},
        {"no record", data.substr(0, 1000), L"", L"", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(Mirror().Reset(Path()));
        Rule(std::string("\"last_modified\": \"") + kServerDate + "\"");
        DeleteFileW(target_.c_str());
        DeleteFileW(Record().c_str());
        ASSERT_TRUE(WriteWholeFile(Tmp(), std::string(c.tmp.size(), 'X')));
        if (c.writeRecord) WriteRecord(c.length, c.date);
        ASSERT_EQ(Download(nullptr), kDownloadDone);
        EXPECT_EQ(TargetBytes(), data);
        const std::vector<std::string> requests = Requests();
        ASSERT_EQ(requests.size(), 2u);
        EXPECT_EQ(HeaderValue(requests[1], "Range"), "");
    }
}

TEST_F(FileDownloadTest, AnAnswerThatIsNotTheAskedRestRestartsTheFileFromZero) {
    const std::string data = test::PatternBytes(200000, 7);
    Serve(data);
    client_->SetAllowResume(true);
    const struct {
        const char* name;
        const char* rule;
    } cases[] = {
        {"200 with the whole body", R"("ignore_range": true)"},
        {"206 from an earlier offset", R"("range_start": 500)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(Mirror().Reset(Path()));
        DeleteFileW(target_.c_str());
        DownloadPartially(60000);
        Rule(std::string(c.rule) + ", \"last_modified\": \"" + kServerDate + "\"");
        ProgressRecorder second;
        ASSERT_EQ(Download(&second), kDownloadDone);
        EXPECT_EQ(TargetBytes(), data);
        const std::vector<std::string> requests = Requests();
        ASSERT_GE(requests.size(), 4u);
        EXPECT_NE(HeaderValue(requests[3], "Range"), "");
        EXPECT_EQ(second.Last(dsFinish)->Position, 200000);
    }
}

TEST_F(FileDownloadTest, AFailingServerIsAskedRetryCountTimes) {
    Serve("x");
    const struct {
        bool resume;
        int32_t retries;
        size_t sends;
        const wchar_t* prefix;
    } cases[] = {
        {true, 3, 3, L"获取下载包信息失败:"},
        {false, 3, 3, L"发生下载请求失败:"},
        {false, 0, 0, L"发生下载请求失败:"},
        {true, 1, 1, L"获取下载包信息失败:"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.resume << " " << c.retries);
        ASSERT_TRUE(Mirror().Reset(Path()));
        Rule(R"("fail_first": 100, "fail_status": 404)");
        client_->SetAllowResume(c.resume);
        client_->SetRetryCount(c.retries);
        ProgressRecorder recorder;
        EXPECT_EQ(Download(&recorder), kDownloadFailed);
        EXPECT_EQ(Requests().size(), c.sends);
        ASSERT_EQ(recorder.Count(dsFail), 1u);
        EXPECT_TRUE(StartsWith(recorder.First(dsFail)->Message, c.prefix))
            << recorder.First(dsFail)->Message;
        EXPECT_EQ(recorder.reports.back().Status, dsFinish);
        EXPECT_FALSE(FileExists(target_));
    }
}

TEST_F(FileDownloadTest, TheSizeLimitIsCheckedAsA64BitNumber) {
    Serve(test::PatternBytes(1000));
    const struct {
        bool resume;
        int64_t announced;
        int64_t maxSize;
        bool accepted;
    } cases[] = {
        {true, 2097152000, 2097152000, true},
        {true, 2097152001, 2097152000, false},
        {false, 2097152000, 2097152000, true},
        {false, 2097152001, 2097152000, false},
        // 5 GiB + 1 would pass the default limit if cut to 32 bits (1 GiB + 1).
        {true, 5368709121, 2097152000, false},
        {false, 5368709121, 2097152000, false},
        {true, 5368709121, 8589934592, true},
        {false, 5368709121, 8589934592, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.resume << " " << c.announced);
        Rule("\"content_length\": " + std::to_string(c.announced));
        client_->SetAllowResume(c.resume);
        client_->SetMaxSize(c.maxSize);
        ProgressRecorder recorder;
        recorder.cancelWhen = [](const Report& r) { return r.Status == dsProgress; };
        const int32_t result = Download(&recorder);
        if (c.accepted) {
            EXPECT_EQ(result, kDownloadCancelled);
            ASSERT_NE(recorder.First(dsProgress), nullptr);
            EXPECT_EQ(recorder.First(dsProgress)->Size, c.announced);
            EXPECT_EQ(recorder.Count(dsFail), 0u);
        } else {
            EXPECT_EQ(result, kDownloadFailed);
            ASSERT_EQ(recorder.Count(dsFail), 1u);
            EXPECT_EQ(recorder.First(dsFail)->Message, L"超过下载文件大小限制！");
            EXPECT_EQ(recorder.Count(dsProgress), 0u);
        }
    }
}

TEST_F(FileDownloadTest, WithoutContentLengthTheSizeIsZeroAndTheRemainingTimeUnknown) {
    const std::string data = test::PatternBytes(60000, 8);
    Serve(data);
    // Slow enough for a measuring window to close (about 1.5 s).
    Rule(R"("no_content_length": true, "throttle": 40000)");
    client_->SetAllowResume(true);
    client_->SetBufferSize(4096);
    ProgressRecorder recorder;
    ASSERT_EQ(Download(&recorder), kDownloadDone);
    EXPECT_EQ(TargetBytes(), data);
    bool estimated = false;
    int64_t lastPosition = -1;
    for (const Report& r : recorder.reports) {
        EXPECT_EQ(r.Size, 0);
        if (r.Status != dsProgress) continue;
        EXPECT_GE(r.Position, lastPosition);
        lastPosition = r.Position;
        if (r.Speed > 0) {
            estimated = true;
            EXPECT_EQ(r.RemainTime, -1);
            EXPECT_EQ(r.RemainTimeText, L"--:--:--");
        }
    }
    EXPECT_TRUE(estimated);
    EXPECT_EQ(lastPosition, 60000);
    for (const std::string& request : Requests()) EXPECT_EQ(HeaderValue(request, "Range"), "");
}

TEST_F(FileDownloadTest, CancellingStopsWithTheRightResultAndKeepsTheSideFiles) {
    const std::string data = test::PatternBytes(100000, 9);
    Serve(data);
    client_->SetAllowResume(true);
    DownloadPartially(30000);
    const size_t kept = TmpSize();

    ProgressRecorder atProgress;
    atProgress.cancelWhen = [](const Report& r) { return r.Status == dsProgress; };
    EXPECT_EQ(Download(&atProgress), kDownloadCancelled);
    EXPECT_EQ(atProgress.Statuses(),
              (std::vector<THttpDownloadStatus>{dsStart, dsProgress, dsFinish}));
    EXPECT_EQ(atProgress.reports.back().Position, static_cast<int64_t>(kept));
    EXPECT_EQ(atProgress.reports.back().ResultCode, kDownloadCancelled);
    EXPECT_EQ(TmpSize(), kept);
    EXPECT_TRUE(FileExists(Record()));

    ProgressRecorder atStart;
    atStart.cancelWhen = [](const Report& r) { return r.Status == dsStart; };
    const size_t requestsBefore = Requests().size();
    EXPECT_EQ(Download(&atStart), kDownloadFailed);
    EXPECT_EQ(atStart.Statuses(), (std::vector<THttpDownloadStatus>{dsStart, dsFinish}));
    EXPECT_EQ(Requests().size(), requestsBefore);
    EXPECT_EQ(TmpSize(), kept);
}

TEST_F(FileDownloadTest, FailuresBeforeTheConnectionSendOnlyTheirFailure) {
    const struct {
        std::wstring url;
        std::wstring fileName;
        const wchar_t* message;
    } cases[] = {
        {Url(), L"", L"下载保存路径为空！"},
        {L"https://127.0.0.1/x", target_, L"URL类型不是HTTP！"},
        {L"", target_, L"URL地址为空！"},
    };
    for (const auto& c : cases) {
        ProgressRecorder recorder;
        std::wstring fileName = c.fileName;
        EXPECT_EQ(client_->DownloadFile(c.url, fileName, recorder.Callback(), 0, L"GET", L""),
                  kDownloadFailed);
        ASSERT_EQ(recorder.Statuses(), std::vector<THttpDownloadStatus>{dsFail});
        EXPECT_EQ(recorder.reports[0].Message, c.message);
        EXPECT_EQ(client_->GetLastErrorText(), c.message);
    }
    EXPECT_TRUE(Requests().empty());
}

TEST_F(FileDownloadTest, WithoutACallbackNothingIsReportedAndTheLastErrorStays) {
    Serve("x");
    ProgressRecorder recorder;
    std::wstring empty;
    client_->DownloadFile(Url(), empty, recorder.Callback(), 0, L"GET", L"");
    ASSERT_EQ(client_->GetLastErrorText(), L"下载保存路径为空！");
    Rule(R"("fail_first": 100)");
    EXPECT_EQ(Download(nullptr), kDownloadFailed);
    EXPECT_EQ(client_->GetLastErrorText(), L"下载保存路径为空！");
    EXPECT_EQ(Requests().size(), 3u);
}

TEST_F(FileDownloadTest, TransportAnswersEndTheTransferWithTheirReason) {
    const std::string data = test::PatternBytes(100000, 10);
    Serve(data);
    const struct {
        const char* name;
        std::optional<bool> connected;
        DWORD flags;
        int failRead;
        const wchar_t* message;
        bool prefixOnly;
    } cases[] = {
        {"not connected", false, 0, 0, L"检查网络状态失败: 有可能是网络不通。", false},
        {"no connection kind", true, INTERNET_CONNECTION_OFFLINE | INTERNET_RAS_INSTALLED, 0,
         L"网络不通！", false},
        {"LAN", true, INTERNET_CONNECTION_LAN, 0, nullptr, false},
        {"read fails", std::nullopt, 0, 2, L"从网络读取文件失败:", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedTransport transport;
        transport.connected = c.connected;
        transport.connectionFlags = c.flags;
        transport.failReadNumber = c.failRead;
        client_->SetTransport(transport);
        ProgressRecorder recorder;
        const int32_t result = Download(&recorder);
        client_->SetTransport(SystemTransport());
        if (!c.message) {
            EXPECT_EQ(result, kDownloadDone);
            EXPECT_EQ(TargetBytes(), data);
            DeleteFileW(target_.c_str());
            continue;
        }
        EXPECT_EQ(result, kDownloadFailed);
        ASSERT_EQ(recorder.Count(dsFail), 1u);
        const std::wstring& message = recorder.First(dsFail)->Message;
        if (c.prefixOnly) {
            EXPECT_TRUE(StartsWith(message, c.message)) << message;
            EXPECT_GT(message.size(), std::wstring(c.message).size());
        } else {
            EXPECT_EQ(message, c.message);
        }
        EXPECT_EQ(recorder.reports.back().Status, dsFinish);
        EXPECT_TRUE(FileExists(Tmp()));
        EXPECT_FALSE(FileExists(target_));
    }
}

TEST_F(FileDownloadTest, ADisconnectDuringTheTransferIsNoticed) {
    Serve(test::PatternBytes(100000, 16));
    Rule(R"("throttle": 100000)");  // about one second of transfer
    client_->SetBufferSize(4096);
    ScriptedTransport transport;
    transport.connectedAnswers = 1;
    client_->SetTransport(transport);
    ProgressRecorder recorder;
    const int32_t result = Download(&recorder);
    client_->SetTransport(SystemTransport());
    EXPECT_EQ(result, kDownloadFailed);
    ASSERT_EQ(recorder.Count(dsFail), 1u);
    EXPECT_EQ(recorder.First(dsFail)->Message, L"检查网络状态失败: 有可能是网络不通。");
    EXPECT_EQ(transport.questions, 2);
    EXPECT_GT(TmpSize(), 0u);
    EXPECT_LT(TmpSize(), 100000u);
}

TEST_F(FileDownloadTest, AnExceptionFromTheCallbackIsReportedAfterTheFinishingSteps) {
    Serve(test::PatternBytes(50000, 17));
    ProgressRecorder recorder;
    const THttpDownloadEvent record = recorder.Callback();
    bool thrown = false;
    const THttpDownloadEvent throwing = [&](const THttpDownloadInfo& info, bool& cancel) {
        record(info, cancel);
        if (info.Status == dsProgress && !thrown) {
            thrown = true;
            throw std::runtime_error("callback broke");
        }
    };
    EXPECT_EQ(client_->DownloadFile(Url(), target_, throwing, 0, L"GET", L""), kDownloadFailed);
    EXPECT_EQ(recorder.Statuses(),
              (std::vector<THttpDownloadStatus>{dsStart, dsProgress, dsFinish, dsError}));
    EXPECT_EQ(recorder.reports.back().Message, L"callback broke");
    EXPECT_EQ(client_->GetLastErrorText(), L"callback broke");
    // The temporary file was closed by the finishing steps: it can be removed now.
    EXPECT_TRUE(DeleteFileW(Tmp().c_str()));
}

TEST_F(FileDownloadTest, AStalledServerEndsInAReadFailureAfterTheTimeout) {
    Serve(test::PatternBytes(200000, 11));
    Rule(R"("stall_after": 50000, "stall_seconds": 60)");
    client_->SetTimeout(1500);
    ProgressRecorder recorder;
    EXPECT_EQ(Download(&recorder), kDownloadFailed);
    ASSERT_EQ(recorder.Count(dsFail), 1u);
    const std::wstring& message = recorder.First(dsFail)->Message;
    EXPECT_TRUE(StartsWith(message, L"从网络读取文件失败:")) << message;
    // A read that timed out, not a connection the server closed after its 60 s.
    EXPECT_EQ(message.find(L"连接在数据收完前被关闭"), std::wstring::npos) << message;
}

TEST_F(FileDownloadTest, ALockedOldTargetFailsAndKeepsTheTemporaryFile) {
    const std::string data = test::PatternBytes(20000, 12);
    Serve(data);
    ASSERT_TRUE(WriteWholeFile(target_, "old"));
    HANDLE lock = CreateFileW(target_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    ProgressRecorder recorder;
    const int32_t result = Download(&recorder);
    CloseHandle(lock);
    EXPECT_EQ(result, kDownloadFailed);
    ASSERT_EQ(recorder.Count(dsFail), 1u);
    EXPECT_TRUE(StartsWith(recorder.First(dsFail)->Message, L"删除[" + target_ + L"]文件失败:"))
        << recorder.First(dsFail)->Message;
    EXPECT_EQ(recorder.reports.back().Status, dsFinish);
    EXPECT_EQ(recorder.reports.back().ResultCode, kDownloadFailed);
    EXPECT_EQ(TmpSize(), data.size());
}

TEST_F(FileDownloadTest, AFailedRenameIsAFailureNotASuccess) {
    Serve(test::PatternBytes(20000, 13));
    ASSERT_TRUE(CreateDirectoryW(target_.c_str(), nullptr));  // the name is taken by a folder
    ProgressRecorder recorder;
    const int32_t result = Download(&recorder);
    RemoveDirectoryW(target_.c_str());
    EXPECT_EQ(result, kDownloadFailed);
    ASSERT_EQ(recorder.Count(dsFail), 1u);
    EXPECT_TRUE(StartsWith(recorder.First(dsFail)->Message, L"重命名下载文件失败:"))
        << recorder.First(dsFail)->Message;
    EXPECT_EQ(recorder.reports.back().ResultCode, kDownloadFailed);
    EXPECT_EQ(TmpSize(), 20000u);
}

TEST_F(FileDownloadTest, TheBeforeDownloadHookCanChangeWhatIsFetchedAndWhereItGoes) {
    const std::string data = test::PatternBytes(10000, 14);
    Serve(data);
    const std::wstring otherPath = Path() + L".other";
    const std::string otherData = test::PatternBytes(7000, 15);
    ASSERT_TRUE(test::MirrorClient::PutFile(otherPath, otherData));
    ASSERT_TRUE(Mirror().Reset(otherPath));
    const std::wstring renamed = folder_.File(L"renamed.exe");
    client_->SetAllowResume(true);
    for (const bool handled : {false, true}) {
        SCOPED_TRACE(handled ? "handled" : "not handled");
        DeleteFileW(renamed.c_str());
        client_->SetOnBeforeDownload([&](IHttpClient* sender, std::wstring& objectName,
                                         std::wstring& fileName, int32_t& tag,
                                         const std::wstring& verb, std::wstring& headers, uint64_t&,
                                         uint64_t& contentLength, bool&, bool& isHandled) {
            EXPECT_EQ(sender, static_cast<IHttpClient*>(client_.get()));
            EXPECT_EQ(verb, L"GET");
            EXPECT_EQ(contentLength, 10000u);
            objectName = Utf8ToWide(test::PercentEncodePath(otherPath));
            fileName = renamed;
            tag = 99;
            headers = L"X-Hook: yes";
            isHandled = handled;
        });
        ProgressRecorder recorder;
        std::wstring fileName = target_;
        ASSERT_EQ(client_->DownloadFile(Url(), fileName, recorder.Callback(), 1, L"GET", L""),
                  kDownloadDone);
        EXPECT_EQ(fileName, renamed);
        std::string bytes;
        ASSERT_TRUE(ReadWholeFile(renamed, bytes));
        EXPECT_EQ(bytes, handled ? otherData : data);
        EXPECT_EQ(recorder.reports.front().Tag, 1);
        EXPECT_EQ(recorder.reports.back().Tag, 99);
        const std::vector<std::string> transfer =
            handled ? Mirror().Requests(otherPath) : std::vector<std::string>{Requests().back()};
        ASSERT_FALSE(transfer.empty());
        EXPECT_EQ(HeaderValue(transfer.back(), "X-Hook"), "yes");
    }
    client_->SetOnBeforeDownload(nullptr);
}

}  // namespace
}  // namespace qv
