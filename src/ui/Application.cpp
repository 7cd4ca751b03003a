#include "ui/Application.h"

#include <exception>
#include <string>

#include "ui/Timer.h"
#include "ui/WinControl.h"

namespace qv {
namespace {

LRESULT CALLBACK TimerWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_TIMER) {
        try {
            TTimer::Dispatch(wParam);
        } catch (const std::exception& e) {
            const std::string text = std::string("[TTimer.Timer] ") + e.what() + "\n";
            OutputDebugStringA(text.c_str());
        } catch (...) {
            OutputDebugStringA("[TTimer.Timer] unknown exception\n");
        }
        return 0;
    }
    return DefWindowProcW(window, msg, wParam, lParam);
}

// The toolkit control a keyboard message is for: the focus window or its nearest toolkit
// ancestor (a system control inside a toolkit control).
TWinControl* KeyTarget(HWND window) {
    for (HWND w = window; w; w = GetParent(w)) {
        if (TWinControl* control = TWinControl::FromHandle(w)) return control;
    }
    return nullptr;
}

UINT DialogCodeMask(WPARAM key) {
    switch (key) {
        case VK_TAB:
            return DLGC_WANTTAB;
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
            return DLGC_WANTARROWS;
        case VK_RETURN:
        case VK_EXECUTE:
        case VK_ESCAPE:
        case VK_CANCEL:
            return DLGC_WANTALLKEYS;
        default:
            return 0;
    }
}

}  // namespace

TApplication& Application() {
    static TApplication application;
    return application;
}

TApplication::TApplication() : TComponent(nullptr) {}

TApplication::~TApplication() {
    // Forms and timers go while the application's own members are still alive.
    BeginDestruction();
    DestroyComponents();
}

void TApplication::SetTitle(const std::wstring& title) {
    title_ = title;
    if (mainForm_ && mainForm_->HandleAllocated() && mainForm_->TControl::Caption().empty()) {
        SetWindowTextW(mainForm_->Handle(), title.c_str());
    }
}

void TApplication::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == mainForm_) mainForm_ = nullptr;
}

void TApplication::Run() {
    if (mainForm_ && showMainForm_) mainForm_->Show();
    while (!terminated_ && mainForm_) HandleMessage();
}

bool TApplication::IsDialogMessage(MSG& msg) {
    const bool keyDown = msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN;
    const bool character = msg.message == WM_CHAR || msg.message == WM_SYSCHAR;
    if (!keyDown && !character) return false;
    TWinControl* control = KeyTarget(msg.hwnd);
    TForm* form = control ? control->ParentForm() : nullptr;
    if (!form) return false;
    if (keyDown) {
        const UINT mask = DialogCodeMask(msg.wParam);
        if (mask == 0) return false;
        const LRESULT code =
            SendMessageW(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg));
        if (code & mask) return false;
        return form->Perform(CM_DIALOGKEY, msg.wParam, msg.lParam) != 0;
    }
    if (msg.message == WM_CHAR) {
        const LRESULT code =
            SendMessageW(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg));
        if (code & DLGC_WANTCHARS) return false;
    }
    return form->Perform(CM_DIALOGCHAR, msg.wParam, msg.lParam) != 0;
}

bool TApplication::ProcessMessage() {
    MSG msg{};
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
    if (msg.message == WM_QUIT) {
        terminated_ = true;
        return true;
    }
    if (!IsDialogMessage(msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return true;
}

void TApplication::ProcessMessages() {
    while (!terminated_ && ProcessMessage()) {
    }
}

void TApplication::HandleMessage() {
    if (terminated_) return;
    if (!ProcessMessage()) WaitMessage();
}

void TApplication::Terminate() {
    if (terminated_) return;
    terminated_ = true;
    PostQuitMessage(0);
}

void TApplication::Minimize() {
    if (mainForm_ && mainForm_->HandleAllocated()) ShowWindow(mainForm_->Handle(), SW_MINIMIZE);
}

void TApplication::Restore() {
    if (mainForm_ && mainForm_->HandleAllocated()) ShowWindow(mainForm_->Handle(), SW_RESTORE);
}

void TApplication::SetMouseControl(TControl* control) {
    if (control == mouseControl_) return;
    TControl* previous = mouseControl_;
    mouseControl_ = control;
    if (previous) previous->Perform(CM_MOUSELEAVE);
    if (control && mouseControl_ == control) control->Perform(CM_MOUSEENTER);
}

void TApplication::ControlDestroyed(TControl* control) {
    if (mouseControl_ == control) mouseControl_ = nullptr;
    if (mainForm_ == control) mainForm_ = nullptr;
}

HWND TApplication::TimerWindow() {
    if (!timerWindow_) {
        const HINSTANCE instance = GetModuleHandleW(nullptr);
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = TimerWindowProc;
        wc.hInstance = instance;
        wc.lpszClassName = L"QvTimerWindow";
        WNDCLASSEXW existing{};
        existing.cbSize = sizeof existing;
        if (!GetClassInfoExW(instance, wc.lpszClassName, &existing)) RegisterClassExW(&wc);
        timerWindow_.reset(CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                           nullptr, instance, nullptr));
    }
    return timerWindow_.get();
}

}  // namespace qv
