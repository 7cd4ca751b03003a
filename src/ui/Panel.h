// A plain container panel with optional raised or lowered bevels and a centred caption.
#pragma once

#include "ui/CustomControl.h"

namespace qv {

enum class TBevelCut { bvNone, bvLowered, bvRaised };
using enum TBevelCut;

class TPanel : public TCustomControl {
public:
    explicit TPanel(TComponent* owner);

    TBevelCut BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TBevelCut cut);
    TBevelCut BevelInner() const { return bevelInner_; }
    void SetBevelInner(TBevelCut cut);
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int width);

    // The area inside the bevels, where children are aligned.
    void AdjustClientRect(RECT& rect) override;

protected:
    void Paint() override;

private:
    int BorderSize() const;

    TBevelCut bevelOuter_ = bvRaised;
    TBevelCut bevelInner_ = bvNone;
    int bevelWidth_ = 1;
};

// Draws a 3-D frame of the given width inside r and shrinks r by it.
void Frame3D(HDC dc, RECT& r, TColor topLeft, TColor bottomRight, int width);

}  // namespace qv
