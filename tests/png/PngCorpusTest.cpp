// Decoding the corpus: every colour type, bit depth, transparency form and interlacing, compared
// pixel by pixel with values worked out when the corpus was written.
#include <gtest/gtest.h>

#include <windows.h>

#include <sstream>

#include "PngTestFiles.h"
#include "png/PngObject.h"

namespace qv {
namespace {

struct CorpusCase {
    const wchar_t* name;
    int width;
    int height;
    PngColorType fileType;
    int depth;
    bool interlaced;
    PngColorType storedType;
};

const CorpusCase kCorpus[] = {
#include "CorpusCases.inc"
};

std::string CaseName(const testing::TestParamInfo<CorpusCase>& info) {
    std::string name;
    for (const wchar_t* p = info.param.name; *p; ++p) name += static_cast<char>(*p);
    return name;
}

class CorpusTest : public testing::TestWithParam<CorpusCase> {};

TEST_P(CorpusTest, DecodesToTheExpectedPixels) {
    const CorpusCase& c = GetParam();
    const test::Bytes expected = test::ResourceBytes(std::wstring(c.name) + L"_RGBA");
    ASSERT_EQ(expected.size(), std::size_t(c.width) * c.height * 4);

    TPNGObject picture;
    ASSERT_EQ(picture.LoadFromResource(GetModuleHandleW(nullptr),
                                       (std::wstring(c.name) + L"_PNG").c_str()),
              PngError::None);
    EXPECT_EQ(picture.Width(), c.width);
    EXPECT_EQ(picture.Height(), c.height);
    EXPECT_EQ(picture.FileColorType(), c.fileType);
    EXPECT_EQ(picture.FileBitDepth(), c.depth);
    EXPECT_EQ(picture.Interlaced(), c.interlaced);
    EXPECT_EQ(picture.ColorType(), c.storedType);

    int mismatches = 0;
    for (int y = 0; y < c.height; ++y) {
        for (int x = 0; x < c.width; ++x) {
            const std::uint8_t* e = &expected[(std::size_t(y) * c.width + x) * 4];
            const PngPixel want{e[0], e[1], e[2], e[3]};
            const PngPixel got = picture.Pixel(x, y);
            if (got != want && ++mismatches <= 5) {
                ADD_FAILURE() << "pixel " << x << "," << y << " is " << int(got.r) << " "
                              << int(got.g) << " " << int(got.b) << " " << int(got.a)
                              << ", expected " << int(want.r) << " " << int(want.g) << " "
                              << int(want.b) << " " << int(want.a);
            }
        }
    }
    EXPECT_EQ(mismatches, 0);
}

// The row buffers hold what Pixel() reports, in the layout the header documents.
TEST_P(CorpusTest, RowsMatchTheResolvedPixels) {
    const CorpusCase& c = GetParam();
    TPNGObject picture;
    ASSERT_EQ(picture.LoadFromResource(GetModuleHandleW(nullptr),
                                       (std::wstring(c.name) + L"_PNG").c_str()),
              PngError::None);
    for (int y = 0; y < c.height; ++y) {
        const std::uint8_t* color = picture.ColorRow(y);
        const std::uint8_t* alpha = picture.AlphaRow(y);
        ASSERT_NE(color, nullptr);
        ASSERT_EQ(alpha != nullptr, picture.HasAlphaChannel());
        for (int x = 0; x < c.width; ++x) {
            const PngPixel p = picture.Pixel(x, y);
            switch (picture.ColorType()) {
                case PngColorType::Grayscale:
                case PngColorType::GrayscaleAlpha:
                    ASSERT_EQ(color[x], p.r);
                    break;
                case PngColorType::RGB:
                case PngColorType::RGBAlpha:
                    ASSERT_EQ(color[3 * x], p.r);
                    ASSERT_EQ(color[3 * x + 1], p.g);
                    ASSERT_EQ(color[3 * x + 2], p.b);
                    break;
                case PngColorType::Palette:
                    ASSERT_EQ(picture.Palette()[color[x]], (PngRgb{p.r, p.g, p.b}));
                    ASSERT_EQ(picture.PaletteAlpha()[color[x]], p.a);
                    break;
            }
            if (alpha) {
                ASSERT_EQ(alpha[x], p.a);
            }
        }
    }
    EXPECT_EQ(picture.ColorRow(-1), nullptr);
    EXPECT_EQ(picture.ColorRow(c.height), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Corpus, CorpusTest, testing::ValuesIn(kCorpus), CaseName);

bool SamePixels(const TPNGObject& a, const TPNGObject& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (a.Pixel(x, y) != b.Pixel(x, y)) return false;
    return true;
}

TEST(PngSources, FileStreamAndMemoryGiveTheSamePicture) {
    const test::Bytes bytes = test::ResourceBytes(L"RGBA16_SPLIT_PNG");
    ASSERT_FALSE(bytes.empty());
    TPNGObject fromMemory;
    ASSERT_EQ(fromMemory.LoadFromMemory(bytes.data(), bytes.size()), PngError::None);

    wchar_t folder[MAX_PATH];
    ASSERT_GT(GetTempPathW(MAX_PATH, folder), 0u);
    const std::wstring path = std::wstring(folder) + L"qv_png_source_test.png";
    {
        ScopedFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(file);
        DWORD written = 0;
        ASSERT_TRUE(WriteFile(file.get(), bytes.data(), DWORD(bytes.size()), &written, nullptr));
    }
    TPNGObject fromFile;
    EXPECT_EQ(fromFile.LoadFromFile(path), PngError::None);
    DeleteFileW(path.c_str());
    EXPECT_TRUE(SamePixels(fromMemory, fromFile));

    // A picture embedded in a longer stream: reading stops right after IEND.
    std::stringstream stream;
    stream << "HEAD";
    stream.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    stream << "TAIL";
    char head[4];
    stream.read(head, 4);
    TPNGObject fromStream;
    ASSERT_EQ(fromStream.LoadFromStream(stream), PngError::None);
    EXPECT_TRUE(SamePixels(fromMemory, fromStream));
    std::string rest;
    stream >> rest;
    EXPECT_EQ(rest, "TAIL");
}

TEST(PngSources, MissingSourcesAreReadFailures) {
    TPNGObject picture;
    EXPECT_EQ(picture.LoadFromFile(L"Z:\\no\\such\\folder\\picture.png"), PngError::ReadFailed);
    EXPECT_EQ(picture.LoadFromResource(GetModuleHandleW(nullptr), L"NO_SUCH_RESOURCE"),
              PngError::ReadFailed);
    std::stringstream empty;
    EXPECT_EQ(picture.LoadFromStream(empty), PngError::ReadFailed);
    std::stringstream cut(std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0", 18));
    EXPECT_EQ(picture.LoadFromStream(cut), PngError::Truncated);
    EXPECT_TRUE(picture.Empty());
}

TEST(PngSources, StreamWithALyingChunkLengthIsRefusedWithoutReadingOn) {
    // Length 0x7FFFFFF0: the stream ends long before; the reader must not trust the length.
    std::string bytes("\x89PNG\r\n\x1a\n\x7f\xff\xff\xf0IDATshort", 20);
    std::stringstream stream(bytes);
    TPNGObject picture;
    EXPECT_NE(picture.LoadFromStream(stream), PngError::None);
}

}  // namespace
}  // namespace qv
