#include "controls/ColorHelpers.h"

#include <windows.h>

#include <algorithm>
#include <cmath>

namespace qv {

namespace {

int RedOf(TColor c) {
    return static_cast<int>(c & 0xFF);
}
int GreenOf(TColor c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
int BlueOf(TColor c) {
    return static_cast<int>((c >> 16) & 0xFF);
}

// Rounds half-way cases to the even neighbour (the default floating-point rounding mode).
int RoundToEven(double value) {
    return static_cast<int>(std::nearbyint(value));
}

std::uint8_t ScaleToByte(double unit) {
    return static_cast<std::uint8_t>(std::clamp(RoundToEven(unit * 240.0), 0, 255));
}

int UnitToChannel(double unit) {
    return std::max(RoundToEven(255.0 * std::min(unit, 1.0)), 0);
}

struct Channels {
    double red, green, blue;
};

// Red, green and blue for one sixth of the hue circle; p rises and q falls across the sector.
Channels SectorChannels(int sector, double m1, double m2, double p, double q) {
    switch (sector) {
        case 1:
            return {q, m2, m1};
        case 2:
            return {m1, m2, p};
        case 3:
            return {m1, q, m2};
        case 4:
            return {p, m1, m2};
        case 5:
            return {m2, m1, q};
        default:
            return {m2, p, m1};
    }
}

TColor Lighten(TColor color, int amount) {
    const HlsColor hls = ColorToHLS(color);
    return HLSToColor(hls.hue, hls.saturation, std::min(hls.lightness + amount, 255));
}

TColor Darken(TColor color, int amount) {
    const HlsColor hls = ColorToHLS(color);
    return HLSToColor(hls.hue, hls.saturation, std::max(hls.lightness - amount, 0));
}

}  // namespace

TColor ResolveColor(TColor color) {
    return static_cast<TColor>(ColorToRGB(color));
}

TColor BlendColors(TColor fore, TColor back, std::uint8_t alpha) {
    fore = ResolveColor(fore);
    back = ResolveColor(back);
    const double weight = static_cast<float>(alpha) / 255.0f;
    const auto mix = [weight](int f, int b) {
        return std::clamp(RoundToEven(weight * f + (1.0 - weight) * b), 0, 255);
    };
    return RGBColor(mix(RedOf(fore), RedOf(back)), mix(GreenOf(fore), GreenOf(back)),
                    mix(BlueOf(fore), BlueOf(back)));
}

TColor ChangeLightness(TColor color, int step) {
    if (step == 0) return color;
    // Written with unsigned arithmetic so that INT_MIN has a defined magnitude.
    const unsigned magnitude =
        step > 0 ? static_cast<unsigned>(step) : 0u - static_cast<unsigned>(step);
    const int amount = static_cast<int>(magnitude % 256u);
    return step > 0 ? Lighten(color, amount) : Darken(color, amount);
}

HlsColor ColorToHLS(TColor color) {
    color = ResolveColor(color);
    const double r = RedOf(color) / 255.0;
    const double g = GreenOf(color) / 255.0;
    const double b = BlueOf(color) / 255.0;
    const double maxC = std::max({r, g, b});
    const double minC = std::min({r, g, b});
    const double l = (maxC + minC) / 2.0;
    double h = 0.0;
    double s = 0.0;
    if (maxC != minC) {
        const double d = maxC - minC;
        s = l < 0.5 ? d / (maxC + minC) : d / (2.0 - maxC - minC);
        if (r == maxC) {
            h = (g - b) / d;
        } else if (g == maxC) {
            h = 2.0 + (b - r) / d;
        } else {
            h = 4.0 + (r - g) / d;
        }
        h /= 6.0;
        if (h < 0.0) h += 1.0;
    }
    return HlsColor{ScaleToByte(h), ScaleToByte(l), ScaleToByte(s)};
}

TColor HLSToColor(int hue, int saturation, int lightness) {
    const double h = hue / 239.0;
    const double s = saturation / 240.0;
    const double l = lightness / 240.0;
    const double m2 = l < 0.5 ? l * (1.0 + s) : l + s - l * s;
    if (m2 <= 0.0) return 0;
    const double m1 = 2.0 * l - m2;
    const double t = (m2 - m1) / m2;
    const int sector = static_cast<int>(6.0 * h);
    const double f = 6.0 * h - sector;
    const double p = m1 + m2 * t * f;
    const double q = m2 - m2 * t * f;
    const Channels c = SectorChannels(sector, m1, m2, p, q);
    return RGBColor(UnitToChannel(c.red), UnitToChannel(c.green), UnitToChannel(c.blue));
}

}  // namespace qv
