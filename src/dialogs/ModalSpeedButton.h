// TModalSpeedButton: a focusable owner-drawn push button with its own colour scheme (hot and
// pressed face colours, optional 3-D edges and focus frame), three drawing styles, a glyph strip
// of up to four cells (normal, disabled, pressed, hot), latched groups, a drop-down menu,
// eighteen skins and seven colour presets. Enter and Space click on key-down.
#pragma once

#include <windows.h>

#include <string>

#include "dialogs/ModalButtons.h"
#include "ui/Bitmap.h"
#include "ui/CustomControl.h"
#include "ui/Picture.h"

namespace qv {

enum class TModalButtonKind {
    mbkCustom,
    mbkNormal,
    mbkCancel,
    mbkOK,
    mbkYes,
    mbkNo,
    mbkIgnore,
    mbkSearch,
    mbkReset,
    mbkPrint,
    mbkPreview,
    mbkImport,
    mbkExport,
    mbkClose,
    mbkInsert,
    mbkDelete,
    mbkModify
};
using enum TModalButtonKind;
using TButtonSkinIndex = signed char;  // -1 (no skin) .. 17

class TModalSpeedButton : public TCustomControl {
public:
    explicit TModalSpeedButton(TComponent* owner);

    TAlignment Alignment() const { return FAlignment; }
    virtual void SetAlignment(TAlignment value);
    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool value) { FAllowAllUp = value; }
    const std::wstring& Caption() const override { return FCaption; }
    void SetCaption(const std::wstring& value) override;
    TColor ColorWhenDown() const { return FColorWhenDown; }
    virtual void SetColorWhenDown(TColor value);
    // Applies a preset; always reads back lcsCustom.
    TModalColorStyle ColorStyle() const { return lcsCustom; }
    virtual void SetColorStyle(TModalColorStyle value);
    bool Down() const { return FDown; }
    virtual void SetDown(bool value);
    bool Flat() const { return FFlat; }
    virtual void SetFlat(bool value);
    // The glyph strip: NumGlyphs becomes its width div its height. Null empties it.
    const TBitmap& Glyph() const { return FGlyph; }
    virtual void SetGlyph(const TBitmap* value);
    // An alternative glyph used instead of Glyph while it holds a picture.
    TPicture& GlyphNew() { return FGlyphNew; }
    // The arrow drawn while a popup menu is attached.
    TPicture& GlyphArrow() { return FGlyphArrow; }
    int GroupIndex() const { return FGroupIndex; }
    virtual void SetGroupIndex(int value);
    TColor HotTrackColor() const { return FHotTrackColor; }
    virtual void SetHotTrackColor(TColor value);
    TModalSpeedButtonLayout Layout() const { return FLayout; }
    virtual void SetLayout(TModalSpeedButtonLayout value);
    TColor LightColor() const { return FLightColor; }
    virtual void SetLightColor(TColor value);
    int NumGlyphs() const { return FNumGlyphs; }
    virtual void SetNumGlyphs(int value);
    TColor ShadowColor() const { return FShadowColor; }
    virtual void SetShadowColor(TColor value);
    TModalSpeedButtonStyle Style() const { return FStyle; }
    virtual void SetStyle(TModalSpeedButtonStyle value);
    bool Transparent() const { return FTransparent; }
    virtual void SetTransparent(bool value);
    TColor BorderFocusColor() const { return FBorderFocusColor; }
    virtual void SetBorderFocusColor(TColor value);
    TButtonSkinIndex SkinIndex() const { return FSkinIndex; }
    virtual void SetSkinIndex(TButtonSkinIndex value);
    bool HasBorder() const { return FHasBorder; }
    virtual void SetHasBorder(bool value);
    TColor DisableFontColor() const { return FDisableFontColor; }
    virtual void SetDisableFontColor(TColor value);
    bool BoldFocusBorder() const { return FBoldFocusBorder; }
    virtual void SetBoldFocusBorder(bool value);
    TModalButtonKind ButtonKind() const { return FButtonKind; }
    void SetButtonKind(TModalButtonKind value) { FButtonKind = value; }
    // A menu opened under the button on every click (borrowed; the caller keeps it alive).
    HMENU PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(HMENU menu);

    bool Hot() const { return FHot; }

    TNotifyEvent OnMouseExit;  // OnMouseEnter is the control's own

    // Paints now (or invalidates a transparent button).
    virtual void Redraw();

    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void Paint() override;
    void Click() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void KeyDown(WORD& key, TShiftState shift) override;
    bool DialogChar(wchar_t character) override;
    void EnabledChanged() override;

private:
    void PointerEntered();
    void PointerLeft();
    void ApplySkin(int index);
    void ReleaseGroup();
    void ClearSkin() { FSkinIndex = -1; }
    TButtonFace DescribeFace();
    int DisplayBitsPerPixel();
    template <class T>
    void SetSchemeField(T& field, T value) {
        if (field == value) return;
        field = value;
        ClearSkin();
        Redraw();
    }

    TAlignment FAlignment = taCenter;
    bool FAllowAllUp = false;
    std::wstring FCaption;
    TColor FColorWhenDown = 0xFAC0A2;
    bool FDown = false;
    bool FFlat = false;
    TBitmap FGlyph;
    int FGroupIndex = 0;
    TColor FHotTrackColor = 0xFAC0A2;
    TModalSpeedButtonLayout FLayout = blGlyphLeft;
    TColor FLightColor = 0xFFFFFF;
    int FNumGlyphs = 0;
    TColor FShadowColor = 0xBC8263;
    TModalSpeedButtonStyle FStyle = bsModern;
    bool FTransparent = false;
    bool FHot = false;
    TColor FBorderFocusColor = 0xEEC477;
    TButtonSkinIndex FSkinIndex = -1;
    bool FHasBorder = true;
    bool FUpdating = false;
    TColor FDisableFontColor = 0x878787;
    int FSavedSkinIndex = -1;
    TModalButtonKind FButtonKind = mbkNormal;
    TPicture FGlyphNew;
    bool FBoldFocusBorder = false;
    TPicture FGlyphArrow;
    HMENU FPopupMenu = nullptr;
};

}  // namespace qv
