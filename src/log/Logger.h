// The process-wide logger's class: appends time-stamped, level-tagged lines to a dated log file.
// The program's one instance, GlobalLogger, belongs to the app's global-variables module.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "common/ScopedHandles.h"

namespace qv {

// Levels at 4 and above are written without a tag; negative levels are never written to the file.
using TLogLevel = int32_t;
inline constexpr TLogLevel llInformation = 0;
inline constexpr TLogLevel llNotice = 1;
inline constexpr TLogLevel llWarning = 2;
inline constexpr TLogLevel llError = 3;

class TLogger {
public:
    // Logs into `logDir` (used exactly as given, file names are appended to it); a folder of only
    // blanks and control characters means "Quorvane\Log\" beside the executable. The folder is
    // created with its missing parents. Returns nullptr and sets `errorText` to
    // "日志路径错误，日志类对象不能被创建" when it can neither be found nor created.
    static std::unique_ptr<TLogger> Create(std::wstring_view logDir, std::wstring& errorText);

    TLogger(const TLogger&) = delete;
    TLogger& operator=(const TLogger&) = delete;
    ~TLogger();

    // Appends "hh:nn:ss.zzz [Tag] text\r\n" (ANSI text, up to its first NUL) to the log file.
    // Safe from any thread. Returns false with the reason in `errorText` when the file cannot
    // be opened or written; the next write tries the same file again.
    bool WriteLog(std::string_view text, TLogLevel level, std::wstring* errorText = nullptr);

    const std::wstring& LogDir() const { return FLogDir; }
    // The log file name fixed by the first write; empty before it.
    std::wstring FileName() const;

private:
    explicit TLogger(std::wstring logDir);

    mutable CRITICAL_SECTION FLock;
    ScopedFile FStream;
    std::wstring FLogDir;
    std::wstring FFileName;
};

// The file name a write now would use: executable name without extension, "_", yyyymmdd, ".log".
std::wstring LogFileNameFor(const SYSTEMTIME& localDate);
// The line written for `text` at `level` at local time `now` (without the cut at a NUL).
std::string FormatLogLine(const SYSTEMTIME& now, std::string_view text, TLogLevel level);

}  // namespace qv
