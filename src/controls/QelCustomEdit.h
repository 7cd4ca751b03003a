// A one-line text box on the system "EDIT" window class. The settings are kept while no window
// exists and handed to the window when it is created. The window is multi-line so that its
// formatting rectangle can centre the text vertically; the control keeps it to one line.
#pragma once

#include <string>

#include "controls/QelWinControl.h"
#include "ui/Label.h"  // TAlignment
#include "ui/Memo.h"   // TBorderStyle

namespace qv {

enum class TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };
using enum TEditCharCase;

class TQelCustomEdit : public TQelWinControl {
public:
    explicit TQelCustomEdit(TComponent* owner);

    int MaxLength() const { return maxLength_; }
    virtual void SetMaxLength(int value);
    wchar_t PasswordChar() const { return passwordChar_; }
    virtual void SetPasswordChar(wchar_t value);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool on);
    TEditCharCase CharCase() const { return charCase_; }
    void SetCharCase(TEditCharCase value);
    bool HideSelection() const { return hideSelection_; }
    void SetHideSelection(bool on);
    bool OEMConvert() const { return oemConvert_; }
    void SetOEMConvert(bool on);
    TAlignment Alignment() const { return alignment_; }
    virtual void SetAlignment(TAlignment value);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle value);
    bool AutoSize() const { return editAutoSize_; }
    void SetAutoSize(bool on) override;
    bool AutoSelect() const { return autoSelect_; }
    void SetAutoSelect(bool on) { autoSelect_ = on; }
    bool Ctl3D() const { return ctl3D_; }
    void SetCtl3D(bool on);

    bool Modified() const;
    void SetModified(bool on);

    // Selection; these need the window and create it when missing.
    int SelStart();
    virtual void SetSelStart(int position);
    int SelLength();
    virtual void SetSelLength(int length);
    std::wstring SelText();
    // Copies at most size - 1 characters of the selection and a terminating zero; answers the
    // number copied.
    int GetSelTextBuf(wchar_t* buffer, int size);
    void SelectAll();
    void Clear();

    // Height from the font: font height plus room for the border.
    virtual void AdjustHeight();
    // Hands the edit window a formatting rectangle that centres one line vertically.
    virtual void UpdateTextRect();

    void SetParent(TWinControl* parent) override;
    void SetCaption(const std::wstring& caption) override;
    void WndProc(TMessage& message) override;

    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWindowHandle(const TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void FontChanged() override;
    void Resize() override;

    // The text changed: Changed (for derived classes), then OnChange.
    void Change();
    virtual void Changed() {}

    // Height of the control's font on the screen.
    int FontHeight() const;
    // Sends the formatting rectangle to the window.
    void SetFormattingRect(const RECT& rect);
    bool FixedHeight() const { return fixedHeight_; }

private:
    void UpdateHeight();
    bool IsMultiLineWindow();

    int maxLength_ = 0;
    TBorderStyle borderStyle_ = bsSingle;
    wchar_t passwordChar_ = L'\0';
    bool readOnly_ = false;
    bool editAutoSize_ = true;
    bool autoSelect_ = true;
    bool hideSelection_ = true;
    bool oemConvert_ = false;
    bool ctl3D_ = true;
    TEditCharCase charCase_ = ecNormal;
    TAlignment alignment_ = taLeftJustify;
    bool creating_ = false;
    bool settingText_ = false;
    bool modified_ = false;
    bool fixedHeight_ = false;
};

}  // namespace qv
