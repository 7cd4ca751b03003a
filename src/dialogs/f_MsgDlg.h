// Tfrm_MsgDlg: the message box's form. A borderless, stay-on-top tool window with a blue title
// bar, an icon, a message that widens or wraps to fit, up to three answer buttons, an optional
// remind check box and an optional collapsible detail pane. MsgBox (MsgBox.h) creates one per
// call; tests create it directly to look at its layout.
#pragma once

#include <string>

#include "dialogs/MsgBox.h"
#include "ui/CheckBox.h"
#include "ui/Form.h"
#include "ui/Image.h"
#include "ui/Label.h"
#include "ui/Memo.h"
#include "ui/Panel.h"

namespace qv {

class TFormShadow;
class TModalSpeedButton;

class Tfrm_MsgDlg : public TForm {
public:
    explicit Tfrm_MsgDlg(TComponent* owner);

    // Takes the caller's arguments and lays the dialog out (MsgBox's steps before showing).
    void Prepare(TMsgKind Kind, const std::wstring& Msg, const std::wstring& Detail,
                 bool RemindChecked, const std::wstring& RemindText);
    // The answer of MsgBox for the modal result the dialog ended with.
    int Answer(TModalResult result) const;

    // The layout's controls, owned by the form.
    TImage* img1;
    TPanel* pnl_body;
    TPanel* pnl_title;
    TImage* Image1;
    TLabel* lblSysTitle;
    TImage* Image2;
    TPanel* pnlMsg;
    TLabel* lblMsg;
    TImage* imgInfo;
    TImage* imgError;
    TImage* imgWarn;
    TImage* imgConfirm;
    TPanel* pnlRemind;
    TCheckBox* cbxRemind;
    TLabel* lblRemind;
    TPanel* pnlDetail;
    TPanel* Panel3;
    TRichEdit* moInfo;
    TPanel* pnlButton;
    TImage* Image3;
    TModalSpeedButton* sBtnLeft;
    TModalSpeedButton* sBtnCenter;
    TModalSpeedButton* sBtnRight;
    TModalSpeedButton* sBtnDetail;

    TFormShadow* Shadow() const { return FShadow; }

protected:
    void CreateParams(TCreateParams& params) override;

private:
    void CreateLayout();  // f_MsgDlgLayout.cpp
    void BindHandlers();

    void FormCreate(TComponent* Sender);
    void FormShow(TComponent* Sender);
    void FormKeyDown(TComponent* Sender, WORD& Key, TShiftState Shift);
    void sBtnLeftClick(TComponent* Sender);
    void sBtnCenterClick(TComponent* Sender);
    void sBtnRightClick(TComponent* Sender);
    void sBtnDetailClick(TComponent* Sender);
    void Image1MouseDown(TComponent* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void Image1MouseMove(TComponent* Sender, TShiftState Shift, int X, int Y);
    void Image2Click(TComponent* Sender);
    void Image2MouseMove(TComponent* Sender, TShiftState Shift, int X, int Y);

    void LayoutDialog();
    void FitMessage();
    void UpdateHeight();
    TImage* IconImage(int icon) const;
    TModalSpeedButton* AnswerButton(int index) const;
    void SetDialogWidth(int width);

    TFormShadow* FShadow = nullptr;
    TMsgKind FKind = mkInfo;
    int FResultCode = 0;
    bool FHasDetail = false;
    bool FHasRemind = false;
};

}  // namespace qv
