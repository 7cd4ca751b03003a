// A screenshot of the proving window on the virtual display, checked pixel by pixel.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "ProvingWindow.h"
#include "UiTestSupport.h"
#include "res/ArtworkIds.h"
#include "res/ArtworkLoader.h"
#include "ui/VantlePanel.h"

namespace qv {
namespace {

using namespace proving;
using test::WaitUntil;

struct Rgb {
    int r, g, b;
};

Rgb ToRgb(TColor color) {
    const COLORREF c = ColorToRGB(color);
    return {GetRValue(c), GetGValue(c), GetBValue(c)};
}

bool Near(const PngPixel& p, Rgb expected, int tolerance = 3) {
    return std::abs(p.r - expected.r) <= tolerance && std::abs(p.g - expected.g) <= tolerance &&
           std::abs(p.b - expected.b) <= tolerance;
}

std::string Show(const PngPixel& p) {
    char text[32];
    std::snprintf(text, sizeof text, "%02X%02X%02X", p.r, p.g, p.b);
    return text;
}

// The screen as the X server shows it, through xwd and ImageMagick, decoded by the PNG unit.
class Screenshot {
public:
    bool Take() {
        const std::wstring unixPath =
            L"/tmp/qv-proving-" + std::to_wstring(GetCurrentProcessId()) + L".png";
        if (!test::RunHostCommand(L"xwd -root -silent | convert xwd:- png:" + unixPath)) {
            return false;
        }
        std::wstring windowsPath = L"Z:" + unixPath;
        for (wchar_t& c : windowsPath) {
            if (c == L'/') c = L'\\';
        }
        error_ = image_.LoadFromFile(windowsPath);
        DeleteFileW(windowsPath.c_str());
        return error_ == PngError::None;
    }
    // The pixel at a client point of the form.
    PngPixel At(const TForm& form, int x, int y) const {
        const POINT p = form.ClientToScreen({x, y});
        return image_.Pixel(p.x, p.y);
    }

    // Why the last screenshot could not be read.
    std::wstring Error() const { return PngErrorText(error_); }

private:
    TPNGObject image_;
    PngError error_ = PngError::None;
};

// The alpha blend of white at alpha a over a colour, rounded.
Rgb WhiteOver(TColor under, int alpha) {
    const Rgb u = ToRgb(under);
    auto blend = [&](int c) { return (255 * alpha + c * (255 - alpha) + 127) / 255; };
    return {blend(u.r), blend(u.g), blend(u.b)};
}

TEST(ProvingWindowTest, ScreenshotShowsBannerAlphaEdgesTransparencyTextAndPages) {
    auto form = MakeForm<TfrmProving>(nullptr);
    form->Show();
    ASSERT_TRUE(WaitUntil([&] { return form->PC->ActivePage() == form->TS2; }))
        << "the timer switches to the second page";
    const Rgb banner = ToRgb(kBannerColor);

    // The window is painted when the X server shows the second page's colour in place.
    Screenshot shot;
    const int swatchX = (kPageSwatch.left + kPageSwatch.right) / 2;
    const int swatchY = (kPageSwatch.top + kPageSwatch.bottom) / 2;
    ASSERT_TRUE(WaitUntil(
        [&] {
            RedrawWindow(form->Handle(), nullptr, nullptr,
                         RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
            return shot.Take() && Near(shot.At(*form, swatchX, swatchY), ToRgb(kSecondPageColor)) &&
                   Near(shot.At(*form, 5, 5), banner);
        },
        15000))
        << "screen shows " << Show(shot.At(*form, swatchX, swatchY));

    // The banner's colour where nothing lies over it, and the white ground below it.
    EXPECT_TRUE(Near(shot.At(*form, 300, 110), banner)) << Show(shot.At(*form, 300, 110));
    EXPECT_TRUE(Near(shot.At(*form, 470, 290), {255, 255, 255})) << Show(shot.At(*form, 470, 290));

    // The badge: 40 % white blended over the banner, opaque white, and a transparent strip.
    const Rgb blended = WhiteOver(kBannerColor, kBadgeAlpha);
    EXPECT_TRUE(Near(shot.At(*form, kBadge.left + 5, kBadge.top + 5), blended))
        << Show(shot.At(*form, kBadge.left + 5, kBadge.top + 5));
    EXPECT_GT(std::abs(blended.r - banner.r) + std::abs(blended.g - banner.g), 40)
        << "the blend differs visibly from the banner";
    EXPECT_TRUE(Near(shot.At(*form, kBadge.right - 5, kBadge.top + 5), {255, 255, 255}));
    EXPECT_TRUE(Near(shot.At(*form, kBadge.left + 5, kBadge.bottom - 3), banner))
        << "fully transparent rows show the banner";

    // The transparent panel over the corner shows the banner, with the white cross on it.
    EXPECT_TRUE(Near(shot.At(*form, kCornerPanel.left + 10, 10), banner))
        << Show(shot.At(*form, kCornerPanel.left + 10, 10));
    EXPECT_TRUE(Near(shot.At(*form, kClose.left + 3, 3), banner));
    EXPECT_TRUE(Near(shot.At(*form, kClose.left + 10, 9), {255, 255, 255}))
        << Show(shot.At(*form, kClose.left + 10, 9));
    EXPECT_TRUE(Near(shot.At(*form, kClose.left + 14, 13), {255, 255, 255}));

    // The title text: white glyph pixels among banner pixels, nothing else.
    int white = 0, bannerPixels = 0, other = 0;
    for (int y = form->lblTitle->Top(); y < form->lblTitle->Top() + form->lblTitle->Height(); ++y) {
        for (int x = form->lblTitle->Left(); x < form->lblTitle->Left() + form->lblTitle->Width();
             ++x) {
            const PngPixel p = shot.At(*form, x, y);
            if (Near(p, {255, 255, 255}, 40)) {
                ++white;
            } else if (Near(p, banner, 3)) {
                ++bannerPixels;
            } else if (p.b < p.r || p.b < p.g) {
                ++other;  // anti-aliased edges lie between white and blue, never elsewhere
            }
        }
    }
    EXPECT_GT(white, 60) << "the title is drawn";
    EXPECT_GT(bannerPixels, white) << "on the banner, not on a box";
    EXPECT_EQ(other, 0);

    // The second page: its swatch, the check box and the detail box; the first page is gone.
    EXPECT_FALSE(Near(shot.At(*form, swatchX, swatchY), ToRgb(kFirstPageColor), 30));
    int dark = 0;
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 20; ++x) {
            const PngPixel p = shot.At(*form, form->cbxRemind->Left() + x,
                                       kBannerHeight + form->cbxRemind->Top() + y);
            if (p.r < 128 && p.g < 128 && p.b < 128) ++dark;
        }
    }
    EXPECT_GT(dark, 10) << "the check box and its mark are drawn";
    EXPECT_TRUE(form->cbxRemind->Checked());
    EXPECT_TRUE(IsWindowVisible(form->moInfo->Handle()));
    EXPECT_EQ(SendMessageW(form->moInfo->Handle(), EM_GETLINECOUNT, 0, 0), 3);
}

// The program's own artwork: the minimise button's hover picture (white at 40 % on a transparent
// ground) over the banner, in the main window's arrangement, compared pixel by pixel with the
// blend computed from the two pictures.
TEST(ProvingWindowTest, ArtworkWithAlphaBlendsOverTheBannerPixelByPixel) {
    const TPNGObject banner = LoadPngResource(IDR_PNG_BANNER);
    const TPNGObject hover = LoadPngResource(IDR_PNG_MINIMISE_HOVER);
    ASSERT_EQ(banner.Width(), 620);
    ASSERT_EQ(hover.Width(), 30);
    auto form = MakeForm<TForm>(nullptr);
    form->SetBounds(100, 100, 620, 300);
    auto* imgTop = new TImage(form.get());
    imgTop->SetParent(form.get());
    imgTop->SetAutoSize(true);
    imgTop->SetAlign(alTop);
    imgTop->Picture().AssignPng(banner);
    auto* pnlMinClose = new TVantlePanel(form.get());
    pnlMinClose->SetParent(form.get());
    pnlMinClose->SetBounds(539, 0, 81, 27);
    pnlMinClose->SetTransparent(true);
    auto* btnSmall = new TImage(form.get());
    btnSmall->SetParent(pnlMinClose);
    btnSmall->SetWidth(30);
    btnSmall->SetAlign(alRight);
    btnSmall->Picture().AssignPng(hover);
    form->Show();

    auto expected = [&](int x, int y) {
        const PngPixel over = hover.Pixel(x - 590, y);
        const PngPixel under = banner.Pixel(x, y);
        auto blend = [&](int s, int d) { return (s * over.a + d * (255 - over.a) + 127) / 255; };
        return Rgb{blend(over.r, under.r), blend(over.g, under.g), blend(over.b, under.b)};
    };
    Screenshot shot;
    ASSERT_TRUE(WaitUntil(
        [&] {
            return shot.Take() && Near(shot.At(*form, 10, 10), expected(10, 10)) &&
                   Near(shot.At(*form, 600, 20), expected(600, 20));
        },
        15000))
        << "screenshot error " << ::testing::PrintToString(shot.Error()) << ", screen "
        << Show(shot.At(*form, 10, 10)) << " " << Show(shot.At(*form, 600, 20)) << ", expected "
        << expected(10, 10).r << "," << expected(10, 10).g << "," << expected(10, 10).b << " and "
        << expected(600, 20).r << "," << expected(600, 20).g << "," << expected(600, 20).b;
    int mismatches = 0, translucent = 0;
    for (int y = 0; y < 27; ++y) {
        for (int x = 590; x < 620; ++x) {
            if (!Near(shot.At(*form, x, y), expected(x, y))) ++mismatches;
            const std::uint8_t a = hover.Pixel(x - 590, y).a;
            if (a > 0 && a < 255) ++translucent;
        }
    }
    EXPECT_EQ(mismatches, 0);
    EXPECT_GT(translucent, 0) << "the picture has partly transparent pixels to blend";
    // Left of the button the transparent panel shows the banner unchanged (outside the
    // picture the expected colour is the banner's own).
    for (int x = 540; x < 590; x += 7) {
        EXPECT_TRUE(Near(shot.At(*form, x, 10), expected(x, 10))) << x;
    }
}

}  // namespace
}  // namespace qv
