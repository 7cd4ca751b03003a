// The operations the image buttons and windows use: blank pictures, copies and the change
// event, making a picture carry alpha, and the scaled rectangle copy.
#include <gtest/gtest.h>

#include "PngTestFiles.h"
#include "png/PngObject.h"

namespace qv {
namespace {

using test::PictureFrom;

// A one-column picture whose row k is red k * 10 + 10, so a pixel shows which row it came from.
TPNGObject Column(int rows) {
    std::vector<PngPixel> pixels;
    for (int k = 0; k < rows; ++k)
        pixels.push_back({std::uint8_t(k * 10 + 10), 1, 2, std::uint8_t(200 + k)});
    return PictureFrom(1, rows, pixels, PngColorType::RGBAlpha);
}

// A one-row picture whose column k is green k * 10 + 10.
TPNGObject Row(int columns) {
    std::vector<PngPixel> pixels;
    for (int k = 0; k < columns; ++k)
        pixels.push_back({3, std::uint8_t(k * 10 + 10), 4, std::uint8_t(100 + k)});
    return PictureFrom(columns, 1, pixels, PngColorType::RGBAlpha);
}

// Which source row each target row holds (-1: untouched, still transparent black).
std::vector<int> RowsOf(const TPNGObject& target, int x = 0) {
    std::vector<int> rows;
    for (int y = 0; y < target.Height(); ++y) {
        const PngPixel p = target.Pixel(x, y);
        rows.push_back(p.a == 0 ? -1 : (p.r - 10) / 10);
    }
    return rows;
}

std::vector<int> ColumnsOf(const TPNGObject& target, int y = 0) {
    std::vector<int> columns;
    for (int x = 0; x < target.Width(); ++x) {
        const PngPixel p = target.Pixel(x, y);
        columns.push_back(p.a == 0 ? -1 : (p.g - 10) / 10);
    }
    return columns;
}

TEST(PngBlank, IsTransparentBlackRgbaOfTheGivenSize) {
    const TPNGObject blank = TPNGObject::CreateBlank(3, 2);
    ASSERT_FALSE(blank.Empty());
    EXPECT_EQ(blank.Width(), 3);
    EXPECT_EQ(blank.Height(), 2);
    EXPECT_EQ(blank.ColorType(), PngColorType::RGBAlpha);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(blank.Pixel(x, y), (PngPixel{0, 0, 0, 0}));
}

TEST(PngBlank, ImpossibleSizesGiveAnEmptyPicture) {
    const int sizes[][2] = {{0, 5}, {5, 0}, {-1, 3}, {3, -7}, {70000, 1}, {60000, 60000}};
    for (const auto& s : sizes) {
        const TPNGObject blank = TPNGObject::CreateBlank(s[0], s[1]);
        EXPECT_TRUE(blank.Empty()) << s[0] << " x " << s[1];
        EXPECT_EQ(blank.ColorRow(0), nullptr);
        EXPECT_EQ(blank.Pixel(0, 0), (PngPixel{}));
    }
}

TEST(PngChange, FiresOnEveryChangeAndStaysWithTheVariable) {
    const test::Bytes file = test::SmallRgbaFile(4, 3);
    TPNGObject picture;
    int changes = 0;
    picture.SetOnChange([&](TPNGObject& changed) {
        EXPECT_EQ(&changed, &picture);
        ++changes;
    });
    ASSERT_EQ(picture.LoadFromMemory(file.data(), file.size()), PngError::None);
    EXPECT_EQ(changes, 1);

    TPNGObject copy(picture);  // starts without a handler
    EXPECT_EQ(copy.Width(), 4);
    copy.Clear();
    EXPECT_EQ(changes, 1);
    EXPECT_FALSE(picture.Empty());

    picture.Assign(TPNGObject::CreateBlank(7, 1));
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(picture.Width(), 7);

    picture = TPNGObject();  // moved in: the handler stays and fires
    EXPECT_EQ(changes, 3);
    EXPECT_TRUE(picture.Empty());

    picture = TPNGObject::CreateBlank(2, 2);
    picture.AlphaRow(0)[1] = 9;
    picture.Changed();
    EXPECT_EQ(changes, 5);
    EXPECT_EQ(picture.Pixel(1, 0).a, 9);
}

TEST(PngChange, CopiesAreIndependent) {
    TPNGObject original = TPNGObject::CreateBlank(2, 1);
    TPNGObject copy;
    copy.Assign(original);
    copy.ColorRow(0)[0] = 77;
    EXPECT_EQ(original.Pixel(0, 0).r, 0);
    EXPECT_EQ(copy.Pixel(0, 0).r, 77);
}

TEST(PngAddAlpha, EachColourTypeGainsAlphaAsDocumented) {
    const std::vector<PngPixel> pixels = {{10, 20, 30, 40}, {50, 60, 70, 80}};
    struct Case {
        PngColorType before, after;
        bool changes;
    } const cases[] = {
        {PngColorType::Grayscale, PngColorType::GrayscaleAlpha, true},
        {PngColorType::RGB, PngColorType::RGBAlpha, true},
        {PngColorType::GrayscaleAlpha, PngColorType::GrayscaleAlpha, false},
        {PngColorType::RGBAlpha, PngColorType::RGBAlpha, false},
        {PngColorType::Palette, PngColorType::Palette, false},  // has a table already
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.before));
        TPNGObject picture = PictureFrom(2, 1, pixels, c.before);
        const PngPixel before = picture.Pixel(1, 0);
        int changes = 0;
        picture.SetOnChange([&](TPNGObject&) { ++changes; });
        picture.AddAlpha();
        EXPECT_EQ(picture.ColorType(), c.after);
        EXPECT_EQ(changes, c.changes ? 1 : 0);
        EXPECT_EQ(picture.Pixel(1, 0), before);  // colours and alpha as they were
        EXPECT_EQ(picture.HasAlphaChannel(), c.after != PngColorType::Palette);
        if (c.changes) {
            ASSERT_NE(picture.AlphaRow(0), nullptr);
            EXPECT_EQ(picture.AlphaRow(0)[0], 255);
        }
    }
}

// A transparent colour key must survive: keyed pixels stay transparent, the others opaque.
TEST(PngAddAlpha, ColourKeyedPicturesKeepTheirTransparentPixels) {
    for (const wchar_t* name : {L"RGB8_KEY_PNG", L"G8_KEY_PNG"}) {
        const test::Bytes file = test::ResourceBytes(name);
        TPNGObject picture;
        ASSERT_EQ(picture.LoadFromMemory(file.data(), file.size()), PngError::None);
        picture.AddAlpha();
        EXPECT_TRUE(picture.HasAlphaChannel());
        EXPECT_EQ(picture.Pixel(2, 1).a, 0);  // the corpus puts the key colour here
        EXPECT_EQ(picture.Pixel(0, 0).a, 255);
    }
}

TEST(PngAddAlpha, PaletteWithoutTableGetsAnOpaqueTable) {
    const test::Bytes file =
        test::PngFile({test::Header(2, 1, 8, 3), test::Chunk("PLTE", {1, 2, 3, 4, 5, 6}),
                       test::Chunk("IDAT", test::Compress({0, 1, 0})), test::Chunk("IEND", {})});
    TPNGObject picture;
    ASSERT_EQ(picture.LoadFromMemory(file.data(), file.size()), PngError::None);
    EXPECT_FALSE(picture.HasTransparencyTable());
    int changes = 0;
    picture.SetOnChange([&](TPNGObject&) { ++changes; });
    picture.AddAlpha();
    EXPECT_TRUE(picture.HasTransparencyTable());
    EXPECT_EQ(changes, 1);
    for (int i = 0; i < 256; ++i) EXPECT_EQ(picture.PaletteAlpha()[i], 255);
    EXPECT_EQ(picture.Pixel(0, 0), (PngPixel{4, 5, 6, 255}));
    EXPECT_EQ(picture.AlphaRow(0), nullptr);
}

struct StretchCase {
    const char* what;
    int sourceSize;
    RECT sourceRect;
    int targetSize;
    RECT targetRect;
    std::vector<int> expected;  // source line per target line, -1 untouched
};

// Lines worked out by hand from round(step * sourceSpan / targetSpan), ties to even.
const StretchCase kStretchCases[] = {
    {"same size", 3, {0, 0, 1, 3}, 3, {0, 0, 1, 3}, {0, 1, 2}},
    {"3 to 6: 0.5 and 2.5 round down, 1.5 up",
     3,
     {0, 0, 1, 3},
     6,
     {0, 0, 1, 6},
     {0, 0, 1, 2, 2, 2}},
    {"6 to 3", 6, {0, 0, 1, 6}, 3, {0, 0, 1, 3}, {0, 2, 4}},
    {"1 to 4: 0.75 rounds to row 1, outside the picture",
     1,
     {0, 0, 1, 1},
     4,
     {0, 0, 1, 4},
     {0, 0, 0, -1}},
    {"offsets", 5, {0, 1, 1, 3}, 5, {0, 2, 1, 4}, {-1, -1, 1, 2, -1}},
    {"target rect beyond the target", 4, {0, 0, 1, 4}, 3, {0, -1, 1, 3}, {1, 2, 3}},
    {"source rect beyond the source", 4, {0, 2, 1, 6}, 4, {0, 0, 1, 4}, {2, 3, -1, -1}},
    {"2 to 3 rows", 2, {0, 0, 1, 2}, 3, {0, 0, 1, 3}, {0, 1, 1}},
    {"2/3 rounds to a row outside the rectangle but inside the picture",
     3,
     {0, 0, 1, 1},
     3,
     {0, 0, 1, 3},
     {0, 0, 1}},
};

TEST(PngStretchCopy, RowsFollowTheRoundingRule) {
    for (const StretchCase& c : kStretchCases) {
        SCOPED_TRACE(c.what);
        const TPNGObject source = Column(c.sourceSize);
        TPNGObject target = TPNGObject::CreateBlank(1, c.targetSize);
        StretchCopyRect(source, c.sourceRect, &target, c.targetRect);
        EXPECT_EQ(RowsOf(target), c.expected);
    }
}

TEST(PngStretchCopy, ColumnsFollowTheRoundingRule) {
    for (const StretchCase& c : kStretchCases) {
        SCOPED_TRACE(c.what);
        const TPNGObject source = Row(c.sourceSize);
        TPNGObject target = TPNGObject::CreateBlank(c.targetSize, 1);
        const RECT s{c.sourceRect.top, 0, c.sourceRect.bottom, 1};
        const RECT t{c.targetRect.top, 0, c.targetRect.bottom, 1};
        StretchCopyRect(source, s, &target, t);
        EXPECT_EQ(ColumnsOf(target), c.expected);
    }
}

// Three copies that stretch the middle of a picture and keep its end caps, as stretched
// buttons do: rows 0..1 and 3..4 of the source stay, the middle row fills the rest.
TEST(PngStretchCopy, EndCapsStayUnscaled) {
    const TPNGObject source = Column(4);
    TPNGObject target = TPNGObject::CreateBlank(1, 8);
    const int fixed = 1;
    StretchCopyRect(source, {0, 0, 1, fixed}, &target, {0, 0, 1, fixed});
    StretchCopyRect(source, {0, fixed, 1, 4 - fixed}, &target, {0, fixed, 1, 8 - fixed});
    StretchCopyRect(source, {0, 4 - fixed, 1, 4}, &target, {0, 8 - fixed, 1, 8});
    EXPECT_EQ(RowsOf(target), (std::vector<int>{0, 1, 1, 2, 2, 2, 3, 3}));
}

TEST(PngStretchCopy, AlphaComesFromTheSourceOr255) {
    const std::vector<PngPixel> pixels = {{90, 80, 70, 60}, {5, 6, 7, 8}};
    struct Case {
        PngColorType source;
        PngPixel expected;  // target pixel 0 after copying source pixel 0
    } const cases[] = {
        {PngColorType::RGBAlpha, {90, 80, 70, 60}},
        {PngColorType::RGB, {90, 80, 70, 255}},
        {PngColorType::Grayscale, {90, 90, 90, 255}},
        {PngColorType::GrayscaleAlpha, {90, 90, 90, 60}},
        {PngColorType::Palette, {90, 165, 7, 90}},  // entry 90 of the test palette and table
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.source));
        const TPNGObject source = PictureFrom(2, 1, pixels, c.source);
        TPNGObject target = TPNGObject::CreateBlank(2, 1);
        StretchCopyRect(source, {0, 0, 2, 1}, &target, {0, 0, 2, 1});
        EXPECT_EQ(target.Pixel(0, 0), c.expected);
    }
}

TEST(PngStretchCopy, TargetsWithoutAlphaOrOfOtherTypes) {
    const std::vector<PngPixel> pixels = {{90, 80, 70, 60}};
    const TPNGObject rgba = PictureFrom(1, 1, pixels, PngColorType::RGBAlpha);

    TPNGObject rgb = PictureFrom(1, 1, {{1, 2, 3, 4}}, PngColorType::RGB);
    StretchCopyRect(rgba, {0, 0, 1, 1}, &rgb, {0, 0, 1, 1});
    EXPECT_EQ(rgb.Pixel(0, 0), (PngPixel{90, 80, 70, 255}));

    TPNGObject grey = PictureFrom(1, 1, {{1, 2, 3, 4}}, PngColorType::Grayscale);
    StretchCopyRect(rgba, {0, 0, 1, 1}, &grey, {0, 0, 1, 1});  // colour into grey: refused
    EXPECT_EQ(grey.Pixel(0, 0), (PngPixel{1, 1, 1, 255}));
    StretchCopyRect(PictureFrom(1, 1, pixels, PngColorType::Grayscale), {0, 0, 1, 1}, &grey,
                    {0, 0, 1, 1});
    EXPECT_EQ(grey.Pixel(0, 0), (PngPixel{90, 90, 90, 255}));

    TPNGObject palette = PictureFrom(1, 1, {{1, 2, 3, 4}}, PngColorType::Palette);
    StretchCopyRect(PictureFrom(1, 1, {{200, 0, 0, 0}}, PngColorType::Palette), {0, 0, 1, 1},
                    &palette, {0, 0, 1, 1});
    EXPECT_EQ(palette.ColorRow(0)[0], 200);
}

TEST(PngStretchCopy, NothingHappensWithoutSomethingToCopy) {
    const TPNGObject source = Column(3);
    TPNGObject target = TPNGObject::CreateBlank(2, 2);
    int changes = 0;
    target.SetOnChange([&](TPNGObject&) { ++changes; });
    StretchCopyRect(source, {0, 0, 1, 3}, nullptr, {0, 0, 1, 1});
    StretchCopyRect(source, {0, 0, 0, 3}, &target, {0, 0, 1, 1});
    StretchCopyRect(source, {0, 2, 1, 1}, &target, {0, 0, 1, 1});
    StretchCopyRect(source, {0, 0, 1, 3}, &target, {1, 0, 1, 2});
    StretchCopyRect(source, {0, 0, 1, 3}, &target, {0, 2, 2, 1});
    StretchCopyRect(TPNGObject(), {0, 0, 1, 3}, &target, {0, 0, 2, 2});
    StretchCopyRect(source, {0, 0, 1, 3}, &target, {5, 5, 9, 9});  // wholly outside the target
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(target.Pixel(0, 0), (PngPixel{}));
    StretchCopyRect(source, {0, 0, 1, 3}, &target, {0, 0, 2, 2});
    EXPECT_EQ(changes, 1);
}

}  // namespace
}  // namespace qv
