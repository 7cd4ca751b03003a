// The main window's layout: every control with its place, look and handler, as designed at
// 96 dots per inch (the form scales it to the screen's text size).
#include "app/f_Main.h"

#include <utility>

#include "ArtworkIds.h"
#include "ArtworkLoader.h"
#include "controls/FormShadow.h"
#include "controls/PngImageButton.h"
#include "controls/XPDorvexEditEx.h"
#include "controls/XPDorvexRadioButton.h"
#include "ui/Image.h"
#include "ui/Label.h"
#include "ui/PageControl.h"
#include "ui/Panel.h"
#include "ui/VantlePanel.h"

namespace qv {
namespace {

constexpr wchar_t kUiFont[] = L"微软雅黑";
constexpr TColor kLinkGrey = TColor(0x8D8D8D);  // symmetric: same in either byte order
constexpr TColor kBackBlue = TColor(0xB57C48);  // RGB 487CB5
constexpr TColor kPathGrey = TColor(0x808080);

template <class T>
T* Place(TWinControl* parent, T* control, int left, int top, int width, int height) {
    control->SetParent(parent);
    control->SetBounds(left, top, width, height);
    return control;
}

void UseFont(TControl* control, const wchar_t* name, int pixels, TColor color, BYTE charset) {
    TFont& font = control->Font();
    font.SetName(name);
    font.SetHeight(-pixels);
    font.SetColor(color);
    font.SetCharset(charset);
    control->SetParentFont(false);
}

// A label that keeps its designed box whatever the font measures on this system.
TLabel* FixedSizeLabel(TComponent* owner) {
    auto* label = new TLabel(owner);
    label->SetAutoSize(false);
    return label;
}

TImage* PictureButton(TComponent* owner, int pngId) {
    auto* image = new TImage(owner);
    image->SetCursor(crHandPoint);
    image->SetAutoSize(true);
    image->Picture().AssignPng(LoadPngResource(pngId));
    return image;
}

TVantlePanel* TransparentPanel(TComponent* owner) {
    auto* panel = new TVantlePanel(owner);
    panel->SetTransparent(true);
    return panel;
}

TXPDorvexRadioButton* LineButton(TComponent* owner, const wchar_t* caption, bool checked,
                                 int tabOrder) {
    auto* radio = new TXPDorvexRadioButton(owner);
    radio->SetCaption(caption);
    radio->SetChecked(checked);
    radio->SetAlignment(taLeftJustify);
    radio->SetTransparent(true);
    radio->SetCheckPointColor(clNavy);
    radio->SetTabOrder(tabOrder);
    return radio;
}

}  // namespace

void Tfrm_Main::BuildLayout() {
    SetCaption(L"Quorvane");
    SetClientWidth(620);
    SetClientHeight(416);
    SetColor(clBtnFace);
    SetPosition(poDesigned);
    SetBounds(428, 161, Width(), Height());
    UseFont(this, L"MS Sans Serif", 11, clWindowText, DEFAULT_CHARSET);

    pnlGg = new TVantlePanel(this);
    pnlGg->SetParent(this);
    pnlGg->SetAlign(alClient);
    pnlGg->SetColor(clWhite);

    // Banner with the minimise button over its top-right corner.
    imgTop = new TImage(this);
    imgTop->SetParent(pnlGg);
    imgTop->SetBounds(0, 0, 620, 241);
    imgTop->SetAlign(alTop);
    imgTop->SetAutoSize(true);
    imgTop->Picture().AssignPng(LoadPngResource(IDR_PNG_BANNER));
    imgTop->OnMouseDown = [this](TComponent* s, TMouseButton b, TShiftState sh, int x, int y) {
        imgTopMouseDown(s, b, sh, x, y);
    };

    pnlMinClose = Place(pnlGg, TransparentPanel(this), 539, 0, 81, 27);
    btnSmall = new TPNGImageButtonEx(this);
    btnSmall->SetParent(pnlMinClose);
    btnSmall->SetBounds(51, 0, 30, 27);
    btnSmall->SetAlign(alRight);
    btnSmall->SetCursor(crHandPoint);
    btnSmall->SetPngImg(LoadPngResource(IDR_PNG_MINIMISE));
    btnSmall->SetPngOver(LoadPngResource(IDR_PNG_MINIMISE_HOVER));
    btnSmall->OnClick = [this](TComponent* s) { btnSmallClick(s); };
    btnClose = new TPNGImageButtonEx(this);
    btnClose->SetParent(pnlMinClose);
    btnClose->SetBounds(51, 0, 30, 27);
    btnClose->SetAlign(alRight);
    btnClose->SetCursor(crHandPoint);
    btnClose->SetPngImg(LoadPngResource(IDR_PNG_CLOSE));
    btnClose->SetPngOver(LoadPngResource(IDR_PNG_CLOSE_HOVER));
    btnClose->SetVisible(false);
    btnClose->OnClick = [this](TComponent* s) { btnCloseClick(s); };

    PC = new TPageControl(this);
    PC->SetParent(pnlGg);
    PC->SetBounds(0, 241, 620, 175);
    PC->SetAlign(alClient);
    PC->SetStyle(tsFlatButtons);

    // Start page: the line choice and the big download button.
    TS1 = new TTabSheet(this);
    TS1->SetPageControl(PC);
    pnlTS1 = TransparentPanel(this);
    pnlTS1->SetParent(TS1);
    pnlTS1->SetAlign(alClient);
    labCustom = Place(pnlTS1, FixedSizeLabel(this), 512, 127, 60, 17);
    labCustom->SetCaption(L"自定义下载");
    labCustom->SetCursor(crHandPoint);
    labCustom->SetTransparent(true);
    UseFont(labCustom, kUiFont, 12, kLinkGrey, ANSI_CHARSET);
    labCustom->SetVisible(false);
    labCustom->OnClick = [this](TComponent* s) { labCustomClick(s); };
    imgGray = new TImage(this);
    Place(pnlTS1, imgGray, 576, 128, 14, 15);
    imgGray->SetAutoSize(true);
    imgGray->Picture().AssignPng(LoadPngResource(IDR_PNG_GREY_ARROW));
    imgGray->SetVisible(false);
    btnDownloadNow = Place(pnlTS1, PictureButton(this, IDR_PNG_DOWNLOAD_NOW), 199, 42, 215, 57);
    btnDownloadNow->OnClick = [this](TComponent* s) { btnDownloadNowClick(s); };
    pnlRdbtn = Place(pnlTS1, TransparentPanel(this), 6, 103, 153, 40);
    rdbDX = Place(pnlRdbtn, LineButton(this, L"电信", true, 0), 6, 24, 49, 17);
    RdbLT = Place(pnlRdbtn, LineButton(this, L"联通", false, 1), 54, 24, 49, 17);

    // Custom folder page (its link stays hidden in this program).
    TS2 = new TTabSheet(this);
    TS2->SetPageControl(PC);
    TS2->OnShow = [this](TComponent* s) { TS2Show(s); };
    pnlTS2 = TransparentPanel(this);
    pnlTS2->SetParent(TS2);
    pnlTS2->SetAlign(alClient);
    labDirInfo = Place(pnlTS2, FixedSizeLabel(this), 43, 29, 65, 19);
    labDirInfo->SetCaption(L"保存路径：");
    labDirInfo->SetTransparent(true);
    UseFont(labDirInfo, kUiFont, 13, clBlack, GB2312_CHARSET);
    labBack = Place(pnlTS2, FixedSizeLabel(this), 543, 122, 46, 19);
    labBack->SetCaption(L"<<返回");
    labBack->SetCursor(crHandPoint);
    labBack->SetTransparent(true);
    UseFont(labBack, kUiFont, 13, kBackBlue, GB2312_CHARSET);
    labBack->OnClick = [this](TComponent* s) { labBackClick(s); };
    btnDownload = Place(pnlTS2, PictureButton(this, IDR_PNG_DOWNLOAD), 208, 90, 196, 50);
    btnDownload->OnClick = [this](TComponent* s) { btnDownloadClick(s); };
    btnDir = Place(pnlTS2, PictureButton(this, IDR_PNG_CHOOSE_FOLDER), 482, 26, 70, 26);
    btnDir->OnClick = [this](TComponent* s) { btnDirClick(s); };
    edtDir = Place(pnlTS2, new TXPDorvexEditEx(this), 111, 27, 362, 23);
    edtDir->SetBorderColor(clBtnShadow);
    edtDir->SetFocusBorderColor(clBtnShadow);
    edtDir->SetDisableColor(clBtnShadow);
    edtDir->SetUnfocusedColor(clBtnShadow);
    UseFont(edtDir, L"MS Sans Serif", 11, kPathGrey, DEFAULT_CHARSET);
    edtDir->SetReadOnly(true);
    edtDir->SetTabOrder(0);
    edtDir->OnExit = [this](TComponent* s) { edtDirExit(s); };

    // Progress page: label, track with its fill, and the install button once done.
    TS3 = new TTabSheet(this);
    TS3->SetPageControl(PC);
    pnlTS3 = TransparentPanel(this);
    pnlTS3->SetParent(TS3);
    pnlTS3->SetAlign(alClient);
    labProcess = new TLabel(this);
    labProcess->SetParent(pnlTS3);
    labProcess->SetLeft(32);
    labProcess->SetTop(18);
    labProcess->SetAutoSize(true);
    labProcess->SetTransparent(true);
    UseFont(labProcess, kUiFont, 13, clBlack, GB2312_CHARSET);
    labProcess->SetCaption(L"正在下载（0%）");
    btnInstall = Place(pnlTS3, PictureButton(this, IDR_PNG_INSTALL), 209, 81, 194, 48);
    btnInstall->SetVisible(false);
    btnInstall->OnClick = [this](TComponent* s) { btnInstallClick(s); };
    Panel1 = Place(pnlTS3, new TPanel(this), 21, 38, 569, 42);
    Panel1->SetBevelOuter(bvNone);
    Panel1->SetColor(clWhite);
    imgProcessOuter = Place(Panel1, new TImage(this), 10, 6, 551, 19);
    imgProcessOuter->SetStretch(true);
    imgProcessOuter->Picture().AssignPng(LoadPngResource(IDR_PNG_PROGRESS_TRACK));
    imgProcessInner = Place(Panel1, new TImage(this), 10, 6, 0, 19);
    imgProcessInner->Picture().AssignPng(LoadPngResource(IDR_PNG_PROGRESS_FILL));
    NameControls();
}

void Tfrm_Main::NameControls() {
    SetName(L"frm_Main");
    const std::pair<TComponent*, const wchar_t*> names[] = {
        {pnlGg, L"pnlGg"},
        {imgTop, L"imgTop"},
        {pnlMinClose, L"pnlMinClose"},
        {btnSmall, L"btnSmall"},
        {btnClose, L"btnClose"},
        {PC, L"PC"},
        {TS1, L"TS1"},
        {pnlTS1, L"pnlTS1"},
        {labCustom, L"labCustom"},
        {imgGray, L"imgGray"},
        {btnDownloadNow, L"btnDownloadNow"},
        {pnlRdbtn, L"pnlRdbtn"},
        {rdbDX, L"rdbDX"},
        {RdbLT, L"RdbLT"},
        {TS2, L"TS2"},
        {pnlTS2, L"pnlTS2"},
        {labDirInfo, L"labDirInfo"},
        {labBack, L"labBack"},
        {btnDownload, L"btnDownload"},
        {btnDir, L"btnDir"},
        {edtDir, L"edtDir"},
        {TS3, L"TS3"},
        {pnlTS3, L"pnlTS3"},
        {labProcess, L"labProcess"},
        {btnInstall, L"btnInstall"},
        {Panel1, L"Panel1"},
        {imgProcessOuter, L"imgProcessOuter"},
        {imgProcessInner, L"imgProcessInner"},
    };
    for (const auto& [component, name] : names) component->SetName(name);
}

}  // namespace qv
