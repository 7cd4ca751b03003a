#include "app/f_Info.h"

#include <exception>
#include <string>

#include "controls/FormShadow.h"
#include "controls/PngImageButton.h"

namespace qv {

namespace {

// The system command that moves a window by the mouse, as a drag of its caption would.
constexpr WPARAM kDragMoveCommand = 0xF012;

}  // namespace

int ShowInfo() {
    // The caller is a window handler: a dialog that cannot be shown answers as a closed one.
    try {
        auto dialog = MakeForm<Tfrm_Info>(nullptr);
        dialog->ShowModal();
        return dialog->Answer();
    } catch (const std::exception& e) {
        OutputDebugStringA((std::string("[ShowInfo] ") + e.what()).c_str());
        return kInfoAnswerClose;
    }
}

Tfrm_Info::Tfrm_Info(TComponent* owner) : TForm(owner) {
    CreateLayout();
    BindHandlers();
}

void Tfrm_Info::BindHandlers() {
    OnCreate = [this](TComponent* s) { FormCreate(s); };
    OnShow = [this](TComponent* s) { FormShow(s); };
    btnReLoad->OnClick = [this](TComponent* s) { btnReLoadClick(s); };
    btnUseIE->OnClick = [this](TComponent* s) { btnUseIEClick(s); };
    btnClose->OnClick = [this](TComponent* s) { btnCloseClick(s); };
    pnl_Titile->OnMouseDown = [this](TComponent* s, TMouseButton b, TShiftState sh, int x, int y) {
        pnl_TitileMouseDown(s, b, sh, x, y);
    };
}

void Tfrm_Info::FormCreate(TComponent*) {
    FShadow = new TFormShadow(this);
    FShadow->AttachForm(this);
}

void Tfrm_Info::FormShow(TComponent*) {
    FShadow->SetShadowVisible(true);
}

void Tfrm_Info::CloseWith(int answer) {
    FAnswer = answer;
    Close();
}

void Tfrm_Info::btnReLoadClick(TComponent*) {
    CloseWith(kInfoAnswerReload);
}

void Tfrm_Info::btnUseIEClick(TComponent*) {
    CloseWith(kInfoAnswerBrowser);
}

void Tfrm_Info::btnCloseClick(TComponent*) {
    CloseWith(kInfoAnswerClose);
}

void Tfrm_Info::pnl_TitileMouseDown(TComponent*, TMouseButton, TShiftState, int, int) {
    ReleaseCapture();
    SendMessageW(Handle(), WM_SYSCOMMAND, kDragMoveCommand, 0);
}

}  // namespace qv
