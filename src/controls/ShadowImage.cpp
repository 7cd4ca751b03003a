#include "controls/ShadowImage.h"

#include <algorithm>

namespace qv {

namespace {

AlphaTableType MakeAlphaTable() {
    AlphaTableType table{};
    for (int i = 0; i < 256; ++i) {
        for (int j = 0; j < 256; ++j) table[i][j] = static_cast<std::uint8_t>(i * j / 255);
    }
    return table;
}

Bgra ShadowPixel(COLORREF shadowRgb, std::uint8_t alpha) {
    const AlphaTableType& table = AlphaTable();
    return {table[GetBValue(shadowRgb)][alpha], table[GetGValue(shadowRgb)][alpha],
            table[GetRValue(shadowRgb)][alpha], alpha};
}

// The straight stretch of the template's edges is sampled at this column (top and bottom bands)
// and row (side bands); any point well away from the corners would do.
constexpr int kTemplateBandSource = 65;

bool InEdgeFrame(int x, int y, int width, int height) {
    // The top edge includes row 16 while the left edge stops at column 15: the template's white
    // square starts at (16, 16), and its first row counts as edge.
    return x < kShadowSize || x >= width - kShadowSize || y <= kShadowSize ||
           y >= height - kShadowSize;
}

// Copies source rectangle (sx, sy, w, h) of one view to (dx, dy) of another, clipped to both.
void CopyBlock(PixelView from, int sx, int sy, PixelView to, int dx, int dy, int w, int h) {
    for (int row = 0; row < h; ++row) {
        const int fy = sy + row, ty = dy + row;
        if (fy < 0 || fy >= from.height || ty < 0 || ty >= to.height) continue;
        for (int col = 0; col < w; ++col) {
            const int fx = sx + col, tx = dx + col;
            if (fx < 0 || fx >= from.width || tx < 0 || tx >= to.width) continue;
            to.at(tx, ty) = from.at(fx, fy);
        }
    }
}

// Repeats one source pixel over the destination columns [x0, x1] of row y.
void RepeatAcross(PixelView to, int y, int x0, int x1, Bgra pixel) {
    if (y < 0 || y >= to.height) return;
    for (int x = std::max(x0, 0); x <= std::min(x1, to.width - 1); ++x) to.at(x, y) = pixel;
}

}  // namespace

const AlphaTableType& AlphaTable() {
    static const AlphaTableType table = MakeAlphaTable();
    return table;
}

void FillPixels(PixelView view, const RECT& area, Bgra colour) {
    const int left = std::max<int>(area.left, 0), right = std::min<int>(area.right, view.width);
    const int top = std::max<int>(area.top, 0), bottom = std::min<int>(area.bottom, view.height);
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) view.at(x, y) = colour;
    }
}

void BlurPass(PixelView view, int radius) {
    if (view.empty()) return;
    const int maxX = view.width - 1, maxY = view.height - 1;
    for (int y = 0; y < view.height; ++y) {
        const int yu = std::clamp(y - radius, 0, maxY), yd = std::clamp(y + radius, 0, maxY);
        for (int x = 0; x < view.width; ++x) {
            const int xl = std::clamp(x - radius, 0, maxX), xr = std::clamp(x + radius, 0, maxX);
            const Bgra a = view.at(xl, yu), b = view.at(xr, yu), c = view.at(xl, yd),
                       d = view.at(xr, yd);
            Bgra& p = view.at(x, y);
            p.b = static_cast<std::uint8_t>((a.b + b.b + c.b + d.b) >> 2);
            p.g = static_cast<std::uint8_t>((a.g + b.g + c.g + d.g) >> 2);
            p.r = static_cast<std::uint8_t>((a.r + b.r + c.r + d.r) >> 2);
        }
    }
}

void BlurBitmap(PixelView view, int passes) {
    for (int radius = 1; radius <= passes; ++radius) BlurPass(view, radius);
}

void TintEdges(PixelView view, COLORREF shadowRgb) {
    for (int y = 0; y < view.height; ++y) {
        for (int x = 0; x < view.width; ++x) {
            if (!InEdgeFrame(x, y, view.width, view.height)) continue;
            Bgra& p = view.at(x, y);
            p = ShadowPixel(shadowRgb, p.b);
        }
    }
}

void TintOutside(PixelView view, COLORREF shadowRgb, const std::function<bool(int, int)>& inside) {
    for (int y = 0; y < view.height; ++y) {
        for (int x = 0; x < view.width; ++x) {
            Bgra& p = view.at(x, y);
            if (inside(x, y))
                p.a = 0;
            else
                p = ShadowPixel(shadowRgb, p.b);
        }
    }
}

PixelBuffer BuildShadowTemplate(COLORREF shadowRgb, int blurPasses) {
    PixelBuffer templ(kShadowTemplateSize, kShadowTemplateSize);
    const int inner = kShadowTemplateSize - kShadowSize;
    FillPixels(templ.view(), {kShadowSize, kShadowSize, inner, inner}, {255, 255, 255, 0});
    BlurBitmap(templ.view(), blurPasses);
    TintEdges(templ.view(), shadowRgb);
    return templ;
}

void CutRectShadow(PixelView templ, PixelView shadow) {
    const int W = shadow.width, H = shadow.height, T = templ.width;
    const int corner = 2 * kShadowSize;
    CopyBlock(templ, 0, 0, shadow, 0, 0, corner, corner);
    CopyBlock(templ, T - corner, 0, shadow, W - corner, 0, corner, corner);
    CopyBlock(templ, 0, T - corner, shadow, 0, H - corner, corner, corner);
    CopyBlock(templ, T - corner, T - corner, shadow, W - corner, H - corner, corner, corner);
    if (W >= 2 * corner) {
        for (int k = 0; k <= kShadowSize; ++k) {
            RepeatAcross(shadow, k, corner - 1, W - corner - 1, templ.at(kTemplateBandSource, k));
            RepeatAcross(shadow, H - kShadowSize - 1 + k, corner - 1, W - corner - 1,
                         templ.at(kTemplateBandSource, T - kShadowSize - 1 + k));
        }
    }
    if (H >= 2 * corner) {
        for (int y = corner - 2; y <= H - corner - 1; ++y)
            CopyBlock(templ, 0, kTemplateBandSource, shadow, 0, y, kShadowSize, 1);
        for (int y = corner - 1; y <= H - corner - 1; ++y)
            CopyBlock(templ, T - kShadowSize - 1, kTemplateBandSource, shadow, W - kShadowSize - 1,
                      y, kShadowSize + 1, 1);
    }
}

}  // namespace qv
