// The command line of qfetch: `qfetch [options] URL FILE`.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qv::qfetch {

struct Options {
    std::wstring url;
    std::wstring file;
    bool resume = true;
    std::optional<int32_t> retries;
    std::optional<int32_t> timeoutMs;
    std::optional<int32_t> bufferBytes;
    std::optional<int64_t> maxSize;
    std::vector<std::wstring> headers;  // "Name: value" lines
    int64_t cancelAfter = 0;            // answer Cancel to this dsProgress report; 0 never
};

struct ParseResult {
    std::optional<Options> options;  // set when the command line is valid
    std::wstring error;              // why it is not, in one line
};

// Parses the arguments after the program name.
ParseResult ParseArguments(const std::vector<std::wstring>& arguments);

// The one-line usage text.
const wchar_t* UsageText();

}  // namespace qv::qfetch
