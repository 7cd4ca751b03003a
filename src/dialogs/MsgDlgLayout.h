// What a message box shows for each kind, where its buttons go, how big it gets and what it
// answers. Plain values and arithmetic, kept apart from the window so each rule is visible.
#pragma once

#include <array>
#include <string_view>

#include "dialogs/MsgBox.h"

namespace qv {

enum class MsgIcon { None, Info, Error, Warn, Confirm };

// The three answer buttons of the button bar, left to right.
enum class MsgButton { Left = 0, Center = 1, Right = 2 };
inline constexpr int kMsgButtonCount = 3;

struct MsgKindLook {
    std::wstring_view title;  // also the window caption
    MsgIcon icon;
    // Caption of each answer button; an empty caption means the button stays hidden.
    std::array<std::wstring_view, kMsgButtonCount> captions;
};

// Title of kinds that have none of their own (the layout's placeholder).
inline constexpr std::wstring_view kMsgPlaceholderTitle = L"标题";
inline constexpr std::wstring_view kMsgShowDetailCaption = L"显示详细信息";
inline constexpr std::wstring_view kMsgHideDetailCaption = L"隐藏详细信息";

MsgKindLook LookOfKind(TMsgKind kind);

// Kinds mkInfo, mkError and mkWarning are notices: their one button always answers 1.
bool IsNoticeKind(TMsgKind kind);

// The code a button stores when it closes the dialog.
int ResultCodeOfButton(MsgButton button, bool remindChecked);

// The answer of MsgBox once the modal loop has ended. closedByButton is true when one of the
// answer buttons ended the dialog (modal result 1); every other end answers kMsgAnswerCancel.
int AnswerOfDialog(TMsgKind kind, bool closedByButton, int resultCode);

// Fixed measures of the dialog, in pixels at 96 dots per inch.
struct MsgDlgMetrics {
    static constexpr int kDefaultWidth = 300;
    static constexpr int kWideWidth = 500;
    static constexpr int kTitleHeight = 35;
    static constexpr int kMessagePanelHeight = 102;
    static constexpr int kButtonBarHeight = 46;
    static constexpr int kDetailPaneHeight = 150;
    static constexpr int kLabelLeft = 67;
    static constexpr int kLabelTop = 14;
    static constexpr int kButtonWidth = 67;
    static constexpr int kDetailButtonWidth = 80;
    static constexpr int kButtonHeight = 30;
    static constexpr int kButtonTop = 8;
    static constexpr int kButtonGap = 8;
    static constexpr int kButtonRightMargin = 16;
};

// Size of the message label and what it does to the dialog.
struct MessageFit {
    int dialogWidth;
    int labelWidth;
    int labelHeight;
    bool wordWrap;
    int messagePanelHeight;
};

// oneLineWidth and lineHeight are the label's extent with its caption on one line;
// wrappedHeight is the caption's height when wrapped between words at kWrapWidth. A wrapped
// label is made at least that tall (in whole lines), because breaking only between words may
// need more lines than the width alone suggests, and a cut-off line would hide part of the text.
struct MessageFitInput {
    int oneLineWidth;
    int lineHeight;
    int wrappedHeight;
};
inline constexpr int kWrapWidth = 480 - MsgDlgMetrics::kLabelLeft;
MessageFit FitMessageSize(const MessageFitInput& text);

// Left edges of the visible buttons in the button bar of a dialog W pixels wide.
struct ButtonLefts {
    std::array<int, kMsgButtonCount> answer;  // meaningful only for shown buttons
    int detail;                               // meaningful only when the detail button shows
};
ButtonLefts PlaceButtons(TMsgKind kind, int dialogWidth);

// The narrowest dialog whose button bar shows all of the kind's buttons (and the detail button
// when asked) inside it with the same margin on the left as on the right.
int WidthForButtons(TMsgKind kind, bool withDetail);

// Client height of the dialog for a message panel of the given height.
int DialogHeight(int messagePanelHeight, bool detailVisible);

}  // namespace qv
