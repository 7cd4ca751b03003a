// Shared by the input control tests: waiting on the message loop with a deadline and reading
// back what a window shows.
#pragma once

#include <windows.h>

#include <functional>

#include "ui/Application.h"
#include "ui/Color.h"

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

// Handles whatever is queued now (posted keys, paints).
inline void Pump() {
    for (int i = 0; i < 3; ++i) Application().ProcessMessages();
}

// The pixel the window shows, read back from its own device context.
inline TColor WindowPixel(HWND window, int x, int y) {
    HDC dc = GetDC(window);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return c == CLR_INVALID ? clNone : static_cast<TColor>(c);
}

}  // namespace qv::test
