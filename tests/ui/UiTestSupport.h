// Helpers for tests that drive real windows: waiting for a condition while the message loop
// runs, and reading back what a form shows.
#pragma once

#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>

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

// The form's image as PaintTo draws it (independent of what covers the window on screen).
inline TColor PaintedPixel(TForm& form, int x, int y) {
    TBitmap image(form.Width(), form.Height());
    form.PaintTo(image.Canvas().Handle(), 0, 0);
    GdiFlush();
    const std::uint8_t* row = image.ScanLine(y);
    if (!row || x < 0 || x >= image.Width()) return clNone;
    return RGBColor(row[x * 3 + 2], row[x * 3 + 1], row[x * 3]);
}

// The pixel the window shows, read back from its own device context.
inline TColor WindowPixel(HWND window, int x, int y) {
    ScopedGetDC dc(window);
    const COLORREF c = GetPixel(dc.get(), x, y);
    return c == CLR_INVALID ? clNone : static_cast<TColor>(c);
}

// Runs a command of the host system (through /bin/sh) and waits until it has finished; answers
// whether it finished in time. Under Wine this starts the Unix program itself (xdotool for real
// input). Wine's handle of such a process can be signalled before the program is done and does
// not carry its exit code, so the command leaves a marker file when it ends and callers check
// the command's effect.
inline bool RunHostCommand(const std::wstring& command, DWORD timeoutMs = 10000) {
    static int counter = 0;
    const std::wstring marker = L"/tmp/qv-ui-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                std::to_wstring(++counter) + L".done";
    std::wstring markerWindows = L"Z:" + marker;
    for (wchar_t& c : markerWindows) {
        if (c == L'/') c = L'\\';
    }
    std::wstring line = L"/bin/sh -c \"" + command + L"; : > " + marker + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        std::fprintf(stderr, "cannot start %ls: error %lu\n", line.c_str(), GetLastError());
        return false;
    }
    ScopedKernelHandle processHandle(process.hProcess);
    ScopedKernelHandle threadHandle(process.hThread);
    // Keep handling messages while the command runs: the input it sends is for our windows.
    const bool finished = WaitUntil(
        [&] { return GetFileAttributesW(markerWindows.c_str()) != INVALID_FILE_ATTRIBUTES; },
        timeoutMs);
    DeleteFileW(markerWindows.c_str());
    return finished;
}

// Real input through the X server of the virtual display.
inline bool Xdotool(const std::wstring& arguments) {
    return RunHostCommand(L"xdotool " + arguments);
}

// Where the test last put the pointer (screen coordinates).
inline POINT& PointerPosition() {
    static POINT position{-1, -1};
    return position;
}

// Moves the pointer to a screen point. The first move jumps there; later ones move by the
// difference through the X test extension, as a real mouse does (Wine places a button press
// where it last saw such motion, not where a jump put the pointer).
inline bool MovePointer(POINT to) {
    POINT& from = PointerPosition();
    bool moved;
    if (from.x < 0) {
        moved =
            Xdotool(L"mousemove --sync " + std::to_wstring(to.x) + L" " + std::to_wstring(to.y));
    } else if (to.x == from.x && to.y == from.y) {
        moved = true;
    } else {
        moved = Xdotool(L"mousemove_relative --sync -- " + std::to_wstring(to.x - from.x) + L" " +
                        std::to_wstring(to.y - from.y));
    }
    if (moved) from = to;
    return moved;
}

// Moves the pointer to a client point of a control. Wait for the move to be seen (the control's
// enter event, a mouse move) before pressing a button: Wine places a press where it last
// handled the pointer.
inline bool MoveMouseTo(const TControl& control, int x, int y) {
    return MovePointer(control.ClientToScreen({x, y}));
}

// Waits until the X server shows a top-level window and gives it the X keyboard focus, so that
// pointer and keys sent with xdotool reach it (there is no window manager to do it).
inline bool PrepareForInput(HWND window) {
    const auto xid = reinterpret_cast<ULONG_PTR>(GetPropW(window, L"__wine_x11_whole_window"));
    if (!xid) return false;
    const std::wstring id = std::to_wstring(xid);
    return Xdotool(L"windowmap --sync " + id + L" windowfocus --sync " + id);
}

}  // namespace qv::test
