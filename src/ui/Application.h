// The application object: title, main form, the message loop and the pump used while long work
// runs on the user-interface thread.
//
// A quit request (Terminate, or WM_QUIT picked up by any pump, nested or not) is remembered in
// Terminated(): modal loops end at once with mrCancel, ProcessMessages returns, and Run returns
// when control is back in it.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <utility>

#include "ui/Component.h"
#include "ui/Form.h"

namespace qv {

class TApplication : public TComponent {
public:
    TApplication();
    ~TApplication() override;

    const std::wstring& Title() const { return title_; }
    // Also the taskbar text of the main form.
    void SetTitle(const std::wstring& title);

    TForm* MainForm() const { return mainForm_; }
    // Creates a form owned by the application; the first one becomes the main form.
    template <class F, class... Args>
    F* CreateForm(Args&&... args) {
        F* form = new F(this, std::forward<Args>(args)...);
        if (!mainForm_) mainForm_ = form;
        form->AfterConstruction();
        return form;
    }
    void SetMainForm(TForm* form) { mainForm_ = form; }
    bool ShowMainForm() const { return showMainForm_; }
    void SetShowMainForm(bool on) { showMainForm_ = on; }

    // Shows the main form and handles messages until the application is terminated or the main
    // form is gone.
    void Run();
    // Handles every pending message, then returns (at once when a quit request arrives).
    void ProcessMessages();
    // Handles one message, waiting for one when none is pending.
    void HandleMessage();
    // Asks the application to end (posts the quit request).
    void Terminate();
    bool Terminated() const { return terminated_; }

    void Minimize();
    void Restore();

    // Instance handle for resources.
    HINSTANCE Instance() const { return GetModuleHandleW(nullptr); }

    // Window-less controls under the mouse get CM_MOUSEENTER / CM_MOUSELEAVE through here.
    TControl* MouseControl() const { return mouseControl_; }
    void SetMouseControl(TControl* control);

    // The hidden window that receives WM_TIMER for TTimer objects.
    HWND TimerWindow();

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TControl;
    // Takes one message off the queue; false when none was pending.
    bool ProcessMessage();
    bool IsDialogMessage(MSG& msg);
    void ControlDestroyed(TControl* control);

    std::wstring title_;
    TForm* mainForm_ = nullptr;
    bool showMainForm_ = true;
    bool terminated_ = false;
    TControl* mouseControl_ = nullptr;
    ScopedWindow timerWindow_;
};

// The one application object of the program.
TApplication& Application();

}  // namespace qv
