// What the engine reads from an answer's status line and headers.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <cstdint>
#include <optional>

namespace qv {

// The status code; 0 when it cannot be read.
DWORD QueryStatusCode(HINTERNET request);
// Content-Length as the 64-bit number it is (a numeric query would stop at 32 bits).
std::optional<uint64_t> QueryContentLength(HINTERNET request);
// Last-Modified as a (UTC) system time.
std::optional<SYSTEMTIME> QueryLastModified(HINTERNET request);
// The first byte of a 206 answer's Content-Range ("bytes X-Y/Z"), if it names one.
std::optional<uint64_t> QueryRangeStart(HINTERNET request);

}  // namespace qv
