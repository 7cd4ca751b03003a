// Drawing of the modal speed button's face, its colour presets and skins, kept apart from the
// control so that every piece can be drawn into any device context and checked pixel by pixel.
#pragma once

#include <windows.h>

#include <array>
#include <string>

#include "ui/Bitmap.h"
#include "ui/Canvas.h"
#include "ui/Color.h"
#include "ui/Font.h"
#include "ui/Label.h"
#include "ui/Picture.h"

namespace qv {

enum class TModalSpeedButtonStyle { bsNormal, bsEncarta, bsModern };
enum class TModalSpeedButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
enum class TModalColorStyle {
    lcsCustom,
    lcsGold,
    lcsChrome,
    lcsBlue,
    lcsRed,
    lcsUltraFlat1,
    lcsUltraFlat2,
    lcsAqua
};
using enum TModalSpeedButtonLayout;
using enum TModalColorStyle;
using enum TModalSpeedButtonStyle;

// The colours and switches a preset writes into a button.
struct TColorStylePreset {
    TColor Color, LightColor, ShadowColor, ColorWhenDown, HotTrackColor;
    bool Flat;
    TModalSpeedButtonStyle Style;
};
// False for lcsCustom, which changes nothing.
bool GetColorStyleColors(TModalColorStyle style, TColorStylePreset& preset);

struct TButtonSkin {
    TColor Color, HotTrackColor, ColorWhenDown;
    bool HasBorder, BoldFocusBorder;
    TColor LightAndShadow, BorderFocusColor, FontColor;
};
inline constexpr int kButtonSkinCount = 18;
extern const std::array<TButtonSkin, kButtonSkinCount> ButtonSkins;
// The style a display of that colour depth can show: the rounded gradient look needs more than
// 256 colours.
TModalSpeedButtonStyle StyleForDisplay(TModalSpeedButtonStyle wanted, int bitsPerPixel);

// The skin a disabled button shows in place of skin: 6 for the dark skins, 16 for the light.
int DisabledSkinFor(int skin);

// A glyph drawn on the face: a bitmap strip (drawn as its Transparent setting says) or a
// picture (drawn with its transparency).
class TGlyphSource {
public:
    TGlyphSource() = default;
    explicit TGlyphSource(const TBitmap* bitmap) : bitmap_(bitmap) {}
    explicit TGlyphSource(const TPicture* picture) : picture_(picture) {}
    bool Empty() const { return Width() <= 0 || Height() <= 0; }
    int Width() const;
    int Height() const;
    void Draw(HDC dc, int x, int y) const;

private:
    const TBitmap* bitmap_ = nullptr;
    const TPicture* picture_ = nullptr;
};

// Fills [left, right) x [top, bottom) with 32 bands going from one colour to the other.
void FillGradientBands(TCanvas& canvas, TColor from, TColor to, int left, int right, int top,
                       int bottom);

// One band of FillGradientBands: the rectangle and its colour.
struct TGradientBand {
    RECT Rect;
    COLORREF Color;
};
std::array<TGradientBand, 32> GradientBands(COLORREF from, COLORREF to, int left, int right,
                                            int top, int bottom);

// Where the caption and the glyph go on a face of width x height.
struct TFaceLayout {
    POINT Text;
    POINT Glyph;
};
TFaceLayout LayoutFace(int width, int height, int textWidth, int textHeight, int cellWidth,
                       int glyphHeight, TModalSpeedButtonLayout layout, TAlignment alignment,
                       int pressOffset);

// Horizontal offset of the glyph cell to show: the strip holds normal, disabled, pressed, hot.
int GlyphCellOffset(int numGlyphs, int cellWidth, bool enabled, bool hot, bool pressed);

// Everything DrawButtonFace needs to know about the button.
struct TButtonFace {
    int Width = 0, Height = 0;
    int NumGlyphs = 0;
    TGlyphSource Glyph;
    TGlyphSource Arrow;
    bool Down = false, Hot = false, Transparent = false, HasBorder = true, BoldFocusBorder = false,
         Enabled = true, Focused = false, Flat = false, HasPopupMenu = false;
    TModalSpeedButtonStyle Style = bsModern;
    TColor Color = 0xFCDBC9, ColorWhenDown = 0xFAC0A2, HotTrackColor = 0xFAC0A2,
           LightColor = 0xFFFFFF, ShadowColor = 0xBC8263, BorderFocusColor = 0xEEC477,
           DisableFontColor = 0x878787;
    const TFont* Font = nullptr;
    TModalSpeedButtonLayout Layout = blGlyphLeft;
    std::wstring Caption;
    TAlignment Alignment = taCenter;
};

// The face colour for the state: hot colour over Color, pressed colour over both.
COLORREF FaceColor(const TButtonFace& face);

void DrawButtonFace(TCanvas& canvas, const TButtonFace& face);

}  // namespace qv
