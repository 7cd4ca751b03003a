// Drawing a TPNGObject onto device contexts and turning it into GDI bitmaps.
#include <algorithm>
#include <new>
#include <vector>

#include "png/PngObject.h"

namespace qv {
namespace {

std::uint8_t Premultiply(std::uint8_t colour, std::uint8_t alpha) {
    return static_cast<std::uint8_t>((colour * alpha + 127) / 255);
}

std::uint8_t BlendOver(std::uint8_t colour, std::uint8_t alpha, std::uint8_t background) {
    return static_cast<std::uint8_t>((colour * alpha + background * (255 - alpha) + 127) / 255);
}

// The usual artwork rows (RGB, RGBA) straight from the row buffers; alpha may be null.
void PremultiplyRgbRow(const std::uint8_t* color, const std::uint8_t* alpha, int width,
                       std::uint8_t* out) {
    for (int x = 0; x < width; ++x, color += 3, out += 4) {
        const std::uint8_t a = alpha ? alpha[x] : 255;
        out[0] = Premultiply(color[2], a);
        out[1] = Premultiply(color[1], a);
        out[2] = Premultiply(color[0], a);
        out[3] = a;
    }
}

void PremultiplyResolvedRow(const TPNGObject& picture, int y, std::uint8_t* out) {
    for (int x = 0; x < picture.Width(); ++x, out += 4) {
        const PngPixel p = picture.Pixel(x, y);
        out[0] = Premultiply(p.b, p.a);
        out[1] = Premultiply(p.g, p.a);
        out[2] = Premultiply(p.r, p.a);
        out[3] = p.a;
    }
}

// The picture's pixels as premultiplied blue, green, red, alpha, top row first.
void FillPremultiplied(const TPNGObject& picture, std::uint8_t* out) {
    const PngColorType type = picture.ColorType();
    for (int y = 0; y < picture.Height(); ++y, out += std::size_t(picture.Width()) * 4) {
        if (type == PngColorType::RGBAlpha || type == PngColorType::RGB)
            PremultiplyRgbRow(picture.ColorRow(y), picture.AlphaRow(y), picture.Width(), out);
        else
            PremultiplyResolvedRow(picture, y, out);
    }
}

bool EveryPixelOpaque(const TPNGObject& picture) {
    switch (picture.ColorType()) {
        case PngColorType::Grayscale:
        case PngColorType::RGB:
            return true;
        case PngColorType::Palette: {
            const auto& table = picture.PaletteAlpha();
            return !picture.HasTransparencyTable() ||
                   std::all_of(table.begin(), table.end(), [](std::uint8_t a) { return a == 255; });
        }
        case PngColorType::GrayscaleAlpha:
        case PngColorType::RGBAlpha:
            for (int y = 0; y < picture.Height(); ++y) {
                const std::uint8_t* alpha = picture.AlphaRow(y);
                if (!std::all_of(alpha, alpha + picture.Width(),
                                 [](std::uint8_t a) { return a == 255; }))
                    return false;
            }
            return true;
    }
    return false;
}

BITMAPINFO TopDownInfo(int width, int height, WORD bitCount) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = bitCount;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// An opaque picture needs no blending: a plain (stretched) copy gives the same pixels and
// costs a fraction of AlphaBlend.
bool DrawOpaque(const TPNGObject& picture, HDC dc, const RECT& rect) {
    std::vector<std::uint8_t> pixels;
    try {
        pixels.resize(std::size_t(picture.Width()) * picture.Height() * 4);
    } catch (const std::bad_alloc&) {
        return false;
    }
    FillPremultiplied(picture, pixels.data());
    const BITMAPINFO info = TopDownInfo(picture.Width(), picture.Height(), 32);
    ScopedSaveDC saved(dc);
    SetStretchBltMode(dc, COLORONCOLOR);
    const int lines = StretchDIBits(dc, rect.left, rect.top, rect.right - rect.left,
                                    rect.bottom - rect.top, 0, 0, picture.Width(), picture.Height(),
                                    pixels.data(), &info, DIB_RGB_COLORS, SRCCOPY);
    return lines > 0;  // 0 or GDI_ERROR (-1) on failure
}

// Rows of a 24-bit DIB are padded to whole 32-bit words.
std::size_t Dib24Stride(int width) {
    return (std::size_t(width) * 3 + 3) & ~std::size_t{3};
}

// A top-down DIB section of the given size and bit count; bits receives its pixels.
ScopedBitmap CreateTopDownDib(int width, int height, WORD bitCount, void** bits) {
    const BITMAPINFO info = TopDownInfo(width, height, bitCount);
    return ScopedBitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0));
}

}  // namespace

ScopedBitmap TPNGObject::ToPremultipliedBitmap() const {
    if (Empty()) return {};
    void* bits = nullptr;
    ScopedBitmap bitmap = CreateTopDownDib(width_, height_, 32, &bits);
    if (!bitmap) return {};
    FillPremultiplied(*this, static_cast<std::uint8_t*>(bits));
    GdiFlush();
    return bitmap;
}

ScopedBitmap TPNGObject::ToBitmap(COLORREF background) const {
    if (Empty()) return {};
    void* bits = nullptr;
    ScopedBitmap bitmap = CreateTopDownDib(width_, height_, 24, &bits);
    if (!bitmap) return {};
    const std::uint8_t bgRed = GetRValue(background), bgGreen = GetGValue(background),
                       bgBlue = GetBValue(background);
    for (int y = 0; y < height_; ++y) {
        auto* out = static_cast<std::uint8_t*>(bits) + std::size_t(y) * Dib24Stride(width_);
        for (int x = 0; x < width_; ++x, out += 3) {
            const PngPixel p = Pixel(x, y);
            out[0] = BlendOver(p.b, p.a, bgBlue);
            out[1] = BlendOver(p.g, p.a, bgGreen);
            out[2] = BlendOver(p.r, p.a, bgRed);
        }
    }
    GdiFlush();
    return bitmap;
}

bool TPNGObject::Draw(HDC dc, const RECT& rect) const {
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (Empty() || width <= 0 || height <= 0) return true;
    if (EveryPixelOpaque(*this)) return DrawOpaque(*this, dc, rect);
    ScopedBitmap bitmap = ToPremultipliedBitmap();
    ScopedCreatedDC memory(CreateCompatibleDC(dc));
    if (!bitmap || !memory) return false;
    ScopedSelectObject select(memory.get(), bitmap.get());
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    return AlphaBlend(dc, rect.left, rect.top, width, height, memory.get(), 0, 0, width_, height_,
                      blend) != FALSE;
}

}  // namespace qv
