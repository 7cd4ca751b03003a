#include "ui/Bitmap.h"

#include <cstdlib>
#include <cstring>

namespace qv {

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int width, int height, TPixelFormat format) : format_(format) {
    SetSize(width, height);
}

TBitmap::~TBitmap() {
    FreeCanvas();
}

void TBitmap::FreeCanvas() {
    canvas_.reset();
    if (canvasDC_ && canvasOldBitmap_) SelectObject(canvasDC_.get(), canvasOldBitmap_);
    canvasOldBitmap_ = nullptr;
    canvasDC_.reset();
}

void TBitmap::SetPixelFormat(TPixelFormat format) {
    if (format == format_) return;
    format_ = format;
    const int w = width_, h = height_;
    width_ = height_ = 0;
    SetSize(w, h);
}

bool TBitmap::SetSize(int width, int height) {
    if (width == width_ && height == height_ && (bitmap_ || width <= 0 || height <= 0)) {
        return true;
    }
    FreeCanvas();
    bitmap_.reset();
    bits_ = nullptr;
    width_ = height_ = stride_ = 0;
    if (width <= 0 || height <= 0) return true;

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = format_ == pf32bit ? 32 : 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    ScopedBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits) return false;
    bitmap_ = std::move(bitmap);
    bits_ = static_cast<std::uint8_t*>(bits);
    width_ = width;
    height_ = height;
    stride_ = ((width * BytesPerPixel()) + 3) & ~3;
    return true;
}

std::uint8_t* TBitmap::ScanLine(int y) {
    if (!bits_ || y < 0 || y >= height_) return nullptr;
    return bits_ + static_cast<size_t>(y) * stride_;
}

const std::uint8_t* TBitmap::ScanLine(int y) const {
    return const_cast<TBitmap*>(this)->ScanLine(y);
}

TCanvas& TBitmap::Canvas() {
    if (!canvas_) {
        canvasDC_.reset(CreateCompatibleDC(nullptr));
        if (canvasDC_ && bitmap_) canvasOldBitmap_ = SelectObject(canvasDC_.get(), bitmap_.get());
        canvas_ = std::make_unique<TCanvas>(canvasDC_.get());
    }
    return *canvas_;
}

void TBitmap::Assign(const TBitmap& other) {
    if (this == &other) return;
    GdiFlush();
    format_ = other.format_;
    width_ = height_ = 0;
    bitmap_.reset();
    SetSize(other.width_, other.height_);
    if (bits_ && other.bits_) {
        std::memcpy(bits_, other.bits_, static_cast<size_t>(stride_) * height_);
    }
    transparent_ = other.transparent_;
    transparentColor_ = other.transparentColor_;
}

TColor TBitmap::TransparentColor() const {
    if (transparentColor_ != clDefault) return transparentColor_;
    const std::uint8_t* bottomLeft = ScanLine(height_ - 1);
    if (!bottomLeft) return clNone;
    GdiFlush();
    return RGBColor(bottomLeft[2], bottomLeft[1], bottomLeft[0]);
}

void TBitmap::Draw(HDC dc, const RECT& r, bool transparent) const {
    if (!bitmap_ || !dc) return;
    ScopedCreatedDC source(CreateCompatibleDC(dc));
    if (!source) return;
    ScopedSelectObject select(source.get(), bitmap_.get());
    const int w = r.right - r.left, h = r.bottom - r.top;
    GdiFlush();
    if (format_ == pf32bit) {
        const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        AlphaBlend(dc, r.left, r.top, w, h, source.get(), 0, 0, width_, height_, blend);
    } else if (transparent) {
        TransparentBlt(dc, r.left, r.top, w, h, source.get(), 0, 0, width_, height_,
                       ColorToRGB(TransparentColor()));
    } else if (w == width_ && h == height_) {
        BitBlt(dc, r.left, r.top, w, h, source.get(), 0, 0, SRCCOPY);
    } else {
        const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
        StretchBlt(dc, r.left, r.top, w, h, source.get(), 0, 0, width_, height_, SRCCOPY);
        SetStretchBltMode(dc, oldMode);
    }
}

bool TBitmap::AssignHandle(HBITMAP source) {
    BITMAP info{};
    if (!source || !GetObjectW(source, sizeof info, &info)) return false;
    format_ = pf24bit;
    width_ = height_ = 0;
    bitmap_.reset();
    if (!SetSize(info.bmWidth, std::abs(info.bmHeight))) return false;
    ScopedCreatedDC from(CreateCompatibleDC(nullptr));
    ScopedCreatedDC to(CreateCompatibleDC(nullptr));
    if (!from || !to) return false;
    ScopedSelectObject selectFrom(from.get(), source);
    ScopedSelectObject selectTo(to.get(), bitmap_.get());
    return BitBlt(to.get(), 0, 0, width_, height_, from.get(), 0, 0, SRCCOPY) != FALSE;
}

bool TBitmap::LoadFromResourceName(HINSTANCE instance, const std::wstring& name) {
    ScopedBitmap loaded(static_cast<HBITMAP>(
        LoadImageW(instance, name.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    return AssignHandle(loaded.get());
}

bool TBitmap::LoadFromFile(const std::wstring& path) {
    ScopedBitmap loaded(static_cast<HBITMAP>(LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0,
                                                        LR_CREATEDIBSECTION | LR_LOADFROMFILE)));
    return AssignHandle(loaded.get());
}

}  // namespace qv
