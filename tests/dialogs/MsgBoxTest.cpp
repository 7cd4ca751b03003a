// The message box as a user meets it: real windows, real mouse and keyboard input.
#include <gtest/gtest.h>

#include <atomic>

#include "DialogDriver.h"
#include "Screenshot.h"
#include "ShadowFinder.h"
#include "controls/FormShadow.h"
#include "dialogs/ModalSpeedButton.h"
#include "dialogs/MsgBox.h"
#include "dialogs/MsgDlgLayout.h"
#include "dialogs/f_MsgDlg.h"
#include "ui/Application.h"

namespace qv {
namespace {

using namespace test;
using M = MsgDlgMetrics;

const std::wstring kShortText = L"请选择保存路径。";
const std::wstring kQuestion = L"当前下载还没有完成，如果关闭软件，需要重新下载，确定关闭软件吗？";
const std::wstring kLongText =
    L"C:\\Program Files\\Quorvane\\下载\\Quorvane安装包（正式版）.exe已存在，需要重新下载吗？"
    L"如果重新下载，已经下载的文件将被删除，下载完成后可以直接安装。网络较慢时下载需要几分钟，"
    L"请耐心等待下载完成，不要关闭本窗口。";

SIZE ClientSize(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    return {r.right, r.bottom};
}

// Where the user clicks, from the dialog's layout: the buttons sit in the button bar (the
// bottom 46 pixels inside the 1-pixel frame), 8 pixels below its top.
POINT AnswerButtonCentre(HWND dialog, TMsgKind kind, MsgButton button) {
    const SIZE size = ClientSize(dialog);
    const ButtonLefts lefts = PlaceButtons(kind, size.cx);
    return {1 + lefts.answer[static_cast<int>(button)] + M::kButtonWidth / 2, size.cy - 24};
}

POINT DetailButtonCentre(HWND dialog, TMsgKind kind) {
    const SIZE size = ClientSize(dialog);
    return {1 + PlaceButtons(kind, size.cx).detail + M::kDetailButtonWidth / 2, size.cy - 24};
}

// The close image: 26 x 26, 4 pixels below the top and 3 from the right of the title bar.
POINT CloseImageCentre(HWND dialog) {
    return {ClientSize(dialog).cx - 17, 18};
}
POINT CloseImageCorner(HWND dialog) {
    return {ClientSize(dialog).cx - 28, 7};
}
POINT TitleBarPoint() {
    return {150, 18};
}
POINT TitleTextPoint() {
    return {30, 16};
}
// The remind box: 56 pixels in, at the top of the 24-pixel panel at the message panel's foot.
POINT RemindBoxCentre() {
    return {1 + 56 + 8, 1 + 35 + 102 - 24 + 8};
}

Rgb ScreenPixel(HWND window, POINT client) {
    const POINT p = ClientToScreenPoint(window, client);
    return CaptureScreen({p.x, p.y, p.x + 1, p.y + 1}).At(0, 0);
}
bool IsCloseRed(Rgb p) {
    return p.r > 180 && p.g < 110 && p.b < 80;
}
bool IsTitleBlue(Rgb p) {
    return p.b > 180 && p.r < 80;
}

void ParkMouse() {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    input.mi.dx = 0;
    input.mi.dy = 65535;
    SendInput(1, &input, sizeof input);
}

// The caption of a kind's dialog.
std::wstring TitleOf(int kind) {
    return std::wstring(LookOfKind(static_cast<TMsgKind>(kind)).title);
}

// ---------------------------------------------------------------------------------------------
// The form as MsgBox lays it out, before it shows.

std::unique_ptr<Tfrm_MsgDlg> PreparedDialog(TMsgKind kind, const std::wstring& msg,
                                            const std::wstring& detail = {},
                                            bool remindChecked = false,
                                            const std::wstring& remindText = {}) {
    auto dialog = MakeForm<Tfrm_MsgDlg>(&Application());
    dialog->Prepare(kind, msg, detail, remindChecked, remindText);
    return dialog;
}

// One-line width of the message as the label draws it, measured here independently.
SIZE OneLineExtent(Tfrm_MsgDlg& dialog, const std::wstring& msg) {
    ScopedGetDC screen(nullptr);
    ScopedSelectObject font(screen.get(), dialog.lblMsg->Font().Handle());
    const std::wstring caption = msg + L"  ";
    RECT r{};
    DrawTextW(screen.get(), caption.c_str(), static_cast<int>(caption.size()), &r,
              DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS);
    return {r.right, r.bottom};
}

TEST(MsgDlgLayout, EachKindShowsItsTitleIconAndButtons) {
    for (int kind : {0, 1, 2, 3, 4, 5, 6, 7, 255}) {
        SCOPED_TRACE(kind);
        auto dialog = PreparedDialog(static_cast<TMsgKind>(kind), kShortText);
        const MsgKindLook look = LookOfKind(static_cast<TMsgKind>(kind));
        EXPECT_EQ(dialog->lblSysTitle->Caption(), look.title);
        EXPECT_EQ(dialog->Caption(), look.title);
        const std::pair<TImage*, MsgIcon> icons[] = {{dialog->imgInfo, MsgIcon::Info},
                                                     {dialog->imgError, MsgIcon::Error},
                                                     {dialog->imgWarn, MsgIcon::Warn},
                                                     {dialog->imgConfirm, MsgIcon::Confirm}};
        for (const auto& [image, icon] : icons) {
            EXPECT_EQ(image->Visible(), icon == look.icon) << static_cast<int>(icon);
            EXPECT_FALSE(image->Picture().Empty());
        }
        TModalSpeedButton* const buttons[] = {dialog->sBtnLeft, dialog->sBtnCenter,
                                              dialog->sBtnRight};
        const ButtonLefts lefts = PlaceButtons(static_cast<TMsgKind>(kind), dialog->Width());
        for (int i = 0; i < kMsgButtonCount; ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(buttons[i]->Visible(), !look.captions[i].empty());
            if (!buttons[i]->Visible()) continue;
            EXPECT_EQ(buttons[i]->Caption(), look.captions[i]);
            EXPECT_EQ(buttons[i]->Left(), lefts.answer[i]);
            EXPECT_EQ(buttons[i]->Top(), 8);
            EXPECT_EQ(buttons[i]->Width(), 67);
            EXPECT_EQ(buttons[i]->Height(), 30);
        }
        EXPECT_FALSE(dialog->sBtnDetail->Visible());
        EXPECT_FALSE(dialog->pnlRemind->Visible());
        EXPECT_FALSE(dialog->pnlDetail->Visible());
    }
}

TEST(MsgDlgLayout, MessageWidensOrWrapsTheDialog) {
    const struct {
        const char* what;
        std::wstring msg;
    } cases[] = {{"short", kShortText}, {"one line", kQuestion}, {"wrapped", kLongText}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto dialog = PreparedDialog(mkOkCancel, c.msg);
        const SIZE line = OneLineExtent(*dialog, c.msg);
        EXPECT_EQ(dialog->lblMsg->Caption(), c.msg + L"  ");
        EXPECT_EQ(dialog->lblMsg->Left(), 67);
        EXPECT_EQ(dialog->lblMsg->Top(), 14);
        if (line.cx <= 213) {
            EXPECT_EQ(dialog->Width(), 300);
            EXPECT_EQ(dialog->lblMsg->Width(), line.cx);
            EXPECT_EQ(dialog->lblMsg->Height(), line.cy);
        } else if (line.cx <= 413) {
            EXPECT_EQ(dialog->Width(), 67 + line.cx + 20);
            EXPECT_EQ(dialog->lblMsg->Height(), line.cy);
        } else {
            EXPECT_EQ(dialog->Width(), 500);
            EXPECT_TRUE(dialog->lblMsg->WordWrap());
            EXPECT_EQ(dialog->lblMsg->Width(), 413);
            const int lines = (line.cx + 412) / 413;
            EXPECT_GE(dialog->lblMsg->Height(), lines * line.cy);
            EXPECT_EQ(dialog->lblMsg->Height() % line.cy, 0);
        }
        const int needed = dialog->lblMsg->Height() + 14 + 10;
        EXPECT_EQ(dialog->pnlMsg->Height(), needed > 80 ? 102 + needed - 80 : 102);
        EXPECT_EQ(dialog->Height(), 35 + dialog->pnlMsg->Height() + 46);
        // The 1-pixel grey frame stays around the body whatever the size.
        EXPECT_EQ(dialog->pnl_body->Width(), dialog->Width() - 2);
        EXPECT_EQ(dialog->pnl_body->Height(), dialog->Height() - 2);
        // The close image keeps to the title bar's right end.
        EXPECT_EQ(dialog->Image2->Left(), dialog->pnl_title->Width() - 3 - 26);
        // The right-hand button keeps 16 pixels from the right edge.
        EXPECT_EQ(dialog->sBtnRight->Left(), dialog->Width() - 67 - 16);
    }
}

TEST(MsgDlgLayout, WrappedMessageKeepsEveryLine) {
    // Words too long to break anywhere but at blanks need more lines than their width alone.
    std::wstring msg;
    for (int i = 0; i < 9; ++i) msg += L"Averyveryverylongwordwithoutbreaks ";
    auto dialog = PreparedDialog(mkInfo, msg);
    RECT wrapped{0, 0, 413, 0};
    {
        ScopedGetDC screen(nullptr);
        ScopedSelectObject font(screen.get(), dialog->lblMsg->Font().Handle());
        const std::wstring caption = msg + L"  ";
        DrawTextW(screen.get(), caption.c_str(), static_cast<int>(caption.size()), &wrapped,
                  DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    }
    EXPECT_GE(dialog->lblMsg->Height(), wrapped.bottom);
    EXPECT_EQ(dialog->Height(), 35 + dialog->pnlMsg->Height() + 46);
}

TEST(MsgDlgLayout, DetailAndRemindShowOnlyWithText) {
    const struct {
        const char* what;
        std::wstring detail, remind;
        bool checked, detailShown, remindShown;
    } cases[] = {
        {"none", L"", L"", true, false, false},
        {"blank", L" \t\r\n", L"  \r\n", true, false, false},
        {"detail", L"第一行\r\n第二行", L"", false, true, false},
        {"remind unchecked", L"", L"不再提示", false, false, true},
        {"remind checked", L"", L"不再提示", true, false, true},
        {"both", L"x", L"y", true, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto dialog = PreparedDialog(mkYesNoCancel, kShortText, c.detail, c.checked, c.remind);
        EXPECT_EQ(dialog->sBtnDetail->Visible(), c.detailShown);
        EXPECT_FALSE(dialog->pnlDetail->Visible());
        EXPECT_EQ(dialog->pnlRemind->Visible(), c.remindShown);
        if (c.detailShown) {
            EXPECT_EQ(dialog->sBtnDetail->Caption(), L"显示详细信息");
            EXPECT_EQ(dialog->moInfo->Caption(), c.detail);
            // Left of the answer buttons, inside the dialog, not over any of them.
            EXPECT_EQ(dialog->sBtnDetail->Left() + 80 + 8, dialog->sBtnLeft->Left());
            EXPECT_GE(dialog->sBtnDetail->Left(), 16);
        }
        if (c.remindShown) {
            EXPECT_EQ(dialog->cbxRemind->Checked(), c.checked);
            EXPECT_EQ(dialog->lblRemind->Caption(), c.remind);
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Answers, through MsgBox as callers use it.

enum class Action {
    Left,
    Center,
    Right,
    Escape,
    CloseImage,
    AltF4,
    KeyO,
    KeyY,
    KeyN,
    Enter,
    ToggleRemindThenLeft,
    ToggleRemindThenRight
};

void Perform(HWND dialog, TMsgKind kind, Action action) {
    switch (action) {
        case Action::Left:
            Click(dialog, AnswerButtonCentre(dialog, kind, MsgButton::Left));
            break;
        case Action::Center:
            Click(dialog, AnswerButtonCentre(dialog, kind, MsgButton::Center));
            break;
        case Action::Right:
            Click(dialog, AnswerButtonCentre(dialog, kind, MsgButton::Right));
            break;
        case Action::Escape:
            PressKey(VK_ESCAPE);
            break;
        case Action::CloseImage:
            Click(dialog, CloseImageCentre(dialog));
            break;
        case Action::AltF4:
            PressKeys({VK_MENU, VK_F4});
            break;
        case Action::KeyO:
            PressKey('O');
            break;
        case Action::KeyY:
            PressKey('Y');
            break;
        case Action::KeyN:
            PressKey('N');
            break;
        case Action::Enter:
            PressKey(VK_RETURN);
            break;
        case Action::ToggleRemindThenLeft:
            Click(dialog, RemindBoxCentre());
            Click(dialog, AnswerButtonCentre(dialog, kind, MsgButton::Left));
            break;
        case Action::ToggleRemindThenRight:
            Click(dialog, RemindBoxCentre());
            Click(dialog, AnswerButtonCentre(dialog, kind, MsgButton::Right));
            break;
    }
}

struct AnswerCase {
    int kind;
    Action action;
    bool remindChecked;
    bool withRemind;
    int answer;
};

class MsgBoxAnswers : public testing::TestWithParam<AnswerCase> {};

TEST_P(MsgBoxAnswers, AnswerFollowsTheUsersChoice) {
    const AnswerCase c = GetParam();
    ParkMouse();
    const auto kind = static_cast<TMsgKind>(c.kind);
    const std::wstring remind = c.withRemind ? L"下次不再提示" : L"";
    const int answer = RunDriven(
        [&] { return MsgBox(kind, kShortText, L"", c.remindChecked, remind); }, TitleOf(c.kind),
        [&] {
            const HWND dialog = WaitForDialog(TitleOf(c.kind));
            ASSERT_TRUE(dialog);
            Perform(dialog, kind, c.action);
        });
    EXPECT_EQ(answer, c.answer);
}

INSTANTIATE_TEST_SUITE_P(
    Table, MsgBoxAnswers,
    testing::Values(
        // Notices: their one button answers 1, even with the remind box checked.
        AnswerCase{mkInfo, Action::Left, false, false, 1},
        AnswerCase{mkError, Action::Left, true, true, 1},
        AnswerCase{mkInfo, Action::KeyO, false, false, 1},
        AnswerCase{mkInfo, Action::Enter, false, false, 1},
        // OK / Cancel, with and without the remind box.
        AnswerCase{mkOkCancel, Action::Left, false, false, 1},
        AnswerCase{mkOkCancel, Action::Left, true, true, 10},
        AnswerCase{mkOkCancel, Action::ToggleRemindThenLeft, false, true, 10},
        AnswerCase{mkOkCancel, Action::Right, false, false, 3},
        AnswerCase{mkOkCancel, Action::ToggleRemindThenRight, false, true, 30},
        AnswerCase{mkOkCancel, Action::Escape, true, true, 3},
        AnswerCase{mkOkCancel, Action::CloseImage, false, false, 3},
        AnswerCase{mkOkCancel, Action::AltF4, false, false, 3},
        // Yes / No / Cancel, also by their accelerator letters.
        AnswerCase{mkYesNoCancel, Action::Center, false, false, 2},
        AnswerCase{mkYesNoCancel, Action::Right, false, false, 3},
        AnswerCase{mkYesNoCancel, Action::KeyY, false, false, 1},
        AnswerCase{mkYesNoCancel, Action::KeyN, false, false, 2},
        AnswerCase{mkYesNo, Action::KeyN, false, false, 3},
        AnswerCase{mkYesNo2, Action::Left, false, false, 1},
        // No answer buttons: only Esc or the close image end it.
        AnswerCase{7, Action::Escape, false, false, 3},
        AnswerCase{200, Action::CloseImage, false, false, 3}));

// ---------------------------------------------------------------------------------------------
// While the dialog is open.

TEST(MsgBoxWindow, DetailButtonTogglesThePane) {
    int heightShown = 0, heightHidden = 0, heightAgain = 0;
    const int answer = RunDriven(
        [] { return MsgBox(mkOkCancel, kShortText, L"错误代码 12029\r\n无法连接到服务器"); },
        TitleOf(mkOkCancel),
        [&] {
            const HWND dialog = WaitForDialog(TitleOf(mkOkCancel));
            ASSERT_TRUE(dialog);
            heightHidden = ClientSize(dialog).cy;
            Click(dialog, DetailButtonCentre(dialog, mkOkCancel));
            WaitUntil([&] { return ClientSize(dialog).cy != heightHidden; });
            heightShown = ClientSize(dialog).cy;
            Click(dialog, DetailButtonCentre(dialog, mkOkCancel));
            WaitUntil([&] { return ClientSize(dialog).cy != heightShown; });
            heightAgain = ClientSize(dialog).cy;
            PressKey(VK_ESCAPE);
        });
    EXPECT_EQ(heightHidden, 183);
    EXPECT_EQ(heightShown, heightHidden + 150);
    EXPECT_EQ(heightAgain, heightHidden);
    EXPECT_EQ(answer, 3);
}

TEST(MsgBoxWindow, DetailPaneShowsTheTextAndTheButtonCaptionFollows) {
    auto dialog = PreparedDialog(mkInfo, kShortText, L"详细内容");
    const int height = dialog->Height();
    const struct {
        bool paneVisible;
        std::wstring caption;
        int height;
    } expected[] = {{true, L"隐藏详细信息", height + 150}, {false, L"显示详细信息", height}};
    for (const auto& e : expected) {
        dialog->sBtnDetail->Perform(WM_KEYDOWN, VK_SPACE);
        dialog->sBtnDetail->Perform(WM_KEYUP, VK_SPACE);
        EXPECT_EQ(dialog->pnlDetail->Visible(), e.paneVisible);
        EXPECT_EQ(dialog->sBtnDetail->Caption(), e.caption);
        EXPECT_EQ(dialog->Height(), e.height);
    }
    EXPECT_EQ(dialog->Panel3->Caption(), L" 详细信息");
    EXPECT_EQ(dialog->moInfo->Caption(), L"详细内容");
    EXPECT_TRUE(dialog->moInfo->ReadOnly());
}

TEST(MsgBoxWindow, CloseImageTurnsRedUnderThePointer) {
    bool redUnderPointer = false, plainAfterwards = false, plainAtFirst = false;
    ParkMouse();
    RunDriven([] { return MsgBox(mkInfo, kShortText); }, TitleOf(mkInfo),
              [&] {
                  const HWND dialog = WaitForDialog(TitleOf(mkInfo));
                  ASSERT_TRUE(dialog);
                  plainAtFirst = WaitUntil(
                      [&] { return IsTitleBlue(ScreenPixel(dialog, CloseImageCorner(dialog))); });
                  MoveMouse(dialog, CloseImageCentre(dialog));
                  redUnderPointer = WaitUntil(
                      [&] { return IsCloseRed(ScreenPixel(dialog, CloseImageCorner(dialog))); });
                  MoveMouse(dialog, TitleBarPoint());
                  plainAfterwards = WaitUntil(
                      [&] { return IsTitleBlue(ScreenPixel(dialog, CloseImageCorner(dialog))); });
                  PressKey(VK_ESCAPE);
              });
    EXPECT_TRUE(plainAtFirst);
    EXPECT_TRUE(redUnderPointer);
    EXPECT_TRUE(plainAfterwards);
}

TEST(MsgBoxWindow, DraggingTheTitleMovesTheDialogAndItsShadow) {
    const struct {
        const char* what;
        POINT from;
    } grips[] = {{"title bar", TitleBarPoint()}, {"title text", TitleTextPoint()}};
    for (const auto& grip : grips) {
        SCOPED_TRACE(grip.what);
        RECT before{}, after{};
        bool shadowBefore = false, shadowAfter = false;
        ParkMouse();
        const int answer =
            RunDriven([] { return MsgBox(mkInfo, kShortText); }, TitleOf(mkInfo),
                      [&] {
                          const HWND dialog = WaitForDialog(TitleOf(mkInfo));
                          ASSERT_TRUE(dialog);
                          shadowBefore = WaitUntil([&] { return FindShadowOf(dialog) != nullptr; });
                          before = WindowRectOf(dialog);
                          Drag(dialog, grip.from, 60, 40);
                          WaitUntil([&] { return WindowRectOf(dialog).left != before.left; });
                          after = WindowRectOf(dialog);
                          shadowAfter = WaitUntil([&] { return FindShadowOf(dialog) != nullptr; });
                          // The title gave the mouse back: the close image takes the next click.
                          Click(dialog, CloseImageCentre(dialog));
                      });
        EXPECT_TRUE(shadowBefore);
        EXPECT_EQ(after.left - before.left, 60);
        EXPECT_EQ(after.top - before.top, 40);
        EXPECT_TRUE(shadowAfter);
        EXPECT_EQ(answer, 3);
    }
}

TEST(MsgBoxWindow, StaysOnTopAsAToolWindowCentredOnTheScreen) {
    LONG exStyle = 0;
    RECT r{};
    RunDriven([] { return MsgBox(mkWarning, kShortText); }, TitleOf(mkWarning),
              [&] {
                  const HWND dialog = WaitForDialog(TitleOf(mkWarning));
                  ASSERT_TRUE(dialog);
                  exStyle = GetWindowLongW(dialog, GWL_EXSTYLE);
                  r = WindowRectOf(dialog);
                  PressKey(VK_ESCAPE);
              });
    EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
    EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
    EXPECT_EQ(r.right - r.left, 300);
    EXPECT_EQ(r.bottom - r.top, 183);
    EXPECT_NEAR((r.left + r.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_NEAR((r.top + r.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);
}

// Forms are normally owned by the main window; the message box is a top-level window of its own
// even when there is one, and cannot be minimised out of reach.
struct CreationProbe : Tfrm_MsgDlg {
    using Tfrm_MsgDlg::Tfrm_MsgDlg;
    TCreateParams Params() {
        TCreateParams params;
        CreateParams(params);
        return params;
    }
};

TEST(MsgBoxWindow, HasNoOwnerEvenWithAMainWindow) {
    auto main = MakeForm<TForm>(nullptr);
    ASSERT_TRUE(main->Handle());
    Application().SetMainForm(main.get());
    auto probe = MakeForm<CreationProbe>(&Application());
    const TCreateParams params = probe->Params();
    Application().SetMainForm(nullptr);
    EXPECT_EQ(params.WndParent, nullptr);
    EXPECT_TRUE(params.ExStyle & WS_EX_TOOLWINDOW);
    EXPECT_TRUE(params.ExStyle & WS_EX_TOPMOST);
    EXPECT_FALSE(params.Style & WS_MINIMIZEBOX);
    EXPECT_FALSE(params.Style & WS_SYSMENU);
    EXPECT_TRUE(params.Style & WS_POPUP);
}

// ---------------------------------------------------------------------------------------------
// What the user sees, compared with the committed picture (regenerate: see Screenshot.h).

TEST(MsgBoxScreenshot, ConfirmationLooksAsDesigned) {
    std::string problem = "the dialog did not show";
    ParkMouse();
    RunDriven([] { return MsgBox(mkOkCancel, L"文件已存在，需要重新下载吗？"); },
              TitleOf(mkOkCancel),
              [&] {
                  const HWND dialog = WaitForDialog(TitleOf(mkOkCancel));
                  ASSERT_TRUE(dialog);
                  // The shadow shows a moment after the dialog.
                  WaitUntil([&] { return FindShadowOf(dialog) != nullptr; });
                  RECT area = WindowRectOf(dialog);
                  InflateRect(&area, 16, 16);
                  WaitUntil([&] {
                      problem = MatchReference(CaptureScreen(area), "msgbox_confirm");
                      return problem.empty();
                  });
                  PressKey(VK_ESCAPE);
              });
    EXPECT_EQ(problem, "");
}

}  // namespace
}  // namespace qv
