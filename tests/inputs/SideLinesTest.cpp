#include "controls/SideLines.h"

#include "controls/ColorHelpers.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace qv;

TEST(SideLinesTest, RingColoursBlendOutwardsWithAWeightThatWrapsModulo256) {
    struct Case {
        TColor base;
        int rings, lightStep, blendStep;
        std::vector<TColor> expected;
    };
    const Case cases[] = {
        {clBlack, 3, 0, 0, {clBlack, clBlack, clBlack}},  // the defaults: one colour
        // Weight 255 - 128 = 127: 255 * (1 - 127/255) = 128 of white; the next weight is
        // (127 - 128) mod 256 = 255, which keeps the colour.
        {clBlack, 3, 0, 128, {clBlack, 0x808080, 0x808080}},
        // Weight 0 takes the blend colour entirely.
        {clBlack, 2, 0, 255, {clBlack, clWhite}},
        {0x000080, 3, 20, 0, {0x000080, 0x0000AA, ChangeLightness(0x0000AA, 20)}},
        {clRed, 0, 20, 0, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SideRingColors(c.base, c.rings, c.lightStep, c.blendStep, clWhite), c.expected)
            << c.rings << " rings, steps " << c.lightStep << "/" << c.blendStep;
    }
}

TEST(SideLinesTest, OnlyListedSidesMoveAndCarryLines) {
    const RECT r{0, 0, 100, 20};
    const RECT in = InsetSides(r, SL_TOP | SL_BUTTOM, 3);
    EXPECT_EQ(in.left, 0);
    EXPECT_EQ(in.top, 3);
    EXPECT_EQ(in.right, 100);
    EXPECT_EQ(in.bottom, 17);
    const RECT adjusted = AdjustSideRect(r, SL_LEFT);
    EXPECT_EQ(adjusted.left, 1);
    EXPECT_EQ(adjusted.right, 100);

    const auto all = RingSegments(r, kAllSideLines);
    ASSERT_EQ(all.size(), 4u);
    EXPECT_EQ(all[1].from.x, 99);  // the right line is inside the ring
    EXPECT_EQ(all[3].from.y, 19);  // so is the bottom line
    const auto horizontal = RingSegments(r, SL_TOP | SL_BUTTOM);
    ASSERT_EQ(horizontal.size(), 2u);
    for (const auto& line : horizontal) EXPECT_EQ(line.from.y, line.to.y);
    EXPECT_TRUE(RingSegments(r, 0).empty());
}

}  // namespace
