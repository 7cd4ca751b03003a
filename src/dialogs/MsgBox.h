// The program's own message box: a borderless, stay-on-top, modal dialog whose kind decides its
// title, icon and buttons, and which answers with a small integer code.
#pragma once

#include <cstdint>
#include <string>

namespace qv {

// Any byte value is accepted; values above mkYesNo2 show no icon and no answer button.
enum TMsgKind : std::uint8_t {
    mkInfo = 0,
    mkError = 1,
    mkWarning = 2,
    mkOkCancel = 3,
    mkYesNoCancel = 4,
    mkYesNo = 5,
    mkYesNo2 = 6,
};

// Answers of MsgBox.
inline constexpr int kMsgAnswerFirst = 1;            // left button (OK / Yes)
inline constexpr int kMsgAnswerFirstReminded = 10;   // left button with the remind box checked
inline constexpr int kMsgAnswerSecond = 2;           // centre button (No of mkYesNoCancel)
inline constexpr int kMsgAnswerCancel = 3;           // right button, Esc, close image, any close
inline constexpr int kMsgAnswerCancelReminded = 30;  // right button with the remind box checked

// Shows the dialog modally and returns the answer. A blank Detail shows no detail pane, a blank
// RemindText no remind check box. Kinds mkInfo, mkError and mkWarning always answer 1 when their
// button is pressed.
int MsgBox(TMsgKind Kind, const std::wstring& Msg, const std::wstring& Detail = {},
           bool RemindChecked = false, const std::wstring& RemindText = {});

}  // namespace qv
