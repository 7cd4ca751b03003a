#include "ui/Panel.h"

namespace qv {

void Frame3D(HDC dc, RECT& r, TColor topLeft, TColor bottomRight, int width) {
    ScopedBrush light(CreateSolidBrush(ColorToRGB(topLeft)));
    ScopedBrush dark(CreateSolidBrush(ColorToRGB(bottomRight)));
    for (int i = 0; i < width && r.right - r.left > 1 && r.bottom - r.top > 1; ++i) {
        const RECT top{r.left, r.top, r.right - 1, r.top + 1};
        const RECT left{r.left, r.top, r.left + 1, r.bottom - 1};
        const RECT bottom{r.left, r.bottom - 1, r.right, r.bottom};
        const RECT right{r.right - 1, r.top, r.right, r.bottom};
        FillRect(dc, &top, light.get());
        FillRect(dc, &left, light.get());
        FillRect(dc, &bottom, dark.get());
        FillRect(dc, &right, dark.get());
        InflateRect(&r, -1, -1);
    }
}

TPanel::TPanel(TComponent* owner) : TCustomControl(owner) {
    SetControlStyle(csAcceptsControls | csCaptureMouse | csClickEvents | csSetCaption | csOpaque |
                    csDoubleClicks | csReplicatable);
    SetBounds(0, 0, 185, 41);
}

void TPanel::SetBevelOuter(TBevelCut cut) {
    if (cut == bevelOuter_) return;
    bevelOuter_ = cut;
    Realign();
    Invalidate();
}

void TPanel::SetBevelInner(TBevelCut cut) {
    if (cut == bevelInner_) return;
    bevelInner_ = cut;
    Realign();
    Invalidate();
}

void TPanel::SetBevelWidth(int width) {
    if (width == bevelWidth_ || width < 1) return;
    bevelWidth_ = width;
    Realign();
    Invalidate();
}

int TPanel::BorderSize() const {
    return (bevelOuter_ != bvNone ? bevelWidth_ : 0) + (bevelInner_ != bvNone ? bevelWidth_ : 0);
}

void TPanel::AdjustClientRect(RECT& rect) {
    TCustomControl::AdjustClientRect(rect);
    InflateRect(&rect, -BorderSize(), -BorderSize());
}

void TPanel::Paint() {
    RECT r = ClientRect();
    const HDC dc = Canvas().Handle();
    for (TBevelCut cut : {bevelOuter_, bevelInner_}) {
        if (cut == bvNone) continue;
        const bool raised = cut == bvRaised;
        Frame3D(dc, r, raised ? clBtnHighlight : clBtnShadow, raised ? clBtnShadow : clBtnHighlight,
                bevelWidth_);
    }
    if (!Caption().empty()) {
        Canvas().Brush().SetStyle(bsClear);
        Canvas().DrawText(Caption(), r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
}

}  // namespace qv
