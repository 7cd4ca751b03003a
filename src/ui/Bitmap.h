// A device-independent bitmap (24 or 32 bits per pixel, top-down rows) with direct pixel access
// and a canvas on a memory device context.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "common/ScopedHandles.h"
#include "ui/Canvas.h"

namespace qv {

enum class TPixelFormat { pf24bit, pf32bit };
using enum TPixelFormat;

class TBitmap {
public:
    TBitmap();
    TBitmap(int width, int height, TPixelFormat format = pf24bit);
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;
    ~TBitmap();

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return width_ <= 0 || height_ <= 0; }
    TPixelFormat PixelFormat() const { return format_; }
    // Re-creates the pixels (all zero) in the new format; keeps them when nothing changes.
    void SetPixelFormat(TPixelFormat format);
    // Re-creates the pixels (all zero) at the new size; keeps them when the size is the same.
    // Answers false when the system refuses the bitmap (the bitmap is then empty).
    bool SetSize(int width, int height);
    void SetWidth(int width) { SetSize(width, height_); }
    void SetHeight(int height) { SetSize(width_, height); }

    // Row y, top row first: 3 bytes (blue, green, red) or 4 bytes (blue, green, red, alpha) per
    // pixel. Null for a row outside the bitmap.
    std::uint8_t* ScanLine(int y);
    const std::uint8_t* ScanLine(int y) const;
    int BytesPerPixel() const { return format_ == pf32bit ? 4 : 3; }
    int Stride() const { return stride_; }

    HBITMAP Handle() const { return bitmap_.get(); }
    // Draws on the pixels; the canvas lives as long as the bitmap or until it is resized.
    TCanvas& Canvas();
    // Flushes GDI drawing so ScanLine sees it.
    void FlushCanvas() const { GdiFlush(); }

    // Copies another bitmap (size, format and pixels).
    void Assign(const TBitmap& other);

    // Transparent drawing: when on, Draw leaves pixels of TransparentColor out. The transparent
    // colour defaults to the bottom-left pixel, as the class library does.
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool on) { transparent_ = on; }
    TColor TransparentColor() const;
    void SetTransparentColor(TColor color) { transparentColor_ = color; }

    // Draws the bitmap into r of dc (scaled when sizes differ), honouring Transparent. A 32-bit
    // bitmap is taken as premultiplied alpha and blended.
    void Draw(HDC dc, const RECT& r) const { Draw(dc, r, transparent_); }
    // As Draw, with transparency given by the caller instead of Transparent().
    void Draw(HDC dc, const RECT& r, bool transparent) const;
    void Draw(HDC dc, int x, int y) const { Draw(dc, RECT{x, y, x + width_, y + height_}); }

    // Loads a 24-bit BMP from a resource of type RT_BITMAP or from a .bmp file; false when the
    // resource or file is missing or unreadable (the bitmap is then unchanged).
    bool LoadFromResourceName(HINSTANCE instance, const std::wstring& name);
    bool LoadFromFile(const std::wstring& path);
    // Copies the pixels of any GDI bitmap (the handle stays the caller's) into a 24-bit DIB.
    bool AssignHandle(HBITMAP source);

private:
    void FreeCanvas();

    int width_ = 0;
    int height_ = 0;
    int stride_ = 0;
    TPixelFormat format_ = pf24bit;
    std::uint8_t* bits_ = nullptr;
    ScopedBitmap bitmap_;
    ScopedCreatedDC canvasDC_;
    HGDIOBJ canvasOldBitmap_ = nullptr;
    std::unique_ptr<TCanvas> canvas_;
    bool transparent_ = false;
    TColor transparentColor_ = clDefault;
};

}  // namespace qv
