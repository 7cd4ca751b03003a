#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "InputsTestSupport.h"
#include "controls/QelCustomControl.h"
#include "controls/XPDorvexEditEx.h"
#include "controls/XPDorvexRadioButton.h"
#include "ui/Form.h"
#include "ui/Image.h"

namespace {

using namespace qv;
using qv::test::Pump;
using qv::test::WaitUntil;
using qv::test::WindowPixel;

// The box of a 21-pixel-high button with the 13-pixel thumb is (0, 4, 13, 17): its centre is
// (6, 10), the check point spans (3, 7, 10, 14).
constexpr POINT kCentre{6, 10};

// A shown form for all tests (hiding an active window is slow without a window manager).
class FlatRadioTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        form = MakeForm<TForm>(nullptr).release();
        form->SetBounds(420, 60, 320, 200);
        form->SetColor(clWhite);
        form->Show();
    }

    static void TearDownTestSuite() {
        delete form;
        form = nullptr;
    }

    void SetUp() override {
        ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(form->Handle()) != FALSE; }));
        first = Place(form, 20, 20);
        second = Place(form, 20, 50);
        next = new TXPDorvexEditEx(form);
        next->SetBounds(20, 140, 100, 22);
        next->SetParent(form);
        SetForegroundWindow(form->Handle());
        Focus(next);
    }

    void TearDown() override {
        delete first;
        delete second;
        delete next;
    }

    TXPDorvexRadioButton* Place(TWinControl* parent, int left, int top) {
        auto* radio = new TXPDorvexRadioButton(form);
        radio->SetBounds(left, top, 120, 21);
        radio->SetThumbWidth(13);
        radio->SetColor(clWhite);
        radio->SetCaption(L"\u7535\u4FE1");
        radio->SetParent(parent);
        return radio;
    }

    static void Focus(TWinControl* control) {
        control->SetFocus();
        ASSERT_TRUE(WaitUntil([&] { return GetFocus() == control->Handle(); }));
    }

    static TColor Pixel(TWinControl* control, int x, int y) {
        Pump();
        UpdateWindow(control->Handle());
        return WindowPixel(control->Handle(), x, y);
    }

    // Whether any pixel of the rectangle has the colour (or, with differs, any other colour).
    static bool AnyPixel(TWinControl* control, const RECT& r, TColor color, bool differs = false) {
        Pump();
        UpdateWindow(control->Handle());
        for (int y = r.top; y < r.bottom; ++y) {
            for (int x = r.left; x < r.right; ++x) {
                if ((WindowPixel(control->Handle(), x, y) == color) != differs) return true;
            }
        }
        return false;
    }

    static void Click(TWinControl* control, int x, int y) {
        const POINT p = control->ClientToScreen({x, y});
        SetCursorPos(p.x, p.y);
        INPUT input[2]{};
        input[0].type = input[1].type = INPUT_MOUSE;
        input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
        SendInput(2, input, sizeof(INPUT));
    }

    static TForm* form;
    TXPDorvexRadioButton* first = nullptr;
    TXPDorvexRadioButton* second = nullptr;
    TXPDorvexEditEx* next = nullptr;
};

TForm* FlatRadioTest::form = nullptr;

TEST_F(FlatRadioTest, CheckedButtonShowsItsCheckPointInsideTheCircle) {
    first->SetMouseOutInnerColor(clYellow);
    first->SetMouseOutBorderColor(clNavy);
    first->SetCheckPointColor(clRed);
    EXPECT_EQ(Pixel(first, kCentre.x, kCentre.y), clYellow);
    EXPECT_EQ(Pixel(first, 0, kCentre.y), clNavy);  // the circle's outline
    first->SetChecked(true);
    EXPECT_EQ(Pixel(first, kCentre.x, kCentre.y), clRed);
    EXPECT_EQ(Pixel(first, 2, kCentre.y), clYellow);  // between the point and the outline
    EXPECT_EQ(Pixel(first, 3, kCentre.y), ColorToRGB(clHighlight));  // the point's outline
    EXPECT_EQ(Pixel(first, 100, 1), clWhite);
}

TEST_F(FlatRadioTest, DisabledButtonDrawsOutlinesAndCaptionInTheDisabledColour) {
    first->SetChecked(true);
    first->SetDisabledColor(clFuchsia);
    first->SetMouseOutInnerColor(clYellow);
    first->SetEnabled(false);
    EXPECT_EQ(Pixel(first, 0, kCentre.y), clFuchsia);
    EXPECT_EQ(Pixel(first, 3, kCentre.y), clFuchsia);
    EXPECT_EQ(Pixel(first, 2, kCentre.y), clYellow);  // the fill keeps its colour
    EXPECT_TRUE(AnyPixel(first, RECT{17, 0, 60, 21}, clFuchsia));

    // Inside a disabled parent the button counts as disabled too.
    auto* panel = new TQelCustomControl(form);
    panel->SetBounds(150, 20, 150, 40);
    panel->SetParent(form);
    TXPDorvexRadioButton* inner = Place(panel, 0, 0);
    inner->SetDisabledColor(clFuchsia);
    panel->SetEnabled(false);
    inner->RedrawButton();
    EXPECT_EQ(Pixel(inner, 0, kCentre.y), clFuchsia);
    delete panel;
}

TEST_F(FlatRadioTest, PictureStripShowsTheFrameOfTheState) {
    const TColor frames[kRadioStripFrames] = {clRed, clLime, clBlue, clYellow, clFuchsia};
    TBitmap strip(50, 10, pf24bit);
    for (int k = 0; k < kRadioStripFrames; ++k) {
        strip.Canvas().Brush().SetColor(frames[k]);
        strip.Canvas().FillRect(RECT{k * 10, 0, k * 10 + 10, 9});
    }
    strip.Canvas().Brush().SetColor(clBlack);  // the bottom row is the transparent colour
    strip.Canvas().FillRect(RECT{0, 9, 50, 10});
    first->Glyph().AssignBitmap(strip);
    // The 10 x 10 frame is centred in the 13-pixel box at (1, 5).
    EXPECT_EQ(Pixel(first, 5, 8), clRed);
    EXPECT_EQ(Pixel(first, 5, 14), clWhite);  // the transparent row shows the background

    Focus(first);  // gaining the focus also makes the button hot
    EXPECT_EQ(Pixel(first, 5, 8), clBlue);
    SendMessageW(first->Handle(), BM_GETCHECK, 0, 0);  // clears the hot flag, focus stays
    EXPECT_FALSE(first->MouseIn());
    EXPECT_EQ(Pixel(first, 5, 8), clLime);
    PostMessageW(first->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 8));
    Pump();
    EXPECT_EQ(Pixel(first, 5, 8), clYellow);
    PostMessageW(first->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 8));
    Pump();
    EXPECT_TRUE(first->Checked());
    // Checked without a CheckedGlyph: the circle again.
    first->SetMouseOutInnerColor(clAqua);
    first->SetCheckPointColor(clMaroon);
    EXPECT_EQ(Pixel(first, kCentre.x, kCentre.y), clMaroon);
    first->SetChecked(false);
    first->SetEnabled(false);
    EXPECT_EQ(Pixel(first, 5, 8), clFuchsia);
}

TEST_F(FlatRadioTest, CheckedGlyphAloneShowsOnlyOnceTheButtonIsChecked) {
    TBitmap strip(50, 10, pf24bit);
    strip.Canvas().Brush().SetColor(clLime);
    strip.Canvas().FillRect(RECT{0, 0, 50, 9});
    strip.Canvas().Brush().SetColor(clBlack);  // the transparent bottom row
    strip.Canvas().FillRect(RECT{0, 9, 50, 10});
    first->SetMouseOutInnerColor(clYellow);
    first->CheckedGlyph().AssignBitmap(strip);
    EXPECT_EQ(Pixel(first, kCentre.x, kCentre.y), clYellow);  // unchecked: the circle
    first->SetChecked(true);
    EXPECT_EQ(Pixel(first, 5, 8), clLime);
}

TEST_F(FlatRadioTest, RightJustifiedCaptionEndsAtTheClipEdgeButNeverStartsLeftOfTheBox) {
    for (auto* radio : {first, second}) {
        radio->SetAlignment(taRightJustify);
        radio->Font().SetColor(clBlack);
    }
    first->SetCaption(L"ab");
    const int width = first->Width();
    const int textWidth = [&] {
        HDC dc = GetDC(first->Handle());
        HGDIOBJ old = SelectObject(dc, first->Font().Handle());
        SIZE size{};
        GetTextExtentPoint32W(dc, L"ab", 2, &size);
        SelectObject(dc, old);
        ReleaseDC(first->Handle(), dc);
        return static_cast<int>(size.cx);
    }();
    // Text pixels are whatever is not the white background (the font may be smoothed).
    EXPECT_FALSE(AnyPixel(first, RECT{17, 0, width - 2 - textWidth, 21}, clWhite, true));
    EXPECT_TRUE(AnyPixel(first, RECT{width - 2 - textWidth, 0, width - 2, 21}, clWhite, true));

    second->SetCaption(std::wstring(40, L'W'));  // far wider than the button
    // The start stays visible right after the box and the gap; the end is cut 2 pixels early.
    EXPECT_TRUE(AnyPixel(second, RECT{17, 0, 24, 21}, clWhite, true));
    EXPECT_FALSE(AnyPixel(second, RECT{13, 0, 17, 21}, clWhite, true));
    EXPECT_FALSE(AnyPixel(second, RECT{width - 2, 0, width, 21}, clWhite, true));
}

TEST_F(FlatRadioTest, TransparentButtonShowsTheParentsPicture) {
    auto* picture = new TImage(form);
    picture->SetBounds(150, 100, 150, 60);
    TBitmap image(150, 60, pf24bit);
    image.Canvas().Brush().SetColor(clTeal);
    image.Canvas().FillRect(RECT{0, 0, 150, 60});
    picture->Picture().AssignBitmap(image);
    picture->SetParent(form);
    TXPDorvexRadioButton* over = Place(form, 160, 110);
    over->SetColor(clYellow);
    EXPECT_EQ(Pixel(over, 110, 1), clYellow);
    over->SetTransparent(true);
    EXPECT_EQ(Pixel(over, 110, 1), clTeal);
    delete over;
    delete picture;
}

TEST_F(FlatRadioTest, ClickingChecksTheButtonAndUnchecksItsSiblings) {
    int firstClicks = 0, secondClicks = 0;
    first->OnClick = [&](TComponent*) { ++firstClicks; };
    second->OnClick = [&](TComponent*) { ++secondClicks; };
    first->SetChecked(true);
    Click(second, 60, 10);
    ASSERT_TRUE(WaitUntil([&] { return second->Checked(); }));
    EXPECT_FALSE(first->Checked());
    EXPECT_EQ(secondClicks, 1);
    EXPECT_EQ(firstClicks, 1);
    EXPECT_TRUE(second->TabStop());
    EXPECT_FALSE(first->TabStop());
    EXPECT_FALSE(second->MouseDownState());
    // Clicking the checked button again changes nothing.
    Click(second, 60, 10);
    Pump();
    EXPECT_EQ(secondClicks, 1);
}

TEST_F(FlatRadioTest, HeldSpaceRedrawsOnceOnPressAndOnceOnRelease) {
    second->SetChecked(true);
    Focus(second);
    Pump();
    const int before = second->DrawCount();
    PostMessageW(second->Handle(), WM_KEYDOWN, VK_SPACE, 1);
    Pump();
    EXPECT_TRUE(second->SpaceDown());
    EXPECT_EQ(second->DrawCount(), before + 1);
    for (int repeat = 0; repeat < 3; ++repeat) {
        PostMessageW(second->Handle(), WM_KEYDOWN, VK_SPACE, 1 | (1 << 30));
    }
    Pump();
    EXPECT_EQ(second->DrawCount(), before + 1);
    PostMessageW(second->Handle(), WM_KEYUP, VK_SPACE, 1 | (3u << 30));
    Pump();
    EXPECT_FALSE(second->SpaceDown());
    EXPECT_EQ(second->DrawCount(), before + 2);
}

TEST_F(FlatRadioTest, SpaceChecksAndDisabledButtonsIgnoreKeys) {
    second->SetChecked(true);
    Focus(second);
    first->SetEnabled(false);
    PostMessageW(first->Handle(), WM_KEYDOWN, VK_SPACE, 1);
    Pump();
    EXPECT_FALSE(first->Checked());
    EXPECT_FALSE(first->SpaceDown());
    first->SetEnabled(true);
    first->SetTabStop(true);
    Focus(first);
    PostMessageW(first->Handle(), WM_KEYDOWN, VK_SPACE, 1);
    PostMessageW(first->Handle(), WM_KEYUP, VK_SPACE, 1 | (3u << 30));
    Pump();
    EXPECT_TRUE(first->Checked());
    EXPECT_FALSE(second->Checked());
}

TEST_F(FlatRadioTest, EnterMovesTheFocusOnOnlyWithTabOnEnter) {
    first->SetChecked(true);
    Focus(first);
    EXPECT_TRUE(first->MouseIn());
    first->SetTabOnEnter(false);
    PostMessageW(first->Handle(), WM_KEYDOWN, VK_RETURN, 1);
    Pump();
    EXPECT_EQ(GetFocus(), first->Handle());
    first->SetTabOnEnter(true);
    PostMessageW(first->Handle(), WM_KEYDOWN, VK_RETURN, 1);
    ASSERT_TRUE(WaitUntil([&] { return GetFocus() != first->Handle(); }));
    EXPECT_EQ(GetFocus(), second->Handle());  // the next control in tab order
    EXPECT_FALSE(first->MouseIn());
}

TEST(FlatRadioSettingsTest, ThumbWidthOfOneOrLessFallsBackToTheSystemThumb) {
    TComponent owner(nullptr);
    TXPDorvexRadioButton radio(&owner);
    const int system = GetSystemMetrics(SM_CXHTHUMB) - 4;
    EXPECT_EQ(radio.ThumbWidth(), system);
    struct Case {
        int requested, expected;
    };
    for (const Case c :
         {Case{2, 2}, Case{1, system}, Case{20, 20}, Case{0, system}, Case{-3, system}}) {
        radio.SetThumbWidth(c.requested);
        EXPECT_EQ(radio.ThumbWidth(), c.expected) << c.requested;
    }
}

TEST(FlatRadioSettingsTest, AButtonNotOnAFormDrawsNothing) {
    TComponent owner(nullptr);
    TXPDorvexRadioButton radio(&owner);
    radio.SetBounds(0, 0, 40, 20);
    TBitmap target(40, 20, pf24bit);
    radio.DrawButton(target.Canvas().Handle());
    EXPECT_EQ(radio.DrawCount(), 0);
}

}  // namespace
