#include "dialogs/ModalSpeedButton.h"

#include "ui/Form.h"

namespace qv {

namespace {

constexpr int kInitialWidth = 67;
constexpr int kInitialHeight = 22;
constexpr TColor kInitialColor = 0xFCDBC9;

bool IsClickKey(WORD key) {
    return key == VK_RETURN || key == VK_SPACE;
}

}  // namespace

TModalSpeedButton::TModalSpeedButton(TComponent* owner) : TCustomControl(owner) {
    SetControlStyle((ControlStyle() | csSetCaption) & ~csOpaque);
    SetBounds(Left(), Top(), kInitialWidth, kInitialHeight);
    SetColor(kInitialColor);
    SetTabStop(true);
    FGlyphNew.OnChange = [this] { Redraw(); };
    FGlyphArrow.OnChange = [this] { Redraw(); };
    Font().OnChange = [this] { Redraw(); };
}

void TModalSpeedButton::CreateParams(TCreateParams& params) {
    TCustomControl::CreateParams(params);
    params.WinClassName = L"QvModalSpeedButton";
}

// --- redrawing ----------------------------------------------------------------------------------

void TModalSpeedButton::Redraw() {
    if (!HandleAllocated()) return;
    if (FTransparent) {
        Invalidate();
    } else if (ParentForm()) {
        RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_NOERASE);
    }
}

TButtonFace TModalSpeedButton::DescribeFace() {
    TButtonFace face;
    face.Width = Width();
    face.Height = Height();
    face.NumGlyphs = FNumGlyphs;
    face.Glyph = FGlyphNew.Empty() ? TGlyphSource(&FGlyph) : TGlyphSource(&FGlyphNew);
    face.Arrow = TGlyphSource(&FGlyphArrow);
    face.Down = FDown;
    face.Hot = FHot;
    face.Transparent = FTransparent;
    face.HasBorder = FHasBorder;
    face.BoldFocusBorder = FBoldFocusBorder;
    face.Enabled = Enabled();
    face.Focused = HandleAllocated() && Focused();
    face.Flat = FFlat;
    face.HasPopupMenu = FPopupMenu != nullptr;
    face.Style = FStyle;
    face.Color = Color();
    face.ColorWhenDown = FColorWhenDown;
    face.HotTrackColor = FHotTrackColor;
    face.LightColor = FLightColor;
    face.ShadowColor = FShadowColor;
    face.BorderFocusColor = FBorderFocusColor;
    face.DisableFontColor = FDisableFontColor;
    face.Font = &Font();
    face.Layout = FLayout;
    face.Caption = FCaption;
    face.Alignment = FAlignment;
    return face;
}

void TModalSpeedButton::Paint() {
    if (!ParentForm() || FUpdating || Width() <= 0 || Height() <= 0) return;
    TBitmap face(Width(), Height(), pf24bit);
    if (face.Empty()) return;
    TCanvas& canvas = face.Canvas();
    canvas.Font().SetColor(Font().Color());
    canvas.Brush().SetColor(Parent() ? Parent()->Color() : Color());
    canvas.FillRect({0, 0, Width(), Height()});
    DrawButtonFace(canvas, DescribeFace());
    face.FlushCanvas();
    BitBlt(Canvas().Handle(), 0, 0, Width(), Height(), canvas.Handle(), 0, 0, SRCCOPY);
}

// --- reactions ----------------------------------------------------------------------------------

void TModalSpeedButton::PointerEntered() {
    if (!Enabled()) return;
    FHot = true;
    Redraw();
    if (OnMouseEnter) OnMouseEnter(this);
}

void TModalSpeedButton::PointerLeft() {
    if (!Enabled()) return;
    FHot = HandleAllocated() && GetFocus() == Handle();
    Redraw();
    if (OnMouseExit) OnMouseExit(this);
}

void TModalSpeedButton::WndProc(TMessage& message) {
    switch (message.Msg) {
        case CM_MOUSEENTER:
            PointerEntered();
            return;
        case CM_MOUSELEAVE:
            PointerLeft();
            return;
        case WM_SETFOCUS:
            PointerEntered();
            TCustomControl::WndProc(message);
            return;
        case WM_KILLFOCUS:
            TCustomControl::WndProc(message);
            PointerLeft();
            return;
        case WM_KEYUP:
            if (IsClickKey(static_cast<WORD>(message.WParam))) {
                FDown = false;
                Redraw();
                return;
            }
            break;
        case WM_ENABLE:
            DefaultHandler(message);
            return;
        default:
            break;
    }
    TCustomControl::WndProc(message);
}

void TModalSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseDown(button, shift, x, y);
    if (FGroupIndex == 0) {
        SetDown(true);
    } else if (FDown) {
        if (FAllowAllUp) SetDown(false);
    } else {
        SetDown(true);
    }
}

void TModalSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseUp(button, shift, x, y);
    if (FGroupIndex == 0) SetDown(false);
}

void TModalSpeedButton::KeyDown(WORD& key, TShiftState shift) {
    TCustomControl::KeyDown(key, shift);
    if (!IsClickKey(key)) return;
    FDown = true;
    Click();
    Redraw();
}

bool TModalSpeedButton::DialogChar(wchar_t character) {
    const bool parentShowing = Parent() && Parent()->Showing();
    if (!IsAccel(character, FCaption) || !Enabled() || !Visible() || !parentShowing)
        return TCustomControl::DialogChar(character);
    const bool wasDown = FDown;
    SetDown(true);
    Redraw();
    Click();
    SetDown(wasDown);
    Redraw();
    return true;
}

void TModalSpeedButton::EnabledChanged() {
    TCustomControl::EnabledChanged();
    if (FSkinIndex >= 0) {
        if (Enabled()) {
            SetSkinIndex(static_cast<TButtonSkinIndex>(FSavedSkinIndex));
        } else {
            FSavedSkinIndex = FSkinIndex;
            SetSkinIndex(static_cast<TButtonSkinIndex>(DisabledSkinFor(FSkinIndex)));
        }
    }
    Redraw();
}

void TModalSpeedButton::Click() {
    if (HandleAllocated()) ::SetFocus(Handle());
    if (FPopupMenu && HandleAllocated()) {
        const POINT at = ClientToScreen({0, Height()});
        TrackPopupMenu(FPopupMenu, TPM_LEFTALIGN | TPM_TOPALIGN, at.x, at.y, 0, Handle(), nullptr);
    }
    TCustomControl::Click();
}

// --- groups -------------------------------------------------------------------------------------

void TModalSpeedButton::SetDown(bool value) {
    if (value == FDown) return;
    if (FGroupIndex != 0) ReleaseGroup();
    FDown = value;
    Redraw();
}

void TModalSpeedButton::ReleaseGroup() {
    if (!Parent()) return;
    for (int i = 0; i < Parent()->ControlCount(); ++i) {
        auto* other = dynamic_cast<TModalSpeedButton*>(Parent()->Controls(i));
        if (other && other != this && other->FGroupIndex == FGroupIndex && other->FDown) {
            other->FDown = false;
            other->Redraw();
        }
    }
}

// --- skins and presets --------------------------------------------------------------------------

void TModalSpeedButton::SetSkinIndex(TButtonSkinIndex value) {
    if (value == FSkinIndex) return;
    FSkinIndex = value;
    if (value >= 0 && value < kButtonSkinCount) ApplySkin(value);
}

void TModalSpeedButton::ApplySkin(int index) {
    const TButtonSkin& skin = ButtonSkins[index];
    FUpdating = true;
    FStyle = bsNormal;
    SetColor(skin.Color);
    FColorWhenDown = skin.ColorWhenDown;
    FHotTrackColor = skin.HotTrackColor;
    FBorderFocusColor = skin.BorderFocusColor;
    Font().SetColor(skin.FontColor);
    FHasBorder = skin.HasBorder;
    FLightColor = skin.LightAndShadow;
    FShadowColor = skin.LightAndShadow;
    FBoldFocusBorder = skin.BoldFocusBorder;
    FUpdating = false;
    if (Parent() && HandleAllocated()) Redraw();
}

void TModalSpeedButton::SetColorStyle(TModalColorStyle value) {
    TColorStylePreset preset{};
    if (!GetColorStyleColors(value, preset)) return;
    SetColor(preset.Color);
    FLightColor = preset.LightColor;
    FFlat = preset.Flat;
    FHotTrackColor = preset.HotTrackColor;
    FColorWhenDown = preset.ColorWhenDown;
    FShadowColor = preset.ShadowColor;
    FStyle = preset.Style;
    ClearSkin();
    Redraw();
}

// --- setters ------------------------------------------------------------------------------------

void TModalSpeedButton::SetAlignment(TAlignment value) {
    FAlignment = value;
    Redraw();
}

void TModalSpeedButton::SetLayout(TModalSpeedButtonLayout value) {
    FLayout = value;
    Redraw();
}

void TModalSpeedButton::SetNumGlyphs(int value) {
    FNumGlyphs = value;
    Redraw();
}

void TModalSpeedButton::SetCaption(const std::wstring& value) {
    if (value == FCaption) return;
    FCaption = value;
    Redraw();
}

void TModalSpeedButton::SetGroupIndex(int value) {
    if (value == FGroupIndex) return;
    FGroupIndex = value;
    Redraw();
}

void TModalSpeedButton::SetDisableFontColor(TColor value) {
    if (value == FDisableFontColor) return;
    FDisableFontColor = value;
    Redraw();
}

void TModalSpeedButton::SetBoldFocusBorder(bool value) {
    if (value == FBoldFocusBorder) return;
    FBoldFocusBorder = value;
    Redraw();
}

// Changing one of the scheme's colours or switches leaves the skin behind.
void TModalSpeedButton::SetFlat(bool value) {
    SetSchemeField(FFlat, value);
}
void TModalSpeedButton::SetColorWhenDown(TColor value) {
    SetSchemeField(FColorWhenDown, value);
}
void TModalSpeedButton::SetLightColor(TColor value) {
    SetSchemeField(FLightColor, value);
}
void TModalSpeedButton::SetShadowColor(TColor value) {
    SetSchemeField(FShadowColor, value);
}
void TModalSpeedButton::SetHotTrackColor(TColor value) {
    SetSchemeField(FHotTrackColor, value);
}
void TModalSpeedButton::SetHasBorder(bool value) {
    SetSchemeField(FHasBorder, value);
}
void TModalSpeedButton::SetTransparent(bool value) {
    SetSchemeField(FTransparent, value);
}

void TModalSpeedButton::SetBorderFocusColor(TColor value) {
    if (value == FBorderFocusColor) return;
    FBorderFocusColor = value;
    ClearSkin();
    if (HandleAllocated() && Focused()) Redraw();
}

void TModalSpeedButton::SetGlyph(const TBitmap* value) {
    if (value && !value->Empty()) {
        FGlyph.Assign(*value);
        FGlyph.SetTransparent(true);  // its bottom-left colour shows the face through
        FNumGlyphs = FGlyph.Height() > 0 ? FGlyph.Width() / FGlyph.Height() : 0;
    } else {
        FGlyph.SetSize(0, 0);
        FNumGlyphs = 0;
    }
    Redraw();
}

int TModalSpeedButton::DisplayBitsPerPixel() {
    ScopedGetDC dc(HandleAllocated() ? Handle() : nullptr);
    return GetDeviceCaps(dc.get(), BITSPIXEL) * GetDeviceCaps(dc.get(), PLANES);
}

void TModalSpeedButton::SetStyle(TModalSpeedButtonStyle value) {
    FStyle = StyleForDisplay(value, DisplayBitsPerPixel());
    if (FStyle == bsModern) FAlignment = taCenter;
    Redraw();
}

void TModalSpeedButton::SetPopupMenu(HMENU menu) {
    FPopupMenu = menu;
    Redraw();
}

}  // namespace qv
