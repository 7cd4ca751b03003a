#include "controls/PngImageButton.h"

#include <algorithm>

#include "common/ScopedHandles.h"
#include "ui/WinControl.h"

namespace qv {

namespace {

constexpr int kInitialSize = 50;
constexpr int kArrowMargin = 5;
constexpr int kCaptionMargin = 2;

// The source made into 8-bit RGBA with every colour resolved (palette pictures included).
TPNGObject ResolvedRgba(const TPNGObject& source) {
    TPNGObject rgba = TPNGObject::CreateBlank(source.Width(), source.Height());
    const RECT all{0, 0, source.Width(), source.Height()};
    StretchCopyRect(source, all, &rgba, all);
    return rgba;
}

void DrawPicture(HDC dc, const TPicture& picture, int x, int y) {
    picture.Draw(dc, {x, y, x + picture.Width(), y + picture.Height()}, true);
}

}  // namespace

void MakeDisabledPng(const TPNGObject& source, TPNGObject& target) {
    // A palette picture has one alpha per palette entry, which cannot fade pixel by pixel; it
    // is resolved to RGBA first so that it fades like every other picture.
    if (source.ColorType() == PngColorType::Palette)
        target.Assign(ResolvedRgba(source));
    else
        target.Assign(source);
    target.AddAlpha();
    if (!target.HasAlphaChannel()) return;
    for (int y = 0; y < std::min(source.Height(), target.Height()); ++y) {
        std::uint8_t* alpha = target.AlphaRow(y);
        for (int x = 0; x < std::min(source.Width(), target.Width()); ++x) alpha[x] /= 3;
    }
    target.Changed();
}

// --- TPNGImageButton
// ------------------------------------------------------------------------------

TPNGImageButton::TPNGImageButton(TComponent* owner) : TGraphicControl(owner) {
    SetControlStyle((ControlStyle() | csCaptureMouse | csReplicatable) & ~csOpaque);
    for (TPNGObject* png : {&FPngOver, &FPngDown, &FPngUp, &FPngImg, &FPngDisabled})
        png->SetOnChange([this](TPNGObject& changed) { PngChanged(changed); });
    FIcon.OnChange = [this] { Invalidate(); };
    FPopupArrow.OnChange = [this] { Invalidate(); };
    SetBounds(Left(), Top(), kInitialSize, kInitialSize);
    SetAutoSize(true);
}

TPNGImageButton::~TPNGImageButton() = default;

TPNGObject& TPNGImageButton::ImageOf(TButtonImage image) {
    switch (image) {
        case TButtonImage::Over:
            return FPngOver;
        case TButtonImage::Down:
            return FPngDown;
        case TButtonImage::Up:
            return FPngUp;
        case TButtonImage::Disabled:
            return FPngDisabled;
        case TButtonImage::Img:
        case TButtonImage::None:
            break;
    }
    return FPngImg;
}

TButtonImage TPNGImageButton::WhichImage(const TPNGObject& image) const {
    if (&image == &FPngOver) return TButtonImage::Over;
    if (&image == &FPngDown) return TButtonImage::Down;
    if (&image == &FPngUp) return TButtonImage::Up;
    if (&image == &FPngDisabled) return TButtonImage::Disabled;
    return TButtonImage::Img;
}

TButtonImages TPNGImageButton::Facts() const {
    auto facts = [](const TPNGObject& png) { return TImageFacts{png.Empty(), png.Width()}; };
    return {facts(FPngImg), facts(FPngOver), facts(FPngDown), facts(FPngUp), facts(FPngDisabled)};
}

void TPNGImageButton::PngChanged(TPNGObject& image) {
    const TButtonImage which = WhichImage(image);
    const TButtonImage current = CurrentAfterChange(FCurrent, which, Facts());
    if (current != FCurrent) {
        FCurrent = current;
    } else if (AutoSize()) {
        const bool normal = which == TButtonImage::Img;
        const int width = (image.Width() > Width() || normal) ? image.Width() : Width();
        const int height = (image.Height() > Height() || normal) ? image.Height() : Height();
        SetBounds(Left(), Top(), width, height);
    }
    Invalidate();
    if (OnPictureChange) OnPictureChange(this);
}

void TPNGImageButton::SetFixedHeight(int value) {
    if (value == FFixedHeight) return;
    FFixedHeight = std::max(value, 0);
    Invalidate();
}

void TPNGImageButton::SetFixedWidth(int value) {
    if (value == FFixedWidth) return;
    FFixedWidth = std::max(value, 0);
    Invalidate();
}

void TPNGImageButton::SetFocusControl(TControl* control) {
    if (FFocusControl) FFocusControl->RemoveFreeNotification(this);
    FFocusControl = control;
    if (FFocusControl) FFocusControl->FreeNotification(this);
}

void TPNGImageButton::Notification(TComponent* component, TOperation operation) {
    TGraphicControl::Notification(component, operation);
    if (operation == opRemove && component == FFocusControl) FFocusControl = nullptr;
}

void TPNGImageButton::SetPopupMenu(HMENU menu) {
    FPopupMenu = menu;
    if (menu) Invalidate();
}

void TPNGImageButton::SetParent(TWinControl* parent) {
    TGraphicControl::SetParent(parent);
    if (parent) parent->SetDoubleBuffered(true);
}

// --- reactions ----------------------------------------------------------------------------------

void TPNGImageButton::Apply(const TImageChoice& choice) {
    FCurrent = choice.Current;
    if (choice.Repaint) Invalidate();
}

void TPNGImageButton::EnterReaction() {
    Apply(ChooseOnEnter(FCurrent, Facts()));
}

void TPNGImageButton::LeaveReaction() {
    Apply(ChooseOnLeave(FCurrent, Facts()));
}

void TPNGImageButton::MouseEnter() {
    if (!Enabled()) return;
    EnterReaction();
    TGraphicControl::MouseEnter();
}

void TPNGImageButton::MouseLeave() {
    if (!Enabled()) return;
    LeaveReaction();
    TGraphicControl::MouseLeave();
}

void TPNGImageButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button != mbLeft || !Enabled()) return;
    Apply(ChooseOnPress(FCurrent, Facts()));
    TGraphicControl::MouseDown(button, shift, x, y);
}

void TPNGImageButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbRight && FPopupMenu && Enabled()) ShowPopupMenu(x, y);
    if (button != mbLeft || !Enabled()) return;
    Apply(ChooseOnRelease(FCurrent, Facts()));
    TGraphicControl::MouseUp(button, shift, x, y);
}

void TPNGImageButton::EnabledChanged() {
    TGraphicControl::EnabledChanged();
    if (Enabled()) {
        Apply(ChooseOnEnable(FCurrent, Facts()));
    } else {
        if (FPngDisabled.Empty() || FPngDisabled.Width() < 1)
            MakeDisabledPng(FPngImg, FPngDisabled);
        Apply(ChooseOnDisable(FCurrent, Facts()));
    }
    Repaint();
}

void TPNGImageButton::Click() {
    if (Enabled()) TGraphicControl::Click();
}

void TPNGImageButton::DblClick() {
    if (Enabled()) TGraphicControl::DblClick();
}

void TPNGImageButton::ShowPopupMenu(int x, int y) {
    const HWND owner = Parent() ? Parent()->Handle() : nullptr;
    if (!owner) return;
    const POINT at = ClientToScreen({x, y});
    TrackPopupMenu(FPopupMenu, TPM_LEFTALIGN | TPM_TOPALIGN, at.x, at.y, 0, owner, nullptr);
}

// --- painting
// -------------------------------------------------------------------------------------

void TPNGImageButton::DrawPlaceholder(HDC dc, const RECT& r) {
    ScopedPen pen(CreatePen(PS_DASH, 1, RGB(0, 0, 0)));
    ScopedSelectObject selectedPen(dc, pen.get());
    ScopedSelectObject hollow(dc, GetStockObject(HOLLOW_BRUSH));
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    Rectangle(dc, r.left, r.top, r.right, r.bottom);
    SetBkMode(dc, oldMode);
}

void TPNGImageButton::DrawTiled(HDC dc, const TPNGObject& image, const RECT& client) {
    ScopedBitmap plain = image.ToBitmap(ColorToRGB(clBtnFace));
    if (!plain) return;
    ScopedBrush pattern(CreatePatternBrush(plain.get()));
    if (pattern) ::FillRect(dc, &client, pattern.get());
}

void TPNGImageButton::DrawStretched(HDC dc, const TPNGObject& image, const RECT& client) {
    const int RW = client.right - client.left, RH = client.bottom - client.top;
    TPNGObject capped = image;
    const TCapSpans rows = CapSpans(FFixedHeight, capped.Height(), RH);
    if (rows.Apply) {
        TPNGObject tall = TPNGObject::CreateBlank(capped.Width(), RH);
        for (int i = 0; i < 3; ++i) {
            StretchCopyRect(capped, {0, rows.Source[i][0], capped.Width(), rows.Source[i][1]},
                            &tall, {0, rows.Target[i][0], capped.Width(), rows.Target[i][1]});
        }
        capped = std::move(tall);
    }
    const TCapSpans columns = CapSpans(FFixedWidth, capped.Width(), RW);
    if (columns.Apply) {
        TPNGObject wide = TPNGObject::CreateBlank(RW, capped.Height());
        for (int i = 0; i < 3; ++i) {
            StretchCopyRect(capped,
                            {columns.Source[i][0], 0, columns.Source[i][1], capped.Height()}, &wide,
                            {columns.Target[i][0], 0, columns.Target[i][1], capped.Height()});
        }
        capped = std::move(wide);
    }
    capped.Draw(dc, client);
}

void TPNGImageButton::Paint() {
    if (FPainting) return;
    FPainting = true;
    struct Guard {
        bool& flag;
        ~Guard() { flag = false; }
    } guard{FPainting};

    const TButtonImages facts = Facts();
    if (FCurrent == TButtonImage::None || facts[FCurrent].Width <= 0) FCurrent = TButtonImage::Img;
    const TPNGObject& image = ImageOf(ImageToPaint(FCurrent, Enabled(), facts));
    HDC surface = Canvas().Handle();
    const RECT client = ClientRect();
    if (image.Empty()) {
        DrawPlaceholder(surface, {0, 0, Width(), Height()});
        return;
    }
    const RECT target = FStretch ? client : PlaceImage(client, image.Width(), image.Height());

    TBitmap face(Width(), Height(), pf24bit);
    if (face.Empty()) return;
    HDC dc = face.Canvas().Handle();
    BitBlt(dc, 0, 0, Width(), Height(), surface, 0, 0, SRCCOPY);
    if (FTile)
        DrawTiled(dc, image, client);
    else if (FStretch)
        DrawStretched(dc, image, client);
    else
        image.Draw(dc, target);
    if (Enabled() && FPopupMenu && !FPopupArrow.Empty()) {
        DrawPicture(dc, FPopupArrow,
                    Width() - FPopupArrow.Width() - kArrowMargin + FPopupArrowOffsetX,
                    (Height() - FPopupArrow.Height()) / 2 + FPopupArrowOffsetY);
    }
    if (!FIcon.Empty()) {
        DrawPicture(dc, FIcon, (Width() - FIcon.Width()) / 2 + FIconOffsetX,
                    (Height() - FIcon.Height()) / 2 + FIconOffsetY);
    }
    face.FlushCanvas();
    BitBlt(surface, 0, 0, Width(), Height(), dc, 0, 0, SRCCOPY);
}

// --- TPNGImageButtonEx
// ----------------------------------------------------------------------------

TPNGImageButtonEx::TPNGImageButtonEx(TComponent* owner) : TPNGImageButton(owner) {}

void TPNGImageButtonEx::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TPNGImageButton::MouseDown(button, shift, x, y);
    if (button == mbLeft && Enabled() && FPngDown.Width() > 0 && !FPngDown.Empty() &&
        FGroupIndex != 0 && !FDown) {
        FDown = true;
        Invalidate();
        ReleaseGroup();
    }
}

void TPNGImageButtonEx::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (!FDown) TPNGImageButton::MouseUp(button, shift, x, y);
}

void TPNGImageButtonEx::MouseEnter() {
    if (!Enabled()) return;
    if (!(FDown && FGroupIndex != 0)) Apply(ChooseOnEnterEx(FCurrent, Facts()));
    TGraphicControl::MouseEnter();
}

void TPNGImageButtonEx::MouseLeave() {
    if (!Enabled()) return;
    if (!(FDown && FGroupIndex != 0)) Apply(ChooseOnLeaveEx(FCurrent, Facts()));
    TGraphicControl::MouseLeave();
}

void TPNGImageButtonEx::SetDown(bool value) {
    if (value == FDown) return;
    FDown = value;
    Invalidate();
    if (FDown && FGroupIndex != 0) ReleaseGroup();
}

void TPNGImageButtonEx::ReleaseGroup() {
    if (!Parent() || FGroupIndex == 0) return;
    for (int i = 0; i < Parent()->ControlCount() && FDown; ++i) {
        auto* other = dynamic_cast<TPNGImageButtonEx*>(Parent()->Controls(i));
        if (!other || other == this || other->FGroupIndex != FGroupIndex) continue;
        other->FDown = false;
        if (other->FPngImg.Width() > 0 && other->FCurrent != TButtonImage::Img)
            other->FCurrent = TButtonImage::Img;
        other->Invalidate();
    }
}

void TPNGImageButtonEx::SetGroupIndex(int value) {
    SetAndRepaint(FGroupIndex, value);
}
void TPNGImageButtonEx::SetAlignment(TAlignment value) {
    SetAndRepaint(FAlignment, value);
}
void TPNGImageButtonEx::SetCaption(const std::wstring& value) {
    SetAndRepaint(FCaption, value);
}
void TPNGImageButtonEx::SetCaptionOffsetX(int value) {
    SetAndRepaint(FCaptionOffsetX, value);
}
void TPNGImageButtonEx::SetCaptionOffsetY(int value) {
    SetAndRepaint(FCaptionOffsetY, value);
}
void TPNGImageButtonEx::SetFontSpace(int value) {
    SetAndRepaint(FFontSpace, value);
}

void TPNGImageButtonEx::Paint() {
    Canvas().Font().Assign(Font());
    TPNGImageButton::Paint();
    if (FCaption.empty()) return;
    const SIZE extent = Canvas().TextExtent(FCaption);
    int x = (Width() - extent.cx) / 2;
    if (FAlignment == taLeftJustify) x = kCaptionMargin;
    if (FAlignment == taRightJustify) x = Width() - extent.cx - kCaptionMargin;
    const int y = (Height() - extent.cy) / 2;
    if (!Enabled()) Canvas().Font().SetColor(clGrayText);
    Canvas().Brush().SetStyle(bsClear);
    Canvas().TextRect(ClientRect(), x + FCaptionOffsetX, y + FCaptionOffsetY, FCaption);
    Canvas().Brush().SetStyle(bsSolid);
}

}  // namespace qv
