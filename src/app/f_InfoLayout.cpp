// The download-failure dialog's controls as laid out at 96 dots per inch, with their artwork.
#include "app/f_Info.h"
#include "controls/PngImageButton.h"
#include "res/ArtworkIds.h"
#include "res/ArtworkLoader.h"

namespace qv {

namespace {

constexpr wchar_t kFontName[] = L"微软雅黑";
constexpr TColor kBottomBarColor = 0xF7F3F0;  // F0F3F7

TVantlePanel* MakeTransparentPanel(TComponent* owner, TWinControl* parent) {
    auto* panel = new TVantlePanel(owner);
    panel->SetParent(parent);
    panel->SetTransparent(true);
    return panel;
}

TImage* MakeImageButton(TComponent* owner, TWinControl* parent, int left, int top, int pngId) {
    auto* image = new TImage(owner);
    image->SetParent(parent);
    image->SetLeft(left);
    image->SetTop(top);
    image->SetCursor(crHandPoint);
    image->SetAutoSize(true);
    image->Picture().AssignPng(LoadPngResource(pngId));
    return image;
}

}  // namespace

void Tfrm_Info::CreateLayout() {
    SetName(L"frm_Info");
    SetCaption(L"提示信息");
    SetClientWidth(413);
    SetClientHeight(161);
    SetColor(0xFFFFFF);
    SetPosition(poDesigned);
    // Above every normal window, so that its own shadow can never come to lie over it and take
    // its clicks.
    SetFormStyle(fsStayOnTop);
    SetLeft(482);
    SetTop(281);
    Font().SetName(L"MS Sans Serif");
    Font().SetHeight(-11);
    Font().SetColor(clWindowText);
    Font().SetCharset(DEFAULT_CHARSET);

    Label1 = new TLabel(this);
    Label1->SetParent(this);
    Label1->SetAutoSize(false);
    Label1->SetWordWrap(true);
    Label1->SetBounds(75, 53, 329, 43);
    Label1->SetParentFont(false);
    Label1->Font().SetName(kFontName);
    Label1->Font().SetHeight(-16);
    Label1->Font().SetColor(clWindowText);
    // Any character set that holds the Chinese text: a Western one shows boxes where the face
    // is missing.
    Label1->Font().SetCharset(DEFAULT_CHARSET);
    Label1->SetCaption(L"在线下载异常，您可以选择重新下载或直接下载安装包安装");

    Image1 = new TImage(this);
    Image1->SetParent(this);
    Image1->SetBounds(13, 49, 60, 54);
    Image1->SetAutoSize(true);
    Image1->Picture().AssignPng(LoadPngResource(IDR_PNG_ALERT));

    pnl_Titile = new TVantlePanel(this);
    pnl_Titile->SetParent(this);
    pnl_Titile->SetHeight(35);
    pnl_Titile->SetAlign(alTop);
    pnl_Titile->SetBackgroundStretch(true);
    {
        const ScopedBitmap titleBar = LoadBitmapResource(IDB_TITLE_BAR);
        pnl_Titile->BackgroundPicture().AssignBitmap(titleBar.get());
    }

    lblSysTitle = new TLabel(this);
    lblSysTitle->SetParent(pnl_Titile);
    lblSysTitle->SetBounds(17, 7, 60, 19);
    lblSysTitle->SetParentFont(false);
    lblSysTitle->Font().SetName(kFontName);
    lblSysTitle->Font().SetHeight(-15);
    lblSysTitle->Font().SetStyle(fsBold);
    lblSysTitle->Font().SetColor(0xFFFFFF);
    lblSysTitle->Font().SetCharset(GB2312_CHARSET);
    lblSysTitle->SetTransparent(true);
    lblSysTitle->SetCaption(L"提示信息");

    vantlePnlTopRight = MakeTransparentPanel(this, pnl_Titile);
    vantlePnlTopRight->SetWidth(100);
    vantlePnlTopRight->SetAlign(alRight);

    pnlMinClose = MakeTransparentPanel(this, pnl_Titile);
    pnlMinClose->SetBounds(332, 0, 81, 27);
    pnlMinClose->BringToFront();

    btnClose = new TPNGImageButtonEx(this);
    btnClose->SetParent(pnlMinClose);
    btnClose->SetBounds(51, 0, 30, 27);
    btnClose->SetAlign(alRight);
    btnClose->SetCursor(crHandPoint);
    btnClose->SetPngImg(LoadPngResource(IDR_PNG_CLOSE));
    btnClose->SetPngOver(LoadPngResource(IDR_PNG_CLOSE_HOVER));

    pnl_bottom = new TVantlePanel(this);
    pnl_bottom->SetParent(this);
    pnl_bottom->SetHeight(41);
    pnl_bottom->SetAlign(alBottom);
    pnl_bottom->SetColor(kBottomBarColor);

    btnReLoad = MakeImageButton(this, pnl_bottom, 331, 8, IDR_PNG_RELOAD);
    btnUseIE = MakeImageButton(this, pnl_bottom, 19, 15, IDR_PNG_BROWSER_LINK);
}

}  // namespace qv
