// What the progress page shows for a position and a total: the label text and the width of the
// fill image.
#pragma once

#include <cstdint>
#include <string>

namespace qv {

// Position and total as last reported. A total of 0 means "not announced" and keeps the previous
// one, so the percentage is always defined.
class TProgressCounter {
public:
    static constexpr std::int32_t kInitialTotal = 100;

    void Reset();
    void SetPosition(std::int32_t value) { FPosition = value; }
    void SetTotal(std::int32_t value);

    std::int32_t Position() const { return FPosition; }
    std::int32_t Total() const { return FTotal; }

    // Whole percent, rounded half away from zero. Unbounded: a position above the total gives
    // more than 100.
    std::int64_t Percent() const;

private:
    std::int32_t FPosition = 0;
    std::int32_t FTotal = kInitialTotal;
};

// "正在下载(42%)".
std::wstring ProgressCaption(std::int64_t percent);

// Width of the fill image: percent × track width ÷ 100 (remainder dropped), kept within
// [0, maxWidth]. Computed in 64 bits so that any percentage is safe.
int ProgressFillWidth(std::int64_t percent, int trackWidth, int maxWidth);

}  // namespace qv
