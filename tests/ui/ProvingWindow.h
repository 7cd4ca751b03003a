// The proving window: one borderless form that uses every piece of the toolkit the layouts
// need, with pictures made in code so that a screenshot can be checked pixel by pixel.
#pragma once

#include "png/PngObject.h"
#include "ui/CheckBox.h"
#include "ui/Form.h"
#include "ui/Image.h"
#include "ui/Label.h"
#include "ui/Memo.h"
#include "ui/PageControl.h"
#include "ui/Panel.h"
#include "ui/Timer.h"
#include "ui/VantlePanel.h"

namespace qv {

// Colours and places the screenshot test checks (client coordinates of the form).
namespace proving {
constexpr TColor kBannerColor = RGBColor(0x3A, 0x8F, 0xD9);
constexpr TColor kFirstPageColor = RGBColor(0xE0, 0x40, 0x30);
constexpr TColor kSecondPageColor = RGBColor(0x30, 0xB0, 0x50);
constexpr int kWidth = 480;
constexpr int kHeight = 300;
constexpr int kBannerHeight = 120;
// The badge: a 40 x 40 PNG over the banner at (20, 60); its left half is white at 40 %
// opacity, its right half opaque white, its bottom 10 rows fully transparent.
constexpr RECT kBadge{20, 60, 60, 100};
constexpr std::uint8_t kBadgeAlpha = 102;
// The transparent panel over the banner's top-right corner and the close picture inside it
// (30 x 27 at the panel's right edge: a white cross on a transparent ground).
constexpr RECT kCornerPanel{400, 0, 480, 27};
constexpr RECT kClose{450, 0, 480, 27};
constexpr RECT kTitle{80, 20, 380, 50};         // room of the white title text
constexpr RECT kPageSwatch{20, 170, 120, 210};  // a panel of each page's colour
}  // namespace proving

class TfrmProving : public TForm {
public:
    explicit TfrmProving(TComponent* owner);

    TVantlePanel* pnlBack;
    TImage* imgBanner;
    TImage* imgBadge;
    TLabel* lblTitle;
    TVantlePanel* pnlCorner;
    TImage* imgClose;
    TPageControl* PC;
    TTabSheet* TS1;
    TTabSheet* TS2;
    TPanel* pnlFirst;
    TPanel* pnlSecond;
    TCheckBox* cbxRemind;
    TLabel* lblTicks;
    TRichEdit* moInfo;
    TTimer* tmrPages;
    int ticks = 0;

private:
    void tmrPagesTimer(TComponent* sender);
};

}  // namespace qv
