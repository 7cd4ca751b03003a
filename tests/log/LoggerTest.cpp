#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <thread>
#include <vector>

#include "common/StringConv.h"
#include "log/Logger.h"

namespace qv {
namespace {

// A fresh folder under the temporary folder, removed afterwards (one level of files).
class LogFolder {
public:
    LogFolder() {
        wchar_t temp[MAX_PATH + 1] = {};
        GetTempPathW(MAX_PATH, temp);
        static int counter = 0;
        path_ = std::wstring(temp) + L"qvlog_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
                std::to_wstring(++counter) + L"\\";
        CreateDirectoryW(path_.c_str(), nullptr);
    }
    ~LogFolder() { RemoveAll(path_); }
    const std::wstring& path() const { return path_; }

    static void RemoveAll(const std::wstring& folder) {
        WIN32_FIND_DATAW found{};
        HANDLE search = FindFirstFileW((folder + L"*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                const std::wstring name = found.cFileName;
                if (name == L"." || name == L"..") continue;
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    RemoveAll(folder + name + L"\\");
                } else {
                    DeleteFileW((folder + name).c_str());
                }
            } while (FindNextFileW(search, &found));
            FindClose(search);
        }
        RemoveDirectoryW(folder.c_str());
    }

private:
    std::wstring path_;
};

std::string ReadAll(const std::wstring& name) {
    HANDLE file = CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<missing>";
    std::string bytes(1 << 20, '\0');
    DWORD read = 0;
    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    bytes.resize(read);
    return bytes;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end = text.find("\r\n"); end != std::string::npos; end = text.find("\r\n", start)) {
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

std::wstring TodaysFileName() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return LogFileNameFor(now);
}

std::unique_ptr<TLogger> MakeLogger(const std::wstring& folder) {
    std::wstring error;
    std::unique_ptr<TLogger> logger = TLogger::Create(folder, error);
    EXPECT_TRUE(logger) << WideToUtf8(error);
    return logger;
}

// "hh:nn:ss.zzz " at the start of a line.
bool StartsWithClock(const std::string& line) {
    if (line.size() < 13) return false;
    for (const size_t digit : {0, 1, 3, 4, 6, 7, 9, 10, 11}) {
        if (line[digit] < '0' || line[digit] > '9') return false;
    }
    return line[2] == ':' && line[5] == ':' && line[8] == '.' && line[12] == ' ';
}

TEST(LoggerFormatTest, FileNameIsExecutableNameUnderscoreDate) {
    SYSTEMTIME date{};
    date.wYear = 2024;
    date.wMonth = 1;
    date.wDay = 31;
    EXPECT_EQ(LogFileNameFor(date), L"log_tests_20240131.log");
    date.wYear = 2025;
    date.wMonth = 12;
    date.wDay = 5;
    EXPECT_EQ(LogFileNameFor(date), L"log_tests_20251205.log");
}

TEST(LoggerFormatTest, LineIsClockBlankTagTextCrLf) {
    SYSTEMTIME now{};
    now.wHour = 8;
    now.wMinute = 5;
    now.wSecond = 9;
    now.wMilliseconds = 7;
    const struct {
        TLogLevel level;
        const char* text;
        const char* line;
    } cases[] = {
        {llInformation, "a", "08:05:09.007 [Information] a\r\n"},
        {llNotice, "b", "08:05:09.007 [Notice] b\r\n"},
        {llWarning, "c", "08:05:09.007 [Warning] c\r\n"},
        {llError, "d", "08:05:09.007 [Error] d\r\n"},
        {4, "e", "08:05:09.007 e\r\n"},
        {7, "f", "08:05:09.007 f\r\n"},
        {llError, "", "08:05:09.007 [Error] \r\n"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatLogLine(now, c.text, c.level), c.line);
    now.wHour = 23;
    now.wMilliseconds = 999;
    EXPECT_EQ(FormatLogLine(now, "x", 9), "23:05:09.999 x\r\n");
}

TEST(LoggerTest, WritesAppendAndALaterLoggerAppendsToTheSameFile) {
    LogFolder folder;
    {
        std::unique_ptr<TLogger> logger = MakeLogger(folder.path());
        EXPECT_EQ(logger->FileName(), L"");
        ASSERT_TRUE(logger->WriteLog(WideToAnsi(L"下载失败dsFail。[原因]"), llInformation));
        ASSERT_TRUE(logger->WriteLog("second", llError));
        EXPECT_EQ(logger->FileName(), TodaysFileName());
    }
    std::unique_ptr<TLogger> later = MakeLogger(folder.path());
    ASSERT_TRUE(later->WriteLog("third", 5));

    const std::vector<std::string> lines = Lines(ReadAll(folder.path() + TodaysFileName()));
    ASSERT_EQ(lines.size(), 3u);
    for (const std::string& line : lines) EXPECT_TRUE(StartsWithClock(line)) << line;
    EXPECT_EQ(lines[0].substr(13), "[Information] " + WideToAnsi(L"下载失败dsFail。[原因]"));
    EXPECT_EQ(lines[1].substr(13), "[Error] second");
    EXPECT_EQ(lines[2].substr(13), "third");
}

TEST(LoggerTest, NegativeLevelsNeverTouchTheFile) {
    LogFolder folder;
    std::unique_ptr<TLogger> logger = MakeLogger(folder.path());
    EXPECT_TRUE(logger->WriteLog("hidden", -1));
    EXPECT_EQ(logger->FileName(), L"");
    EXPECT_EQ(GetFileAttributesW((folder.path() + TodaysFileName()).c_str()),
              INVALID_FILE_ATTRIBUTES);
}

TEST(LoggerTest, TextStopsAtItsFirstNul) {
    LogFolder folder;
    std::unique_ptr<TLogger> logger = MakeLogger(folder.path());
    ASSERT_TRUE(logger->WriteLog(std::string("before\0after", 12), llNotice));
    logger.reset();  // the write that created the file holds it exclusively
    const std::string content = ReadAll(folder.path() + TodaysFileName());
    EXPECT_EQ(content.substr(13), "[Notice] before");  // and no CR LF
}

TEST(LoggerTest, FolderArgumentIsUsedAsGivenOrDefaultsBesideTheExecutable) {
    LogFolder folder;
    // No trailing separator: the file name is glued to the last component.
    const std::wstring glued = folder.path() + L"logs";
    std::unique_ptr<TLogger> logger = MakeLogger(glued);
    EXPECT_EQ(logger->LogDir(), glued);
    ASSERT_TRUE(logger->WriteLog("x", llNotice));
    logger.reset();
    EXPECT_NE(ReadAll(glued + TodaysFileName()), "<missing>");

    // Missing levels are created.
    const std::wstring deep = folder.path() + L"a\\b\\c\\";
    ASSERT_TRUE(MakeLogger(deep));
    EXPECT_NE(GetFileAttributesW(deep.c_str()), INVALID_FILE_ATTRIBUTES);

    // Blanks and control characters only: "Quorvane\Log\" beside the executable.
    wchar_t exe[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring besideExe = exe;
    besideExe.erase(besideExe.find_last_of(L'\\') + 1);
    std::unique_ptr<TLogger> byDefault = MakeLogger(L" \t\r\n ");
    EXPECT_EQ(byDefault->LogDir(), besideExe + L"Quorvane\\Log\\");
    EXPECT_NE(GetFileAttributesW(byDefault->LogDir().c_str()), INVALID_FILE_ATTRIBUTES);
    LogFolder::RemoveAll(besideExe + L"Quorvane\\");
}

TEST(LoggerTest, AFolderThatCannotBeCreatedGivesNoLogger) {
    LogFolder folder;
    const std::wstring file = folder.path() + L"plain.txt";
    HANDLE handle = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    CloseHandle(handle);
    std::wstring error;
    EXPECT_FALSE(TLogger::Create(file + L"\\sub\\", error));
    EXPECT_EQ(error, L"日志路径错误，日志类对象不能被创建");
}

TEST(LoggerTest, TheCreatingWriteHoldsTheFileExclusiveLaterWritesShareIt) {
    LogFolder folder;
    std::unique_ptr<TLogger> logger = MakeLogger(folder.path());
    const std::wstring path = folder.path() + TodaysFileName();
    auto othersCanOpen = [&] {
        HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, 0, nullptr);
        if (h == INVALID_HANDLE_VALUE) return false;
        CloseHandle(h);
        return true;
    };
    ASSERT_TRUE(logger->WriteLog("one", llNotice));
    EXPECT_FALSE(othersCanOpen());
    ASSERT_TRUE(logger->WriteLog("two", llNotice));
    EXPECT_TRUE(othersCanOpen());
}

TEST(LoggerTest, AFileHeldByOthersFailsTheWriteAndTheNextWriteRetriesIt) {
    LogFolder folder;
    std::unique_ptr<TLogger> first = MakeLogger(folder.path());
    std::unique_ptr<TLogger> second = MakeLogger(folder.path());
    ASSERT_TRUE(first->WriteLog("holds it", llNotice));  // created: exclusive while open
    std::wstring error;
    EXPECT_FALSE(second->WriteLog("refused", llNotice, &error));
    EXPECT_NE(error.find(TodaysFileName()), std::wstring::npos) << WideToUtf8(error);
    EXPECT_EQ(second->FileName(), TodaysFileName());
    first.reset();
    EXPECT_TRUE(second->WriteLog("later", llNotice));
    const std::vector<std::string> lines = Lines(ReadAll(folder.path() + TodaysFileName()));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1].substr(13), "[Notice] later");
}

TEST(LoggerTest, EntriesFromManyThreadsStayWhole) {
    LogFolder folder;
    std::unique_ptr<TLogger> logger = MakeLogger(folder.path());
    constexpr int kThreads = 4;
    constexpr int kEntries = 100;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < kEntries; ++i) {
                logger->WriteLog("thread " + std::to_string(t) + " entry " + std::to_string(i) +
                                     " " + std::string(100, static_cast<char>('a' + t)),
                                 llWarning);
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    const std::vector<std::string> lines = Lines(ReadAll(folder.path() + TodaysFileName()));
    ASSERT_EQ(lines.size(), static_cast<size_t>(kThreads * kEntries));
    for (const std::string& line : lines) {
        ASSERT_TRUE(StartsWithClock(line)) << line;
        const std::string body = line.substr(13);
        ASSERT_EQ(body.rfind("[Warning] thread ", 0), 0u) << line;
        const char letter = static_cast<char>('a' + (body[17] - '0'));
        EXPECT_EQ(body.substr(body.size() - 100), std::string(100, letter)) << line;
    }
}

}  // namespace
}  // namespace qv
