// Alignment, anchors, constraints and scaling of children.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "UiTestSupport.h"
#include "ui/GraphicControl.h"
#include "ui/Panel.h"

namespace qv {
namespace {

struct ChildSpec {
    TAlign align;
    RECT bounds;  // left, top, right, bottom before alignment
    bool visible = true;
};

std::string Describe(const RECT& r) {
    char text[64];
    std::snprintf(text, sizeof text, "(%ld,%ld %ldx%ld)", r.left, r.top, r.right - r.left,
                  r.bottom - r.top);
    return text;
}

RECT Bounds(int left, int top, int width, int height) {
    return {left, top, left + width, top + height};
}

TEST(AlignTest, PlacesAlignedChildrenInTheClassLibrarysOrder) {
    struct Case {
        const char* name;
        std::vector<ChildSpec> children;
        std::vector<RECT> expected;
    };
    const Case cases[] = {
        {"each side once, client takes the rest",
         {{alClient, Bounds(0, 0, 10, 10)},
          {alTop, Bounds(5, 5, 10, 20)},
          {alBottom, Bounds(5, 5, 10, 10)},
          {alLeft, Bounds(5, 5, 30, 10)},
          {alRight, Bounds(5, 5, 40, 10)}},
         {Bounds(30, 20, 130, 70), Bounds(0, 0, 200, 20), Bounds(0, 90, 200, 10),
          Bounds(0, 20, 30, 70), Bounds(160, 20, 40, 70)}},
        {"two top children stack by their current top, not by creation",
         {{alTop, Bounds(0, 50, 10, 15)}, {alTop, Bounds(0, 0, 10, 25)}},
         {Bounds(0, 25, 200, 15), Bounds(0, 0, 200, 25)}},
        {"two bottom children: the lower one goes to the bottom edge",
         {{alBottom, Bounds(0, 10, 10, 15)}, {alBottom, Bounds(0, 80, 10, 10)}},
         {Bounds(0, 75, 200, 15), Bounds(0, 90, 200, 10)}},
        {"hidden aligned children take no space",
         {{alTop, Bounds(0, 0, 10, 30), false}, {alClient, Bounds(0, 0, 10, 10)}},
         {Bounds(0, 0, 10, 30), Bounds(0, 0, 200, 100)}},
        {"more aligned space than the parent has: the client keeps its own width",
         {{alLeft, Bounds(0, 0, 150, 10)},
          {alRight, Bounds(0, 0, 120, 10)},
          {alClient, Bounds(0, 0, 7, 9)}},
         {Bounds(0, 0, 150, 100), Bounds(80, 0, 120, 100), Bounds(150, 0, 7, 100)}},
        {"unaligned children stay where they are",
         {{alNone, Bounds(3, 4, 5, 6)}, {alTop, Bounds(0, 0, 10, 10)}},
         {Bounds(3, 4, 5, 6), Bounds(0, 0, 200, 10)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TPanel parent(nullptr);
        parent.SetBevelOuter(bvNone);
        parent.SetBounds(0, 0, 200, 100);
        std::vector<TGraphicControl*> children;
        for (const ChildSpec& spec : c.children) {
            auto* child = new TGraphicControl(&parent);
            child->SetBoundsRect(spec.bounds);
            child->SetVisible(spec.visible);
            child->SetParent(&parent);
            children.push_back(child);
        }
        parent.DisableAlign();
        for (size_t i = 0; i < children.size(); ++i) children[i]->SetAlign(c.children[i].align);
        parent.EnableAlign();
        for (size_t i = 0; i < children.size(); ++i) {
            EXPECT_EQ(Describe(children[i]->BoundsRect()), Describe(c.expected[i]))
                << "child " << i;
        }
    }
}

TEST(AlignTest, FollowsTheParentsResizeAndBevels) {
    TPanel parent(nullptr);
    parent.SetBevelOuter(bvNone);
    parent.SetBounds(0, 0, 200, 100);
    auto* top = new TGraphicControl(&parent);
    top->SetParent(&parent);
    top->SetHeight(20);
    top->SetAlign(alTop);
    auto* client = new TGraphicControl(&parent);
    client->SetParent(&parent);
    client->SetAlign(alClient);
    parent.SetBounds(0, 0, 300, 150);
    EXPECT_EQ(Describe(top->BoundsRect()), Describe(Bounds(0, 0, 300, 20)));
    EXPECT_EQ(Describe(client->BoundsRect()), Describe(Bounds(0, 20, 300, 130)));
    parent.SetBevelOuter(bvRaised);
    parent.SetBevelWidth(2);
    EXPECT_EQ(Describe(top->BoundsRect()), Describe(Bounds(2, 2, 296, 20)));
    EXPECT_EQ(Describe(client->BoundsRect()), Describe(Bounds(2, 22, 296, 126)));
    top->SetVisible(false);
    EXPECT_EQ(Describe(client->BoundsRect()), Describe(Bounds(2, 2, 296, 146)));
}

TEST(AlignTest, AControlThatKeepsAnotherSizeGivesTheRestBack) {
    TPanel parent(nullptr);
    parent.SetBevelOuter(bvNone);
    parent.SetBounds(0, 0, 200, 100);
    auto* left = new TGraphicControl(&parent);
    left->SetParent(&parent);
    left->SetWidth(50);
    left->Constraints().MaxHeight = 40;  // cannot fill the height: takes 40
    left->SetAlign(alLeft);
    auto* client = new TGraphicControl(&parent);
    client->SetParent(&parent);
    client->Constraints().MaxWidth = 100;
    client->SetAlign(alClient);
    EXPECT_EQ(Describe(left->BoundsRect()), Describe(Bounds(0, 0, 50, 40)));
    EXPECT_EQ(Describe(client->BoundsRect()), Describe(Bounds(50, 0, 100, 100)));
}

TEST(AnchorTest, AnchoredChildrenFollowTheParentsNewSize) {
    struct Case {
        const char* name;
        TAnchors anchors;
        RECT expected;  // after the parent grows from 200 x 100 to 300 x 150
    };
    const Case cases[] = {
        {"left and top: unchanged", akLeft | akTop, Bounds(10, 10, 50, 20)},
        {"right and top: keeps its distance to the right edge", akRight | akTop,
         Bounds(110, 10, 50, 20)},
        {"right and bottom", akRight | akBottom, Bounds(110, 60, 50, 20)},
        {"all four: stretches", akLeft | akTop | akRight | akBottom, Bounds(10, 10, 150, 70)},
        {"left and right: stretches across only", akLeft | akRight | akTop,
         Bounds(10, 10, 150, 20)},
        {"none: its centre moves in proportion", 0, Bounds(28, 20, 50, 20)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TPanel parent(nullptr);
        parent.SetBevelOuter(bvNone);
        parent.SetBounds(0, 0, 200, 100);
        auto* child = new TGraphicControl(&parent);
        child->SetParent(&parent);
        child->SetBounds(10, 10, 50, 20);
        child->SetAnchors(c.anchors);
        parent.SetBounds(0, 0, 300, 150);
        EXPECT_EQ(Describe(child->BoundsRect()), Describe(c.expected));
        parent.SetBounds(0, 0, 200, 100);
        EXPECT_EQ(Describe(child->BoundsRect()), Describe(Bounds(10, 10, 50, 20)))
            << "back to the first size";
    }
}

TEST(AnchorTest, AChildOfAShownFormFollowsAResizeOfTheWindow) {
    auto form = MakeForm<TForm>(nullptr);
    form->SetBounds(40, 40, 200, 100);
    auto* body = new TPanel(form.get());
    body->SetParent(form.get());
    body->SetBounds(1, 1, 198, 98);
    body->SetAnchors(akLeft | akTop | akRight | akBottom);
    auto* corner = new TGraphicControl(form.get());
    corner->SetParent(body);
    corner->SetBounds(170, 4, 26, 26);
    corner->SetAnchors(akRight | akTop);
    form->Show();
    // Resized behind the toolkit's back, as the system would.
    SetWindowPos(form->Handle(), nullptr, 0, 0, 260, 140, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(form->Width(), 260);
    EXPECT_EQ(Describe(body->BoundsRect()), Describe(Bounds(1, 1, 258, 138)));
    EXPECT_EQ(Describe(corner->BoundsRect()), Describe(Bounds(230, 4, 26, 26)));
    RECT window{};
    GetWindowRect(body->Handle(), &window);
    EXPECT_EQ(window.right - window.left, 258);
}

TEST(ScaleTest, ChangeScaleScalesBoundsAndOwnFontsButNotInheritedOnes) {
    struct Case {
        int multiplier, divisor;
        RECT child;
        int ownFontHeight;
    };
    const Case cases[] = {
        {96, 96, Bounds(10, 20, 30, 40), -12},
        {120, 96, Bounds(13, 25, 37, 50), -15},
        {144, 96, Bounds(15, 30, 45, 60), -18},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.multiplier);
        TPanel parent(nullptr);
        parent.SetBounds(0, 0, 100, 100);
        auto* own = new TGraphicControl(&parent);
        own->SetParent(&parent);
        own->SetBounds(10, 20, 30, 40);
        own->Font().SetHeight(-12);
        auto* inherited = new TGraphicControl(&parent);
        inherited->SetParent(&parent);
        parent.ChangeScale(c.multiplier, c.divisor);
        EXPECT_EQ(Describe(own->BoundsRect()), Describe(c.child));
        EXPECT_EQ(own->Font().Height(), c.ownFontHeight);
        EXPECT_FALSE(own->ParentFont());
        EXPECT_TRUE(inherited->ParentFont());
        EXPECT_EQ(inherited->Font().Height(), parent.Font().Height());
    }
}

TEST(ScaleTest, AFormDesignedAtTheScreensResolutionKeepsItsLayout) {
    ScopedGetDC screen(nullptr);
    const int ppi = GetDeviceCaps(screen.get(), LOGPIXELSY);
    class Designed : public TForm {
    public:
        explicit Designed(TComponent* owner) : TForm(owner) {
            SetBounds(428, 161, 620, 416);
            child = new TGraphicControl(this);
            child->SetParent(this);
            child->SetBounds(199, 42, 215, 57);
        }
        TGraphicControl* child;
    };
    auto form = std::make_unique<Designed>(nullptr);
    form->SetPixelsPerInch(ppi);
    form->AfterConstruction();
    EXPECT_EQ(Describe(form->BoundsRect()), Describe(Bounds(428, 161, 620, 416)));
    EXPECT_EQ(Describe(form->child->BoundsRect()), Describe(Bounds(199, 42, 215, 57)));

    auto larger = std::make_unique<Designed>(nullptr);
    larger->SetPixelsPerInch(ppi * 4 / 5);  // designed at a smaller text size: grows by 5/4
    larger->AfterConstruction();
    EXPECT_EQ(larger->Left(), 428) << "the designed screen position stays";
    EXPECT_EQ(larger->Width(), MulDiv(620, ppi, ppi * 4 / 5));
    EXPECT_EQ(larger->child->Width(), MulDiv(215, ppi, ppi * 4 / 5));
    EXPECT_EQ(larger->Font().Height(), MulDiv(-11, ppi, ppi * 4 / 5));
    EXPECT_EQ(larger->child->Font().Height(), larger->Font().Height())
        << "a control with its parent's font gets the scaled font";
}

}  // namespace
}  // namespace qv
