// Drawing on a borrowed device context with a pen, a brush and a font that are created and
// selected lazily. The canvas puts the context's original objects back before it lets go of it.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "common/ScopedHandles.h"
#include "ui/Color.h"
#include "ui/Font.h"

namespace qv {

enum class TPenStyle { psSolid, psDash, psDot, psDashDot, psClear, psInsideFrame };
using enum TPenStyle;
enum class TBrushStyle { bsSolid, bsClear };
using enum TBrushStyle;

class TPen {
public:
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    int Width() const { return width_; }
    void SetWidth(int width);
    TPenStyle Style() const { return style_; }
    void SetStyle(TPenStyle style);
    std::function<void()> OnChange;

private:
    void Changed() {
        if (OnChange) OnChange();
    }
    TColor color_ = clBlack;
    int width_ = 1;
    TPenStyle style_ = psSolid;
};

class TBrush {
public:
    TColor Color() const { return color_; }
    // clNone clears the brush, as in the class library.
    void SetColor(TColor color);
    TBrushStyle Style() const { return style_; }
    void SetStyle(TBrushStyle style);
    std::function<void()> OnChange;

private:
    void Changed() {
        if (OnChange) OnChange();
    }
    TColor color_ = clWhite;
    TBrushStyle style_ = bsSolid;
};

class TCanvas {
public:
    TCanvas();
    explicit TCanvas(HDC dc);
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;
    ~TCanvas();

    HDC Handle() const { return dc_; }
    // Restores the previous context's objects, then draws on dc (which may be null).
    void SetHandle(HDC dc);
    bool HandleAllocated() const { return dc_ != nullptr; }

    TPen& Pen() { return pen_; }
    TBrush& Brush() { return brush_; }
    TFont& Font() { return font_; }

    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    POINT PenPos() const;
    void Rectangle(int left, int top, int right, int bottom);
    void Rectangle(const RECT& r) { Rectangle(r.left, r.top, r.right, r.bottom); }
    void FillRect(const RECT& r);   // with the brush, no outline
    void FrameRect(const RECT& r);  // one-pixel frame in the brush colour
    void Ellipse(int left, int top, int right, int bottom);
    void RoundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight);
    void Polygon(const POINT* points, int count);
    void Polyline(const POINT* points, int count);
    TColor Pixel(int x, int y) const;
    void SetPixel(int x, int y, TColor color);

    void TextOut(int x, int y, const std::wstring& text);
    // Text clipped to r, drawn at (x, y).
    void TextRect(const RECT& r, int x, int y, const std::wstring& text);
    SIZE TextExtent(const std::wstring& text);
    int TextWidth(const std::wstring& text) { return TextExtent(text).cx; }
    int TextHeight(const std::wstring& text) { return TextExtent(text).cy; }
    // DrawTextW with the canvas font and colour; r is updated when flags hold DT_CALCRECT.
    int DrawText(const std::wstring& text, RECT& r, UINT flags);

    // Copies src of another canvas into dest (stretching when sizes differ).
    void CopyRect(const RECT& dest, TCanvas& source, const RECT& src);

    // State: SaveState returns a token for RestoreState (SaveDC / RestoreDC). After a restore
    // the lazily selected objects are selected again before the next drawing.
    int SaveState();
    void RestoreState(int token);
    RECT ClipRect() const;
    void IntersectClipRect(const RECT& r);
    void SetViewportOrigin(int x, int y);
    POINT ViewportOrigin() const;

    // Selects pen, brush and font and sets the text colour; called by every drawing method,
    // and by code that draws on Handle() directly with GDI.
    void RequireAll();

private:
    void RequirePen();
    void RequireBrush();
    void RequireFont();
    void PrepareText();
    void RestoreOriginals();

    HDC dc_ = nullptr;
    TPen pen_;
    TBrush brush_;
    TFont font_;
    ScopedPen penHandle_;
    ScopedBrush brushHandle_;
    ScopedFont fontHandle_;
    bool penValid_ = false;
    bool brushValid_ = false;
    bool fontValid_ = false;
    HGDIOBJ originalPen_ = nullptr;
    HGDIOBJ originalBrush_ = nullptr;
    HGDIOBJ originalFont_ = nullptr;
};

}  // namespace qv
