// The owner-drawn flat radio button: a circle (or a five-frame picture strip) and a caption,
// painted by the control into an off-screen bitmap, with its own colours for the normal, hot
// (pointer over it or focused), pressed, checked and disabled looks, optional transparency
// over the parent's image, and Enter moving the focus on like Tab. The window is a system
// button with the radio style; all radio buttons of one parent form one group.
#pragma once

#include <memory>

#include "controls/RadioLayout.h"
#include "ui/Bitmap.h"
#include "ui/Label.h"  // TAlignment
#include "ui/Picture.h"
#include "ui/WinControl.h"

namespace qv {

class TXPDorvexRadioButton : public TWinControl {
public:
    explicit TXPDorvexRadioButton(TComponent* owner);
    ~TXPDorvexRadioButton() override;

    bool Checked() const { return checked_; }
    // Checking unchecks the other radio buttons of the same parent and fires OnClick.
    void SetChecked(bool on);

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    bool Transparent() const { return transparent_; }
    virtual void SetTransparent(bool on);
    int IconSpace() const { return iconSpace_; }
    virtual void SetIconSpace(int value);
    bool DrawFocusRect() const { return drawFocusRect_; }
    virtual void SetDrawFocusRect(bool on);
    int ThumbWidth() const { return thumbWidth_; }
    // A value of 1 or less stands for the system's scroll-bar thumb width minus 4.
    virtual void SetThumbWidth(int value);
    bool TabOnEnter() const { return tabOnEnter_; }
    void SetTabOnEnter(bool on) { tabOnEnter_ = on; }

    // Five frames side by side: normal, focused, hot, pressed, disabled.
    TPicture& Glyph() { return *glyph_; }
    TPicture& CheckedGlyph() { return *checkedGlyph_; }

    TColor DisabledColor() const { return disabledColor_; }
    virtual void SetDisabledColor(TColor value);
    TColor CheckPointColor() const { return checkPointColor_; }
    virtual void SetCheckPointColor(TColor value);
    TColor MouseInBorderColor() const { return mouseInBorderColor_; }
    virtual void SetMouseInBorderColor(TColor value);
    TColor MouseInInnerColor() const { return mouseInInnerColor_; }
    virtual void SetMouseInInnerColor(TColor value);
    TColor MouseOutBorderColor() const { return mouseOutBorderColor_; }
    virtual void SetMouseOutBorderColor(TColor value);
    TColor MouseOutInnerColor() const { return mouseOutInnerColor_; }
    virtual void SetMouseOutInnerColor(TColor value);
    TColor CheckedAreaSelectColor() const { return checkedAreaSelectColor_; }
    virtual void SetCheckedAreaSelectColor(TColor value);
    TColor CheckedAreaSelectBorderColor() const { return checkedAreaSelectBorderColor_; }
    virtual void SetCheckedAreaSelectBorderColor(TColor value);
    // Focus colours: kept for layouts that set them; a focused button shows the hot colours.
    TColor FocusBorderColor() const { return focusBorderColor_; }
    virtual void SetFocusBorderColor(TColor value);
    TColor FocusInnerColor() const { return focusInnerColor_; }
    virtual void SetFocusInnerColor(TColor value);
    TColor UnFocusBorderColor() const { return unFocusBorderColor_; }
    virtual void SetUnFocusBorderColor(TColor value);
    TColor UnFocusInnerColor() const { return unFocusInnerColor_; }
    virtual void SetUnFocusInnerColor(TColor value);

    bool MouseIn() const { return mouseIn_; }
    bool MouseDownState() const { return mouseDown_; }
    bool SpaceDown() const { return spaceDown_; }

    // Renders the whole control into dc (client coordinates) in one copy.
    virtual void DrawButton(HDC dc);
    // The one refresh every state change calls.
    void RedrawButton();
    // How many times the face has been drawn (for checking that repaints are not repeated).
    int DrawCount() const { return drawCount_; }

    void WndProc(TMessage& message) override;

    TNotifyEvent OnMouseIn;
    TNotifyEvent OnMouseOut;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Click() override {}  // OnClick fires when the button becomes checked
    void KeyDown(WORD& key, TShiftState shift) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void EnabledChanged() override;
    void ColorChanged() override;
    void TextChanged() override;
    virtual void MouseInNotify();
    virtual void MouseOutNotify();

private:
    template <class T>
    void SetAndRedraw(T& field, T value) {
        if (field == value) return;
        field = value;
        RedrawButton();
    }
    void GlyphChanged(TPicture& picture);
    void RefreshBackground();
    void PaintBackground(TBitmap& face);
    RECT DrawThumb(TCanvas& canvas, const RECT& box, bool enabled);
    void DrawCaption(TCanvas& canvas, const RECT& client, const RECT& box, bool enabled);
    void UncheckSiblings();

    bool checked_ = false;
    TAlignment alignment_ = taLeftJustify;
    TColor disabledColor_ = clGray;
    bool mouseIn_ = false;
    bool mouseDown_ = false;
    bool spaceDown_ = false;
    bool spaceHeld_ = false;
    TColor checkPointColor_ = clNavy;
    TColor focusBorderColor_ = SystemColor(COLOR_ACTIVEBORDER);
    TColor mouseOutBorderColor_ = clNavy;
    TColor mouseInInnerColor_ = SystemColor(COLOR_ACTIVEBORDER);
    TColor mouseInBorderColor_ = clGreen;
    TColor checkedAreaSelectBorderColor_ = SystemColor(COLOR_ACTIVEBORDER);
    TColor unFocusBorderColor_ = clNavy;
    TColor unFocusInnerColor_ = SystemColor(COLOR_ACTIVEBORDER);
    TColor focusInnerColor_ = clNavy;
    TColor mouseOutInnerColor_ = clWhite;
    TColor checkedAreaSelectColor_ = clSilver;
    bool tabOnEnter_ = true;
    TBitmap background_;
    bool transparent_ = false;
    int iconSpace_ = 4;
    bool drawFocusRect_ = false;
    int thumbWidth_;
    std::unique_ptr<TPicture> glyph_;
    std::unique_ptr<TPicture> checkedGlyph_;
    int drawCount_ = 0;
};

}  // namespace qv
