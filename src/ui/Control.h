// The base of every control. A control may be window-less (painted by its parent into the
// parent's surface, mouse input routed to it by the parent) or windowed (TWinControl).
//
// Ownership: a control is destroyed by its owner (TComponent) and also by its parent
// TWinControl, whichever goes first; destroying it earlier removes it from both.
//
// Messages: every message for the control goes through WindowProc, which starts as WndProc.
// WindowProc may be replaced by code that wants to see the control's messages first; such code
// keeps the previous value and calls it to pass messages on.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "ui/Color.h"
#include "ui/Component.h"
#include "ui/Font.h"
#include "ui/Messages.h"

namespace qv {

class TWinControl;
class TForm;

enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
using enum TAlign;

enum TAnchorKind : unsigned { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };
using TAnchors = unsigned;
constexpr TAnchors kDefaultAnchors = akLeft | akTop;

enum class TMouseButton { mbLeft, mbRight, mbMiddle };
using enum TMouseButton;

enum TShiftFlag : unsigned {
    ssShift = 1,
    ssAlt = 2,
    ssCtrl = 4,
    ssLeft = 8,
    ssRight = 16,
    ssMiddle = 32,
    ssDouble = 64
};
using TShiftState = unsigned;

// Cursor identifiers as the layouts use them (crHandPoint = the hand pointer).
enum TCursor : int {
    crDefault = 0,
    crNone = -1,
    crArrow = -2,
    crCross = -3,
    crIBeam = -4,
    crSizeAll = -22,
    crSizeNESW = -6,
    crSizeNS = -7,
    crSizeNWSE = -8,
    crSizeWE = -9,
    crUpArrow = -10,
    crHourGlass = -11,
    crNo = -18,
    crAppStart = -19,
    crHandPoint = -21
};
// The system cursor for an identifier (null for crNone, the arrow for unknown values).
HCURSOR CursorHandle(TCursor cursor);

enum TControlStyleFlag : unsigned {
    csAcceptsControls = 0x1,
    csCaptureMouse = 0x2,
    csClickEvents = 0x8,
    csSetCaption = 0x20,
    csOpaque = 0x40,
    csDoubleClicks = 0x80,
    csReplicatable = 0x400,
    csParentBackground = 0x1000  // paint the parent's image beneath this control first
};
using TControlStyle = unsigned;

struct TSizeConstraints {
    int MinWidth = 0, MinHeight = 0, MaxWidth = 0, MaxHeight = 0;  // 0 = no limit
};

using TMouseEvent =
    std::function<void(TComponent* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TComponent* sender, TShiftState shift, int x, int y)>;
using TKeyEvent = std::function<void(TComponent* sender, WORD& key, TShiftState shift)>;
using TKeyPressEvent = std::function<void(TComponent* sender, wchar_t& key)>;
using TConstrainedResizeEvent = std::function<void(TComponent* sender, int& minWidth,
                                                   int& minHeight, int& maxWidth, int& maxHeight)>;

// The shift state from the keyboard and the key flags of a mouse message.
TShiftState KeysToShiftState(WPARAM keys);
TShiftState KeyboardShiftState();
// True when text holds "&c" for the character (letter case ignored); "&&" is a literal "&".
bool IsAccel(wchar_t character, const std::wstring& text);

class TControl : public TComponent {
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;

    // --- parent and position ---------------------------------------------------------------
    TWinControl* Parent() const { return parent_; }
    virtual void SetParent(TWinControl* parent);
    // The form this control sits on (itself for a form), or null.
    TForm* ParentForm() const;

    virtual int Left() const { return left_; }
    virtual int Top() const { return top_; }
    virtual int Width() const { return width_; }
    virtual int Height() const { return height_; }
    virtual void SetLeft(int value) { SetBounds(value, Top(), Width(), Height()); }
    virtual void SetTop(int value) { SetBounds(Left(), value, Width(), Height()); }
    virtual void SetWidth(int value) { SetBounds(Left(), Top(), value, Height()); }
    virtual void SetHeight(int value) { SetBounds(Left(), Top(), Width(), value); }
    virtual void SetBounds(int left, int top, int width, int height);
    RECT BoundsRect() const { return {Left(), Top(), Left() + Width(), Top() + Height()}; }
    void SetBoundsRect(const RECT& r) {
        SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
    }

    virtual RECT ClientRect() const { return {0, 0, Width(), Height()}; }
    int ClientWidth() const { return ClientRect().right; }
    int ClientHeight() const { return ClientRect().bottom; }
    virtual void SetClientWidth(int value) { SetWidth(value); }
    virtual void SetClientHeight(int value) { SetHeight(value); }
    // Screen position of the client area's top-left corner.
    virtual POINT ClientOrigin() const;
    POINT ClientToScreen(POINT p) const;
    POINT ScreenToClient(POINT p) const;

    TAlign Align() const { return align_; }
    void SetAlign(TAlign align);
    TAnchors Anchors() const { return anchors_; }
    void SetAnchors(TAnchors anchors);
    TSizeConstraints& Constraints() { return constraints_; }
    bool AutoSize() const { return autoSize_; }
    virtual void SetAutoSize(bool on);

    // --- visibility and state --------------------------------------------------------------
    bool Visible() const { return visible_; }
    virtual void SetVisible(bool visible);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible, and every parent is showing.
    virtual bool Showing() const;
    bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool enabled);
    // Enabled, and every parent is enabled.
    bool IsEnabledInTree() const;

    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor cursor);
    TControlStyle ControlStyle() const { return controlStyle_; }
    void SetControlStyle(TControlStyle style) { controlStyle_ = style; }

    // --- appearance ------------------------------------------------------------------------
    virtual const std::wstring& Caption() const { return caption_; }
    virtual void SetCaption(const std::wstring& caption);
    const std::wstring& Text() const { return Caption(); }
    void SetText(const std::wstring& text) { SetCaption(text); }
    TFont& Font() { return font_; }
    const TFont& Font() const { return font_; }
    void SetFont(const TFont& font) { font_.Assign(font); }
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool on);
    TColor Color() const { return color_; }
    virtual void SetColor(TColor color);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool on);

    // --- painting --------------------------------------------------------------------------
    virtual void Invalidate();
    // Paints now what is invalid.
    virtual void Update();
    void Repaint();
    void Refresh() { Repaint(); }
    void BringToFront();
    void SendToBack();

    // --- messages --------------------------------------------------------------------------
    std::function<void(TMessage&)> WindowProc;
    LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
    // Handles a message: named handlers first, DefaultHandler for the rest.
    virtual void WndProc(TMessage& message);
    virtual void DefaultHandler(TMessage& message);

    // --- events ----------------------------------------------------------------------------
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TNotifyEvent OnResize;
    TConstrainedResizeEvent OnConstrainedResize;

    // Scales position, size and (own) font by multiplier / divisor.
    virtual void ChangeScale(int multiplier, int divisor);
    // Called by a parent's alignment code; runs SetBounds without remembering anchors.
    void SetAlignedBounds(int left, int top, int width, int height);
    // The anchor reference the control keeps: its distances as of the last time its bounds were
    // set other than by alignment, and the parent's client size then.
    void UpdateAnchorRules();
    // Repositions the control from its anchor rules for a new parent client size.
    void ApplyAnchorRules(int parentWidth, int parentHeight);
    // Whether this control is a window (TWinControl).
    virtual bool IsWindowed() const { return false; }
    // Sizes an auto-sized control to its content.
    void AdjustSize();

protected:
    // Named handlers; overrides call the base to keep its behaviour and events.
    virtual void Click();
    virtual void DblClick();
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void MouseEnter();
    virtual void MouseLeave();
    virtual void EnabledChanged();
    virtual void VisibleChanged();
    virtual void FontChanged();
    virtual void ColorChanged();
    virtual void TextChanged();
    virtual void Resize();
    // An accelerator character typed while the focus is on a control that does not want
    // characters; answer true when the control took it.
    virtual bool DialogChar(wchar_t character);
    // Asked before a size is applied; the control may change width and height.
    virtual bool CanAutoSize(int& newWidth, int& newHeight);
    virtual void ConstrainedResize(int& minWidth, int& minHeight, int& maxWidth, int& maxHeight);
    // Tells the parent to re-align this control (and its siblings).
    void RequestAlign();
    // Answers whether the control takes mouse input at the client point (p is in its coordinates).
    virtual bool HitTest(int x, int y) const;

    // Stores new bounds; TWinControl moves its window as well.
    virtual void ApplyBounds(int left, int top, int width, int height);
    void StoreBounds(int left, int top, int width, int height);
    bool Aligning() const { return aligning_; }

    virtual void ParentFontChanged();
    virtual void ParentColorChanged();

private:
    void DispatchMouse(TMessage& message);
    void ApplyConstraints(int& width, int& height);

    friend class TWinControl;
    friend class TForm;

    TWinControl* parent_ = nullptr;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    TAlign align_ = alNone;
    TAnchors anchors_ = kDefaultAnchors;
    POINT anchorRules_{};        // distances used by the right/bottom anchors
    SIZE originalParentSize_{};  // parent's client size when the rules were taken
    TSizeConstraints constraints_;
    bool autoSize_ = false;
    bool visible_ = true;
    bool enabled_ = true;
    bool aligning_ = false;
    bool clicked_ = false;
    TCursor cursor_ = crDefault;
    TControlStyle controlStyle_ = csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks;
    std::wstring caption_;
    TFont font_;
    bool parentFont_ = true;
    TColor color_ = clBtnFace;
    bool parentColor_ = false;
};

}  // namespace qv
