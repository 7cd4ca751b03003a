#include "ui/Canvas.h"

namespace qv {

void TPen::SetColor(TColor color) {
    if (color == color_) return;
    color_ = color;
    Changed();
}

void TPen::SetWidth(int width) {
    if (width == width_) return;
    width_ = width;
    Changed();
}

void TPen::SetStyle(TPenStyle style) {
    if (style == style_) return;
    style_ = style;
    Changed();
}

void TBrush::SetColor(TColor color) {
    if (color == clNone) {
        SetStyle(bsClear);
        return;
    }
    if (color == color_ && style_ == bsSolid) return;
    color_ = color;
    style_ = bsSolid;
    Changed();
}

void TBrush::SetStyle(TBrushStyle style) {
    if (style == style_) return;
    style_ = style;
    Changed();
}

TCanvas::TCanvas() {
    pen_.OnChange = [this] { penValid_ = false; };
    brush_.OnChange = [this] { brushValid_ = false; };
    font_.OnChange = [this] { fontValid_ = false; };
}

TCanvas::TCanvas(HDC dc) : TCanvas() {
    SetHandle(dc);
}

TCanvas::~TCanvas() {
    RestoreOriginals();
}

void TCanvas::SetHandle(HDC dc) {
    if (dc == dc_) return;
    RestoreOriginals();
    dc_ = dc;
}

void TCanvas::RestoreOriginals() {
    if (dc_) {
        if (originalPen_) SelectObject(dc_, originalPen_);
        if (originalBrush_) SelectObject(dc_, originalBrush_);
        if (originalFont_) SelectObject(dc_, originalFont_);
    }
    originalPen_ = originalBrush_ = originalFont_ = nullptr;
    penValid_ = brushValid_ = fontValid_ = false;
    // Only now, deselected, may the objects be deleted.
    penHandle_.reset();
    brushHandle_.reset();
    fontHandle_.reset();
}

namespace {

int PenStyleToGdi(TPenStyle style) {
    switch (style) {
        case psDash:
            return PS_DASH;
        case psDot:
            return PS_DOT;
        case psDashDot:
            return PS_DASHDOT;
        case psClear:
            return PS_NULL;
        case psInsideFrame:
            return PS_INSIDEFRAME;
        case psSolid:
            break;
    }
    return PS_SOLID;
}

// Selects object into dc, remembering the context's own object the first time.
void SelectRemembering(HDC dc, HGDIOBJ object, HGDIOBJ& original) {
    HGDIOBJ previous = SelectObject(dc, object);
    if (!original) original = previous;
}

}  // namespace

void TCanvas::RequirePen() {
    if (penValid_ || !dc_) return;
    ScopedPen pen(CreatePen(PenStyleToGdi(pen_.Style()), pen_.Width(), ColorToRGB(pen_.Color())));
    SelectRemembering(dc_, pen.get(), originalPen_);
    penHandle_ = std::move(pen);  // the previous pen is deselected now and can go
    penValid_ = true;
}

void TCanvas::RequireBrush() {
    if (brushValid_ || !dc_) return;
    if (brush_.Style() == bsClear) {
        SelectRemembering(dc_, GetStockObject(NULL_BRUSH), originalBrush_);
        brushHandle_.reset();
    } else {
        ScopedBrush brush(CreateSolidBrush(ColorToRGB(brush_.Color())));
        SelectRemembering(dc_, brush.get(), originalBrush_);
        brushHandle_ = std::move(brush);
    }
    brushValid_ = true;
}

void TCanvas::RequireFont() {
    if (fontValid_ || !dc_) return;
    // The canvas's own handle, so that it can delete it once deselected.
    const LOGFONTW lf = font_.LogFont();
    ScopedFont font(CreateFontIndirectW(&lf));
    if (font) SelectRemembering(dc_, font.get(), originalFont_);
    fontHandle_ = std::move(font);
    fontValid_ = true;
}

void TCanvas::PrepareText() {
    RequireFont();
    RequireBrush();
    SetTextColor(dc_, ColorToRGB(font_.Color()));
    if (brush_.Style() == bsClear) {
        SetBkMode(dc_, TRANSPARENT);
    } else {
        SetBkMode(dc_, OPAQUE);
        SetBkColor(dc_, ColorToRGB(brush_.Color()));
    }
}

void TCanvas::RequireAll() {
    if (!dc_) return;
    RequirePen();
    PrepareText();
}

void TCanvas::MoveTo(int x, int y) {
    if (dc_) MoveToEx(dc_, x, y, nullptr);
}

void TCanvas::LineTo(int x, int y) {
    if (!dc_) return;
    RequirePen();
    ::LineTo(dc_, x, y);
}

POINT TCanvas::PenPos() const {
    POINT p{};
    if (dc_) GetCurrentPositionEx(dc_, &p);
    return p;
}

void TCanvas::Rectangle(int left, int top, int right, int bottom) {
    if (!dc_) return;
    RequirePen();
    RequireBrush();
    ::Rectangle(dc_, left, top, right, bottom);
}

void TCanvas::FillRect(const RECT& r) {
    if (!dc_ || brush_.Style() == bsClear) return;
    RequireBrush();
    ::FillRect(dc_, &r, brushHandle_.get());
}

void TCanvas::FrameRect(const RECT& r) {
    if (!dc_ || brush_.Style() == bsClear) return;
    RequireBrush();
    ::FrameRect(dc_, &r, brushHandle_.get());
}

void TCanvas::Ellipse(int left, int top, int right, int bottom) {
    if (!dc_) return;
    RequirePen();
    RequireBrush();
    ::Ellipse(dc_, left, top, right, bottom);
}

void TCanvas::RoundRect(int left, int top, int right, int bottom, int cornerWidth,
                        int cornerHeight) {
    if (!dc_) return;
    RequirePen();
    RequireBrush();
    ::RoundRect(dc_, left, top, right, bottom, cornerWidth, cornerHeight);
}

void TCanvas::Polygon(const POINT* points, int count) {
    if (!dc_ || count <= 0) return;
    RequirePen();
    RequireBrush();
    ::Polygon(dc_, points, count);
}

void TCanvas::Polyline(const POINT* points, int count) {
    if (!dc_ || count <= 0) return;
    RequirePen();
    ::Polyline(dc_, points, count);
}

TColor TCanvas::Pixel(int x, int y) const {
    if (!dc_) return clNone;
    const COLORREF c = GetPixel(dc_, x, y);
    return c == CLR_INVALID ? clNone : static_cast<TColor>(c);
}

void TCanvas::SetPixel(int x, int y, TColor color) {
    if (dc_) ::SetPixelV(dc_, x, y, ColorToRGB(color));
}

void TCanvas::TextOut(int x, int y, const std::wstring& text) {
    if (!dc_) return;
    PrepareText();
    ExtTextOutW(dc_, x, y, 0, nullptr, text.c_str(), static_cast<UINT>(text.size()), nullptr);
    MoveToEx(dc_, x + TextExtent(text).cx, y, nullptr);
}

void TCanvas::TextRect(const RECT& r, int x, int y, const std::wstring& text) {
    if (!dc_) return;
    PrepareText();
    const UINT options = ETO_CLIPPED | (brush_.Style() == bsClear ? 0 : ETO_OPAQUE);
    ExtTextOutW(dc_, x, y, options, &r, text.c_str(), static_cast<UINT>(text.size()), nullptr);
}

SIZE TCanvas::TextExtent(const std::wstring& text) {
    SIZE size{};
    if (!dc_) return size;
    RequireFont();
    GetTextExtentPoint32W(dc_, text.c_str(), static_cast<int>(text.size()), &size);
    return size;
}

int TCanvas::DrawText(const std::wstring& text, RECT& r, UINT flags) {
    if (!dc_) return 0;
    PrepareText();
    return ::DrawTextW(dc_, text.c_str(), static_cast<int>(text.size()), &r, flags);
}

void TCanvas::CopyRect(const RECT& dest, TCanvas& source, const RECT& src) {
    if (!dc_ || !source.dc_) return;
    const int dw = dest.right - dest.left, dh = dest.bottom - dest.top;
    const int sw = src.right - src.left, sh = src.bottom - src.top;
    if (dw == sw && dh == sh) {
        BitBlt(dc_, dest.left, dest.top, dw, dh, source.dc_, src.left, src.top, SRCCOPY);
    } else {
        const int oldMode = SetStretchBltMode(dc_, COLORONCOLOR);
        StretchBlt(dc_, dest.left, dest.top, dw, dh, source.dc_, src.left, src.top, sw, sh,
                   SRCCOPY);
        SetStretchBltMode(dc_, oldMode);
    }
}

int TCanvas::SaveState() {
    return dc_ ? SaveDC(dc_) : 0;
}

void TCanvas::RestoreState(int token) {
    if (!dc_ || token == 0) return;
    RestoreDC(dc_, token);
    // RestoreDC may have put other objects back: select ours again before the next drawing.
    // The objects we created stay owned and alive until replaced.
    penValid_ = brushValid_ = fontValid_ = false;
}

RECT TCanvas::ClipRect() const {
    RECT r{};
    if (dc_) GetClipBox(dc_, &r);
    return r;
}

void TCanvas::IntersectClipRect(const RECT& r) {
    if (dc_) ::IntersectClipRect(dc_, r.left, r.top, r.right, r.bottom);
}

void TCanvas::SetViewportOrigin(int x, int y) {
    if (dc_) SetViewportOrgEx(dc_, x, y, nullptr);
}

POINT TCanvas::ViewportOrigin() const {
    POINT p{};
    if (dc_) GetViewportOrgEx(dc_, &p);
    return p;
}

}  // namespace qv
