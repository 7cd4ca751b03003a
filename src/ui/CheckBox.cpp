#include "ui/CheckBox.h"

namespace qv {

TCheckBox::TCheckBox(TComponent* owner) : TWinControl(owner) {
    SetControlStyle(csSetCaption | csDoubleClicks);
    SetBounds(0, 0, 97, 17);
    SetTabStop(true);
    SetParentColor(true);
}

void TCheckBox::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, L"BUTTON");
    params.Style |= BS_AUTOCHECKBOX;
    if (alignment_ == taLeftJustify) params.Style |= BS_LEFTTEXT;
}

void TCheckBox::CreateWnd() {
    TWinControl::CreateWnd();
    SendMessageW(Handle(), BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool TCheckBox::Checked() const {
    if (HandleAllocated()) {
        return SendMessageW(const_cast<TCheckBox*>(this)->Handle(), BM_GETCHECK, 0, 0) ==
               BST_CHECKED;
    }
    return checked_;
}

void TCheckBox::SetChecked(bool on) {
    checked_ = on;
    if (HandleAllocated()) SendMessageW(Handle(), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TCheckBox::SetAlignment(TAlignment alignment) {
    if (alignment == alignment_) return;
    checked_ = Checked();
    alignment_ = alignment;
    RecreateWnd();
}

bool TCheckBox::DialogChar(wchar_t character) {
    if (!IsAccel(character, Caption()) || !CanFocus()) return false;
    SetFocus();
    SetChecked(!Checked());
    Click();
    return true;
}

void TCheckBox::WndProc(TMessage& message) {
    if (message.Msg == CN_COMMAND && HIWORD(message.WParam) == BN_CLICKED) {
        checked_ = Checked();
        Click();
        return;
    }
    TWinControl::WndProc(message);
}

}  // namespace qv
