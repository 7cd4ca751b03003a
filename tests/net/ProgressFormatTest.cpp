#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "net/IHttpClient.h"
#include "net/ProgressMeter.h"

namespace qv {
namespace {

TEST(FormatSpeedTest, ClimbsUnitsOnlyAbove1024) {
    const struct {
        double bytesPerSecond;
        const wchar_t* expected;
    } cases[] = {
        {0, L"0.00B/S"},
        {1, L"1.00B/S"},
        {1024, L"1024.00B/S"},
        {1025, L"1.00KB/S"},
        {1536, L"1.50KB/S"},
        {1048576, L"1024.00KB/S"},
        {1048577, L"1.00MB/S"},
        {5.5 * 1073741824.0, L"5.50GB/S"},
        {1099511627776.0 * 2, L"2.00TB/S"},
        {1125899906842624.0 * 3, L"3.00PB/S"},
        {1125899906842624.0 * 4096, L"4096.00PB/S"},
        {-1, L"--"},
        {std::numeric_limits<double>::quiet_NaN(), L"--"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatSpeed(c.bytesPerSecond), c.expected);
}

TEST(FormatRemainTimeTest, ShowsClockDaysOrLimit) {
    constexpr int64_t kDay = 24LL * 3600 * 1000;
    const struct {
        int64_t ms;
        const wchar_t* expected;
    } cases[] = {
        {0, L"00:00:00"},
        {999, L"00:00:00"},
        {(3600 + 120 + 3) * 1000LL, L"01:02:03"},
        {kDay - 1, L"23:59:59"},
        {kDay, L"1天 "},
        {kDay * 2 + 5000, L"2天 "},
        {kDay * 999 + 23 * 3600 * 1000LL, L"999天 "},
        {kDay * 1000 - 1, L"999天 "},
        {kDay * 1000, L"大于999天..."},
        {-1, L"--:--:--"},
        {std::numeric_limits<int64_t>::min(), L"--:--:--"},
        {std::numeric_limits<int64_t>::max(), L"大于999天..."},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatRemainTime(c.ms), c.expected) << c.ms;
}

TEST(ShortTextTest, KeepsAtMostSixteenCharacters) {
    EXPECT_EQ(TShortText(L"0123456789abcdefXYZ").Str(), L"0123456789abcdef");
    EXPECT_EQ(TShortText(L"大于999天...").Str(), L"大于999天...");
    EXPECT_EQ(TShortText(L"").Str(), L"");
}

// One chunk given to the meter and what it must answer.
struct MeterStep {
    uint64_t openAt;  // tick at which a window is opened if none is open
    uint64_t bytes;
    uint64_t at;
    int64_t position;
    int64_t size;
    bool reported;
    int64_t speed;
    int64_t remain;
};

void RunMeter(const std::vector<MeterStep>& steps) {
    ProgressMeter meter;
    for (size_t i = 0; i < steps.size(); ++i) {
        const MeterStep& s = steps[i];
        meter.OpenWindowIfNone(s.openAt);
        EXPECT_EQ(meter.AddChunk(s.bytes, s.at, s.position, s.size), s.reported) << "step " << i;
        EXPECT_EQ(meter.Speed(), s.speed) << "step " << i;
        EXPECT_EQ(meter.RemainTime(), s.remain) << "step " << i;
    }
}

TEST(ProgressMeterTest, QuietFirstHalfSecondThenReportsUntilTheWindowCloses) {
    RunMeter({
        {0, 100, 100, 100, 10000, false, 0, 0},
        {100, 100, 500, 200, 10000, false, 0, 0},  // exactly 500 ms: still quiet
        {500, 100, 501, 300, 10000, true, 0, 0},   // older than 500 ms: reported, old estimates
        // The window closes at 1000 ms with 400 bytes: 400 B/s, 9600 bytes left = 24000 ms.
        {501, 100, 1000, 400, 10000, true, 400, 24000},
        // A new window opens at the next read; its early chunks are quiet again.
        {1200, 500, 1300, 900, 10000, false, 400, 24000},
        {1300, 500, 2400, 1400, 10000, true, 833, 10320},
    });
}

TEST(ProgressMeterTest, RemainTimeIsUnknownWithoutSizeOrPastIt) {
    RunMeter({{0, 1000, 1000, 1000, 0, true, 1000, -1}});
    RunMeter({{0, 1000, 1000, 1500, 1000, true, 1000, -1}});
    RunMeter({{0, 1000, 1000, 1000, 1000, true, 1000, 0}});
}

TEST(ProgressMeterTest, RoundsHalvesToEven) {
    // 3 bytes over 2000 ms = 1.5 B/s -> 2; 5 bytes over 2000 ms = 2.5 B/s -> 2.
    RunMeter({{0, 3, 2000, 3, 0, true, 2, -1}});
    RunMeter({{0, 5, 2000, 5, 0, true, 2, -1}});
    // 2 bytes left, window 4 bytes in 1001 ms: 500.5 ms -> 500.
    RunMeter({{0, 4, 1001, 8, 10, true, 4, 500}});
}

}  // namespace
}  // namespace qv
