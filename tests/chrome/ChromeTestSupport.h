// Shared pieces of the window chrome tests: waiting on conditions while messages run, a
// borderless host form with a shadow, and reading pixels back.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>

#include "controls/FormShadow.h"
#include "ui/Application.h"
#include "ui/Bitmap.h"
#include "ui/Form.h"

namespace qv::test {

// Pumps messages until condition holds or timeoutMs passes; answers the final condition.
inline bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 5000) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (!condition()) {
        if (GetTickCount64() >= deadline) return false;
        Application().ProcessMessages();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

inline RECT WindowRect(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

inline bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// The first visible window below window in the z-order (hidden helper windows are skipped).
inline HWND NextVisibleBelow(HWND window) {
    HWND next = GetWindow(window, GW_HWNDNEXT);
    while (next && !IsWindowVisible(next)) next = GetWindow(next, GW_HWNDNEXT);
    return next;
}

// A borderless form that owns a shadow the way the program's windows do: created and attached
// at creation, switched on when shown.
class ShadowedForm : public TForm {
public:
    ShadowedForm(TComponent* owner, int left, int top, int width, int height) : TForm(owner) {
        SetScaled(false);
        SetBounds(left, top, width, height);
        SetColor(RGBColor(0x2B, 0x8F, 0xD8));
        shadow = new TFormShadow(this);
        OnShow = [this](TComponent*) { shadow->SetShadowVisible(true); };
    }
    void DoCreate() override {
        TForm::DoCreate();
        shadow->AttachForm(this);
    }
    TFormShadow* shadow = nullptr;
};

// The layered shadow is shown, sized for the form and placed around it.
inline bool ShadowSurrounds(ShadowedForm& form) {
    if (!form.shadow->HandleAllocated() || !IsWindowVisible(form.shadow->Handle())) return false;
    const RECT f = WindowRect(form.Handle()), s = WindowRect(form.shadow->Handle());
    return s.left == f.left - 16 && s.top == f.top - 16 && s.right == f.right + 16 &&
           s.bottom == f.bottom + 16;
}

// Alpha of the shadow image's pixel (x, y).
inline int ShadowAlpha(const TFormShadow& shadow, int x, int y) {
    const std::uint8_t* row = shadow.ShadowBitmap().ScanLine(y);
    return row ? row[4 * x + 3] : -1;
}

}  // namespace qv::test
