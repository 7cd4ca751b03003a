// Tfrm_Info: the download-failure dialog. It tells the user the download failed and offers to
// download again, to download with the web browser instead, or to close. Its window caption is
// "提示信息". ShowInfo creates one per call; tests create it directly to look at its layout.
#pragma once

#include "ui/Form.h"
#include "ui/Image.h"
#include "ui/Label.h"
#include "ui/VantlePanel.h"

namespace qv {

class TFormShadow;
class TPNGImageButtonEx;

// Answers of ShowInfo.
inline constexpr int kInfoAnswerClose = 0;    // close button, and every other way the dialog ends
inline constexpr int kInfoAnswerBrowser = 1;  // download the package with the web browser
inline constexpr int kInfoAnswerReload = 2;   // download again

// Shows the dialog modally and returns the user's answer.
int ShowInfo();

class Tfrm_Info : public TForm {
public:
    explicit Tfrm_Info(TComponent* owner);

    int Answer() const { return FAnswer; }

    // The layout's controls, owned by the form.
    TLabel* Label1;
    TImage* Image1;
    TVantlePanel* pnl_Titile;
    TLabel* lblSysTitle;
    TVantlePanel* vantlePnlTopRight;
    TVantlePanel* pnlMinClose;
    TPNGImageButtonEx* btnClose;
    TVantlePanel* pnl_bottom;
    TImage* btnReLoad;
    TImage* btnUseIE;

    TFormShadow* Shadow() const { return FShadow; }

private:
    void CreateLayout();  // f_InfoLayout.cpp
    void BindHandlers();

    void FormCreate(TComponent* Sender);
    void FormShow(TComponent* Sender);
    void btnReLoadClick(TComponent* Sender);
    void btnUseIEClick(TComponent* Sender);
    void btnCloseClick(TComponent* Sender);
    void pnl_TitileMouseDown(TComponent* Sender, TMouseButton Button, TShiftState Shift, int X,
                             int Y);

    void CloseWith(int answer);

    int FAnswer = kInfoAnswerClose;
    TFormShadow* FShadow = nullptr;
};

}  // namespace qv
