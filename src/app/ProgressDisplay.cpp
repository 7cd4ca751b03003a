#include "app/ProgressDisplay.h"

#include <algorithm>
#include <cmath>

namespace qv {

void TProgressCounter::Reset() {
    FPosition = 0;
    FTotal = kInitialTotal;
}

void TProgressCounter::SetTotal(std::int32_t value) {
    if (value != 0) FTotal = value;
}

std::int64_t TProgressCounter::Percent() const {
    // Multiplying first keeps halves such as 29 of 200 exact, so they round up as they should.
    const double percent = double(FPosition) * 100.0 / double(FTotal);
    return std::llround(percent);
}

std::wstring ProgressCaption(std::int64_t percent) {
    return L"正在下载(" + std::to_wstring(percent) + L"%)";
}

int ProgressFillWidth(std::int64_t percent, int trackWidth, int maxWidth) {
    // |percent| stays below 2^38 (a 32-bit position over a total of 1, times 100) and the track
    // is a window width, so the product fits easily in 64 bits.
    const std::int64_t width = percent * trackWidth / 100;
    return int(std::clamp<std::int64_t>(width, 0, std::max(maxWidth, 0)));
}

}  // namespace qv
