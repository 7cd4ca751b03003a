#include "ui/Timer.h"

#include <map>

#include "ui/Application.h"

namespace qv {
namespace {

// Live timers by identifier: a WM_TIMER that arrives after its timer is gone finds nothing.
std::map<UINT_PTR, TTimer*>& LiveTimers() {
    static auto* timers = new std::map<UINT_PTR, TTimer*>;  // outlives every timer
    return *timers;
}

UINT_PTR NextTimerId() {
    static UINT_PTR next = 0;
    return ++next;
}

}  // namespace

TTimer::TTimer(TComponent* owner) : TComponent(owner), id_(NextTimerId()) {
    LiveTimers()[id_] = this;
    UpdateTimer();
}

TTimer::~TTimer() {
    enabled_ = false;
    UpdateTimer();
    LiveTimers().erase(id_);
}

void TTimer::SetEnabled(bool on) {
    if (on == enabled_) return;
    enabled_ = on;
    UpdateTimer();
}

void TTimer::SetInterval(UINT milliseconds) {
    if (milliseconds == interval_) return;
    interval_ = milliseconds;
    UpdateTimer();
}

void TTimer::UpdateTimer() {
    const HWND window = Application().TimerWindow();
    if (!window) return;
    KillTimer(window, id_);
    if (enabled_ && interval_ > 0) SetTimer(window, id_, interval_, nullptr);
}

void TTimer::Timer() {
    // A copy: the handler may replace OnTimer or destroy this timer.
    TNotifyEvent handler = OnTimer;
    if (handler) handler(this);
}

void TTimer::Dispatch(UINT_PTR id) {
    auto it = LiveTimers().find(id);
    if (it != LiveTimers().end()) it->second->Timer();
}

}  // namespace qv
