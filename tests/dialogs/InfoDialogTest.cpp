// The download-failure dialog as a user meets it: real windows, real mouse and keyboard input.
#include <gtest/gtest.h>

#include "DialogDriver.h"
#include "Screenshot.h"
#include "ShadowFinder.h"
#include "app/f_Info.h"
#include "controls/PngImageButton.h"
#include "ui/Application.h"

namespace qv {
namespace {

using namespace test;

const std::wstring kTitle = L"提示信息";

// Where the user clicks, from the layout: the bottom bar is the lowest 41 pixels of the
// 413 x 161 dialog; the close button is the right-most 30 x 27 of the title bar.
constexpr POINT kReload{331 + 33, 161 - 41 + 8 + 13};
constexpr POINT kBrowser{19 + 52, 161 - 41 + 15 + 8};
constexpr POINT kCloseButton{413 - 15, 13};
constexpr POINT kTitleBar{200, 17};
constexpr POINT kTitleText{30, 15};

void ParkMouse() {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    input.mi.dy = 65535;
    SendInput(1, &input, sizeof input);
}

TEST(InfoLayout, ControlsSitWhereTheLayoutPutsThem) {
    auto dialog = MakeForm<Tfrm_Info>(nullptr);
    EXPECT_EQ(dialog->ClientWidth(), 413);
    EXPECT_EQ(dialog->ClientHeight(), 161);
    EXPECT_EQ(dialog->Caption(), kTitle);
    EXPECT_EQ(dialog->Answer(), 0);
    const struct {
        const char* name;
        TControl* control;
        RECT bounds;  // left, top, right, bottom in the parent
    } cases[] = {
        {"Label1", dialog->Label1, {75, 53, 75 + 329, 53 + 43}},
        {"Image1", dialog->Image1, {13, 49, 13 + 60, 49 + 54}},
        {"pnl_Titile", dialog->pnl_Titile, {0, 0, 413, 35}},
        {"vantlePnlTopRight", dialog->vantlePnlTopRight, {313, 0, 413, 35}},
        {"pnlMinClose", dialog->pnlMinClose, {332, 0, 413, 27}},
        {"btnClose", dialog->btnClose, {51, 0, 81, 27}},
        {"pnl_bottom", dialog->pnl_bottom, {0, 120, 413, 161}},
        {"btnReLoad", dialog->btnReLoad, {331, 8, 331 + 66, 8 + 27}},
        {"btnUseIE", dialog->btnUseIE, {19, 15, 19 + 105, 15 + 17}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const RECT r = c.control->BoundsRect();
        EXPECT_EQ(r.left, c.bounds.left);
        EXPECT_EQ(r.top, c.bounds.top);
        EXPECT_EQ(r.right, c.bounds.right);
        EXPECT_EQ(r.bottom, c.bounds.bottom);
    }
    EXPECT_EQ(dialog->Label1->Caption(), L"在线下载异常，您可以选择重新下载或直接下载安装包安装");
    EXPECT_TRUE(dialog->Label1->WordWrap());
    EXPECT_EQ(dialog->lblSysTitle->Caption(), kTitle);
    EXPECT_EQ(dialog->lblSysTitle->Left(), 17);
    EXPECT_EQ(dialog->lblSysTitle->Top(), 7);
    EXPECT_TRUE(dialog->lblSysTitle->Font().Style() & fsBold);
    for (TControl* hand :
         std::initializer_list<TControl*>{dialog->btnClose, dialog->btnReLoad, dialog->btnUseIE}) {
        EXPECT_EQ(hand->Cursor(), crHandPoint);
    }
}

enum class Action { Reload, Browser, CloseButton, AltF4, EscapeThenReload };

struct AnswerCase {
    const char* what;
    Action action;
    int answer;
};

class InfoAnswers : public testing::TestWithParam<AnswerCase> {};

TEST_P(InfoAnswers, AnswerFollowsTheUsersChoice) {
    const AnswerCase c = GetParam();
    ParkMouse();
    const int answer = RunDriven(ShowInfo, kTitle, [&] {
        const HWND dialog = WaitForDialog(kTitle);
        ASSERT_TRUE(dialog);
        switch (c.action) {
            case Action::Reload:
                Click(dialog, kReload);
                break;
            case Action::Browser:
                Click(dialog, kBrowser);
                break;
            case Action::CloseButton:
                Click(dialog, kCloseButton);
                break;
            case Action::AltF4:
                PressKeys({VK_MENU, VK_F4});
                break;
            case Action::EscapeThenReload:
                // Esc does nothing: the dialog is still there to take the next click.
                PressKey(VK_ESCAPE);
                Click(dialog, kReload);
                break;
        }
    });
    EXPECT_EQ(answer, c.answer);
}

INSTANTIATE_TEST_SUITE_P(Table, InfoAnswers,
                         testing::Values(AnswerCase{"reload", Action::Reload, 2},
                                         AnswerCase{"browser", Action::Browser, 1},
                                         AnswerCase{"close button", Action::CloseButton, 0},
                                         AnswerCase{"closed by the system", Action::AltF4, 0},
                                         AnswerCase{"Esc ignored", Action::EscapeThenReload, 2}),
                         [](const auto& info) {
                             std::string name = info.param.what;
                             for (char& ch : name) {
                                 if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
                             }
                             return name;
                         });

TEST(InfoWindow, OpensAtItsDesignedPlaceWithAShadow) {
    RECT r{};
    bool shadow = false;
    RunDriven(ShowInfo, kTitle, [&] {
        const HWND dialog = WaitForDialog(kTitle);
        ASSERT_TRUE(dialog);
        r = WindowRectOf(dialog);
        shadow = WaitUntil([&] { return FindShadowOf(dialog) != nullptr; });
        Click(dialog, kCloseButton);
    });
    EXPECT_EQ(r.left, 482);
    EXPECT_EQ(r.top, 281);
    EXPECT_EQ(r.right - r.left, 413);
    EXPECT_EQ(r.bottom - r.top, 161);
    EXPECT_TRUE(shadow);
}

TEST(InfoWindow, DraggingTheTitleBarMovesTheDialogAndItsShadow) {
    RECT before{}, after{}, afterTextPress{};
    bool shadowFollowed = false;
    ParkMouse();
    const int answer = RunDriven(ShowInfo, kTitle, [&] {
        const HWND dialog = WaitForDialog(kTitle);
        ASSERT_TRUE(dialog);
        WaitUntil([&] { return FindShadowOf(dialog) != nullptr; });
        before = WindowRectOf(dialog);
        Drag(dialog, kTitleBar, -70, 50);
        WaitUntil([&] { return WindowRectOf(dialog).left != before.left; });
        after = WindowRectOf(dialog);
        shadowFollowed = WaitUntil([&] { return FindShadowOf(dialog) != nullptr; });
        // A press on the title text belongs to the label: it does not drag. The click that
        // follows it is handled after it, so the position read then is final.
        Drag(dialog, kTitleText, 40, 40, false);
        Click(dialog, kReload);
        afterTextPress = WindowRectOf(dialog);
    });
    EXPECT_EQ(after.left - before.left, -70);
    EXPECT_EQ(after.top - before.top, 50);
    EXPECT_TRUE(shadowFollowed);
    EXPECT_EQ(afterTextPress.left, after.left);
    EXPECT_EQ(afterTextPress.top, after.top);
    EXPECT_EQ(answer, 2);
}

TEST(InfoScreenshot, FailureDialogLooksAsDesigned) {
    std::string problem = "the dialog did not show";
    ParkMouse();
    RunDriven(ShowInfo, kTitle, [&] {
        const HWND dialog = WaitForDialog(kTitle);
        ASSERT_TRUE(dialog);
        WaitUntil([&] { return FindShadowOf(dialog) != nullptr; });
        RECT area = WindowRectOf(dialog);
        InflateRect(&area, 16, 16);
        WaitUntil([&] {
            problem = MatchReference(CaptureScreen(area), "info_dialog");
            return problem.empty();
        });
        Click(dialog, kCloseButton);
    });
    EXPECT_EQ(problem, "");
}

}  // namespace
}  // namespace qv
