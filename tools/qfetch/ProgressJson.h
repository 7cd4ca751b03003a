// One progress report of the engine as a single-line JSON object (UTF-8, non-ASCII characters
// written as they are).
#pragma once

#include <string>

#include "net/IHttpClient.h"

namespace qv::qfetch {

const char* StatusName(THttpDownloadStatus status);
// {"status": ..., "position": ..., ...} without a line break.
std::string ReportToJson(const THttpDownloadInfo& info);
// A JSON string literal of `text` (quotes included).
std::string JsonString(const std::wstring& text);

}  // namespace qv::qfetch
