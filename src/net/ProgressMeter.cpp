#include "net/ProgressMeter.h"

#include <cmath>

namespace qv {
namespace {

constexpr uint64_t kWindowMs = 1000;
constexpr uint64_t kQuietMs = 500;

// Nearest integer, halves to the even neighbour (the default floating-point rounding mode).
int64_t RoundHalfEven(double value) {
    return static_cast<int64_t>(std::nearbyint(value));
}

}  // namespace

void ProgressMeter::OpenWindowIfNone(uint64_t nowMs) {
    if (windowOpen_) return;
    windowOpen_ = true;
    windowStart_ = nowMs;
    windowBytes_ = 0;
}

bool ProgressMeter::AddChunk(uint64_t bytes, uint64_t nowMs, int64_t position, int64_t size) {
    windowBytes_ += bytes;
    const uint64_t elapsed = nowMs - windowStart_;
    if (elapsed >= kWindowMs) {
        if (size > 0 && position <= size) {
            remainTime_ =
                RoundHalfEven(static_cast<double>(size - position) /
                              static_cast<double>(windowBytes_) * static_cast<double>(elapsed));
        } else {
            remainTime_ = -1;
        }
        speed_ = RoundHalfEven(static_cast<double>(windowBytes_) * 1000.0 /
                               static_cast<double>(elapsed));
        windowOpen_ = false;
        windowBytes_ = 0;
    }
    return elapsed > kQuietMs;
}

}  // namespace qv
