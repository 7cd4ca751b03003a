#include "NetTestSupport.h"

#include <atomic>

namespace qv::test {
namespace {

void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW((folder + L"*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring path = folder + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path + L"\\");
            } else {
                SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(path.c_str());
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}

}  // namespace

ScratchFolder::ScratchFolder() {
    static std::atomic<int> counter{0};
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH, temp);
    path_ = std::wstring(temp) + L"qvtest_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
            std::to_wstring(++counter) + L"\\";
    RemoveTree(path_);
    CreateDirectoryW(path_.c_str(), nullptr);
}

ScratchFolder::~ScratchFolder() {
    RemoveTree(path_);
}

std::string PatternBytes(size_t size, uint32_t seed) {
    std::string bytes(size, '\0');
    uint32_t state = seed * 2654435761u + 1;
    for (size_t i = 0; i < size; ++i) {
        state = state * 1664525u + 1013904223u;
        bytes[i] = static_cast<char>(state >> 24);
    }
    return bytes;
}

bool ReadWholeFile(const std::wstring& name, std::string& bytes) {
    bytes.clear();
    HANDLE file = CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size{};
    GetFileSizeEx(file, &size);
    bytes.resize(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    const bool ok = bytes.empty() || (ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()),
                                               &read, nullptr) &&
                                      read == bytes.size());
    CloseHandle(file);
    return ok;
}

bool WriteWholeFile(const std::wstring& name, const std::string& bytes) {
    HANDLE file = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok =
        bytes.empty() ||
        (WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size());
    CloseHandle(file);
    return ok;
}

bool FileExists(const std::wstring& name) {
    return GetFileAttributesW(name.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring RecordValue(const std::wstring& recordName, const wchar_t* key) {
    wchar_t value[256] = {};
    GetPrivateProfileStringW(L"server", key, L"<none>", value, 256, recordName.c_str());
    return value;
}

THttpDownloadEvent ProgressRecorder::Callback() {
    return [this](const THttpDownloadInfo& info, bool& cancel) {
        Report report{info.Status,
                      info.Position,
                      info.Size,
                      info.Tag,
                      info.Message,
                      info.RemainTime,
                      info.RemainTimeText.Str(),
                      info.Speed,
                      info.SpeedText.Str(),
                      info.ResultCode};
        reports.push_back(report);
        if (cancelWhen && cancelWhen(report)) cancel = true;
    };
}

std::vector<THttpDownloadStatus> ProgressRecorder::Statuses() const {
    std::vector<THttpDownloadStatus> statuses;
    for (const Report& r : reports) statuses.push_back(r.Status);
    return statuses;
}

const Report* ProgressRecorder::First(THttpDownloadStatus status) const {
    for (const Report& r : reports) {
        if (r.Status == status) return &r;
    }
    return nullptr;
}

const Report* ProgressRecorder::Last(THttpDownloadStatus status) const {
    for (auto it = reports.rbegin(); it != reports.rend(); ++it) {
        if (it->Status == status) return &*it;
    }
    return nullptr;
}

size_t ProgressRecorder::Count(THttpDownloadStatus status) const {
    size_t count = 0;
    for (const Report& r : reports) count += r.Status == status;
    return count;
}

}  // namespace qv::test
