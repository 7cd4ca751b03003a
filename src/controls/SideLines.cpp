#include "controls/SideLines.h"

#include "controls/ColorHelpers.h"

namespace qv {

RECT InsetSides(const RECT& r, TSideLines sides, int amount) {
    RECT inset = r;
    if (sides & SL_LEFT) inset.left += amount;
    if (sides & SL_RIGHT) inset.right -= amount;
    if (sides & SL_TOP) inset.top += amount;
    if (sides & SL_BUTTOM) inset.bottom -= amount;
    return inset;
}

std::vector<SideSegment> RingSegments(const RECT& ring, TSideLines sides) {
    std::vector<SideSegment> segments;
    if (sides & SL_LEFT) segments.push_back({{ring.left, ring.top}, {ring.left, ring.bottom}});
    if (sides & SL_RIGHT) {
        segments.push_back({{ring.right - 1, ring.top}, {ring.right - 1, ring.bottom}});
    }
    if (sides & SL_TOP) segments.push_back({{ring.left, ring.top}, {ring.right, ring.top}});
    if (sides & SL_BUTTOM) {
        segments.push_back({{ring.left, ring.bottom - 1}, {ring.right, ring.bottom - 1}});
    }
    return segments;
}

std::vector<TColor> SideRingColors(TColor base, int rings, int lightStep, int blendStep,
                                   TColor blendColor) {
    std::vector<TColor> colors;
    TColor color = base;
    unsigned weight = 255;
    for (int ring = 0; ring < rings; ++ring) {
        colors.push_back(color);
        color = ChangeLightness(color, lightStep);
        weight = (weight - static_cast<unsigned>(blendStep)) % 256u;
        color = BlendColors(color, blendColor, static_cast<std::uint8_t>(weight));
    }
    return colors;
}

}  // namespace qv
