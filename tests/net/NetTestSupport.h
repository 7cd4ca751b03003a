// Shared pieces of the engine's tests: scratch folders, file contents, and a progress recorder.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "net/IHttpClient.h"

namespace qv::test {

// A fresh folder under the temporary folder, removed with its files when the object goes.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    // The folder's path followed by `name`.
    std::wstring File(const std::wstring& name) const { return path_ + name; }

private:
    std::wstring path_;  // ends with a backslash
};

// `size` bytes that differ from offset to offset (so misplaced bytes show).
std::string PatternBytes(size_t size, uint32_t seed = 1);
// The whole file, or nullopt-like empty with `exists` false.
bool ReadWholeFile(const std::wstring& name, std::string& bytes);
bool WriteWholeFile(const std::wstring& name, const std::string& bytes);
bool FileExists(const std::wstring& name);
// A profile value of a ".sdc" record.
std::wstring RecordValue(const std::wstring& recordName, const wchar_t* key);

// One report as the test keeps it.
struct Report {
    THttpDownloadStatus Status;
    int64_t Position;
    int64_t Size;
    int32_t Tag;
    std::wstring Message;
    int64_t RemainTime;
    std::wstring RemainTimeText;
    int64_t Speed;
    std::wstring SpeedText;
    int32_t ResultCode;
};

// Keeps every report; `cancelWhen` (if set) answers Cancel.
class ProgressRecorder {
public:
    std::vector<Report> reports;
    std::function<bool(const Report&)> cancelWhen;

    THttpDownloadEvent Callback();
    std::vector<THttpDownloadStatus> Statuses() const;
    const Report* First(THttpDownloadStatus status) const;
    const Report* Last(THttpDownloadStatus status) const;
    size_t Count(THttpDownloadStatus status) const;
};

}  // namespace qv::test
