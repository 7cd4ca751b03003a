// TPNGObject: a decoded PNG picture with optional alpha, and what the program's windows and image
// buttons do with one (draw it with per-pixel alpha, copy and stretch parts of it, make it carry
// alpha, turn it into a plain bitmap).
//
// Decoding accepts every standard PNG: grey, RGB, palette, grey + alpha and RGBA at every bit
// depth the format allows (1, 2, 4, 8, 16), palettes with a transparency table, transparent
// colour keys, Adam7 interlacing. Every chunk's CRC and the zlib stream's checksum are checked.
// Corrupt, truncated or oversized input is refused with a PngError; a failed load leaves the
// object exactly as it was. No function of this unit throws (a copy that finds no memory is an
// empty picture).
//
// Pixel storage, whatever the file held:
//   - 8 bits per sample; 16-bit samples are scaled down (v * 255 / 65535, rounded), grey samples
//     of 1, 2 or 4 bits are scaled up (a 2-bit 3 becomes 255).
//   - ColorRow(y) holds the colour bytes of row y, top row first:
//       Grayscale, GrayscaleAlpha: 1 byte per pixel (the grey level);
//       RGB, RGBAlpha:            3 bytes per pixel in the order red, green, blue;
//       Palette:                  1 byte per pixel, the palette index (bit-packed rows unpacked).
//   - AlphaRow(y) holds one alpha byte per pixel for GrayscaleAlpha and RGBAlpha, and is null for
//     the other colour types. A palette image keeps its alpha in PaletteAlpha().
//   - A grey or RGB file with a transparent colour key (tRNS) is stored as GrayscaleAlpha or
//     RGBAlpha with alpha 0 on the keyed pixels and 255 elsewhere, so ColorType() can differ from
//     the file's; FileColorType() and FileBitDepth() tell what the file said.
//
// The change handler belongs to the variable, not to the picture: copying or moving a picture
// into an object keeps that object's handler and fires it; a copy-constructed object starts
// without a handler. Every operation that changes the picture fires the handler once.
#pragma once

#include <windows.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <istream>
#include <string>
#include <vector>

#include "common/ScopedHandles.h"

namespace qv {

enum class PngColorType : std::uint8_t {
    Grayscale = 0,
    RGB = 2,
    Palette = 3,
    GrayscaleAlpha = 4,
    RGBAlpha = 6,
};

enum class PngError {
    None,           // success
    ReadFailed,     // the file, stream or resource could not be read
    NotPng,         // the data does not start with the PNG signature
    Truncated,      // the data ends inside a chunk or before IEND
    BadCrc,         // a chunk's CRC does not match its contents
    BadHeader,      // IHDR missing, misplaced, of the wrong length or with invalid fields
    BadChunkOrder,  // PLTE/IDAT/IEND out of place, IDAT chunks not consecutive
    BadPalette,     // PLTE of a wrong length, missing for a palette image, bad tRNS
    UnknownCriticalChunk,
    TooLarge,           // dimensions beyond kMaxPngDimension or kMaxPngPixels
    BadImageData,       // the zlib stream is corrupt (bad header, bad data, bad checksum)
    ImageDataTooShort,  // the image data ends before every row is complete
    ImageDataTooLong,   // the image data holds more bytes than the rows need
    BadFilter,          // a row filter type other than 0..4
    OutOfMemory,
};

// A short English description of an error, for logs and test messages.
const wchar_t* PngErrorText(PngError error);

// Limits that keep a hostile header from making the decoder allocate without bound.
inline constexpr std::uint32_t kMaxPngDimension = 1u << 16;
inline constexpr std::uint64_t kMaxPngPixels = 1ull << 26;

struct PngRgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const PngRgb&, const PngRgb&) = default;
};

// One pixel with its colour resolved through the palette and its alpha resolved through the
// alpha channel or transparency table (255 when the picture has neither).
struct PngPixel {
    std::uint8_t r = 0, g = 0, b = 0, a = 0;
    friend bool operator==(const PngPixel&, const PngPixel&) = default;
};

class TPNGObject {
public:
    using ChangeHandler = std::function<void(TPNGObject&)>;

    TPNGObject() = default;  // empty: 0 x 0, no pixels
    TPNGObject(const TPNGObject& other);
    TPNGObject(TPNGObject&& other) noexcept;
    TPNGObject& operator=(const TPNGObject& other);  // as Assign
    TPNGObject& operator=(TPNGObject&& other) noexcept;
    ~TPNGObject() = default;

    // A blank 8-bit RGBA picture, every pixel 0 (transparent black). Width or height of 0 or
    // below, or beyond the limits, give an empty picture.
    static TPNGObject CreateBlank(int width, int height);

    // The change handler, fired after every change of the picture.
    void SetOnChange(ChangeHandler handler) { onChange_ = std::move(handler); }

    // Copies the other picture's pixels in (an empty one empties this); fires the change.
    void Assign(const TPNGObject& other);
    // Drops the pixels; fires the change.
    void Clear();

    // Loading: on success the picture is replaced and the change fires; on failure nothing
    // changes and the error says why.
    [[nodiscard]] PngError LoadFromMemory(const void* data, std::size_t size);
    // Reads one PNG from the stream's current position up to and including its IEND chunk and
    // leaves the stream right after it (so a picture can be embedded in a longer stream).
    [[nodiscard]] PngError LoadFromStream(std::istream& stream);
    [[nodiscard]] PngError LoadFromFile(const std::wstring& path);
    // A resource of the given module (RT_RCDATA unless another type is given).
    [[nodiscard]] PngError LoadFromResource(HMODULE module, const wchar_t* name,
                                            const wchar_t* type = RT_RCDATA);

    bool Empty() const { return width_ == 0 || height_ == 0; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    PngColorType ColorType() const { return colorType_; }
    PngColorType FileColorType() const { return fileColorType_; }
    int FileBitDepth() const { return fileBitDepth_; }
    bool Interlaced() const { return interlaced_; }
    bool HasAlphaChannel() const {
        return colorType_ == PngColorType::GrayscaleAlpha || colorType_ == PngColorType::RGBAlpha;
    }
    // Number of colour bytes per pixel in ColorRow: 3 for RGB and RGBAlpha, else 1.
    int ColorBytesPerPixel() const;

    // Row access; y must lie in 0..Height()-1 (null otherwise, and for an empty picture).
    // Writing through the pointers does not fire the change: call Changed() when done.
    std::uint8_t* ColorRow(int y);
    const std::uint8_t* ColorRow(int y) const;
    std::uint8_t* AlphaRow(int y);  // null unless HasAlphaChannel()
    const std::uint8_t* AlphaRow(int y) const;

    // Palette images: 256 entries (entries beyond the file's palette are black), and the
    // transparency table, 256 entries (255 beyond the file's tRNS or when it has none).
    const std::array<PngRgb, 256>& Palette() const { return palette_; }
    const std::array<std::uint8_t, 256>& PaletteAlpha() const { return paletteAlpha_; }
    bool HasTransparencyTable() const { return hasTransparencyTable_; }

    // The pixel at (x, y) resolved to RGBA; transparent black outside the picture.
    PngPixel Pixel(int x, int y) const;

    // Makes the picture carry alpha: grey and RGB pictures get a fully opaque alpha channel
    // (GrayscaleAlpha, RGBAlpha), a palette picture without transparency table gets one of 256
    // entries all 255; a picture that has alpha already is left alone. Fires the change when
    // something changed.
    void AddAlpha();

    // Fires the change handler (after writing through ColorRow/AlphaRow).
    void Changed();

    // Draws the picture into rect of dc with per-pixel alpha (source-over), scaled when rect's
    // size differs from the picture's. Nothing is drawn for an empty picture or rect.
    // Answers false when GDI failed.
    bool Draw(HDC dc, const RECT& rect) const;

    // A 24-bit top-down DIB section of the picture's size holding its colours blended over
    // background (an opaque picture gives its colours unchanged). Empty for an empty picture.
    ScopedBitmap ToBitmap(COLORREF background) const;

    // A 32-bit top-down DIB section with premultiplied blue, green, red, alpha, as AlphaBlend
    // and UpdateLayeredWindow take it. Empty for an empty picture.
    ScopedBitmap ToPremultipliedBitmap() const;

private:
    friend struct PngDecoder;

    static constexpr std::array<std::uint8_t, 256> OpaqueTable() {
        std::array<std::uint8_t, 256> table{};
        for (auto& entry : table) entry = 255;
        return table;
    }
    void TakePixels(TPNGObject&& other);
    void CopyPixels(const TPNGObject& other);

    int width_ = 0;
    int height_ = 0;
    PngColorType colorType_ = PngColorType::RGBAlpha;
    PngColorType fileColorType_ = PngColorType::RGBAlpha;
    int fileBitDepth_ = 8;
    bool interlaced_ = false;
    std::vector<std::uint8_t> color_;  // Height() rows of Width() * ColorBytesPerPixel() bytes
    std::vector<std::uint8_t> alpha_;  // Height() rows of Width() bytes, or empty
    std::array<PngRgb, 256> palette_{};
    std::array<std::uint8_t, 256> paletteAlpha_ = OpaqueTable();
    bool hasTransparencyTable_ = false;
    ChangeHandler onChange_;
};

// The scaled rectangle copy. Copies sourceRect of source onto targetRect of target, scaling by
// nearest source pixel: for each target row y of targetRect inside the target, the source row
// is sourceRect.top + round((y - targetRect.top) * sourceHeight / targetHeight), and likewise
// for columns; both products are rounded to the nearest integer, ties to even. Source rows and
// columns outside the source picture are skipped. The colour is copied (resolved through the
// palette for a palette source and expanded for a grey source when the target is RGB); when the
// target has an alpha channel its alpha becomes the source pixel's alpha (255 when the source
// has none). An RGB or RGBAlpha target takes any source; a grey target takes only a grey source
// and a palette target only a palette source (indices copied), other pairs copy nothing.
// Nothing happens when target is null, a rectangle is empty, or the source has no pixels.
// Fires the target's change when something was copied.
void StretchCopyRect(const TPNGObject& source, const RECT& sourceRect, TPNGObject* target,
                     const RECT& targetRect);

}  // namespace qv
