#include "ProvingWindow.h"

#include <string>

namespace qv {
namespace {

using namespace proving;

void SetPixel(TPNGObject& png, int x, int y, TColor color, std::uint8_t alpha) {
    const COLORREF rgb = ColorToRGB(color);
    std::uint8_t* c = png.ColorRow(y) + x * 3;
    c[0] = GetRValue(rgb);
    c[1] = GetGValue(rgb);
    c[2] = GetBValue(rgb);
    png.AlphaRow(y)[x] = alpha;
}

TPNGObject SolidPicture(int width, int height, TColor color) {
    TPNGObject png = TPNGObject::CreateBlank(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) SetPixel(png, x, y, color, 255);
    }
    png.Changed();
    return png;
}

TPNGObject BadgePicture() {
    const int size = kBadge.right - kBadge.left;
    TPNGObject png = TPNGObject::CreateBlank(size, size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const std::uint8_t alpha = y >= size - 10 ? 0 : (x < size / 2 ? kBadgeAlpha : 255);
            SetPixel(png, x, y, clWhite, alpha);
        }
    }
    png.Changed();
    return png;
}

TPNGObject ClosePicture() {
    TPNGObject png = TPNGObject::CreateBlank(30, 27);  // all transparent
    for (int i = 0; i < 9; ++i) {
        SetPixel(png, 10 + i, 9 + i, clWhite, 255);
        SetPixel(png, 18 - i, 9 + i, clWhite, 255);
    }
    png.Changed();
    return png;
}

}  // namespace

TfrmProving::TfrmProving(TComponent* owner) : TForm(owner) {
    SetBounds(200, 150, kWidth, kHeight);
    SetCaption(L"Quorvane toolkit");
    SetColor(clBtnFace);

    pnlBack = new TVantlePanel(this);
    pnlBack->SetParent(this);
    pnlBack->SetAlign(alClient);
    pnlBack->SetColor(clWhite);

    imgBanner = new TImage(this);
    imgBanner->SetParent(pnlBack);
    imgBanner->SetAutoSize(true);
    imgBanner->SetAlign(alTop);
    imgBanner->Picture().AssignPng(SolidPicture(kWidth, kBannerHeight, kBannerColor));

    imgBadge = new TImage(this);
    imgBadge->SetParent(pnlBack);
    imgBadge->SetBoundsRect(kBadge);
    imgBadge->Picture().AssignPng(BadgePicture());

    lblTitle = new TLabel(this);
    lblTitle->SetParent(pnlBack);
    lblTitle->SetBounds(kTitle.left, kTitle.top, 10, 10);
    lblTitle->SetTransparent(true);
    lblTitle->Font().SetName(L"微软雅黑");
    lblTitle->Font().SetHeight(-22);
    lblTitle->Font().SetStyle(fsBold);
    lblTitle->Font().SetColor(clWhite);
    lblTitle->SetCaption(L"Quorvane 下载器");

    pnlCorner = new TVantlePanel(this);
    pnlCorner->SetParent(pnlBack);
    pnlCorner->SetBoundsRect(kCornerPanel);
    pnlCorner->SetTransparent(true);
    imgClose = new TImage(this);
    imgClose->SetParent(pnlCorner);
    imgClose->SetWidth(30);
    imgClose->SetAlign(alRight);
    imgClose->SetCursor(crHandPoint);
    imgClose->Picture().AssignPng(ClosePicture());
    imgClose->OnClick = [this](TComponent*) { Close(); };

    PC = new TPageControl(this);
    PC->SetParent(pnlBack);
    PC->SetAlign(alClient);
    TS1 = new TTabSheet(this);
    TS1->SetCaption(L"第一页");
    TS1->SetPageControl(PC);
    TS1->SetColor(clWhite);
    TS2 = new TTabSheet(this);
    TS2->SetCaption(L"第二页");
    TS2->SetPageControl(PC);
    TS2->SetColor(clWhite);
    TS1->SetTabVisible(false);
    TS2->SetTabVisible(false);

    const RECT swatch{kPageSwatch.left, kPageSwatch.top - kBannerHeight, kPageSwatch.right,
                      kPageSwatch.bottom - kBannerHeight};
    pnlFirst = new TPanel(this);
    pnlFirst->SetParent(TS1);
    pnlFirst->SetBoundsRect(swatch);
    pnlFirst->SetBevelOuter(bvNone);
    pnlFirst->SetColor(kFirstPageColor);
    pnlSecond = new TPanel(this);
    pnlSecond->SetParent(TS2);
    pnlSecond->SetBoundsRect(swatch);
    pnlSecond->SetBevelOuter(bvNone);
    pnlSecond->SetColor(kSecondPageColor);

    cbxRemind = new TCheckBox(this);
    cbxRemind->SetParent(TS2);
    cbxRemind->SetBounds(150, 10, 150, 20);
    cbxRemind->SetCaption(L"不再提醒(&R)");
    cbxRemind->SetChecked(true);

    lblTicks = new TLabel(this);
    lblTicks->SetParent(TS1);
    lblTicks->SetBounds(150, 14, 10, 10);
    lblTicks->SetTransparent(true);
    lblTicks->SetCaption(L"计时 0");

    moInfo = new TRichEdit(this);
    moInfo->SetParent(TS2);
    moInfo->SetBounds(150, 40, 300, 120);
    moInfo->SetReadOnly(true);
    moInfo->SetScrollBars(ssBoth);
    moInfo->SetCaption(L"详细信息\n第二行\n第三行");

    tmrPages = new TTimer(this);
    tmrPages->SetInterval(150);
    tmrPages->OnTimer = [this](TComponent* sender) { tmrPagesTimer(sender); };
}

void TfrmProving::tmrPagesTimer(TComponent*) {
    ++ticks;
    lblTicks->SetCaption(L"计时 " + std::to_wstring(ticks));
    // Three ticks on the first page, then the second page stays.
    if (ticks == 3) PC->SetActivePage(TS2);
}

}  // namespace qv
