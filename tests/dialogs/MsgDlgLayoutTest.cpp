#include "dialogs/MsgDlgLayout.h"

#include <gtest/gtest.h>

#include <string>

namespace qv {
namespace {

struct KindCase {
    int kind;
    std::wstring_view title;
    MsgIcon icon;
    std::wstring_view left, center, right;
};

const KindCase kKindCases[] = {
    {mkInfo, L"提示信息", MsgIcon::Info, L"确定(&O)", L"", L""},
    {mkError, L"错误信息", MsgIcon::Error, L"确定(&O)", L"", L""},
    {mkWarning, L"警告信息", MsgIcon::Warn, L"确定(&O)", L"", L""},
    {mkOkCancel, L"确认信息", MsgIcon::Confirm, L"确定(&O)", L"", L"取消"},
    {mkYesNoCancel, L"确认信息", MsgIcon::Confirm, L"是(&Y)", L"否(&N)", L"取消"},
    {mkYesNo, L"确认信息", MsgIcon::Confirm, L"是(&Y)", L"", L"否(&N)"},
    {mkYesNo2, L"确认信息", MsgIcon::Confirm, L"是(&Y)", L"", L"否(&N)"},
    {7, L"标题", MsgIcon::None, L"", L"", L""},
    {128, L"标题", MsgIcon::None, L"", L"", L""},
    {255, L"标题", MsgIcon::None, L"", L"", L""},
};

TEST(MsgKindLook, TitleIconAndButtonCaptionsFollowTheKind) {
    for (const KindCase& c : kKindCases) {
        SCOPED_TRACE(c.kind);
        const MsgKindLook look = LookOfKind(static_cast<TMsgKind>(c.kind));
        EXPECT_EQ(look.title, c.title);
        EXPECT_EQ(look.icon, c.icon);
        EXPECT_EQ(look.captions[0], c.left);
        EXPECT_EQ(look.captions[1], c.center);
        EXPECT_EQ(look.captions[2], c.right);
    }
}

struct AnswerCase {
    int kind;
    enum { Left, Center, Right, OtherClose } end;
    bool remindChecked;
    int answer;
};

const AnswerCase kAnswerCases[] = {
    // Notices answer 1 for their button, whatever the remind box says.
    {mkInfo, AnswerCase::Left, false, 1},
    {mkInfo, AnswerCase::Left, true, 1},
    {mkError, AnswerCase::Left, true, 1},
    {mkWarning, AnswerCase::Left, false, 1},
    {mkInfo, AnswerCase::OtherClose, false, 3},
    {mkWarning, AnswerCase::OtherClose, true, 3},
    // Questions answer by button, with the remind box multiplying by ten.
    {mkOkCancel, AnswerCase::Left, false, 1},
    {mkOkCancel, AnswerCase::Left, true, 10},
    {mkOkCancel, AnswerCase::Right, false, 3},
    {mkOkCancel, AnswerCase::Right, true, 30},
    {mkOkCancel, AnswerCase::OtherClose, true, 3},
    {mkYesNoCancel, AnswerCase::Left, false, 1},
    {mkYesNoCancel, AnswerCase::Center, false, 2},
    {mkYesNoCancel, AnswerCase::Center, true, 2},
    {mkYesNoCancel, AnswerCase::Right, false, 3},
    {mkYesNo, AnswerCase::Left, false, 1},
    {mkYesNo, AnswerCase::Right, true, 30},
    {mkYesNo2, AnswerCase::Right, false, 3},
    {200, AnswerCase::OtherClose, false, 3},
};

TEST(MsgBoxAnswer, ButtonAndRemindBoxGiveTheAnswer) {
    for (const AnswerCase& c : kAnswerCases) {
        SCOPED_TRACE(testing::Message()
                     << "kind " << c.kind << " end " << c.end << " remind " << c.remindChecked);
        const bool byButton = c.end != AnswerCase::OtherClose;
        const int code =
            byButton ? ResultCodeOfButton(static_cast<MsgButton>(c.end), c.remindChecked) : 0;
        EXPECT_EQ(AnswerOfDialog(static_cast<TMsgKind>(c.kind), byButton, code), c.answer);
    }
}

struct FitCase {
    const char* what;
    MessageFitInput text;
    MessageFit expected;
};

const FitCase kFitCases[] = {
    {"short", {100, 20, 20}, {300, 100, 20, false, 102}},
    {"empty", {0, 20, 20}, {300, 0, 20, false, 102}},
    {"just short", {213, 20, 20}, {300, 213, 20, false, 102}},
    {"just widening", {214, 20, 20}, {301, 214, 20, false, 102}},
    {"widest one line", {413, 20, 20}, {500, 413, 20, false, 102}},
    {"just wrapping", {414, 20, 40}, {500, 413, 40, true, 102}},
    {"three lines fit", {1239, 20, 60}, {500, 413, 60, true, 106}},
    {"four lines grow", {1240, 20, 80}, {500, 413, 80, true, 126}},
    {"tall font one line", {100, 60, 60}, {300, 100, 60, false, 106}},
    // Breaking between words needs more lines than the width alone: the label keeps them all.
    {"word breaks need a line more", {500, 20, 60}, {500, 413, 60, true, 106}},
    {"partial line rounds up", {500, 20, 45}, {500, 413, 60, true, 106}},
    {"measure below width estimate", {900, 20, 20}, {500, 413, 60, true, 106}},
};

TEST(FitMessageSize, WidensWrapsAndGrowsAsTheTextNeeds) {
    for (const FitCase& c : kFitCases) {
        SCOPED_TRACE(c.what);
        const MessageFit fit = FitMessageSize(c.text);
        EXPECT_EQ(fit.dialogWidth, c.expected.dialogWidth);
        EXPECT_EQ(fit.labelWidth, c.expected.labelWidth);
        EXPECT_EQ(fit.labelHeight, c.expected.labelHeight);
        EXPECT_EQ(fit.wordWrap, c.expected.wordWrap);
        EXPECT_EQ(fit.messagePanelHeight, c.expected.messagePanelHeight);
    }
}

TEST(FitMessageSize, LabelHeightIsAlwaysWholeLines) {
    for (int w = 414; w < 3000; w += 97) {
        for (int wrapped : {0, 17, 33, 101}) {
            const MessageFit fit = FitMessageSize({w, 17, wrapped});
            EXPECT_EQ(fit.labelHeight % 17, 0) << w << " " << wrapped;
            EXPECT_GE(fit.labelHeight, wrapped);
            EXPECT_GE(fit.labelHeight * kWrapWidth, w * 17);
        }
    }
}

struct PlaceCase {
    int kind;
    int width;
    int left, center, right, detail;  // -1: button hidden
};

const PlaceCase kPlaceCases[] = {
    {mkInfo, 300, 217, -1, -1, 129},          {mkWarning, 500, 417, -1, -1, 329},
    {mkOkCancel, 300, 142, -1, 217, 54},      {mkYesNo, 300, 142, -1, 217, 54},
    {mkYesNo2, 420, 262, -1, 337, 174},       {mkYesNoCancel, 300, 67, 142, 217, -21},
    {mkYesNoCancel, 500, 267, 342, 417, 179}, {9, 300, -1, -1, -1, 204},
};

TEST(PlaceButtons, ButtonsLineUpFromTheRightEdgeWithoutOverlap) {
    for (const PlaceCase& c : kPlaceCases) {
        SCOPED_TRACE(testing::Message() << "kind " << c.kind << " width " << c.width);
        const ButtonLefts lefts = PlaceButtons(static_cast<TMsgKind>(c.kind), c.width);
        const int expected[] = {c.left, c.center, c.right};
        for (int i = 0; i < kMsgButtonCount; ++i) {
            if (expected[i] >= 0) {
                EXPECT_EQ(lefts.answer[i], expected[i]) << "button " << i;
            }
        }
        EXPECT_EQ(lefts.detail, c.detail);
    }
}

TEST(WidthForButtons, KeepsEveryButtonInsideTheDialog) {
    const struct {
        int kind;
        bool withDetail;
        int width;
    } cases[] = {
        {mkInfo, false, 99},
        {mkInfo, true, 187},
        {mkOkCancel, false, 174},
        {mkOkCancel, true, 262},
        {mkYesNoCancel, false, 249},
        {mkYesNoCancel, true, 337},
        {mkYesNo, true, 262},
        {7, false, 16},
        {7, true, 112},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "kind " << c.kind << " detail " << c.withDetail);
        const int width = WidthForButtons(static_cast<TMsgKind>(c.kind), c.withDetail);
        EXPECT_EQ(width, c.width);
        const ButtonLefts lefts = PlaceButtons(static_cast<TMsgKind>(c.kind), width);
        if (c.withDetail) {
            EXPECT_EQ(lefts.detail, MsgDlgMetrics::kButtonRightMargin);
        }
    }
}

TEST(DialogHeight, SumsTheBandsAndTheDetailPane) {
    EXPECT_EQ(DialogHeight(102, false), 183);
    EXPECT_EQ(DialogHeight(102, true), 333);
    EXPECT_EQ(DialogHeight(126, false), 207);
    EXPECT_EQ(DialogHeight(126, true), 357);
}

}  // namespace
}  // namespace qv
