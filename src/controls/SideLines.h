// The coloured side lines that frame the flat edit box: which sides carry them, the rectangles
// of the rings, and the colour of each ring from the inside out.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "ui/Color.h"

namespace qv {

// A set of sides, stored as one byte: bit 0 left, bit 1 right, bit 2 top, bit 3 bottom.
enum TSideLine : std::uint8_t { SL_LEFT = 1, SL_RIGHT = 2, SL_TOP = 4, SL_BUTTOM = 8 };
using TSideLines = std::uint8_t;
inline constexpr TSideLines kAllSideLines = SL_LEFT | SL_RIGHT | SL_TOP | SL_BUTTOM;

// r moved in by amount on each listed side (out for a negative amount).
RECT InsetSides(const RECT& r, TSideLines sides, int amount);

// The room the lines take from the text, whatever their number of rings: one pixel per side.
inline RECT AdjustSideRect(const RECT& r, TSideLines sides) {
    return InsetSides(r, sides, 1);
}

// One line of a ring as drawn with a pen: from `from` up to, not including, `to`.
struct SideSegment {
    POINT from, to;
};

// The lines of the ring whose outer edge is ring, on the listed sides.
std::vector<SideSegment> RingSegments(const RECT& ring, TSideLines sides);

// Colours of the rings, innermost first: the first is base, and each ring outwards has its
// lightness changed by lightStep once more and is blended toward blendColor with a weight that
// drops by blendStep (modulo 256) per ring.
std::vector<TColor> SideRingColors(TColor base, int rings, int lightStep, int blendStep,
                                   TColor blendColor);

}  // namespace qv
