#include "ui/Label.h"

#include "common/ScopedHandles.h"

namespace qv {

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) {
    SetControlStyle(csClickEvents | csSetCaption | csReplicatable | csDoubleClicks);
    SetParentColor(true);
    SetBounds(0, 0, 65, 17);
    SetAutoSize(true);
}

void TLabel::SetTransparent(bool on) {
    if (on == transparent_) return;
    transparent_ = on;
    Invalidate();
}

void TLabel::SetWordWrap(bool on) {
    if (on == wordWrap_) return;
    wordWrap_ = on;
    AdjustSize();
    Invalidate();
}

void TLabel::SetAlignment(TAlignment alignment) {
    if (alignment == alignment_) return;
    alignment_ = alignment;
    Invalidate();
}

void TLabel::SetLayout(TTextLayout layout) {
    if (layout == layout_) return;
    layout_ = layout;
    Invalidate();
}

void TLabel::SetShowAccelChar(bool on) {
    if (on == showAccelChar_) return;
    showAccelChar_ = on;
    AdjustSize();
    Invalidate();
}

UINT TLabel::TextFlags() const {
    UINT flags = DT_EXPANDTABS;
    if (wordWrap_) flags |= DT_WORDBREAK;
    if (!showAccelChar_) flags |= DT_NOPREFIX;
    switch (alignment_) {
        case taRightJustify:
            flags |= DT_RIGHT;
            break;
        case taCenter:
            flags |= DT_CENTER;
            break;
        case taLeftJustify:
            break;
    }
    return flags;
}

bool TLabel::CanAutoSize(int& newWidth, int& newHeight) {
    ScopedGetDC screen(nullptr);
    ScopedCreatedDC dc(CreateCompatibleDC(screen.get()));
    if (!dc) return false;
    TCanvas canvas(dc.get());
    canvas.Font().Assign(Font());
    // An empty caption still takes one line of height, as a typed line would.
    const std::wstring text = Caption().empty() ? std::wstring(L" ") : Caption();
    RECT r{0, 0, wordWrap_ ? Width() : 0, 0};
    canvas.DrawText(text, r, TextFlags() | DT_CALCRECT);
    if (!wordWrap_) newWidth = r.right - r.left;
    newHeight = r.bottom - r.top;
    return true;
}

void TLabel::TextChanged() {
    AdjustSize();
    Invalidate();
}

void TLabel::FontChanged() {
    AdjustSize();
    Invalidate();
}

void TLabel::Paint() {
    TCanvas& canvas = Canvas();
    const RECT client = ClientRect();
    if (!transparent_ && Color() != clNone) {
        canvas.Brush().SetColor(Color());
        canvas.FillRect(client);
    }
    canvas.Brush().SetStyle(bsClear);
    canvas.Font().Assign(Font());
    if (!IsEnabledInTree()) canvas.Font().SetColor(clGrayText);
    RECT text = client;
    if (layout_ != tlTop) {
        RECT measured = client;
        canvas.DrawText(Caption(), measured, TextFlags() | DT_CALCRECT);
        const int height = measured.bottom - measured.top;
        text.top = layout_ == tlCenter ? (client.bottom - height) / 2 : client.bottom - height;
    }
    canvas.DrawText(Caption(), text, TextFlags());
}

}  // namespace qv
