#include <gtest/gtest.h>

#include <string>

#include "InputsTestSupport.h"
#include "controls/QelCustomEdit.h"
#include "ui/Form.h"

namespace {

using namespace qv;
using qv::test::Pump;
using qv::test::WaitUntil;

int TextHeightOf(const TFont& font) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font.Handle());
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return tm.tmHeight;
}

// One shown form for all tests (hiding an active window is slow without a window manager).
class EditBaseTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        form = MakeForm<TForm>(nullptr).release();
        form->SetBounds(60, 260, 320, 120);
        form->Show();
    }

    static void TearDownTestSuite() {
        delete form;
        form = nullptr;
    }

    void SetUp() override {
        ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(form->Handle()) != FALSE; }));
        edit = new TQelCustomEdit(form);
        edit->SetBounds(10, 10, 200, 25);
    }

    void TearDown() override { delete edit; }

    void Show() {
        edit->SetParent(form);
        ASSERT_TRUE(edit->Handle());
    }

    void FocusAndType(const std::wstring& text) {
        SetForegroundWindow(form->Handle());
        edit->SetFocus();
        ASSERT_TRUE(WaitUntil([&] { return GetFocus() == edit->Handle(); }));
        for (wchar_t ch : text) PostMessageW(edit->Handle(), WM_CHAR, ch, 1);
        Pump();
    }

    LONG Style() { return GetWindowLongW(edit->Handle(), GWL_STYLE); }

    static TForm* form;
    TQelCustomEdit* edit = nullptr;
};

TForm* EditBaseTest::form = nullptr;

TEST_F(EditBaseTest, SettingsMadeBeforeTheWindowExistReachItOnCreation) {
    edit->SetMaxLength(5);
    edit->SetReadOnly(true);
    edit->SetModified(true);
    edit->SetAlignment(taRightJustify);
    Show();
    EXPECT_EQ(SendMessageW(edit->Handle(), EM_GETLIMITTEXT, 0, 0), 5);
    EXPECT_TRUE(Style() & ES_READONLY);
    EXPECT_TRUE(Style() & ES_RIGHT);
    EXPECT_TRUE(Style() & ES_MULTILINE);
    EXPECT_TRUE(edit->Modified());
    edit->SetReadOnly(false);
    FocusAndType(L"abcdefgh");
    EXPECT_EQ(edit->Text(), L"abcde");
}

TEST_F(EditBaseTest, ModifiedAndTextSurviveAWindowRecreation) {
    Show();
    FocusAndType(L"abc");
    EXPECT_TRUE(edit->Modified());
    const HWND before = edit->Handle();
    edit->SetCharCase(ecUpperCase);
    EXPECT_NE(edit->Handle(), before);
    EXPECT_TRUE(Style() & ES_UPPERCASE);
    EXPECT_TRUE(edit->Modified());
    // The upper-case style may convert the text already there; the text itself is kept.
    std::wstring text = edit->Text();
    CharUpperW(text.data());
    EXPECT_EQ(text, L"ABC");
    edit->SetModified(false);
    edit->SetHideSelection(false);
    EXPECT_FALSE(edit->Modified());
    EXPECT_TRUE(Style() & ES_NOHIDESEL);
}

TEST_F(EditBaseTest, PasswordCharMasksTheTextShownAndKeepsTheText) {
    Show();
    edit->SetText(L"secret");
    edit->SetPasswordChar(L'*');
    // The system masks only one-line edit windows, so a masked box gets one.
    EXPECT_TRUE(Style() & ES_PASSWORD);
    EXPECT_FALSE(Style() & ES_MULTILINE);
    EXPECT_EQ(SendMessageW(edit->Handle(), EM_GETPASSWORDCHAR, 0, 0), L'*');
    EXPECT_EQ(edit->Text(), L"secret");
    edit->SetPasswordChar(L'#');
    EXPECT_EQ(SendMessageW(edit->Handle(), EM_GETPASSWORDCHAR, 0, 0), L'#');
    EXPECT_EQ(edit->Text(), L"secret");
    edit->SetPasswordChar(L'\0');
    EXPECT_TRUE(Style() & ES_MULTILINE);
    EXPECT_EQ(SendMessageW(edit->Handle(), EM_GETPASSWORDCHAR, 0, 0), 0);
    EXPECT_EQ(edit->Text(), L"secret");
}

TEST_F(EditBaseTest, TextIsCentredVerticallyWithFourPixelsOnEachSide) {
    edit->SetBorderStyle(bsNone);
    edit->SetAutoSize(false);
    edit->Font().SetHeight(-8);
    // A client area 15 pixels higher than the text (23 for an 8-pixel font) leaves 7 above it.
    const int h = TextHeightOf(edit->Font());
    edit->SetBounds(10, 10, 200, h + 15);
    Show();
    RECT r{};
    SendMessageW(edit->Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
    EXPECT_EQ(r.top, 7);
    EXPECT_EQ(r.left, 4);
    EXPECT_EQ(r.right, 196);
    // The window may trim the bottom to whole lines, never below one line.
    EXPECT_GE(r.bottom, 7 + h);
    EXPECT_LE(r.bottom, h + 15);
    // A size change moves the rectangle with it: 8 more pixels, 4 more above.
    edit->SetHeight(h + 23);
    SendMessageW(edit->Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
    EXPECT_EQ(r.top, 11);
}

TEST_F(EditBaseTest, HeightFollowsTheFontWithABorderAndIsFreeWithout) {
    Show();
    const int border = GetSystemMetrics(SM_CYBORDER);
    edit->Font().SetHeight(-20);
    EXPECT_EQ(edit->Height(), TextHeightOf(edit->Font()) + 8 * border);
    edit->SetCtl3D(false);
    edit->AdjustHeight();
    EXPECT_EQ(edit->Height(), TextHeightOf(edit->Font()) + 6 * border);
    edit->SetBorderStyle(bsNone);
    edit->SetHeight(50);
    edit->Font().SetHeight(-10);
    EXPECT_EQ(edit->Height(), 50);
}

TEST_F(EditBaseTest, SelectionOperations) {
    Show();
    edit->SetText(L"hello world");
    edit->SetSelStart(6);
    edit->SetSelLength(5);
    EXPECT_EQ(edit->SelStart(), 6);
    EXPECT_EQ(edit->SelLength(), 5);
    EXPECT_EQ(edit->SelText(), L"world");
    wchar_t buffer[4] = {L'x', L'x', L'x', L'x'};
    EXPECT_EQ(edit->GetSelTextBuf(buffer, 4), 3);
    EXPECT_EQ(std::wstring(buffer), L"wor");
    EXPECT_EQ(edit->GetSelTextBuf(buffer, 0), 0);
    edit->SetSelLength(0);
    EXPECT_EQ(edit->SelText(), L"");
    edit->SelectAll();
    EXPECT_EQ(edit->SelLength(), 11);
    edit->Clear();
    EXPECT_EQ(edit->Text(), L"");
}

TEST_F(EditBaseTest, EnteringDoesNotSelectTheText) {
    Show();
    edit->SetText(L"hello");
    ASSERT_TRUE(edit->AutoSelect());
    SendMessageW(edit->Handle(), EM_SETSEL, 2, 2);
    FocusAndType(L"");
    EXPECT_EQ(edit->SelLength(), 0);
}

TEST_F(EditBaseTest, ChangeReportsTypedAndSetTextOnce) {
    int changes = 0;
    edit->OnChange = [&](TComponent*) { ++changes; };
    edit->SetText(L"before the window");
    EXPECT_EQ(changes, 1);
    Show();
    EXPECT_EQ(changes, 1);  // creating the window is no change
    edit->SetText(L"x");
    EXPECT_EQ(changes, 2);
    FocusAndType(L"yz");
    EXPECT_EQ(changes, 4);
}

}  // namespace
