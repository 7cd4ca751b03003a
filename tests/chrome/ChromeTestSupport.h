// Shared pieces of the window chrome tests: waiting on conditions while messages run, a
// borderless host form with a shadow, and reading pixels back.
#pragma once

#include <windows.h>

#include <algorithm>
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

// Real input through the system's input queue.
inline void MoveMouseTo(POINT screen) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = MulDiv(screen.x, 65536, GetSystemMetrics(SM_CXSCREEN)) + 1;
    in.mi.dy = MulDiv(screen.y, 65536, GetSystemMetrics(SM_CYSCREEN)) + 1;
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &in, sizeof in);
}

inline void MouseButton(DWORD flags) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    SendInput(1, &in, sizeof in);
}

inline void Key(WORD vk, bool down) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &in, sizeof in);
}

// The centre of a control in screen coordinates.
inline POINT CentreOf(const TControl& control) {
    return control.ClientToScreen({control.Width() / 2, control.Height() / 2});
}

// What a window shows, read back from its own device context.
class WindowImage {
public:
    explicit WindowImage(HWND window) {
        RECT r{};
        GetClientRect(window, &r);
        image_.SetSize(r.right, r.bottom);
        ScopedGetDC dc(window);
        BitBlt(image_.Canvas().Handle(), 0, 0, r.right, r.bottom, dc.get(), 0, 0, SRCCOPY);
        GdiFlush();
    }
    int Width() const { return image_.Width(); }
    int Height() const { return image_.Height(); }
    // The pixel as a TColor (red in the lowest byte).
    TColor At(int x, int y) const {
        const std::uint8_t* row = image_.ScanLine(y);
        if (!row || x < 0 || x >= image_.Width()) return clNone;
        return RGBColor(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
    }
    // The smallest rectangle holding every pixel that matches.
    RECT BoundsOf(const std::function<bool(TColor)>& match) const {
        RECT r{Width(), Height(), -1, -1};
        for (int y = 0; y < Height(); ++y) {
            for (int x = 0; x < Width(); ++x) {
                if (!match(At(x, y))) continue;
                r.left = std::min<LONG>(r.left, x);
                r.top = std::min<LONG>(r.top, y);
                r.right = std::max<LONG>(r.right, x + 1);
                r.bottom = std::max<LONG>(r.bottom, y + 1);
            }
        }
        return r;
    }
    bool Contains(TColor colour) const {
        return BoundsOf([colour](TColor c) { return c == colour; }).right >= 0;
    }

private:
    TBitmap image_;
};

// A plain borderless form for holding controls under test.
class HostForm : public TForm {
public:
    HostForm(TComponent* owner, int left, int top, int width, int height) : TForm(owner) {
        SetScaled(false);
        SetBounds(left, top, width, height);
        SetColor(clWhite);
    }
};

// Shows the form in front so that it takes real mouse and keyboard input.
inline bool ShowInFront(TForm& form) {
    form.Show();
    SetForegroundWindow(form.Handle());
    return WaitUntil([&] { return GetForegroundWindow() == form.Handle(); });
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
