#include <gtest/gtest.h>

#include "ChromeTestSupport.h"
#include "dialogs/ModalSpeedButton.h"
#include "ui/Timer.h"

namespace qv::test {
namespace {

constexpr TColor kFace = 0xCA8B42;
constexpr TColor kHot = 0xB9610E;
constexpr TColor kFocusFrame = 0xEEC477;

class SpeedButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = MakeForm<HostForm>(nullptr, 120, 120, 320, 200);
        first = AddButton(20, L"确定");
        second = AddButton(120, L"取消");
        ASSERT_TRUE(ShowInFront(*form));
        MoveMouseTo({5, 5});         // away from the buttons
        ::SetFocus(form->Handle());  // the form focuses its first control when shown
        ASSERT_TRUE(WaitUntil([&] { return !first->Hot() && !second->Hot(); }));
    }
    void TearDown() override {
        MouseButton(MOUSEEVENTF_LEFTUP);
        MouseButton(MOUSEEVENTF_RIGHTUP);
    }

    // A button set up as the message box sets up its buttons.
    TModalSpeedButton* AddButton(int left, const std::wstring& caption) {
        auto* button = new TModalSpeedButton(form.get());
        button->SetParent(form.get());
        button->SetBounds(left, 40, 67, 30);
        button->SetCaption(caption);
        button->SetStyle(bsNormal);
        button->SetFlat(true);
        button->Font().SetName(L"微软雅黑");
        button->Font().SetHeight(-12);
        button->Font().SetColor(clWhite);
        button->SetColor(kFace);
        button->SetColorWhenDown(kFace);
        button->SetLightColor(kFace);
        button->SetShadowColor(kFace);
        button->SetHotTrackColor(kHot);
        button->OnClick = [this](TComponent* sender) { clicks.push_back(sender); };
        return button;
    }

    static void ExpectFace(const WindowImage& image, TColor face, TColor frame, const char* state) {
        const int W = image.Width(), H = image.Height();
        for (POINT p : {POINT{0, 0}, POINT{W - 1, 0}, POINT{0, H - 1}, POINT{W - 1, H - 1},
                        POINT{W / 2, 0}, POINT{0, H / 2}, POINT{W - 1, H / 2}, POINT{W / 2, H - 1}})
            EXPECT_EQ(image.At(p.x, p.y), frame) << state << " frame at " << p.x << "," << p.y;
        for (POINT p : {POINT{1, 1}, POINT{W - 2, H - 2}, POINT{3, H / 2}, POINT{W - 4, 2}})
            EXPECT_EQ(image.At(p.x, p.y), face) << state << " face at " << p.x << "," << p.y;
    }

    // The caption's white-ish pixels.
    static RECT CaptionBounds(const WindowImage& image) {
        return image.BoundsOf([](TColor c) {
            return (c & 0xFF) > 0xC0 && ((c >> 8) & 0xFF) > 0xC0 && ((c >> 16) & 0xFF) > 0xC0;
        });
    }

    std::unique_ptr<HostForm> form;
    TModalSpeedButton* first = nullptr;
    TModalSpeedButton* second = nullptr;
    std::vector<TComponent*> clicks;
};

TEST_F(SpeedButtonTest, MessageBoxButtonFacesInEveryState) {
    const HWND button = first->Handle();
    const WindowImage normal(button);
    ExpectFace(normal, kFace, kFace, "normal");

    MoveMouseTo(CentreOf(*first));
    ASSERT_TRUE(WaitUntil([&] { return first->Hot(); }));
    const WindowImage hot(button);
    ExpectFace(hot, kHot, kFace, "hot");

    MouseButton(MOUSEEVENTF_LEFTDOWN);
    ASSERT_TRUE(WaitUntil([&] { return first->Down(); }));
    const WindowImage pressed(button);
    const TColor pressedFrame = GetFocus() == button ? kFocusFrame : kFace;
    ExpectFace(pressed, kFace, pressedFrame, "pressed");
    // Same face colour as the normal look, so the caption's pixels compare one to one.
    const RECT up = CaptionBounds(normal), down = CaptionBounds(pressed);
    ASSERT_GE(up.right, 0) << "no caption drawn";
    EXPECT_EQ(down.left, up.left + 1);
    EXPECT_EQ(down.top, up.top + 1);
    EXPECT_TRUE(clicks.empty()) << "a mouse click fires on release";

    MouseButton(MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(WaitUntil([&] { return !first->Down() && clicks.size() == 1; }));
    EXPECT_EQ(GetFocus(), button) << "the click focuses the button";
    ExpectFace(WindowImage(button), kHot, kFocusFrame, "focused");

    MoveMouseTo({5, 5});
    ASSERT_TRUE(WaitUntil([&] { return GetFocus() == button; }));
    EXPECT_TRUE(first->Hot()) << "focus keeps the button hot after the pointer left";
    second->SetFocus();
    ASSERT_TRUE(WaitUntil([&] { return !first->Hot(); }));
    ExpectFace(WindowImage(button), kFace, kFace, "left and unfocused");
}

TEST_F(SpeedButtonTest, DisabledCaptionTakesTheDisabledColour) {
    first->SetEnabled(false);
    const WindowImage image(first->Handle());
    EXPECT_TRUE(image.Contains(0x878787));
    EXPECT_FALSE(image.Contains(clWhite));
    EXPECT_EQ(image.At(2, 2), kFace);
}

TEST_F(SpeedButtonTest, EnterAndSpaceClickOnKeyDownAndRepeat) {
    for (WORD key : {VK_SPACE, VK_RETURN}) {
        clicks.clear();
        second->SetFocus();
        ASSERT_TRUE(WaitUntil([&] { return GetFocus() == second->Handle(); }));
        Key(key, true);
        ASSERT_TRUE(WaitUntil([&] { return clicks.size() == 1; })) << key;
        EXPECT_TRUE(second->Down()) << "pressed while the key is held";
        Key(key, true);  // the keyboard's auto-repeat
        EXPECT_TRUE(WaitUntil([&] { return clicks.size() == 2; })) << key;
        Key(key, false);
        EXPECT_TRUE(WaitUntil([&] { return !second->Down(); })) << key;
        EXPECT_EQ(clicks.size(), 2u) << "release does not click again";
    }
}

TEST_F(SpeedButtonTest, RightButtonPressesAPlainButtonToo) {
    MoveMouseTo(CentreOf(*second));
    ASSERT_TRUE(WaitUntil([&] { return second->Hot(); }));
    MouseButton(MOUSEEVENTF_RIGHTDOWN);
    EXPECT_TRUE(WaitUntil([&] { return second->Down(); }));
    MouseButton(MOUSEEVENTF_RIGHTUP);
    EXPECT_TRUE(WaitUntil([&] { return !second->Down(); }));
}

TEST_F(SpeedButtonTest, LatchedGroupReleasesTheOtherAndAllowAllUp) {
    first->SetGroupIndex(1);
    second->SetGroupIndex(1);
    int shift = 0;  // successive clicks land apart, so that none makes a double click
    auto clickOn = [&](TModalSpeedButton* b) {
        const size_t before = clicks.size();
        shift = shift == 0 ? 12 : -shift;
        const POINT centre = CentreOf(*b);
        MoveMouseTo({centre.x + shift, centre.y});
        MouseButton(MOUSEEVENTF_LEFTDOWN);
        MouseButton(MOUSEEVENTF_LEFTUP);
        return WaitUntil([&] { return clicks.size() == before + 1; });
    };
    ASSERT_TRUE(clickOn(first));
    EXPECT_TRUE(first->Down());
    ASSERT_TRUE(clickOn(second));
    EXPECT_TRUE(second->Down());
    EXPECT_FALSE(first->Down()) << "pressing the second releases the first";
    ASSERT_TRUE(clickOn(second));
    EXPECT_TRUE(second->Down()) << "a latched button stays down without AllowAllUp";
    second->SetAllowAllUp(true);
    ASSERT_TRUE(clickOn(second));
    EXPECT_FALSE(second->Down());
}

TEST_F(SpeedButtonTest, GlyphStripCellsForNormalDisabledPressedAndHot) {
    constexpr TColor cells[4] = {clRed, clLime, clBlue, clYellow};
    TBitmap strip(64, 16);
    for (int i = 0; i < 4; ++i) {
        strip.Canvas().Brush().SetColor(cells[i]);
        strip.Canvas().FillRect({16 * i, 0, 16 * i + 16, 16});
    }
    strip.Canvas().SetPixel(0, 15, clFuchsia);  // bottom-left: the transparent colour
    strip.FlushCanvas();
    first->SetBounds(20, 40, 120, 40);
    first->SetGlyph(&strip);
    EXPECT_EQ(first->NumGlyphs(), 4);
    auto shows = [&](TColor colour) { return WindowImage(first->Handle()).Contains(colour); };
    EXPECT_TRUE(shows(clRed));
    EXPECT_FALSE(shows(clFuchsia));
    first->SetFocus();  // focus makes it hot
    ASSERT_TRUE(WaitUntil([&] { return first->Hot(); }));
    EXPECT_TRUE(shows(clYellow));
    first->SetDown(true);
    EXPECT_TRUE(shows(clBlue));
    EXPECT_FALSE(shows(clYellow));
    first->SetDown(false);
    first->SetEnabled(false);
    EXPECT_TRUE(shows(clLime));
}

TEST_F(SpeedButtonTest, SkinsSwapWhileDisabledAndPresetsReadCustom) {
    struct Case {
        int skin, disabledSkin;
    } cases[] = {{3, 6}, {12, 16}, {8, 6}, {9, 16}};
    for (const Case& c : cases) {
        first->SetSkinIndex(static_cast<TButtonSkinIndex>(c.skin));
        EXPECT_EQ(first->Color(), ButtonSkins[c.skin].Color);
        first->SetEnabled(false);
        EXPECT_EQ(first->SkinIndex(), c.disabledSkin) << c.skin;
        EXPECT_EQ(first->Color(), ButtonSkins[c.disabledSkin].Color) << c.skin;
        EXPECT_EQ(WindowImage(first->Handle()).At(3, 3), ButtonSkins[c.disabledSkin].Color);
        first->SetEnabled(true);
        EXPECT_EQ(first->SkinIndex(), c.skin);
        EXPECT_EQ(first->Font().Color(), ButtonSkins[c.skin].FontColor);
    }
    first->SetColorStyle(lcsBlue);
    EXPECT_EQ(first->ColorStyle(), lcsCustom);
    EXPECT_EQ(first->Color(), 0xFF8000);
    EXPECT_EQ(first->LightColor(), 0xFFFF00);
    EXPECT_EQ(first->ShadowColor(), 0xFF0000);
    EXPECT_EQ(first->Style(), bsModern);
    EXPECT_EQ(first->SkinIndex(), -1);
    first->SetSkinIndex(2);
    first->SetHotTrackColor(0x123456);
    EXPECT_EQ(first->SkinIndex(), -1) << "changing a scheme colour leaves the skin";
}

TEST_F(SpeedButtonTest, AcceleratorClicksAndRestoresDown) {
    second->SetCaption(L"&Save");
    EXPECT_EQ(form->Perform(CM_DIALOGCHAR, L's'), 1);
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0], second);
    EXPECT_FALSE(second->Down());
    EXPECT_EQ(form->Perform(CM_DIALOGCHAR, L'x'), 0);
    second->SetEnabled(false);
    EXPECT_EQ(form->Perform(CM_DIALOGCHAR, L's'), 0);
    EXPECT_EQ(clicks.size(), 1u);
}

TEST_F(SpeedButtonTest, PopupMenuOpensUnderTheButtonBeforeTheClick) {
    ScopedMenu menu(CreatePopupMenu());
    AppendMenuW(menu.get(), MF_STRING, 1, L"菜单");
    second->SetPopupMenu(menu.get());
    // The menu's own loop runs inside the click; a timer looks at the open menu and closes it.
    RECT menuRect{};
    bool clickedBeforeClose = true;
    TTimer closer(nullptr);
    closer.SetInterval(50);
    closer.OnTimer = [&](TComponent*) {
        const HWND popup = FindWindowW(L"#32768", nullptr);
        if (!popup || !IsWindowVisible(popup)) return;
        menuRect = WindowRect(popup);
        clickedBeforeClose = !clicks.empty();
        closer.SetEnabled(false);
        EndMenu();
    };
    closer.SetEnabled(true);
    MoveMouseTo(CentreOf(*second));
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    MouseButton(MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(WaitUntil([&] { return clicks.size() == 1; }));
    EXPECT_FALSE(clickedBeforeClose) << "OnClick waits for the menu to close";
    const POINT corner = second->ClientToScreen({0, second->Height()});
    EXPECT_EQ(menuRect.left, corner.x);
    EXPECT_EQ(menuRect.top, corner.y);
}

}  // namespace
}  // namespace qv::test
