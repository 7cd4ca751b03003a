#include "dialogs/f_MsgDlg.h"

#include <algorithm>

#include "controls/FormShadow.h"
#include "dialogs/ModalSpeedButton.h"
#include "dialogs/MsgDlgLayout.h"
#include "ui/Canvas.h"

namespace qv {

namespace {

using M = MsgDlgMetrics;

// The system command that moves a window by the mouse, as a drag of its caption would
// (SC_MOVE with HTCAPTION).
constexpr WPARAM kDragMoveCommand = 0xF012;

bool IsBlank(const std::wstring& text) {
    return std::all_of(text.begin(), text.end(), [](wchar_t c) { return c <= L' '; });
}

// Height of text drawn by a label in font, wrapped between words at width.
int WrappedTextHeight(const TFont& font, const std::wstring& text, int width) {
    ScopedGetDC screen(nullptr);
    ScopedCreatedDC dc(CreateCompatibleDC(screen.get()));
    if (!dc) return 0;
    TCanvas canvas(dc.get());
    canvas.Font().Assign(font);
    RECT r{0, 0, width, 0};
    canvas.DrawText(text, r, DT_EXPANDTABS | DT_WORDBREAK | DT_NOPREFIX | DT_CALCRECT);
    return r.bottom - r.top;
}

}  // namespace

Tfrm_MsgDlg::Tfrm_MsgDlg(TComponent* owner) : TForm(owner) {
    CreateLayout();
    BindHandlers();
}

void Tfrm_MsgDlg::BindHandlers() {
    OnCreate = [this](TComponent* s) { FormCreate(s); };
    OnShow = [this](TComponent* s) { FormShow(s); };
    OnKeyDown = [this](TComponent* s, WORD& key, TShiftState shift) { FormKeyDown(s, key, shift); };
    sBtnLeft->OnClick = [this](TComponent* s) { sBtnLeftClick(s); };
    sBtnCenter->OnClick = [this](TComponent* s) { sBtnCenterClick(s); };
    sBtnRight->OnClick = [this](TComponent* s) { sBtnRightClick(s); };
    sBtnDetail->OnClick = [this](TComponent* s) { sBtnDetailClick(s); };
    const TMouseEvent titleDown = [this](TComponent* s, TMouseButton b, TShiftState sh, int x,
                                         int y) { Image1MouseDown(s, b, sh, x, y); };
    Image1->OnMouseDown = titleDown;
    lblSysTitle->OnMouseDown = titleDown;
    Image1->OnMouseMove = [this](TComponent* s, TShiftState sh, int x, int y) {
        Image1MouseMove(s, sh, x, y);
    };
    Image2->OnClick = [this](TComponent* s) { Image2Click(s); };
    Image2->OnMouseMove = [this](TComponent* s, TShiftState sh, int x, int y) {
        Image2MouseMove(s, sh, x, y);
    };
}

void Tfrm_MsgDlg::CreateParams(TCreateParams& params) {
    TForm::CreateParams(params);
    // A top-level tool window of its own: no owner, no taskbar button.
    params.WndParent = nullptr;
    params.ExStyle |= WS_EX_TOOLWINDOW;
    // Without a taskbar button a minimised dialog could not be brought back, and the windows it
    // disables would stay disabled: no system menu, no minimise box.
    params.Style &= ~(WS_SYSMENU | WS_MINIMIZEBOX);
}

void Tfrm_MsgDlg::FormCreate(TComponent*) {
    SetColor(0x8E8E8E);
    SetWidth(M::kDefaultWidth);
    pnl_body->SetBounds(1, 1, Width() - 2, Height() - 2);
    FShadow = new TFormShadow(this);
    FShadow->AttachForm(this);
    lblMsg->SetAutoSize(true);
    lblMsg->SetWordWrap(false);
    moInfo->SetColor(0xFFFFFF);
    for (TControl* control :
         std::initializer_list<TControl*>{imgInfo, imgError, imgConfirm, imgWarn, sBtnCenter,
                                          sBtnLeft, sBtnRight, sBtnDetail, pnlDetail}) {
        control->SetVisible(false);
    }
    moInfo->Clear();
}

void Tfrm_MsgDlg::FormShow(TComponent*) {
    FShadow->SetShadowVisible(true);
}

void Tfrm_MsgDlg::Prepare(TMsgKind Kind, const std::wstring& Msg, const std::wstring& Detail,
                          bool RemindChecked, const std::wstring& RemindText) {
    FKind = Kind;
    lblMsg->SetCaption(Msg + L"  ");
    FHasDetail = !IsBlank(Detail);
    if (FHasDetail) {
        moInfo->Clear();
        moInfo->SetCaption(Detail);
    }
    FHasRemind = !IsBlank(RemindText);
    if (FHasRemind) {
        pnlRemind->SetVisible(true);
        cbxRemind->SetChecked(RemindChecked);
        lblRemind->SetCaption(RemindText);
    }
    LayoutDialog();
}

int Tfrm_MsgDlg::Answer(TModalResult result) const {
    return AnswerOfDialog(FKind, result == mrOk, FResultCode);
}

TImage* Tfrm_MsgDlg::IconImage(int icon) const {
    switch (static_cast<MsgIcon>(icon)) {
        case MsgIcon::Info:
            return imgInfo;
        case MsgIcon::Error:
            return imgError;
        case MsgIcon::Warn:
            return imgWarn;
        case MsgIcon::Confirm:
            return imgConfirm;
        case MsgIcon::None:
            break;
    }
    return nullptr;
}

TModalSpeedButton* Tfrm_MsgDlg::AnswerButton(int index) const {
    TModalSpeedButton* const buttons[kMsgButtonCount] = {sBtnLeft, sBtnCenter, sBtnRight};
    return buttons[index];
}

void Tfrm_MsgDlg::SetDialogWidth(int width) {
    SetWidth(width);
    pnl_body->SetWidth(width - 2);
}

void Tfrm_MsgDlg::LayoutDialog() {
    FitMessage();
    if (const int needed = WidthForButtons(FKind, FHasDetail); needed > Width()) {
        SetDialogWidth(needed);
    }
    const MsgKindLook look = LookOfKind(FKind);
    if (FKind <= mkYesNo2) {
        lblSysTitle->SetCaption(std::wstring(look.title));
        if (TImage* icon = IconImage(static_cast<int>(look.icon))) icon->SetVisible(true);
    }
    const ButtonLefts lefts = PlaceButtons(FKind, Width());
    for (int i = 0; i < kMsgButtonCount; ++i) {
        if (look.captions[i].empty()) continue;
        TModalSpeedButton* button = AnswerButton(i);
        button->SetCaption(std::wstring(look.captions[i]));
        button->SetLeft(lefts.answer[i]);
        button->SetVisible(true);
    }
    SetCaption(lblSysTitle->Caption());
    sBtnDetail->SetVisible(FHasDetail);
    if (FHasDetail) {
        sBtnDetail->SetCaption(std::wstring(kMsgShowDetailCaption));
        sBtnDetail->SetLeft(lefts.detail);
    }
    UpdateHeight();
    SetPosition(poScreenCenter);
}

void Tfrm_MsgDlg::FitMessage() {
    lblMsg->SetAutoSize(true);
    lblMsg->SetWordWrap(false);
    lblMsg->AdjustSize();
    const MessageFitInput text{lblMsg->Width(), lblMsg->Height(),
                               WrappedTextHeight(lblMsg->Font(), lblMsg->Caption(), kWrapWidth)};
    const MessageFit fit = FitMessageSize(text);
    SetDialogWidth(fit.dialogWidth);
    if (fit.wordWrap) {
        lblMsg->SetAutoSize(false);
        lblMsg->SetWordWrap(true);
        lblMsg->SetBounds(lblMsg->Left(), lblMsg->Top(), fit.labelWidth, fit.labelHeight);
    }
    pnlMsg->SetHeight(fit.messagePanelHeight);
    UpdateHeight();
}

void Tfrm_MsgDlg::UpdateHeight() {
    const int height = DialogHeight(pnlMsg->Height(), pnlDetail->Visible());
    SetHeight(height);
    pnl_body->SetHeight(height - 2);
}

void Tfrm_MsgDlg::sBtnLeftClick(TComponent*) {
    FResultCode = ResultCodeOfButton(MsgButton::Left, cbxRemind->Checked());
    SetModalResult(mrOk);
}

void Tfrm_MsgDlg::sBtnCenterClick(TComponent*) {
    FResultCode = ResultCodeOfButton(MsgButton::Center, cbxRemind->Checked());
    SetModalResult(mrOk);
}

void Tfrm_MsgDlg::sBtnRightClick(TComponent*) {
    FResultCode = ResultCodeOfButton(MsgButton::Right, cbxRemind->Checked());
    SetModalResult(mrOk);
}

void Tfrm_MsgDlg::sBtnDetailClick(TComponent*) {
    pnlDetail->SetVisible(!pnlDetail->Visible());
    sBtnDetail->SetCaption(
        std::wstring(pnlDetail->Visible() ? kMsgHideDetailCaption : kMsgShowDetailCaption));
    UpdateHeight();
}

void Tfrm_MsgDlg::FormKeyDown(TComponent*, WORD& Key, TShiftState) {
    if (Key == VK_ESCAPE) SetModalResult(mrCancel);
}

void Tfrm_MsgDlg::Image2Click(TComponent*) {
    Close();
    SetModalResult(mrCancel);
}

void Tfrm_MsgDlg::Image1MouseDown(TComponent* Sender, TMouseButton, TShiftState, int, int) {
    const HWND window = Handle();
    if (IsIconic(window) || IsZoomed(window)) return;
    ReleaseCapture();
    SendMessageW(window, WM_SYSCOMMAND, kDragMoveCommand, 0);
    // The move loop took the button's release; without it the title bar would keep sending the
    // mouse to the pressed control, and the close image could not be clicked.
    if (auto* pressed = dynamic_cast<TControl*>(Sender); pressed && pressed->Parent()) {
        pressed->Parent()->Perform(WM_LBUTTONUP, 0, 0);
    }
}

void Tfrm_MsgDlg::Image2MouseMove(TComponent*, TShiftState, int, int) {
    Image2->SetTransparent(false);
}

void Tfrm_MsgDlg::Image1MouseMove(TComponent*, TShiftState, int, int) {
    Image2->SetTransparent(true);
}

}  // namespace qv
