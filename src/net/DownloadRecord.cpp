#include "net/DownloadRecord.h"

#include <cstdio>
#include <iterator>

namespace qv {
namespace {

constexpr wchar_t kSection[] = L"server";
constexpr wchar_t kContentLenKey[] = L"ContentLen";
constexpr wchar_t kLastModifiedKey[] = L"LastModified";
constexpr DWORD kValueChars = 256;

std::wstring ReadValue(const std::wstring& recordName, const wchar_t* key, const wchar_t* def) {
    wchar_t value[kValueChars] = {};
    GetPrivateProfileStringW(kSection, key, def, value, kValueChars, recordName.c_str());
    return value;
}

bool FileExists(const std::wstring& name) {
    const DWORD attributes = GetFileAttributesW(name.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

std::wstring FormatRecordDate(const std::optional<SYSTEMTIME>& time) {
    if (!time) return L"1899-12-30 00:00:00";
    wchar_t text[32];
    std::swprintf(text, std::size(text), L"%04u-%02u-%02u %02u:%02u:%02u", time->wYear,
                  time->wMonth, time->wDay, time->wHour, time->wMinute, time->wSecond);
    return text;
}

bool RecordMatches(const std::wstring& recordName, uint64_t contentLength,
                   const std::optional<SYSTEMTIME>& lastModified) {
    if (!FileExists(recordName)) return false;
    if (ReadValue(recordName, kContentLenKey, L"0") != std::to_wstring(contentLength)) {
        return false;
    }
    return !lastModified ||
           ReadValue(recordName, kLastModifiedKey, L"") == FormatRecordDate(lastModified);
}

bool WriteRecord(const std::wstring& recordName, uint64_t contentLength,
                 const std::optional<SYSTEMTIME>& lastModified) {
    const std::wstring length = std::to_wstring(contentLength);
    const std::wstring date = FormatRecordDate(lastModified);
    return WritePrivateProfileStringW(kSection, kContentLenKey, length.c_str(),
                                      recordName.c_str()) &&
           WritePrivateProfileStringW(kSection, kLastModifiedKey, date.c_str(), recordName.c_str());
}

}  // namespace qv
