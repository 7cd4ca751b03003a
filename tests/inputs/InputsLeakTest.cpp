// Creating, using and deleting the input controls gives back every GDI and USER object.
#include <gtest/gtest.h>

#include <vector>

#include "InputsTestSupport.h"
#include "controls/XPDorvexEditEx.h"
#include "controls/XPDorvexRadioButton.h"
#include "ui/Form.h"

namespace {

using namespace qv;
using qv::test::Pump;
using qv::test::WaitUntil;

// How many objects the process can still create: what leaked is missing from it.
int FreeGdiSlots() {
    std::vector<HBRUSH> taken;
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
    while (taken.size() < 200000) {
        HMENU menu = CreateMenu();
        if (!menu) break;
        taken.push_back(menu);
    }
    for (HMENU menu : taken) DestroyMenu(menu);
    return static_cast<int>(taken.size());
}

void UseEveryDrawingPath(TForm& form) {
    auto* radio = new TXPDorvexRadioButton(&form);
    radio->SetBounds(10, 10, 120, 21);
    radio->SetCaption(L"\u7535\u4FE1");
    radio->SetParent(&form);
    radio->SetChecked(true);
    radio->SetDrawFocusRect(true);
    radio->SetFocus();
    radio->SetTransparent(true);
    TBitmap strip(50, 10, pf24bit);
    radio->Glyph().AssignBitmap(strip);
    radio->SetChecked(false);
    auto* edit = new TXPDorvexEditEx(&form);
    edit->SetBounds(10, 40, 150, 23);
    edit->SetParent(&form);
    edit->SetSideWidth(3);
    edit->SetSideLightStep(20);
    edit->SetInputStyle(TInputStyle::ISPercent);
    edit->SetFocus();
    edit->SetPasswordChar(L'*');
    edit->SetPasswordChar(L'\0');
    Pump();
    UpdateWindow(form.Handle());
    edit->SetEnabled(false);
    Pump();
    delete radio;
    delete edit;
    Pump();
}

TEST(InputsLeakTest, ControlsGiveBackTheirObjects) {
    auto* form = MakeForm<TForm>(nullptr).release();
    form->SetBounds(420, 320, 200, 100);
    form->Show();
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(form->Handle()) != FALSE; }));
    UseEveryDrawingPath(*form);  // the first round fills the caches that live on
    const int gdiBefore = FreeGdiSlots();
    const int userBefore = FreeUserSlots();
    for (int round = 0; round < 20; ++round) UseEveryDrawingPath(*form);
    // A leak leaves fewer free slots; more may be free when Wine hands back objects of earlier
    // windows late.
    EXPECT_GE(FreeGdiSlots(), gdiBefore) << "GDI objects leaked";
    EXPECT_GE(FreeUserSlots(), userBefore) << "USER objects leaked";
    // The form stays: destroying a shown window is slow without a window manager, and the
    // process ends right after.
}

}  // namespace
