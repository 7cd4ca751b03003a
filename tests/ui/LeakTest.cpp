// Opening and closing forms returns every GDI and USER object the toolkit took.
#include <gtest/gtest.h>

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

using test::WaitUntil;

// How many more objects of a kind the process could still create: the count of free slots in
// the system's object table. Works where GetGuiResources does not (Wine answers 0 there).
int FreeGdiSlots() {
    std::vector<HBRUSH> taken;
    taken.reserve(70000);
    while (taken.size() < 200000) {
        HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
        if (!brush) break;
        taken.push_back(brush);
    }
    for (HBRUSH brush : taken) DeleteObject(brush);
    return static_cast<int>(taken.size());
}

int FreeUserSlots() {
    std::vector<HMENU> taken;
    taken.reserve(40000);
    while (taken.size() < 200000) {
        HMENU menu = CreateMenu();
        if (!menu) break;
        taken.push_back(menu);
    }
    for (HMENU menu : taken) DestroyMenu(menu);
    return static_cast<int>(taken.size());
}

TPNGObject HalfTransparentPng(int width, int height) {
    TPNGObject png = TPNGObject::CreateBlank(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            png.ColorRow(y)[x * 3] = 0x3A;
            png.ColorRow(y)[x * 3 + 1] = 0x8F;
            png.ColorRow(y)[x * 3 + 2] = 0xD9;
            png.AlphaRow(y)[x] = static_cast<std::uint8_t>(x * 255 / width);
        }
    }
    png.Changed();
    return png;
}

// A form with one of every piece, shown, painted, driven a little and closed.
void OpenUseAndCloseAForm() {
    auto form = MakeForm<TForm>(nullptr);
    form->SetBounds(30, 30, 400, 300);
    form->Font().SetName(L"微软雅黑");
    auto* back = new TVantlePanel(form.get());
    back->SetParent(form.get());
    back->SetAlign(alClient);
    back->SetColor(clWhite);
    auto* banner = new TImage(form.get());
    banner->SetParent(back);
    banner->SetAlign(alTop);
    banner->SetAutoSize(true);
    banner->Picture().AssignPng(HalfTransparentPng(400, 80));
    auto* corner = new TVantlePanel(form.get());
    corner->SetParent(back);
    corner->SetBounds(320, 0, 80, 27);
    corner->SetTransparent(true);
    auto* pages = new TPageControl(form.get());
    pages->SetParent(back);
    pages->SetAlign(alClient);
    for (int i = 0; i < 2; ++i) {
        auto* sheet = new TTabSheet(form.get());
        sheet->SetPageControl(pages);
        auto* label = new TLabel(form.get());
        label->SetParent(sheet);
        label->SetCaption(L"正在下载（0%）");
        label->Font().SetHeight(-13);
        label->SetTransparent(true);
    }
    auto* panel = new TPanel(form.get());
    panel->SetParent(pages->Pages(0));
    panel->SetBounds(10, 40, 200, 40);
    panel->SetBevelOuter(bvLowered);
    auto* box = new TCheckBox(form.get());
    box->SetParent(pages->Pages(0));
    box->SetBounds(10, 90, 120, 20);
    box->SetCaption(L"不再提醒");
    box->Font().SetHeight(-12);
    auto* memo = new TRichEdit(form.get());
    memo->SetParent(pages->Pages(1));
    memo->SetBounds(0, 0, 200, 80);
    memo->SetScrollBars(ssBoth);
    memo->SetCaption(L"一\n二");
    TTimer* timer = new TTimer(form.get());
    timer->SetInterval(5);
    int ticks = 0;
    timer->OnTimer = [&](TComponent*) { ++ticks; };

    form->Show();
    UpdateWindow(form->Handle());
    pages->SetActivePage(pages->Pages(1));
    box->SetAlignment(taLeftJustify);  // a re-created window
    form->Font().SetHeight(-14);       // fonts handed down and re-created
    TBitmap snapshot(form->Width(), form->Height());
    form->PaintTo(snapshot.Canvas().Handle(), 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return ticks >= 2; }));

    auto modal = MakeForm<TForm>(nullptr);
    modal->SetBounds(60, 60, 100, 80);
    TTimer closer(modal.get());
    closer.SetInterval(5);
    closer.OnTimer = [&](TComponent*) { modal->SetModalResult(mrOk); };
    EXPECT_EQ(modal->ShowModal(), mrOk);
    form->Hide();
}

TEST(LeakTest, OpeningAndClosingFormsManyTimesReturnsEveryObject) {
    OpenUseAndCloseAForm();  // the system's own first-use objects are made here
    Application().ProcessMessages();
    const DWORD gdiReported = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    const DWORD userReported = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    const int gdiBefore = FreeGdiSlots();
    const int userBefore = FreeUserSlots();
    for (int i = 0; i < 25; ++i) OpenUseAndCloseAForm();
    Application().ProcessMessages();
    // A leak leaves fewer free slots; more may be free when Wine hands back objects of earlier
    // windows late.
    EXPECT_GE(FreeGdiSlots(), gdiBefore) << "GDI objects leaked";
    EXPECT_GE(FreeUserSlots(), userBefore) << "USER objects leaked";
    if (gdiReported != 0) {  // the system counts them too (Windows)
        EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), gdiReported);
        EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), userReported);
    }
}

}  // namespace
}  // namespace qv
