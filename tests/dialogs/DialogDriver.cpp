#include "DialogDriver.h"

#include "ShadowFinder.h"

#include <gtest/gtest.h>

#include <vector>

#include "ui/Application.h"
#include "ui/Form.h"

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
    // Read without a message: the window's thread may be waiting for this one.
    InternalGetWindowText(window, text, 256);
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

// Waits until a press at the screen point would reach window: its shadow, which shows a moment
// after it, is in place, and nothing but the two lies above the point. (The shadow lets the
// mouse through to the window; asked from another thread, WindowFromPoint cannot see that.)
void WaitUntilOnTopAt(HWND window, POINT screen) {
    WaitUntil(
        [&] {
            const HWND shadow = FindShadowOf(window);
            const HWND top = GetAncestor(WindowFromPoint(screen), GA_ROOT);
            return shadow && (top == window || top == shadow);
        },
        3s);
}

// Input is given to its window when it is queued: while a control still holds the mouse from
// the last click, the next one would go to that control. Waits until the mouse is free.
void WaitUntilMouseFree(HWND window) {
    WaitUntil(
        [&] {
            GUITHREADINFO info{};
            info.cbSize = sizeof info;
            return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) &&
                   info.hwndCapture == nullptr;
        },
        3s);
}

bool InMoveLoop(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) &&
           (info.flags & GUI_INMOVESIZE) != 0;
}

void ClickAtScreen(POINT screen) {
    SendMouse(MOUSEEVENTF_MOVE, screen);
    SendMouse(MOUSEEVENTF_LEFTDOWN, screen);
    SendMouse(MOUSEEVENTF_LEFTUP, screen);
}

// Under Wine on a display without a window manager, the first clicks on a new program's first
// windows can be lost while its display connection settles. Before its first test, each test
// program clicks a plain window until a click arrives.
class ClicksArrive : public testing::Environment {
public:
    void SetUp() override {
        const std::wstring caption = L"QvClickProbe";
        auto probe = MakeForm<TForm>(nullptr);
        probe->SetCaption(caption);
        probe->SetBounds(100, 100, 200, 120);
        probe->OnClick = [&probe](TComponent*) { probe->SetModalResult(mrOk); };
        bool arrived = false;
        RunDriven([&probe] { return probe->ShowModal(); }, caption,
                  [&] {
                      const HWND window = WaitForDialog(caption);
                      for (int attempt = 0; window && attempt < 40 && !arrived; ++attempt) {
                          ClickAtScreen(ClientToScreenPoint(window, {100, 60}));
                          arrived = WaitUntil([&] { return !DialogShowing(caption); }, 250ms);
                      }
                  });
        ASSERT_TRUE(arrived) << "no click reached a window of this program";
    }
};

const testing::Environment* const kClicksArrive =
    testing::AddGlobalTestEnvironment(new ClicksArrive);

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
            return found && IsWindowEnabled(found) && GetForegroundWindow() == found;
        },
        deadline);
    return found && IsWindowEnabled(found) && GetForegroundWindow() == found ? found : nullptr;
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
    const POINT screen = ClientToScreenPoint(window, client);
    WaitUntilMouseFree(window);
    WaitUntilOnTopAt(window, screen);
    SendMouse(MOUSEEVENTF_MOVE, screen);
}

void Click(HWND window, POINT client, bool rightButton) {
    const POINT screen = ClientToScreenPoint(window, client);
    WaitUntilMouseFree(window);
    WaitUntilOnTopAt(window, screen);
    SendMouse(MOUSEEVENTF_MOVE, screen);
    // A press sent before the pointer has arrived may land where the pointer was last seen.
    WaitUntil([&] {
        POINT now{};
        return GetCursorPos(&now) && now.x == screen.x && now.y == screen.y;
    });
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
    WaitUntilMouseFree(window);
    WaitUntilOnTopAt(window, at);
    const RECT start = WindowRectOf(window);
    SendMouse(MOUSEEVENTF_MOVE, at);
    SendMouse(MOUSEEVENTF_LEFTDOWN, at);
    // The moves belong to the system's move loop, which the press starts.
    if (startsMoveLoop) WaitUntil([&] { return InMoveLoop(window); }, 3s);
    constexpr int kSteps = 8;
    for (int i = 1; i <= kSteps; ++i) {
        const POINT step{at.x + dx * i / kSteps, at.y + dy * i / kSteps};
        SendMouse(MOUSEEVENTF_MOVE, step);
        if (!startsMoveLoop) continue;
        // The move loop may drop a move that arrives while it is busy: wait until the window has
        // followed each step, nudging the pointer again when it has not.
        const auto arrived = [&] {
            const RECT now = WindowRectOf(window);
            return now.left - start.left == step.x - at.x && now.top - start.top == step.y - at.y;
        };
        for (int attempt = 0; attempt < 3 && !WaitUntil(arrived, 1s); ++attempt) {
            SendMouse(MOUSEEVENTF_MOVE, {step.x + 1, step.y + 1});
            SendMouse(MOUSEEVENTF_MOVE, step);
        }
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
