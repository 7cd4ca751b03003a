// A window-message timer. Interval, Enabled and OnTimer may be changed at any time, also from
// inside OnTimer; a timer may be destroyed from inside its own OnTimer.
#pragma once

#include <windows.h>

#include "ui/Component.h"

namespace qv {

class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* owner);
    ~TTimer() override;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool on);
    UINT Interval() const { return interval_; }
    void SetInterval(UINT milliseconds);

    TNotifyEvent OnTimer;

    // Called from the timer window for this timer's WM_TIMER.
    static void Dispatch(UINT_PTR id);

protected:
    virtual void Timer();

private:
    void UpdateTimer();

    bool enabled_ = true;
    UINT interval_ = 1000;
    UINT_PTR id_ = 0;
};

}  // namespace qv
