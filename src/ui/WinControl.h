// A control with its own window. Its window is created on demand (Handle()), from the
// parameters CreateParams fills in; a derived class may wrap a system window class ("EDIT",
// "BUTTON") with CreateSubClass, and then the system class's procedure is the default handler.
//
// One static window procedure serves every TWinControl: it finds the object through
// GWLP_USERDATA (set at WM_NCCREATE, cleared at WM_NCDESTROY), builds a TMessage and hands it
// to WindowProc. No exception leaves it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "common/ScopedHandles.h"
#include "ui/Control.h"

namespace qv {

// Notifications a parent window receives about a child window (WM_COMMAND, WM_NOTIFY,
// WM_CTLCOLOR*, WM_DRAWITEM ...) are passed back to the child control as CN_BASE + message.
constexpr UINT CN_BASE = 0xBC00;
constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;
constexpr UINT CN_DRAWITEM = CN_BASE + WM_DRAWITEM;
constexpr UINT CN_MEASUREITEM = CN_BASE + WM_MEASUREITEM;
constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;
constexpr UINT CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN;
constexpr UINT CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX;
constexpr UINT CN_CTLCOLORSCROLLBAR = CN_BASE + WM_CTLCOLORSCROLLBAR;
constexpr UINT CN_HSCROLL = CN_BASE + WM_HSCROLL;
constexpr UINT CN_VSCROLL = CN_BASE + WM_VSCROLL;

struct TCreateParams {
    std::wstring Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = 0, Y = 0, Width = 0, Height = 0;
    HWND WndParent = nullptr;
    // Window class of the toolkit's own windows. Windows of the same class name and style share
    // one registration.
    std::wstring WinClassName = L"QvWinControl";
    UINT WindowClassStyle = CS_DBLCLKS;
    // System class wrapped by this control (set by CreateSubClass); empty for own classes.
    std::wstring SubclassOf;
};

class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;

    // --- window ----------------------------------------------------------------------------
    // The window, created first if needed (with the parents' windows). Null when the system
    // refused to create it.
    HWND Handle();
    bool HandleAllocated() const { return handle_ != nullptr; }
    void HandleNeeded() { Handle(); }
    // Destroys the window (and with it the children's windows); the object stays.
    void DestroyHandle();
    // Destroys and re-creates the window, e.g. after a change of creation parameters.
    void RecreateWnd();
    // The control that owns window, or null when window is not a toolkit window.
    static TWinControl* FromHandle(HWND window);

    // --- children --------------------------------------------------------------------------
    int ControlCount() const { return static_cast<int>(controls_.size()); }
    TControl* Controls(int index) const { return controls_[index]; }
    // The child under the client point p, topmost first; window-less children only unless
    // allowWinControls. Disabled children count only with allowDisabled.
    TControl* ControlAtPos(POINT p, bool allowDisabled, bool allowWinControls = false) const;
    bool ContainsControl(const TControl* control) const;  // child or deeper
    // Sends message to every child (stops early when a child sets a nonzero Result for
    // CM_DIALOGCHAR / CM_DIALOGKEY).
    void Broadcast(TMessage& message);

    // --- alignment -------------------------------------------------------------------------
    // Places the children inside rect: aligned ones in the order top, bottom, left, right,
    // client, custom; then the anchored ones. changed, when given, goes first among equals.
    virtual void AlignControls(TControl* changed, RECT& rect);
    // Shrinks the rectangle available to children (padding, tab strip ...).
    virtual void AdjustClientRect(RECT& rect);
    // Re-aligns all children now (unless alignment is disabled).
    void Realign();
    void AlignControl(TControl* changed);
    void DisableAlign() { ++alignDisabled_; }
    void EnableAlign();
    bool AlignDisabled() const { return alignDisabled_ > 0; }

    // --- focus -----------------------------------------------------------------------------
    int TabOrder() const;
    void SetTabOrder(int order);
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool on);
    // Showing, enabled with all parents, and on a visible, enabled form.
    virtual bool CanFocus() const;
    virtual void SetFocus();
    bool Focused() const;
    // Moves the focus to the next (or previous) control in tab order after current.
    void SelectNext(TWinControl* current, bool forward, bool checkTabStop);
    TWinControl* FindNextControl(TWinControl* current, bool forward, bool checkTabStop,
                                 bool checkParent);
    // This control's windowed descendants in tab order (depth first).
    void GetTabOrderList(std::vector<TWinControl*>& list) const;

    // --- painting --------------------------------------------------------------------------
    bool DoubleBuffered() const { return doubleBuffered_; }
    void SetDoubleBuffered(bool on) { doubleBuffered_ = on; }
    // Paint the parent's image beneath this control instead of a fill of Color.
    bool ParentBackground() const { return (ControlStyle() & csParentBackground) != 0; }
    void SetParentBackground(bool on);
    // Paints this control and its children into dc with the control's top-left at (x, y).
    void PaintTo(HDC dc, int x, int y);
    // Paints this control's face (background, Paint, window-less children) into dc in client
    // coordinates. Used by WM_PAINT and by children that show this control beneath them.
    virtual void PaintWindow(HDC dc);

    void Invalidate() override;
    void Update() override;
    RECT ClientRect() const override;
    POINT ClientOrigin() const override;
    bool Showing() const override;
    void SetVisible(bool visible) override;
    void SetEnabled(bool enabled) override;
    void SetCaption(const std::wstring& caption) override;
    const std::wstring& Caption() const override;
    bool IsWindowed() const override { return true; }
    void ChangeScale(int multiplier, int divisor) override;

    void WndProc(TMessage& message) override;
    void DefaultHandler(TMessage& message) override;

    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;

protected:
    virtual void CreateParams(TCreateParams& params);
    // Makes the window an instance of a system class (its procedure handles what we do not).
    static void CreateSubClass(TCreateParams& params, const wchar_t* systemClass);
    // Creates the window itself from the parameters; may be overridden to adjust creation.
    virtual void CreateWindowHandle(const TCreateParams& params);
    // After the window exists (children's windows exist too).
    virtual void CreateWnd();
    // Before the window is destroyed by DestroyHandle.
    virtual void DestroyWnd();

    // Paints the parent's image beneath this control into dc (client coordinates).
    void DrawParentImage(HDC dc);
    // Paints the window-less children in z-order into dc.
    void PaintControls(HDC dc);
    // Paints the face on WM_PAINT: off-screen, copied once.
    void PaintHandler(TMessage& message);

    virtual void KeyDown(WORD& key, TShiftState shift);
    virtual void KeyUp(WORD& key, TShiftState shift);
    virtual void KeyPress(wchar_t& key);
    virtual void DoEnter();
    virtual void DoExit();
    // Children aligned notification; by default nothing.
    virtual void ControlsAligned() {}

    // A solid brush of the control's colour, for WM_CTLCOLOR answers. Owned by the control.
    HBRUSH ColorBrush();

    void ApplyBounds(int left, int top, int width, int height) override;
    void ColorChanged() override;
    void FontChanged() override;
    void EnabledChanged() override;
    void TextChanged() override;
    bool IsSubclassedSystemWindow() const { return defWndProc_ != nullptr; }

private:
    friend class TControl;
    friend class TApplication;
    friend class TForm;
    static LRESULT CALLBACK StaticWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
    void Attach(HWND window);
    void Detach();
    void CreateChildHandles();
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    void RouteMouseToChild(TMessage& message, bool& handled);
    bool ReflectNotification(TMessage& message);
    void HandleKeyMessage(TMessage& message);
    void UpdateBoundsFromWindow();
    void DoPositionByAlign(TControl* control, TAlign align, RECT& rect);
    bool SetCursorForPoint();
    void DestroyChildren();
    void ReleaseChildCapture(TControl* control);
    void InvalidateRectOf(const RECT& r);
    void MoveControlInZOrder(TControl* control, bool toFront);
    void TrackMouse(TMessage& message);

    HWND handle_ = nullptr;
    WNDPROC defWndProc_ = nullptr;
    std::vector<TControl*> controls_;     // z-order, bottom first
    std::vector<TWinControl*> tabList_;   // windowed children in tab order
    TControl* captureControl_ = nullptr;  // window-less child holding the mouse
    int alignDisabled_ = 0;
    bool alignPending_ = false;
    bool tabStop_ = false;
    bool doubleBuffered_ = false;
    bool trackingLeave_ = false;
    bool destroyingHandle_ = false;
    mutable std::wstring windowText_;
    ScopedBrush colorBrush_;
};

// After an aligned control has been placed: a control that kept a smaller (or larger) size than
// it was given (constraints, automatic size) hands the difference back to the space still free.
void GiveBackUnusedSpace(TAlign align, int unusedWidth, int unusedHeight, RECT& rect);

}  // namespace qv
