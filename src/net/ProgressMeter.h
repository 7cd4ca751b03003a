// Measures a download's speed and remaining time over one-second windows and decides which
// chunks are reported: after a window closes, and for every chunk once a window is older than
// 500 ms; never in a window's first 500 ms.
#pragma once

#include <cstdint>

namespace qv {

class ProgressMeter {
public:
    // Opens a measuring window at `nowMs` unless one is open.
    void OpenWindowIfNone(uint64_t nowMs);
    // Counts a chunk written at `nowMs`; `position` and `size` are the download's after it.
    // Answers whether this chunk is to be reported.
    bool AddChunk(uint64_t bytes, uint64_t nowMs, int64_t position, int64_t size);

    int64_t Speed() const { return speed_; }            // bytes per second
    int64_t RemainTime() const { return remainTime_; }  // milliseconds, -1 unknown

private:
    bool windowOpen_ = false;
    uint64_t windowStart_ = 0;
    uint64_t windowBytes_ = 0;
    int64_t speed_ = 0;
    int64_t remainTime_ = 0;
};

}  // namespace qv
