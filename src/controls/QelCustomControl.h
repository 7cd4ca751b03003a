// The base of the margin-aware control family: a custom control with Margins and Padding, its
// own child alignment that honours the children's margins, size-limit gathering over its
// children, deferred bounds changes, a hit-test event and a skin group.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controls/QelMargins.h"
#include "ui/CustomControl.h"

namespace qv {

// Receives skin changes; the kind and the group name come from whoever changes the skin.
class IQelSkinClient {
public:
    virtual void SkinChanged(int kind, const std::wstring& groupName) = 0;

protected:
    ~IQelSkinClient() = default;
};

// Asked before the default hit test: set done to answer with message.Result.
using THitTestEvent = std::function<void(TComponent* sender, TMessage& message, bool& done)>;

// What the custom placement hooks learn about the child being placed.
struct TQelAlignInfo {
    const std::vector<TControl*>* alignList = nullptr;
    int controlIndex = 0;
    TAlign align = alNone;
};

inline const wchar_t kDefaultSkinGroup[] = L"DefSkinGroup";

class TQelCustomControl : public TCustomControl, public IQelSkinClient {
public:
    explicit TQelCustomControl(TComponent* owner);
    ~TQelCustomControl() override;

    // Bounds read and written through these see the deferred values while an update is open.
    int Left() const override;
    int Top() const override;
    int Width() const override;
    int Height() const override;
    void SetBounds(int left, int top, int width, int height) override;

    bool AlignWithMargins() const { return alignWithMargins_; }
    virtual void SetAlignWithMargins(bool on);
    TQelMargins& Margins() { return *margins_; }
    const TQelMargins& Margins() const { return *margins_; }
    virtual void SetMargins(const TQelMargins& value) { margins_->Assign(value); }
    TQelPadding& Padding() { return *padding_; }
    const TQelPadding& Padding() const { return *padding_; }
    virtual void SetPadding(const TQelMargins& value) { padding_->Assign(value); }
    const std::wstring& SkinGroup() const { return skinGroup_; }
    virtual void SetSkinGroup(const std::wstring& group);

    // Collects bounds changes and applies them once, when the outermost update ends.
    virtual void BeginBoundsUpdate();
    virtual void EndBoundsUpdate();
    virtual void CancelBoundsUpdate();
    int BoundsUpdateDepth() const { return boundsUpdates_; }

    virtual void Redraw() { Invalidate(); }
    void SkinChanged(int kind, const std::wstring& groupName) override;
    // Shifts every child by (dx, dy) without realigning meanwhile.
    virtual void MoveChildren(int dx, int dy);
    // The smallest rectangle holding the margin boxes of the visible children.
    RECT GetControlExtents() const;

    // The client size when the latest bounds change began: the reference for anchored
    // children. Brought up to date after each alignment pass, so that a pass without a new
    // size leaves anchored children where they are.
    SIZE RecordedClientSize() const { return recordedClientSize_; }
    TAnchors LastAnchors() const { return lastAnchors_; }

    void SetParent(TWinControl* parent) override;
    void AlignControls(TControl* changed, RECT& rect) override;
    void AdjustClientRect(RECT& rect) override;
    void WndProc(TMessage& message) override;

    THitTestEvent OnHitTest;

    // Marks the control as being placed by its container for the lifetime of the scope.
    class AligningScope {
    public:
        AligningScope(TQelCustomControl& control, bool aligning);
        AligningScope(const AligningScope&) = delete;
        AligningScope& operator=(const AligningScope&) = delete;
        ~AligningScope();

    private:
        TQelCustomControl& control_;
        bool previous_;
    };

protected:
    virtual void ApplySkin(int /*kind*/) {}
    virtual void RememberAnchors();
    void ConstrainedResize(int& minWidth, int& minHeight, int& maxWidth, int& maxHeight) override;
    void CreateWnd() override;

    // Hooks of custom alignment: the insertion order and the final place of a child.
    virtual bool CustomAlignInsertBefore(TControl* /*control*/, TControl* /*existing*/) {
        return false;
    }
    virtual void CustomAlignPosition(TControl* /*control*/, int& /*left*/, int& /*top*/,
                                     int& /*width*/, int& /*height*/, RECT& /*rect*/,
                                     const TQelAlignInfo& /*info*/) {}

private:
    friend class AligningScope;

    void RecordClientSize();
    void AlignPass(TControl* changed, TAlign align, RECT& rect);
    bool InsertsBefore(TControl* control, TControl* existing, TAlign align);
    void PositionChild(TControl* control, TAlign align, RECT& rect, const TQelAlignInfo& info);
    void RepositionByAnchors(TControl* control);
    SIZE PaddedSize(SIZE size) const;
    void GatherChildLimits(const RECT& area, int& minWidth, int& minHeight, int& maxWidth,
                           int& maxHeight);

    bool alignWithMargins_ = false;
    std::wstring skinGroup_ = kDefaultSkinGroup;
    std::unique_ptr<TQelMargins> margins_;
    std::unique_ptr<TQelPadding> padding_;
    TAnchors lastAnchors_;
    bool aligning_ = false;
    SIZE recordedClientSize_{0, 0};
    int boundsUpdates_ = 0;
    RECT deferredBounds_{};  // left, top, width, height while an update is open
};

// The margin box of any control: its Margins' box for one of this family, else its bounds.
RECT MarginBox(const TControl* control);

}  // namespace qv
