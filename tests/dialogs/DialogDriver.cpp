#include "DialogDriver.h"

#include <gtest/gtest.h>

#include <vector>

namespace qv::test {

namespace {

struct FindRequest {
    const std::wstring* caption;
    HWND found = nullptr;
};

BOOL CALLBACK MatchCaption(HWND window, LPARAM param) {
    auto* request = reinterpret_cast<FindRequest*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != GetCurrentProcessId() || !IsWindowVisible(window)) return TRUE;
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    if (*request->caption != text) return TRUE;
    request->found = window;
    return FALSE;
}

HWND FindDialog(const std::wstring& caption) {
    FindRequest request{&caption};
    EnumWindows(MatchCaption, reinterpret_cast<LPARAM>(&request));
    return request.found;
}

void SendMouse(DWORD flags, POINT screen) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof input);
}

void SendKey(WORD key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof input);
}

bool InMoveLoop(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) &&
           (info.flags & GUI_INMOVESIZE) != 0;
}

}  // namespace

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds deadline) {
    const auto end = std::chrono::steady_clock::now() + deadline;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) return false;
        Sleep(10);
    }
    return true;
}

HWND WaitForDialog(const std::wstring& caption, std::chrono::milliseconds deadline) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            found = FindDialog(caption);
            return found && IsWindowEnabled(found);
        },
        deadline);
    return found && IsWindowEnabled(found) ? found : nullptr;
}

bool DialogShowing(const std::wstring& caption) {
    return FindDialog(caption) != nullptr;
}

POINT ClientToScreenPoint(HWND window, POINT client) {
    ClientToScreen(window, &client);
    return client;
}

RECT WindowRectOf(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

void MoveMouse(HWND window, POINT client) {
    SendMouse(MOUSEEVENTF_MOVE, ClientToScreenPoint(window, client));
}

void Click(HWND window, POINT client, bool rightButton) {
    const POINT screen = ClientToScreenPoint(window, client);
    SendMouse(MOUSEEVENTF_MOVE, screen);
    SendMouse(rightButton ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN, screen);
    SendMouse(rightButton ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP, screen);
}

void PressKey(WORD virtualKey) {
    PressKeys({virtualKey});
}

void PressKeys(std::initializer_list<WORD> chord) {
    for (WORD key : chord) {
        SendKey(key, false);
    }
    for (auto it = std::rbegin(chord); it != std::rend(chord); ++it) {
        SendKey(*it, true);
    }
}

void Drag(HWND window, POINT from, int dx, int dy, bool startsMoveLoop) {
    POINT at = ClientToScreenPoint(window, from);
    SendMouse(MOUSEEVENTF_MOVE, at);
    SendMouse(MOUSEEVENTF_LEFTDOWN, at);
    // The moves belong to the system's move loop, which the press starts.
    if (startsMoveLoop) WaitUntil([&] { return InMoveLoop(window); }, 3s);
    constexpr int kSteps = 8;
    for (int i = 1; i <= kSteps; ++i) {
        SendMouse(MOUSEEVENTF_MOVE, {at.x + dx * i / kSteps, at.y + dy * i / kSteps});
    }
    SendMouse(MOUSEEVENTF_LEFTUP, {at.x + dx, at.y + dy});
    WaitUntil([&] { return !InMoveLoop(window); }, 3s);
}

int RunDriven(const std::function<int()>& show, const std::wstring& caption,
              const std::function<void()>& drive) {
    std::thread driver([&] {
        drive();
        if (!WaitUntil([&] { return !DialogShowing(caption); })) {
            ADD_FAILURE() << "the dialog was still open after the test's steps";
            PostMessageW(FindDialog(caption), WM_CLOSE, 0, 0);
        }
    });
    const int result = show();
    driver.join();
    return result;
}

}  // namespace qv::test
