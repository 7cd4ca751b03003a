// A window-less text label: automatic size, word wrap, transparency, alignment, accelerator
// characters shown underlined.
#pragma once

#include "ui/GraphicControl.h"

namespace qv {

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
using enum TAlignment;
enum class TTextLayout { tlTop, tlCenter, tlBottom };
using enum TTextLayout;

class TLabel : public TGraphicControl {
public:
    explicit TLabel(TComponent* owner);

    bool Transparent() const { return transparent_; }
    void SetTransparent(bool on);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool on);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);
    TTextLayout Layout() const { return layout_; }
    void SetLayout(TTextLayout layout);
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool on);

protected:
    void Paint() override;
    bool CanAutoSize(int& newWidth, int& newHeight) override;
    void TextChanged() override;
    void FontChanged() override;

private:
    UINT TextFlags() const;

    bool transparent_ = false;
    bool wordWrap_ = false;
    TAlignment alignment_ = taLeftJustify;
    TTextLayout layout_ = tlTop;
    bool showAccelChar_ = true;
};

}  // namespace qv
