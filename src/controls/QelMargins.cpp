#include "controls/QelMargins.h"

#include <algorithm>

#include "controls/QelCustomControl.h"

namespace qv {

TQelMargins::TQelMargins(TQelCustomControl* control) : control_(control) {
    InitDefaults();
}

void TQelMargins::SetSide(TVantleMarginSize& side, TVantleMarginSize value) {
    value = std::max(value, 0);
    if (side == value) return;
    side = value;
    Change();
}

void TQelMargins::Change() {
    if (OnChange) OnChange(this);
}

void TQelMargins::AssignTo(TQelMargins& target) const {
    target.left_ = left_;
    target.top_ = top_;
    target.right_ = right_;
    target.bottom_ = bottom_;
    target.Change();
}

int TQelMargins::ControlLeft() const {
    if (!control_) return 0;
    return control_->Parent() ? control_->Left() - left_ : control_->Left();
}

int TQelMargins::ControlTop() const {
    if (!control_) return 0;
    return control_->Parent() ? control_->Top() - top_ : control_->Top();
}

int TQelMargins::ControlWidth() const {
    if (!control_) return 0;
    return control_->Parent() ? control_->Width() + left_ + right_ : control_->Width();
}

int TQelMargins::ControlHeight() const {
    if (!control_) return 0;
    return control_->Parent() ? control_->Height() + top_ + bottom_ : control_->Height();
}

void TQelMargins::SetControlBounds(int left, int top, int width, int height, bool aligning) {
    if (!control_) return;
    TQelCustomControl::AligningScope scope(*control_, aligning);
    if (control_->Parent()) {
        left += left_;
        top += top_;
        width -= left_ + right_;
        height -= top_ + bottom_;
    }
    if (aligning) {
        control_->SetAlignedBounds(left, top, width, height);
    } else {
        control_->SetBounds(left, top, width, height);
    }
}

}  // namespace qv
