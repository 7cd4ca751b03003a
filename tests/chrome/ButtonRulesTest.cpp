// The rules behind the buttons' looks, checked without windows: picture choice of the image
// buttons, placement and end caps, the speed button's layout table, glyph cells, gradient bands,
// skins and presets.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/ImageSelection.h"
#include "dialogs/ModalButtons.h"

namespace qv {
namespace {

using enum TButtonImage;

TImageFacts Has(int width) {
    return {false, width};
}

const char* Name(TButtonImage image) {
    switch (image) {
        case None:
            return "None";
        case Img:
            return "Img";
        case Over:
            return "Over";
        case Down:
            return "Down";
        case Up:
            return "Up";
        case Disabled:
            return "Disabled";
    }
    return "?";
}

enum class Event { Enter, Leave, Press, Release, Disable, Enable };

std::string Follow(const TButtonImages& images, std::initializer_list<Event> events) {
    TButtonImage current = None;
    std::string shown;
    for (Event e : events) {
        TImageChoice choice{current, false};
        switch (e) {
            case Event::Enter:
                choice = ChooseOnEnter(current, images);
                break;
            case Event::Leave:
                choice = ChooseOnLeave(current, images);
                break;
            case Event::Press:
                choice = ChooseOnPress(current, images);
                break;
            case Event::Release:
                choice = ChooseOnRelease(current, images);
                break;
            case Event::Disable:
                choice = ChooseOnDisable(current, images);
                break;
            case Event::Enable:
                choice = ChooseOnEnable(current, images);
                break;
        }
        current = choice.Current;
        shown +=
            std::string(shown.empty() ? "" : " ") + Name(current) + (choice.Repaint ? "*" : "");
    }
    return shown;
}

TEST(ImageChoice, SequencesOfMouseAndEnableEvents) {
    using E = Event;
    const TButtonImages imgOver{Has(30), Has(30), {}, {}, {}};
    const TButtonImages all{Has(30), Has(30), Has(30), Has(30), Has(30)};
    const TButtonImages imgOnly{Has(30), {}, {}, {}, {}};
    struct Case {
        const char* what;
        TButtonImages images;
        std::initializer_list<Event> events;
        const char* expected;  // picture after each event, * = repainted
    } cases[] = {
        // After a click the normal picture shows although the pointer is still over the button.
        {"normal and hover only",
         imgOver,
         {E::Enter, E::Press, E::Release, E::Leave, E::Enter},
         "Over* Over Img* Img Over*"},
        {"all five", all, {E::Enter, E::Press, E::Release, E::Leave}, "Over* Down* Up* Img*"},
        {"hover repainted when current", all, {E::Enter, E::Enter}, "Over* Over*"},
        {"normal only", imgOnly, {E::Enter, E::Press, E::Release, E::Leave}, "None None Img* Img"},
        {"disable and enable", all, {E::Enter, E::Disable, E::Enable}, "Over* Disabled* Img*"},
        {"enable when normal shows", imgOnly, {E::Leave, E::Enable}, "Img* Img*"},
    };
    for (const Case& c : cases) EXPECT_EQ(Follow(c.images, c.events), c.expected) << c.what;
}

TEST(ImageChoice, ReleasePrefersUpThenOverThenNormal) {
    struct Case {
        TButtonImages images;
        TButtonImage current, expected;
    } cases[] = {
        {{Has(5), Has(5), Has(5), Has(5), {}}, Down, Up},
        {{Has(5), Has(5), Has(5), {}, {}}, Down, Over},
        {{Has(5), Has(5), Has(5), {false, 0}, {}}, Down, Over},  // zero width does not qualify
        {{Has(5), {}, Has(5), {}, {}}, Down, Img},
        {{Has(5), Has(5), {}, Has(5), {}}, Up, Over},  // the current picture is passed over
        {{{}, {}, Has(5), {}, {}}, Down, Down},        // none qualifies: nothing changes
    };
    for (const Case& c : cases)
        EXPECT_EQ(ChooseOnRelease(c.current, c.images).Current, c.expected) << Name(c.current);
}

TEST(ImageChoice, PaintFallsBackToNormalAndUsesDisabledWhenWide) {
    const TButtonImages withDisabled{Has(5), Has(5), {}, {}, Has(5)};
    const TButtonImages noDisabled{Has(5), Has(5), {}, {}, {}};
    EXPECT_EQ(ImageToPaint(None, true, withDisabled), Img);
    EXPECT_EQ(ImageToPaint(Down, true, withDisabled), Img);  // current has no width
    EXPECT_EQ(ImageToPaint(Over, true, withDisabled), Over);
    EXPECT_EQ(ImageToPaint(Over, false, withDisabled), Disabled);
    EXPECT_EQ(ImageToPaint(Over, false, noDisabled), Over);
    EXPECT_EQ(CurrentAfterChange(Over, Over, noDisabled), Over);
    EXPECT_EQ(CurrentAfterChange(Over, Over, {Has(5), {}, {}, {}, {}}), None);
    EXPECT_EQ(CurrentAfterChange(Img, Over, {Has(5), {}, {}, {}, {}}), Img);
}

TEST(ImagePlacement, CentredAndClippedToTheClient) {
    struct Case {
        int clientW, clientH, imageW, imageH;
        RECT expected;
    } cases[] = {
        {30, 27, 30, 27, {0, 0, 30, 27}},  // exact fit: unscaled at (0, 0)
        {31, 27, 30, 27, {1, 0, 31, 27}},  // one pixel wider: at (1, 0)
        {20, 10, 40, 30, {0, 0, 20, 10}},  // larger: squeezed into the client
        {50, 50, 10, 20, {20, 15, 30, 35}}, {51, 51, 10, 20, {21, 16, 31, 36}},
    };
    for (const Case& c : cases) {
        const RECT r = PlaceImage({0, 0, c.clientW, c.clientH}, c.imageW, c.imageH);
        EXPECT_EQ(std::vector<LONG>({r.left, r.top, r.right, r.bottom}),
                  std::vector<LONG>(
                      {c.expected.left, c.expected.top, c.expected.right, c.expected.bottom}))
            << c.clientW << "x" << c.clientH << " image " << c.imageW << "x" << c.imageH;
    }
}

TEST(ImagePlacement, EndCapsApplyOnlyWhenTwiceTheCapIsShorterThanTheTarget) {
    EXPECT_FALSE(CapSpans(5, 12, 10).Apply);
    EXPECT_FALSE(CapSpans(0, 12, 40).Apply);
    EXPECT_FALSE(CapSpans(-3, 12, 40).Apply);
    const TCapSpans s = CapSpans(5, 12, 11);
    ASSERT_TRUE(s.Apply);
    const int source[3][2] = {{0, 5}, {5, 7}, {7, 12}};
    const int target[3][2] = {{0, 5}, {5, 6}, {6, 11}};
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 2; ++j) {
            EXPECT_EQ(s.Source[i][j], source[i][j]) << i << j;
            EXPECT_EQ(s.Target[i][j], target[i][j]) << i << j;
        }
    }
}

TEST(SpeedButtonFace, LayoutTableForEveryLayoutAndAlignment) {
    // W 80, H 30, text 20 x 10, cell 16, glyph 12 high.
    const int W = 80, H = 30, tw = 20, th = 10, cw = 16, gh = 12;
    const int h = (W - tw - cw) / 2;  // 22
    struct Case {
        TModalSpeedButtonLayout layout;
        TAlignment alignment;
        int p;
        POINT text, glyph;
    } cases[] = {
        {blGlyphLeft, taLeftJustify, 0, {4 + cw, 10}, {4, 9}},
        {blGlyphLeft, taRightJustify, 0, {W - 4 - tw, 10}, {W - 4 - tw - cw, 9}},
        {blGlyphLeft, taCenter, 0, {h + cw, 10}, {h, 9}},
        {blGlyphRight, taLeftJustify, 0, {4, 10}, {4 + tw, 9}},
        {blGlyphRight, taRightJustify, 0, {W - 4 - tw - cw, 10}, {W - 4 - cw, 9}},
        {blGlyphRight, taCenter, 1, {h + 1, 11}, {h + tw + 1, 10}},
        {blGlyphTop, taLeftJustify, 0, {4, 16}, {4, 4}},
        {blGlyphTop, taRightJustify, 0, {W - 4 - tw, 16}, {W - 4 - cw, 4}},
        {blGlyphTop, taCenter, 1, {(W - tw) / 2 + 1, 17}, {(W - cw) / 2 + 1, 5}},
        {blGlyphBottom, taCenter, 0, {(W - tw) / 2, 4}, {(W - cw) / 2, 14}},
    };
    for (const Case& c : cases) {
        const TFaceLayout at = LayoutFace(W, H, tw, th, cw, gh, c.layout, c.alignment, c.p);
        EXPECT_EQ(std::vector<LONG>({at.Text.x, at.Text.y, at.Glyph.x, at.Glyph.y}),
                  std::vector<LONG>({c.text.x, c.text.y, c.glyph.x, c.glyph.y}))
            << static_cast<int>(c.layout) << "/" << static_cast<int>(c.alignment) << "/" << c.p;
    }
}

TEST(SpeedButtonFace, GlyphCellsInTheOrderNormalDisabledPressedHot) {
    struct Case {
        int numGlyphs;
        bool enabled, hot, pressed;
        int expected;
    } cases[] = {
        {4, true, false, false, 0},  {4, false, true, true, 16}, {4, true, true, false, 48},
        {4, true, false, true, 32},  {4, true, true, true, 32},  {3, true, true, false, 0},
        {3, true, false, true, 32},  {2, true, false, true, 0},  {2, false, false, false, 16},
        {1, false, false, false, 0}, {0, false, true, true, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GlyphCellOffset(c.numGlyphs, 16, c.enabled, c.hot, c.pressed), c.expected)
            << c.numGlyphs << c.enabled << c.hot << c.pressed;
}

TEST(SpeedButtonFace, GradientBandsStepThroughThirtyTwoColours) {
    const auto bands = GradientBands(RGB(0, 0, 0), RGB(255, 62, 31), 2, 65, 2, 64);
    // D = 62, step = 3: band i starts at 2 + i * 62 / 31 = 2 + 2i and is 3 high.
    EXPECT_EQ(bands[0].Rect.top, 2);
    EXPECT_EQ(bands[0].Rect.bottom, 5);
    EXPECT_EQ(bands[10].Rect.top, 22);
    EXPECT_EQ(bands[31].Rect.top, 64);
    EXPECT_EQ(bands[31].Rect.bottom, 64);  // the last band is cut at the bottom
    EXPECT_EQ(bands[5].Rect.left, 2);
    EXPECT_EQ(bands[5].Rect.right, 65);
    EXPECT_EQ(bands[0].Color, RGB(0, 0, 0));
    EXPECT_EQ(bands[1].Color, RGB(8, 2, 1));       // 255/31 = 8.2, 62/31 = 2, 31/31 = 1
    EXPECT_EQ(bands[30].Color, RGB(246, 60, 30));  // the last band is empty
    // Descending colours truncate toward zero as well.
    const auto down = GradientBands(RGB(255, 255, 255), RGB(0, 0, 0), 0, 1, 0, 31);
    EXPECT_EQ(down[1].Color, RGB(246, 246, 246));  // 255 - 8.22 = 246.77
}

TEST(SpeedButtonSchemes, DisabledSkinsStylesAndPresets) {
    for (int skin = 0; skin < kButtonSkinCount; ++skin)
        EXPECT_EQ(DisabledSkinFor(skin), skin < 9 ? 6 : 16) << skin;
    EXPECT_EQ(StyleForDisplay(bsModern, 8), bsNormal);
    EXPECT_EQ(StyleForDisplay(bsModern, 4), bsNormal);
    EXPECT_EQ(StyleForDisplay(bsModern, 16), bsModern);
    EXPECT_EQ(StyleForDisplay(bsEncarta, 32), bsEncarta);
    TColorStylePreset preset{};
    EXPECT_FALSE(GetColorStyleColors(lcsCustom, preset));
    ASSERT_TRUE(GetColorStyleColors(lcsBlue, preset));
    EXPECT_EQ(preset.Color, 0xFF8000);
    EXPECT_EQ(preset.ColorWhenDown, clNone);
    ASSERT_TRUE(GetColorStyleColors(lcsUltraFlat2, preset));
    EXPECT_EQ(preset.Color, clBtnFace);
    EXPECT_TRUE(preset.Flat);
    EXPECT_EQ(preset.Style, bsNormal);
    EXPECT_EQ(ButtonSkins[5].FontColor, 0x2B6890);
    EXPECT_EQ(ButtonSkins[17].LightAndShadow, 0xC7BCA8);
}

}  // namespace
}  // namespace qv
