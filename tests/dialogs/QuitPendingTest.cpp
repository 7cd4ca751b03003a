// A quit request ends an open dialog with its cancel answer, and a dialog opened while a quit is
// pending answers at once without showing. The request stays pending for the rest of the
// process, so this is a program of its own and its steps run in order in one test.
#include <gtest/gtest.h>

#include <atomic>

#include "DialogDriver.h"
#include "app/f_Info.h"
#include "dialogs/MsgBox.h"
#include "ui/Application.h"

namespace qv {
namespace {

using namespace test;

// Runs show() and fails when any window of this process shows before it returns.
int AnswersWithoutShowing(const std::function<int()>& show, const std::wstring& caption) {
    std::atomic<bool> returned = false;
    bool appeared = false;
    const int answer = RunDriven(
        [&] {
            const int result = show();
            returned = true;
            return result;
        },
        caption,
        [&] {
            WaitUntil([&] {
                appeared = appeared || DialogShowing(caption);
                return returned.load();
            });
        });
    EXPECT_FALSE(appeared) << "the dialog showed although a quit was pending";
    return answer;
}

TEST(QuitRequest, EndsDialogsWithTheirCancelAnswer) {
    // A quit arriving while the message box is open closes it.
    const DWORD uiThread = GetCurrentThreadId();
    const int answer = RunDriven([] { return MsgBox(mkYesNoCancel, L"确定吗？"); }, L"确认信息",
                                 [&] {
                                     ASSERT_TRUE(WaitForDialog(L"确认信息"));
                                     PostThreadMessageW(uiThread, WM_QUIT, 0, 0);
                                 });
    EXPECT_EQ(answer, kMsgAnswerCancel);
    ASSERT_TRUE(Application().Terminated());

    // From now on the quit is pending: every dialog answers at once.
    EXPECT_EQ(AnswersWithoutShowing(ShowInfo, L"提示信息"), kInfoAnswerClose);
    for (int kind : {0, 1, 2, 3, 4, 5, 6, 7}) {
        SCOPED_TRACE(kind);
        const std::wstring title = kind <= 2   ? (kind == 0   ? L"提示信息"
                                                  : kind == 1 ? L"错误信息"
                                                              : L"警告信息")
                                   : kind <= 6 ? L"确认信息"
                                               : L"标题";
        EXPECT_EQ(AnswersWithoutShowing(
                      [kind] {
                          return MsgBox(static_cast<TMsgKind>(kind), L"下载完成", L"详细", true,
                                        L"不再提示");
                      },
                      title),
                  kMsgAnswerCancel);
    }
}

}  // namespace
}  // namespace qv
