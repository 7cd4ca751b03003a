// The main window as the layout builds it: where alignment, automatic sizing and the artwork put
// each control, what is hidden, and the state the window starts in.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/f_Main.h"
#include "controls/PngImageButton.h"
#include "controls/XPDorvexRadioButton.h"
#include "ui/Image.h"
#include "ui/Label.h"
#include "ui/PageControl.h"

namespace qv {
namespace {

TControl* FindControl(TComponent* owner, const std::wstring& name) {
    for (int i = 0; i < owner->ComponentCount(); ++i) {
        if (owner->Components(i)->Name() == name) {
            return dynamic_cast<TControl*>(owner->Components(i));
        }
    }
    return nullptr;
}

class MainLayoutTest : public testing::Test {
protected:
    void SetUp() override {
        form_ = MakeForm<Tfrm_Main>(nullptr);
        form_->HandleNeeded();
    }
    TControl* Control(const wchar_t* name) {
        TControl* control = FindControl(form_.get(), name);
        EXPECT_NE(control, nullptr)
            << "no control named " << std::string(name, name + wcslen(name));
        return control;
    }
    std::unique_ptr<Tfrm_Main> form_;
};

struct Placement {
    const wchar_t* name;
    const wchar_t* parent;
    RECT bounds;  // left, top, right, bottom in the parent's client area
    bool visible;
};

// Rectangles that come out of alignment, automatic sizing from the artwork, or the layout.
const Placement kPlacements[] = {
    {L"pnlGg", L"frm_Main", {0, 0, 620, 416}, true},
    {L"imgTop", L"pnlGg", {0, 0, 620, 241}, true},
    {L"pnlMinClose", L"pnlGg", {539, 0, 620, 27}, true},
    {L"btnSmall", L"pnlMinClose", {51, 0, 81, 27}, true},  // flush right: btnClose is hidden
    {L"PC", L"pnlGg", {0, 241, 620, 416}, true},
    {L"TS1", L"PC", {0, 0, 620, 175}, true},  // no tab strip: the page fills the control
    {L"pnlTS1", L"TS1", {0, 0, 620, 175}, true},
    {L"btnDownloadNow", L"pnlTS1", {199, 42, 414, 99}, true},
    {L"labCustom", L"pnlTS1", {512, 127, 572, 144}, false},
    {L"imgGray", L"pnlTS1", {576, 128, 590, 143}, false},
    {L"pnlRdbtn", L"pnlTS1", {6, 103, 159, 143}, true},
    {L"rdbDX", L"pnlRdbtn", {6, 24, 55, 41}, true},
    {L"RdbLT", L"pnlRdbtn", {54, 24, 103, 41}, true},
    {L"btnDownload", L"pnlTS2", {208, 90, 404, 140}, true},
    {L"btnDir", L"pnlTS2", {482, 26, 552, 52}, true},
    {L"edtDir", L"pnlTS2", {111, 27, 473, 50}, true},
    {L"labBack", L"pnlTS2", {543, 122, 589, 141}, true},
    {L"labDirInfo", L"pnlTS2", {43, 29, 108, 48}, true},
    {L"btnInstall", L"pnlTS3", {209, 81, 403, 129}, false},
    {L"Panel1", L"pnlTS3", {21, 38, 590, 80}, true},
    {L"imgProcessOuter", L"Panel1", {10, 6, 561, 25}, true},
    {L"imgProcessInner", L"Panel1", {10, 6, 10, 25}, true},  // no progress yet
};

TEST_F(MainLayoutTest, ControlsSitWhereTheLayoutPutsThem) {
    EXPECT_EQ(form_->ClientWidth(), 620);
    EXPECT_EQ(form_->ClientHeight(), 416);
    for (const Placement& p : kPlacements) {
        SCOPED_TRACE(std::string(p.name, p.name + wcslen(p.name)));
        TControl* control = Control(p.name);
        if (!control) continue;
        ASSERT_NE(control->Parent(), nullptr);
        EXPECT_EQ(control->Parent()->Name(), p.parent);
        const RECT r = control->BoundsRect();
        EXPECT_EQ(r.left, p.bounds.left);
        EXPECT_EQ(r.top, p.bounds.top);
        EXPECT_EQ(r.right, p.bounds.right);
        EXPECT_EQ(r.bottom, p.bounds.bottom);
        EXPECT_EQ(control->Visible(), p.visible);
    }
}

TEST_F(MainLayoutTest, StartsOnTheStartPageWithTheFirstLineAndNoTabs) {
    auto* pages = dynamic_cast<TPageControl*>(Control(L"PC"));
    ASSERT_NE(pages, nullptr);
    EXPECT_EQ(pages->ActivePage(), Control(L"TS1"));
    ASSERT_EQ(pages->PageCount(), 3);
    for (int i = 0; i < pages->PageCount(); ++i) EXPECT_FALSE(pages->Pages(i)->TabVisible());
    auto* first = dynamic_cast<TXPDorvexRadioButton*>(Control(L"rdbDX"));
    auto* second = dynamic_cast<TXPDorvexRadioButton*>(Control(L"RdbLT"));
    ASSERT_TRUE(first && second);
    EXPECT_TRUE(first->Checked());
    EXPECT_FALSE(second->Checked());
    EXPECT_EQ(first->Caption(), L"电信");
    EXPECT_EQ(second->Caption(), L"联通");
    EXPECT_EQ(Control(L"labProcess")->Caption(), L"正在下载（0%）");
    EXPECT_FALSE(Control(L"btnClose")->Visible());
}

TEST_F(MainLayoutTest, ClickableControlsShowTheHand) {
    for (const wchar_t* name : {L"btnSmall", L"btnClose", L"labCustom", L"btnDownloadNow",
                                L"labBack", L"btnDownload", L"btnDir", L"btnInstall"}) {
        SCOPED_TRACE(std::string(name, name + wcslen(name)));
        if (TControl* control = Control(name)) {
            EXPECT_EQ(control->Cursor(), crHandPoint);
        }
    }
}

}  // namespace
}  // namespace qv
