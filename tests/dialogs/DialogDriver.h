// Drives a modal dialog from a second thread with real input (SendInput), while the test's
// thread sits in the dialog's modal loop. Every wait has a deadline.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>

namespace qv::test {

using namespace std::chrono_literals;

inline constexpr std::chrono::milliseconds kWindowDeadline = 10s;

// Polls until condition() holds or the deadline passes; answers whether it held.
bool WaitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds deadline = kWindowDeadline);

// A visible, enabled, foreground top-level window of this process with the given caption; null
// when none
// shows up before the deadline.
HWND WaitForDialog(const std::wstring& caption,
                   std::chrono::milliseconds deadline = kWindowDeadline);
// Whether any visible top-level window of this process has the caption.
bool DialogShowing(const std::wstring& caption);

// Real input at a point of the window's client area (screen position computed from it).
void MoveMouse(HWND window, POINT client);
void Click(HWND window, POINT client, bool rightButton = false);
void PressKey(WORD virtualKey);
void PressKeys(std::initializer_list<WORD> chord);  // e.g. {VK_MENU, VK_F4}
// Presses the left button at from, moves by (dx, dy) in steps, releases. With startsMoveLoop the
// press is expected to start the system's move loop, and the moves wait for it.
void Drag(HWND window, POINT from, int dx, int dy, bool startsMoveLoop = true);

// The window's client point as a screen point, and the window's rectangle.
POINT ClientToScreenPoint(HWND window, POINT client);
RECT WindowRectOf(HWND window);

// Runs show() on this thread while drive() runs on a second thread; answers show()'s result.
// Whatever drive() does, the dialog with the caption is closed when drive() returns with it
// still open, so a failed step cannot leave the test hanging in the modal loop.
int RunDriven(const std::function<int()>& show, const std::wstring& caption,
              const std::function<void()>& drive);

}  // namespace qv::test
