#include "ShadowFinder.h"

namespace qv::test {

namespace {

struct ShadowSearch {
    RECT expected;
    HWND found = nullptr;
};

BOOL CALLBACK MatchShadow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<ShadowSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != GetCurrentProcessId() || !IsWindowVisible(window)) return TRUE;
    if (!(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_LAYERED)) return TRUE;
    RECT r{};
    GetWindowRect(window, &r);
    if (!EqualRect(&r, &search->expected)) return TRUE;
    search->found = window;
    return FALSE;
}

}  // namespace

HWND FindShadowOf(HWND window) {
    ShadowSearch search{};
    GetWindowRect(window, &search.expected);
    InflateRect(&search.expected, 16, 16);
    EnumWindows(MatchShadow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace qv::test
