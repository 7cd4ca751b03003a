#include "controls/XPDorvexRadioButton.h"

#include "common/ScopedHandles.h"
#include "ui/Form.h"

namespace qv {

namespace {

int SystemThumbWidth() {
    return GetSystemMetrics(SM_CXHTHUMB) - 4;
}

bool HasPicture(const TPicture& picture) {
    return picture.Contents() != TPicture::Kind::None && !picture.Empty();
}

}  // namespace

TXPDorvexRadioButton::TXPDorvexRadioButton(TComponent* owner)
    : TWinControl(owner),
      thumbWidth_(SystemThumbWidth()),
      glyph_(std::make_unique<TPicture>()),
      checkedGlyph_(std::make_unique<TPicture>()) {
    SetControlStyle(csClickEvents | csSetCaption | csDoubleClicks);
    SetTabStop(true);
    SetBounds(Left(), Top(), 113, 17);
    glyph_->OnChange = [this] { GlyphChanged(*glyph_); };
    checkedGlyph_->OnChange = [this] { GlyphChanged(*checkedGlyph_); };
}

TXPDorvexRadioButton::~TXPDorvexRadioButton() {
    glyph_->OnChange = nullptr;
    checkedGlyph_->OnChange = nullptr;
}

// --- settings --------------------------------------------------------------------------------

void TXPDorvexRadioButton::SetChecked(bool on) {
    if (on == checked_) return;
    checked_ = on;
    SetTabStop(on);
    if (HandleAllocated()) SendMessageW(Handle(), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
    if (on) {
        UncheckSiblings();
        if (OnClick) OnClick(this);
    }
    RedrawButton();
}

void TXPDorvexRadioButton::UncheckSiblings() {
    TWinControl* parent = Parent();
    if (!parent) return;
    for (int i = 0; i < parent->ControlCount(); ++i) {
        auto* sibling = dynamic_cast<TXPDorvexRadioButton*>(parent->Controls(i));
        if (sibling && sibling != this) sibling->SetChecked(false);
    }
}

void TXPDorvexRadioButton::SetAlignment(TAlignment value) {
    if (value == alignment_) return;
    alignment_ = value;
    RecreateWnd();
    RedrawButton();
}

void TXPDorvexRadioButton::SetTransparent(bool on) {
    SetAndRedraw(transparent_, on);
}
void TXPDorvexRadioButton::SetIconSpace(int value) {
    SetAndRedraw(iconSpace_, value);
}
void TXPDorvexRadioButton::SetDrawFocusRect(bool on) {
    SetAndRedraw(drawFocusRect_, on);
}

void TXPDorvexRadioButton::SetThumbWidth(int value) {
    if (value == thumbWidth_) return;
    thumbWidth_ = NormalizedThumbWidth(value, SystemThumbWidth() + 4);
    RedrawButton();
}

void TXPDorvexRadioButton::SetDisabledColor(TColor value) {
    SetAndRedraw(disabledColor_, value);
}
void TXPDorvexRadioButton::SetCheckPointColor(TColor value) {
    SetAndRedraw(checkPointColor_, value);
}
void TXPDorvexRadioButton::SetMouseInBorderColor(TColor value) {
    SetAndRedraw(mouseInBorderColor_, value);
}
void TXPDorvexRadioButton::SetMouseInInnerColor(TColor value) {
    SetAndRedraw(mouseInInnerColor_, value);
}
void TXPDorvexRadioButton::SetMouseOutBorderColor(TColor value) {
    SetAndRedraw(mouseOutBorderColor_, value);
}
void TXPDorvexRadioButton::SetMouseOutInnerColor(TColor value) {
    SetAndRedraw(mouseOutInnerColor_, value);
}
void TXPDorvexRadioButton::SetCheckedAreaSelectColor(TColor value) {
    SetAndRedraw(checkedAreaSelectColor_, value);
}
void TXPDorvexRadioButton::SetCheckedAreaSelectBorderColor(TColor value) {
    SetAndRedraw(checkedAreaSelectBorderColor_, value);
}
void TXPDorvexRadioButton::SetFocusBorderColor(TColor value) {
    SetAndRedraw(focusBorderColor_, value);
}
void TXPDorvexRadioButton::SetFocusInnerColor(TColor value) {
    SetAndRedraw(focusInnerColor_, value);
}
void TXPDorvexRadioButton::SetUnFocusBorderColor(TColor value) {
    unFocusBorderColor_ = value;
    RedrawButton();
}
void TXPDorvexRadioButton::SetUnFocusInnerColor(TColor value) {
    unFocusInnerColor_ = value;
    RedrawButton();
}

void TXPDorvexRadioButton::GlyphChanged(TPicture& picture) {
    if (HasPicture(picture) && picture.Contents() == TPicture::Kind::Bitmap) {
        picture.Bitmap().SetTransparent(true);
    }
    RedrawButton();
}

// --- window ----------------------------------------------------------------------------------

void TXPDorvexRadioButton::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, L"BUTTON");
    params.Style |= BS_RADIOBUTTON;
    if (alignment_ == taLeftJustify) params.Style |= BS_LEFTTEXT;
}

void TXPDorvexRadioButton::CreateWnd() {
    TWinControl::CreateWnd();
    SendMessageW(Handle(), BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0);
}

// --- drawing ---------------------------------------------------------------------------------

void TXPDorvexRadioButton::RedrawButton() {
    if (!Visible() || !HandleAllocated()) return;
    const bool picture = checked_ ? HasPicture(*glyph_) : HasPicture(*checkedGlyph_);
    if (transparent_ || picture) {
        InvalidateRect(Handle(), nullptr, TRUE);  // the erase refreshes the parent's image first
        return;
    }
    if (!ParentForm()) return;
    ScopedGetDC dc(Handle());
    if (dc) DrawButton(dc.get());
}

void TXPDorvexRadioButton::RefreshBackground() {
    if (!background_.SetSize(Width(), Height())) return;
    DrawParentImage(background_.Canvas().Handle());
}

void TXPDorvexRadioButton::PaintBackground(TBitmap& face) {
    TCanvas& canvas = face.Canvas();
    if (!transparent_) {
        canvas.Brush().SetColor(Color());
        canvas.FillRect(RECT{0, 0, face.Width(), face.Height()});
        return;
    }
    if (background_.Width() != Width() || background_.Height() != Height()) RefreshBackground();
    BitBlt(canvas.Handle(), 0, 0, face.Width(), face.Height(), background_.Canvas().Handle(), 0, 0,
           SRCCOPY);
}

RECT TXPDorvexRadioButton::DrawThumb(TCanvas& canvas, const RECT& box, bool enabled) {
    TColor fill = mouseOutInnerColor_, outline = mouseOutBorderColor_;
    if (mouseDown_ || spaceDown_) {
        fill = checkedAreaSelectColor_;
        outline = checkedAreaSelectBorderColor_;
    } else if (mouseIn_) {
        fill = mouseInInnerColor_;
        outline = mouseInBorderColor_;
    }
    // An unchecked button shows Glyph, a checked one CheckedGlyph; without one, the circle.
    TPicture* picture = nullptr;
    if (!checked_ && HasPicture(*glyph_)) picture = glyph_.get();
    if (checked_ && HasPicture(*checkedGlyph_)) picture = checkedGlyph_.get();
    if (picture) {
        const int frameWidth = StripFrameWidth(picture->Width());
        const RadioFrame frame = FrameFor({Focused(), mouseIn_, mouseDown_, spaceDown_, enabled});
        const RECT glyph = GlyphRect(box, frameWidth, picture->Height());
        const int saved = canvas.SaveState();
        canvas.IntersectClipRect(glyph);
        const POINT origin = canvas.ViewportOrigin();
        canvas.SetViewportOrigin(origin.x - static_cast<int>(frame) * frameWidth, origin.y);
        picture->Draw(canvas.Handle(),
                      RECT{glyph.left, glyph.top, glyph.left + picture->Width(),
                           glyph.top + picture->Height()},
                      true);
        canvas.RestoreState(saved);
        return glyph;
    }
    canvas.Brush().SetColor(fill);
    canvas.Pen().SetColor(enabled ? outline : disabledColor_);
    canvas.Ellipse(box.left, box.top, box.right, box.bottom);
    if (checked_) {
        const RECT point = CheckPointRect(box);
        canvas.Brush().SetColor(checkPointColor_);
        canvas.Pen().SetColor(enabled ? clHighlight : disabledColor_);
        canvas.Ellipse(point.left, point.top, point.right, point.bottom);
    }
    return box;
}

void TXPDorvexRadioButton::DrawCaption(TCanvas& canvas, const RECT& client, const RECT& box,
                                       bool enabled) {
    canvas.Font().Assign(Font());
    if (!enabled) canvas.Font().SetColor(disabledColor_);
    const std::wstring& caption = Caption();
    const SIZE extent = canvas.TextExtent(caption);
    const SIZE text{extent.cx, canvas.TextHeight(caption)};
    RECT area = CaptionRect(client, box, iconSpace_, text, alignment_ == taRightJustify);
    canvas.Brush().SetStyle(bsClear);
    canvas.TextRect(area, area.left, area.top, caption);
    if (drawFocusRect_ && Focused()) {
        InflateRect(&area, 1, 1);
        canvas.Pen().SetColor(clBlack);
        canvas.Pen().SetStyle(psDot);
        canvas.Rectangle(area);
        canvas.Pen().SetStyle(psSolid);
    }
    canvas.Brush().SetStyle(bsSolid);
}

void TXPDorvexRadioButton::DrawButton(HDC dc) {
    if (!ParentForm() || !dc) return;
    TBitmap face(Width(), Height(), pf24bit);
    if (face.Empty()) return;
    ++drawCount_;
    PaintBackground(face);
    const bool enabled = IsEnabledInTree();
    const RECT client = ClientRect();
    TCanvas& canvas = face.Canvas();
    const RECT box = DrawThumb(canvas, ThumbBox(client, thumbWidth_), enabled);
    DrawCaption(canvas, client, box, enabled);
    BitBlt(dc, 0, 0, face.Width(), face.Height(), canvas.Handle(), 0, 0, SRCCOPY);
}

// --- reactions -------------------------------------------------------------------------------

void TXPDorvexRadioButton::MouseInNotify() {
    if (OnMouseIn) OnMouseIn(this);
}

void TXPDorvexRadioButton::MouseOutNotify() {
    if (OnMouseOut) OnMouseOut(this);
}

void TXPDorvexRadioButton::MouseEnter() {
    TWinControl::MouseEnter();
    if (Enabled()) {
        mouseIn_ = true;
        RedrawButton();
    }
    MouseInNotify();
}

void TXPDorvexRadioButton::MouseLeave() {
    TWinControl::MouseLeave();
    if (Enabled()) {
        mouseIn_ = false;
        RedrawButton();
    }
    MouseOutNotify();
}

void TXPDorvexRadioButton::EnabledChanged() {
    if (!Enabled() && Parent() && HandleAllocated() && GetFocus() == Handle()) {
        Perform(WM_KILLFOCUS, 0, 0);
    }
    if (HandleAllocated()) EnableWindow(Handle(), Enabled());
    RedrawButton();
}

void TXPDorvexRadioButton::ColorChanged() {
    TWinControl::ColorChanged();
    RedrawButton();
}

void TXPDorvexRadioButton::TextChanged() {
    TWinControl::TextChanged();
    RedrawButton();
}

void TXPDorvexRadioButton::KeyDown(WORD& key, TShiftState shift) {
    TWinControl::KeyDown(key, shift);
    if (key == VK_SPACE) SetChecked(true);
    if (key == VK_RETURN && tabOnEnter_) {
        PostMessageW(Handle(), WM_KEYDOWN, VK_TAB, 0);
        key = 0;
    }
}

void TXPDorvexRadioButton::WndProc(TMessage& message) {
    switch (message.Msg) {
        case WM_PAINT:
        case WM_PRINTCLIENT:
            if (message.WParam != 0) {
                DrawButton(reinterpret_cast<HDC>(message.WParam));
            } else {
                ScopedPaint paint(Handle());
                DrawButton(paint.dc());
            }
            return;
        case WM_ERASEBKGND:
            if (transparent_ && !Destroying()) RefreshBackground();
            message.Result = 1;
            return;
        case WM_SETFOCUS:
            TWinControl::WndProc(message);
            mouseIn_ = true;
            RedrawButton();
            return;
        case WM_KILLFOCUS:
            TWinControl::WndProc(message);
            mouseIn_ = false;
            RedrawButton();
            return;
        case BM_GETCHECK:
        case BM_SETCHECK:
        case WM_SETTEXT:
            DefaultHandler(message);
            if (message.Msg != WM_SETTEXT) mouseIn_ = false;
            RedrawButton();
            return;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            TWinControl::WndProc(message);
            mouseDown_ = true;
            RedrawButton();
            return;
        case WM_LBUTTONUP:
            TWinControl::WndProc(message);
            mouseDown_ = false;
            SetChecked(true);
            RedrawButton();
            return;
        case WM_KEYDOWN:
            if (!Enabled()) return;
            TWinControl::WndProc(message);
            if (message.WParam == VK_SPACE) {
                spaceDown_ = true;
                if (!spaceHeld_) RedrawButton();
                spaceHeld_ = true;
            }
            return;
        case WM_KEYUP:
            if (!Enabled()) return;
            TWinControl::WndProc(message);
            if (message.WParam == VK_SPACE) {
                spaceDown_ = false;
                spaceHeld_ = false;
                RedrawButton();
            }
            return;
        default:
            break;
    }
    TWinControl::WndProc(message);
}

}  // namespace qv
