// The artwork embedded by qv_artwork: every picture loads by its id from this executable, with
// the size, kind and colours the windows are laid out for.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <functional>

#include "png/PngObject.h"
#include "res/ArtworkIds.h"
#include "res/ArtworkLoader.h"

namespace qv {
namespace {

struct Rgb {
    int r, g, b;
};

constexpr Rgb Hex(unsigned v) {
    return {int(v >> 16), int((v >> 8) & 0xFF), int(v & 0xFF)};
}

bool Near(const Rgb& a, const Rgb& b, int tolerance = 2) {
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
           std::abs(a.b - b.b) <= tolerance;
}

std::ostream& operator<<(std::ostream& out, const Rgb& c) {
    return out << c.r << "," << c.g << "," << c.b;
}

struct Probe {
    int x, y;
    Rgb colour;
    int alpha;  // -1: not checked
};

struct PngArtwork {
    const char* role;
    int id;
    int width, height;
    bool alpha;  // PNG with an alpha channel
    std::vector<Probe> probes;
    Rgb textColour;  // colour of drawn text or marks that must be present
    int minTextPixels;
};

const PngArtwork kPngArtwork[] = {
    {"banner",
     IDR_PNG_BANNER,
     620,
     241,
     true,
     {{600, 10, Hex(0x3A8FD9), 255}, {560, 20, Hex(0x3A8FD9), 255}},
     Hex(0xFFFFFF),
     200},
    {"minimise",
     IDR_PNG_MINIMISE,
     30,
     27,
     true,
     {{0, 0, {0, 0, 0}, 0}, {15, 17, Hex(0xFFFFFF), 255}, {10, 18, Hex(0xFFFFFF), 255}},
     Hex(0xFFFFFF),
     20},
    {"minimise hover",
     IDR_PNG_MINIMISE_HOVER,
     30,
     27,
     true,
     {{0, 0, Hex(0xFFFFFF), 102}, {29, 26, Hex(0xFFFFFF), 102}, {15, 17, Hex(0xFFFFFF), 255}},
     Hex(0xFFFFFF),
     20},
    {"close",
     IDR_PNG_CLOSE,
     30,
     27,
     true,
     {{0, 0, {0, 0, 0}, 0}, {15, 13, Hex(0xFFFFFF), 255}},
     Hex(0xFFFFFF),
     10},
    {"close hover",
     IDR_PNG_CLOSE_HOVER,
     30,
     27,
     true,
     {{0, 0, Hex(0xFFFFFF), 102}, {15, 13, Hex(0xFFFFFF), 255}},
     Hex(0xFFFFFF),
     10},
    {"grey arrow",
     IDR_PNG_GREY_ARROW,
     14,
     15,
     false,
     {{0, 0, Hex(0x8D8D8D), 255}},
     Hex(0xFFFFFF),
     5},
    {"download now",
     IDR_PNG_DOWNLOAD_NOW,
     215,
     57,
     false,
     {{10, 28, Hex(0x5D95D4), 255}},
     Hex(0xFFFFFF),
     60},
    {"download",
     IDR_PNG_DOWNLOAD,
     196,
     50,
     false,
     {{10, 25, Hex(0x5D95D4), 255}},
     Hex(0xFFFFFF),
     30},
    {"choose folder",
     IDR_PNG_CHOOSE_FOLDER,
     70,
     26,
     false,
     {{5, 13, Hex(0xF4F4F4), 255}, {0, 13, Hex(0xCCCCCC), 255}},
     Hex(0x000000),
     20},
    {"install", IDR_PNG_INSTALL, 194, 48, false, {{10, 24, Hex(0x5D95D4), 255}}, Hex(0xFFFFFF), 60},
    {"progress track",
     IDR_PNG_PROGRESS_TRACK,
     738,
     19,
     false,
     {{0, 0, Hex(0xECE9E7), 255}, {737, 18, Hex(0xECE9E7), 255}},
     Hex(0xECE9E7),
     738 * 19},
    {"progress fill",
     IDR_PNG_PROGRESS_FILL,
     736,
     19,
     false,
     {{10, 0, Hex(0xFFFFFF), 255}, {10, 1, Hex(0x00ABDE), 255}, {735, 18, Hex(0x00A7DD), 255}},
     Hex(0xFFFFFF),
     736},
    {"alert icon",
     IDR_PNG_ALERT,
     60,
     54,
     false,
     {{0, 0, Hex(0xFCFCFC), 255}, {18, 27, Hex(0xF6764D), 255}, {30, 35, Hex(0xFFFFFF), 255}},
     Hex(0xF6764D),
     1000},
    {"reload", IDR_PNG_RELOAD, 66, 27, false, {{4, 13, Hex(0x5D95D4), 255}}, Hex(0xFFFFFF), 30},
    {"browser link",
     IDR_PNG_BROWSER_LINK,
     105,
     17,
     false,
     {{0, 0, Hex(0xEFF3F8), 255}},
     Hex(0x1167D3),
     40},
};

int CountPixels(int width, int height, const std::function<bool(int, int)>& matches) {
    int count = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) count += matches(x, y) ? 1 : 0;
    return count;
}

TEST(Artwork, EveryPngLoadsWithItsSizeKindAndColours) {
    for (const PngArtwork& art : kPngArtwork) {
        SCOPED_TRACE(art.role);
        PngError error = PngError::ReadFailed;
        const TPNGObject picture = LoadPngResource(art.id, &error);
        ASSERT_EQ(error, PngError::None) << PngErrorText(error);
        EXPECT_EQ(picture.Width(), art.width);
        EXPECT_EQ(picture.Height(), art.height);
        EXPECT_EQ(picture.FileBitDepth(), 8);
        EXPECT_EQ(picture.ColorType(), art.alpha ? PngColorType::RGBAlpha : PngColorType::RGB);
        for (const Probe& probe : art.probes) {
            const PngPixel p = picture.Pixel(probe.x, probe.y);
            const Rgb got{p.r, p.g, p.b};
            if (probe.alpha != 0) {
                EXPECT_TRUE(Near(got, probe.colour))
                    << "at " << probe.x << "," << probe.y << ": " << got << " not " << probe.colour;
            }
            if (probe.alpha >= 0) {
                EXPECT_EQ(p.a, probe.alpha) << probe.x << "," << probe.y;
            }
        }
        const int marks = CountPixels(art.width, art.height, [&](int x, int y) {
            const PngPixel p = picture.Pixel(x, y);
            return p.a == 255 && Near({p.r, p.g, p.b}, art.textColour, 24);
        });
        EXPECT_GE(marks, art.minTextPixels);
    }
}

TEST(Artwork, BannerIsFullyOpaque) {
    const TPNGObject banner = LoadPngResource(IDR_PNG_BANNER);
    ASSERT_FALSE(banner.Empty());
    EXPECT_EQ(CountPixels(620, 241, [&](int x, int y) { return banner.Pixel(x, y).a != 255; }), 0);
}

TEST(Artwork, MinimiseBarIsTenByTwo) {
    for (int id : {IDR_PNG_MINIMISE, IDR_PNG_MINIMISE_HOVER}) {
        const TPNGObject picture = LoadPngResource(id);
        int left = 30, right = -1, top = 27, bottom = -1;
        for (int y = 0; y < 27; ++y) {
            for (int x = 0; x < 30; ++x) {
                if (picture.Pixel(x, y).a != 255) continue;
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
        }
        EXPECT_EQ(right - left + 1, 10);
        EXPECT_EQ(bottom - top + 1, 2);
        EXPECT_GT(top, 13);               // near the bottom
        EXPECT_EQ(left + right + 1, 30);  // centred
    }
}

TEST(Artwork, CloseCrossIsAboutNineByEleven) {
    for (int id : {IDR_PNG_CLOSE, IDR_PNG_CLOSE_HOVER}) {
        const TPNGObject picture = LoadPngResource(id);
        int left = 30, right = -1, top = 27, bottom = -1;
        for (int y = 0; y < 27; ++y) {
            for (int x = 0; x < 30; ++x) {
                if (picture.Pixel(x, y).a < 200) continue;
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
        }
        EXPECT_NEAR(right - left + 1, 9, 1);
        EXPECT_NEAR(bottom - top + 1, 11, 1);
    }
}

struct BitmapArtwork {
    const char* role;
    int id;
    int width, height;
    std::vector<std::pair<POINT, Rgb>> probes;
};

const BitmapArtwork kBitmapArtwork[] = {
    {"title bar", IDB_TITLE_BAR, 737, 26, {{{0, 0}, Hex(0x047BDF)}, {{736, 25}, Hex(0x0173D5)}}},
    {"message frame", IDB_MSG_FRAME, 37, 17, {{{0, 0}, Hex(0x7F7F7F)}, {{36, 16}, Hex(0x7F7F7F)}}},
    {"message close",
     IDB_MSG_CLOSE,
     26,
     26,
     {{{0, 0}, Hex(0xDA3610)},
      {{9, 9}, Hex(0xFFFFFF)},
      {{17, 9}, Hex(0xFFFFFF)},
      {{13, 13}, Hex(0xFFFFFF)},
      {{9, 17}, Hex(0xFFFFFF)},
      {{12, 9}, Hex(0xDA3610)}}},
    {"information",
     IDB_MSG_INFO,
     48,
     48,
     {{{0, 0}, Hex(0xFFFFFF)}, {{10, 24}, Hex(0x54A8D3)}, {{24, 30}, Hex(0xFFFFFF)}}},
    {"error",
     IDB_MSG_ERROR,
     48,
     48,
     {{{0, 0}, Hex(0xFFFFFF)}, {{8, 24}, Hex(0xCA2406)}, {{24, 24}, Hex(0xFFFFFF)}}},
    {"warning",
     IDB_MSG_WARNING,
     48,
     48,
     {{{0, 0}, Hex(0xFFFFFF)}, {{12, 40}, Hex(0xFFBB37)}, {{24, 25}, Hex(0xFFFFFF)}}},
    {"confirmation",
     IDB_MSG_CONFIRM,
     48,
     48,
     {{{0, 0}, Hex(0xFFFFFF)}, {{10, 24}, Hex(0x54A8D3)}, {{24, 20}, Hex(0xFFFFFF)}}},
    {"button bar", IDB_MSG_BUTTON_BAR, 4, 46, {{{0, 0}, Hex(0xF5F8FB)}, {{3, 45}, Hex(0xE9EEF4)}}},
};

TEST(Artwork, EveryBitmapLoadsAsA24BitPictureWithItsColours) {
    for (const BitmapArtwork& art : kBitmapArtwork) {
        SCOPED_TRACE(art.role);
        ScopedBitmap bitmap = LoadBitmapResource(art.id);
        ASSERT_TRUE(bitmap);
        DIBSECTION dib{};
        ASSERT_EQ(GetObjectW(bitmap.get(), sizeof dib, &dib), int(sizeof dib));
        EXPECT_EQ(dib.dsBm.bmWidth, art.width);
        EXPECT_EQ(dib.dsBm.bmHeight, art.height);
        EXPECT_EQ(dib.dsBm.bmBitsPixel, 24);
        ScopedCreatedDC dc(CreateCompatibleDC(nullptr));
        ScopedSelectObject select(dc.get(), bitmap.get());
        for (const auto& [point, colour] : art.probes) {
            const COLORREF c = GetPixel(dc.get(), point.x, point.y);
            const Rgb got{GetRValue(c), GetGValue(c), GetBValue(c)};
            EXPECT_TRUE(Near(got, colour))
                << "at " << point.x << "," << point.y << ": " << got << " not " << colour;
        }
    }
}

TEST(Artwork, MissingIdsGiveEmptyResults) {
    PngError error = PngError::None;
    EXPECT_TRUE(LoadPngResource(9999, &error).Empty());
    EXPECT_EQ(error, PngError::ReadFailed);
    EXPECT_TRUE(LoadPngResource(IDB_TITLE_BAR).Empty());  // a bitmap, not PNG data
    EXPECT_FALSE(LoadBitmapResource(9999));
}

}  // namespace
}  // namespace qv
