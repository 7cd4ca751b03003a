// Pixel work behind the form shadow: premultiplication table, the blurred template, edge tinting
// and the cutting of a rectangular shadow from the template. Everything works on plain 32-bit
// pixel buffers (blue, green, red, alpha per pixel, rows from the top), so it runs the same on a
// DIB section and on a test's vector.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace qv {

struct Bgra {
    std::uint8_t b = 0, g = 0, r = 0, a = 0;
    friend bool operator==(const Bgra&, const Bgra&) = default;
};

// A borrowed view of width x height pixels laid out row after row without padding.
struct PixelView {
    Bgra* pixels = nullptr;
    int width = 0;
    int height = 0;

    Bgra& at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    bool empty() const { return pixels == nullptr || width <= 0 || height <= 0; }
};

// An owned pixel buffer, for the template and for tests.
class PixelBuffer {
public:
    PixelBuffer() = default;
    PixelBuffer(int width, int height)
        : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height) {}
    PixelView view() { return {pixels_.data(), width_, height_}; }
    int width() const { return width_; }
    int height() const { return height_; }

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<Bgra> pixels_;
};

// AlphaTable()[i][j] = (i * j) div 255: premultiplies a colour byte by an alpha without dividing.
using AlphaTableType = std::array<std::array<std::uint8_t, 256>, 256>;
const AlphaTableType& AlphaTable();

inline constexpr int kShadowSize = 16;  // shadow frame width on every side of the form
inline constexpr int kShadowTemplateSize = 135;
inline constexpr int kDefaultBlurPasses = 2;

// Fills [left, right) x [top, bottom), clipped to the view.
void FillPixels(PixelView view, const RECT& area, Bgra colour);

// One in-place pass: every colour byte becomes the mean of the four pixels r away diagonally
// (clamped to the image), reading rows above that this pass has already changed. The top-down
// order makes the soft edge long below and short above; alpha is not touched.
void BlurPass(PixelView view, int radius);
// Passes with radius 1, 2, ..., passes; nothing when passes <= 0.
void BlurBitmap(PixelView view, int passes);

// Turns the blurred grey of the template's outer frame into the premultiplied shadow colour:
// alpha takes the blue byte, the colour bytes become shadowRgb scaled by that alpha.
void TintEdges(PixelView view, COLORREF shadowRgb);

// Same tinting for every pixel outside a shape; pixels inside become fully transparent.
void TintOutside(PixelView view, COLORREF shadowRgb, const std::function<bool(int, int)>& inside);

// The 135 x 135 template: white square (16, 16)-(119, 119) on black, blurred, edges tinted.
PixelBuffer BuildShadowTemplate(COLORREF shadowRgb, int blurPasses);

// Copies the four 32 x 32 corners and the repeated middle column/row of the template into a
// shadow image. The bands need a shadow at least 64 pixels wide (top, bottom) or high (sides).
void CutRectShadow(PixelView templ, PixelView shadow);

}  // namespace qv
