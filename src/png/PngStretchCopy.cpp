// The scaled rectangle copy between two pictures (nearest source pixel, rounding ties to even).
#include <cmath>

#include "png/PngObject.h"

namespace qv {
namespace {

bool IsEmptyRect(const RECT& r) {
    return r.right <= r.left || r.bottom <= r.top;
}

bool IsRgbType(PngColorType type) {
    return type == PngColorType::RGB || type == PngColorType::RGBAlpha;
}

bool IsGreyType(PngColorType type) {
    return type == PngColorType::Grayscale || type == PngColorType::GrayscaleAlpha;
}

bool CanCopy(PngColorType from, PngColorType to) {
    if (IsRgbType(to)) return true;
    if (IsGreyType(to)) return IsGreyType(from);
    return from == PngColorType::Palette && to == PngColorType::Palette;
}

// Offset of the source line for the target line step (rounded to nearest, ties to even).
long SourceOffset(long step, long sourceSpan, long targetSpan) {
    return std::lrint(static_cast<double>(step) * sourceSpan / targetSpan);
}

void CopyPixel(const TPNGObject& source, int sx, int sy, TPNGObject& target, int tx, int ty) {
    std::uint8_t* color = target.ColorRow(ty) + std::size_t(tx) * target.ColorBytesPerPixel();
    if (IsRgbType(target.ColorType())) {
        const PngPixel p = source.Pixel(sx, sy);
        color[0] = p.r;
        color[1] = p.g;
        color[2] = p.b;
    } else {
        color[0] = source.ColorRow(sy)[sx];
    }
    // Pixel() resolves a palette's transparency table and gives 255 without any alpha.
    if (std::uint8_t* alpha = target.AlphaRow(ty)) alpha[tx] = source.Pixel(sx, sy).a;
}

}  // namespace

void StretchCopyRect(const TPNGObject& source, const RECT& sourceRect, TPNGObject* target,
                     const RECT& targetRect) {
    if (!target || IsEmptyRect(sourceRect) || IsEmptyRect(targetRect) || source.Empty()) return;
    if (!CanCopy(source.ColorType(), target->ColorType())) return;
    const long sourceHeight = sourceRect.bottom - sourceRect.top;
    const long sourceWidth = sourceRect.right - sourceRect.left;
    const long targetHeight = targetRect.bottom - targetRect.top;
    const long targetWidth = targetRect.right - targetRect.left;
    bool copied = false;
    for (long y = targetRect.top; y < targetRect.bottom; ++y) {
        if (y < 0 || y >= target->Height()) continue;
        const long sy =
            sourceRect.top + SourceOffset(y - targetRect.top, sourceHeight, targetHeight);
        if (sy < 0 || sy >= source.Height()) continue;
        for (long x = targetRect.left; x < targetRect.right; ++x) {
            if (x < 0 || x >= target->Width()) continue;
            const long sx =
                sourceRect.left + SourceOffset(x - targetRect.left, sourceWidth, targetWidth);
            if (sx < 0 || sx >= source.Width()) continue;
            CopyPixel(source, static_cast<int>(sx), static_cast<int>(sy), *target,
                      static_cast<int>(x), static_cast<int>(y));
            copied = true;
        }
    }
    if (copied) target->Changed();
}

}  // namespace qv
