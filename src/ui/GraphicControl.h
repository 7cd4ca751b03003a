// A window-less control: its parent paints it (Paint, on Canvas) into the parent's surface in
// z-order and routes the mouse to it.
#pragma once

#include "ui/Canvas.h"
#include "ui/Control.h"

namespace qv {

class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent* owner);

    // Valid during Paint only (it draws on the parent's off-screen surface).
    TCanvas& Canvas() { return canvas_; }

    void WndProc(TMessage& message) override;

protected:
    // Draws the control in its own client coordinates.
    virtual void Paint() {}

private:
    TCanvas canvas_;
};

}  // namespace qv
