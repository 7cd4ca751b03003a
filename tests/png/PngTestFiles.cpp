#include "PngTestFiles.h"

#include <windows.h>
#include <zlib.h>

#include <stdexcept>

namespace qv::test {
namespace {

void PutBigEndian32(Bytes& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v >> 24));
    out.push_back(static_cast<std::uint8_t>(v >> 16));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
    out.push_back(static_cast<std::uint8_t>(v));
}

}  // namespace

Bytes ResourceBytes(const std::wstring& name) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(module, name.c_str(), RT_RCDATA);
    if (!found) return {};
    const auto* data = static_cast<const std::uint8_t*>(LockResource(LoadResource(module, found)));
    return Bytes(data, data + SizeofResource(module, found));
}

Bytes Chunk(const char* type, const Bytes& data, bool badCrc) {
    Bytes out;
    PutBigEndian32(out, static_cast<std::uint32_t>(data.size()));
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    std::uint32_t crc = crc32(0, out.data() + 4, static_cast<uInt>(data.size() + 4));
    if (badCrc) crc ^= 1;
    PutBigEndian32(out, crc);
    return out;
}

Bytes Header(std::uint32_t width, std::uint32_t height, int depth, int colorType, int interlace,
             int compression, int filter) {
    Bytes data;
    PutBigEndian32(data, width);
    PutBigEndian32(data, height);
    for (int v : {depth, colorType, compression, filter, interlace})
        data.push_back(static_cast<std::uint8_t>(v));
    return Chunk("IHDR", data);
}

Bytes Compress(const Bytes& raw) {
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    Bytes out(size);
    if (compress(out.data(), &size, raw.data(), static_cast<uLong>(raw.size())) != Z_OK)
        throw std::runtime_error("compress failed");
    out.resize(size);
    return out;
}

Bytes PngFile(const std::vector<Bytes>& chunks) {
    Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    for (const Bytes& c : chunks) out.insert(out.end(), c.begin(), c.end());
    return out;
}

Bytes SmallRgbaRows(int width, int height) {
    Bytes raw;
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);
        for (int x = 0; x < width; ++x) {
            for (int v : {x * 16, y * 16, x + y, 255 - x})
                raw.push_back(static_cast<std::uint8_t>(v));
        }
    }
    return raw;
}

Bytes SmallRgbaFile(int width, int height) {
    return PngFile({Header(width, height, 8, 6),
                    Chunk("IDAT", Compress(SmallRgbaRows(width, height))), Chunk("IEND", {})});
}

TPNGObject PictureFrom(int width, int height, const std::vector<PngPixel>& pixels,
                       PngColorType type) {
    Bytes raw;
    Bytes palette, transparency;
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);
        for (int x = 0; x < width; ++x) {
            const PngPixel& p = pixels[std::size_t(y) * width + x];
            switch (type) {
                case PngColorType::Grayscale:
                case PngColorType::Palette:
                    raw.push_back(p.r);
                    break;
                case PngColorType::GrayscaleAlpha:
                    raw.insert(raw.end(), {p.r, p.a});
                    break;
                case PngColorType::RGB:
                    raw.insert(raw.end(), {p.r, p.g, p.b});
                    break;
                case PngColorType::RGBAlpha:
                    raw.insert(raw.end(), {p.r, p.g, p.b, p.a});
                    break;
            }
        }
    }
    std::vector<Bytes> chunks = {Header(width, height, 8, static_cast<int>(type))};
    if (type == PngColorType::Palette) {
        // Entry i is (i, 255 - i, 7) with alpha i, so a pixel's index shows in every byte.
        for (int i = 0; i < 256; ++i) {
            palette.insert(palette.end(), {std::uint8_t(i), std::uint8_t(255 - i), 7});
            transparency.push_back(static_cast<std::uint8_t>(i));
        }
        chunks.push_back(Chunk("PLTE", palette));
        chunks.push_back(Chunk("tRNS", transparency));
    }
    chunks.push_back(Chunk("IDAT", Compress(raw)));
    chunks.push_back(Chunk("IEND", {}));
    TPNGObject picture;
    const Bytes file = PngFile(chunks);
    if (picture.LoadFromMemory(file.data(), file.size()) != PngError::None)
        throw std::runtime_error("test picture did not load");
    return picture;
}

}  // namespace qv::test
