#include "log/Logger.h"

#include <cstdio>
#include <iterator>

#include "common/StringConv.h"

namespace qv {
namespace {

constexpr wchar_t kDefaultSubfolder[] = L"Quorvane\\Log\\";

class LockGuard {
public:
    explicit LockGuard(CRITICAL_SECTION& lock) : lock_(lock) { EnterCriticalSection(&lock_); }
    ~LockGuard() { LeaveCriticalSection(&lock_); }
    LockGuard(const LockGuard&) = delete;
    LockGuard& operator=(const LockGuard&) = delete;

private:
    CRITICAL_SECTION& lock_;
};

std::wstring ExecutablePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) return path.substr(0, length);
        path.resize(path.size() * 2);
    }
}

bool IsBlankOrControl(wchar_t c) {
    return c <= L' ';
}

bool IsBlank(std::wstring_view text) {
    for (const wchar_t c : text) {
        if (!IsBlankOrControl(c)) return false;
    }
    return true;
}

bool FolderExists(const std::wstring& folder) {
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FileExists(const std::wstring& file) {
    const DWORD attributes = GetFileAttributesW(file.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Creates `folder` and every missing parent level.
bool ForceFolder(std::wstring folder) {
    while (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/')) folder.pop_back();
    if (folder.empty() || FolderExists(folder)) return !folder.empty();
    const size_t parentEnd = folder.find_last_of(L"\\/");
    if (parentEnd != std::wstring::npos && parentEnd > 0 && folder[parentEnd - 1] != L':') {
        if (!ForceFolder(folder.substr(0, parentEnd))) return false;
    }
    return CreateDirectoryW(folder.c_str(), nullptr) || FolderExists(folder);
}

std::wstring TimeSeparator() {
    wchar_t separator[8] = {};
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STIME, separator,
                       static_cast<int>(std::size(separator))) <= 1) {
        return L":";
    }
    return separator;
}

const char* TagOf(TLogLevel level) {
    switch (level) {
        case llInformation:
            return "[Information] ";
        case llNotice:
            return "[Notice] ";
        case llWarning:
            return "[Warning] ";
        case llError:
            return "[Error] ";
        default:
            return "";
    }
}

std::wstring SystemText(DWORD code) {
    wchar_t* text = nullptr;
    FormatMessageW(
        FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring result = text ? text : L"错误代码 " + std::to_wstring(code);
    if (text) LocalFree(text);
    while (!result.empty() && (result.back() == L'\n' || result.back() == L'\r')) {
        result.pop_back();
    }
    return result;
}

}  // namespace

std::wstring LogFileNameFor(const SYSTEMTIME& localDate) {
    std::wstring name = ExecutablePath();
    const size_t slash = name.find_last_of(L"\\/");
    if (slash != std::wstring::npos) name.erase(0, slash + 1);
    const size_t dot = name.find_last_of(L'.');
    if (dot != std::wstring::npos) name.erase(dot);
    wchar_t date[16];
    std::swprintf(date, std::size(date), L"_%04u%02u%02u.log", localDate.wYear, localDate.wMonth,
                  localDate.wDay);
    return name + date;
}

std::string FormatLogLine(const SYSTEMTIME& now, std::string_view text, TLogLevel level) {
    const std::string separator = WideToAnsi(TimeSeparator());
    char clock[64];
    std::snprintf(clock, sizeof clock, "%02u%s%02u%s%02u.%03u ", now.wHour, separator.c_str(),
                  now.wMinute, separator.c_str(), now.wSecond, now.wMilliseconds);
    std::string line = clock;
    line += TagOf(level);
    line += text;
    line += "\r\n";
    return line;
}

std::unique_ptr<TLogger> TLogger::Create(std::wstring_view logDir, std::wstring& errorText) {
    std::wstring folder(logDir);
    if (IsBlank(logDir)) {
        folder = ExecutablePath();
        folder.erase(folder.find_last_of(L"\\/") + 1);
        folder += kDefaultSubfolder;
    }
    if (!FolderExists(folder) && !ForceFolder(folder)) {
        errorText = L"日志路径错误，日志类对象不能被创建";
        return nullptr;
    }
    return std::unique_ptr<TLogger>(new TLogger(std::move(folder)));
}

TLogger::TLogger(std::wstring logDir) : FLogDir(std::move(logDir)) {
    InitializeCriticalSection(&FLock);
}

TLogger::~TLogger() {
    FStream.reset();
    DeleteCriticalSection(&FLock);
}

std::wstring TLogger::FileName() const {
    LockGuard guard(FLock);
    return FFileName;
}

bool TLogger::WriteLog(std::string_view text, TLogLevel level, std::wstring* errorText) {
    LockGuard guard(FLock);
    if (level < 0) return true;  // display-only entries: this logger has no display

    SYSTEMTIME today{};
    GetLocalTime(&today);
    if (FFileName.empty()) FFileName = LogFileNameFor(today);
    const std::wstring path = FLogDir + FFileName;
    const bool existed = FileExists(path);
    FStream.reset();
    // A file this write creates stays exclusive until the next write reopens it shared.
    if (existed) {
        FStream.reset(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    } else {
        FStream.reset(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    }
    if (!FStream) {
        if (errorText)
            *errorText = L"无法打开日志文件[" + path + L"]:" + SystemText(GetLastError());
        return false;
    }
    SetFilePointerEx(FStream.get(), LARGE_INTEGER{}, nullptr, FILE_END);

    SYSTEMTIME now{};
    GetLocalTime(&now);
    std::string line = FormatLogLine(now, text, level);
    line.resize(std::string_view(line).find('\0') == std::string_view::npos ? line.size()
                                                                            : line.find('\0'));
    DWORD written = 0;
    if (!WriteFile(FStream.get(), line.data(), static_cast<DWORD>(line.size()), &written,
                   nullptr) ||
        written != line.size()) {
        if (errorText) *errorText = L"写日志文件[" + path + L"]失败:" + SystemText(GetLastError());
        return false;
    }
    return true;
}

}  // namespace qv
