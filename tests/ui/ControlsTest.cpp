// The layout pieces: labels, images, panels, pages, check box, multi-line box, timers, colours
// and ownership.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "UiTestSupport.h"
#include "ui/CheckBox.h"
#include "ui/Image.h"
#include "ui/Label.h"
#include "ui/Memo.h"
#include "ui/PageControl.h"
#include "ui/Panel.h"
#include "ui/Timer.h"
#include "ui/VantlePanel.h"

namespace qv {
namespace {

using test::PaintedPixel;
using test::WaitUntil;

// An RGBA picture of one colour.
TPNGObject SolidPng(int width, int height, TColor color, std::uint8_t alpha = 255) {
    TPNGObject png = TPNGObject::CreateBlank(width, height);
    const COLORREF rgb = ColorToRGB(color);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = png.ColorRow(y);
        for (int x = 0; x < width; ++x) {
            row[x * 3] = GetRValue(rgb);
            row[x * 3 + 1] = GetGValue(rgb);
            row[x * 3 + 2] = GetBValue(rgb);
            png.AlphaRow(y)[x] = alpha;
        }
    }
    png.Changed();
    return png;
}

void SetPngPixel(TPNGObject& png, int x, int y, TColor color) {
    const COLORREF rgb = ColorToRGB(color);
    png.ColorRow(y)[x * 3] = GetRValue(rgb);
    png.ColorRow(y)[x * 3 + 1] = GetGValue(rgb);
    png.ColorRow(y)[x * 3 + 2] = GetBValue(rgb);
    png.Changed();
}

std::unique_ptr<TForm> ColouredForm(TColor color, int width = 100, int height = 80) {
    auto form = MakeForm<TForm>(nullptr);
    form->SetBounds(0, 0, width, height);
    form->SetColor(color);
    return form;
}

bool Near(TColor actual, int r, int g, int b, int tolerance = 2) {
    const COLORREF c = ColorToRGB(actual);
    return std::abs(GetRValue(c) - r) <= tolerance && std::abs(GetGValue(c) - g) <= tolerance &&
           std::abs(GetBValue(c) - b) <= tolerance;
}

// --- colours ---------------------------------------------------------------------------------

TEST(ColorTest, ResolvesExplicitSystemAndSpecialColours) {
    struct Case {
        TColor color;
        COLORREF expected;
    };
    const Case cases[] = {
        {0xCA8B42, RGB(0x42, 0x8B, 0xCA)},  // red in the lowest byte
        {clNavy, RGB(0, 0, 0x80)},
        {clBtnFace, GetSysColor(COLOR_BTNFACE)},
        {clBtnShadow, GetSysColor(COLOR_BTNSHADOW)},
        {clWindowText, GetSysColor(COLOR_WINDOWTEXT)},
        {clNone, RGB(0, 0, 0)},
    };
    for (const Case& c : cases) EXPECT_EQ(ColorToRGB(c.color), c.expected) << std::hex << c.color;
    EXPECT_EQ(clNone, 0x1FFFFFFF);
    EXPECT_EQ(clBtnFace, static_cast<TColor>(0xFF000000 | COLOR_BTNFACE));
    EXPECT_EQ(RGBColor(0x42, 0x8B, 0xCA), 0xCA8B42);
}

// --- ownership -------------------------------------------------------------------------------

class Probe : public TGraphicControl {
public:
    Probe(TComponent* owner, std::vector<std::string>& log, std::string name)
        : TGraphicControl(owner), log_(log), name_(std::move(name)) {}
    ~Probe() override { log_.push_back(name_); }

private:
    std::vector<std::string>& log_;
    std::string name_;
};

TEST(OwnershipTest, OwnerAndParentEachDestroyTheirControlsOnce) {
    std::vector<std::string> destroyed;
    {
        TPanel owner(nullptr);
        auto* panel = new TPanel(&owner);
        panel->SetParent(&owner);
        auto* a = new Probe(&owner, destroyed, "a");  // owned by the outer panel ...
        a->SetParent(panel);                          // ... placed on the inner one
        new Probe(&owner, destroyed, "b");
        auto* c = new Probe(nullptr, destroyed, "c");  // no owner: its parent destroys it
        c->SetParent(panel);
        delete a;  // early: leaves both lists
        EXPECT_EQ(owner.ComponentCount(), 2);
        EXPECT_EQ(panel->ControlCount(), 1);
        EXPECT_EQ(destroyed, std::vector<std::string>{"a"});
    }
    EXPECT_EQ(destroyed, (std::vector<std::string>{"a", "b", "c"}));
}

TEST(OwnershipTest, FreeNotificationTellsTheOtherSideOnce) {
    class Watcher : public TComponent {
    public:
        using TComponent::TComponent;
        std::vector<TComponent*> removed;

    protected:
        void Notification(TComponent* component, TOperation operation) override {
            if (operation == opRemove) removed.push_back(component);
        }
    };
    Watcher watcher(nullptr);
    auto* form = new TForm(nullptr);
    form->FreeNotification(&watcher);
    form->FreeNotification(&watcher);  // twice registered, once told
    delete form;
    ASSERT_EQ(watcher.removed.size(), 1u);
    EXPECT_EQ(watcher.removed[0], form);
}

// --- enabled ---------------------------------------------------------------------------------

TEST(EnabledTest, AControlCountsAsEnabledOnlyWhenEveryParentIs) {
    struct Case {
        bool outer, inner, control, expected;
    };
    const Case cases[] = {{true, true, true, true},
                          {false, true, true, false},
                          {true, false, true, false},
                          {true, true, false, false}};
    for (const Case& c : cases) {
        TPanel outer(nullptr);
        auto* inner = new TPanel(&outer);
        inner->SetParent(&outer);
        auto* control = new TLabel(&outer);
        control->SetParent(inner);
        outer.SetEnabled(c.outer);
        inner->SetEnabled(c.inner);
        control->SetEnabled(c.control);
        EXPECT_EQ(control->IsEnabledInTree(), c.expected) << c.outer << c.inner << c.control;
        EXPECT_EQ(control->Enabled(), c.control);
    }
}

// --- label -----------------------------------------------------------------------------------

TEST(LabelTest, AutomaticSizeFollowsCaptionFontAndWordWrap) {
    auto form = ColouredForm(clWhite, 300, 200);
    auto* label = new TLabel(form.get());
    label->SetParent(form.get());
    label->Font().SetName(L"微软雅黑");
    label->Font().SetHeight(-13);
    label->SetCaption(L"正在下载（0%）");
    const int shortWidth = label->Width();
    EXPECT_GT(shortWidth, 40);
    EXPECT_GE(label->Height(), 13);
    label->SetCaption(L"正在下载（100%）");
    EXPECT_GT(label->Width(), shortWidth);
    const int oneLine = label->Height();
    label->Font().SetHeight(-26);
    EXPECT_GT(label->Height(), oneLine);

    label->Font().SetHeight(-13);
    label->SetWordWrap(true);
    label->SetWidth(60);
    label->SetCaption(L"在线下载异常，您可以选择重新下载或直接下载安装包安装");
    EXPECT_EQ(label->Width(), 60);
    EXPECT_GE(label->Height(), 3 * oneLine);

    label->SetAutoSize(false);
    label->SetBounds(0, 0, 329, 43);
    label->SetCaption(L"短");
    EXPECT_EQ(label->Width(), 329);
    EXPECT_EQ(label->Height(), 43);
}

TEST(LabelTest, TransparentLabelShowsWhatLiesBeneathAndDrawsItsText) {
    auto form = ColouredForm(clRed, 200, 60);
    auto* label = new TLabel(form.get());
    label->SetParent(form.get());
    label->SetCaption(L"自定义下载");
    label->Font().SetColor(clBlack);
    label->Font().SetHeight(-20);
    label->SetLeft(10);
    label->SetColor(clBlue);
    EXPECT_EQ(PaintedPixel(*form, 10, label->Top() + label->Height() - 1), clBlue);
    label->SetTransparent(true);
    EXPECT_EQ(PaintedPixel(*form, 10, label->Top() + label->Height() - 1), clRed);
    int textPixels = 0;
    for (int y = 0; y < label->Height(); ++y) {
        for (int x = 10; x < 10 + label->Width(); ++x) {
            if (PaintedPixel(*form, x, y) != clRed) ++textPixels;
        }
    }
    EXPECT_GT(textPixels, 20) << "the caption is drawn";
}

// --- image -----------------------------------------------------------------------------------

TEST(ImageTest, AutomaticSizeTakesThePicturesSize) {
    TPanel parent(nullptr);
    auto* image = new TImage(&parent);
    image->SetParent(&parent);
    image->SetAutoSize(true);
    image->Picture().AssignPng(SolidPng(30, 27, clWhite));
    EXPECT_EQ(image->Width(), 30);
    EXPECT_EQ(image->Height(), 27);
    image->SetAutoSize(false);
    image->Picture().AssignPng(SolidPng(40, 10, clWhite));
    EXPECT_EQ(image->Width(), 30) << "without automatic size the control keeps its size";
}

TEST(ImageTest, DrawsNaturalSizeClippedOrStretched) {
    TPNGObject quarters = SolidPng(2, 2, clRed);
    SetPngPixel(quarters, 1, 1, clLime);
    auto form = ColouredForm(clBlue);
    auto* image = new TImage(form.get());
    image->SetParent(form.get());
    image->SetBounds(10, 10, 20, 20);
    image->Picture().AssignPng(quarters);
    EXPECT_EQ(PaintedPixel(*form, 10, 10), clRed);
    EXPECT_EQ(PaintedPixel(*form, 11, 11), clLime);
    EXPECT_EQ(PaintedPixel(*form, 20, 20), clBlue) << "natural size: the rest shows the parent";
    image->SetStretch(true);
    EXPECT_EQ(PaintedPixel(*form, 14, 14), clRed);
    EXPECT_EQ(PaintedPixel(*form, 25, 25), clLime);
    EXPECT_EQ(PaintedPixel(*form, 35, 35), clBlue) << "nothing outside the control";

    // A picture larger than the control is clipped to the control.
    image->SetStretch(false);
    image->Picture().AssignPng(SolidPng(60, 60, clYellow));
    EXPECT_EQ(PaintedPixel(*form, 29, 29), clYellow);
    EXPECT_EQ(PaintedPixel(*form, 31, 31), clBlue);
}

TEST(ImageTest, BlendsAlphaOverTheParentAndLeavesOutATransparentBitmapColour) {
    auto form = ColouredForm(clBlue);
    auto* image = new TImage(form.get());
    image->SetParent(form.get());
    image->SetBounds(0, 0, 10, 10);
    image->Picture().AssignPng(SolidPng(10, 10, clRed, 128));
    EXPECT_TRUE(Near(PaintedPixel(*form, 5, 5), 128, 0, 127))
        << std::hex << PaintedPixel(*form, 5, 5);

    TBitmap bitmap(4, 4);
    bitmap.Canvas().Brush().SetColor(clWhite);
    bitmap.Canvas().FillRect({0, 0, 4, 4});
    bitmap.Canvas().Brush().SetColor(clRed);
    bitmap.Canvas().FillRect({1, 1, 3, 3});
    image->Picture().AssignBitmap(bitmap);
    EXPECT_EQ(PaintedPixel(*form, 0, 0), clWhite);
    image->SetTransparent(true);  // the bottom-left pixel's colour, white, is left out
    EXPECT_EQ(PaintedPixel(*form, 0, 0), clBlue);
    EXPECT_EQ(PaintedPixel(*form, 2, 2), clRed);
}

TEST(ImageTest, AProgressFillUncoversItsPictureFromTheLeftUnscaled) {
    // A 736-pixel fill picture in an image whose width grows, as the download bar does.
    TPNGObject fill = SolidPng(736, 19, clAqua);
    for (int y = 0; y < 19; ++y) SetPngPixel(fill, 0, y, clRed);  // marks the first column
    auto form = ColouredForm(clWhite, 600, 40);
    auto* inner = new TImage(form.get());
    inner->SetParent(form.get());
    inner->SetBounds(10, 6, 0, 19);
    inner->Picture().AssignPng(fill);
    struct Case {
        int width;
        int probeX;  // form coordinates
        TColor expected;
    };
    const Case cases[] = {
        {0, 10, clWhite},     // width 0 shows nothing
        {1, 10, clRed},       // the picture's first column, not a scaled one
        {300, 309, clAqua},   // last uncovered column
        {300, 310, clWhite},  // and nothing beyond it
        {551, 560, clAqua},  {551, 561, clWhite},
    };
    for (const Case& c : cases) {
        inner->SetWidth(c.width);
        EXPECT_EQ(PaintedPixel(*form, c.probeX, 7 + 1), c.expected)
            << "width " << c.width << " at " << c.probeX;
    }
    EXPECT_EQ(PaintedPixel(*form, 11, 8), clAqua) << "unscaled: only one column is marked";
}

// --- panels ----------------------------------------------------------------------------------

TEST(VantlePanelTest, TransparentPanelShowsThePictureBeneathAndStretchesItsBackground) {
    auto form = ColouredForm(clBlue);
    auto* banner = new TImage(form.get());
    banner->SetParent(form.get());
    banner->SetBounds(0, 0, 100, 40);
    banner->SetStretch(true);
    banner->Picture().AssignPng(SolidPng(1, 1, clRed));
    auto* panel = new TVantlePanel(form.get());
    panel->SetParent(form.get());
    panel->SetBounds(60, 20, 40, 40);
    panel->SetColor(clWhite);
    EXPECT_EQ(PaintedPixel(*form, 70, 30), clWhite);
    panel->SetTransparent(true);
    EXPECT_EQ(PaintedPixel(*form, 70, 30), clRed) << "over the banner";
    EXPECT_EQ(PaintedPixel(*form, 70, 50), clBlue) << "below the banner";

    TPNGObject halves = SolidPng(2, 1, clRed);
    SetPngPixel(halves, 1, 0, clLime);
    panel->SetTransparent(false);
    panel->BackgroundPicture().AssignPng(halves);
    panel->SetBackgroundStretch(true);
    EXPECT_EQ(PaintedPixel(*form, 65, 55), clRed);
    EXPECT_EQ(PaintedPixel(*form, 95, 25), clLime);
}

TEST(PanelTest, DrawsItsBevelsInsideTheColour) {
    auto form = ColouredForm(clBlue);
    auto* panel = new TPanel(form.get());
    panel->SetParent(form.get());
    panel->SetBounds(10, 10, 30, 30);
    panel->SetColor(clWhite);
    panel->SetBevelOuter(bvLowered);
    EXPECT_EQ(ColorToRGB(PaintedPixel(*form, 10, 10)), ColorToRGB(clBtnShadow));
    EXPECT_EQ(ColorToRGB(PaintedPixel(*form, 39, 39)), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(PaintedPixel(*form, 20, 20), clWhite);
    panel->SetBevelOuter(bvNone);
    EXPECT_EQ(PaintedPixel(*form, 10, 10), clWhite);
}

// --- page control ----------------------------------------------------------------------------

TEST(PageControlTest, SwitchesPagesAndReportsShowAndHide) {
    TPanel host(nullptr);
    host.SetBounds(0, 0, 620, 416);
    auto* pages = new TPageControl(&host);
    pages->SetParent(&host);
    pages->SetBounds(0, 241, 620, 175);
    std::vector<std::string> events;
    TTabSheet* sheets[3];
    for (int i = 0; i < 3; ++i) {
        sheets[i] = new TTabSheet(&host);
        sheets[i]->SetCaption(L"TS" + std::to_wstring(i + 1));
        sheets[i]->SetPageControl(pages);
        const std::string name = "TS" + std::to_string(i + 1);
        sheets[i]->OnShow = [&events, name](TComponent*) { events.push_back(name + " shown"); };
        sheets[i]->OnHide = [&events, name](TComponent*) { events.push_back(name + " hidden"); };
    }
    EXPECT_EQ(pages->ActivePage(), sheets[0]) << "the first page starts active";
    EXPECT_TRUE(sheets[0]->Visible());
    EXPECT_FALSE(sheets[1]->Visible());

    pages->SetActivePage(sheets[2]);
    EXPECT_EQ(events, (std::vector<std::string>{"TS1 hidden", "TS3 shown"}));
    EXPECT_EQ(pages->ActivePageIndex(), 2);
    EXPECT_TRUE(sheets[2]->Visible());
    EXPECT_FALSE(sheets[0]->Visible());
    pages->SetActivePage(sheets[2]);
    EXPECT_EQ(events.size(), 2u) << "activating the active page again reports nothing";

    EXPECT_EQ(sheets[2]->Top(), pages->TabHeight()) << "tabs visible: the page lies below them";
    for (TTabSheet* sheet : sheets) sheet->SetTabVisible(false);
    EXPECT_EQ(sheets[2]->BoundsRect().top, 0);
    EXPECT_EQ(sheets[2]->Width(), 620);
    EXPECT_EQ(sheets[2]->Height(), 175);

    delete sheets[2];
    EXPECT_EQ(pages->PageCount(), 2);
    EXPECT_EQ(pages->ActivePage(), sheets[1]) << "the neighbour of a removed active page";
}

TEST(PageControlTest, ClickOnATabActivatesItsPage) {
    auto form = ColouredForm(clBtnFace, 300, 200);
    auto* pages = new TPageControl(form.get());
    pages->SetParent(form.get());
    pages->SetBounds(0, 0, 300, 200);
    auto* first = new TTabSheet(form.get());
    first->SetCaption(L"一");
    first->SetPageControl(pages);
    auto* second = new TTabSheet(form.get());
    second->SetCaption(L"二");
    second->SetPageControl(pages);
    form->Show();
    const RECT tab = pages->TabRect(1);
    ASSERT_GT(tab.right, tab.left);
    const LPARAM at = MAKELPARAM((tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
    SendMessageW(pages->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(pages->Handle(), WM_LBUTTONUP, 0, at);
    EXPECT_EQ(pages->ActivePage(), second);
    EXPECT_TRUE(IsWindowVisible(second->Handle()));
    EXPECT_FALSE(IsWindowVisible(first->Handle()));
}

// --- system controls -------------------------------------------------------------------------

TEST(CheckBoxTest, KeepsItsStateAcrossWindowCreationAndReportsUserToggles) {
    auto form = ColouredForm(clWhite, 200, 60);
    auto* box = new TCheckBox(form.get());
    box->SetParent(form.get());
    box->SetCaption(L"不再提醒");
    box->SetChecked(true);
    int clicks = 0;
    box->OnClick = [&](TComponent*) { ++clicks; };
    form->Show();
    EXPECT_EQ(SendMessageW(box->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_TRUE(box->Checked());
    EXPECT_EQ(clicks, 0) << "setting the state by code is no click";
    SendMessageW(box->Handle(), BM_CLICK, 0, 0);
    EXPECT_FALSE(box->Checked());
    EXPECT_EQ(clicks, 1);
    box->SetAlignment(taLeftJustify);  // re-creates the window
    EXPECT_FALSE(box->Checked());
    EXPECT_TRUE(GetWindowLongW(box->Handle(), GWL_STYLE) & BS_LEFTTEXT);
}

TEST(MemoTest, ShowsLinesReadOnlyWithBothScrollBars) {
    auto form = ColouredForm(clWhite, 200, 100);
    auto* memo = new TRichEdit(form.get());
    memo->SetParent(form.get());
    memo->SetBounds(0, 0, 200, 100);
    memo->SetReadOnly(true);
    memo->SetScrollBars(ssBoth);
    memo->SetBorderStyle(bsNone);
    memo->SetCaption(L"第一行\n第二行\r\n第三行");
    form->Show();
    const HWND window = memo->Handle();
    EXPECT_EQ(SendMessageW(window, EM_GETLINECOUNT, 0, 0), 3);
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    EXPECT_TRUE(style & ES_READONLY);
    EXPECT_TRUE(style & WS_HSCROLL);
    EXPECT_TRUE(style & WS_VSCROLL);
    EXPECT_FALSE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_EQ(memo->Caption(), L"第一行\r\n第二行\r\n第三行");
    memo->Clear();
    EXPECT_EQ(GetWindowTextLengthW(window), 0);
}

// --- timer -----------------------------------------------------------------------------------

TEST(TimerTest, HandlerCanBeSwappedAndTheTimerStoppedFromInsideIt) {
    TTimer timer(nullptr);
    timer.SetInterval(10);
    int first = 0, second = 0;
    bool done = false;
    timer.OnTimer = [&](TComponent*) {
        if (++first == 2) {
            timer.OnTimer = [&](TComponent* sender) {
                ++second;
                static_cast<TTimer*>(sender)->SetEnabled(false);
                done = true;
            };
        }
    };
    ASSERT_TRUE(WaitUntil([&] { return done; }));
    EXPECT_EQ(first, 2);
    EXPECT_EQ(second, 1);

    // A second timer measures time passing; the stopped one must stay silent meanwhile.
    TTimer clock(nullptr);
    clock.SetInterval(15);
    int ticks = 0;
    clock.OnTimer = [&](TComponent*) { ++ticks; };
    ASSERT_TRUE(WaitUntil([&] { return ticks >= 4; }));
    EXPECT_EQ(second, 1);

    timer.SetInterval(20);
    timer.SetEnabled(true);
    ASSERT_TRUE(WaitUntil([&] { return second == 2; }));
}

TEST(TimerTest, ATimerMayDestroyItselfInItsHandler) {
    auto timer = std::make_unique<TTimer>(nullptr);
    timer->SetInterval(5);
    int calls = 0;
    timer->OnTimer = [&](TComponent*) {
        ++calls;
        timer.reset();
    };
    ASSERT_TRUE(WaitUntil([&] { return !timer; }));
    TTimer clock(nullptr);
    clock.SetInterval(10);
    int ticks = 0;
    clock.OnTimer = [&](TComponent*) { ++ticks; };
    ASSERT_TRUE(WaitUntil([&] { return ticks >= 3; }));
    EXPECT_EQ(calls, 1);
}

TEST(TimerTest, DestroyedWithItsOwner) {
    int calls = 0;
    {
        TPanel owner(nullptr);
        auto* timer = new TTimer(&owner);
        timer->SetInterval(1);
        timer->OnTimer = [&](TComponent*) { ++calls; };
    }
    TTimer clock(nullptr);
    clock.SetInterval(10);
    int ticks = 0;
    clock.OnTimer = [&](TComponent*) { ++ticks; };
    ASSERT_TRUE(WaitUntil([&] { return ticks >= 3; }));
    EXPECT_EQ(calls, 0);
}

}  // namespace
}  // namespace qv
