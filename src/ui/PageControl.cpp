#include "ui/PageControl.h"

#include <algorithm>

#include "ui/Panel.h"

namespace qv {

TTabSheet::TTabSheet(TComponent* owner) : TCustomControl(owner) {
    SetControlStyle(csAcceptsControls | csClickEvents | csSetCaption | csDoubleClicks);
    SetVisible(false);
    SetAlign(alClient);
}

TTabSheet::~TTabSheet() {
    BeginDestruction();
    if (pageControl_) pageControl_->RemovePage(this);
}

void TTabSheet::SetPageControl(TPageControl* pageControl) {
    if (pageControl == pageControl_) return;
    if (pageControl_) pageControl_->RemovePage(this);
    SetParent(pageControl);
    if (pageControl) pageControl->InsertPage(this);
}

int TTabSheet::PageIndex() const {
    if (!pageControl_) return -1;
    const auto& pages = pageControl_->pages_;
    return static_cast<int>(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TTabSheet::SetTabVisible(bool on) {
    if (on == tabVisible_) return;
    tabVisible_ = on;
    if (pageControl_) pageControl_->TabsChanged();
}

TPageControl::TPageControl(TComponent* owner) : TCustomControl(owner) {
    SetControlStyle(csAcceptsControls | csClickEvents | csDoubleClicks | csCaptureMouse);
    SetBounds(0, 0, 289, 193);
    SetTabStop(true);
}

TPageControl::~TPageControl() {
    BeginDestruction();
    for (TTabSheet* page : pages_) page->pageControl_ = nullptr;
    pages_.clear();
    activePage_ = nullptr;
}

void TPageControl::InsertPage(TTabSheet* page) {
    pages_.push_back(page);
    page->pageControl_ = this;
    if (!activePage_) {
        SetActivePage(page);
    } else {
        page->SetVisible(false);
    }
    TabsChanged();
}

void TPageControl::RemovePage(TTabSheet* page) {
    auto it = std::find(pages_.begin(), pages_.end(), page);
    if (it == pages_.end()) return;
    const size_t index = static_cast<size_t>(it - pages_.begin());
    pages_.erase(it);
    page->pageControl_ = nullptr;
    if (activePage_ == page) {
        activePage_ = nullptr;
        if (!pages_.empty() && !Destroying()) {
            SetActivePage(pages_[std::min(index, pages_.size() - 1)]);
        }
    }
    if (!Destroying()) TabsChanged();
}

void TPageControl::SetActivePage(TTabSheet* page) {
    if (page == activePage_ || (page && page->pageControl_ != this)) return;
    TTabSheet* previous = activePage_;
    activePage_ = page;
    if (page) {
        page->SetVisible(true);
        page->BringToFront();
    }
    if (previous) {
        previous->SetVisible(false);
        if (previous->OnHide) previous->OnHide(previous);
    }
    Invalidate();
    if (page && page->OnShow) page->OnShow(page);
    if (OnChange) OnChange(this);
}

int TPageControl::ActivePageIndex() const {
    return activePage_ ? activePage_->PageIndex() : -1;
}

void TPageControl::SetActivePageIndex(int index) {
    if (index >= 0 && index < PageCount()) SetActivePage(pages_[index]);
}

void TPageControl::SetStyle(TTabStyle style) {
    if (style == style_) return;
    style_ = style;
    Invalidate();
}

void TPageControl::SetTabHeight(int height) {
    if (height == tabHeight_ || height < 0) return;
    tabHeight_ = height;
    TabsChanged();
}

bool TPageControl::AnyTabVisible() const {
    return std::any_of(pages_.begin(), pages_.end(), [](TTabSheet* p) { return p->TabVisible(); });
}

void TPageControl::TabsChanged() {
    Realign();
    Invalidate();
}

void TPageControl::AdjustClientRect(RECT& rect) {
    TCustomControl::AdjustClientRect(rect);
    if (AnyTabVisible()) rect.top += tabHeight_;
}

void TPageControl::AlignControls(TControl*, RECT& rect) {
    for (TTabSheet* page : pages_) {
        page->SetAlignedBounds(rect.left, rect.top, std::max<int>(rect.right - rect.left, 0),
                               std::max<int>(rect.bottom - rect.top, 0));
    }
    ControlsAligned();
}

RECT TPageControl::TabRect(int index) {
    RECT none{};
    if (index < 0 || index >= PageCount() || !pages_[index]->TabVisible()) return none;
    ScopedGetDC screen(nullptr);
    ScopedCreatedDC dc(CreateCompatibleDC(screen.get()));
    TCanvas canvas(dc.get());
    canvas.Font().Assign(Font());
    int left = 2;
    for (int i = 0; i < PageCount(); ++i) {
        if (!pages_[i]->TabVisible()) continue;
        const int width = canvas.TextWidth(pages_[i]->Caption()) + 16;
        if (i == index) return {left, 2, left + width, tabHeight_};
        left += width + (style_ == tsTabs ? 0 : 3);
    }
    return none;
}

void TPageControl::Paint() {
    if (!AnyTabVisible()) return;
    const HDC dc = Canvas().Handle();
    for (int i = 0; i < PageCount(); ++i) {
        RECT tab = TabRect(i);
        if (tab.right <= tab.left) continue;
        const bool active = pages_[i] == activePage_;
        if (style_ != tsFlatButtons || active) {
            Frame3D(dc, tab, active && style_ != tsTabs ? clBtnShadow : clBtnHighlight,
                    active && style_ != tsTabs ? clBtnHighlight : clBtnShadow, 1);
        }
        Canvas().Brush().SetStyle(bsClear);
        Canvas().DrawText(pages_[i]->Caption(), tab, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
}

void TPageControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft) {
        for (int i = 0; i < PageCount(); ++i) {
            const RECT tab = TabRect(i);
            if (x >= tab.left && x < tab.right && y >= tab.top && y < tab.bottom) {
                SetActivePage(pages_[i]);
                break;
            }
        }
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

}  // namespace qv
