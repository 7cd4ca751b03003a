#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "InputsTestSupport.h"
#include "controls/ColorHelpers.h"
#include "controls/XPDorvexEditEx.h"
#include "ui/Form.h"

namespace {

using namespace qv;
using qv::test::Pump;
using qv::test::WaitUntil;
using qv::test::WindowPixel;

// A shown form with the box under test and a second box to move the focus to.
// One shown form for all the tests (hiding an active window costs seconds under a display
// without a window manager); each test gets its box under test and a second box to move the
// focus to.
class FlatEditTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        form = MakeForm<TForm>(nullptr).release();
        form->SetBounds(60, 60, 320, 140);
        form->SetColor(clWhite);
        form->Show();
    }

    static void TearDownTestSuite() {
        delete form;
        form = nullptr;
    }

    void SetUp() override {
        ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(form->Handle()) != FALSE; }));
        edit = Place(20, 20);
        other = Place(20, 80);
        SetForegroundWindow(form->Handle());
        Focus(other);
    }

    void TearDown() override {
        delete edit;
        delete other;
    }

    TXPDorvexEditEx* Place(int left, int top) {
        auto* box = new TXPDorvexEditEx(form);
        box->SetBounds(left, top, 200, 25);
        box->SetParent(form);
        return box;
    }

    void Focus(TXPDorvexEditEx* box) {
        box->SetFocus();
        ASSERT_TRUE(WaitUntil([&] { return GetFocus() == box->Handle(); }))
            << "the box did not get the focus";
    }

    // Types the characters as the keyboard would deliver them to the focused box.
    void Type(const std::wstring& text) {
        for (wchar_t ch : text) PostMessageW(GetFocus(), WM_CHAR, ch, 1);
        Pump();
    }

    // The box's pixel once every pending paint has been done.
    TColor Pixel(TXPDorvexEditEx* box, int x, int y) {
        Pump();
        UpdateWindow(box->Handle());
        return WindowPixel(box->Handle(), x, y);
    }

    RECT FormattingRect(TXPDorvexEditEx* box) {
        RECT r{};
        SendMessageW(box->Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
        return r;
    }

    static TForm* form;
    TXPDorvexEditEx* edit = nullptr;
    TXPDorvexEditEx* other = nullptr;
};

TForm* FlatEditTest::form = nullptr;

TEST_F(FlatEditTest, PercentBoxFormatsOnLeavingAndShowsThePlainNumberWhileEditing) {
    edit->SetInputStyle(TInputStyle::ISPercent);
    edit->SetDecimalLength(2);
    EXPECT_EQ(edit->Text(), L"0.00%");
    Focus(edit);
    EXPECT_EQ(edit->Text(), L"0.00");
    Type(L"\b\b\b\b12.5");  // the whole text is selected on entering: backspace clears it
    EXPECT_EQ(edit->Text(), L"12.5");
    EXPECT_DOUBLE_EQ(edit->Value(), 12.5);
    Focus(other);
    EXPECT_EQ(edit->Text(), L"12.50%");
    EXPECT_DOUBLE_EQ(edit->Value(), 12.5);
    Focus(edit);
    EXPECT_EQ(edit->Text(), L"12.50");
}

TEST_F(FlatEditTest, NumericStylesShowTheValueWithTheirAffixAndDecimals) {
    struct Case {
        TInputStyle style;
        int decimals;
        double value;
        const wchar_t* text;
        double shownValue;
    };
    const Case cases[] = {
        {TInputStyle::IsCurrency, 0, 3.7, L"\uFFE54", 4},
        {TInputStyle::ISNumber, 3, 2.5, L"2.500", 2.5},
        {TInputStyle::ISPercent, 1, 99.95, L"100.0%", 100},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.text)));
        edit->SetInputStyle(c.style);
        edit->SetDecimalLength(c.decimals);
        edit->SetValue(c.value);
        EXPECT_EQ(edit->Text(), c.text);
        // Showing the value is a text change: the value becomes the number shown.
        EXPECT_NEAR(edit->Value(), c.shownValue, 1e-9);
    }
}

TEST_F(FlatEditTest, LeavingRoundsTheValueToTheShownNumber) {
    edit->SetInputStyle(TInputStyle::IsCurrency);
    edit->SetDecimalLength(1);
    Focus(edit);
    Type(L"\b2.46");
    Focus(other);
    EXPECT_EQ(edit->Text(), L"\uFFE52.5");
    EXPECT_DOUBLE_EQ(edit->Value(), 2.5);
}

TEST_F(FlatEditTest, TextStyleIgnoresValueAndSwitchingBackToItEmptiesTheBox) {
    edit->SetText(L"hello");
    edit->SetValue(5);
    EXPECT_EQ(edit->Text(), L"hello");
    EXPECT_EQ(edit->Value(), 0);
    edit->SetInputStyle(TInputStyle::ISNumber);
    EXPECT_EQ(edit->Text(), L"0");
    edit->SetValue(7);
    edit->SetInputStyle(TInputStyle::ISText);
    EXPECT_EQ(edit->Text(), L"");
}

TEST_F(FlatEditTest, LeavingAnEmptyNumberBoxShowsZeroWithItsDecimals) {
    for (const auto& [decimals, shown] : {std::pair{0, L"0"}, std::pair{3, L"0.000"}}) {
        edit->SetInputStyle(TInputStyle::ISNumber);
        edit->SetDecimalLength(decimals);
        Focus(edit);
        edit->SetText(L"");
        Focus(other);
        EXPECT_EQ(edit->Text(), shown);
        EXPECT_EQ(edit->Value(), 0);
    }
}

TEST_F(FlatEditTest, NumericTypingRefusesSignsLettersAndASecondPoint) {
    edit->SetInputStyle(TInputStyle::ISNumber);
    edit->SetDecimalLength(2);
    Focus(edit);
    Type(L"\b\b\b\b-1a.2.3e\r\n\t");
    EXPECT_EQ(edit->Text(), L"1.23");
    EXPECT_DOUBLE_EQ(edit->Value(), 1.23);
}

TEST_F(FlatEditTest, ALonePointKeepsValueAndTextAndTheFocusHandlingGoesOn) {
    edit->SetInputStyle(TInputStyle::ISNumber);
    edit->SetValue(4);
    int exits = 0;
    edit->OnExit = [&](TComponent*) { ++exits; };
    Focus(edit);
    Type(L"\b.");
    EXPECT_EQ(edit->Text(), L".");
    EXPECT_EQ(edit->Value(), 0);  // the emptied box counted as 0 before the point came
    Focus(other);
    EXPECT_EQ(edit->Text(), L".");
    EXPECT_EQ(edit->Value(), 0);
    EXPECT_EQ(exits, 1);
    EXPECT_FALSE(edit->MouseIn());
    // The box still works: typing a digit after the point makes a number again.
    Focus(edit);
    Type(L"\b.5");
    Focus(other);
    EXPECT_EQ(edit->Text(), L"1");  // 0.5 shown with no decimals rounds up
    EXPECT_DOUBLE_EQ(edit->Value(), 1);
}

TEST_F(FlatEditTest, EnterMovesTheFocusOnLikeTabAndNeverBreaksTheLine) {
    edit->SetText(L"abc");
    Focus(edit);
    PostMessageW(edit->Handle(), WM_KEYDOWN, VK_RETURN, 1);
    ASSERT_TRUE(WaitUntil([&] { return GetFocus() == other->Handle(); }));
    EXPECT_EQ(edit->Text(), L"abc");

    edit->SetTabOnEnter(false);
    Focus(edit);
    PostMessageW(edit->Handle(), WM_KEYDOWN, VK_RETURN, 1);
    Pump();
    EXPECT_EQ(GetFocus(), edit->Handle());
    EXPECT_EQ(edit->Text(), L"abc");
}

TEST_F(FlatEditTest, ChangeEventFiresOncePerRealTextChange) {
    int changes = 0;
    edit->OnChange = [&](TComponent*) { ++changes; };
    edit->SetText(L"a");
    EXPECT_EQ(changes, 1);
    edit->SetText(L"a");
    EXPECT_EQ(changes, 1);
    Focus(edit);
    Type(L"b");
    EXPECT_EQ(changes, 2);
}

TEST_F(FlatEditTest, SideLinesShowTheStateColour) {
    edit->SetUnfocusedColor(clRed);
    edit->SetBorderColor(clLime);
    edit->SetFocusBorderColor(clBlue);
    edit->SetDisableColor(clYellow);
    edit->SetDisableBackGroundColor(clAqua);
    edit->SetColor(clWhite);
    const int h = edit->Height(), w = edit->Width();
    EXPECT_EQ(Pixel(edit, 0, h / 2), clRed);
    EXPECT_EQ(Pixel(edit, w - 1, h / 2), clRed);
    EXPECT_EQ(Pixel(edit, w / 2, 0), clRed);
    EXPECT_EQ(Pixel(edit, w / 2, h - 1), clRed);
    EXPECT_EQ(Pixel(edit, w - 3, 3), clWhite);

    Focus(edit);
    EXPECT_EQ(Pixel(edit, 0, h / 2), clBlue);

    edit->SetReadOnly(true);  // read-only wins over focus
    edit->Redraw();
    EXPECT_EQ(Pixel(edit, 0, h / 2), clYellow);

    Focus(other);
    edit->SetReadOnly(false);
    edit->SetEnabled(false);
    EXPECT_EQ(Pixel(edit, 0, h / 2), clYellow);
    EXPECT_EQ(Pixel(edit, w - 3, 3), clAqua);
    edit->SetEnabled(true);
    EXPECT_EQ(Pixel(edit, w - 3, 3), clWhite);
    EXPECT_EQ(Pixel(edit, 0, h / 2), clRed);
}

TEST_F(FlatEditTest, PointerOverTheBoxUsesTheHoverColour) {
    edit->SetUnfocusedColor(clRed);
    edit->SetBorderColor(clLime);
    int entered = 0, left = 0;
    edit->OnMouseMoveIn = [&](TComponent*) { ++entered; };
    edit->OnMouseMoveOut = [&](TComponent*) { ++left; };
    const POINT inside = edit->ClientToScreen({50, 10});
    SetCursorPos(inside.x, inside.y);
    ASSERT_TRUE(WaitUntil([&] { return edit->MouseIn(); }));
    EXPECT_EQ(entered, 1);
    EXPECT_EQ(Pixel(edit, 0, edit->Height() / 2), clLime);
    const POINT outside = form->ClientToScreen({300, 130});
    SetCursorPos(outside.x, outside.y);
    ASSERT_TRUE(WaitUntil([&] { return !edit->MouseIn(); }));
    EXPECT_EQ(left, 1);
    EXPECT_EQ(Pixel(edit, 0, edit->Height() / 2), clRed);
}

TEST_F(FlatEditTest, RingsGetLighterOutwardsAndFocusAddsOne) {
    constexpr TColor kMaroon = 0x000080;
    edit->SetColor(clWhite);
    edit->SetUnfocusedColor(kMaroon);
    edit->SetFocusBorderColor(kMaroon);
    edit->SetSideWidth(3);
    edit->SetSideLightStep(20);
    const int y = edit->Height() / 2;
    EXPECT_EQ(Pixel(edit, 2, y), kMaroon);   // innermost ring: the state colour
    EXPECT_EQ(Pixel(edit, 1, y), 0x0000AA);  // 20 lightness units lighter (worked by hand)
    const TColor outer = Pixel(edit, 0, y);
    EXPECT_GT(outer & 0xFF, 0xAA);
    EXPECT_EQ(outer & 0xFFFF00, 0);
    EXPECT_EQ(Pixel(edit, 3, y), clWhite);

    edit->SetSideFocus(true);
    Focus(edit);
    EXPECT_EQ(Pixel(edit, 3, y), kMaroon);  // four rings: the innermost moved in by one
    EXPECT_EQ(Pixel(edit, 2, y), 0x0000AA);
    EXPECT_EQ(Pixel(edit, 4, y), clWhite);
}

TEST_F(FlatEditTest, ListedSidesAloneCarryLinesAndShapeTheTextRectangle) {
    edit->SetColor(clWhite);
    edit->SetUnfocusedColor(clRed);
    const int h = edit->Height(), w = edit->Width();
    const int fontHeight = [&] {
        HDC dc = GetDC(nullptr);
        HGDIOBJ old = SelectObject(dc, edit->Font().Handle());
        TEXTMETRICW tm{};
        GetTextMetricsW(dc, &tm);
        SelectObject(dc, old);
        ReleaseDC(nullptr, dc);
        return static_cast<int>(tm.tmHeight);
    }();

    RECT r = FormattingRect(edit);
    EXPECT_EQ(r.left, 1 + 4);
    EXPECT_EQ(r.right, w - 1 - 4);
    EXPECT_EQ(r.top, 1 + (h - 2 - fontHeight) / 2);

    edit->SetSideLines(SL_TOP | SL_BUTTOM);
    edit->UpdateTextRect();
    EXPECT_EQ(Pixel(edit, 0, h / 2), clWhite);
    EXPECT_EQ(Pixel(edit, w / 2, 0), clRed);
    EXPECT_EQ(Pixel(edit, w / 2, h - 1), clRed);
    r = FormattingRect(edit);
    EXPECT_EQ(r.left, 4);
    EXPECT_EQ(r.right, w - 4);

    edit->SetSideLines(kAllSideLines);
    edit->SetSideWidth(0);
    edit->UpdateTextRect();
    EXPECT_EQ(Pixel(edit, 0, h / 2), clWhite);
    EXPECT_EQ(Pixel(edit, w / 2, 0), clWhite);
    EXPECT_EQ(FormattingRect(edit).left, 1 + 4);

    edit->SetTextLeftSpace(10);
    edit->SetTextTopOffset(2);
    r = FormattingRect(edit);
    EXPECT_EQ(r.left, 1 + 10);
    EXPECT_EQ(r.top, 1 + (h - 2 - fontHeight) / 2 + 2);
}

TEST_F(FlatEditTest, ADeletedBoxLeavesItsParentsTabOrder) {
    TXPDorvexEditEx* extra = Place(20, 50);
    delete extra;
    std::vector<TWinControl*> order;
    form->GetTabOrderList(order);
    EXPECT_EQ(std::count(order.begin(), order.end(), static_cast<TWinControl*>(extra)), 0);
    // Tab still walks the remaining boxes.
    Focus(edit);
    PostMessageW(edit->Handle(), WM_KEYDOWN, VK_TAB, 1);
    EXPECT_TRUE(WaitUntil([&] { return GetFocus() == other->Handle(); }));
}

}  // namespace
