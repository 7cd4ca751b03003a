#include "ui/WinControl.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <string>

#include "ui/Application.h"
#include "ui/BackBuffer.h"
#include "ui/Form.h"

namespace qv {
namespace {

// The system class procedure of the window being created, for the messages that arrive
// before WM_NCCREATE attaches the control.
thread_local WNDPROC t_creatingDefProc = nullptr;

bool IsMouseMessage(UINT msg) {
    return msg >= WM_MOUSEFIRST && msg <= WM_MBUTTONDBLCLK && msg != WM_MOUSEWHEEL;
}

bool IsButtonDown(UINT msg) {
    return msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN ||
           msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDBLCLK || msg == WM_MBUTTONDBLCLK;
}

bool IsButtonUp(UINT msg) {
    return msg == WM_LBUTTONUP || msg == WM_RBUTTONUP || msg == WM_MBUTTONUP;
}

bool NoButtonHeld(WPARAM keys) {
    return (keys & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) == 0;
}

// Gives the mouse capture back when the last button is released, also when the handlers of
// the release fail.
class CaptureRelease {
public:
    CaptureRelease(HWND window, bool active) : window_(window), active_(active) {}
    CaptureRelease(const CaptureRelease&) = delete;
    CaptureRelease& operator=(const CaptureRelease&) = delete;
    ~CaptureRelease() {
        if (active_ && window_ && GetCapture() == window_) ReleaseCapture();
    }

private:
    HWND window_;
    bool active_;
};

// Registers (once) the window class the parameters name and answers its name. A subclass of a
// system class copies that class and remembers its procedure in original.
std::wstring RegisterWindowClass(const TCreateParams& params, WNDPROC proc, WNDPROC& original) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    std::wstring name = params.WinClassName;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    original = nullptr;
    if (!params.SubclassOf.empty()) {
        WNDCLASSEXW system{};
        system.cbSize = sizeof system;
        if (!GetClassInfoExW(nullptr, params.SubclassOf.c_str(), &system)) return {};
        original = system.lpfnWndProc;
        wc = system;
        wc.cbSize = sizeof wc;
        wc.style = (system.style & ~CS_GLOBALCLASS) | params.WindowClassStyle;
        name = L"Qv." + params.SubclassOf + L"." + std::to_wstring(wc.style);
    } else {
        wc.style = params.WindowClassStyle;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        name += L"." + std::to_wstring(wc.style);
    }
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(instance, name.c_str(), &existing)) return name;
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.lpszClassName = name.c_str();
    wc.lpszMenuName = nullptr;
    if (!RegisterClassExW(&wc)) return {};
    return name;
}

void ReportException(const char* where, const char* what) {
    std::string text = std::string("[") + where + "] " + what + "\n";
    OutputDebugStringA(text.c_str());
}

}  // namespace

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
    // The parent's tab order holds windowed children only; by the time the base destructor
    // leaves the parent, this is no longer known to be one.
    if (TWinControl* parent = Parent()) std::erase(parent->tabList_, this);
    BeginDestruction();
    DestroyComponents();
    DestroyChildren();
    // Hooks installed by other objects must not see the teardown of a half-destroyed object.
    WindowProc = [this](TMessage& message) { TWinControl::WndProc(message); };
    DestroyHandle();
}

void TWinControl::DestroyChildren() {
    while (!controls_.empty()) delete controls_.back();  // each removes itself from the list
}

// --- window ----------------------------------------------------------------------------------

void TWinControl::CreateParams(TCreateParams& params) {
    params.Caption = TControl::Caption();
    params.Style = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    if (Visible()) params.Style |= WS_VISIBLE;
    if (!Enabled()) params.Style |= WS_DISABLED;
    if (tabStop_) params.Style |= WS_TABSTOP;
    params.X = Left();
    params.Y = Top();
    params.Width = Width();
    params.Height = Height();
    params.WndParent = Parent() ? Parent()->Handle() : nullptr;
}

void TWinControl::CreateSubClass(TCreateParams& params, const wchar_t* systemClass) {
    params.SubclassOf = systemClass;
}

void TWinControl::CreateWindowHandle(const TCreateParams& params) {
    WNDPROC original = nullptr;
    const std::wstring className = RegisterWindowClass(params, StaticWndProc, original);
    if (className.empty()) return;
    const WNDPROC outer = std::exchange(t_creatingDefProc, original);
    CreateWindowExW(params.ExStyle, className.c_str(), params.Caption.c_str(), params.Style,
                    params.X, params.Y, params.Width, params.Height, params.WndParent, nullptr,
                    GetModuleHandleW(nullptr), this);
    t_creatingDefProc = outer;
}

HWND TWinControl::Handle() {
    if (handle_ || Destroying()) return handle_;
    if (Parent() && !Parent()->Handle()) return nullptr;
    TCreateParams params;
    CreateParams(params);
    if ((params.Style & WS_CHILD) && !params.WndParent) return nullptr;
    CreateWindowHandle(params);
    if (!handle_) return nullptr;
    if (Parent()) {
        // Later siblings lie above earlier ones, as in the child list.
        SetWindowPos(handle_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    if (IsSubclassedSystemWindow())
        SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), FALSE);
    UpdateBoundsFromWindow();
    CreateChildHandles();
    CreateWnd();
    return handle_;
}

void TWinControl::CreateChildHandles() {
    for (TControl* child : std::vector<TControl*>(controls_)) {
        if (child->IsWindowed()) static_cast<TWinControl*>(child)->HandleNeeded();
    }
}

void TWinControl::CreateWnd() {}

void TWinControl::DestroyWnd() {}

void TWinControl::DestroyHandle() {
    if (!handle_ || destroyingHandle_) return;
    DestroyWnd();
    destroyingHandle_ = true;
    DestroyWindow(handle_);  // the children's windows go with it
    destroyingHandle_ = false;
    handle_ = nullptr;
}

void TWinControl::RecreateWnd() {
    if (!handle_) return;
    caption_ = Caption();  // keep what the user typed into a system control
    DestroyHandle();
    HandleNeeded();
}

void TWinControl::Attach(HWND window) {
    handle_ = window;
    defWndProc_ = t_creatingDefProc;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

void TWinControl::Detach() {
    if (handle_) SetWindowLongPtrW(handle_, GWLP_USERDATA, 0);
    if (captureControl_) captureControl_ = nullptr;
    handle_ = nullptr;
    trackingLeave_ = false;
}

TWinControl* TWinControl::FromHandle(HWND window) {
    if (!window) return nullptr;
    if (GetWindowLongPtrW(window, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&StaticWndProc)) {
        return nullptr;
    }
    return reinterpret_cast<TWinControl*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

LRESULT CALLBACK TWinControl::StaticWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<TWinControl*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self && msg == WM_NCCREATE) {
        self = static_cast<TWinControl*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        if (self) self->Attach(window);
    }
    if (!self) {
        return t_creatingDefProc ? CallWindowProcW(t_creatingDefProc, window, msg, wParam, lParam)
                                 : DefWindowProcW(window, msg, wParam, lParam);
    }
    TMessage message{msg, wParam, lParam, 0};
    try {
        if (self->WindowProc) {
            self->WindowProc(message);
        } else {
            self->WndProc(message);
        }
    } catch (const std::exception& e) {
        ReportException("TWinControl.WndProc", e.what());
    } catch (...) {
        ReportException("TWinControl.WndProc", "unknown exception");
    }
    if (msg == WM_NCDESTROY &&
        GetWindowLongPtrW(window, GWLP_USERDATA) == reinterpret_cast<LONG_PTR>(self)) {
        self->Detach();
    }
    return message.Result;
}

void TWinControl::DefaultHandler(TMessage& message) {
    if (!handle_) return;
    // The toolkit's own notifications mean nothing to the system.
    if (message.Msg >= CM_BASE && message.Msg < CN_BASE + 0x400) return;
    message.Result =
        defWndProc_
            ? CallWindowProcW(defWndProc_, handle_, message.Msg, message.WParam, message.LParam)
            : DefWindowProcW(handle_, message.Msg, message.WParam, message.LParam);
}

// --- children --------------------------------------------------------------------------------

void TWinControl::InsertControl(TControl* control) {
    controls_.push_back(control);
    control->parent_ = this;
    if (control->IsWindowed()) tabList_.push_back(static_cast<TWinControl*>(control));
    if (control->ParentFont()) control->Perform(CM_PARENTFONTCHANGED);
    if (control->ParentColor()) control->Perform(CM_PARENTCOLORCHANGED);
    control->UpdateAnchorRules();
    if (control->IsWindowed() && handle_) static_cast<TWinControl*>(control)->HandleNeeded();
    if (control->Visible()) InvalidateRectOf(control->BoundsRect());
    if (control->Align() != alNone) AlignControl(control);
}

void TWinControl::RemoveControl(TControl* control) {
    ReleaseChildCapture(control);
    if (TForm* form = ParentForm()) {
        if (form->activeControl_ &&
            (form->activeControl_ == control ||
             (control->IsWindowed() &&
              static_cast<TWinControl*>(control)->ContainsControl(form->activeControl_)))) {
            form->activeControl_ = nullptr;
        }
    }
    if (control->IsWindowed()) {
        auto* windowed = static_cast<TWinControl*>(control);
        std::erase(tabList_, windowed);
        windowed->DestroyHandle();
    }
    if (control->Visible()) InvalidateRectOf(control->BoundsRect());
    std::erase(controls_, control);
    control->parent_ = nullptr;
    if (control->Align() != alNone && !Destroying()) Realign();
}

void TWinControl::ReleaseChildCapture(TControl* control) {
    if (captureControl_ != control) return;
    captureControl_ = nullptr;
    if (handle_ && GetCapture() == handle_) ReleaseCapture();
}

bool TWinControl::ContainsControl(const TControl* control) const {
    for (const TControl* c = control ? control->Parent() : nullptr; c; c = c->Parent()) {
        if (c == this) return true;
    }
    return false;
}

TControl* TWinControl::ControlAtPos(POINT p, bool allowDisabled, bool allowWinControls) const {
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        TControl* c = *it;
        if (!c->Visible() || (!allowDisabled && !c->Enabled())) continue;
        if (c->IsWindowed() && !allowWinControls) continue;
        const RECT r = c->BoundsRect();
        if (p.x < r.left || p.x >= r.right || p.y < r.top || p.y >= r.bottom) continue;
        if (c->Perform(CM_HITTEST, 0, MAKELPARAM(p.x - r.left, p.y - r.top)) != 0) return c;
    }
    return nullptr;
}

void TWinControl::Broadcast(TMessage& message) {
    for (TControl* c : std::vector<TControl*>(controls_)) {
        if (c->WindowProc) {
            c->WindowProc(message);
        } else {
            c->WndProc(message);
        }
        if (message.Result != 0) return;
    }
}

void TWinControl::MoveControlInZOrder(TControl* control, bool toFront) {
    auto it = std::find(controls_.begin(), controls_.end(), control);
    if (it == controls_.end()) return;
    controls_.erase(it);
    if (toFront) {
        controls_.push_back(control);
    } else {
        controls_.insert(controls_.begin(), control);
    }
    if (control->IsWindowed()) {
        if (HWND child = static_cast<TWinControl*>(control)->handle_) {
            SetWindowPos(child, toFront ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
    } else {
        InvalidateRectOf(control->BoundsRect());
    }
}

// --- alignment -------------------------------------------------------------------------------

void TWinControl::AdjustClientRect(RECT&) {}

void TWinControl::AlignControl(TControl* changed) {
    if (AlignDisabled()) {
        alignPending_ = true;
        return;
    }
    alignPending_ = false;
    RECT rect = ClientRect();
    AdjustClientRect(rect);
    DisableAlign();  // children moved below must not start another pass
    AlignControls(changed, rect);
    --alignDisabled_;
    alignPending_ = false;
}

void TWinControl::Realign() {
    AlignControl(nullptr);
}

void TWinControl::EnableAlign() {
    if (alignDisabled_ > 0) --alignDisabled_;
    if (alignDisabled_ == 0 && alignPending_) Realign();
}

namespace {

bool InsertBefore(TControl* c, TControl* e, TAlign align) {
    switch (align) {
        case alTop:
            return c->Top() < e->Top();
        case alBottom:
            return c->Top() + c->Height() >= e->Top() + e->Height();
        case alLeft:
            return c->Left() < e->Left();
        case alRight:
            return c->Left() + c->Width() >= e->Left() + e->Width();
        default:
            return false;
    }
}

}  // namespace

void TWinControl::AlignControls(TControl* changed, RECT& rect) {
    const bool anyWork = std::any_of(controls_.begin(), controls_.end(), [](TControl* c) {
        return c->Align() != alNone || c->Anchors() != kDefaultAnchors;
    });
    if (anyWork) {
        for (TAlign align : {alTop, alBottom, alLeft, alRight, alClient, alCustom}) {
            std::vector<TControl*> list;
            if (changed && changed->Align() == align && changed->Visible()) list.push_back(changed);
            for (TControl* c : controls_) {
                if (c == changed || c->Align() != align || !c->Visible()) continue;
                auto at = std::find_if(list.begin(), list.end(),
                                       [&](TControl* e) { return InsertBefore(c, e, align); });
                list.insert(at, c);
            }
            for (TControl* c : list) DoPositionByAlign(c, align, rect);
        }
        const RECT client = ClientRect();
        for (TControl* c : std::vector<TControl*>(controls_)) {
            if (c->Align() == alNone) c->ApplyAnchorRules(client.right, client.bottom);
        }
    }
    ControlsAligned();
}

void TWinControl::DoPositionByAlign(TControl* control, TAlign align, RECT& rect) {
    int w = rect.right - rect.left;
    if (w < 0 || align == alLeft || align == alRight || align == alCustom) w = control->Width();
    int h = rect.bottom - rect.top;
    if (h < 0 || align == alTop || align == alBottom || align == alCustom) h = control->Height();
    int left = rect.left, top = rect.top;
    switch (align) {
        case alTop:
            rect.top += h;
            break;
        case alBottom:
            rect.bottom -= h;
            top = rect.bottom;
            break;
        case alLeft:
            rect.left += w;
            break;
        case alRight:
            rect.right -= w;
            left = rect.right;
            break;
        case alCustom:
            left = control->Left();
            top = control->Top();
            break;
        default:
            break;
    }
    control->SetAlignedBounds(left, top, w, h);
    GiveBackUnusedSpace(align, w - control->Width(), h - control->Height(), rect);
}

void GiveBackUnusedSpace(TAlign align, int unusedWidth, int unusedHeight, RECT& rect) {
    switch (align) {
        case alTop:
            rect.top -= unusedHeight;
            break;
        case alBottom:
            rect.bottom += unusedHeight;
            break;
        case alLeft:
            rect.left -= unusedWidth;
            break;
        case alRight:
            rect.right += unusedWidth;
            break;
        case alClient:
            rect.right += unusedWidth;
            rect.bottom += unusedHeight;
            break;
        default:
            break;
    }
}

// --- bounds and state ------------------------------------------------------------------------

RECT TWinControl::ClientRect() const {
    RECT r{0, 0, Width(), Height()};
    if (handle_) GetClientRect(handle_, &r);
    return r;
}

POINT TWinControl::ClientOrigin() const {
    if (!handle_) return TControl::ClientOrigin();
    POINT p{0, 0};
    ::ClientToScreen(handle_, &p);
    return p;
}

void TWinControl::ApplyBounds(int left, int top, int width, int height) {
    const bool resized = width != Width() || height != Height();
    StoreBounds(left, top, width, height);
    if (handle_) {
        SetWindowPos(handle_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (resized) {
        Realign();
        Resize();
    }
}

void TWinControl::UpdateBoundsFromWindow() {
    if (!handle_ || IsIconic(handle_)) return;
    RECT r{};
    GetWindowRect(handle_, &r);
    if (GetWindowLongW(handle_, GWL_STYLE) & WS_CHILD) {
        MapWindowPoints(HWND_DESKTOP, GetParent(handle_), reinterpret_cast<POINT*>(&r), 2);
    }
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (r.left == Left() && r.top == Top() && w == Width() && h == Height()) return;
    const bool resized = w != Width() || h != Height();
    StoreBounds(r.left, r.top, w, h);
    if (!Aligning()) UpdateAnchorRules();
    if (resized) {
        Realign();
        Resize();
    }
}

bool TWinControl::Showing() const {
    if (!Visible()) return false;
    return Parent() ? Parent()->Showing() : (handle_ && IsWindowVisible(handle_));
}

void TWinControl::SetVisible(bool visible) {
    if (visible == Visible()) return;
    TControl::SetVisible(visible);
    if (handle_) ShowWindow(handle_, visible ? SW_SHOWNA : SW_HIDE);
}

void TWinControl::SetEnabled(bool enabled) {
    if (enabled == Enabled()) return;
    if (handle_) EnableWindow(handle_, enabled);
    TControl::SetEnabled(enabled);
}

void TWinControl::SetCaption(const std::wstring& caption) {
    if (handle_) {
        if (caption == Caption()) return;
        caption_ = caption;
        SetWindowTextW(handle_, caption.c_str());
        Perform(CM_TEXTCHANGED);
        return;
    }
    TControl::SetCaption(caption);
}

const std::wstring& TWinControl::Caption() const {
    if (!handle_ || !IsSubclassedSystemWindow()) return TControl::Caption();
    // The user may have typed into a system control: the window holds the text.
    const int length = GetWindowTextLengthW(handle_);
    windowText_.assign(static_cast<size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(handle_, windowText_.data(), length + 1);
    windowText_.resize(static_cast<size_t>(std::max(copied, 0)));
    return windowText_;
}

void TWinControl::SetParentBackground(bool on) {
    SetControlStyle(on ? ControlStyle() | csParentBackground
                       : ControlStyle() & ~csParentBackground);
    Invalidate();
}

void TWinControl::ChangeScale(int multiplier, int divisor) {
    if (multiplier == divisor || divisor == 0) return;
    DisableAlign();
    TControl::ChangeScale(multiplier, divisor);
    for (TControl* c : std::vector<TControl*>(controls_)) c->ChangeScale(multiplier, divisor);
    EnableAlign();
}

HBRUSH TWinControl::ColorBrush() {
    if (!colorBrush_) colorBrush_.reset(CreateSolidBrush(ColorToRGB(Color())));
    return colorBrush_.get();
}

void TWinControl::ColorChanged() {
    colorBrush_.reset();
    Invalidate();
    for (TControl* c : std::vector<TControl*>(controls_)) c->Perform(CM_PARENTCOLORCHANGED);
}

void TWinControl::FontChanged() {
    if (handle_ && IsSubclassedSystemWindow()) {
        SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), TRUE);
    }
    Invalidate();
    for (TControl* c : std::vector<TControl*>(controls_)) c->Perform(CM_PARENTFONTCHANGED);
}

void TWinControl::EnabledChanged() {
    Invalidate();
}

void TWinControl::TextChanged() {
    Invalidate();
}

// --- painting --------------------------------------------------------------------------------

void TWinControl::InvalidateRectOf(const RECT& r) {
    if (handle_) RedrawWindow(handle_, &r, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void TWinControl::Invalidate() {
    if (handle_) RedrawWindow(handle_, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void TWinControl::Update() {
    if (handle_) UpdateWindow(handle_);
}

void TWinControl::PaintWindow(HDC dc) {
    if (ParentBackground()) {
        DrawParentImage(dc);
    } else if (Color() != clNone) {
        const RECT client = ClientRect();
        FillRect(dc, &client, ColorBrush());
    }
    PaintControls(dc);
}

void TWinControl::PaintControls(HDC dc) {
    for (TControl* c : std::vector<TControl*>(controls_)) {
        if (c->IsWindowed() || !c->Visible()) continue;
        const RECT r = c->BoundsRect();
        if (r.right <= r.left || r.bottom <= r.top || !RectVisible(dc, &r)) continue;
        const int saved = SaveDC(dc);
        POINT origin{};
        GetViewportOrgEx(dc, &origin);
        IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
        SetViewportOrgEx(dc, origin.x + r.left, origin.y + r.top, nullptr);
        c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
        RestoreDC(dc, saved);
    }
}

void TWinControl::DrawParentImage(HDC dc) {
    TWinControl* parent = Parent();
    if (!parent) return;
    const int saved = SaveDC(dc);
    POINT origin{};
    GetViewportOrgEx(dc, &origin);
    SetViewportOrgEx(dc, origin.x - Left(), origin.y - Top(), nullptr);
    IntersectClipRect(dc, Left(), Top(), Left() + Width(), Top() + Height());
    parent->PaintWindow(dc);
    RestoreDC(dc, saved);
}

void TWinControl::PaintHandler(TMessage& message) {
    if (message.WParam != 0) {
        PaintWindow(reinterpret_cast<HDC>(message.WParam));
        return;
    }
    ScopedPaint paint(handle_);
    const RECT area = paint.area();
    if (area.right <= area.left || area.bottom <= area.top) return;
    TBackBuffer buffer(paint.dc(), area);
    const HDC dc = buffer.DC();
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
    PaintWindow(dc);
    RestoreDC(dc, saved);
    buffer.Present();
}

void TWinControl::PaintTo(HDC dc, int x, int y) {
    if (!dc) return;
    HandleNeeded();
    const int saved = SaveDC(dc);
    POINT origin{};
    GetViewportOrgEx(dc, &origin);
    SetViewportOrgEx(dc, origin.x + x, origin.y + y, nullptr);
    IntersectClipRect(dc, 0, 0, Width(), Height());
    Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    for (TControl* c : std::vector<TControl*>(controls_)) {
        if (c->IsWindowed() && c->Visible()) {
            static_cast<TWinControl*>(c)->PaintTo(dc, c->Left(), c->Top());
        }
    }
    RestoreDC(dc, saved);
}

// --- focus -----------------------------------------------------------------------------------

int TWinControl::TabOrder() const {
    if (!Parent()) return -1;
    const auto& list = Parent()->tabList_;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int order) {
    if (!Parent()) return;
    auto& list = Parent()->tabList_;
    std::erase(list, this);
    order = std::clamp(order, 0, static_cast<int>(list.size()));
    list.insert(list.begin() + order, this);
}

void TWinControl::SetTabStop(bool on) {
    if (on == tabStop_) return;
    tabStop_ = on;
    if (handle_) {
        LONG style = GetWindowLongW(handle_, GWL_STYLE);
        style = on ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP);
        SetWindowLongW(handle_, GWL_STYLE, style);
    }
}

bool TWinControl::CanFocus() const {
    const TForm* form = ParentForm();
    if (form && form != this && (!form->Visible() || !form->Enabled())) return false;
    for (const TControl* c = this; c; c = c->Parent()) {
        if (!c->Visible() || !c->Enabled()) return false;
    }
    return true;
}

void TWinControl::SetFocus() {
    TForm* form = ParentForm();
    if (form && form != this) {
        form->activeControl_ = this;
        if (!form->Showing()) return;  // focused when the form is shown
    }
    if (HWND window = Handle()) ::SetFocus(window);
}

bool TWinControl::Focused() const {
    return handle_ && GetFocus() == handle_;
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) const {
    for (TWinControl* c : tabList_) {
        list.push_back(c);
        c->GetTabOrderList(list);
    }
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool forward, bool checkTabStop,
                                          bool checkParent) {
    std::vector<TWinControl*> list;
    GetTabOrderList(list);
    if (list.empty()) return nullptr;
    const int count = static_cast<int>(list.size());
    auto it = std::find(list.begin(), list.end(), current);
    int index = it == list.end() ? (forward ? -1 : count) : static_cast<int>(it - list.begin());
    for (int step = 0; step < count; ++step) {
        index = forward ? (index + 1) % count : (index - 1 + count) % count;
        TWinControl* c = list[index];
        if (c == current) break;
        if (c->CanFocus() && (!checkTabStop || c->TabStop()) &&
            (!checkParent || c->Parent() == this)) {
            return c;
        }
    }
    return nullptr;
}

void TWinControl::SelectNext(TWinControl* current, bool forward, bool checkTabStop) {
    if (TWinControl* next = FindNextControl(current, forward, checkTabStop, !checkTabStop)) {
        next->SetFocus();
    }
}

void TWinControl::KeyDown(WORD& key, TShiftState shift) {
    if (OnKeyDown) OnKeyDown(this, key, shift);
}

void TWinControl::KeyUp(WORD& key, TShiftState shift) {
    if (OnKeyUp) OnKeyUp(this, key, shift);
}

void TWinControl::KeyPress(wchar_t& key) {
    if (OnKeyPress) OnKeyPress(this, key);
}

void TWinControl::DoEnter() {
    if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
    if (OnExit) OnExit(this);
}

void TWinControl::HandleKeyMessage(TMessage& message) {
    TForm* form = ParentForm();
    TWinControl* preview = (form && form != this && form->KeyPreview()) ? form : nullptr;
    switch (message.Msg) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
        case WM_KEYUP:
        case WM_SYSKEYUP: {
            const bool down = message.Msg == WM_KEYDOWN || message.Msg == WM_SYSKEYDOWN;
            WORD key = static_cast<WORD>(message.WParam);
            const TShiftState shift = KeyboardShiftState();
            if (preview) down ? preview->KeyDown(key, shift) : preview->KeyUp(key, shift);
            if (key) down ? KeyDown(key, shift) : KeyUp(key, shift);
            if (!key) return;
            message.WParam = key;
            break;
        }
        case WM_CHAR:
        case WM_SYSCHAR: {
            wchar_t key = static_cast<wchar_t>(message.WParam);
            if (preview) preview->KeyPress(key);
            if (key) KeyPress(key);
            if (!key) return;
            message.WParam = key;
            break;
        }
        default:
            break;
    }
    DefaultHandler(message);
}

// --- messages --------------------------------------------------------------------------------

bool TWinControl::ReflectNotification(TMessage& message) {
    HWND child = nullptr;
    switch (message.Msg) {
        case WM_COMMAND:
        case WM_HSCROLL:
        case WM_VSCROLL:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORSCROLLBAR:
            child = reinterpret_cast<HWND>(message.LParam);
            break;
        case WM_NOTIFY:
            child = reinterpret_cast<NMHDR*>(message.LParam)->hwndFrom;
            break;
        case WM_DRAWITEM:
            if (message.WParam != 0) {
                child = reinterpret_cast<DRAWITEMSTRUCT*>(message.LParam)->hwndItem;
            }
            break;
        default:
            break;
    }
    TWinControl* target = FromHandle(child);
    if (!target || target == this) return false;
    message.Result = target->Perform(CN_BASE + message.Msg, message.WParam, message.LParam);
    return true;
}

bool TWinControl::SetCursorForPoint() {
    POINT p{};
    GetCursorPos(&p);
    ::ScreenToClient(handle_, &p);
    TControl* target = ControlAtPos(p, false);
    TCursor cursor = target ? target->Cursor() : crDefault;
    if (cursor == crDefault) cursor = Cursor();
    if (cursor == crDefault) return false;
    ::SetCursor(CursorHandle(cursor));
    return true;
}

void TWinControl::TrackMouse(TMessage& message) {
    if (!trackingLeave_) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, handle_, 0};
        trackingLeave_ = TrackMouseEvent(&track) != FALSE;
    }
    const POINT p{static_cast<short>(LOWORD(message.LParam)),
                  static_cast<short>(HIWORD(message.LParam))};
    const RECT client = ClientRect();
    TControl* hover = nullptr;
    if (PtInRect(&client, p)) {
        hover = ControlAtPos(p, false);
        if (!hover) hover = this;
    }
    Application().SetMouseControl(hover);
}

void TWinControl::RouteMouseToChild(TMessage& message, bool& handled) {
    handled = false;
    const POINT p{static_cast<short>(LOWORD(message.LParam)),
                  static_cast<short>(HIWORD(message.LParam))};
    TControl* target = captureControl_ ? captureControl_ : ControlAtPos(p, false);
    if (!target) return;
    handled = true;
    if (IsButtonDown(message.Msg) && (target->ControlStyle() & csCaptureMouse)) {
        captureControl_ = target;
        SetCapture(handle_);
    }
    const bool release = IsButtonUp(message.Msg) && NoButtonHeld(message.WParam);
    if (release) captureControl_ = nullptr;
    CaptureRelease releaseAtEnd(handle_, release);
    target->Perform(message.Msg, message.WParam,
                    MAKELPARAM(p.x - target->Left(), p.y - target->Top()));
}

void TWinControl::WndProc(TMessage& message) {
    const UINT msg = message.Msg;
    if (IsMouseMessage(msg)) {
        if (msg == WM_MOUSEMOVE) TrackMouse(message);
        bool handled = false;
        RouteMouseToChild(message, handled);
        if (handled) return;
        const bool ownCapture = !IsSubclassedSystemWindow() && (ControlStyle() & csCaptureMouse);
        if (ownCapture && IsButtonDown(msg)) SetCapture(handle_);
        CaptureRelease releaseAtEnd(handle_,
                                    ownCapture && IsButtonUp(msg) && NoButtonHeld(message.WParam));
        TControl::WndProc(message);
        return;
    }
    switch (msg) {
        case WM_PAINT:
            if (!IsSubclassedSystemWindow()) {
                PaintHandler(message);
                return;
            }
            break;
        case WM_PRINTCLIENT:
            if (!IsSubclassedSystemWindow()) {
                PaintWindow(reinterpret_cast<HDC>(message.WParam));
                return;
            }
            break;
        case WM_ERASEBKGND:
            if (!IsSubclassedSystemWindow()) {
                message.Result = 1;  // WM_PAINT draws the whole face
                return;
            }
            break;
        case WM_WINDOWPOSCHANGED:
            DefaultHandler(message);
            UpdateBoundsFromWindow();
            return;
        case WM_MOUSELEAVE: {
            trackingLeave_ = false;
            TControl* current = Application().MouseControl();
            if (current &&
                (current == this || (current->Parent() == this && !current->IsWindowed()))) {
                Application().SetMouseControl(nullptr);
            }
            return;
        }
        case WM_SETCURSOR:
            if (reinterpret_cast<HWND>(message.WParam) == handle_ &&
                LOWORD(message.LParam) == HTCLIENT && SetCursorForPoint()) {
                message.Result = TRUE;
                return;
            }
            break;
        case WM_SETFOCUS:
            DefaultHandler(message);
            if (TForm* form = ParentForm(); form && form != this) form->activeControl_ = this;
            DoEnter();
            return;
        case WM_KILLFOCUS:
            DefaultHandler(message);
            DoExit();
            return;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
        case WM_KEYUP:
        case WM_SYSKEYUP:
        case WM_CHAR:
        case WM_SYSCHAR:
            HandleKeyMessage(message);
            return;
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_DRAWITEM:
        case WM_HSCROLL:
        case WM_VSCROLL:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORSCROLLBAR:
            if (ReflectNotification(message)) return;
            break;
        case CN_CTLCOLOREDIT:
        case CN_CTLCOLORSTATIC:
        case CN_CTLCOLORBTN:
        case CN_CTLCOLORLISTBOX:
        case CN_CTLCOLORSCROLLBAR: {
            const HDC dc = reinterpret_cast<HDC>(message.WParam);
            SetTextColor(dc, ColorToRGB(Font().Color()));
            SetBkColor(dc, ColorToRGB(Color()));
            message.Result = reinterpret_cast<LRESULT>(ColorBrush());
            return;
        }
        case CM_DIALOGCHAR:
        case CM_DIALOGKEY:
            TControl::WndProc(message);
            if (message.Result == 0) Broadcast(message);
            return;
        default:
            break;
    }
    TControl::WndProc(message);
}

}  // namespace qv
