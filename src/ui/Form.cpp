#include "ui/Form.h"

#include <vector>

#include "ui/Application.h"

namespace qv {
namespace {

int ScreenPixelsPerInch() {
    ScopedGetDC screen(nullptr);
    return screen ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 96;
}

struct DisabledWindows {
    HWND keep;
    std::vector<HWND> windows;
};

BOOL CALLBACK DisableWindow(HWND window, LPARAM param) {
    auto* state = reinterpret_cast<DisabledWindows*>(param);
    if (window != state->keep && IsWindowVisible(window) && IsWindowEnabled(window)) {
        EnableWindow(window, FALSE);
        state->windows.push_back(window);
    }
    return TRUE;
}

}  // namespace

TForm::TForm(TComponent* owner) : TCustomControl(owner) {
    visible_ = false;
    parentFont_ = false;
    SetControlStyle(csAcceptsControls | csClickEvents | csSetCaption | csDoubleClicks);
    SetColor(clBtnFace);
}

TForm::~TForm() {
    BeginDestruction();
    if (OnDestroy) OnDestroy(this);
    DestroyComponents();
    DestroyChildren();
    WindowProc = [this](TMessage& message) { TForm::WndProc(message); };
    DestroyHandle();
}

void TForm::AfterConstruction() {
    if (created_) return;
    created_ = true;
    ScaleToScreen();
    DoCreate();
}

void TForm::ScaleToScreen() {
    if (!scaled_) return;
    const int screen = ScreenPixelsPerInch();
    if (screen == pixelsPerInch_ || pixelsPerInch_ <= 0) return;
    // The client size, the children and the fonts follow the text size; the designed screen
    // position stays where it was designed.
    DisableAlign();
    Font().SetHeight(MulDiv(Font().Height(), screen, pixelsPerInch_));  // handed down as well
    for (int i = 0; i < ControlCount(); ++i) Controls(i)->ChangeScale(screen, pixelsPerInch_);
    SetBounds(Left(), Top(), MulDiv(Width(), screen, pixelsPerInch_),
              MulDiv(Height(), screen, pixelsPerInch_));
    EnableAlign();
    pixelsPerInch_ = screen;
}

void TForm::DoCreate() {
    if (OnCreate) OnCreate(this);
}

void TForm::DoShow() {
    if (OnShow) OnShow(this);
}

void TForm::DoHide() {
    if (OnHide) OnHide(this);
}

void TForm::DoClose(TCloseAction& action) {
    if (OnClose) OnClose(this, action);
}

bool TForm::CloseQuery() {
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(this, canClose);
    return canClose;
}

void TForm::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.Caption = TControl::Caption().empty() ? Application().Title() : TControl::Caption();
    // No border, no caption bar, no system menu (Wine treats a popup with one as a window
    // manager's window and then waits seconds for it to hide); the minimise box lets the taskbar
    // minimise it.
    params.Style = WS_POPUP | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_MINIMIZEBOX;
    if (!Enabled()) params.Style |= WS_DISABLED;
    params.ExStyle = 0;
    if (formStyle_ == fsStayOnTop) params.ExStyle |= WS_EX_TOPMOST;
    if (transparentColor_ || alphaBlend_) params.ExStyle |= WS_EX_LAYERED;
    TForm* mainForm = Application().MainForm();
    params.WndParent = (mainForm && mainForm != this && mainForm->HandleAllocated())
                           ? mainForm->Handle()
                           : nullptr;
    params.WinClassName = L"QvForm";
}

void TForm::Paint() {
    if (OnPaint) OnPaint(this);
}

void TForm::SetFormStyle(TFormStyle style) {
    if (style == formStyle_) return;
    formStyle_ = style;
    if (HandleAllocated()) {
        SetWindowPos(Handle(), style == fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

void TForm::SetTransparentColor(bool on) {
    transparentColor_ = on;
    ApplyLayering();
}

void TForm::SetTransparentColorValue(TColor color) {
    transparentColorValue_ = color;
    ApplyLayering();
}

void TForm::SetAlphaBlend(bool on) {
    alphaBlend_ = on;
    ApplyLayering();
}

void TForm::SetAlphaBlendValue(BYTE value) {
    alphaBlendValue_ = value;
    ApplyLayering();
}

void TForm::ApplyLayering() {
    if (!HandleAllocated()) return;
    const HWND window = Handle();
    LONG exStyle = GetWindowLongW(window, GWL_EXSTYLE);
    if (transparentColor_ || alphaBlend_) {
        SetWindowLongW(window, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
        const DWORD flags = (transparentColor_ ? LWA_COLORKEY : 0) | (alphaBlend_ ? LWA_ALPHA : 0);
        SetLayeredWindowAttributes(window, ColorToRGB(transparentColorValue_),
                                   alphaBlend_ ? alphaBlendValue_ : 255, flags);
    } else if (exStyle & WS_EX_LAYERED) {
        SetWindowLongW(window, GWL_EXSTYLE, exStyle & ~WS_EX_LAYERED);
    }
}

bool TForm::Showing() const {
    return Visible() && HandleAllocated();
}

POINT TForm::ClientOrigin() const {
    if (HandleAllocated()) return TWinControl::ClientOrigin();
    return {Left(), Top()};
}

bool TForm::Active() const {
    return HandleAllocated() && GetActiveWindow() == handle_;
}

void TForm::SetVisible(bool visible) {
    if (visible == Visible()) return;
    visible_ = visible;
    Perform(CM_SHOWINGCHANGED);
}

void TForm::ShowingChanged() {
    if (Visible()) {
        if (!Handle()) {
            visible_ = false;
            return;
        }
        ApplyLayering();
        PlaceAtFirstShow();
        DoShow();
        if (!Visible() || !HandleAllocated()) return;  // the show handler hid or destroyed it
        ShowWindow(handle_, SW_SHOWNORMAL);
        SetForegroundWindow(handle_);
    } else {
        DoHide();
        if (HandleAllocated()) ShowWindow(handle_, SW_HIDE);
    }
}

void TForm::PlaceAtFirstShow() {
    if (placed_) return;
    placed_ = true;
    int left = Left(), top = Top();
    switch (position_) {
        case poScreenCenter:
            left = (GetSystemMetrics(SM_CXSCREEN) - Width()) / 2;
            top = (GetSystemMetrics(SM_CYSCREEN) - Height()) / 2;
            break;
        case poDesktopCenter: {
            RECT work{};
            SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
            left = work.left + (work.right - work.left - Width()) / 2;
            top = work.top + (work.bottom - work.top - Height()) / 2;
            break;
        }
        case poMainFormCenter:
            if (TForm* main = Application().MainForm(); main && main != this) {
                left = main->Left() + (main->Width() - Width()) / 2;
                top = main->Top() + (main->Height() - Height()) / 2;
            }
            break;
        case poDesigned:
            break;
    }
    SetBounds(left, top, Width(), Height());
}

void TForm::Close() {
    if (modal_) {
        modalResult_ = mrCancel;
        return;
    }
    if (!CloseQuery()) return;
    TCloseAction action = caHide;
    DoClose(action);
    switch (action) {
        case caNone:
            return;
        case caMinimize:
            if (HandleAllocated()) ShowWindow(handle_, SW_MINIMIZE);
            return;
        case caHide:
        case caFree:
            break;
    }
    if (Application().MainForm() == this) {
        Application().Terminate();
    } else if (action == caHide) {
        Hide();
    } else {
        Release();
    }
}

void TForm::Release() {
    if (HandleAllocated()) PostMessageW(handle_, CM_RELEASE, 0, 0);
}

void TForm::SetActiveControl(TWinControl* control) {
    activeControl_ = control;
    if (control && Active() && control->CanFocus()) ::SetFocus(control->Handle());
}

void TForm::FocusFirstControl() {
    if (TWinControl* first = FindNextControl(nullptr, true, true, false)) {
        ::SetFocus(first->Handle());
    }
}

void TForm::ActiveChanged(bool active) {
    if (active && OnActivate) OnActivate(this);
    if (!active && OnDeactivate) OnDeactivate(this);
}

TModalResult TForm::ShowModal() {
    if (modal_ || Visible() || Application().Terminated()) return mrCancel;
    if (!Handle()) return mrCancel;
    const HWND previouslyActive = GetActiveWindow();
    if (GetCapture()) ReleaseCapture();

    DisabledWindows disabled{handle_, {}};
    EnumThreadWindows(GetCurrentThreadId(), DisableWindow, reinterpret_cast<LPARAM>(&disabled));
    modal_ = true;
    modalResult_ = mrNone;
    Show();
    while (true) {
        if (Application().Terminated()) {
            modalResult_ = mrCancel;
            break;
        }
        if (!HandleAllocated() || !Visible()) {
            if (modalResult_ == mrNone) modalResult_ = mrCancel;
            break;
        }
        if (modalResult_ != mrNone) {
            TCloseAction action = caHide;
            if (CloseQuery())
                DoClose(action);
            else
                action = caNone;
            if (action != caNone) break;
            modalResult_ = mrNone;
        }
        Application().HandleMessage();
    }
    // Enable the others before hiding, so that the system activates one of them.
    for (HWND window : disabled.windows) {
        if (IsWindow(window)) EnableWindow(window, TRUE);
    }
    modal_ = false;
    Hide();
    if (previouslyActive && IsWindow(previouslyActive)) SetActiveWindow(previouslyActive);
    return modalResult_;
}

void TForm::WndProc(TMessage& message) {
    switch (message.Msg) {
        case CM_SHOWINGCHANGED:
            ShowingChanged();
            return;
        case WM_CLOSE:
            Close();
            return;
        case CM_RELEASE:
            delete this;
            return;
        case WM_ACTIVATE: {
            const bool active = LOWORD(message.WParam) != WA_INACTIVE;
            ActiveChanged(active);
            if (active && !HIWORD(message.WParam)) {
                if (activeControl_ && activeControl_->CanFocus() && activeControl_->Handle()) {
                    ::SetFocus(activeControl_->Handle());
                    return;
                }
                if (FindNextControl(nullptr, true, true, false)) {
                    FocusFirstControl();
                    return;
                }
            }
            break;
        }
        case CM_DIALOGKEY: {
            const WORD key = static_cast<WORD>(message.WParam);
            const bool ctrlOrAlt = GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0;
            if (key == VK_TAB && !ctrlOrAlt) {
                SelectNext(activeControl_, GetKeyState(VK_SHIFT) >= 0, true);
                message.Result = 1;
                return;
            }
            if ((key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN) &&
                activeControl_ && activeControl_->Parent()) {
                activeControl_->Parent()->SelectNext(activeControl_,
                                                     key == VK_RIGHT || key == VK_DOWN, false);
                message.Result = 1;
                return;
            }
            break;
        }
        default:
            break;
    }
    TCustomControl::WndProc(message);
}

}  // namespace qv
