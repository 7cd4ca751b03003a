#include <windows.h>
#include <windowsx.h>

#include <gtest/gtest.h>

#include <memory>
#include <sstream>

#include "controls/QelCustomControl.h"
#include "ui/Form.h"
#include "ui/GraphicControl.h"

namespace {

using namespace qv;

std::string Show(const RECT& r) {
    std::ostringstream out;
    out << '(' << r.left << ',' << r.top << ',' << r.right << ',' << r.bottom << ')';
    return out.str();
}

// Bounds as (left, top, width, height), read without the deferral-aware getters.
RECT PlainBounds(const TControl& c) {
    return {c.TControl::Left(), c.TControl::Top(), c.TControl::Width(), c.TControl::Height()};
}

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

#define EXPECT_BOUNDS(control, l, t, w, h)                                    \
    EXPECT_TRUE(SameRect(PlainBounds(control), RECT{l, t, w, h}))             \
        << #control << " has " << Show(PlainBounds(control)) << ", expected " \
        << Show(RECT{l, t, w, h})

// A control of the family used as container and as child; no window is needed for alignment.
struct Family : TQelCustomControl {
    using TQelCustomControl::ConstrainedResize;
    using TQelCustomControl::TQelCustomControl;
};

// A control of another kind, placed by its plain bounds.
struct Plain : TGraphicControl {
    using TGraphicControl::TGraphicControl;
};

class AlignmentTest : public testing::Test {
protected:
    void SetUp() override {
        container = new Family(&owner);
        container->SetBounds(0, 0, 100, 100);
        container->SetAlignWithMargins(true);
    }

    Family* AddFamilyChild(int left, int top, int width, int height, TAlign align) {
        auto* child = new Family(&owner);
        child->SetBounds(left, top, width, height);
        child->SetParent(container);
        child->SetAlign(align);
        return child;
    }

    TComponent owner{nullptr};
    Family* container = nullptr;
};

TEST_F(AlignmentTest, TopChildIsPlacedInsideItsMarginsAndTheRestShrinksByTheBox) {
    Family* child = AddFamilyChild(0, 0, 50, 20, alNone);
    child->Margins().SetLeft(2);
    child->Margins().SetTop(3);
    child->Margins().SetRight(4);
    child->Margins().SetBottom(5);
    child->SetAlign(alTop);
    RECT rect{0, 0, 100, 100};
    container->AlignControls(nullptr, rect);
    EXPECT_BOUNDS(*child, 2, 3, 94, 20);
    EXPECT_EQ(rect.top, 28);
    EXPECT_EQ(rect.bottom, 100);
}

TEST_F(AlignmentTest, EveryAlignmentHonoursMarginsAndGivesTheRestOn) {
    struct Case {
        TAlign align;
        RECT expectedBounds;  // left, top, width, height
        RECT expectedRest;
    };
    const Case cases[] = {
        {alTop, {2, 3, 94, 20}, {0, 28, 100, 100}},   {alBottom, {2, 75, 94, 20}, {0, 0, 100, 72}},
        {alLeft, {2, 3, 30, 92}, {36, 0, 100, 100}},  {alRight, {66, 3, 30, 92}, {0, 0, 64, 100}},
        {alClient, {2, 3, 94, 92}, {0, 0, 100, 100}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.align));
        TComponent scratch(nullptr);
        Family box(&scratch);
        box.SetBounds(0, 0, 100, 100);
        box.SetAlignWithMargins(true);
        auto* child = new Family(&scratch);
        child->SetBounds(0, 0, 30, 20);
        child->Margins().SetLeft(2);
        child->Margins().SetTop(3);
        child->Margins().SetRight(4);
        child->Margins().SetBottom(5);
        child->SetParent(&box);
        child->SetAlign(c.align);
        RECT rest{0, 0, 100, 100};
        box.AlignControls(nullptr, rest);
        const RECT& e = c.expectedBounds;
        EXPECT_BOUNDS(*child, e.left, e.top, e.right, e.bottom);
        EXPECT_TRUE(SameRect(rest, c.expectedRest)) << Show(rest);
        delete child;
    }
}

TEST_F(AlignmentTest, WithoutAlignWithMarginsTheToolkitPlacesChildrenIgnoringMarginsButNotPadding) {
    container->SetAlignWithMargins(false);
    container->Padding().SetLeft(10);
    container->Padding().SetTop(6);
    Family* child = AddFamilyChild(0, 0, 50, 20, alNone);
    child->Margins().SetLeft(2);
    child->Margins().SetTop(3);
    child->SetAlign(alTop);
    EXPECT_BOUNDS(*child, 10, 6, 90, 20);
    // With the engine on, the same child moves inside its margins within the padding.
    container->SetAlignWithMargins(true);
    container->Realign();
    EXPECT_BOUNDS(*child, 12, 9, 88, 20);
}

TEST_F(AlignmentTest, PaddingChangeRealignsTheChildrenAndMarginChangeRealignsTheChild) {
    Family* child = AddFamilyChild(0, 0, 50, 20, alTop);
    EXPECT_BOUNDS(*child, 0, 0, 100, 20);
    container->Padding().SetTop(7);
    EXPECT_BOUNDS(*child, 0, 7, 100, 20);
    child->Margins().SetLeft(5);
    EXPECT_BOUNDS(*child, 5, 7, 95, 20);
}

TEST_F(AlignmentTest, TopPassPutsTheChangedControlFirstAmongEqualTops) {
    Family* first = AddFamilyChild(0, 10, 50, 20, alNone);
    Family* second = AddFamilyChild(0, 10, 50, 30, alNone);
    container->DisableAlign();  // the passes below are run by hand
    first->SetAlign(alTop);
    second->SetAlign(alTop);
    RECT rect{0, 0, 100, 100};
    // Equal box tops: the changed control goes first, the other after it.
    container->AlignControls(second, rect);
    EXPECT_EQ(second->TControl::Top(), 0);
    EXPECT_EQ(first->TControl::Top(), 30);
}

TEST_F(AlignmentTest, BottomPassPutsALaterChildBeforeAnEarlierOneWithTheSameBottom) {
    Family* early = AddFamilyChild(0, 70, 50, 20, alNone);
    Family* late = AddFamilyChild(0, 60, 50, 30, alNone);
    container->DisableAlign();  // the pass below is run by hand
    early->SetAlign(alBottom);
    late->SetAlign(alBottom);
    RECT rect{0, 0, 100, 100};
    container->AlignControls(nullptr, rect);
    // The later child is placed first, so it sits at the very bottom.
    EXPECT_EQ(late->TControl::Top(), 70);
    EXPECT_EQ(early->TControl::Top(), 50);
    EXPECT_EQ(rect.bottom, 50);
}

TEST_F(AlignmentTest, NegativeRoomGivesTheChildItsOwnMarginBoxWidth) {
    Family* child = AddFamilyChild(0, 0, 40, 20, alNone);
    child->Margins().SetLeft(1);
    child->Margins().SetRight(1);
    child->SetAlign(alTop);
    EXPECT_BOUNDS(*child, 1, 0, 98, 20);
    RECT rect{50, 0, 30, 100};  // narrower than nothing
    container->AlignControls(nullptr, rect);
    EXPECT_BOUNDS(*child, 51, 0, 98, 20);
    EXPECT_EQ(rect.top, 20);
}

TEST_F(AlignmentTest, ChildrenOfOtherKindsArePlacedByTheirPlainBounds) {
    auto* plain = new Plain(&owner);
    plain->SetBounds(0, 0, 25, 20);
    plain->SetParent(container);
    plain->SetAlign(alLeft);
    EXPECT_EQ(plain->BoundsRect().left, 0);
    EXPECT_EQ(plain->Width(), 25);
    EXPECT_EQ(plain->Height(), 100);
}

TEST_F(AlignmentTest, ChildKeepingItsSizeGivesTheDifferenceBack) {
    Family* fixed = AddFamilyChild(0, 0, 50, 20, alNone);
    fixed->Constraints().MaxHeight = 10;
    Family* next = AddFamilyChild(0, 0, 50, 20, alNone);
    container->DisableAlign();
    fixed->SetAlign(alClient);
    next->SetAlign(alTop);
    container->EnableAlign();
    // The top child takes 20, the client child is asked for 80 but keeps 10.
    EXPECT_BOUNDS(*next, 0, 0, 100, 20);
    EXPECT_BOUNDS(*fixed, 0, 20, 100, 10);
}

TEST_F(AlignmentTest, RightAnchoredChildKeepsItsDistanceToTheRightEdgeAcrossAResize) {
    Family* child = AddFamilyChild(70, 10, 20, 20, alNone);
    child->SetAnchors(akRight | akTop);
    container->Realign();
    EXPECT_BOUNDS(*child, 70, 10, 20, 20);
    container->SetBounds(0, 0, 150, 100);
    EXPECT_BOUNDS(*child, 120, 10, 20, 20);
    // Another pass without a new size leaves it where it is.
    container->Realign();
    EXPECT_BOUNDS(*child, 120, 10, 20, 20);
    container->SetBounds(0, 0, 90, 100);
    EXPECT_BOUNDS(*child, 60, 10, 20, 20);
}

TEST_F(AlignmentTest, AnchorsStretchOrCentreChildrenProportionally) {
    Family* stretched = AddFamilyChild(10, 10, 80, 20, alNone);
    stretched->SetAnchors(akLeft | akRight | akTop | akBottom);
    Family* centred = AddFamilyChild(40, 40, 20, 20, alNone);
    centred->SetAnchors(0);
    container->Realign();
    container->SetBounds(0, 0, 200, 150);
    EXPECT_BOUNDS(*stretched, 10, 10, 180, 70);
    // The centre (50, 50) of 100 x 100 becomes (100, 75) of 200 x 150.
    EXPECT_BOUNDS(*centred, 90, 65, 20, 20);
}

TEST_F(AlignmentTest, DeferredBoundsApplyOnceAtTheOutermostEnd) {
    Family* child = AddFamilyChild(5, 5, 10, 10, alNone);
    child->EndBoundsUpdate();  // more ends than begins: nothing happens
    EXPECT_EQ(child->BoundsUpdateDepth(), 0);
    EXPECT_BOUNDS(*child, 5, 5, 10, 10);

    child->BeginBoundsUpdate();
    child->BeginBoundsUpdate();
    child->SetLeft(30);
    child->SetWidth(40);
    EXPECT_EQ(child->Left(), 30);  // the getters see the collected values
    EXPECT_EQ(child->Width(), 40);
    EXPECT_BOUNDS(*child, 5, 5, 10, 10);
    child->EndBoundsUpdate();
    EXPECT_BOUNDS(*child, 5, 5, 10, 10);
    child->EndBoundsUpdate();
    EXPECT_BOUNDS(*child, 30, 5, 40, 10);
    child->EndBoundsUpdate();
    EXPECT_BOUNDS(*child, 30, 5, 40, 10);

    child->BeginBoundsUpdate();
    child->SetTop(60);
    child->CancelBoundsUpdate();
    EXPECT_EQ(child->Top(), 5);
    EXPECT_BOUNDS(*child, 30, 5, 40, 10);
}

TEST_F(AlignmentTest, MarginBoxFollowsTheBoundsAndIgnoresMarginsWithoutAParent) {
    Family loose(&owner);
    loose.SetBounds(10, 20, 30, 40);
    loose.Margins().SetLeft(3);
    loose.Margins().SetBottom(4);
    EXPECT_EQ(loose.Margins().ControlLeft(), 10);
    EXPECT_EQ(loose.Margins().ControlHeight(), 40);
    loose.Margins().SetControlBounds(0, 0, 50, 50);
    EXPECT_BOUNDS(loose, 0, 0, 50, 50);

    Family* child = AddFamilyChild(10, 20, 30, 40, alNone);
    child->Margins().SetLeft(3);
    child->Margins().SetBottom(4);
    EXPECT_EQ(child->Margins().ControlLeft(), 7);
    EXPECT_EQ(child->Margins().ControlTop(), 20);
    EXPECT_EQ(child->Margins().ControlWidth(), 33);
    EXPECT_EQ(child->Margins().ControlHeight(), 44);
    TQelMargins orphan(nullptr);
    EXPECT_EQ(orphan.ControlWidth(), 0);
}

TEST_F(AlignmentTest, ExtentsCoverTheVisibleChildrensMarginBoxes) {
    Family* a = AddFamilyChild(10, 20, 30, 40, alNone);
    a->Margins().SetLeft(5);
    Family* b = AddFamilyChild(50, 5, 10, 10, alNone);
    b->Margins().SetBottom(100);
    Family* hidden = AddFamilyChild(0, 0, 500, 500, alNone);
    hidden->Hide();
    const RECT e = container->GetControlExtents();
    EXPECT_TRUE(SameRect(e, RECT{5, 5, 60, 115})) << Show(e);
}

TEST_F(AlignmentTest, MoveChildrenShiftsEveryChild) {
    Family* a = AddFamilyChild(10, 20, 30, 40, alNone);
    auto* plain = new Plain(&owner);
    plain->SetBounds(1, 2, 3, 4);
    plain->SetParent(container);
    container->MoveChildren(5, -2);
    EXPECT_BOUNDS(*a, 15, 18, 30, 40);
    EXPECT_EQ(plain->Left(), 6);
    EXPECT_EQ(plain->Top(), 0);
}

TEST_F(AlignmentTest, ConstraintsGatherStretchingAndStackingChildren) {
    auto form = MakeForm<TForm>(nullptr);
    auto* box = new Family(form.get());
    box->SetBounds(0, 0, 200, 100);
    box->SetParent(form.get());
    ASSERT_TRUE(box->Handle());
    auto* wide = new Family(form.get());
    wide->SetParent(box);
    wide->Constraints().MinWidth = 80;
    wide->Constraints().MaxWidth = 150;
    wide->SetAlign(alTop);
    auto* side = new Family(form.get());
    side->SetBounds(0, 0, 30, 10);
    side->SetParent(box);
    side->Margins().SetRight(5);
    side->SetAlign(alLeft);
    int minW = 0, minH = 0, maxW = 0, maxH = 0;
    box->ConstrainedResize(minW, minH, maxW, maxH);
    // The stretching child sets the floor and ceiling, the stacked one adds its box width.
    EXPECT_EQ(minW, 80 + 35);
    EXPECT_EQ(maxW, 150);
    EXPECT_EQ(minH, 0);
    // The container cannot be made narrower than that.
    box->SetWidth(50);
    EXPECT_EQ(box->Width(), 115);
}

TEST(QelMarginsTest, ChangeFiresOnlyForRealChanges) {
    TQelMargins margins(nullptr);
    int changes = 0;
    margins.OnChange = [&](TQelMargins*) { ++changes; };
    margins.SetLeft(0);
    EXPECT_EQ(changes, 0);
    margins.SetLeft(4);
    margins.SetLeft(4);
    EXPECT_EQ(changes, 1);
    margins.SetTop(-3);  // a side is never negative
    EXPECT_EQ(margins.Top(), 0);
    EXPECT_EQ(changes, 1);

    TQelPadding padding(nullptr);
    int paddingChanges = 0;
    padding.OnChange = [&](TQelMargins*) { ++paddingChanges; };
    margins.SetBottom(9);
    padding.Assign(margins);
    EXPECT_EQ(paddingChanges, 1);
    EXPECT_EQ(padding.Left(), 4);
    EXPECT_EQ(padding.Bottom(), 9);
}

TEST(QelCustomControlTest, StartsWithTheDocumentedState) {
    TComponent owner(nullptr);
    TQelCustomControl control(&owner);
    EXPECT_FALSE(control.AlignWithMargins());
    EXPECT_EQ(control.SkinGroup(), L"DefSkinGroup");
    EXPECT_EQ(control.RecordedClientSize().cx, 0);
    EXPECT_EQ(control.LastAnchors(), kDefaultAnchors);
    EXPECT_EQ(control.Margins().Left() + control.Padding().Bottom(), 0);
}

TEST(QelCustomControlTest, SkinChangesReachOnlyTheControlsGroupIgnoringCase) {
    struct Skinned : TQelCustomControl {
        using TQelCustomControl::TQelCustomControl;
        std::vector<int> applied;
        void ApplySkin(int kind) override { applied.push_back(kind); }
    };
    TComponent owner(nullptr);
    Skinned control(&owner);
    control.SkinChanged(1, L"defskingroup");
    control.SkinChanged(2, L"Other");
    control.SetSkinGroup(L"Blue");
    control.SkinChanged(3, L"BLUE");
    control.SkinChanged(4, L"DefSkinGroup");
    EXPECT_EQ(control.applied, (std::vector<int>{1, 3}));
}

TEST(QelCustomControlTest, HitTestEventAnswersBeforeTheDefault) {
    TComponent owner(nullptr);
    TQelCustomControl control(&owner);
    EXPECT_EQ(control.Perform(CM_HITTEST, 0, MAKELPARAM(1, 1)), HTCLIENT);
    control.OnHitTest = [](TComponent*, TMessage& message, bool& done) {
        message.Result = HTTRANSPARENT;
        done = GET_X_LPARAM(message.LParam) > 5;
    };
    EXPECT_EQ(control.Perform(CM_HITTEST, 0, MAKELPARAM(9, 1)), HTTRANSPARENT);
    // Not done: the default answers.
    EXPECT_EQ(control.Perform(CM_HITTEST, 0, MAKELPARAM(1, 1)), HTCLIENT);
}

TEST(QelCustomControlTest, GettingAParentOtherThanAFormDoubleBuffersIt) {
    auto form = MakeForm<TForm>(nullptr);
    auto* panel = new TQelCustomControl(form.get());
    panel->SetParent(form.get());
    EXPECT_FALSE(panel->DoubleBuffered());
    auto* inner = new TQelCustomControl(form.get());
    inner->SetParent(panel);
    EXPECT_TRUE(panel->DoubleBuffered());
}

}  // namespace
