#include <gtest/gtest.h>

#include <vector>

#include "ChromeTestSupport.h"

namespace qv::test {
namespace {

class FormShadowTest : public ::testing::Test {
protected:
    void ShowForm(int left, int top, int width, int height) {
        form = MakeForm<ShadowedForm>(nullptr, left, top, width, height);
        form->Show();
        ASSERT_TRUE(WaitUntil([&] { return ShadowSurrounds(*form); }))
            << "the shadow did not appear around the form";
    }
    HWND Shadow() { return form->shadow->Handle(); }
    bool ShadowShown() { return IsWindowVisible(Shadow()) != FALSE; }

    std::unique_ptr<ShadowedForm> form;
};

TEST_F(FormShadowTest, SurroundsTheFormDirectlyBelowItInZOrder) {
    ShowForm(190, 140, 620, 416);
    // Under Wine a layered window's first mapping may land it on top of the stack after every
    // placement call; the placement that follows a move shows where the shadow puts itself.
    SetWindowPos(form->Handle(), nullptr, 200, 150, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(WaitUntil([&] { return ShadowSurrounds(*form); }));
    EXPECT_EQ(NextVisibleBelow(form->Handle()), Shadow());
    const RECT s = WindowRect(Shadow());
    EXPECT_EQ(s.left, 184);
    EXPECT_EQ(s.top, 134);
    EXPECT_EQ(s.right - s.left, 652);
    EXPECT_EQ(s.bottom - s.top, 448);
    EXPECT_EQ(form->shadow->ShadowBitmap().Width(), 652);
    EXPECT_EQ(form->shadow->ShadowBitmap().Height(), 448);
    const LONG_PTR exStyle = GetWindowLongPtrW(Shadow(), GWL_EXSTYLE);
    EXPECT_EQ(exStyle & (WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE),
              WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE);
    // The system adds the sibling clipping of every top-level window itself.
    EXPECT_EQ(GetWindowLongPtrW(Shadow(), GWL_STYLE) & ~(WS_VISIBLE | WS_CLIPSIBLINGS),
              static_cast<LONG_PTR>(WS_POPUP));
    EXPECT_NE(GetForegroundWindow(), Shadow());
}

TEST_F(FormShadowTest, ImageIsTheTemplateFrameAroundTheFormSnapshot) {
    ShowForm(100, 100, 620, 416);
    const TFormShadow& s = *form->shadow;
    const int W = 652, H = 448;
    // Top band: the template's column 65, rows 0..16, repeated across.
    for (int x : {31, 300, W - 33}) {
        EXPECT_EQ(ShadowAlpha(s, x, 13), 63) << x;
        EXPECT_EQ(ShadowAlpha(s, x, 14), 95) << x;
        EXPECT_EQ(ShadowAlpha(s, x, 15), 143) << x;
        EXPECT_EQ(ShadowAlpha(s, x, 12), 0) << x;
    }
    // Bottom band: long and faint.
    const std::vector<int> bottom{86, 58, 44, 29, 22, 14, 11, 7, 5, 3, 2, 1, 1, 0, 0, 0};
    for (int k = 0; k < 16; ++k) EXPECT_EQ(ShadowAlpha(s, 300, H - 16 + k), bottom[k]) << k;
    // Side bands: the template's row 65.
    const std::vector<int> side{0, 0, 0, 0, 0, 0, 0, 1, 1, 4, 7, 17, 28, 60, 77, 116};
    for (int x = 0; x < 16; ++x) {
        EXPECT_EQ(ShadowAlpha(s, x, 200), side[x]) << x;
        EXPECT_EQ(ShadowAlpha(s, W - 1 - x, 200), side[x]) << x;
    }
    // The snapshot of the form fills the middle opaquely, 200 ms after the build.
    ASSERT_TRUE(WaitUntil([&] { return s.SnapshotCount() > 0; }));
    EXPECT_EQ(ShadowAlpha(s, 16, 16), 255);
    EXPECT_EQ(ShadowAlpha(s, W - 17, H - 17), 255);
    const std::uint8_t* row = s.ShadowBitmap().ScanLine(200);
    EXPECT_EQ(row[4 * 300 + 0], 0xD8);  // blue, green, red of the form's colour
    EXPECT_EQ(row[4 * 300 + 1], 0x8F);
    EXPECT_EQ(row[4 * 300 + 2], 0x2B);
}

TEST_F(FormShadowTest, MovingReplacesTheShadowWithoutRebuilding) {
    ShowForm(100, 120, 300, 200);
    ASSERT_TRUE(WaitUntil([&] { return form->shadow->SnapshotCount() > 0; }));
    const int builds = form->shadow->BuildCount(), snapshots = form->shadow->SnapshotCount();
    for (POINT to : {POINT{140, 160}, POINT{400, 90}, POINT{10, 300}}) {
        SetWindowPos(form->Handle(), nullptr, to.x, to.y, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        ASSERT_TRUE(WaitUntil([&] { return ShadowSurrounds(*form); })) << to.x << "," << to.y;
        EXPECT_EQ(NextVisibleBelow(form->Handle()), Shadow());
    }
    EXPECT_EQ(form->shadow->BuildCount(), builds);
    EXPECT_EQ(form->shadow->SnapshotCount(), snapshots);
}

TEST_F(FormShadowTest, ResizingRebuildsForTheNewSize) {
    ShowForm(100, 100, 300, 200);
    struct Case {
        int width, height;
    } cases[] = {{400, 260}, {200, 150}, {250, 300}, {20, 20}};
    for (const Case& c : cases) {
        const int builds = form->shadow->BuildCount();
        form->SetBounds(form->Left(), form->Top(), c.width, c.height);
        ASSERT_TRUE(WaitUntil([&] { return ShadowSurrounds(*form); }))
            << c.width << "x" << c.height;
        EXPECT_GT(form->shadow->BuildCount(), builds);
        EXPECT_EQ(form->shadow->ShadowBitmap().Width(), c.width + 32);
        EXPECT_EQ(form->shadow->ShadowBitmap().Height(), c.height + 32);
    }
}

TEST_F(FormShadowTest, SwitchingOffHidesAtOnceAndOnShowsAgain) {
    ShowForm(150, 150, 320, 240);
    form->shadow->SetShadowVisible(false);
    EXPECT_FALSE(ShadowShown()) << "hidden without waiting for a timer";
    EXPECT_FALSE(form->shadow->Active());
    form->shadow->SetShadowVisible(true);
    EXPECT_TRUE(WaitUntil([&] { return ShadowSurrounds(*form); }));
    // A second request while on changes nothing: no rebuild, still shown and active.
    const int builds = form->shadow->BuildCount();
    form->shadow->SetShadowVisible(true);
    EXPECT_TRUE(form->shadow->Active());
    EXPECT_TRUE(ShadowShown());
    EXPECT_EQ(form->shadow->BuildCount(), builds);
}

TEST_F(FormShadowTest, MinimiseMaximiseAndHideHideTheShadowRestoreShowsIt) {
    ShowForm(150, 150, 320, 240);
    struct Case {
        const char* what;
        int show;
    } cases[] = {{"minimise", SW_MINIMIZE}, {"maximise", SW_MAXIMIZE}};
    for (const Case& c : cases) {
        ShowWindow(form->Handle(), c.show);
        EXPECT_TRUE(WaitUntil([&] { return !ShadowShown(); })) << c.what;
        ShowWindow(form->Handle(), SW_RESTORE);
        EXPECT_TRUE(WaitUntil([&] { return ShadowSurrounds(*form); })) << c.what;
    }
    form->Hide();
    EXPECT_TRUE(WaitUntil([&] { return !ShadowShown(); })) << "hide";
    form->Show();
    EXPECT_TRUE(WaitUntil([&] { return ShadowSurrounds(*form); })) << "show again";
}

TEST_F(FormShadowTest, NeverTakesTheMouse) {
    ShowForm(150, 150, 320, 240);
    const RECT s = WindowRect(Shadow());
    for (POINT p : {POINT{s.left + 2, s.top + 2}, POINT{s.left + 100, s.bottom - 3},
                    POINT{s.right - 1, s.top + 50}}) {
        EXPECT_EQ(SendMessageW(Shadow(), WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y)), HTTRANSPARENT);
    }
}

TEST_F(FormShadowTest, DetachingGivesTheFormItsOwnProcedureBack) {
    ShowForm(150, 150, 320, 240);
    form->shadow->AttachForm(nullptr);
    const int builds = form->shadow->BuildCount();
    form->SetBounds(form->Left(), form->Top(), 400, 300);
    Application().ProcessMessages();
    EXPECT_EQ(form->shadow->BuildCount(), builds) << "a detached shadow still follows the form";
    EXPECT_EQ(form->Width(), 400) << "the form's own handling is gone";
}

TEST_F(FormShadowTest, OffsetShowsFromTheNextMove) {
    ShowForm(150, 150, 320, 240);
    form->shadow->SetShadowOffset(5);
    SetWindowPos(form->Handle(), nullptr, 200, 180, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(WaitUntil([&] {
        const RECT s = WindowRect(Shadow());
        return s.left == 200 - 16 + 5 && s.top == 180 - 16 + 5;
    }));
}

TEST_F(FormShadowTest, DestroyingTheFormTakesTheShadowWindowAlong) {
    ShowForm(150, 150, 320, 240);
    const HWND shadow = Shadow();
    form.reset();
    EXPECT_FALSE(IsWindow(shadow));
}

}  // namespace
}  // namespace qv::test
