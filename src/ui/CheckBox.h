// A check box on the system BUTTON class. OnClick fires when the user toggles it (mouse, Space
// or its accelerator), not when Checked is set by code.
#pragma once

#include "ui/Label.h"
#include "ui/WinControl.h"

namespace qv {

class TCheckBox : public TWinControl {
public:
    explicit TCheckBox(TComponent* owner);

    bool Checked() const;
    void SetChecked(bool on);
    // Where the text lies: taRightJustify (the default) puts it right of the box.
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);

    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    bool DialogChar(wchar_t character) override;

private:
    bool checked_ = false;
    TAlignment alignment_ = taRightJustify;
};

}  // namespace qv
