// The ".sdc" record beside a partial download: which server version (length and date) the
// ".tmp" file belongs to. INI format, section "server", keys "ContentLen" and "LastModified".
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

namespace qv {

// "yyyy-mm-dd hh:nn:ss"; no time formats as the zero date, "1899-12-30 00:00:00".
std::wstring FormatRecordDate(const std::optional<SYSTEMTIME>& time);

// Whether the record at `recordName` describes `contentLength` and, when the server sent one,
// `lastModified`.
bool RecordMatches(const std::wstring& recordName, uint64_t contentLength,
                   const std::optional<SYSTEMTIME>& lastModified);

// Writes both keys; false when the file could not be written.
bool WriteRecord(const std::wstring& recordName, uint64_t contentLength,
                 const std::optional<SYSTEMTIME>& lastModified);

}  // namespace qv
