// A form with two transparent radio buttons over a picture and a flat edit box, checked on the
// screen's own pixels. With QV_INPUTS_SCREENSHOT=<file.bmp> in the environment the capture is
// also written out (that is how the committed screenshot was made).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "InputsTestSupport.h"
#include "controls/XPDorvexEditEx.h"
#include "controls/XPDorvexRadioButton.h"
#include "ui/Form.h"
#include "ui/Image.h"

namespace {

using namespace qv;
using qv::test::Pump;
using qv::test::WaitUntil;

constexpr int kWidth = 300, kHeight = 110;

// A soft vertical gradient, so that every row of the background differs.
void PaintGradient(TBitmap& bitmap) {
    for (int y = 0; y < bitmap.Height(); ++y) {
        const int shade = 150 + y * 100 / bitmap.Height();
        bitmap.Canvas().Brush().SetColor(RGBColor(shade / 2, shade, 255));
        bitmap.Canvas().FillRect(RECT{0, y, bitmap.Width(), y + 1});
    }
    bitmap.FlushCanvas();
}

TColor BitmapPixel(const TBitmap& bitmap, int x, int y) {
    const std::uint8_t* row = bitmap.ScanLine(y);
    return RGBColor(row[x * 3 + 2], row[x * 3 + 1], row[x * 3]);
}

bool WriteBmp(TBitmap& image, const char* path) {
    FILE* file = std::fopen(path, "wb");
    if (!file) return false;
    BITMAPFILEHEADER header{};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = image.Width();
    info.biHeight = -image.Height();  // rows top to bottom, as ScanLine gives them
    info.biPlanes = 1;
    info.biBitCount = 24;
    const DWORD size = static_cast<DWORD>(image.Stride()) * static_cast<DWORD>(image.Height());
    header.bfType = 0x4D42;
    header.bfOffBits = sizeof header + sizeof info;
    header.bfSize = header.bfOffBits + size;
    bool ok = std::fwrite(&header, sizeof header, 1, file) == 1 &&
              std::fwrite(&info, sizeof info, 1, file) == 1 &&
              std::fwrite(image.ScanLine(0), size, 1, file) == 1;
    ok = std::fclose(file) == 0 && ok;
    return ok;
}

TEST(InputsScreenshotTest, TransparentRadioButtonsOverAPictureAndAFlatEdit) {
    auto form = MakeForm<TForm>(nullptr);
    form->SetBounds(100, 300, kWidth, kHeight);
    auto* picture = new TImage(form.get());
    picture->SetBounds(0, 0, kWidth, kHeight);
    TBitmap gradient(kWidth, kHeight, pf24bit);
    PaintGradient(gradient);
    picture->Picture().AssignBitmap(gradient);
    picture->SetParent(form.get());

    auto makeRadio = [&](const wchar_t* caption, int left, bool checked) {
        auto* radio = new TXPDorvexRadioButton(form.get());
        radio->SetBounds(left, 20, 100, 21);
        radio->SetCaption(caption);
        radio->SetChecked(checked);
        radio->SetAlignment(taLeftJustify);
        radio->SetTransparent(true);
        radio->SetCheckPointColor(clNavy);
        radio->Font().SetName(L"Microsoft YaHei");
        radio->Font().SetHeight(-14);
        radio->SetParent(form.get());
        return radio;
    };
    TXPDorvexRadioButton* telecom = makeRadio(L"\u7535\u4FE1", 30, true);
    TXPDorvexRadioButton* unicom = makeRadio(L"\u8054\u901A", 160, false);

    auto* folder = new TXPDorvexEditEx(form.get());
    folder->SetBounds(30, 65, 240, 23);
    for (auto set : {&TXPDorvexEditEx::SetBorderColor, &TXPDorvexEditEx::SetFocusBorderColor,
                     &TXPDorvexEditEx::SetDisableColor, &TXPDorvexEditEx::SetUnfocusedColor}) {
        (folder->*set)(clBtnShadow);
    }
    folder->Font().SetColor(clGray);
    folder->SetReadOnly(true);
    folder->SetText(L"C:\\Quorvane\\");
    folder->SetParent(form.get());

    form->Show();
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(form->Handle()) != FALSE; }));
    Pump();
    UpdateWindow(form->Handle());
    RedrawWindow(form->Handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump();

    TBitmap shot(kWidth, kHeight, pf24bit);
    {
        HDC screen = GetDC(nullptr);
        const POINT origin = form->ClientToScreen({0, 0});
        BitBlt(shot.Canvas().Handle(), 0, 0, kWidth, kHeight, screen, origin.x, origin.y, SRCCOPY);
        ReleaseDC(nullptr, screen);
        shot.FlushCanvas();
    }
    if (const char* path = std::getenv("QV_INPUTS_SCREENSHOT")) {
        EXPECT_TRUE(WriteBmp(shot, path)) << path;
    }

    // Beside the captions the picture shows through both buttons, row by row.
    for (auto* radio : {telecom, unicom}) {
        for (int y : {21, 30, 39}) {
            const int x = radio->Left() + radio->Width() - 3;
            EXPECT_EQ(BitmapPixel(shot, x, y), BitmapPixel(gradient, x, y)) << x << "," << y;
        }
    }
    // The checked button's point and the unchecked one's empty circle (box centre (6, 10)).
    EXPECT_EQ(BitmapPixel(shot, telecom->Left() + 6, 20 + 10), clNavy);
    EXPECT_EQ(BitmapPixel(shot, unicom->Left() + 6, 20 + 10), clWhite);
    // The edit box is framed by one line in the button-shadow colour.
    const TColor shadow = static_cast<TColor>(ColorToRGB(clBtnShadow));
    EXPECT_EQ(BitmapPixel(shot, 30, 65 + 11), shadow);
    EXPECT_EQ(BitmapPixel(shot, 30 + 239, 65 + 11), shadow);
    EXPECT_EQ(BitmapPixel(shot, 30 + 120, 65), shadow);
}

}  // namespace
