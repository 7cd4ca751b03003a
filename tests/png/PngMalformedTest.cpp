// Malformed input: every fault is refused with its error, without a crash, a hang or a read
// beyond the data, and a refused load leaves the picture as it was.
#include <gtest/gtest.h>

#include <cstring>

#include "PngTestFiles.h"
#include "png/PngObject.h"

namespace qv {
namespace {

using test::Bytes;
using test::Chunk;
using test::Compress;
using test::Header;
using test::PngFile;

const Bytes kEnd = Chunk("IEND", {});

Bytes Rows(int width, int height, int bytesPerPixel, std::uint8_t filter = 0) {
    Bytes raw;
    for (int y = 0; y < height; ++y) {
        raw.push_back(filter);
        for (int i = 0; i < width * bytesPerPixel; ++i) raw.push_back(std::uint8_t(i + y));
    }
    return raw;
}

Bytes Data(const Bytes& raw) {
    return Chunk("IDAT", Compress(raw));
}

Bytes GreyPalette(int entries) {
    Bytes palette;
    for (int i = 0; i < entries; ++i) {
        palette.push_back(static_cast<std::uint8_t>(i));
        palette.push_back(0);
        palette.push_back(0);
    }
    return palette;
}

// A zlib stream whose stored checksum is wrong.
Bytes BadChecksum(const Bytes& raw) {
    Bytes z = Compress(raw);
    z.back() ^= 0xFF;
    return z;
}

struct MalformedCase {
    const char* what;
    Bytes file;
    PngError expected;
};

std::vector<MalformedCase> MalformedCases() {
    const Bytes rgba2x2 = Rows(2, 2, 4);
    const Bytes z = Compress(rgba2x2);
    return {
        {"empty input", {}, PngError::Truncated},
        {"another format", {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0}, PngError::NotPng},
        {"signature only", PngFile({}), PngError::Truncated},
        {"bad chunk CRC",
         PngFile({Header(2, 2, 8, 6), Chunk("IDAT", Compress(rgba2x2), true), kEnd}),
         PngError::BadCrc},
        {"header CRC", PngFile({Chunk("IHDR", Bytes(13, 1), true), kEnd}), PngError::BadCrc},
        {"no IEND", PngFile({Header(2, 2, 8, 6), Data(rgba2x2)}), PngError::Truncated},
        {"header not first", PngFile({Data(rgba2x2), Header(2, 2, 8, 6), kEnd}),
         PngError::BadHeader},
        {"header too short", PngFile({Chunk("IHDR", Bytes(12, 0)), Data(rgba2x2), kEnd}),
         PngError::BadHeader},
        {"zero width", PngFile({Header(0, 2, 8, 6), Data(rgba2x2), kEnd}), PngError::BadHeader},
        {"width of 2^31", PngFile({Header(0x80000000u, 1, 8, 6), Data(rgba2x2), kEnd}),
         PngError::BadHeader},
        {"huge width", PngFile({Header(100000, 1, 8, 6), Data(rgba2x2), kEnd}), PngError::TooLarge},
        {"huge area", PngFile({Header(60000, 60000, 1, 0), Data(rgba2x2), kEnd}),
         PngError::TooLarge},
        {"large area, tiny data", PngFile({Header(65536, 1024, 8, 6), Data(rgba2x2), kEnd}),
         PngError::ImageDataTooShort},
        {"colour type 5", PngFile({Header(2, 2, 8, 5), Data(rgba2x2), kEnd}), PngError::BadHeader},
        {"RGB at 4 bits", PngFile({Header(2, 2, 4, 2), Data(rgba2x2), kEnd}), PngError::BadHeader},
        {"palette at 16 bits", PngFile({Header(2, 2, 16, 3), Data(rgba2x2), kEnd}),
         PngError::BadHeader},
        {"grey at 3 bits", PngFile({Header(2, 2, 3, 0), Data(rgba2x2), kEnd}), PngError::BadHeader},
        {"compression method 1", PngFile({Header(2, 2, 8, 6, 0, 1), Data(rgba2x2), kEnd}),
         PngError::BadHeader},
        {"filter method 1", PngFile({Header(2, 2, 8, 6, 0, 0, 1), Data(rgba2x2), kEnd}),
         PngError::BadHeader},
        {"interlace method 2", PngFile({Header(2, 2, 8, 6, 2), Data(rgba2x2), kEnd}),
         PngError::BadHeader},
        {"two headers", PngFile({Header(2, 2, 8, 6), Header(2, 2, 8, 6), Data(rgba2x2), kEnd}),
         PngError::BadChunkOrder},
        {"no image data", PngFile({Header(2, 2, 8, 6), kEnd}), PngError::BadChunkOrder},
        {"image data split by another chunk",
         PngFile({Header(2, 2, 8, 6), Chunk("IDAT", Bytes(z.begin(), z.begin() + 4)),
                  Chunk("tEXt", {'a', 0, 'b'}), Chunk("IDAT", Bytes(z.begin() + 4, z.end())),
                  kEnd}),
         PngError::BadChunkOrder},
        {"palette after image data",
         PngFile({Header(2, 2, 8, 2), Data(Rows(2, 2, 3)), Chunk("PLTE", GreyPalette(2)), kEnd}),
         PngError::BadChunkOrder},
        {"palette picture without palette",
         PngFile({Header(2, 2, 8, 3), Data(Rows(2, 2, 1)), kEnd}), PngError::BadPalette},
        {"palette of 4 bytes",
         PngFile({Header(2, 2, 8, 3), Chunk("PLTE", {1, 2, 3, 4}), Data(Rows(2, 2, 1)), kEnd}),
         PngError::BadPalette},
        {"palette of 257 entries",
         PngFile({Header(2, 2, 8, 3), Chunk("PLTE", GreyPalette(257)), Data(Rows(2, 2, 1)), kEnd}),
         PngError::BadPalette},
        {"palette in a grey picture",
         PngFile({Header(2, 2, 8, 0), Chunk("PLTE", GreyPalette(2)), Data(Rows(2, 2, 1)), kEnd}),
         PngError::BadPalette},
        {"transparency table before the palette",
         PngFile({Header(2, 2, 8, 3), Chunk("tRNS", {0}), Chunk("PLTE", GreyPalette(2)),
                  Data(Rows(2, 2, 1)), kEnd}),
         PngError::BadPalette},
        {"transparency table of 257 entries",
         PngFile({Header(2, 2, 8, 3), Chunk("PLTE", GreyPalette(4)), Chunk("tRNS", Bytes(257, 0)),
                  Data(Rows(2, 2, 1)), kEnd}),
         PngError::BadPalette},
        {"grey key of 3 bytes",
         PngFile({Header(2, 2, 8, 0), Chunk("tRNS", {0, 1, 2}), Data(Rows(2, 2, 1)), kEnd}),
         PngError::BadPalette},
        {"RGB key of 2 bytes",
         PngFile({Header(2, 2, 8, 2), Chunk("tRNS", {0, 1}), Data(Rows(2, 2, 3)), kEnd}),
         PngError::BadPalette},
        {"unknown critical chunk",
         PngFile({Header(2, 2, 8, 6), Chunk("QVXX", {1}), Data(rgba2x2), kEnd}),
         PngError::UnknownCriticalChunk},
        {"corrupt zlib header",
         PngFile({Header(2, 2, 8, 6), Chunk("IDAT", {0x78, 0x00, 1, 2, 3}), kEnd}),
         PngError::BadImageData},
        {"corrupt deflate data",
         PngFile({Header(2, 2, 8, 6), Chunk("IDAT", {0x78, 0x9C, 0xFF, 0xFF, 0xFF, 0xFF}), kEnd}),
         PngError::BadImageData},
        {"wrong zlib checksum",
         PngFile({Header(2, 2, 8, 6), Chunk("IDAT", BadChecksum(rgba2x2)), kEnd}),
         PngError::BadImageData},
        {"zlib stream cut short",
         PngFile({Header(2, 2, 8, 6), Chunk("IDAT", Bytes(z.begin(), z.end() - 6)), kEnd}),
         PngError::ImageDataTooShort},
        {"one row missing", PngFile({Header(2, 3, 8, 6), Data(rgba2x2), kEnd}),
         PngError::ImageDataTooShort},
        {"one row too many", PngFile({Header(2, 1, 8, 6), Data(rgba2x2), kEnd}),
         PngError::ImageDataTooLong},
        {"interlaced, rows of the last pass missing",
         PngFile({Header(4, 4, 8, 0, 1), Data(Rows(1, 5, 1)), kEnd}), PngError::ImageDataTooShort},
        {"row filter 5", PngFile({Header(2, 2, 8, 6), Data(Rows(2, 2, 4, 5)), kEnd}),
         PngError::BadFilter},
    };
}

TEST(PngMalformed, EachFaultIsRefusedWithItsErrorAndTheOldPictureStays) {
    const Bytes good = test::SmallRgbaFile(3, 2);
    for (const MalformedCase& c : MalformedCases()) {
        SCOPED_TRACE(c.what);
        TPNGObject picture;
        ASSERT_EQ(picture.LoadFromMemory(good.data(), good.size()), PngError::None);
        int changes = 0;
        picture.SetOnChange([&](TPNGObject&) { ++changes; });
        // A copy on the heap of exactly the file's size, so a read past its end is a read
        // past the allocation.
        std::vector<std::uint8_t> exact(c.file.begin(), c.file.end());
        EXPECT_EQ(picture.LoadFromMemory(exact.data(), exact.size()), c.expected)
            << PngErrorText(picture.LoadFromMemory(exact.data(), exact.size()));
        EXPECT_EQ(changes, 0);
        EXPECT_EQ(picture.Width(), 3);
        EXPECT_EQ(picture.Pixel(2, 1), (PngPixel{32, 16, 3, 253}));
    }
}

TEST(PngMalformed, EveryTruncationIsRefused) {
    const test::Bytes files[] = {test::SmallRgbaFile(5, 4), test::ResourceBytes(L"P2_TRNS_I_PNG"),
                                 test::ResourceBytes(L"G4_SPLIT_I_PNG")};
    for (const Bytes& file : files) {
        ASSERT_FALSE(file.empty());
        for (std::size_t length = 0; length < file.size(); ++length) {
            std::vector<std::uint8_t> prefix(file.begin(), file.begin() + length);
            TPNGObject picture;
            ASSERT_EQ(picture.LoadFromMemory(prefix.data(), prefix.size()), PngError::Truncated)
                << "cut at " << length << " of " << file.size();
            ASSERT_TRUE(picture.Empty());
        }
    }
}

// Changing any single byte after the signature is caught: by a CRC, a chunk length that no
// longer fits, or a chunk order that no longer holds.
TEST(PngMalformed, EverySingleByteCorruptionIsRefused) {
    const Bytes file = test::ResourceBytes(L"RGB8_I_PNG");
    ASSERT_FALSE(file.empty());
    for (std::size_t at = 0; at < file.size(); ++at) {
        for (std::uint8_t flip : {0x01, 0x80, 0xFF}) {
            Bytes bad = file;
            bad[at] ^= flip;
            TPNGObject picture;
            ASSERT_NE(picture.LoadFromMemory(bad.data(), bad.size()), PngError::None)
                << "byte " << at << " xor " << int(flip);
        }
    }
}

TEST(PngMalformed, UnknownAncillaryChunksAreSkipped) {
    const Bytes file = PngFile({Header(2, 2, 8, 6), Chunk("qvXx", {1, 2, 3}),
                                Data(test::SmallRgbaRows(2, 2)), Chunk("zzZz", {}), kEnd});
    TPNGObject picture;
    ASSERT_EQ(picture.LoadFromMemory(file.data(), file.size()), PngError::None);
    EXPECT_EQ(picture.Pixel(1, 1), (PngPixel{16, 16, 2, 254}));
}

TEST(PngMalformed, PaletteIndexBeyondThePaletteReadsAsOpaqueBlack) {
    const Bytes file = PngFile(
        {Header(3, 1, 8, 3), Chunk("PLTE", {10, 20, 30, 40, 50, 60}), Data({0, 1, 2, 255}), kEnd});
    TPNGObject picture;
    ASSERT_EQ(picture.LoadFromMemory(file.data(), file.size()), PngError::None);
    EXPECT_EQ(picture.Pixel(0, 0), (PngPixel{40, 50, 60, 255}));
    EXPECT_EQ(picture.Pixel(1, 0), (PngPixel{0, 0, 0, 255}));
    EXPECT_EQ(picture.Pixel(2, 0), (PngPixel{0, 0, 0, 255}));
}

TEST(PngMalformed, DataAfterIendIsIgnored) {
    Bytes file = test::SmallRgbaFile(2, 2);
    file.insert(file.end(), {'t', 'r', 'a', 'i', 'l'});
    TPNGObject picture;
    EXPECT_EQ(picture.LoadFromMemory(file.data(), file.size()), PngError::None);
}

TEST(PngMalformed, EveryErrorHasItsOwnText) {
    const PngError all[] = {PngError::None,
                            PngError::ReadFailed,
                            PngError::NotPng,
                            PngError::Truncated,
                            PngError::BadCrc,
                            PngError::BadHeader,
                            PngError::BadChunkOrder,
                            PngError::BadPalette,
                            PngError::UnknownCriticalChunk,
                            PngError::TooLarge,
                            PngError::BadImageData,
                            PngError::ImageDataTooShort,
                            PngError::ImageDataTooLong,
                            PngError::BadFilter,
                            PngError::OutOfMemory};
    for (PngError a : all) {
        for (PngError b : all) {
            if (a != b) {
                EXPECT_STRNE(PngErrorText(a), PngErrorText(b));
            }
        }
    }
}

}  // namespace
}  // namespace qv
