// Four-sided size sets of the margin-aware controls: Margins (space kept around a control when
// its container aligns it) and Padding (space kept inside a control's client area).
#pragma once

#include <functional>

namespace qv {

class TQelCustomControl;

// A side is never negative; a negative value is stored as 0.
using TVantleMarginSize = int;

class TQelMargins {
public:
    explicit TQelMargins(TQelCustomControl* control);
    TQelMargins(const TQelMargins&) = delete;
    TQelMargins& operator=(const TQelMargins&) = delete;
    virtual ~TQelMargins() = default;

    TVantleMarginSize Left() const { return left_; }
    TVantleMarginSize Top() const { return top_; }
    TVantleMarginSize Right() const { return right_; }
    TVantleMarginSize Bottom() const { return bottom_; }
    void SetLeft(TVantleMarginSize value) { SetSide(left_, value); }
    void SetTop(TVantleMarginSize value) { SetSide(top_, value); }
    void SetRight(TVantleMarginSize value) { SetSide(right_, value); }
    void SetBottom(TVantleMarginSize value) { SetSide(bottom_, value); }

    // Copies the four sides into target and fires the target's OnChange.
    void AssignTo(TQelMargins& target) const;
    void Assign(const TQelMargins& source) { source.AssignTo(*this); }

    // The margin box: the control's bounds grown by the sides. Plain bounds when the control
    // has no parent; 0 without a control.
    int ControlLeft() const;
    int ControlTop() const;
    int ControlWidth() const;
    int ControlHeight() const;

    // Places the control so that its margin box is (left, top, width, height); without a parent
    // the bounds are taken as they are. aligning marks the control as placed by its container.
    void SetControlBounds(int left, int top, int width, int height, bool aligning = false);

    TQelCustomControl* Control() const { return control_; }

    std::function<void(TQelMargins* sender)> OnChange;

protected:
    virtual void InitDefaults() {}
    void Change();

private:
    void SetSide(TVantleMarginSize& side, TVantleMarginSize value);

    TQelCustomControl* control_;
    TVantleMarginSize left_ = 0, top_ = 0, right_ = 0, bottom_ = 0;
};

class TQelPadding : public TQelMargins {
public:
    using TQelMargins::TQelMargins;

protected:
    void InitDefaults() override {}
};

}  // namespace qv
