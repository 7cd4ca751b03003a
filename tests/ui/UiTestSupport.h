// Helpers for tests that drive real windows: waiting for a condition while the message loop
// runs, and reading back what a form shows.
#pragma once

#include <windows.h>

#include <functional>

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

}  // namespace qv::test
