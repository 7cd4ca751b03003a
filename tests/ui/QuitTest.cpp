// A quit request that arrives inside a nested message pump. The application object is global
// and a quit cannot be taken back, so this program holds only this story, step by step.
#include <gtest/gtest.h>

#include "UiTestSupport.h"
#include "ui/Timer.h"

namespace qv {
namespace {

TEST(QuitTest, AQuitInsideANestedPumpEndsEveryLoopWithItsCancelAnswer) {
    // Step 1: two modal forms, one inside the other; inside the inner one a long operation pumps
    // messages (as the download's progress callback does) and a WM_QUIT arrives there.
    auto outer = MakeForm<TForm>(nullptr);
    outer->SetBounds(10, 10, 200, 150);
    auto inner = MakeForm<TForm>(nullptr);
    inner->SetBounds(40, 40, 100, 80);
    TModalResult innerResult = mrNone;
    bool pumpReturned = false;
    bool innerShown = false;

    TTimer startInner(outer.get());
    startInner.SetInterval(10);
    startInner.OnTimer = [&](TComponent*) {
        startInner.SetEnabled(false);
        innerResult = inner->ShowModal();
    };
    TTimer quitWhilePumping(inner.get());
    quitWhilePumping.SetInterval(10);
    quitWhilePumping.OnTimer = [&](TComponent*) {
        quitWhilePumping.SetEnabled(false);
        innerShown = inner->Modal() && IsWindowVisible(inner->Handle());
        PostQuitMessage(0);
        Application().ProcessMessages();  // takes the WM_QUIT and returns at once
        pumpReturned = true;
    };
    const TModalResult outerResult = outer->ShowModal();

    EXPECT_TRUE(innerShown);
    EXPECT_TRUE(pumpReturned);
    EXPECT_TRUE(Application().Terminated());
    EXPECT_EQ(innerResult, mrCancel);
    EXPECT_EQ(outerResult, mrCancel);
    EXPECT_FALSE(IsWindowVisible(inner->Handle()));
    EXPECT_FALSE(IsWindowVisible(outer->Handle()));
    EXPECT_TRUE(IsWindowEnabled(outer->Handle())) << "windows disabled by the loops are enabled";

    // Step 2: a modal form asked for afterwards answers cancel without ever showing.
    auto late = MakeForm<TForm>(nullptr);
    late->SetBounds(10, 10, 100, 100);
    bool lateShown = false;
    late->OnShow = [&](TComponent*) { lateShown = true; };
    EXPECT_EQ(late->ShowModal(), mrCancel);
    EXPECT_FALSE(lateShown);

    // Step 3: the main form carries the title to the taskbar and minimises with the
    // application; back in the main loop, the application ends.
    auto* mainForm = Application().CreateForm<TForm>();
    mainForm->SetBounds(0, 0, 100, 100);
    EXPECT_EQ(Application().MainForm(), mainForm);
    Application().SetTitle(L"Quorvane");
    mainForm->Show();
    wchar_t title[32] = {};
    GetWindowTextW(mainForm->Handle(), title, 32);
    EXPECT_STREQ(title, L"Quorvane");
    Application().Minimize();
    EXPECT_TRUE(IsIconic(mainForm->Handle()));
    Application().Restore();
    EXPECT_FALSE(IsIconic(mainForm->Handle()));
    const ULONGLONG started = GetTickCount64();
    Application().Run();
    EXPECT_LT(GetTickCount64() - started, 5000u) << "Run returns instead of waiting for input";
}

}  // namespace
}  // namespace qv
