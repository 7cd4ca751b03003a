#include "controls/XPDorvexEditEx.h"

#include "common/ScopedHandles.h"
#include "ui/Bitmap.h"

namespace qv {

TXPDorvexEditEx::TXPDorvexEditEx(TComponent* owner) : TQelCustomEdit(owner) {
    SetControlStyle((ControlStyle() | csCaptureMouse | csReplicatable) & ~csSetCaption & ~csOpaque);
    SetDoubleBuffered(true);
    SetBorderStyle(bsNone);
    SetCtl3D(false);
    normalColor_ = Color();
}

// --- colours and lines -----------------------------------------------------------------------

void TXPDorvexEditEx::SetBorderColor(TColor value) {
    borderColor_ = value;
    Redraw();
}

void TXPDorvexEditEx::SetDisableColor(TColor value) {
    disableColor_ = value;
    Redraw();
}

void TXPDorvexEditEx::SetUnfocusedColor(TColor value) {
    unfocusedColor_ = value;
    Redraw();
}

void TXPDorvexEditEx::SetFocusBorderColor(TColor value) {
    focusBorderColor_ = value;
    if (Focused()) Redraw();
}

void TXPDorvexEditEx::SetDisableBackGroundColor(TColor value) {
    disableBackGroundColor_ = value;
    if (!Enabled()) SetColor(value);
}

void TXPDorvexEditEx::SetSideLines(TSideLines value) {
    sideLines_ = value;
    Redraw();
}

void TXPDorvexEditEx::SetSideWidth(int value) {
    if (value == sideWidth_) return;
    sideWidth_ = value;
    Redraw();
}

void TXPDorvexEditEx::SetSideLightStep(int value) {
    if (value == sideLightStep_) return;
    sideLightStep_ = value;
    Redraw();
}

void TXPDorvexEditEx::SetSideBlendStep(int value) {
    if (value == sideBlendStep_) return;
    sideBlendStep_ = value;
    Redraw();
}

void TXPDorvexEditEx::SetSideBlendColor(TColor value) {
    if (value == sideBlendColor_) return;
    sideBlendColor_ = value;
    Redraw();
}

void TXPDorvexEditEx::SetSideFocus(bool on) {
    if (on == sideFocus_) return;
    sideFocus_ = on;
    Redraw();
}

// The window's creation sets the new text rectangle.
void TXPDorvexEditEx::SetTextLeftSpace(int value) {
    if (value == textLeftSpace_) return;
    textLeftSpace_ = value;
    RecreateWnd();
}

void TXPDorvexEditEx::SetTextRightSpace(int value) {
    if (value == textRightSpace_) return;
    textRightSpace_ = value;
    RecreateWnd();
}

void TXPDorvexEditEx::SetTextTopOffset(int value) {
    if (value == textTopOffset_) return;
    textTopOffset_ = value;
    RecreateWnd();
}

// --- input styles ----------------------------------------------------------------------------

void TXPDorvexEditEx::SetInputStyle(TInputStyle value) {
    if (value == inputStyle_) return;
    inputStyle_ = value;
    if (IsNumericStyle(value)) {
        SetText(FormatStyledValue(value, value_, decimalLength_));
    } else {
        SetText(L"");
    }
}

void TXPDorvexEditEx::SetDecimalLength(int value) {
    if (value == decimalLength_) return;
    decimalLength_ = value;
    SetValue(value_);
}

void TXPDorvexEditEx::SetValue(double value) {
    if (!IsNumericStyle(inputStyle_)) return;
    value_ = value;
    SetText(FormatStyledValue(inputStyle_, value, decimalLength_));
}

void TXPDorvexEditEx::Changed() {
    if (!IsNumericStyle(inputStyle_)) return;
    // A text that is no number (a lone ".") leaves the value as it was.
    if (const auto value = ValueFromText(inputStyle_, Text())) value_ = *value;
}

void TXPDorvexEditEx::KeyPress(wchar_t& key) {
    TQelCustomEdit::KeyPress(key);
    if (key == L'\r') {
        if (tabOnEnter_) PostMessageW(Handle(), WM_KEYDOWN, VK_TAB, 0);
        key = 0;
        return;
    }
    // The window is multi-line only to centre its text: line breaks and tabs never go in.
    if (key == L'\n' || key == L'\t') {
        key = 0;
        return;
    }
    if (!AcceptsTypedChar(inputStyle_, key, Text())) key = 0;
}

void TXPDorvexEditEx::DblClick() {
    TQelCustomEdit::DblClick();
    if (AutoSelect()) SelectAll();
}

void TXPDorvexEditEx::DoEnter() {
    TQelCustomEdit::DoEnter();
    SelectAll();
}

void TXPDorvexEditEx::FocusGained(TMessage& message) {
    TQelCustomEdit::WndProc(message);  // the system's focus handling, then OnEnter
    if (IsNumericStyle(inputStyle_)) {
        SetText(FormatFixed(value_, decimalLength_));
        SelectAll();
    }
    mouseIn_ = true;
    Redraw();
}

void TXPDorvexEditEx::FormatOnFocusLoss() {
    if (!IsNumericStyle(inputStyle_)) return;
    if (Text().empty()) SetText(L"0");
    const auto typed = ValueFromText(inputStyle_, Text());
    if (!typed) return;  // not a number: text and value stay as they are
    value_ = *typed;
    double shown = value_;
    if (inputStyle_ != TInputStyle::ISNumber) {
        SetText(FormatGeneral(value_));
        shown = ParseNumber(Text()).value_or(value_);
    }
    SetText(FormatStyledValue(inputStyle_, shown, decimalLength_));
}

void TXPDorvexEditEx::FocusLost(TMessage& message) {
    FormatOnFocusLoss();
    mouseIn_ = false;
    TQelCustomEdit::WndProc(message);  // the system's handling, then OnExit
    Redraw();
}

// --- state -----------------------------------------------------------------------------------

void TXPDorvexEditEx::MouseInNotify() {
    if (OnMouseMoveIn) OnMouseMoveIn(this);
}

void TXPDorvexEditEx::MouseOutNotify() {
    if (OnMouseMoveOut) OnMouseMoveOut(this);
}

void TXPDorvexEditEx::MouseEnter() {
    mouseIn_ = true;
    TQelCustomEdit::MouseEnter();
    if (HandleAllocated()) InvalidateRect(Handle(), nullptr, FALSE);
    MouseInNotify();
}

void TXPDorvexEditEx::MouseLeave() {
    if (!Focused()) mouseIn_ = false;
    TQelCustomEdit::MouseLeave();
    if (HandleAllocated()) InvalidateRect(Handle(), nullptr, FALSE);
    MouseOutNotify();
}

void TXPDorvexEditEx::EnabledChanged() {
    ApplyStateBackground();
    TQelCustomEdit::EnabledChanged();
    Redraw();
}

void TXPDorvexEditEx::ColorChanged() {
    if (Enabled()) normalColor_ = Color();
    TQelCustomEdit::ColorChanged();
}

void TXPDorvexEditEx::ApplyStateBackground() {
    SetColor(Enabled() ? normalColor_ : disableBackGroundColor_);
}

// --- drawing ---------------------------------------------------------------------------------

void TXPDorvexEditEx::UpdateTextRect() {
    if (!ParentForm() || !HandleAllocated()) return;
    const int fontHeight = FontHeight();
    RECT rect = AdjustSideRect(RECT{0, 0, Width(), Height()}, sideLines_);
    rect.top += (rect.bottom - rect.top - fontHeight) / 2 + textTopOffset_;
    rect.left += textLeftSpace_;
    rect.right -= textRightSpace_;
    rect.bottom += textTopOffset_;
    SetFormattingRect(rect);
}

TColor TXPDorvexEditEx::StateLineColor(int& rings) {
    rings = sideWidth_;
    if (!Enabled() || ReadOnly()) return disableColor_;
    if (Focused()) {
        if (sideFocus_) ++rings;
        return focusBorderColor_;
    }
    return mouseIn_ ? borderColor_ : unfocusedColor_;
}

void TXPDorvexEditEx::DrawBorder() {
    if (sideWidth_ <= 0 || !HandleAllocated()) return;
    const RECT client = ClientRect();
    TBitmap surface(client.right - client.left, client.bottom - client.top, pf24bit);
    if (surface.Empty()) return;
    int rings = 0;
    const TColor base = StateLineColor(rings);
    const RECT inner = InsetSides(client, sideLines_, rings);
    TCanvas& canvas = surface.Canvas();
    RECT ring = inner;
    for (const TColor color :
         SideRingColors(base, rings, sideLightStep_, sideBlendStep_, sideBlendColor_)) {
        ring = InsetSides(ring, sideLines_, -1);
        canvas.Pen().SetColor(color);
        for (const SideSegment& line : RingSegments(ring, sideLines_)) {
            canvas.MoveTo(line.from.x, line.from.y);
            canvas.LineTo(line.to.x, line.to.y);
        }
    }
    ScopedGetDC window(Handle());
    if (!window) return;
    ScopedSaveDC saved(window.get());
    const int clip =
        ExcludeClipRect(window.get(), inner.left, inner.top, inner.right, inner.bottom);
    if (clip == NULLREGION || clip == ERROR) return;
    BitBlt(window.get(), 0, 0, surface.Width(), surface.Height(), canvas.Handle(), 0, 0, SRCCOPY);
}

// --- messages --------------------------------------------------------------------------------

void TXPDorvexEditEx::WndProc(TMessage& message) {
    switch (message.Msg) {
        case WM_PAINT:
            ApplyStateBackground();
            TQelCustomEdit::WndProc(message);
            DrawBorder();
            return;
        case WM_SETFOCUS:
            FocusGained(message);
            return;
        case WM_KILLFOCUS:
            FocusLost(message);
            return;
        case WM_CONTEXTMENU:
            if (IsNumericStyle(inputStyle_)) return;
            break;
        case WM_SIZE:
            TQelCustomEdit::WndProc(message);
            Redraw();
            return;
        default:
            break;
    }
    TQelCustomEdit::WndProc(message);
}

}  // namespace qv
