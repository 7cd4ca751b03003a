#include "controls/QelCustomControl.h"

#include <algorithm>
#include <climits>

#include "ui/Form.h"

namespace qv {

namespace {

constexpr TAlign kPlacementOrder[] = {alTop, alBottom, alLeft, alRight, alClient, alCustom, alNone};

TQelCustomControl* AsFamily(TControl* control) {
    return dynamic_cast<TQelCustomControl*>(control);
}

const TQelCustomControl* AsFamily(const TControl* control) {
    return dynamic_cast<const TQelCustomControl*>(control);
}

int RectWidth(const RECT& r) {
    return r.right - r.left;
}
int RectHeight(const RECT& r) {
    return r.bottom - r.top;
}

// The anchors an aligned child keeps by its side; custom and none imply the default ones.
TAnchors ImpliedAnchors(TAlign align) {
    switch (align) {
        case alTop:
            return akLeft | akTop | akRight;
        case alBottom:
            return akLeft | akRight | akBottom;
        case alLeft:
            return akLeft | akTop | akBottom;
        case alRight:
            return akRight | akTop | akBottom;
        case alClient:
            return akLeft | akTop | akRight | akBottom;
        case alCustom:
        case alNone:
            break;
    }
    return kDefaultAnchors;
}

SIZE ClientSizeOf(const TControl* control) {
    const RECT client = control->ClientRect();
    return {RectWidth(client), RectHeight(client)};
}

// New position (or size, with both anchors) along one axis from the reference size to the new.
void ApplyAxisAnchor(bool nearAnchor, bool farAnchor, int oldSize, int newSize, int& position,
                     int& extent) {
    if (farAnchor) {
        if (nearAnchor) {
            extent = newSize - (oldSize - extent);
        } else {
            position = newSize - (oldSize - position);
        }
    } else if (!nearAnchor) {
        const int centre = position + extent / 2;
        position = MulDiv(centre, newSize, oldSize) - extent / 2;
    }
}

// Alignment of this control stays off until the scope ends, also when a step throws.
class AlignDisabledScope {
public:
    explicit AlignDisabledScope(TWinControl& control) : control_(control) {
        control_.DisableAlign();
    }
    AlignDisabledScope(const AlignDisabledScope&) = delete;
    AlignDisabledScope& operator=(const AlignDisabledScope&) = delete;
    ~AlignDisabledScope() { control_.EnableAlign(); }

private:
    TWinControl& control_;
};

}  // namespace

RECT MarginBox(const TControl* control) {
    if (const TQelCustomControl* family = AsFamily(control)) {
        const TQelMargins& m = family->Margins();
        const int left = m.ControlLeft(), top = m.ControlTop();
        return {left, top, left + m.ControlWidth(), top + m.ControlHeight()};
    }
    return control->BoundsRect();
}

TQelCustomControl::AligningScope::AligningScope(TQelCustomControl& control, bool aligning)
    : control_(control), previous_(control.aligning_) {
    if (aligning) control_.aligning_ = true;
}

TQelCustomControl::AligningScope::~AligningScope() {
    control_.aligning_ = previous_;
}

TQelCustomControl::TQelCustomControl(TComponent* owner)
    : TCustomControl(owner),
      margins_(std::make_unique<TQelMargins>(this)),
      padding_(std::make_unique<TQelPadding>(this)),
      lastAnchors_(Anchors()) {
    margins_->OnChange = [this](TQelMargins*) { RequestAlign(); };
    padding_->OnChange = [this](TQelMargins*) { Realign(); };
}

TQelCustomControl::~TQelCustomControl() {
    padding_->OnChange = nullptr;
    margins_->OnChange = nullptr;
}

// --- bounds ----------------------------------------------------------------------------------

int TQelCustomControl::Left() const {
    return boundsUpdates_ > 0 ? deferredBounds_.left : TCustomControl::Left();
}

int TQelCustomControl::Top() const {
    return boundsUpdates_ > 0 ? deferredBounds_.top : TCustomControl::Top();
}

int TQelCustomControl::Width() const {
    return boundsUpdates_ > 0 ? deferredBounds_.right : TCustomControl::Width();
}

int TQelCustomControl::Height() const {
    return boundsUpdates_ > 0 ? deferredBounds_.bottom : TCustomControl::Height();
}

void TQelCustomControl::SetBounds(int left, int top, int width, int height) {
    if (boundsUpdates_ > 0) {
        deferredBounds_ = {left, top, width, height};
        return;
    }
    if (left == Left() && top == Top() && width == Width() && height == Height()) return;
    RecordClientSize();
    const bool placedByContainer = aligning_ || Aligning();
    AlignDisabledScope noAlign(*this);
    TCustomControl::SetBounds(left, top, width, height);  // realigns the parent when not placed
    if (!placedByContainer) RememberAnchors();
}

void TQelCustomControl::BeginBoundsUpdate() {
    if (boundsUpdates_ == 0) {
        deferredBounds_ = {TCustomControl::Left(), TCustomControl::Top(), TCustomControl::Width(),
                           TCustomControl::Height()};
    }
    ++boundsUpdates_;
}

void TQelCustomControl::EndBoundsUpdate() {
    if (boundsUpdates_ < 1) return;
    if (--boundsUpdates_ > 0) return;
    SetBounds(deferredBounds_.left, deferredBounds_.top, deferredBounds_.right,
              deferredBounds_.bottom);
}

void TQelCustomControl::CancelBoundsUpdate() {
    if (boundsUpdates_ > 0) --boundsUpdates_;
}

void TQelCustomControl::RecordClientSize() {
    if (HandleAllocated()) {
        recordedClientSize_ = ClientSizeOf(this);
    } else {
        recordedClientSize_ = {TCustomControl::Width(), TCustomControl::Height()};
    }
}

void TQelCustomControl::RememberAnchors() {
    if (aligning_ || Aligning()) return;
    lastAnchors_ = Anchors();
}

// --- settings --------------------------------------------------------------------------------

void TQelCustomControl::SetAlignWithMargins(bool on) {
    if (on == alignWithMargins_) return;
    alignWithMargins_ = on;
    RequestAlign();
}

void TQelCustomControl::SetSkinGroup(const std::wstring& group) {
    if (group == skinGroup_) return;
    skinGroup_ = group;
}

void TQelCustomControl::SkinChanged(int kind, const std::wstring& groupName) {
    if (CompareStringOrdinal(groupName.c_str(), static_cast<int>(groupName.size()),
                             skinGroup_.c_str(), static_cast<int>(skinGroup_.size()),
                             TRUE) == CSTR_EQUAL) {
        ApplySkin(kind);
    }
}

void TQelCustomControl::SetParent(TWinControl* parent) {
    TCustomControl::SetParent(parent);
    if (parent && !dynamic_cast<TForm*>(parent)) parent->SetDoubleBuffered(true);
    RememberAnchors();
}

void TQelCustomControl::CreateWnd() {
    TCustomControl::CreateWnd();
    for (int i = 0; i < ControlCount(); ++i) {
        if (TQelCustomControl* child = AsFamily(Controls(i))) child->RememberAnchors();
    }
}

// --- alignment -------------------------------------------------------------------------------

void TQelCustomControl::AdjustClientRect(RECT& rect) {
    rect.left += padding_->Left();
    rect.top += padding_->Top();
    rect.right -= padding_->Right();
    rect.bottom -= padding_->Bottom();
}

SIZE TQelCustomControl::PaddedSize(SIZE size) const {
    return {size.cx - padding_->Left() - padding_->Right(),
            size.cy - padding_->Top() - padding_->Bottom()};
}

// The rectangle arrives shrunk by AdjustClientRect (the padding), as the toolkit passes it.
void TQelCustomControl::AlignControls(TControl* changed, RECT& rect) {
    if (!alignWithMargins_) {
        TCustomControl::AlignControls(changed, rect);
        return;
    }
    if (Anchors() != lastAnchors_) RememberAnchors();
    bool work = false;
    for (int i = ControlCount() - 1; i >= 0 && !work; --i) {
        work = Controls(i)->Align() != alNone || Controls(i)->Anchors() != kDefaultAnchors;
    }
    if (work) {
        for (TAlign align : kPlacementOrder) AlignPass(changed, align, rect);
        ControlsAligned();
    }
    if (Showing()) AdjustSize();
    recordedClientSize_ = HandleAllocated() ? ClientSizeOf(this) : SIZE{Width(), Height()};
}

void TQelCustomControl::AlignPass(TControl* changed, TAlign align, RECT& rect) {
    std::vector<TControl*> list;
    if (changed && changed->Parent() == this && changed->Align() == align &&
        (align == alNone || changed->Visible())) {
        list.push_back(changed);
    }
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* child = Controls(i);
        if (child->Align() != align || child == changed) continue;
        if (align != alNone && !child->Visible()) continue;
        auto at = std::find_if(list.begin(), list.end(), [&](TControl* existing) {
            return InsertsBefore(child, existing, align);
        });
        list.insert(at, child);
    }
    for (size_t i = 0; i < list.size(); ++i) {
        PositionChild(list[i], align, rect, TQelAlignInfo{&list, static_cast<int>(i), align});
    }
}

bool TQelCustomControl::InsertsBefore(TControl* control, TControl* existing, TAlign align) {
    const RECT c = MarginBox(control), e = MarginBox(existing);
    switch (align) {
        case alTop:
            return c.top < e.top;
        case alBottom:
            return c.bottom >= e.bottom;
        case alLeft:
            return c.left < e.left;
        case alRight:
            return c.right >= e.right;
        case alCustom:
            return CustomAlignInsertBefore(control, existing);
        case alClient:
        case alNone:
            break;
    }
    return false;
}

void TQelCustomControl::PositionChild(TControl* control, TAlign align, RECT& rect,
                                      const TQelAlignInfo& info) {
    if (align == alNone || control->Anchors() != ImpliedAnchors(align)) {
        RepositionByAnchors(control);
        if (align == alNone) return;
    }
    const RECT box = MarginBox(control);
    int width = RectWidth(rect);
    if (width < 0 || align == alLeft || align == alRight || align == alCustom) {
        width = RectWidth(box);
    }
    int height = RectHeight(rect);
    if (height < 0 || align == alTop || align == alBottom || align == alCustom) {
        height = RectHeight(box);
    }
    int left = rect.left, top = rect.top;
    switch (align) {
        case alTop:
            rect.top += height;
            break;
        case alBottom:
            rect.bottom -= height;
            top = rect.bottom;
            break;
        case alLeft:
            rect.left += width;
            break;
        case alRight:
            rect.right -= width;
            left = rect.right;
            break;
        case alCustom:
            // The margin box, so that a child of this family does not creep by its margins
            // on every pass.
            left = box.left;
            top = box.top;
            CustomAlignPosition(control, left, top, width, height, rect, info);
            break;
        case alClient:
        case alNone:
            break;
    }
    int actualWidth = 0, actualHeight = 0;
    if (TQelCustomControl* family = AsFamily(control)) {
        family->Margins().SetControlBounds(left, top, width, height, true);
        actualWidth = family->Margins().ControlWidth();
        actualHeight = family->Margins().ControlHeight();
    } else {
        control->SetAlignedBounds(left, top, width, height);
        actualWidth = control->Width();
        actualHeight = control->Height();
    }
    GiveBackUnusedSpace(align, width - actualWidth, height - actualHeight, rect);
}

void TQelCustomControl::RepositionByAnchors(TControl* control) {
    const TAnchors anchors = control->Anchors();
    if (anchors == kDefaultAnchors || !control->Parent()) return;
    // Both sizes leave out the padding, so that padding alone moves nothing.
    const SIZE reference = PaddedSize(recordedClientSize_);
    SIZE now = ClientSizeOf(control->Parent());
    if (const TQelCustomControl* parent = AsFamily(control->Parent()))
        now = parent->PaddedSize(now);
    if (reference.cx <= 0 || reference.cy <= 0) return;
    int left = control->Left(), top = control->Top();
    int width = control->Width(), height = control->Height();
    ApplyAxisAnchor(anchors & akLeft, anchors & akRight, reference.cx, now.cx, left, width);
    ApplyAxisAnchor(anchors & akTop, anchors & akBottom, reference.cy, now.cy, top, height);
    control->SetAlignedBounds(left, top, width, height);
}

// --- size limits -----------------------------------------------------------------------------

void TQelCustomControl::ConstrainedResize(int& minWidth, int& minHeight, int& maxWidth,
                                          int& maxHeight) {
    RECT area = ClientRect();
    AdjustClientRect(area);
    if (HandleAllocated() && ControlCount() > 0 && RectWidth(area) > 0 && RectHeight(area) > 0) {
        GatherChildLimits(area, minWidth, minHeight, maxWidth, maxHeight);
    }
    TCustomControl::ConstrainedResize(minWidth, minHeight, maxWidth, maxHeight);
}

namespace {

struct ChildLimits {
    int minWidth = 0, minHeight = 0, maxWidth = 0, maxHeight = 0;
};

// One axis of the gathering: stretching children bound the container's limits, stacking
// children add their extent.
struct AxisGathering {
    int largestMin = -1;
    int largestMax = -1;
    int stacked = 0;

    void Stretch(int childMin, int childMax, int& min, int& max) {
        if (childMin > min) {
            min = childMin;
            largestMin = std::max(largestMin, min);
        }
        if (childMax > 0 && (max <= 0 || childMax < max)) {
            max = childMax;
            largestMax = std::max(largestMax, max);
        }
    }
    void Stack(int extent) { stacked += extent; }
    void Finish(int& min, int& max) const {
        if (largestMin >= 0) min = std::max(min, largestMin + stacked);
        if (largestMax >= 0 && max <= 0) max = largestMax + stacked;
    }
};

// A child's limit as a limit on its margin box (0 stays "no limit").
int WithMargins(int limit, int margins) {
    return limit > 0 ? limit + margins : 0;
}

}  // namespace

void TQelCustomControl::GatherChildLimits(const RECT& area, int& minWidth, int& minHeight,
                                          int& maxWidth, int& maxHeight) {
    const int dw = margins_->ControlWidth() - RectWidth(area);
    const int dh = margins_->ControlHeight() - RectHeight(area);
    auto shrink = [](int& limit, int by) {
        if (limit > 0) limit -= by;
    };
    shrink(minWidth, dw);
    shrink(maxWidth, dw);
    shrink(minHeight, dh);
    shrink(maxHeight, dh);

    AxisGathering horizontal, vertical;
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* child = Controls(i);
        if (!child->Visible()) continue;
        const RECT box = MarginBox(child);
        const int marginsX = RectWidth(box) - child->Width();
        const int marginsY = RectHeight(box) - child->Height();
        const TSizeConstraints& limits = child->Constraints();
        ChildLimits c{
            WithMargins(limits.MinWidth, marginsX), WithMargins(limits.MinHeight, marginsY),
            WithMargins(limits.MaxWidth, marginsX), WithMargins(limits.MaxHeight, marginsY)};
        const TAnchors anchors = child->Anchors();
        const TAlign align = child->Align();
        const bool spansX = align == alNone && (anchors & akLeft) && (anchors & akRight);
        const bool spansY = align == alNone && (anchors & akTop) && (anchors & akBottom);
        // A child anchored on both sides keeps the free space beside it: the container needs
        // the child's limit plus that space.
        if (spansX) {
            const int free = RectWidth(area) - RectWidth(box);
            c.minWidth = c.minWidth > 0 ? c.minWidth + free : 0;
            c.maxWidth = c.maxWidth > 0 ? c.maxWidth + free : 0;
        }
        if (spansY) {
            const int free = RectHeight(area) - RectHeight(box);
            c.minHeight = c.minHeight > 0 ? c.minHeight + free : 0;
            c.maxHeight = c.maxHeight > 0 ? c.maxHeight + free : 0;
        }
        if (child->OnConstrainedResize) {
            child->OnConstrainedResize(child, c.minWidth, c.minHeight, c.maxWidth, c.maxHeight);
        }
        if (align == alTop || align == alBottom || align == alClient || spansX) {
            horizontal.Stretch(c.minWidth, c.maxWidth, minWidth, maxWidth);
        } else if (align == alLeft || align == alRight || align == alCustom) {
            horizontal.Stack(RectWidth(box));
        }
        if (align == alLeft || align == alRight || align == alClient || spansY) {
            vertical.Stretch(c.minHeight, c.maxHeight, minHeight, maxHeight);
        } else if (align == alTop || align == alBottom || align == alCustom) {
            vertical.Stack(RectHeight(box));
        }
    }
    horizontal.Finish(minWidth, maxWidth);
    vertical.Finish(minHeight, maxHeight);

    auto grow = [](int& limit, int by) {
        if (limit > 0) limit += by;
    };
    grow(minWidth, dw);
    grow(maxWidth, dw);
    grow(minHeight, dh);
    grow(maxHeight, dh);
}

// --- children --------------------------------------------------------------------------------

RECT TQelCustomControl::GetControlExtents() const {
    RECT extents{INT_MAX, INT_MAX, 0, 0};
    for (int i = 0; i < ControlCount(); ++i) {
        const TControl* child = Controls(i);
        if (!child->Visible()) continue;
        const RECT box = MarginBox(child);
        extents.left = std::min(extents.left, box.left);
        extents.top = std::min(extents.top, box.top);
        extents.right = std::max(extents.right, box.right);
        extents.bottom = std::max(extents.bottom, box.bottom);
    }
    return extents;
}

void TQelCustomControl::MoveChildren(int dx, int dy) {
    AlignDisabledScope noAlign(*this);
    const bool visibleWindow = HandleAllocated() && IsWindowVisible(Handle());
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* child = Controls(i);
        const int left = child->Left() + dx, top = child->Top() + dy;
        if (!child->IsWindowed()) {
            child->SetBounds(left, top, child->Width(), child->Height());
            continue;
        }
        auto* windowed = static_cast<TWinControl*>(child);
        AlignDisabledScope childNoAlign(*windowed);
        if (visibleWindow || !windowed->HandleAllocated()) {
            child->SetBounds(left, top, child->Width(), child->Height());
        } else {
            SetWindowPos(windowed->Handle(), nullptr, left, top, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
}

// --- messages --------------------------------------------------------------------------------

void TQelCustomControl::WndProc(TMessage& message) {
    switch (message.Msg) {
        case WM_WINDOWPOSCHANGING:
            RecordClientSize();
            break;
        case CM_HITTEST:
            if (OnHitTest) {
                bool done = false;
                OnHitTest(this, message, done);
                if (done) return;
            }
            break;
        default:
            break;
    }
    TCustomControl::WndProc(message);
}

}  // namespace qv
