// TFormShadow: the soft drop shadow of a borderless form.
//
// The shadow is a layered, non-activating popup window 16 pixels larger than the form on every
// side, kept directly below the form in the z-order. It follows the form by hooking the form's
// WindowProc: moves re-place it, resizes rebuild its image, minimising, maximising, hiding and
// destruction hide it; restoring, activation and re-showing show it again.
//
// Host use:
//     shadow_ = new TFormShadow(this);      // in the form's create handler, form as owner
//     shadow_->AttachForm(this);
//     shadow_->SetShadowVisible(true);      // in the form's show handler
//
// One timer serves three roles in turn: a 20 ms delay before the shadow first shows, a refresh
// 200 ms after the last geometry change (adds the snapshot of the form under the frame), and a
// 5-second watchdog that hides the shadow of a form that vanished behind its back.
#pragma once

#include <windows.h>

#include <functional>

#include "common/ScopedHandles.h"
#include "controls/ShadowImage.h"
#include "ui/Bitmap.h"
#include "ui/Form.h"
#include "ui/Timer.h"
#include "ui/WinControl.h"

namespace qv {

class TFormShadow : public TWinControl {
public:
    explicit TFormShadow(TComponent* owner);
    ~TFormShadow() override;

    // Switches the shadow on (shown 20 ms later) or off (hidden at once). Repeating the current
    // value does nothing.
    virtual void SetShadowVisible(bool value);
    bool ShadowVisible() const { return FShadowVisible; }
    // Follows form from now on; null detaches and gives the form its own procedure back.
    virtual void AttachForm(TForm* form);
    TForm* Form() const { return FForm; }
    // Diagonal shift of the shadow; shows from the form's next move or resize.
    virtual void SetShadowOffset(int value);
    int ShadowOffset() const { return FShadowOffset; }
    // Colour of shadows built from now on (the template is built once, at its first use).
    virtual void SetShadowColor(TColor value);
    TColor ShadowColor() const { return FShadowColor; }
    virtual void SetBlurPasses(int value);
    int BlurPasses() const { return FBlurPasses; }

    // For tests and diagnostics: the image pushed to the layered window and the state flags.
    const TBitmap& ShadowBitmap() const { return FShadowBitmap; }
    bool Active() const { return FActive; }
    bool Tracking() const { return FTracking; }
    bool RegionMode() const { return FRegionMode; }
    // Counts full image builds, so callers can tell a move from a rebuild.
    int BuildCount() const { return FBuildCount; }
    int SnapshotCount() const { return FSnapshotCount; }

    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void Notification(TComponent* component, TOperation operation) override;

    virtual void FormWndProc(TMessage& message);
    virtual void FormResized(TMessage& message);
    virtual void PaintFormImage(TBitmap& target);
    virtual void BlurBitmap(TBitmap& bitmap, int passes);
    virtual void BuildRectShadow(int width, int height);
    virtual void BuildRegionShadow();
    virtual void RefreshFormFrame(UINT flags);
    virtual void ShowDelayTimer(TComponent* sender);
    virtual void RefreshTimer(TComponent* sender);
    virtual void RefreshFormImage();
    virtual void ScheduleRefresh();

private:
    void FormPosChanging(TMessage& message);
    void FormPosChanged(TMessage& message);
    void UpdateLayer();
    void PlaceShadow(bool show);
    void SetShadowPos(UINT flags);
    void WatchdogTimer(TComponent* sender);

    void PassOn(TMessage& message);
    void HandleFormMessage(TMessage& message);
    HWND FormWindow() const;
    RECT FormRect() const;
    bool FormShowing() const;
    bool FormStateNormal() const;
    bool CanBuildImage();
    // Sizes the shadow bitmap for a form of width x height; answers whether it must be redrawn.
    bool PrepareShadowBitmap(int width, int height);
    void MoveShadowBelowForm(int left, int top);
    void ApplyPosFlags();
    void RunTimer(UINT interval, void (TFormShadow::*handler)(TComponent*));
    PixelView ShadowPixels();
    void CopySnapshotIntoShadow();

    TForm* FForm = nullptr;
    UINT FPosFlags = SWP_SHOWWINDOW;
    bool FActive = false;
    bool FShadowVisible = false;
    TTimer* FTimer = nullptr;  // owned through the component tree
    int FShadowOffset = 0;
    TColor FShadowColor = clBlack;
    std::function<void(TMessage&)> FOldWndProc;
    TColor FFormKeyColor = clBlack;
    ScopedRegion FRegion;
    TBitmap FShadowBitmap;
    PixelBuffer FTemplate;
    bool FTemplateBuilt = false;
    BLENDFUNCTION FBlend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    bool FDirty = true;
    TBitmap FFormImage;
    int FBuiltWidth = 0;
    int FBuiltHeight = 0;
    bool FTracking = false;
    HWND FFormHandle = nullptr;
    bool FRegionMode = false;
    int FBlurPasses = kDefaultBlurPasses;
    int FBuildCount = 0;
    int FSnapshotCount = 0;
};

}  // namespace qv
