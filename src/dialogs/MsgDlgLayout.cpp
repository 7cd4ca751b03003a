#include "dialogs/MsgDlgLayout.h"

#include <algorithm>

namespace qv {

namespace {

constexpr std::wstring_view kOk = L"确定(&O)";
constexpr std::wstring_view kCancel = L"取消";
constexpr std::wstring_view kYes = L"是(&Y)";
constexpr std::wstring_view kNo = L"否(&N)";
constexpr std::wstring_view kConfirmTitle = L"确认信息";

using M = MsgDlgMetrics;

int CeilDiv(int numerator, int denominator) {
    return (numerator + denominator - 1) / denominator;
}

// The message panel grows by whatever the label needs beyond the 80 pixels it has room for.
int MessagePanelHeightFor(int labelHeight) {
    const int needed = labelHeight + M::kLabelTop + 10;
    return needed > 80 ? M::kMessagePanelHeight + needed - 80 : M::kMessagePanelHeight;
}

}  // namespace

MsgKindLook LookOfKind(TMsgKind kind) {
    switch (kind) {
        case mkInfo:
            return {L"提示信息", MsgIcon::Info, {kOk, {}, {}}};
        case mkError:
            return {L"错误信息", MsgIcon::Error, {kOk, {}, {}}};
        case mkWarning:
            return {L"警告信息", MsgIcon::Warn, {kOk, {}, {}}};
        case mkOkCancel:
            return {kConfirmTitle, MsgIcon::Confirm, {kOk, {}, kCancel}};
        case mkYesNoCancel:
            return {kConfirmTitle, MsgIcon::Confirm, {kYes, kNo, kCancel}};
        case mkYesNo:
        case mkYesNo2:
            return {kConfirmTitle, MsgIcon::Confirm, {kYes, {}, kNo}};
    }
    return {kMsgPlaceholderTitle, MsgIcon::None, {}};
}

bool IsNoticeKind(TMsgKind kind) {
    return kind <= mkWarning;
}

int ResultCodeOfButton(MsgButton button, bool remindChecked) {
    switch (button) {
        case MsgButton::Left:
            return remindChecked ? kMsgAnswerFirstReminded : kMsgAnswerFirst;
        case MsgButton::Center:
            return kMsgAnswerSecond;
        case MsgButton::Right:
            return remindChecked ? kMsgAnswerCancelReminded : kMsgAnswerCancel;
    }
    return kMsgAnswerCancel;
}

int AnswerOfDialog(TMsgKind kind, bool closedByButton, int resultCode) {
    if (!closedByButton) return kMsgAnswerCancel;
    return IsNoticeKind(kind) ? kMsgAnswerFirst : resultCode;
}

MessageFit FitMessageSize(const MessageFitInput& text) {
    const int w = text.oneLineWidth;
    MessageFit fit{M::kDefaultWidth, w, text.lineHeight, false, 0};
    if (w > 280 - M::kLabelLeft && w <= kWrapWidth) {
        fit.dialogWidth = M::kLabelLeft + w + 20;
    } else if (w > kWrapWidth) {
        fit.dialogWidth = M::kWideWidth;
        fit.wordWrap = true;
        fit.labelWidth = kWrapWidth;
        const int lineHeight = std::max(text.lineHeight, 1);
        const int byWidth = CeilDiv(w, kWrapWidth) * lineHeight;
        const int byWords = CeilDiv(text.wrappedHeight, lineHeight) * lineHeight;
        fit.labelHeight = std::max(byWidth, byWords);
    }
    fit.messagePanelHeight = MessagePanelHeightFor(fit.labelHeight);
    return fit;
}

ButtonLefts PlaceButtons(TMsgKind kind, int dialogWidth) {
    ButtonLefts lefts{};
    const MsgKindLook look = LookOfKind(kind);
    const bool hasLeft = !look.captions[0].empty();
    const bool hasCenter = !look.captions[1].empty();
    const bool hasRight = !look.captions[2].empty();
    // Buttons line up from the right edge leftwards, 8 pixels apart.
    int next = dialogWidth - M::kButtonRightMargin;
    const auto take = [&next](int width) {
        next -= width;
        const int left = next;
        next -= M::kButtonGap;
        return left;
    };
    if (hasRight) lefts.answer[2] = take(M::kButtonWidth);
    if (hasCenter) lefts.answer[1] = take(M::kButtonWidth);
    if (hasLeft) lefts.answer[0] = take(M::kButtonWidth);
    lefts.detail = take(M::kDetailButtonWidth);
    return lefts;
}

int WidthForButtons(TMsgKind kind, bool withDetail) {
    const ButtonLefts lefts = PlaceButtons(kind, 0);
    const MsgKindLook look = LookOfKind(kind);
    int leftmost = 0;
    for (int i = 0; i < kMsgButtonCount; ++i) {
        if (!look.captions[i].empty()) leftmost = std::min(leftmost, lefts.answer[i]);
    }
    if (withDetail) leftmost = std::min(leftmost, lefts.detail);
    return M::kButtonRightMargin - leftmost;
}

int DialogHeight(int messagePanelHeight, bool detailVisible) {
    return M::kTitleHeight + messagePanelHeight + M::kButtonBarHeight +
           (detailVisible ? M::kDetailPaneHeight : 0);
}

}  // namespace qv
