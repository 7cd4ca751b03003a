// Pages on top of each other, one shown at a time. The tab strip can be hidden page by page
// (TabVisible); with every tab hidden the pages fill the whole control.
#pragma once

#include <vector>

#include "ui/CustomControl.h"

namespace qv {

class TPageControl;

enum class TTabStyle { tsTabs, tsButtons, tsFlatButtons };
using enum TTabStyle;

class TTabSheet : public TCustomControl {
public:
    explicit TTabSheet(TComponent* owner);
    ~TTabSheet() override;

    TPageControl* PageControl() const { return pageControl_; }
    // Puts the page into a page control (as its last page) and makes the control its parent.
    void SetPageControl(TPageControl* pageControl);
    int PageIndex() const;
    bool TabVisible() const { return tabVisible_; }
    void SetTabVisible(bool on);

    // Fired when the page becomes the active page, and when it stops being it.
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;

private:
    friend class TPageControl;
    TPageControl* pageControl_ = nullptr;
    bool tabVisible_ = true;
};

class TPageControl : public TCustomControl {
public:
    explicit TPageControl(TComponent* owner);
    ~TPageControl() override;

    int PageCount() const { return static_cast<int>(pages_.size()); }
    TTabSheet* Pages(int index) const { return pages_[index]; }
    TTabSheet* ActivePage() const { return activePage_; }
    void SetActivePage(TTabSheet* page);
    int ActivePageIndex() const;
    void SetActivePageIndex(int index);
    TTabStyle Style() const { return style_; }
    void SetStyle(TTabStyle style);
    // Height of the tab strip while any tab is visible.
    int TabHeight() const { return tabHeight_; }
    void SetTabHeight(int height);

    // The tab rectangle of a page (empty when its tab is hidden).
    RECT TabRect(int index);

    TNotifyEvent OnChange;

    void AdjustClientRect(RECT& rect) override;
    void AlignControls(TControl* changed, RECT& rect) override;

protected:
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    friend class TTabSheet;
    void InsertPage(TTabSheet* page);
    void RemovePage(TTabSheet* page);
    bool AnyTabVisible() const;
    void TabsChanged();

    std::vector<TTabSheet*> pages_;
    TTabSheet* activePage_ = nullptr;
    TTabStyle style_ = tsTabs;
    int tabHeight_ = 22;
};

}  // namespace qv
