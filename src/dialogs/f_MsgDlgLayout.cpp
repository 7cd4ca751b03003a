// The message box's controls as laid out at 96 dots per inch, with their artwork.
#include "dialogs/ModalSpeedButton.h"
#include "dialogs/MsgDlgLayout.h"
#include "dialogs/f_MsgDlg.h"
#include "res/ArtworkIds.h"
#include "res/ArtworkLoader.h"

namespace qv {

namespace {

constexpr wchar_t kFontName[] = L"微软雅黑";
constexpr TColor kWhite = 0xFFFFFF;
constexpr TColor kButtonBarColor = 0xF7F3F0;  // F0F3F7
constexpr TColor kButtonColor = 0xCA8B42;     // 428BCA
constexpr TColor kButtonHotColor = 0xB9610E;  // 0E61B9

// A panel whose caption sits at the left edge, vertically centred (the detail pane's heading).
class TLeftCaptionPanel : public TPanel {
public:
    using TPanel::TPanel;

protected:
    void Paint() override {
        RECT r = ClientRect();
        const HDC dc = Canvas().Handle();
        for (TBevelCut cut : {BevelOuter(), BevelInner()}) {
            if (cut == bvNone) continue;
            const bool raised = cut == bvRaised;
            Frame3D(dc, r, raised ? clBtnHighlight : clBtnShadow,
                    raised ? clBtnShadow : clBtnHighlight, BevelWidth());
        }
        Canvas().Brush().SetStyle(bsClear);
        Canvas().DrawText(Caption(), r, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
};

void SetControlFont(TControl* control, int pixels, TColor color, TFontStyles style = 0) {
    control->SetParentFont(false);
    TFont& font = control->Font();
    font.SetName(kFontName);
    font.SetCharset(GB2312_CHARSET);
    font.SetHeight(-pixels);
    font.SetColor(color);
    font.SetStyle(style);
}

void SetArtwork(TImage* image, int bitmapId) {
    const ScopedBitmap bitmap = LoadBitmapResource(bitmapId);
    image->Picture().AssignBitmap(bitmap.get());
}

TPanel* MakePanel(TComponent* owner, TWinControl* parent, TColor color) {
    auto* panel = new TPanel(owner);
    panel->SetParent(parent);
    panel->SetBevelOuter(bvNone);
    panel->SetColor(color);
    return panel;
}

TImage* MakeStretchedImage(TComponent* owner, TWinControl* parent, int bitmapId) {
    auto* image = new TImage(owner);
    image->SetParent(parent);
    image->SetAlign(alClient);
    image->SetStretch(true);
    SetArtwork(image, bitmapId);
    return image;
}

TImage* MakeIcon(TComponent* owner, TWinControl* parent, int bitmapId) {
    auto* icon = new TImage(owner);
    icon->SetParent(parent);
    icon->SetBounds(11, 4, 48, 48);
    icon->SetCenter(true);
    icon->SetTransparent(true);  // the white around the symbol
    SetArtwork(icon, bitmapId);
    return icon;
}

TModalSpeedButton* MakeButton(TComponent* owner, TWinControl* parent, int left, int width,
                              int tabOrder) {
    auto* button = new TModalSpeedButton(owner);
    button->SetParent(parent);
    button->SetBounds(left, 8, width, 30);
    button->SetCursor(crHandPoint);
    button->SetFlat(true);
    button->SetStyle(bsNormal);
    button->SetColor(kButtonColor);
    button->SetColorWhenDown(kButtonColor);
    button->SetLightColor(kButtonColor);
    button->SetShadowColor(kButtonColor);
    button->SetHotTrackColor(kButtonHotColor);
    SetControlFont(button, 12, kWhite);
    button->SetTabStop(true);
    button->SetTabOrder(tabOrder);
    return button;
}

}  // namespace

void Tfrm_MsgDlg::CreateLayout() {
    SetName(L"frm_MsgDlg");
    SetScaled(false);  // the dialog keeps its pixel sizes whatever the system's text size
    SetClientWidth(340);
    SetClientHeight(303);
    SetFormStyle(fsStayOnTop);
    SetKeyPreview(true);
    SetPosition(poDesktopCenter);
    Font().SetName(kFontName);
    Font().SetCharset(GB2312_CHARSET);
    Font().SetHeight(-12);
    Font().SetColor(clWindowText);

    img1 = MakeStretchedImage(this, this, IDB_MSG_FRAME);

    pnl_body = MakePanel(this, this, kWhite);
    pnl_body->SetBounds(1, 1, 338, 301);
    pnl_body->SetAnchors(akLeft | akTop | akRight | akBottom);

    pnl_title = MakePanel(this, pnl_body, kWhite);
    pnl_title->SetBounds(0, 0, 338, 35);
    pnl_title->SetAlign(alTop);
    Image1 = MakeStretchedImage(this, pnl_title, IDB_TITLE_BAR);
    lblSysTitle = new TLabel(this);
    lblSysTitle->SetParent(pnl_title);
    lblSysTitle->SetLeft(22);
    lblSysTitle->SetTop(7);
    SetControlFont(lblSysTitle, 15, kWhite);
    lblSysTitle->SetTransparent(true);
    lblSysTitle->SetCaption(std::wstring(kMsgPlaceholderTitle));
    Image2 = new TImage(this);
    Image2->SetParent(pnl_title);
    Image2->SetBounds(309, 4, 26, 26);
    Image2->SetAnchors(akTop | akRight);
    Image2->SetTransparent(true);  // the red square shows only under the pointer
    SetArtwork(Image2, IDB_MSG_CLOSE);

    pnlMsg = MakePanel(this, pnl_body, kWhite);
    pnlMsg->SetBounds(0, 35, 338, 102);
    pnlMsg->SetAlign(alTop);
    lblMsg = new TLabel(this);
    lblMsg->SetParent(pnlMsg);
    lblMsg->SetLeft(67);
    lblMsg->SetTop(14);
    SetControlFont(lblMsg, 15, clWindowText);
    // Messages carry file paths, whose "&" must show as written.
    lblMsg->SetShowAccelChar(false);
    imgInfo = MakeIcon(this, pnlMsg, IDB_MSG_INFO);
    imgError = MakeIcon(this, pnlMsg, IDB_MSG_ERROR);
    imgWarn = MakeIcon(this, pnlMsg, IDB_MSG_WARNING);
    imgConfirm = MakeIcon(this, pnlMsg, IDB_MSG_CONFIRM);
    pnlRemind = new TPanel(this);
    pnlRemind->SetParent(pnlMsg);
    pnlRemind->SetColor(kWhite);
    pnlRemind->SetHeight(24);
    pnlRemind->SetAlign(alBottom);
    pnlRemind->SetVisible(false);
    cbxRemind = new TCheckBox(this);
    cbxRemind->SetParent(pnlRemind);
    cbxRemind->SetBounds(56, 0, 17, 17);
    cbxRemind->SetColor(kWhite);
    lblRemind = new TLabel(this);
    lblRemind->SetParent(pnlRemind);
    lblRemind->SetLeft(72);
    lblRemind->SetTop(0);
    lblRemind->SetShowAccelChar(false);

    pnlButton = MakePanel(this, pnl_body, kButtonBarColor);
    pnlButton->SetHeight(46);
    pnlButton->SetAlign(alBottom);
    Image3 = MakeStretchedImage(this, pnlButton, IDB_MSG_BUTTON_BAR);
    sBtnLeft = MakeButton(this, pnlButton, 39, 67, 0);
    sBtnCenter = MakeButton(this, pnlButton, 121, 67, 1);
    sBtnRight = MakeButton(this, pnlButton, 197, 67, 2);
    sBtnDetail = MakeButton(this, pnlButton, 235, 80, 3);

    pnlDetail = new TPanel(this);
    pnlDetail->SetParent(pnl_body);
    pnlDetail->SetBevelInner(bvRaised);
    pnlDetail->SetBevelOuter(bvLowered);
    pnlDetail->SetAlign(alClient);
    Panel3 = new TLeftCaptionPanel(this);
    Panel3->SetParent(pnlDetail);
    Panel3->SetBevelOuter(bvLowered);
    Panel3->SetColor(kWhite);
    Panel3->SetHeight(20);
    Panel3->SetAlign(alTop);
    Panel3->SetCaption(L" 详细信息");
    moInfo = new TRichEdit(this);
    moInfo->SetParent(pnlDetail);
    moInfo->SetAlign(alClient);
    moInfo->SetReadOnly(true);
    moInfo->SetScrollBars(ssBoth);
    moInfo->SetBorderStyle(bsNone);
    moInfo->SetColor(kWhite);
}

}  // namespace qv
