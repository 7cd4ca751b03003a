// TPNGImageButton and TPNGImageButtonEx: window-less buttons drawn from PNG pictures with
// alpha over whatever the parent painted beneath them.
//
// The button keeps one picture per state (PngImg normal, PngOver hover, PngDown pressed, PngUp
// released, PngDisabled) and switches between them on mouse and enable events. Optional extras:
// an icon drawn over the picture, an arrow while a popup menu is attached, tiled or stretched
// drawing with fixed-size end caps. The descendant adds a caption, a latched Down state with
// radio-style groups, and caption alignment.
#pragma once

#include <windows.h>

#include <string>

#include "controls/ImageSelection.h"
#include "png/PngObject.h"
#include "ui/GraphicControl.h"
#include "ui/Label.h"
#include "ui/Picture.h"

namespace qv {

// target := source made to carry alpha, faded to a third of its opacity (palette pictures stay
// opaque: their transparency table is not touched).
void MakeDisabledPng(const TPNGObject& source, TPNGObject& target);

class TPNGImageButton : public TGraphicControl {
public:
    explicit TPNGImageButton(TComponent* owner);
    ~TPNGImageButton() override;

    // The five pictures; setting one copies the given picture in.
    const TPNGObject& PngImg() const { return FPngImg; }
    void SetPngImg(const TPNGObject& png) { FPngImg.Assign(png); }
    const TPNGObject& PngOver() const { return FPngOver; }
    void SetPngOver(const TPNGObject& png) { FPngOver.Assign(png); }
    const TPNGObject& PngDown() const { return FPngDown; }
    void SetPngDown(const TPNGObject& png) { FPngDown.Assign(png); }
    const TPNGObject& PngUp() const { return FPngUp; }
    void SetPngUp(const TPNGObject& png) { FPngUp.Assign(png); }
    const TPNGObject& PngDisabled() const { return FPngDisabled; }
    void SetPngDisabled(const TPNGObject& png) { FPngDisabled.Assign(png); }
    // The picture in use (TButtonImage::None before the first reaction).
    TButtonImage CurrentImage() const { return FCurrent; }

    // Drawn centred over the picture, shifted by IconOffsetX/Y; any change repaints.
    TPicture& Icon() { return FIcon; }
    // Drawn at the right edge while a popup menu is attached and the button is enabled.
    TPicture& PopupArrow() { return FPopupArrow; }
    int IconOffsetX() const { return FIconOffsetX; }
    void SetIconOffsetX(int value) { SetAndRepaint(FIconOffsetX, value); }
    int IconOffsetY() const { return FIconOffsetY; }
    void SetIconOffsetY(int value) { SetAndRepaint(FIconOffsetY, value); }
    int PopupArrowOffsetX() const { return FPopupArrowOffsetX; }
    void SetPopupArrowOffsetX(int value) { SetAndRepaint(FPopupArrowOffsetX, value); }
    int PopupArrowOffsetY() const { return FPopupArrowOffsetY; }
    void SetPopupArrowOffsetY(int value) { SetAndRepaint(FPopupArrowOffsetY, value); }
    int FixedHeight() const { return FFixedHeight; }
    void SetFixedHeight(int value);
    int FixedWidth() const { return FFixedWidth; }
    void SetFixedWidth(int value);
    bool Stretch() const { return FStretch; }
    void SetStretch(bool value) { SetAndRepaint(FStretch, value); }
    bool Tile() const { return FTile; }
    void SetTile(bool value) { SetAndRepaint(FTile, value); }
    TControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TControl* control);
    // Shown on a right click (borrowed; the caller keeps it alive).
    HMENU PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(HMENU menu);

    TNotifyEvent OnPictureChange;

    void SetParent(TWinControl* parent) override;

protected:
    void Notification(TComponent* component, TOperation operation) override;
    void Paint() override;
    void Click() override;
    void DblClick() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void EnabledChanged() override;

    void EnterReaction();
    void LeaveReaction();
    // Takes the choice of a reaction: the picture to show, repainting when it says so.
    void Apply(const TImageChoice& choice);

    TButtonImages Facts() const;
    TPNGObject& ImageOf(TButtonImage image);

    void PngChanged(TPNGObject& image);

    TPNGObject FPngOver, FPngDown, FPngUp, FPngImg;
    TButtonImage FCurrent = TButtonImage::None;
    TPNGObject FPngDisabled;

    template <class T>
    void SetAndRepaint(T& field, T value) {
        if (field == value) return;
        field = value;
        Invalidate();
    }

private:
    TButtonImage WhichImage(const TPNGObject& image) const;
    void DrawStretched(HDC dc, const TPNGObject& image, const RECT& client);
    void DrawTiled(HDC dc, const TPNGObject& image, const RECT& client);
    void DrawPlaceholder(HDC dc, const RECT& r);
    void ShowPopupMenu(int x, int y);

    bool FStretch = false, FTile = false;
    TControl* FFocusControl = nullptr;
    bool FPainting = false;
    int FFixedHeight = 0, FFixedWidth = 0;
    TPicture FIcon;
    int FIconOffsetX = 0, FIconOffsetY = 0;
    int FPopupArrowOffsetY = 0, FPopupArrowOffsetX = 0;
    TPicture FPopupArrow;
    HMENU FPopupMenu = nullptr;
};

class TPNGImageButtonEx : public TPNGImageButton {
public:
    explicit TPNGImageButtonEx(TComponent* owner);

    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int value);
    bool Down() const { return FDown; }
    void SetDown(bool value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    const std::wstring& Caption() const override { return FCaption; }
    void SetCaption(const std::wstring& value) override;
    int CaptionOffsetX() const { return FCaptionOffsetX; }
    void SetCaptionOffsetX(int value);
    int CaptionOffsetY() const { return FCaptionOffsetY; }
    void SetCaptionOffsetY(int value);
    // Kept for the layouts; it does not affect drawing.
    int FontSpace() const { return FFontSpace; }
    void SetFontSpace(int value);

protected:
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseEnter() override;
    void MouseLeave() override;

private:
    void ReleaseGroup();

    int FGroupIndex = 0;
    bool FDown = false;
    TAlignment FAlignment = taCenter;
    std::wstring FCaption;
    int FCaptionOffsetX = 0, FCaptionOffsetY = 0;
    int FFontSpace = 0;
};

}  // namespace qv
