#include "ProgressJson.h"

#include <cstdio>

#include "common/StringConv.h"

namespace qv::qfetch {

const char* StatusName(THttpDownloadStatus status) {
    switch (status) {
        case dsStart:
            return "start";
        case dsProgress:
            return "progress";
        case dsFinish:
            return "finish";
        case dsFail:
            return "fail";
        case dsError:
            return "error";
    }
    return "unknown";
}

std::string JsonString(const std::wstring& text) {
    std::string out = "\"";
    for (const char c : WideToUtf8(text)) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", u);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string ReportToJson(const THttpDownloadInfo& info) {
    return std::string("{\"status\": \"") + StatusName(info.Status) + "\"" +
           ", \"position\": " + std::to_string(info.Position) +
           ", \"size\": " + std::to_string(info.Size) +
           ", \"speed\": " + std::to_string(info.Speed) +
           ", \"remain\": " + std::to_string(info.RemainTime) +
           ", \"speedText\": " + JsonString(info.SpeedText.Str()) +
           ", \"remainText\": " + JsonString(info.RemainTimeText.Str()) +
           ", \"tag\": " + std::to_string(info.Tag) +
           ", \"result\": " + std::to_string(info.ResultCode) +
           ", \"message\": " + JsonString(info.Message) + "}";
}

}  // namespace qv::qfetch
