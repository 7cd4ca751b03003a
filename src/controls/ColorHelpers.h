// Colour arithmetic of the flat input controls: system-colour resolution, blending and the
// hue/lightness/saturation conversions used to shade the side-line rings of the flat edit box.
//
// Colours are 32-bit values laid out like COLORREF (red in the lowest byte). A value whose top
// byte is 0xFF names a system colour by its index in the low byte and is resolved when used.
#pragma once

#include <cstdint>

namespace qv {

using ColorValue = std::uint32_t;

constexpr ColorValue kSystemColorFlag = 0xFF000000u;

constexpr ColorValue SystemColor(int index) {
    return kSystemColorFlag | static_cast<ColorValue>(index);
}

// Hue, lightness and saturation on the 0..240 scale (kept in bytes).
struct HlsColor {
    std::uint8_t hue = 0;
    std::uint8_t lightness = 0;
    std::uint8_t saturation = 0;
    bool operator==(const HlsColor&) const = default;
};

// An explicit RGB colour: system colours become their current value, other values lose their
// top byte.
ColorValue ResolveColor(ColorValue color);

// Mixes fore and back channel by channel with weight alpha/255 for fore.
ColorValue BlendColors(ColorValue fore, ColorValue back, std::uint8_t alpha);

// step > 0 lightens by (step mod 256) lightness units, step < 0 darkens by (-step mod 256);
// step 0 returns the colour untouched.
ColorValue ChangeLightness(ColorValue color, int step);

HlsColor ColorToHLS(ColorValue color);

// The hue is divided by 239, not 240: a hue of 80 (pure green) comes back with a trace of blue.
// Shaded rings depend on exactly these values, so the conversion is kept as it is.
ColorValue HLSToColor(int hue, int saturation, int lightness);

}  // namespace qv
