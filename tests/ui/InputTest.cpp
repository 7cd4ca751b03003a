// Keyboard and mouse as the user gives them: real input through the virtual display's X server.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "UiTestSupport.h"
#include "ui/CheckBox.h"
#include "ui/CustomControl.h"
#include "ui/GraphicControl.h"
#include "ui/Panel.h"

namespace qv {
namespace {

using test::MoveMouseTo;
using test::WaitUntil;
using test::Xdotool;

// A focusable windowed control that records the keys it gets.
class KeyTarget : public TCustomControl {
public:
    explicit KeyTarget(TComponent* owner) : TCustomControl(owner) { SetTabStop(true); }
    std::vector<WORD> keys;
    int entered = 0;

protected:
    void KeyDown(WORD& key, TShiftState shift) override {
        keys.push_back(key);
        TCustomControl::KeyDown(key, shift);
    }
    void DoEnter() override {
        ++entered;
        TCustomControl::DoEnter();
    }
};

// A window-less control that records its mouse events.
class MouseTarget : public TGraphicControl {
public:
    explicit MouseTarget(TComponent* owner) : TGraphicControl(owner) {
        OnClick = [this](TComponent*) { log.push_back("click"); };
        OnDblClick = [this](TComponent*) { log.push_back("dblclick"); };
        OnMouseEnter = [this](TComponent*) { log.push_back("enter"); };
        OnMouseLeave = [this](TComponent*) { log.push_back("leave"); };
        OnMouseDown = [this](TComponent*, TMouseButton, TShiftState, int, int) {
            log.push_back("down");
        };
        OnMouseUp = [this](TComponent*, TMouseButton, TShiftState, int, int) {
            log.push_back("up");
        };
    }
    std::vector<std::string> log;

    bool Saw(const std::string& event) const {
        return std::find(log.begin(), log.end(), event) != log.end();
    }
};

class InputTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = MakeForm<TForm>(nullptr);
        form->SetBounds(100, 100, 320, 220);
        form->SetColor(clWhite);
        for (int i = 0; i < 6; ++i) {
            targets[i] = new KeyTarget(form.get());
            targets[i]->SetParent(form.get());
            targets[i]->SetBounds(10 + i * 50, 10, 40, 30);
        }
        // Tab order B, C, A; D hidden, E disabled, F not a tab stop.
        targets[1]->SetTabOrder(0);
        targets[2]->SetTabOrder(1);
        targets[0]->SetTabOrder(2);
        targets[3]->Hide();
        targets[4]->SetEnabled(false);
        targets[5]->SetTabStop(false);
    }

    void ShowAndFocus() {
        form->Show();
        ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(form->Handle()) != FALSE; }));
        ASSERT_TRUE(test::PrepareForInput(form->Handle()));
        ASSERT_TRUE(WaitUntil([&] { return targets[1]->Focused(); }))
            << "the first control in tab order gets the focus when the form is shown";
        // A freshly shown window may miss the first pointer events: move until it sees one,
        // so that the test's own input is handled in the order it is sent.
        POINT seen{-1, -1};
        form->OnMouseMove = [&](TComponent*, TShiftState, int x, int y) { seen = {x, y}; };
        bool ready = false;
        for (int attempt = 0; attempt < 20 && !ready; ++attempt) {
            ASSERT_TRUE(MoveMouseTo(*form, 300 - attempt, 200));
            ready = WaitUntil([&] { return seen.x == 300 - attempt && seen.y == 200; }, 250);
        }
        form->OnMouseMove = nullptr;
        ASSERT_TRUE(ready) << "the window never saw the pointer";
    }

    KeyTarget* Focused() const {
        for (KeyTarget* t : targets) {
            if (t->Focused()) return t;
        }
        return nullptr;
    }

    std::unique_ptr<TForm> form;
    KeyTarget* targets[6];
};

TEST_F(InputTest, TabAndShiftTabFollowTheTabOrderSkippingWhatCannotTakeTheFocus) {
    ShowAndFocus();
    struct Step {
        const wchar_t* keys;
        int expected;
    };
    const Step steps[] = {
        {L"Tab", 2}, {L"Tab", 0}, {L"Tab", 1}, {L"shift+Tab", 0}, {L"shift+Tab", 2},
    };
    for (const Step& step : steps) {
        ASSERT_TRUE(Xdotool(std::wstring(L"key ") + step.keys));
        EXPECT_TRUE(WaitUntil([&] { return Focused() == targets[step.expected]; }))
            << "after " << std::string(step.keys, step.keys + wcslen(step.keys)) << " expected "
            << step.expected;
    }
    EXPECT_EQ(targets[3]->entered + targets[4]->entered + targets[5]->entered, 0);
    for (KeyTarget* t : targets) {
        EXPECT_EQ(std::count(t->keys.begin(), t->keys.end(), VK_TAB), 0)
            << "Tab moves the focus and is no key for the controls";
    }
}

TEST_F(InputTest, EnterAndSpaceReachTheFocusedControlAndKeyPreviewSeesKeysFirst) {
    std::vector<WORD> previewed;
    form->SetKeyPreview(true);
    form->OnKeyDown = [&](TComponent*, WORD& key, TShiftState) {
        previewed.push_back(key);
        if (key == VK_ESCAPE) key = 0;  // the form takes Escape
    };
    ShowAndFocus();
    ASSERT_TRUE(Xdotool(L"key Return space Escape"));
    ASSERT_TRUE(WaitUntil([&] { return previewed.size() >= 3; }));
    EXPECT_EQ(previewed, (std::vector<WORD>{VK_RETURN, VK_SPACE, VK_ESCAPE}));
    EXPECT_TRUE(WaitUntil([&] { return targets[1]->keys.size() >= 2; }));
    EXPECT_EQ(targets[1]->keys, (std::vector<WORD>{VK_RETURN, VK_SPACE}));
}

TEST_F(InputTest, AcceleratorCharacterReachesTheControlWhoseCaptionHasIt) {
    auto* remind = new TCheckBox(form.get());
    remind->SetParent(form.get());
    remind->SetBounds(10, 60, 150, 20);
    remind->SetCaption(L"不再提醒(&R)");
    int clicks = 0;
    remind->OnClick = [&](TComponent*) { ++clicks; };
    ShowAndFocus();
    ASSERT_TRUE(Xdotool(L"key r"));
    ASSERT_TRUE(WaitUntil([&] { return clicks == 1; }));
    EXPECT_TRUE(remind->Checked());
    ASSERT_TRUE(Xdotool(L"key alt+r"));
    ASSERT_TRUE(WaitUntil([&] { return clicks == 2; }));
    EXPECT_FALSE(remind->Checked());
    ASSERT_TRUE(Xdotool(L"key x"));  // no control has x: nothing happens, focus stays
    targets[1]->SetFocus();
    ASSERT_TRUE(Xdotool(L"key Return"));
    ASSERT_TRUE(WaitUntil([&] { return !targets[1]->keys.empty(); }));
    EXPECT_EQ(clicks, 2);
}

TEST_F(InputTest, WindowlessControlGetsEnterLeaveClickAndDoubleClick) {
    auto* target = new MouseTarget(form.get());
    target->SetParent(form.get());
    target->SetBounds(20, 120, 60, 40);
    target->SetCursor(crHandPoint);
    ShowAndFocus();
    // Each step waits for its effect before the next one is sent, as a user's hand would.
    ASSERT_TRUE(MoveMouseTo(*target, 10, 10));
    ASSERT_TRUE(WaitUntil([&] { return target->Saw("enter"); }));
    EXPECT_TRUE(WaitUntil([&] { return GetCursor() == LoadCursorW(nullptr, IDC_HAND); }));
    ASSERT_TRUE(Xdotool(L"click 1"));
    ASSERT_TRUE(WaitUntil([&] { return target->Saw("click"); }))
        << ::testing::PrintToString(target->log);
    ASSERT_TRUE(Xdotool(L"click --repeat 2 --delay 60 1"));
    EXPECT_TRUE(WaitUntil([&] { return target->Saw("dblclick"); }));
    ASSERT_TRUE(MoveMouseTo(*form, 250, 180));
    EXPECT_TRUE(WaitUntil([&] { return target->Saw("leave"); }));
    EXPECT_TRUE(WaitUntil([&] { return GetCursor() != LoadCursorW(nullptr, IDC_HAND); }));
}

TEST_F(InputTest, PressHeldWhileLeavingIsNoClickButTheReleaseStillComes) {
    auto* target = new MouseTarget(form.get());
    target->SetParent(form.get());
    target->SetBounds(20, 120, 60, 40);
    ShowAndFocus();
    ASSERT_TRUE(MoveMouseTo(*target, 10, 10));
    ASSERT_TRUE(WaitUntil([&] { return target->Saw("enter"); }));
    ASSERT_TRUE(Xdotool(L"mousedown 1"));
    ASSERT_TRUE(WaitUntil([&] { return target->Saw("down"); }));
    ASSERT_TRUE(MoveMouseTo(*form, 250, 180));
    ASSERT_TRUE(WaitUntil([&] { return target->Saw("leave"); }));
    ASSERT_TRUE(Xdotool(L"mouseup 1"));
    ASSERT_TRUE(WaitUntil([&] { return target->Saw("up"); }))
        << "the control holds the mouse while the button is down; saw "
        << ::testing::PrintToString(target->log);
    EXPECT_FALSE(target->Saw("click"));
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(InputTest, ControlsInADisabledPanelGetNoClicks) {
    auto* panel = new TPanel(form.get());
    panel->SetParent(form.get());
    panel->SetBounds(100, 100, 150, 80);
    auto* inside = new MouseTarget(form.get());
    inside->SetParent(panel);
    inside->SetBounds(10, 10, 60, 40);
    panel->SetEnabled(false);
    ShowAndFocus();
    // A disabled window takes no mouse input: the press goes to the form beneath it.
    std::vector<POINT> formUps;
    form->OnMouseUp = [&](TComponent*, TMouseButton, TShiftState, int x, int y) {
        formUps.push_back({x, y});
    };
    POINT formSaw{-1, -1};
    form->OnMouseMove = [&](TComponent*, TShiftState, int x, int y) { formSaw = {x, y}; };
    ASSERT_TRUE(MoveMouseTo(*inside, 10, 10));
    ASSERT_TRUE(WaitUntil([&] { return formSaw.x == 120 && formSaw.y == 120; }));
    ASSERT_TRUE(Xdotool(L"click 1"));
    ASSERT_TRUE(WaitUntil([&] { return !formUps.empty(); }));
    EXPECT_EQ(formUps[0].x, 120);
    EXPECT_EQ(formUps[0].y, 120);
    EXPECT_FALSE(inside->Saw("click"));
    EXPECT_FALSE(inside->Saw("down"));

    panel->SetEnabled(true);
    ASSERT_TRUE(MoveMouseTo(*inside, 12, 12));
    ASSERT_TRUE(WaitUntil([&] { return inside->Saw("enter"); }));
    ASSERT_TRUE(Xdotool(L"click 1"));
    EXPECT_TRUE(WaitUntil([&] { return inside->Saw("click"); }))
        << ::testing::PrintToString(inside->log);
    EXPECT_EQ(formUps.size(), 1u);
}

}  // namespace
}  // namespace qv
