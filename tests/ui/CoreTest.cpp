// Forms, window-less and windowed controls, painting and the modal loop.
#include <gtest/gtest.h>

#include "UiTestSupport.h"
#include "ui/CustomControl.h"
#include "ui/GraphicControl.h"
#include "ui/Timer.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

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

TEST(FormTest, ADeletedWindowedChildLeavesTheTabOrder) {
    auto form = MakeForm<TForm>(nullptr);
    auto* first = new FilledCustom(form.get());
    auto* second = new FilledCustom(form.get());
    first->SetParent(form.get());
    second->SetParent(form.get());
    delete first;
    std::vector<TWinControl*> order;
    form->GetTabOrderList(order);
    EXPECT_EQ(order, std::vector<TWinControl*>{second});
}

TEST(FormTest, CreateRunsOnceAtConstructionAndShowBeforeTheWindowAppears) {
    class Counting : public TForm {
    public:
        explicit Counting(TComponent* owner) : TForm(owner) {
            OnCreate = [this](TComponent*) { created = ++order; };
            OnShow = [this](TComponent*) {
                shown = ++order;
                visibleDuringShow = IsWindowVisible(Handle()) != FALSE;
            };
        }
        int order = 0, created = 0, shown = 0;
        bool visibleDuringShow = true;
    };
    auto form = MakeForm<Counting>(nullptr);
    EXPECT_EQ(form->created, 1);
    EXPECT_EQ(form->shown, 0);
    form->AfterConstruction();  // a second call changes nothing
    EXPECT_EQ(form->order, 1);
    form->SetBounds(0, 0, 50, 50);
    form->Show();
    EXPECT_EQ(form->shown, 2);
    EXPECT_FALSE(form->visibleDuringShow);
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
}

TEST(FormTest, CreationParametersCanMakeAToolWindowWithoutOwnerThatStaysOnTop) {
    class ToolForm : public TForm {
    public:
        using TForm::TForm;

    protected:
        void CreateParams(TCreateParams& params) override {
            TForm::CreateParams(params);
            params.WndParent = nullptr;
            params.ExStyle |= WS_EX_TOOLWINDOW;
        }
    };
    auto form = MakeForm<ToolForm>(nullptr);
    form->SetBounds(0, 0, 50, 50);
    form->SetFormStyle(fsStayOnTop);
    form->Show();
    const LONG exStyle = GetWindowLongW(form->Handle(), GWL_EXSTYLE);
    EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
    EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
    EXPECT_EQ(GetWindow(form->Handle(), GW_OWNER), nullptr);
    form->SetTransparentColorValue(clFuchsia);
    form->SetTransparentColor(true);
    EXPECT_TRUE(GetWindowLongW(form->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
    COLORREF key = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(form->Handle(), &key, nullptr, &flags));
    EXPECT_EQ(key, RGB(255, 0, 255));
    EXPECT_TRUE(flags & LWA_COLORKEY);
}

TEST(WindowProcTest, AReplacedWindowProcedureSeesMessagesFirstAndChainsToTheOldOne) {
    auto form = MakeForm<TForm>(nullptr);
    form->SetBounds(10, 10, 120, 90);
    std::vector<UINT> seen;
    bool showingWhenNotified = false;
    auto old = form->WindowProc;
    form->WindowProc = [&](TMessage& m) {
        old(m);  // the form's own handling first
        seen.push_back(m.Msg);
        if (m.Msg == CM_SHOWINGCHANGED) showingWhenNotified = form->Showing();
    };
    form->Show();
    SetWindowPos(form->Handle(), nullptr, 30, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    auto saw = [&](UINT msg) { return std::find(seen.begin(), seen.end(), msg) != seen.end(); };
    EXPECT_TRUE(saw(CM_SHOWINGCHANGED));
    EXPECT_TRUE(showingWhenNotified);
    EXPECT_TRUE(saw(WM_WINDOWPOSCHANGED));
    EXPECT_EQ(form->Left(), 30) << "the chained form procedure still handled the move";
    EXPECT_EQ(form->Top(), 40);

    form->WindowProc = old;  // detached
    seen.clear();
    form->Hide();
    EXPECT_TRUE(seen.empty());
    EXPECT_FALSE(IsWindowVisible(form->Handle()));
}

class Thrower : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
};

TEST(WindowProcTest, AnExceptionInAHandlerStaysInsideTheWindowProcedure) {
    auto form = MakeForm<TForm>(nullptr);
    form->SetBounds(0, 0, 100, 100);
    auto* control = new Thrower(form.get());
    control->SetParent(form.get());
    control->SetBounds(0, 0, 50, 50);
    int clicks = 0;
    control->OnClick = [&](TComponent*) {
        ++clicks;
        throw std::runtime_error("handler failed");
    };
    form->Show();
    const HWND window = control->Handle();
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(clicks, 2) << "the control keeps working after the failure";
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST(WindowProcTest, AHandlerMayDestroyItsOwnWindowAndAFormMayReleaseItself) {
    auto form = MakeForm<TForm>(nullptr);
    form->SetBounds(0, 0, 100, 100);
    auto* control = new Thrower(form.get());
    control->SetParent(form.get());
    control->SetBounds(0, 0, 50, 50);
    control->OnClick = [&](TComponent*) { control->DestroyHandle(); };
    form->Show();
    const HWND window = control->Handle();
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(control->HandleAllocated());
    EXPECT_TRUE(control->Handle()) << "the window can be made again";

    class Watcher : public TComponent {
    public:
        using TComponent::TComponent;
        bool gone = false;

    protected:
        void Notification(TComponent*, TOperation operation) override {
            gone = gone || operation == opRemove;
        }
    };
    Watcher watcher(nullptr);
    auto* released = new TForm(nullptr);
    released->AfterConstruction();
    released->SetBounds(0, 0, 60, 60);
    released->FreeNotification(&watcher);
    released->OnClick = [released](TComponent*) { released->Release(); };
    released->Show();
    const HWND releasedWindow = released->Handle();
    SendMessageW(releasedWindow, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(releasedWindow, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_FALSE(watcher.gone) << "released later, not inside its own handler";
    ASSERT_TRUE(WaitUntil([&] { return watcher.gone; }));
    EXPECT_FALSE(IsWindow(releasedWindow));
}

}  // namespace
}  // namespace qv
