#include "ui/Control.h"

#include <algorithm>
#include <cwctype>

#include "ui/Application.h"
#include "ui/Form.h"
#include "ui/WinControl.h"

namespace qv {

HCURSOR CursorHandle(TCursor cursor) {
    const wchar_t* id = IDC_ARROW;
    switch (cursor) {
        case crNone:
            return nullptr;
        case crCross:
            id = IDC_CROSS;
            break;
        case crIBeam:
            id = IDC_IBEAM;
            break;
        case crSizeAll:
            id = IDC_SIZEALL;
            break;
        case crSizeNESW:
            id = IDC_SIZENESW;
            break;
        case crSizeNS:
            id = IDC_SIZENS;
            break;
        case crSizeNWSE:
            id = IDC_SIZENWSE;
            break;
        case crSizeWE:
            id = IDC_SIZEWE;
            break;
        case crUpArrow:
            id = IDC_UPARROW;
            break;
        case crHourGlass:
            id = IDC_WAIT;
            break;
        case crNo:
            id = IDC_NO;
            break;
        case crAppStart:
            id = IDC_APPSTARTING;
            break;
        case crHandPoint:
            id = IDC_HAND;
            break;
        case crDefault:
        case crArrow:
            break;
    }
    return LoadCursorW(nullptr, id);
}

TShiftState KeysToShiftState(WPARAM keys) {
    TShiftState shift = 0;
    if (keys & MK_SHIFT) shift |= ssShift;
    if (keys & MK_CONTROL) shift |= ssCtrl;
    if (keys & MK_LBUTTON) shift |= ssLeft;
    if (keys & MK_RBUTTON) shift |= ssRight;
    if (keys & MK_MBUTTON) shift |= ssMiddle;
    if (GetKeyState(VK_MENU) < 0) shift |= ssAlt;
    return shift;
}

TShiftState KeyboardShiftState() {
    TShiftState shift = 0;
    if (GetKeyState(VK_SHIFT) < 0) shift |= ssShift;
    if (GetKeyState(VK_CONTROL) < 0) shift |= ssCtrl;
    if (GetKeyState(VK_MENU) < 0) shift |= ssAlt;
    return shift;
}

bool IsAccel(wchar_t character, const std::wstring& text) {
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != L'&') continue;
        if (text[i + 1] == L'&') {
            ++i;  // "&&" is a literal ampersand
            continue;
        }
        return std::towupper(text[i + 1]) == std::towupper(character);
    }
    return false;
}

TControl::TControl(TComponent* owner) : TComponent(owner) {
    WindowProc = [this](TMessage& message) { WndProc(message); };
    font_.OnChange = [this] {
        parentFont_ = false;
        Perform(CM_FONTCHANGED);
    };
}

TControl::~TControl() {
    BeginDestruction();
    Application().ControlDestroyed(this);
    if (parent_) parent_->RemoveControl(this);
}

TForm* TControl::ParentForm() const {
    const TControl* control = this;
    while (control->parent_) control = control->parent_;
    return dynamic_cast<TForm*>(const_cast<TControl*>(control));
}

void TControl::SetParent(TWinControl* parent) {
    if (parent == parent_ || parent == this) return;
    if (parent_) parent_->RemoveControl(this);
    if (parent) parent->InsertControl(this);
}

void TControl::SetBounds(int left, int top, int width, int height) {
    if (left == Left() && top == Top() && width == Width() && height == Height()) return;
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (!aligning_) {
        int w = width, h = height;
        if (autoSize_ && CanAutoSize(w, h)) {
            width = w;
            height = h;
        }
    }
    ApplyConstraints(width, height);
    ApplyBounds(left, top, width, height);
    if (!aligning_) {
        UpdateAnchorRules();
        RequestAlign();
    }
}

void TControl::SetAlignedBounds(int left, int top, int width, int height) {
    const bool wasAligning = aligning_;
    aligning_ = true;
    SetBounds(left, top, width, height);
    aligning_ = wasAligning;
}

void TControl::ApplyConstraints(int& width, int& height) {
    int minW = constraints_.MinWidth, minH = constraints_.MinHeight;
    int maxW = constraints_.MaxWidth, maxH = constraints_.MaxHeight;
    ConstrainedResize(minW, minH, maxW, maxH);
    if (maxW > 0) width = std::min(width, maxW);
    if (minW > 0) width = std::max(width, minW);
    if (maxH > 0) height = std::min(height, maxH);
    if (minH > 0) height = std::max(height, minH);
}

void TControl::ConstrainedResize(int& minWidth, int& minHeight, int& maxWidth, int& maxHeight) {
    if (OnConstrainedResize) OnConstrainedResize(this, minWidth, minHeight, maxWidth, maxHeight);
}

void TControl::StoreBounds(int left, int top, int width, int height) {
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
}

void TControl::ApplyBounds(int left, int top, int width, int height) {
    const bool resized = width != width_ || height != height_;
    if (parent_ && visible_) parent_->InvalidateRectOf(BoundsRect());
    StoreBounds(left, top, width, height);
    if (parent_ && visible_) parent_->InvalidateRectOf(BoundsRect());
    if (resized) Resize();
}

void TControl::UpdateAnchorRules() {
    if (!parent_) return;
    const RECT client = parent_->ClientRect();
    originalParentSize_ = {client.right - client.left, client.bottom - client.top};
    // With the right (bottom) anchor the rule is the distance kept to the far edge: of the
    // right edge when the left anchor is set too, else of the left edge. Without it, the
    // centre, which moves in proportion to the parent's size.
    if (anchors_ & akRight) {
        anchorRules_.x = originalParentSize_.cx - ((anchors_ & akLeft) ? Width() : Left());
    } else {
        anchorRules_.x = Left() + Width() / 2;
    }
    if (anchors_ & akBottom) {
        anchorRules_.y = originalParentSize_.cy - ((anchors_ & akTop) ? Height() : Top());
    } else {
        anchorRules_.y = Top() + Height() / 2;
    }
}

void TControl::ApplyAnchorRules(int parentWidth, int parentHeight) {
    if (anchors_ == kDefaultAnchors) return;
    if (originalParentSize_.cx == 0 || originalParentSize_.cy == 0) {
        // The parent had no size when the rules were taken: take them now.
        UpdateAnchorRules();
        return;
    }
    int left = Left(), top = Top(), width = Width(), height = Height();
    if (anchors_ & akRight) {
        if (anchors_ & akLeft) {
            width = parentWidth - anchorRules_.x;
        } else {
            left = parentWidth - anchorRules_.x;
        }
    } else if (!(anchors_ & akLeft)) {
        left = MulDiv(anchorRules_.x, parentWidth, originalParentSize_.cx) - width / 2;
    }
    if (anchors_ & akBottom) {
        if (anchors_ & akTop) {
            height = parentHeight - anchorRules_.y;
        } else {
            top = parentHeight - anchorRules_.y;
        }
    } else if (!(anchors_ & akTop)) {
        top = MulDiv(anchorRules_.y, parentHeight, originalParentSize_.cy) - height / 2;
    }
    SetAlignedBounds(left, top, width, height);
}

POINT TControl::ClientOrigin() const {
    POINT origin{Left(), Top()};
    if (parent_) {
        const POINT parentOrigin = parent_->ClientOrigin();
        origin.x += parentOrigin.x;
        origin.y += parentOrigin.y;
    }
    return origin;
}

POINT TControl::ClientToScreen(POINT p) const {
    const POINT origin = ClientOrigin();
    return {p.x + origin.x, p.y + origin.y};
}

POINT TControl::ScreenToClient(POINT p) const {
    const POINT origin = ClientOrigin();
    return {p.x - origin.x, p.y - origin.y};
}

void TControl::SetAlign(TAlign align) {
    if (align == align_) return;
    align_ = align;
    // An aligned control keeps the anchors its side implies, as the class library does.
    switch (align) {
        case alTop:
            anchors_ = akLeft | akTop | akRight;
            break;
        case alBottom:
            anchors_ = akLeft | akRight | akBottom;
            break;
        case alLeft:
            anchors_ = akLeft | akTop | akBottom;
            break;
        case alRight:
            anchors_ = akRight | akTop | akBottom;
            break;
        case alClient:
            anchors_ = akLeft | akTop | akRight | akBottom;
            break;
        case alNone:
        case alCustom:
            break;
    }
    RequestAlign();
}

void TControl::SetAnchors(TAnchors anchors) {
    if (anchors == anchors_) return;
    anchors_ = anchors;
    UpdateAnchorRules();
}

void TControl::SetAutoSize(bool on) {
    if (on == autoSize_) return;
    autoSize_ = on;
    if (on) AdjustSize();
}

void TControl::AdjustSize() {
    if (!autoSize_) return;
    int w = Width(), h = Height();
    if (CanAutoSize(w, h)) SetBounds(Left(), Top(), w, h);
}

bool TControl::CanAutoSize(int&, int&) {
    return false;
}

void TControl::RequestAlign() {
    if (parent_ && (align_ != alNone || anchors_ != kDefaultAnchors)) parent_->AlignControl(this);
}

void TControl::SetVisible(bool visible) {
    if (visible == visible_) return;
    if (!visible && parent_) parent_->InvalidateRectOf(BoundsRect());
    visible_ = visible;
    if (visible && parent_) parent_->InvalidateRectOf(BoundsRect());
    Perform(CM_VISIBLECHANGED, visible);
    if (parent_ && align_ != alNone) parent_->AlignControl(this);
}

bool TControl::Showing() const {
    return visible_ && parent_ && parent_->Showing();
}

void TControl::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    Perform(CM_ENABLEDCHANGED);
}

bool TControl::IsEnabledInTree() const {
    for (const TControl* c = this; c; c = c->parent_) {
        if (!c->enabled_) return false;
    }
    return true;
}

void TControl::SetCursor(TCursor cursor) {
    if (cursor == cursor_) return;
    cursor_ = cursor;
    Perform(CM_CURSORCHANGED);
}

void TControl::SetCaption(const std::wstring& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    Perform(CM_TEXTCHANGED);
}

void TControl::SetParentFont(bool on) {
    if (on == parentFont_) return;
    parentFont_ = on;
    if (on && parent_) ParentFontChanged();
}

void TControl::SetColor(TColor color) {
    if (color == color_ && !parentColor_) return;
    color_ = color;
    parentColor_ = false;
    Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool on) {
    if (on == parentColor_) return;
    parentColor_ = on;
    if (on && parent_) ParentColorChanged();
}

void TControl::ParentFontChanged() {
    if (!parentFont_ || !parent_) return;
    auto handler = std::move(font_.OnChange);
    const bool changed = !font_.SameAs(parent_->Font());
    font_.Assign(parent_->Font());
    font_.OnChange = std::move(handler);
    if (changed) Perform(CM_FONTCHANGED);
}

void TControl::ParentColorChanged() {
    if (!parentColor_ || !parent_ || color_ == parent_->Color()) return;
    color_ = parent_->Color();
    Perform(CM_COLORCHANGED);
}

void TControl::Invalidate() {
    if (parent_ && visible_) parent_->InvalidateRectOf(BoundsRect());
}

void TControl::Update() {
    if (parent_) parent_->Update();
}

void TControl::Repaint() {
    Invalidate();
    Update();
}

void TControl::BringToFront() {
    if (parent_) parent_->MoveControlInZOrder(this, true);
}

void TControl::SendToBack() {
    if (parent_) parent_->MoveControlInZOrder(this, false);
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
    TMessage message{msg, wParam, lParam, 0};
    if (WindowProc) {
        WindowProc(message);
    } else {
        WndProc(message);
    }
    return message.Result;
}

void TControl::WndProc(TMessage& message) {
    switch (message.Msg) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP:
        case WM_MBUTTONDBLCLK:
        case WM_MOUSEMOVE: {
            // A click handler may destroy this control: decide before dispatching.
            const bool windowed = IsWindowed();
            DispatchMouse(message);
            if (!windowed) return;
            break;
        }
        case WM_CANCELMODE:
        case WM_CAPTURECHANGED:
            clicked_ = false;
            break;
        case CM_MOUSEENTER:
            MouseEnter();
            return;
        case CM_MOUSELEAVE:
            MouseLeave();
            return;
        case CM_ENABLEDCHANGED:
            EnabledChanged();
            return;
        case CM_VISIBLECHANGED:
            VisibleChanged();
            return;
        case CM_FONTCHANGED:
            FontChanged();
            return;
        case CM_COLORCHANGED:
            ColorChanged();
            return;
        case CM_TEXTCHANGED:
            TextChanged();
            return;
        case CM_PARENTFONTCHANGED:
            ParentFontChanged();
            return;
        case CM_PARENTCOLORCHANGED:
            ParentColorChanged();
            return;
        case CM_CURSORCHANGED:
            return;
        case CM_DIALOGCHAR:
            message.Result = DialogChar(static_cast<wchar_t>(message.WParam)) ? 1 : 0;
            return;
        case CM_HITTEST:
            message.Result = HitTest(static_cast<short>(LOWORD(message.LParam)),
                                     static_cast<short>(HIWORD(message.LParam)))
                                 ? HTCLIENT
                                 : 0;
            return;
        default:
            break;
    }
    DefaultHandler(message);
}

void TControl::DispatchMouse(TMessage& message) {
    const int x = static_cast<short>(LOWORD(message.LParam));
    const int y = static_cast<short>(HIWORD(message.LParam));
    const TShiftState shift = KeysToShiftState(message.WParam);
    if (!IsEnabledInTree()) return;
    switch (message.Msg) {
        case WM_MOUSEMOVE:
            MouseMove(shift, x, y);
            break;
        case WM_LBUTTONDOWN:
            clicked_ = (controlStyle_ & csClickEvents) != 0;
            MouseDown(mbLeft, shift, x, y);
            break;
        case WM_LBUTTONDBLCLK:
            if (controlStyle_ & csDoubleClicks) {
                clicked_ = false;
                DblClick();
                MouseDown(mbLeft, shift | ssDouble, x, y);
            } else {
                clicked_ = (controlStyle_ & csClickEvents) != 0;
                MouseDown(mbLeft, shift, x, y);
            }
            break;
        case WM_LBUTTONUP: {
            const bool wasClicked = clicked_;
            clicked_ = false;
            MouseUp(mbLeft, shift, x, y);
            const RECT client = ClientRect();
            if (wasClicked && x >= client.left && x < client.right && y >= client.top &&
                y < client.bottom) {
                Click();
            }
            break;
        }
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
            MouseDown(mbRight, shift, x, y);
            break;
        case WM_RBUTTONUP:
            MouseUp(mbRight, shift, x, y);
            break;
        case WM_MBUTTONDOWN:
        case WM_MBUTTONDBLCLK:
            MouseDown(mbMiddle, shift, x, y);
            break;
        case WM_MBUTTONUP:
            MouseUp(mbMiddle, shift, x, y);
            break;
        default:
            break;
    }
}

void TControl::DefaultHandler(TMessage&) {}

void TControl::Click() {
    if (OnClick) OnClick(this);
}

void TControl::DblClick() {
    if (OnDblClick) OnDblClick(this);
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
    if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

void TControl::MouseEnter() {
    if (OnMouseEnter) OnMouseEnter(this);
}

void TControl::MouseLeave() {
    if (OnMouseLeave) OnMouseLeave(this);
}

void TControl::EnabledChanged() {
    Invalidate();
}
void TControl::VisibleChanged() {}
void TControl::FontChanged() {
    Invalidate();
}
void TControl::ColorChanged() {
    Invalidate();
}
void TControl::TextChanged() {
    Invalidate();
}

void TControl::Resize() {
    if (OnResize) OnResize(this);
}

bool TControl::DialogChar(wchar_t) {
    return false;
}

bool TControl::HitTest(int, int) const {
    return true;
}

void TControl::ChangeScale(int multiplier, int divisor) {
    if (multiplier == divisor || divisor == 0) return;
    const int left = MulDiv(Left(), multiplier, divisor);
    const int top = MulDiv(Top(), multiplier, divisor);
    const int right = MulDiv(Left() + Width(), multiplier, divisor);
    const int bottom = MulDiv(Top() + Height(), multiplier, divisor);
    if (!parentFont_) {
        auto handler = std::move(font_.OnChange);
        font_.SetHeight(MulDiv(font_.Height(), multiplier, divisor));
        font_.OnChange = std::move(handler);
        Perform(CM_FONTCHANGED);
    }
    SetBounds(left, top, right - left, bottom - top);
}

}  // namespace qv
