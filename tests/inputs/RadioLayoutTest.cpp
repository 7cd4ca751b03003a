#include "controls/RadioLayout.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::string Show(const RECT& r) {
    std::ostringstream out;
    out << '(' << r.left << ',' << r.top << ',' << r.right << ',' << r.bottom << ')';
    return out.str();
}

#define EXPECT_RECT(actual, expected) \
    EXPECT_TRUE(SameRect(actual, expected)) << Show(actual) << " vs " << Show(expected)

TEST(RadioLayoutTest, ThumbWidthOfOneOrLessFallsBackToTheSystemWidth) {
    struct Case {
        int requested, expected;
    };
    for (const Case c : {Case{1, 13}, Case{0, 13}, Case{-5, 13}, Case{2, 2}, Case{20, 20}}) {
        EXPECT_EQ(qv::NormalizedThumbWidth(c.requested, 17), c.expected) << c.requested;
    }
}

TEST(RadioLayoutTest, BoxSitsAtTheLeftCentredVertically) {
    EXPECT_RECT(qv::ThumbBox(RECT{0, 0, 80, 21}, 13), (RECT{0, 4, 13, 17}));
    // A client lower than the box: the offset is negative, truncated toward zero.
    EXPECT_RECT(qv::ThumbBox(RECT{0, 0, 80, 8}, 13), (RECT{0, -2, 13, 11}));
}

TEST(RadioLayoutTest, LaterStateTestsOverrideEarlierOnesForTheFrame) {
    using qv::RadioFrame;
    struct Case {
        qv::RadioState state;
        RadioFrame frame;
    };
    const Case cases[] = {
        {{}, RadioFrame::Normal},
        {{.focused = true}, RadioFrame::Focused},
        {{.focused = true, .mouseIn = true}, RadioFrame::Hot},
        {{.mouseIn = true, .mouseDown = true}, RadioFrame::Pressed},
        {{.spaceDown = true}, RadioFrame::Normal},
        {{.focused = true, .spaceDown = true}, RadioFrame::Focused},
        {{.mouseDown = true, .enabled = false}, RadioFrame::Disabled},
    };
    for (const auto& c : cases) EXPECT_EQ(qv::FrameFor(c.state), c.frame);
}

TEST(RadioLayoutTest, StripFramesAreAFifthWideAndCentredInTheBox) {
    EXPECT_EQ(qv::StripFrameWidth(50), 10);
    EXPECT_EQ(qv::StripFrameWidth(52), 10);
    EXPECT_EQ(qv::StripFrameWidth(4), 0);
    const RECT box{0, 4, 13, 17};
    EXPECT_RECT(qv::GlyphRect(box, 10, 10), (RECT{1, 5, 11, 15}));
    // (13 - 16) / 2 truncates toward zero: -1, not -2.
    EXPECT_RECT(qv::GlyphRect(box, 16, 16), (RECT{-1, 3, 15, 19}));
}

TEST(RadioLayoutTest, CaptionFollowsTheBoxAndStopsTwoPixelsBeforeTheEdge) {
    const RECT client{0, 0, 100, 21};
    const RECT box = qv::ThumbBox(client, 13);
    struct Case {
        SIZE text;
        bool right;
        RECT expected;
    };
    const Case cases[] = {
        {{30, 13}, false, {17, 4, 98, 17}},
        {{30, 13}, true, {68, 4, 98, 17}},   // right-justified: ends at the clip edge
        {{200, 13}, true, {17, 4, 98, 17}},  // too wide: starts after the box, end is cut
        {{200, 13}, false, {17, 4, 98, 17}},
        {{10, 25}, false, {17, -2, 98, 23}},  // taller than the client
    };
    for (const auto& c : cases) {
        EXPECT_RECT(qv::CaptionRect(client, box, 4, c.text, c.right), c.expected);
    }
}

TEST(RadioLayoutTest, CheckPointIsTheBoxLessThreePixels) {
    EXPECT_RECT(qv::CheckPointRect(RECT{0, 4, 13, 17}), (RECT{3, 7, 10, 14}));
}

}  // namespace
