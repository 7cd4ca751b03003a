// Shows a borderless form with its shadow, image buttons and speed buttons over a white
// backdrop, writes the screen around it to chrome_showcase.png beside the test, and checks that
// the shadow darkens the backdrop right around the form and nowhere further out.
#include <gtest/gtest.h>

#include "ChromeTestSupport.h"
#include "PngFile.h"
#include "controls/PngImageButton.h"
#include "dialogs/ModalSpeedButton.h"

namespace qv::test {
namespace {

TPNGObject CrossPng(int size, TColor colour) {
    TPNGObject png = TPNGObject::CreateBlank(size, size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const bool onCross = std::abs(x - y) <= 1 || std::abs(x + y - size + 1) <= 1;
            png.ColorRow(y)[3 * x] = colour & 0xFF;
            png.ColorRow(y)[3 * x + 1] = (colour >> 8) & 0xFF;
            png.ColorRow(y)[3 * x + 2] = (colour >> 16) & 0xFF;
            png.AlphaRow(y)[x] = onCross && x > 8 && x < size - 9 ? 255 : 0;
        }
    }
    return png;
}

class Showcase : public ShadowedForm {
public:
    explicit Showcase(TComponent* owner) : ShadowedForm(owner, 240, 200, 420, 260) {
        close = new TPNGImageButtonEx(this);
        close->SetParent(this);
        close->SetPngImg(CrossPng(30, clWhite));
        close->SetPngOver(CrossPng(30, clYellow));
        close->SetLeft(420 - 34);
        close->SetTop(4);
        const wchar_t* captions[] = {L"确定", L"取消"};
        for (int i = 0; i < 2; ++i) {
            auto* button = new TModalSpeedButton(this);
            button->SetParent(this);
            button->SetBounds(420 - 160 + 80 * i, 210, 67, 30);
            button->SetCaption(captions[i]);
            button->SetStyle(bsNormal);
            button->SetFlat(true);
            button->Font().SetName(L"微软雅黑");
            button->Font().SetHeight(-12);
            button->Font().SetColor(clWhite);
            for (auto set : {&TModalSpeedButton::SetColorWhenDown,
                             &TModalSpeedButton::SetLightColor, &TModalSpeedButton::SetShadowColor})
                (button->*set)(0xCA8B42);
            button->SetColor(0xCA8B42);
            button->SetHotTrackColor(0xB9610E);
        }
        auto* modern = new TModalSpeedButton(this);
        modern->SetParent(this);
        modern->SetBounds(20, 210, 100, 30);
        modern->SetCaption(L"显示详细信息");
    }
    TPNGImageButtonEx* close = nullptr;
};

TEST(ChromeScreenshot, ShadowSurroundsTheFormOverTheBackdrop) {
    auto backdrop = MakeForm<HostForm>(nullptr, 100, 100, 700, 500);
    backdrop->Show();
    auto form = MakeForm<Showcase>(nullptr);
    form->Show();
    ASSERT_TRUE(
        WaitUntil([&] { return ShadowSurrounds(*form) && form->shadow->SnapshotCount() > 0; }));

    const RECT f = WindowRect(form->Handle());
    const RECT area{f.left - 40, f.top - 40, f.right + 40, f.bottom + 40};
    const int w = area.right - area.left, h = area.bottom - area.top;
    TBitmap shot(w, h);
    {
        ScopedGetDC screen(nullptr);
        BitBlt(shot.Canvas().Handle(), 0, 0, w, h, screen.get(), area.left, area.top, SRCCOPY);
        GdiFlush();
    }
    std::vector<std::string> rows;
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* bgr = shot.ScanLine(y);
        std::string row(3 * w, '\0');
        for (int x = 0; x < w; ++x) {
            row[3 * x] = static_cast<char>(bgr[3 * x + 2]);
            row[3 * x + 1] = static_cast<char>(bgr[3 * x + 1]);
            row[3 * x + 2] = static_cast<char>(bgr[3 * x]);
        }
        rows.push_back(row);
    }
    EXPECT_TRUE(WriteFileBytes(L"chrome_showcase.png", PngFileBytes(w, h, 2, "", rows)));

    auto at = [&](int x, int y) {  // screen point to colour in the shot
        const std::uint8_t* bgr = shot.ScanLine(y - area.top);
        const int i = 3 * (x - area.left);
        return RGBColor(bgr[i + 2], bgr[i + 1], bgr[i]);
    };
    auto dark = [](TColor c) {
        return (c & 0xFF) < 0xC0 && ((c >> 8) & 0xFF) < 0xC0 && ((c >> 16) & 0xFF) < 0xC0;
    };
    const int midX = (f.left + f.right) / 2, midY = (f.top + f.bottom) / 2;
    EXPECT_TRUE(dark(at(midX, f.bottom))) << "below the form";
    EXPECT_TRUE(dark(at(midX, f.top - 1))) << "above the form";
    EXPECT_TRUE(dark(at(f.left - 1, midY))) << "left of the form";
    EXPECT_TRUE(dark(at(f.right, midY))) << "right of the form";
    for (POINT out : {POINT{midX, f.bottom + 30}, POINT{midX, f.top - 30}, POINT{f.left - 30, midY},
                      POINT{f.right + 30, midY}})
        EXPECT_EQ(at(out.x, out.y), clWhite) << "beyond the shadow " << out.x << "," << out.y;
    EXPECT_EQ(at(f.left + 5, f.top + 60), RGBColor(0x2B, 0x8F, 0xD8)) << "the form itself";
    EXPECT_EQ(at(f.right - 80 + 5, f.top + 212), 0xCA8B42) << "a speed button";
}

}  // namespace
}  // namespace qv::test
