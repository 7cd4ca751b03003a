#include "dialogs/ModalButtons.h"

#include <algorithm>

namespace qv {

const std::array<TButtonSkin, kButtonSkinCount> ButtonSkins = {{
    {0xCA8B41, 0xE19A4A, 0xAD7639, false, false, 0x000000, 0xEEC477, 0xFFFFFF},
    {0xE0B36F, 0xE2B571, 0xBA955D, false, false, 0x000000, 0xEEC477, 0xFFFFFF},
    {0x80B887, 0x87C591, 0x699871, false, false, 0x000000, 0xEEC477, 0xFFFFFF},
    {0x475BD2, 0x5166EA, 0x3C4EB3, false, false, 0x000000, 0xEEC477, 0xFFFFFF},
    {0x51B7FF, 0x2DA8FE, 0x0999FF, false, false, 0x000000, 0xEEC477, 0xFFFFFF},
    {0x87E1FF, 0x50D3FE, 0x19C6FE, false, false, 0x000000, 0xEEC477, 0x2B6890},
    {0xCCCCCC, 0xC1C1C1, 0xAAAAAA, false, false, 0x000000, 0xEEC477, 0xFFFFFF},
    {0xD9D3C8, 0xCEC9C0, 0xC3BEB5, false, false, 0x000000, 0xEEC477, 0xFFFFFF},
    {0xC2B9AB, 0xB7B0A1, 0xABA396, false, false, 0x000000, 0xEEC477, 0x838383},
    {0xFFFFFF, 0xF9F3EC, 0xF5E8D8, true, false, 0xCB8D41, 0xCB8D41, 0xCB8D41},
    {0xFFFFFF, 0xFDF7F0, 0xF9F0E2, true, false, 0xDEB46F, 0xDEB46F, 0xDEB46F},
    {0xFFFFFF, 0xF2F8F3, 0xE6F1E7, true, false, 0x81B988, 0x81B988, 0x81B988},
    {0xFFFFFF, 0xECEEF9, 0xDADEF6, true, false, 0x435DCF, 0x435DCF, 0x435DCF},
    {0xFFFFFF, 0xEDF9FF, 0xDCF1FF, true, false, 0x53B7FF, 0x53B7FF, 0x53B7FF},
    {0xFFFFFF, 0xF3FCFF, 0xE7FAFF, true, false, 0x8AE0FE, 0x8AE0FE, 0x447AA9},
    {0xFFFFFF, 0xF5F5F5, 0xECECEC, true, false, 0xF5F5F5, 0xF5F5F5, 0x363636},
    {0xF8F8F8, 0xEDEDED, 0xD8D8D8, true, false, 0xDBDBDB, 0xDBDBDB, 0x000000},
    {0xF8F8F8, 0xFAF8F7, 0xF4F1ED, true, false, 0xC7BCA8, 0xC7BCA8, 0x888888},
}};

namespace {

// The first skins are dark faces with white text; from 9 on the faces are white.
constexpr int kFirstLightSkin = 9;
constexpr int kDisabledDarkSkin = 6;
constexpr int kDisabledLightSkin = 16;
constexpr int kGradientSteps = 31;
constexpr int kTextMargin = 4;
constexpr int kArrowMargin = 5;

}  // namespace

TModalSpeedButtonStyle StyleForDisplay(TModalSpeedButtonStyle wanted, int bitsPerPixel) {
    return bitsPerPixel > 8 ? wanted : bsNormal;
}

int DisabledSkinFor(int skin) {
    return skin < kFirstLightSkin ? kDisabledDarkSkin : kDisabledLightSkin;
}

bool GetColorStyleColors(TModalColorStyle style, TColorStylePreset& preset) {
    switch (style) {
        case lcsGold:
            preset = {0x00C0C0, 0x00FFFF, 0x008080, clNone, 0x00DFDF, false, bsModern};
            return true;
        case lcsChrome:
            preset = {0xC0C0C0, 0xFFFFFF, 0x808080, clNone, clNone, false, bsModern};
            return true;
        case lcsBlue:
            preset = {0xFF8000, 0xFFFF00, 0xFF0000, clNone, clNone, false, bsModern};
            return true;
        case lcsRed:
            preset = {0x0000FF, 0xC0C0FF, 0x0000C0, clNone, clNone, false, bsModern};
            return true;
        case lcsUltraFlat1:
            preset = {clBtnFace, 0xB59284, 0xB59284, 0xB59284, 0xDED3D6, true, bsNormal};
            return true;
        case lcsUltraFlat2:
            preset = {clBtnFace, 0x000000, 0x000000, 0x24DABC, 0x8CF6E4, true, bsNormal};
            return true;
        case lcsAqua:
            preset = {0xECCE94, 0xFCE6D4, 0x000000, clNone, clNone, false, bsModern};
            return true;
        case lcsCustom:
            break;
    }
    return false;
}

// --- glyphs -------------------------------------------------------------------------------------

int TGlyphSource::Width() const {
    if (picture_) return picture_->Width();
    return bitmap_ ? bitmap_->Width() : 0;
}

int TGlyphSource::Height() const {
    if (picture_) return picture_->Height();
    return bitmap_ ? bitmap_->Height() : 0;
}

void TGlyphSource::Draw(HDC dc, int x, int y) const {
    const RECT r{x, y, x + Width(), y + Height()};
    if (picture_)
        picture_->Draw(dc, r, true);
    else if (bitmap_)
        bitmap_->Draw(dc, r);
}

// --- gradient -----------------------------------------------------------------------------------

std::array<TGradientBand, 32> GradientBands(COLORREF from, COLORREF to, int left, int right,
                                            int top, int bottom) {
    std::array<TGradientBand, 32> bands{};
    const int span = bottom - top;
    const int step = span / kGradientSteps + 1;
    double r = GetRValue(from), g = GetGValue(from), b = GetBValue(from);
    const double dr = (GetRValue(to) - r) / kGradientSteps,
                 dg = (GetGValue(to) - g) / kGradientSteps,
                 db = (GetBValue(to) - b) / kGradientSteps;
    for (int i = 0; i <= kGradientSteps; ++i) {
        const int bandTop = top + i * span / kGradientSteps;
        bands[i].Rect = {left, bandTop, right, std::min(bandTop + step, bottom)};
        bands[i].Color = RGB(static_cast<int>(r), static_cast<int>(g), static_cast<int>(b));
        r += dr;
        g += dg;
        b += db;
    }
    return bands;
}

void FillGradientBands(TCanvas& canvas, TColor from, TColor to, int left, int right, int top,
                       int bottom) {
    HDC dc = canvas.Handle();
    if (!dc) return;
    for (const TGradientBand& band :
         GradientBands(ColorToRGB(from), ColorToRGB(to), left, right, top, bottom)) {
        if (band.Rect.bottom <= band.Rect.top || band.Rect.right <= band.Rect.left) continue;
        ScopedBrush brush(CreateSolidBrush(band.Color));
        ::FillRect(dc, &band.Rect, brush.get());
    }
}

// --- layout -------------------------------------------------------------------------------------

TFaceLayout LayoutFace(int W, int H, int tw, int th, int cw, int gh, TModalSpeedButtonLayout layout,
                       TAlignment alignment, int p) {
    TFaceLayout at{};
    if (layout == blGlyphLeft || layout == blGlyphRight) {
        at.Text.y = (H - th) / 2 + p;
        at.Glyph.y = (H - gh) / 2 + p;
    } else {
        const int s = (H - th - gh) / 2;
        if (layout == blGlyphTop) {
            at.Glyph.y = s + p;
            at.Text.y = s + gh + p;
        } else {
            at.Text.y = s + p;
            at.Glyph.y = s + th + p;
        }
    }
    const int h = (W - tw - cw) / 2;
    const int m = kTextMargin;
    switch (layout) {
        case blGlyphLeft:
            if (alignment == taLeftJustify)
                at.Text.x = m + cw, at.Glyph.x = m;
            else if (alignment == taRightJustify)
                at.Text.x = W - m - tw, at.Glyph.x = W - m - tw - cw;
            else
                at.Text.x = h + cw, at.Glyph.x = h;
            break;
        case blGlyphRight:
            if (alignment == taLeftJustify)
                at.Text.x = m, at.Glyph.x = m + tw;
            else if (alignment == taRightJustify)
                at.Text.x = W - m - tw - cw, at.Glyph.x = W - m - cw;
            else
                at.Text.x = h, at.Glyph.x = h + tw;
            break;
        case blGlyphTop:
        case blGlyphBottom:
            if (alignment == taLeftJustify)
                at.Text.x = m, at.Glyph.x = m;
            else if (alignment == taRightJustify)
                at.Text.x = W - m - tw, at.Glyph.x = W - m - cw;
            else
                at.Text.x = (W - tw) / 2, at.Glyph.x = (W - cw) / 2;
            break;
    }
    at.Text.x += p;
    at.Glyph.x += p;
    return at;
}

int GlyphCellOffset(int numGlyphs, int cw, bool enabled, bool hot, bool pressed) {
    if (!enabled && numGlyphs > 1) return cw;
    int offset = 0;
    if (hot && numGlyphs > 3) offset = 3 * cw;
    if (pressed && numGlyphs > 2) offset = 2 * cw;
    return offset;
}

// --- the face -----------------------------------------------------------------------------------

namespace {

bool IsPressed(const TButtonFace& face) {
    return face.Down && face.Enabled;
}

int PressOffset(const TButtonFace& face) {
    return IsPressed(face) && face.Style != bsEncarta ? 1 : 0;
}

void Line(HDC dc, COLORREF colour, int width, const POINT* points, int count) {
    ScopedPen pen(CreatePen(PS_SOLID, width, colour));
    ScopedSelectObject selected(dc, pen.get());
    Polyline(dc, points, count);
}

void DrawModernEdges(HDC dc, const TButtonFace& face, COLORREF f) {
    const COLORREF inner = IsPressed(face) ? ColorToRGB(face.ShadowColor) : f;
    ScopedSelectObject hollow(dc, GetStockObject(HOLLOW_BRUSH));
    {
        ScopedPen pen(CreatePen(PS_SOLID, 1, inner));
        ScopedSelectObject selected(dc, pen.get());
        Rectangle(dc, 1, 1, face.Width - 1, face.Height - 1);
    }
    ScopedPen pen(CreatePen(PS_SOLID, 1, ColorToRGB(face.ShadowColor)));
    ScopedSelectObject selected(dc, pen.get());
    RoundRect(dc, 0, 0, face.Width, face.Height, 6, 6);
}

void DrawFlatEdges(HDC dc, const TButtonFace& face, COLORREF f) {
    if (face.Flat && !face.Hot && !IsPressed(face)) return;
    const int w = face.Focused && face.BoldFocusBorder ? 2 : 1;
    COLORREF a = f, z = f;
    if (face.Focused) {
        a = z = ColorToRGB(face.BorderFocusColor);
    } else if (face.HasBorder) {
        a = ColorToRGB(IsPressed(face) ? face.ShadowColor : face.LightColor);
        z = ColorToRGB(IsPressed(face) ? face.LightColor : face.ShadowColor);
    }
    const int W = face.Width, H = face.Height;
    const POINT first[] = {{w - 1, H - 1}, {w - 1, 0}, {W - 1, w - 1}};
    const POINT second[] = {{W - 1, w - 1}, {W - 1, H - 1}, {0, H - 1}};
    Line(dc, a, w, first, 3);
    Line(dc, z, w, second, 3);
}

void DrawFaceFill(TCanvas& canvas, const TButtonFace& face, COLORREF f, int p) {
    if (face.Transparent) return;
    const int W = face.Width, H = face.Height;
    if (face.Style == bsModern) {
        FillGradientBands(canvas, face.LightColor, static_cast<TColor>(f), 2, W - 2, 2, H / 4 + p);
        FillGradientBands(canvas, static_cast<TColor>(f), face.LightColor, 2, W - 2, H / 4 + p,
                          H - 1);
        return;
    }
    const RECT all{-1, -1, W + 1, H + 1};
    ScopedBrush brush(CreateSolidBrush(f));
    ::FillRect(canvas.Handle(), &all, brush.get());
}

std::wstring FaceText(const TButtonFace& face) {
    if (face.Glyph.Empty()) return face.Caption;
    std::wstring text = face.Layout == blGlyphLeft ? L" " + face.Caption : face.Caption + L" ";
    return text == L" " ? std::wstring() : text;
}

void DrawGlyphCell(HDC dc, const TGlyphSource& glyph, int x, int y, int offset, int cw, int gh) {
    if (cw <= 0) return;
    ScopedSaveDC saved(dc);
    IntersectClipRect(dc, x, y, x + cw, y + gh);
    POINT origin{};
    GetViewportOrgEx(dc, &origin);
    SetViewportOrgEx(dc, origin.x - offset, origin.y, nullptr);
    glyph.Draw(dc, x, y);
}

}  // namespace

COLORREF FaceColor(const TButtonFace& face) {
    TColor f = face.Color;
    if (face.Hot && face.HotTrackColor != clNone) f = face.HotTrackColor;
    if (IsPressed(face) && face.ColorWhenDown != clNone) f = face.ColorWhenDown;
    return ColorToRGB(f);
}

void DrawButtonFace(TCanvas& canvas, const TButtonFace& face) {
    HDC dc = canvas.Handle();
    if (!dc) return;
    const int W = face.Width, H = face.Height, p = PressOffset(face);
    const COLORREF f = FaceColor(face);
    DrawFaceFill(canvas, face, f, p);
    if (face.Style == bsModern)
        DrawModernEdges(dc, face, f);
    else
        DrawFlatEdges(dc, face, f);

    if (face.Font) canvas.Font().Assign(*face.Font);
    if (IsPressed(face) && face.Style == bsEncarta)
        canvas.Font().SetStyle(canvas.Font().Style() | fsBold);
    const std::wstring text = FaceText(face);
    const SIZE extent = canvas.TextExtent(text);
    const int gh = face.Glyph.Height();
    const int cw = face.NumGlyphs > 0 ? face.Glyph.Width() / face.NumGlyphs : 0;
    const int offset = GlyphCellOffset(face.NumGlyphs, cw, face.Enabled, face.Hot, IsPressed(face));
    const TFaceLayout at =
        LayoutFace(W, H, extent.cx, extent.cy, cw, gh, face.Layout, face.Alignment, p);

    if (!face.Enabled) canvas.Font().SetColor(face.DisableFontColor);
    canvas.Brush().SetStyle(bsClear);
    RECT textRect{at.Text.x, at.Text.y, at.Text.x + extent.cx, at.Text.y + extent.cy};
    canvas.DrawText(text, textRect, DT_CENTER | DT_VCENTER);
    canvas.Brush().SetStyle(bsSolid);

    DrawGlyphCell(dc, face.Glyph, at.Glyph.x, at.Glyph.y, offset, cw, gh);
    if (face.HasPopupMenu && !face.Arrow.Empty())
        face.Arrow.Draw(dc, W - face.Arrow.Width() - kArrowMargin, (H - face.Arrow.Height()) / 2);
}

}  // namespace qv
