// Drawing with per-pixel alpha, read back from DIB sections, and the bitmap conversions.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <optional>
#include <vector>

#include "PngTestFiles.h"
#include "common/ScopedHandles.h"
#include "png/PngObject.h"

namespace qv {
namespace {

using test::PictureFrom;

constexpr std::uint8_t kBgRed = 0x10, kBgGreen = 0x80, kBgBlue = 0xF0;

// A 24-bit top-down DIB section selected into a memory DC, filled with the background colour.
class Canvas {
public:
    Canvas(int width, int height) : width_(width), dc_(CreateCompatibleDC(nullptr)) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;  // top-down
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 24;
        info.bmiHeader.biCompression = BI_RGB;
        bitmap_.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits_, nullptr, 0));
        select_.emplace(dc_.get(), bitmap_.get());
        const RECT all{0, 0, width, height};
        ScopedBrush brush(CreateSolidBrush(RGB(kBgRed, kBgGreen, kBgBlue)));
        FillRect(dc_.get(), &all, brush.get());
        GdiFlush();
    }
    HDC dc() const { return dc_.get(); }
    bool valid() const { return bitmap_ && dc_; }
    // Red, green, blue of a pixel.
    std::array<int, 3> At(int x, int y) const {
        GdiFlush();
        const auto* p = static_cast<const std::uint8_t*>(bits_) +
                        std::size_t(y) * ((width_ * 3 + 3) & ~3) + std::size_t(x) * 3;
        return {p[2], p[1], p[0]};
    }

private:
    int width_;
    ScopedCreatedDC dc_;
    ScopedBitmap bitmap_;
    void* bits_ = nullptr;
    std::optional<ScopedSelectObject> select_;
};

int Blend(int colour, int alpha, int background) {
    return (colour * alpha + background * (255 - alpha) + 127) / 255;
}

void ExpectNear(const std::array<int, 3>& got, const std::array<int, 3>& want, const char* where) {
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(got[i], want[i], 2) << where << ", channel " << i;
}

const std::array<int, 3> kBackground = {kBgRed, kBgGreen, kBgBlue};

TEST(PngDraw, BlendsEachPixelByItsAlphaInsideTheRectOnly) {
    const TPNGObject picture = PictureFrom(
        3, 1, {{255, 0, 0, 255}, {0, 255, 0, 128}, {0, 0, 255, 0}}, PngColorType::RGBAlpha);
    Canvas canvas(6, 3);
    ASSERT_TRUE(canvas.valid());
    ASSERT_TRUE(picture.Draw(canvas.dc(), {1, 1, 4, 2}));
    ExpectNear(canvas.At(1, 1), {255, 0, 0}, "opaque");
    ExpectNear(canvas.At(2, 1),
               {Blend(0, 128, kBgRed), Blend(255, 128, kBgGreen), Blend(0, 128, kBgBlue)}, "half");
    ExpectNear(canvas.At(3, 1), kBackground, "transparent");
    for (auto [x, y] : {std::pair{0, 0}, {0, 1}, {4, 1}, {1, 0}, {1, 2}, {5, 2}})
        ExpectNear(canvas.At(x, y), kBackground, "outside");
}

TEST(PngDraw, ScalesWhenTheRectDiffersFromThePicture) {
    const TPNGObject picture = PictureFrom(
        2, 2, {{255, 0, 0, 255}, {0, 255, 0, 255}, {0, 0, 255, 255}, {255, 255, 255, 255}},
        PngColorType::RGBAlpha);
    Canvas canvas(10, 8);
    ASSERT_TRUE(picture.Draw(canvas.dc(), {1, 1, 9, 7}));  // 8 x 6: each pixel 4 x 3
    ExpectNear(canvas.At(1, 1), {255, 0, 0}, "top left");
    ExpectNear(canvas.At(4, 3), {255, 0, 0}, "top left, inner corner");
    ExpectNear(canvas.At(5, 1), {0, 255, 0}, "top right");
    ExpectNear(canvas.At(8, 3), {0, 255, 0}, "top right, inner corner");
    ExpectNear(canvas.At(1, 4), {0, 0, 255}, "bottom left");
    ExpectNear(canvas.At(8, 6), {255, 255, 255}, "bottom right");
    ExpectNear(canvas.At(9, 7), kBackground, "outside");
    ExpectNear(canvas.At(0, 0), kBackground, "outside");
}

TEST(PngDraw, ScalesPicturesWithTranslucentPixelsToo) {
    const TPNGObject picture =
        PictureFrom(2, 1, {{255, 0, 0, 255}, {0, 255, 0, 128}}, PngColorType::RGBAlpha);
    Canvas canvas(10, 3);
    ASSERT_TRUE(picture.Draw(canvas.dc(), {1, 1, 9, 3}));  // 8 x 2: each pixel 4 x 2
    const std::array<int, 3> half = {Blend(0, 128, kBgRed), Blend(255, 128, kBgGreen),
                                     Blend(0, 128, kBgBlue)};
    ExpectNear(canvas.At(1, 1), {255, 0, 0}, "left");
    ExpectNear(canvas.At(4, 2), {255, 0, 0}, "left, inner corner");
    ExpectNear(canvas.At(5, 1), half, "right");
    ExpectNear(canvas.At(8, 2), half, "right, far corner");
    ExpectNear(canvas.At(9, 1), kBackground, "outside");
    ExpectNear(canvas.At(1, 0), kBackground, "outside");
}

TEST(PngDraw, ResolvesEveryColourType) {
    const std::vector<PngPixel> pixels = {{200, 100, 50, 255}};
    struct Case {
        PngColorType type;
        std::array<int, 3> expected;
    } const cases[] = {
        {PngColorType::RGB, {200, 100, 50}},
        {PngColorType::Grayscale, {200, 200, 200}},
        {PngColorType::GrayscaleAlpha, {200, 200, 200}},
        // test palette: entry 200 is (200, 55, 7) with alpha 200
        {PngColorType::Palette,
         {Blend(200, 200, kBgRed), Blend(55, 200, kBgGreen), Blend(7, 200, kBgBlue)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.type));
        Canvas canvas(1, 1);
        ASSERT_TRUE(PictureFrom(1, 1, pixels, c.type).Draw(canvas.dc(), {0, 0, 1, 1}));
        ExpectNear(canvas.At(0, 0), c.expected, "pixel");
    }
}

TEST(PngDraw, EmptyPictureOrRectDrawsNothing) {
    Canvas canvas(2, 2);
    EXPECT_TRUE(TPNGObject().Draw(canvas.dc(), {0, 0, 2, 2}));
    const TPNGObject red = PictureFrom(1, 1, {{255, 0, 0, 255}}, PngColorType::RGB);
    EXPECT_TRUE(red.Draw(canvas.dc(), {1, 1, 1, 2}));
    EXPECT_TRUE(red.Draw(canvas.dc(), {1, 1, 0, 0}));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x) ExpectNear(canvas.At(x, y), kBackground, "untouched");
}

// The process's GDI handle table is filled up to a small headroom, so a call that leaves one of
// its bitmaps or device contexts behind soon finds no room to create it and fails. (Counting
// with GetGuiResources is not possible here: Wine always answers 0.)
TEST(PngDraw, LeavesNoGdiObjectBehind) {
    const TPNGObject picture =
        PictureFrom(2, 1, {{255, 0, 0, 255}, {0, 0, 255, 100}}, PngColorType::RGBAlpha);
    Canvas canvas(4, 4);
    ASSERT_TRUE(canvas.valid());
    std::vector<ScopedBrush> filler;
    for (;;) {
        ScopedBrush brush(CreateSolidBrush(RGB(1, 2, 3)));
        if (!brush || filler.size() >= 200000) break;
        filler.push_back(std::move(brush));
    }
    ASSERT_GT(filler.size(), 1000u);
    filler.resize(filler.size() - 20);
    const TPNGObject opaque = PictureFrom(1, 1, {{1, 2, 3, 255}}, PngColorType::RGB);
    for (int i = 0; i < 300; ++i) {
        ASSERT_TRUE(picture.Draw(canvas.dc(), {0, 0, 4, 4})) << "draw " << i;
        ASSERT_TRUE(opaque.Draw(canvas.dc(), {0, 0, 3, 3})) << "opaque draw " << i;
        ASSERT_TRUE(picture.ToBitmap(0)) << "plain bitmap " << i;
        ASSERT_TRUE(picture.ToPremultipliedBitmap()) << "premultiplied bitmap " << i;
    }
}

DIBSECTION DescribeBitmap(HBITMAP bitmap) {
    DIBSECTION dib{};
    EXPECT_EQ(GetObjectW(bitmap, sizeof dib, &dib), int(sizeof dib));
    return dib;
}

TEST(PngBitmaps, PlainBitmapBlendsOverTheBackground) {
    const TPNGObject picture =
        PictureFrom(2, 1, {{255, 0, 0, 255}, {0, 255, 0, 51}}, PngColorType::RGBAlpha);
    ScopedBitmap bitmap = picture.ToBitmap(RGB(kBgRed, kBgGreen, kBgBlue));
    ASSERT_TRUE(bitmap);
    const DIBSECTION dib = DescribeBitmap(bitmap.get());
    EXPECT_EQ(dib.dsBm.bmWidth, 2);
    EXPECT_EQ(dib.dsBm.bmHeight, 1);
    EXPECT_EQ(dib.dsBm.bmBitsPixel, 24);
    const auto* p = static_cast<const std::uint8_t*>(dib.dsBm.bmBits);
    EXPECT_EQ((std::array<int, 3>{p[2], p[1], p[0]}), (std::array<int, 3>{255, 0, 0}));
    EXPECT_EQ((std::array<int, 3>{p[5], p[4], p[3]}),
              (std::array<int, 3>{Blend(0, 51, kBgRed), Blend(255, 51, kBgGreen),
                                  Blend(0, 51, kBgBlue)}));
    EXPECT_FALSE(TPNGObject().ToBitmap(0));
}

TEST(PngBitmaps, PremultipliedBitmapHoldsBgraTimesAlpha) {
    const TPNGObject picture =
        PictureFrom(2, 1, {{255, 100, 0, 255}, {200, 255, 10, 128}}, PngColorType::RGBAlpha);
    ScopedBitmap bitmap = picture.ToPremultipliedBitmap();
    ASSERT_TRUE(bitmap);
    const DIBSECTION dib = DescribeBitmap(bitmap.get());
    EXPECT_EQ(dib.dsBm.bmBitsPixel, 32);
    const auto* p = static_cast<const std::uint8_t*>(dib.dsBm.bmBits);
    EXPECT_EQ((std::array<int, 4>{p[0], p[1], p[2], p[3]}), (std::array<int, 4>{0, 100, 255, 255}));
    EXPECT_EQ((std::array<int, 4>{p[4], p[5], p[6], p[7]}),
              (std::array<int, 4>{5, 128, 100, 128}));  // 10, 255, 200 times 128 / 255
    EXPECT_FALSE(TPNGObject().ToPremultipliedBitmap());
}

}  // namespace
}  // namespace qv
