// Forms, window-less and windowed controls, painting and the modal loop.
#include <gtest/gtest.h>

#include "UiTestSupport.h"
#include "ui/CustomControl.h"
#include "ui/GraphicControl.h"
#include "ui/Timer.h"

namespace qv {
namespace {

using test::PaintedPixel;
using test::WaitUntil;

class FilledGraphic : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;
    int paints = 0;

protected:
    void Paint() override {
        ++paints;
        Canvas().Brush().SetColor(Color());
        Canvas().FillRect(ClientRect());
    }
};

class FilledCustom : public TCustomControl {
public:
    using TCustomControl::TCustomControl;

protected:
    void Paint() override {
        Canvas().Brush().SetColor(clYellow);
        Canvas().FillRect({2, 2, 6, 6});
    }
};

TEST(FormTest, ShowsABorderlessWindowWithItsClientSize) {
    auto form = MakeForm<TForm>(nullptr);
    form->SetBounds(100, 120, 200, 150);
    form->Show();
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(form->Handle()) != FALSE; }));
    const LONG style = GetWindowLongW(form->Handle(), GWL_STYLE);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_FALSE(style & WS_CAPTION);
    EXPECT_FALSE(style & WS_THICKFRAME);
    RECT client{}, window{};
    GetClientRect(form->Handle(), &client);
    GetWindowRect(form->Handle(), &window);
    EXPECT_EQ(client.right, 200);
    EXPECT_EQ(client.bottom, 150);
    EXPECT_EQ(window.left, 100);
    EXPECT_EQ(window.top, 120);
    form->Hide();
    EXPECT_FALSE(IsWindowVisible(form->Handle()));
}

TEST(FormTest, CentresOnTheScreenWhenAsked) {
    auto form = MakeForm<TForm>(nullptr);
    form->SetBounds(0, 0, 300, 200);
    form->SetPosition(poScreenCenter);
    form->Show();
    RECT window{};
    GetWindowRect(form->Handle(), &window);
    EXPECT_EQ(window.left, (GetSystemMetrics(SM_CXSCREEN) - 300) / 2);
    EXPECT_EQ(window.top, (GetSystemMetrics(SM_CYSCREEN) - 200) / 2);
}

TEST(PaintTest, ParentPaintsWindowlessChildrenInZOrderOverItsColour) {
    auto form = MakeForm<TForm>(nullptr);
    form->SetBounds(0, 0, 100, 80);
    form->SetColor(clBlue);
    auto* lower = new FilledGraphic(form.get());
    lower->SetParent(form.get());
    lower->SetBounds(10, 10, 40, 40);
    lower->SetColor(clRed);
    auto* upper = new FilledGraphic(form.get());
    upper->SetParent(form.get());
    upper->SetBounds(30, 30, 40, 40);
    upper->SetColor(clLime);

    EXPECT_EQ(PaintedPixel(*form, 5, 5), clBlue);
    EXPECT_EQ(PaintedPixel(*form, 15, 15), clRed);
    EXPECT_EQ(PaintedPixel(*form, 35, 35), clLime);  // upper lies above lower
    EXPECT_EQ(PaintedPixel(*form, 75, 75), clBlue);
    lower->BringToFront();
    EXPECT_EQ(PaintedPixel(*form, 35, 35), clRed);
    lower->Hide();
    EXPECT_EQ(PaintedPixel(*form, 15, 15), clBlue);
}

TEST(PaintTest, WindowedChildWithParentBackgroundShowsTheParentBeneath) {
    auto form = MakeForm<TForm>(nullptr);
    form->SetBounds(0, 0, 100, 80);
    form->SetColor(clBlue);
    auto* picture = new FilledGraphic(form.get());
    picture->SetParent(form.get());
    picture->SetBounds(0, 0, 50, 80);
    picture->SetColor(clRed);
    auto* panel = new FilledCustom(form.get());
    panel->SetParent(form.get());
    panel->SetBounds(40, 10, 20, 20);
    panel->SetParentBackground(true);

    EXPECT_EQ(PaintedPixel(*form, 45, 25), clRed);     // left part of the panel: over the picture
    EXPECT_EQ(PaintedPixel(*form, 55, 25), clBlue);    // right part: over the form colour
    EXPECT_EQ(PaintedPixel(*form, 43, 13), clYellow);  // its own drawing on top
    panel->SetParentBackground(false);
    panel->SetColor(clWhite);
    EXPECT_EQ(PaintedPixel(*form, 45, 25), clWhite);
}

TEST(PaintTest, ShownFormPutsItsFaceOnTheScreen) {
    auto form = MakeForm<TForm>(nullptr);
    form->SetBounds(50, 50, 120, 90);
    form->SetColor(RGBColor(0x12, 0x34, 0x56));
    auto* child = new FilledGraphic(form.get());
    child->SetParent(form.get());
    child->SetBounds(60, 40, 30, 30);
    child->SetColor(clRed);
    form->Show();
    const HWND window = form->Handle();
    EXPECT_TRUE(WaitUntil([&] { return test::WindowPixel(window, 70, 50) == clRed; }));
    EXPECT_EQ(test::WindowPixel(window, 10, 10), RGBColor(0x12, 0x34, 0x56));
}

TEST(ModalTest, AnswersTheModalResultSetWhileTheLoopRuns) {
    struct Case {
        const char* name;
        std::function<void(TForm&)> act;
        TModalResult expected;
    };
    const Case cases[] = {
        {"result set by a handler", [](TForm& f) { f.SetModalResult(mrOk); }, mrOk},
        {"another result", [](TForm& f) { f.SetModalResult(mrRetry); }, mrRetry},
        {"closed by the system", [](TForm& f) { PostMessageW(f.Handle(), WM_CLOSE, 0, 0); },
         mrCancel},
        {"Close()", [](TForm& f) { f.Close(); }, mrCancel},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto form = MakeForm<TForm>(nullptr);
        form->SetBounds(10, 10, 100, 100);
        TTimer timer(form.get());
        timer.SetInterval(10);
        bool shownWhileModal = false;
        timer.OnTimer = [&](TComponent*) {
            timer.SetEnabled(false);
            shownWhileModal = form->Modal() && IsWindowVisible(form->Handle());
            c.act(*form);
        };
        EXPECT_EQ(form->ShowModal(), c.expected);
        EXPECT_TRUE(shownWhileModal);
        EXPECT_FALSE(form->Visible());
        EXPECT_FALSE(form->Modal());
    }
}

TEST(ModalTest, OtherWindowsAreDisabledOnlyWhileTheModalLoopRuns) {
    auto owner = MakeForm<TForm>(nullptr);
    owner->SetBounds(0, 0, 200, 200);
    owner->Show();
    auto dialog = MakeForm<TForm>(nullptr);
    dialog->SetBounds(20, 20, 100, 100);
    bool ownerEnabledDuringLoop = true;
    TTimer timer(dialog.get());
    timer.SetInterval(10);
    timer.OnTimer = [&](TComponent*) {
        ownerEnabledDuringLoop = IsWindowEnabled(owner->Handle()) != FALSE;
        dialog->SetModalResult(mrOk);
    };
    EXPECT_EQ(dialog->ShowModal(), mrOk);
    EXPECT_FALSE(ownerEnabledDuringLoop);
    EXPECT_TRUE(IsWindowEnabled(owner->Handle()));
}

TEST(ModalTest, CloseQueryCanKeepTheLoopRunning) {
    auto form = MakeForm<TForm>(nullptr);
    form->SetBounds(10, 10, 100, 100);
    int asked = 0;
    form->OnCloseQuery = [&](TComponent*, bool& canClose) { canClose = ++asked > 1; };
    TTimer timer(form.get());
    timer.SetInterval(10);
    timer.OnTimer = [&](TComponent*) { form->SetModalResult(mrOk); };
    EXPECT_EQ(form->ShowModal(), mrOk);
    EXPECT_EQ(asked, 2);
}

}  // namespace
}  // namespace qv
