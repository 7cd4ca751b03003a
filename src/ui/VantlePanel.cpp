#include "ui/VantlePanel.h"

namespace qv {

TVantlePanel::TVantlePanel(TComponent* owner) : TCustomControl(owner) {
    SetControlStyle(csAcceptsControls | csCaptureMouse | csClickEvents | csSetCaption |
                    csDoubleClicks | csReplicatable);
    SetBounds(0, 0, 185, 41);
    background_.OnChange = [this] { Invalidate(); };
}

void TVantlePanel::SetBackgroundStretch(bool on) {
    if (on == backgroundStretch_) return;
    backgroundStretch_ = on;
    Invalidate();
}

void TVantlePanel::Paint() {
    if (background_.Empty()) return;
    const RECT target =
        backgroundStretch_ ? ClientRect() : RECT{0, 0, background_.Width(), background_.Height()};
    background_.Draw(Canvas().Handle(), target, false);
}

}  // namespace qv
