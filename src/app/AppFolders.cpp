#include "app/AppFolders.h"

#include <windows.h>

#include <shlobj.h>

namespace qv {
namespace {

bool IsFolder(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

std::wstring ExecutableFolder() {
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

std::wstring DefaultDownloadFolder() {
    return ExecutableFolder() + L"Quorvane\\";
}

std::wstring WithTrailingSeparator(std::wstring_view folder) {
    std::wstring result(folder);
    if (!result.empty() && result.back() != L'\\' && result.back() != L'/') result += L'\\';
    return result;
}

bool EnsureFolderExists(const std::wstring& folder) {
    if (folder.empty()) return false;
    if (IsFolder(folder)) return true;
    // SHCreateDirectoryExW wants a full path without a trailing separator.
    std::wstring path = folder;
    while (path.size() > 3 && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();
    SHCreateDirectoryExW(nullptr, path.c_str(), nullptr);
    return IsFolder(folder);
}

bool FileExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace qv
