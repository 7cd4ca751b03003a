#include "png/PngDecoder.h"

#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

namespace qv {
namespace {

std::uint32_t ReadBigEndian32(const std::uint8_t* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
           std::uint32_t{p[3]};
}

std::uint16_t ReadBigEndian16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>((p[0] << 8) | p[1]);
}

bool IsChunk(const std::uint8_t* type, const char* name) {
    return std::memcmp(type, name, 4) == 0;
}

// Bit 5 of the first type letter is clear for chunks a decoder must understand.
bool IsCritical(const std::uint8_t* type) {
    return (type[0] & 0x20) == 0;
}

struct Header {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    int bitDepth = 0;
    PngColorType colorType = PngColorType::Grayscale;
    bool interlaced = false;

    int Channels() const {
        switch (colorType) {
            case PngColorType::Grayscale:
                return 1;
            case PngColorType::RGB:
                return 3;
            case PngColorType::Palette:
                return 1;
            case PngColorType::GrayscaleAlpha:
                return 2;
            case PngColorType::RGBAlpha:
                return 4;
        }
        return 1;
    }
    int BitsPerPixel() const { return Channels() * bitDepth; }
    // Distance between a byte and the matching byte of the previous pixel, for the filters.
    std::size_t FilterStride() const { return std::max(1, BitsPerPixel() / 8); }
    std::size_t RowBytes(std::uint32_t pixels) const {
        return (std::uint64_t{pixels} * BitsPerPixel() + 7) / 8;
    }
};

bool IsValidDepth(PngColorType type, int depth) {
    switch (type) {
        case PngColorType::Grayscale:
            return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
        case PngColorType::Palette:
            return depth == 1 || depth == 2 || depth == 4 || depth == 8;
        case PngColorType::RGB:
        case PngColorType::GrayscaleAlpha:
        case PngColorType::RGBAlpha:
            return depth == 8 || depth == 16;
    }
    return false;
}

PngError ParseHeader(const std::uint8_t* data, std::uint32_t length, Header& header) {
    if (length != 13) return PngError::BadHeader;
    header.width = ReadBigEndian32(data);
    header.height = ReadBigEndian32(data + 4);
    header.bitDepth = data[8];
    const int colorType = data[9];
    if (header.width == 0 || header.height == 0 || header.width > 0x7FFFFFFFu ||
        header.height > 0x7FFFFFFFu)
        return PngError::BadHeader;
    if (colorType != 0 && colorType != 2 && colorType != 3 && colorType != 4 && colorType != 6)
        return PngError::BadHeader;
    header.colorType = static_cast<PngColorType>(colorType);
    if (!IsValidDepth(header.colorType, header.bitDepth)) return PngError::BadHeader;
    if (data[10] != 0 || data[11] != 0 || data[12] > 1) return PngError::BadHeader;
    header.interlaced = data[12] == 1;
    if (header.width > kMaxPngDimension || header.height > kMaxPngDimension ||
        std::uint64_t{header.width} * header.height > kMaxPngPixels)
        return PngError::TooLarge;
    return PngError::None;
}

// One reduced image of Adam7 (or the whole image when not interlaced).
struct Pass {
    std::uint32_t x0, y0, dx, dy;
    std::uint32_t width, height;
};

std::vector<Pass> PassesOf(const Header& header) {
    if (!header.interlaced) return {{0, 0, 1, 1, header.width, header.height}};
    static constexpr std::uint32_t kAdam7[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8},
                                                   {2, 0, 4, 4}, {0, 2, 2, 4}, {1, 0, 2, 2},
                                                   {0, 1, 1, 2}};
    std::vector<Pass> passes;
    for (const auto& a : kAdam7) {
        const std::uint32_t w = header.width > a[0] ? (header.width - a[0] + a[2] - 1) / a[2] : 0;
        const std::uint32_t h = header.height > a[1] ? (header.height - a[1] + a[3] - 1) / a[3] : 0;
        if (w > 0 && h > 0) passes.push_back({a[0], a[1], a[2], a[3], w, h});
    }
    return passes;
}

std::uint64_t FilteredSize(const Header& header, const std::vector<Pass>& passes) {
    std::uint64_t total = 0;
    for (const Pass& pass : passes) total += pass.height * (1 + header.RowBytes(pass.width));
    return total;
}

struct Ancillary {
    std::vector<PngRgb> palette;
    std::vector<std::uint8_t> paletteAlpha;
    bool hasColorKey = false;
    std::uint16_t keyRed = 0, keyGreen = 0, keyBlue = 0;  // grey uses keyRed
};

PngError ParsePalette(const std::uint8_t* data, std::uint32_t length, const Header& header,
                      Ancillary& extra) {
    if (header.colorType == PngColorType::Grayscale ||
        header.colorType == PngColorType::GrayscaleAlpha)
        return PngError::BadPalette;
    if (length == 0 || length % 3 != 0 || length / 3 > 256) return PngError::BadPalette;
    extra.palette.clear();
    for (std::uint32_t i = 0; i < length; i += 3)
        extra.palette.push_back({data[i], data[i + 1], data[i + 2]});
    return PngError::None;
}

PngError ParseTransparency(const std::uint8_t* data, std::uint32_t length, const Header& header,
                           Ancillary& extra) {
    switch (header.colorType) {
        case PngColorType::Palette:
            if (extra.palette.empty() || length > 256) return PngError::BadPalette;
            extra.paletteAlpha.assign(data, data + length);
            return PngError::None;
        case PngColorType::Grayscale:
            if (length != 2) return PngError::BadPalette;
            extra.hasColorKey = true;
            extra.keyRed = ReadBigEndian16(data);
            return PngError::None;
        case PngColorType::RGB:
            if (length != 6) return PngError::BadPalette;
            extra.hasColorKey = true;
            extra.keyRed = ReadBigEndian16(data);
            extra.keyGreen = ReadBigEndian16(data + 2);
            extra.keyBlue = ReadBigEndian16(data + 4);
            return PngError::None;
        default:  // pictures with an alpha channel have no use for it
            return PngError::None;
    }
}

// Inflates exactly expected bytes; more or fewer is an error, as is a damaged stream.
PngError Inflate(const std::vector<std::uint8_t>& compressed, std::vector<std::uint8_t>& out,
                 std::uint64_t expected) {
    // zlib cannot expand data by more than about 1032 : 1, so a header asking for far more than
    // the compressed data can hold is refused before allocating for it.
    if (expected > compressed.size() * std::uint64_t{1100} + 1024)
        return PngError::ImageDataTooShort;
    out.resize(static_cast<std::size_t>(expected));

    z_stream stream{};
    if (inflateInit(&stream) != Z_OK) return PngError::OutOfMemory;
    const std::uint8_t* input = compressed.data();
    std::size_t inputLeft = compressed.size();
    std::size_t produced = 0;
    std::uint8_t spare = 0;
    int status = Z_OK;
    while (status == Z_OK) {
        if (stream.avail_in == 0 && inputLeft > 0) {
            const std::size_t piece = std::min<std::size_t>(inputLeft, 1u << 30);
            stream.next_in = const_cast<Bytef*>(input);
            stream.avail_in = static_cast<uInt>(piece);
            input += piece;
            inputLeft -= piece;
        }
        const bool full = produced == out.size();
        // Past the expected size, one spare byte shows whether the stream holds more.
        const std::size_t room = full ? 1 : std::min<std::size_t>(out.size() - produced, 1u << 30);
        stream.next_out = full ? &spare : out.data() + produced;
        stream.avail_out = static_cast<uInt>(room);
        status = inflate(&stream, Z_NO_FLUSH);
        const std::size_t written = room - stream.avail_out;
        if (full && written > 0) {
            inflateEnd(&stream);
            return PngError::ImageDataTooLong;
        }
        produced += written;
        if (status == Z_BUF_ERROR && stream.avail_in == 0 && inputLeft == 0) break;
        if (status == Z_BUF_ERROR) status = Z_OK;
    }
    inflateEnd(&stream);
    if (status == Z_STREAM_END) {
        return produced == out.size() ? PngError::None : PngError::ImageDataTooShort;
    }
    if (status == Z_MEM_ERROR) return PngError::OutOfMemory;
    if (status == Z_BUF_ERROR)  // the input ran out before the stream ended
        return produced < out.size() ? PngError::ImageDataTooShort : PngError::BadImageData;
    return PngError::BadImageData;
}

std::uint8_t Paeth(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    if (pa <= pb && pa <= pc) return static_cast<std::uint8_t>(a);
    if (pb <= pc) return static_cast<std::uint8_t>(b);
    return static_cast<std::uint8_t>(c);
}

// Reverses the filter of one row in place; previous is the unfiltered row above or null.
bool Unfilter(int filter, std::uint8_t* row, const std::uint8_t* previous, std::size_t length,
              std::size_t stride) {
    switch (filter) {
        case 0:
            return true;
        case 1:
            for (std::size_t i = stride; i < length; ++i) row[i] += row[i - stride];
            return true;
        case 2:
            if (previous)
                for (std::size_t i = 0; i < length; ++i) row[i] += previous[i];
            return true;
        case 3:
            for (std::size_t i = 0; i < length; ++i) {
                const int left = i >= stride ? row[i - stride] : 0;
                const int up = previous ? previous[i] : 0;
                row[i] += static_cast<std::uint8_t>((left + up) / 2);
            }
            return true;
        case 4:
            for (std::size_t i = 0; i < length; ++i) {
                const int left = i >= stride ? row[i - stride] : 0;
                const int up = previous ? previous[i] : 0;
                const int upLeft = previous && i >= stride ? previous[i - stride] : 0;
                row[i] += Paeth(left, up, upLeft);
            }
            return true;
        default:
            return false;
    }
}

// Sample number index of a row, at the header's bit depth (16-bit samples big-endian).
unsigned SampleAt(const std::uint8_t* row, std::size_t index, int depth) {
    switch (depth) {
        case 16:
            return ReadBigEndian16(row + 2 * index);
        case 8:
            return row[index];
        default: {
            const std::size_t bit = index * depth;
            const int shift = 8 - depth - static_cast<int>(bit % 8);
            return (row[bit / 8] >> shift) & ((1u << depth) - 1);
        }
    }
}

std::uint8_t ScaleTo8Bits(unsigned sample, int depth) {
    switch (depth) {
        case 1:
            return static_cast<std::uint8_t>(sample * 255);
        case 2:
            return static_cast<std::uint8_t>(sample * 85);
        case 4:
            return static_cast<std::uint8_t>(sample * 17);
        case 16:
            return static_cast<std::uint8_t>((sample * 255u + 32767u) / 65535u);
        default:
            return static_cast<std::uint8_t>(sample);
    }
}

// Where the decoded samples go: the picture's storage, written pixel by pixel.
struct Storage {
    PngColorType type;
    std::size_t colorBytes;
    std::vector<std::uint8_t> color;
    std::vector<std::uint8_t> alpha;
};

PngColorType StoredType(const Header& header, const Ancillary& extra) {
    if (!extra.hasColorKey) return header.colorType;
    return header.colorType == PngColorType::Grayscale ? PngColorType::GrayscaleAlpha
                                                       : PngColorType::RGBAlpha;
}

// The common case, 8-bit samples without a colour key, without per-sample unpacking.
void StoreRow8(PngColorType type, const std::uint8_t* row, std::size_t count, std::size_t first,
               std::size_t step, Storage& storage) {
    std::uint8_t* color = storage.color.data();
    std::uint8_t* alpha = storage.alpha.data();
    switch (type) {
        case PngColorType::Grayscale:
        case PngColorType::Palette:
            for (std::size_t i = 0; i < count; ++i) color[first + i * step] = row[i];
            break;
        case PngColorType::GrayscaleAlpha:
            for (std::size_t i = 0; i < count; ++i) {
                color[first + i * step] = row[2 * i];
                alpha[first + i * step] = row[2 * i + 1];
            }
            break;
        case PngColorType::RGB:
            for (std::size_t i = 0; i < count; ++i) {
                std::uint8_t* c = color + 3 * (first + i * step);
                c[0] = row[3 * i];
                c[1] = row[3 * i + 1];
                c[2] = row[3 * i + 2];
            }
            break;
        case PngColorType::RGBAlpha:
            for (std::size_t i = 0; i < count; ++i) {
                std::uint8_t* c = color + 3 * (first + i * step);
                c[0] = row[4 * i];
                c[1] = row[4 * i + 1];
                c[2] = row[4 * i + 2];
                alpha[first + i * step] = row[4 * i + 3];
            }
            break;
    }
}

// Any depth, colour keys: each sample unpacked and scaled to 8 bits.
void StoreRowScaled(const Header& header, const Ancillary& extra, std::size_t count,
                    std::size_t first, std::size_t step, const std::uint8_t* row,
                    Storage& storage) {
    const int depth = header.bitDepth;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t pixel = first + i * step;
        std::uint8_t* color = storage.color.data() + pixel * storage.colorBytes;
        switch (header.colorType) {
            case PngColorType::Grayscale: {
                const unsigned grey = SampleAt(row, i, depth);
                color[0] = ScaleTo8Bits(grey, depth);
                if (extra.hasColorKey) storage.alpha[pixel] = grey == extra.keyRed ? 0 : 255;
                break;
            }
            case PngColorType::Palette:
                color[0] = static_cast<std::uint8_t>(SampleAt(row, i, depth));
                break;
            case PngColorType::RGB: {
                const unsigned r = SampleAt(row, 3 * i, depth);
                const unsigned g = SampleAt(row, 3 * i + 1, depth);
                const unsigned b = SampleAt(row, 3 * i + 2, depth);
                color[0] = ScaleTo8Bits(r, depth);
                color[1] = ScaleTo8Bits(g, depth);
                color[2] = ScaleTo8Bits(b, depth);
                if (extra.hasColorKey) {
                    const bool keyed =
                        r == extra.keyRed && g == extra.keyGreen && b == extra.keyBlue;
                    storage.alpha[pixel] = keyed ? 0 : 255;
                }
                break;
            }
            case PngColorType::GrayscaleAlpha:
                color[0] = ScaleTo8Bits(SampleAt(row, 2 * i, depth), depth);
                storage.alpha[pixel] = ScaleTo8Bits(SampleAt(row, 2 * i + 1, depth), depth);
                break;
            case PngColorType::RGBAlpha:
                for (std::size_t c = 0; c < 3; ++c)
                    color[c] = ScaleTo8Bits(SampleAt(row, 4 * i + c, depth), depth);
                storage.alpha[pixel] = ScaleTo8Bits(SampleAt(row, 4 * i + 3, depth), depth);
                break;
        }
    }
}

void StoreRow(const Header& header, const Ancillary& extra, const Pass& pass, std::uint32_t passRow,
              const std::uint8_t* row, Storage& storage) {
    const std::size_t y = pass.y0 + std::size_t{passRow} * pass.dy;
    const std::size_t first = y * header.width + pass.x0;
    if (header.bitDepth == 8 && !extra.hasColorKey)
        StoreRow8(header.colorType, row, pass.width, first, pass.dx, storage);
    else
        StoreRowScaled(header, extra, pass.width, first, pass.dx, row, storage);
}

PngError Reconstruct(const Header& header, const Ancillary& extra, std::vector<std::uint8_t>& raw,
                     Storage& storage) {
    const std::size_t pixels = std::size_t{header.width} * header.height;
    storage.type = StoredType(header, extra);
    const bool rgb = storage.type == PngColorType::RGB || storage.type == PngColorType::RGBAlpha;
    storage.colorBytes = rgb ? 3 : 1;
    storage.color.assign(pixels * storage.colorBytes, 0);
    const bool hasAlpha =
        storage.type == PngColorType::GrayscaleAlpha || storage.type == PngColorType::RGBAlpha;
    if (hasAlpha) storage.alpha.assign(pixels, 255);

    std::uint8_t* cursor = raw.data();
    const std::size_t stride = header.FilterStride();
    for (const Pass& pass : PassesOf(header)) {
        const std::size_t rowBytes = header.RowBytes(pass.width);
        const std::uint8_t* previous = nullptr;
        for (std::uint32_t r = 0; r < pass.height; ++r) {
            const int filter = cursor[0];
            std::uint8_t* row = cursor + 1;
            if (!Unfilter(filter, row, previous, rowBytes, stride)) return PngError::BadFilter;
            StoreRow(header, extra, pass, r, row, storage);
            previous = row;
            cursor += 1 + rowBytes;
        }
    }
    return PngError::None;
}

// Walks the chunks, checking order and CRCs, and collects what decoding needs.
struct ChunkWalk {
    Header header;
    Ancillary extra;
    std::vector<std::uint8_t> compressed;
    std::size_t end = 0;  // offset just past IEND
};

PngError WalkChunks(const std::uint8_t* data, std::size_t size, ChunkWalk& walk) {
    std::size_t pos = sizeof kPngSignature;
    bool seenHeader = false, seenData = false, dataEnded = false;
    for (;;) {
        if (size - pos < 12) return PngError::Truncated;
        const std::uint32_t length = ReadBigEndian32(data + pos);
        const std::uint8_t* type = data + pos + 4;
        if (length > 0x7FFFFFFFu || length > size - pos - 12) return PngError::Truncated;
        const std::uint8_t* body = type + 4;
        const std::uint32_t storedCrc = ReadBigEndian32(body + length);
        if (crc32(crc32(0, nullptr, 0), type, length + 4) != storedCrc) return PngError::BadCrc;
        pos += std::size_t{length} + 12;

        const bool isHeader = IsChunk(type, "IHDR");
        if (!seenHeader && !isHeader) return PngError::BadHeader;
        if (seenData && !IsChunk(type, "IDAT")) dataEnded = true;
        PngError error = PngError::None;
        if (isHeader) {
            if (seenHeader) return PngError::BadChunkOrder;
            seenHeader = true;
            error = ParseHeader(body, length, walk.header);
        } else if (IsChunk(type, "PLTE")) {
            if (seenData || !walk.extra.palette.empty()) return PngError::BadChunkOrder;
            error = ParsePalette(body, length, walk.header, walk.extra);
        } else if (IsChunk(type, "tRNS")) {
            if (seenData) return PngError::BadChunkOrder;
            error = ParseTransparency(body, length, walk.header, walk.extra);
        } else if (IsChunk(type, "IDAT")) {
            if (dataEnded) return PngError::BadChunkOrder;
            if (walk.header.colorType == PngColorType::Palette && walk.extra.palette.empty())
                return PngError::BadPalette;
            seenData = true;
            walk.compressed.insert(walk.compressed.end(), body, body + length);
        } else if (IsChunk(type, "IEND")) {
            if (!seenData) return PngError::BadChunkOrder;
            walk.end = pos;
            return PngError::None;
        } else if (IsCritical(type)) {
            return PngError::UnknownCriticalChunk;
        }
        if (error != PngError::None) return error;
    }
}

}  // namespace

PngError PngDecoder::Decode(const std::uint8_t* data, std::size_t size, TPNGObject& picture,
                            std::size_t* consumed) {
    if (data == nullptr || size == 0) return PngError::Truncated;
    const std::size_t signatureBytes = std::min(size, sizeof kPngSignature);
    if (std::memcmp(data, kPngSignature, signatureBytes) != 0) return PngError::NotPng;
    if (size < sizeof kPngSignature) return PngError::Truncated;
    try {
        ChunkWalk walk;
        if (const PngError error = WalkChunks(data, size, walk); error != PngError::None)
            return error;
        const std::vector<Pass> passes = PassesOf(walk.header);
        std::vector<std::uint8_t> raw;
        if (const PngError error = Inflate(walk.compressed, raw, FilteredSize(walk.header, passes));
            error != PngError::None)
            return error;
        Storage storage;
        if (const PngError error = Reconstruct(walk.header, walk.extra, raw, storage);
            error != PngError::None)
            return error;

        picture.width_ = static_cast<int>(walk.header.width);
        picture.height_ = static_cast<int>(walk.header.height);
        picture.colorType_ = storage.type;
        picture.fileColorType_ = walk.header.colorType;
        picture.fileBitDepth_ = walk.header.bitDepth;
        picture.interlaced_ = walk.header.interlaced;
        picture.color_ = std::move(storage.color);
        picture.alpha_ = std::move(storage.alpha);
        picture.hasTransparencyTable_ = !walk.extra.paletteAlpha.empty();
        std::copy(walk.extra.palette.begin(), walk.extra.palette.end(), picture.palette_.begin());
        std::copy(walk.extra.paletteAlpha.begin(), walk.extra.paletteAlpha.end(),
                  picture.paletteAlpha_.begin());
        if (consumed) *consumed = walk.end;
        return PngError::None;
    } catch (const std::bad_alloc&) {
        return PngError::OutOfMemory;
    }
}

}  // namespace qv
