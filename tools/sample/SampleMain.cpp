// The sample package the local mirror serves in place of the real installer. It records in its own
// folder that it ran, so tests can see that the downloader started it, then shows a short message.
#include <windows.h>

#include <string>

#include "common/ScopedHandles.h"

namespace {

constexpr wchar_t kRecordFileName[] = L"sample-ran.txt";
constexpr wchar_t kTitle[] = L"Quorvane 示例安装包";
constexpr wchar_t kMessage[] = L"这是 Quorvane 的示例安装包，它已成功运行。";

std::wstring OwnFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return path.substr(0, path.find_last_of(L"\\/") + 1);
}

// One line per start, with the process id, appended so that two starts show as two lines.
bool RecordStart() {
    const std::wstring recordPath = OwnFolder() + kRecordFileName;
    qv::ScopedFile file(CreateFileW(recordPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    const std::string line = "ran " + std::to_string(GetCurrentProcessId()) + "\r\n";
    DWORD written = 0;
    return WriteFile(file.get(), line.data(), DWORD(line.size()), &written, nullptr) &&
           written == line.size();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const bool recorded = RecordStart();
    MessageBoxW(nullptr, kMessage, kTitle, MB_OK | MB_ICONINFORMATION);
    return recorded ? 0 : 1;
}
