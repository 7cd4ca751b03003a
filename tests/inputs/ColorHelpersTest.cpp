#include "controls/ColorHelpers.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

using qv::HlsColor;
using qv::TColor;

constexpr TColor kRed = 0x0000FF;
constexpr TColor kLime = 0x00FF00;
constexpr TColor kBlue = 0xFF0000;
constexpr TColor kMaroon = 0x000080;
constexpr TColor kWhite = 0xFFFFFF;
constexpr TColor kGray = 0x808080;

struct HlsCase {
    TColor color;
    HlsColor expected;
};

// Worked by hand from r, g, b in 0..1: L = (max + min) / 2, S and H on the 0..240 scale.
TEST(ColorToHLSTest, MatchesHandComputedValues) {
    const HlsCase cases[] = {
        {kRed, {0, 120, 240}},       // H 0, L 0.5, S 1
        {kLime, {80, 120, 240}},     // H 2/6
        {kBlue, {160, 120, 240}},    // H 4/6
        {kMaroon, {0, 60, 240}},     // L 0.251 -> 60.2, S = d / (max + min) = 1
        {kWhite, {0, 240, 0}},       // grey: H = S = 0
        {kGray, {0, 120, 0}},        // L 0.502 -> 120.47 -> 120
        {0x0080FF, {20, 120, 240}},  // orange: H = (0.502 - 0) / 1 / 6 -> 20.08
        {0x000000, {0, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.color);
        const HlsColor hls = qv::ColorToHLS(c.color);
        EXPECT_EQ(hls.hue, c.expected.hue);
        EXPECT_EQ(hls.lightness, c.expected.lightness);
        EXPECT_EQ(hls.saturation, c.expected.saturation);
    }
}

struct RgbCase {
    int hue, saturation, lightness;
    TColor expected;
};

TEST(HLSToColorTest, MatchesHandComputedValuesIncludingTheDivisionBy239) {
    const RgbCase cases[] = {
        {0, 240, 120, kRed},
        // 80 / 239 * 6 = 2.0084: sector 2 with a rising blue of 0.0084 -> 2.
        {80, 240, 120, 0x02FF00},
        // 160 / 239 * 6 = 4.0167: sector 4, red rising to 0.0167 -> 4.
        {160, 240, 120, 0xFF0004},
        // A hue of 239 is exactly 6: "any other sector" is handled as sector 0.
        {239, 240, 120, kRed},
        // Grey 0.5 gives 127.5 per channel, which rounds to the even 128.
        {0, 0, 120, kGray},
        {0, 240, 80, 0x0000AA},  // M2 = 2/3 -> 170
        {0, 0, 192, 0xCCCCCC},   // l = 0.8 -> 204
        {0, 0, 255, kWhite},     // lightness above 240 is limited to white
        {0, 240, 0, 0x000000},   // M2 = 0: black
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.hue << "," << c.saturation << "," << c.lightness);
        EXPECT_EQ(qv::HLSToColor(c.hue, c.saturation, c.lightness), c.expected);
    }
}

struct LightnessCase {
    TColor color;
    int step;
    TColor expected;
};

TEST(ChangeLightnessTest, LightensDarkensAndKeepsZeroStep) {
    const LightnessCase cases[] = {
        {kMaroon, 0, kMaroon},
        {0x12345678, 0, 0x12345678},    // step 0 returns the value untouched, top byte and all
        {kMaroon, 20, 0x0000AA},        // L 60 -> 80
        {kWhite, -48, 0xCCCCCC},        // L 240 -> 192
        {kWhite, 20, kWhite},           // L 260 is held at 255, still white
        {0x000000, -20, 0x000000},      // L cannot go below 0
        {kMaroon, 256 + 20, 0x0000AA},  // the step counts modulo 256
        {kWhite, -(256 + 48), 0xCCCCCC},
        // A step of 256 changes the lightness by 0 but still goes through the conversion,
        // which shifts pure green by the 239 divisor.
        {kLime, 256, 0x02FF00},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.color << std::dec << " step " << c.step);
        EXPECT_EQ(qv::ChangeLightness(c.color, c.step), c.expected);
    }
}

TEST(ChangeLightnessTest, TheMostNegativeStepIsAFiniteDarkening) {
    // -2147483648 modulo 256 is 0: a round trip through the conversion, no overflow.
    EXPECT_EQ(qv::ChangeLightness(kGray, INT_MIN), kGray);
}

struct BlendCase {
    TColor fore, back;
    int alpha;
    TColor expected;
};

TEST(BlendColorsTest, WeighsForeAgainstBack) {
    const BlendCase cases[] = {
        {kRed, kBlue, 255, kRed},           {kRed, kBlue, 0, kBlue},
        {kRed, kBlue, 51, 0xCC0033},         // 0.2 * 255 = 51 red, 0.8 * 255 = 204 blue
        {kWhite, 0x000000, 128, kGray},      // 128 / 255 * 255
        {0x12FF00FF, kBlue, 255, 0xFF00FF},  // the top byte of an explicit colour is dropped
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.fore << " over " << c.back);
        EXPECT_EQ(qv::BlendColors(c.fore, c.back, static_cast<std::uint8_t>(c.alpha)), c.expected);
    }
}

TEST(ColorHelpersTest, SystemColoursAreResolvedBeforeUse) {
    const TColor shadow = static_cast<TColor>(GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(qv::ResolveColor(qv::clBtnShadow), shadow);
    EXPECT_EQ(qv::BlendColors(qv::clBtnShadow, kWhite, 255), shadow);
    EXPECT_EQ(qv::ColorToHLS(qv::clBtnShadow), qv::ColorToHLS(shadow));
}

}  // namespace
