#include "ui/Image.h"

namespace qv {

TImage::TImage(TComponent* owner) : TGraphicControl(owner) {
    SetControlStyle(ControlStyle() | csReplicatable);
    SetBounds(0, 0, 105, 105);
    picture_.OnChange = [this] { PictureChanged(); };
}

void TImage::PictureChanged() {
    AdjustSize();
    Invalidate();
}

void TImage::SetStretch(bool on) {
    if (on == stretch_) return;
    stretch_ = on;
    Invalidate();
}

void TImage::SetCenter(bool on) {
    if (on == center_) return;
    center_ = on;
    Invalidate();
}

void TImage::SetTransparent(bool on) {
    if (on == transparent_) return;
    transparent_ = on;
    Invalidate();
}

bool TImage::CanAutoSize(int& newWidth, int& newHeight) {
    if (picture_.Empty()) return false;
    newWidth = picture_.Width();
    newHeight = picture_.Height();
    return true;
}

void TImage::Paint() {
    if (picture_.Empty()) return;
    RECT target = ClientRect();
    if (!stretch_) {
        // Natural size, from the top-left corner (or centred), clipped to the control.
        int left = 0, top = 0;
        if (center_) {
            left = (Width() - picture_.Width()) / 2;
            top = (Height() - picture_.Height()) / 2;
        }
        target = {left, top, left + picture_.Width(), top + picture_.Height()};
    }
    picture_.Draw(Canvas().Handle(), target, transparent_);
}

}  // namespace qv
