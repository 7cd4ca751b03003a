// A picture that holds either a PNG image (drawn with its per-pixel alpha) or a bitmap.
#pragma once

#include <windows.h>

#include <functional>

#include "png/PngObject.h"
#include "ui/Bitmap.h"

namespace qv {

class TPicture {
public:
    enum class Kind { None, Png, Bitmap };

    TPicture();
    TPicture(const TPicture&) = delete;
    TPicture& operator=(const TPicture&) = delete;

    Kind Contents() const { return kind_; }
    bool Empty() const { return Width() <= 0 || Height() <= 0; }
    int Width() const;
    int Height() const;

    void Clear();
    void AssignPng(const TPNGObject& png);
    // Copies the pixels of a GDI bitmap (the handle stays the caller's).
    void AssignBitmap(HBITMAP bitmap);
    void AssignBitmap(const TBitmap& bitmap);

    // Valid while Contents() says so; changes made through them are followed by Changed().
    TPNGObject& Png() { return png_; }
    const TPNGObject& Png() const { return png_; }
    TBitmap& Bitmap() { return bitmap_; }
    const TBitmap& Bitmap() const { return bitmap_; }

    // Draws the picture into r (scaled when sizes differ). A PNG is blended with its alpha; a
    // bitmap is copied, leaving out its transparent colour when transparent is set.
    void Draw(HDC dc, const RECT& r, bool transparent) const;

    void Changed();
    std::function<void()> OnChange;

private:
    Kind kind_ = Kind::None;
    TPNGObject png_;
    TBitmap bitmap_;
};

}  // namespace qv
