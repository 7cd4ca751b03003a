#include "app/ProgressDisplay.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

namespace qv {
namespace {

struct PercentCase {
    std::int32_t position;
    std::int32_t total;
    std::int64_t percent;
};

class PercentTest : public testing::TestWithParam<PercentCase> {};

TEST_P(PercentTest, RoundsHalvesAwayFromZero) {
    TProgressCounter counter;
    counter.SetPosition(GetParam().position);
    counter.SetTotal(GetParam().total);
    EXPECT_EQ(counter.Percent(), GetParam().percent);
}

INSTANTIATE_TEST_SUITE_P(
    Reports, PercentTest,
    testing::Values(PercentCase{0, 1000, 0}, PercentCase{424, 1000, 42},
                    PercentCase{425, 1000, 43},    // a half goes up
                    PercentCase{29, 200, 15},      // 14.5: exact only when multiplied first
                    PercentCase{1, 8, 13},         // 12.5
                    PercentCase{999, 1000, 100},   // 99.9 shows as done before it is
                    PercentCase{1000, 1000, 100},  //
                    PercentCase{3000, 1000, 300},  // more than announced: unbounded
                    PercentCase{INT_MAX, 1, std::int64_t(INT_MAX) * 100},
                    PercentCase{-5, 1000, -1},       // half away from zero below zero too
                    PercentCase{500, -1000, -50}));  // a low 32-bit total above 2 GiB

TEST(ProgressCounterTest, StartsAtZeroOfAHundred) {
    TProgressCounter counter;
    EXPECT_EQ(counter.Position(), 0);
    EXPECT_EQ(counter.Total(), 100);
    EXPECT_EQ(counter.Percent(), 0);
}

TEST(ProgressCounterTest, UnannouncedTotalKeepsThePreviousOne) {
    TProgressCounter counter;
    counter.SetTotal(4000);
    counter.SetPosition(1000);
    counter.SetTotal(0);
    EXPECT_EQ(counter.Total(), 4000);
    EXPECT_EQ(counter.Percent(), 25);
}

TEST(ProgressCounterTest, AfterResetAnUnannouncedTotalShowsTheByteCountAsPercent) {
    TProgressCounter counter;
    counter.SetTotal(4000);
    counter.SetPosition(1000);
    counter.Reset();
    EXPECT_EQ(counter.Total(), 100);
    counter.SetPosition(1234567);
    counter.SetTotal(0);
    EXPECT_EQ(counter.Percent(), 1234567);
}

TEST(ProgressCaptionTest, UsesAsciiParentheses) {
    EXPECT_EQ(ProgressCaption(0), L"正在下载(0%)");
    EXPECT_EQ(ProgressCaption(42), L"正在下载(42%)");
    EXPECT_EQ(ProgressCaption(std::int64_t(INT_MAX) * 100), L"正在下载(214748364700%)");
    EXPECT_EQ(ProgressCaption(-1), L"正在下载(-1%)");
}

struct FillCase {
    std::int64_t percent;
    int trackWidth;
    int maxWidth;
    int width;
};

class FillWidthTest : public testing::TestWithParam<FillCase> {};

TEST_P(FillWidthTest, ScalesTheTrackWithoutOverflow) {
    const FillCase& c = GetParam();
    EXPECT_EQ(ProgressFillWidth(c.percent, c.trackWidth, c.maxWidth), c.width);
}

INSTANTIATE_TEST_SUITE_P(
    Widths, FillWidthTest,
    testing::Values(FillCase{0, 551, 736, 0}, FillCase{1, 551, 736, 5},  // 5.51 drops the rest
                    FillCase{42, 551, 736, 231}, FillCase{99, 551, 736, 545},
                    FillCase{100, 551, 736, 551},
                    FillCase{120, 551, 736, 661},      // beyond the track, as reported
                    FillCase{134, 551, 736, 736},      // the fill picture ends here
                    FillCase{3900000, 551, 736, 736},  // 32-bit product would wrap
                    FillCase{std::int64_t(INT_MAX) * 100, 551, 736, 736}, FillCase{-1, 551, 736, 0},
                    FillCase{-50, 551, 736, 0}, FillCase{50, 0, 736, 0}));

}  // namespace
}  // namespace qv
