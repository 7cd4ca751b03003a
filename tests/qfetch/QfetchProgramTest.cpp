// qfetch.exe run as its own process against the local mirror.
#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "MirrorClient.h"
#include "common/ScopedHandles.h"
#include "common/StringConv.h"

namespace qv {
namespace {

struct RunResult {
    DWORD exitCode = 0xFFFFFFFF;
    std::string out;
    std::string err;
};

// Reads a pipe to its end on a thread of its own, so neither pipe can fill up and block.
class PipeReader {
public:
    explicit PipeReader(HANDLE pipe) : pipe_(pipe) {
        thread_.reset(CreateThread(nullptr, 0, &PipeReader::Run, this, 0, nullptr));
    }
    std::string Finish() {
        WaitForSingleObject(thread_.get(), INFINITE);
        return text_;
    }

private:
    static DWORD WINAPI Run(void* self) {
        auto* reader = static_cast<PipeReader*>(self);
        char buffer[4096];
        DWORD read = 0;
        while (ReadFile(reader->pipe_.get(), buffer, sizeof buffer, &read, nullptr) && read > 0) {
            reader->text_.append(buffer, read);
        }
        return 0;
    }
    ScopedFile pipe_;
    ScopedKernelHandle thread_;
    std::string text_;
};

std::wstring Quote(const std::wstring& arg) {
    return L"\"" + arg + L"\"";
}

RunResult RunQfetch(const std::vector<std::wstring>& args) {
    std::wstring command = Quote(Utf8ToWide(QV_QFETCH_EXE));
    for (const std::wstring& arg : args) command += L" " + Quote(arg);
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE outRead, outWrite, errRead, errWrite;
    RunResult result;
    if (!CreatePipe(&outRead, &outWrite, &inherit, 0)) return result;
    if (!CreatePipe(&errRead, &errWrite, &inherit, 0)) return result;
    SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = outWrite;
    startup.hStdError = errWrite;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION process{};
    const BOOL started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                        nullptr, &startup, &process);
    CloseHandle(outWrite);
    CloseHandle(errWrite);
    PipeReader out(outRead);
    PipeReader err(errRead);
    if (started) {
        ScopedKernelHandle thread(process.hThread);
        ScopedKernelHandle child(process.hProcess);
        WaitForSingleObject(child.get(), 120000);
        GetExitCodeProcess(child.get(), &result.exitCode);
    }
    result.out = out.Finish();
    result.err = err.Finish();
    return result;
}

std::vector<std::string> JsonLines(const std::string& out) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end = out.find('\n'); end != std::string::npos; end = out.find('\n', start)) {
        lines.push_back(out.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

std::wstring ScratchFile(const std::wstring& name) {
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder =
        std::wstring(temp) + L"qvqfetch_" + std::to_wstring(GetCurrentProcessId()) + L"\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder + name;
}

std::string ReadAll(const std::wstring& name) {
    HANDLE file = CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<missing>";
    std::string bytes;
    char buffer[65536];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) {
        bytes.append(buffer, read);
    }
    CloseHandle(file);
    return bytes;
}

std::string Pattern(size_t size) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 131 + i / 251) & 0xFF);
    return bytes;
}

class QfetchProgramTest : public testing::Test {
protected:
    void SetUp() override {
        mirror_ = test::MirrorClient::FromFixture();
        ASSERT_TRUE(mirror_);
        path_ = L"/qfetch/" +
                Utf8ToWide(testing::UnitTest::GetInstance()->current_test_info()->name()) +
                L"/Quorvane（湖北）（完整安装包）.exe";
        ASSERT_TRUE(mirror_->Reset(path_));
        target_ =
            ScratchFile(Utf8ToWide(testing::UnitTest::GetInstance()->current_test_info()->name()) +
                        L"（下载）.exe");
        DeleteFileW(target_.c_str());
        DeleteFileW((target_ + L".tmp").c_str());
        DeleteFileW((target_ + L".sdc").c_str());
    }

    std::optional<test::MirrorClient> mirror_;
    std::wstring path_;
    std::wstring target_;
};

TEST_F(QfetchProgramTest, DownloadsAndResumesPrintingOneJsonObjectPerReport) {
    const std::string data = Pattern(700000);
    ASSERT_TRUE(test::MirrorClient::PutFile(path_, data));
    ASSERT_TRUE(mirror_->SetRule(path_, R"("drop_after": 250000)"));

    const RunResult first = RunQfetch({mirror_->Url(path_), target_});
    EXPECT_EQ(first.exitCode, 1u) << first.err;
    std::vector<std::string> lines = JsonLines(first.out);
    ASSERT_GE(lines.size(), 3u) << first.out;
    EXPECT_TRUE(Contains(lines.front(), R"({"status": "start", )")) << lines.front();
    EXPECT_TRUE(Contains(first.out, WideToUtf8(L"\"message\": \"从网络读取文件失败:")))
        << first.out;
    EXPECT_TRUE(Contains(lines.back(), R"("status": "finish")"));

    const RunResult second = RunQfetch({mirror_->Url(path_), target_});
    EXPECT_EQ(second.exitCode, 0u) << second.err;
    lines = JsonLines(second.out);
    ASSERT_GE(lines.size(), 3u);
    EXPECT_TRUE(Contains(lines[1], R"("status": "progress", "position": 250000, "size": 700000)"))
        << lines[1];
    EXPECT_TRUE(Contains(lines.back(), R"("position": 700000, "size": 700000)")) << lines.back();
    EXPECT_TRUE(Contains(lines.back(), R"("result": 0)")) << lines.back();
    EXPECT_EQ(ReadAll(target_), data);
    const std::vector<std::string> requests = mirror_->Requests(path_);
    ASSERT_EQ(requests.size(), 4u);
    EXPECT_EQ(test::HeaderValue(requests[3], "Range"), "bytes=250000-");
}

TEST_F(QfetchProgramTest, OptionsReachTheEngine) {
    ASSERT_TRUE(test::MirrorClient::PutFile(path_, Pattern(300000)));
    ASSERT_TRUE(mirror_->SetRule(path_, R"("fail_first": 1, "fail_status": 500)"));
    const RunResult run =
        RunQfetch({L"--no-resume", L"--retries", L"1", mirror_->Url(path_), target_});
    EXPECT_EQ(run.exitCode, 1u);
    EXPECT_EQ(mirror_->Requests(path_).size(), 1u);  // one send, no HEAD

    ASSERT_TRUE(mirror_->Reset(path_));
    const RunResult limited = RunQfetch({L"--max-size", L"299999", mirror_->Url(path_), target_});
    EXPECT_EQ(limited.exitCode, 1u);
    EXPECT_TRUE(Contains(limited.out, WideToUtf8(L"超过下载文件大小限制！"))) << limited.out;

    const RunResult withHeader = RunQfetch(
        {L"--header", L"X-Qfetch: on", L"--buffer", L"8192", mirror_->Url(path_), target_});
    EXPECT_EQ(withHeader.exitCode, 0u) << withHeader.err;
    EXPECT_EQ(test::HeaderValue(mirror_->Requests(path_).back(), "X-Qfetch"), "on");
}

TEST_F(QfetchProgramTest, CancelAfterAnswersCancelToThatProgressReport) {
    ASSERT_TRUE(test::MirrorClient::PutFile(path_, Pattern(100000)));
    const RunResult run = RunQfetch({L"--cancel-after", L"1", mirror_->Url(path_), target_});
    EXPECT_EQ(run.exitCode, 2u) << run.err;
    const std::vector<std::string> lines = JsonLines(run.out);
    ASSERT_EQ(lines.size(), 3u) << run.out;
    EXPECT_TRUE(Contains(lines.back(), R"("result": 1)"));
    EXPECT_EQ(ReadAll(target_), "<missing>");
}

TEST_F(QfetchProgramTest, UsageErrorsExitWith64AndAOneLineUsage) {
    const std::vector<std::vector<std::wstring>> cases = {
        {}, {L"--bogus", L"a", L"b"}, {L"--retries", L"many", L"a", L"b"}, {L"only-url"}};
    for (const auto& args : cases) {
        const RunResult run = RunQfetch(args);
        EXPECT_EQ(run.exitCode, 64u);
        EXPECT_EQ(run.out, "");
        EXPECT_TRUE(Contains(run.err, "usage: qfetch ")) << run.err;
        EXPECT_EQ(JsonLines(run.err).size(), 2u) << run.err;  // the reason, then the usage
    }
}

}  // namespace
}  // namespace qv
