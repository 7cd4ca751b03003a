// Colour arithmetic of the flat input controls: system-colour resolution, blending and the
// hue/lightness/saturation conversions used to shade the side-line rings of the flat edit box.
//
// Every helper first turns a system colour into its current red, green and blue; the results
// are explicit colours.
#pragma once

#include <cstdint>

#include "ui/Color.h"

namespace qv {

// Hue, lightness and saturation on the 0..240 scale (kept in bytes).
struct HlsColor {
    std::uint8_t hue = 0;
    std::uint8_t lightness = 0;
    std::uint8_t saturation = 0;
    bool operator==(const HlsColor&) const = default;
};

// An explicit colour: system colours become their current value, other values lose their top
// byte.
TColor ResolveColor(TColor color);

// Mixes fore and back channel by channel with weight alpha/255 for fore.
TColor BlendColors(TColor fore, TColor back, std::uint8_t alpha);

// step > 0 lightens by (step mod 256) lightness units, step < 0 darkens by (-step mod 256);
// step 0 returns the colour untouched.
TColor ChangeLightness(TColor color, int step);

HlsColor ColorToHLS(TColor color);

// The hue is divided by 239, not 240: a hue of 80 (pure green) comes back with a trace of blue.
// Shaded rings depend on exactly these values, so the conversion is kept as it is.
TColor HLSToColor(int hue, int saturation, int lightness);

}  // namespace qv
