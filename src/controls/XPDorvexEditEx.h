// The flat one-line text box: the edit base without a system border, framed by coloured side
// lines it draws itself, with colours for the normal, hovered, focused and disabled or
// read-only states, and input styles that make it a number, percentage or currency field.
// Enter moves the focus on like Tab.
#pragma once

#include "controls/InputStyles.h"
#include "controls/QelCustomEdit.h"
#include "controls/SideLines.h"

namespace qv {

class TXPDorvexEditEx : public TQelCustomEdit {
public:
    explicit TXPDorvexEditEx(TComponent* owner);

    TColor BorderColor() const { return borderColor_; }
    virtual void SetBorderColor(TColor value);
    TColor FocusBorderColor() const { return focusBorderColor_; }
    virtual void SetFocusBorderColor(TColor value);
    TColor DisableColor() const { return disableColor_; }
    virtual void SetDisableColor(TColor value);
    TColor UnfocusedColor() const { return unfocusedColor_; }
    virtual void SetUnfocusedColor(TColor value);
    TColor DisableBackGroundColor() const { return disableBackGroundColor_; }
    virtual void SetDisableBackGroundColor(TColor value);

    TInputStyle InputStyle() const { return inputStyle_; }
    virtual void SetInputStyle(TInputStyle value);
    int DecimalLength() const { return decimalLength_; }
    virtual void SetDecimalLength(int value);
    // The number a numeric box holds; in the text style setting it does nothing.
    double Value() const { return value_; }
    virtual void SetValue(double value);

    TSideLines SideLines() const { return sideLines_; }
    virtual void SetSideLines(TSideLines value);
    int SideWidth() const { return sideWidth_; }
    virtual void SetSideWidth(int value);
    int SideLightStep() const { return sideLightStep_; }
    virtual void SetSideLightStep(int value);
    int SideBlendStep() const { return sideBlendStep_; }
    virtual void SetSideBlendStep(int value);
    TColor SideBlendColor() const { return sideBlendColor_; }
    virtual void SetSideBlendColor(TColor value);
    bool SideFocus() const { return sideFocus_; }
    virtual void SetSideFocus(bool on);
    bool TabOnEnter() const { return tabOnEnter_; }
    void SetTabOnEnter(bool on) { tabOnEnter_ = on; }

    int TextLeftSpace() const { return textLeftSpace_; }
    virtual void SetTextLeftSpace(int value);
    int TextRightSpace() const { return textRightSpace_; }
    virtual void SetTextRightSpace(int value);
    int TextTopOffset() const { return textTopOffset_; }
    virtual void SetTextTopOffset(int value);

    // Hot: the pointer is over the box or the box has the focus.
    bool MouseIn() const { return mouseIn_; }

    void Redraw() override { Invalidate(); }
    void UpdateTextRect() override;
    // Paints the side lines over the edit window's face.
    virtual void DrawBorder();

    void WndProc(TMessage& message) override;

    TNotifyEvent OnMouseMoveIn;
    TNotifyEvent OnMouseMoveOut;

protected:
    virtual void MouseInNotify();
    virtual void MouseOutNotify();
    void MouseEnter() override;
    void MouseLeave() override;
    void KeyPress(wchar_t& key) override;
    void DblClick() override;
    void DoEnter() override;
    void EnabledChanged() override;
    void ColorChanged() override;
    void Changed() override;

private:
    void FocusGained(TMessage& message);
    void FocusLost(TMessage& message);
    void FormatOnFocusLoss();
    void ApplyStateBackground();
    TColor StateLineColor(int& rings);

    TColor borderColor_ = clOlive;
    TColor disableColor_ = clBackground;
    TColor unfocusedColor_ = clBackground;
    bool mouseIn_ = false;
    TInputStyle inputStyle_ = TInputStyle::ISText;
    int decimalLength_ = 0;
    double value_ = 0.0;
    TSideLines sideLines_ = kAllSideLines;
    bool tabOnEnter_ = true;
    int sideWidth_ = 1;
    TColor focusBorderColor_ = clOlive;
    TColor disableBackGroundColor_ = clWindow;
    TColor normalColor_ = clWindow;
    int sideLightStep_ = 0;
    bool sideFocus_ = false;
    int textRightSpace_ = 4;
    int textLeftSpace_ = 4;
    int textTopOffset_ = 0;
    int sideBlendStep_ = 0;
    TColor sideBlendColor_ = clWhite;
};

}  // namespace qv
