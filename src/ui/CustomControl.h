// A windowed control that draws itself: Paint draws on Canvas, which during painting is the
// control's off-screen surface (the face is copied to the window in one operation).
#pragma once

#include "ui/Canvas.h"
#include "ui/WinControl.h"

namespace qv {

class TCustomControl : public TWinControl {
public:
    explicit TCustomControl(TComponent* owner);

    // Valid during Paint; outside painting it draws on nothing.
    TCanvas& Canvas() { return canvas_; }

    void PaintWindow(HDC dc) override;

protected:
    // Draws the face in client coordinates, after the background (Color or, with
    // ParentBackground, the parent's image) and before the window-less children.
    virtual void Paint() {}

private:
    TCanvas canvas_;
};

}  // namespace qv
