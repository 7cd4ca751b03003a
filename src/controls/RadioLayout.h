// Geometry and look choices of the flat radio button, kept apart from its window so that every
// rule can be checked on plain rectangles.
#pragma once

#include <windows.h>

namespace qv {

// The look a picture strip shows: one frame each, side by side, left to right.
enum class RadioFrame : int { Normal = 0, Focused = 1, Hot = 2, Pressed = 3, Disabled = 4 };

inline constexpr int kRadioStripFrames = 5;

struct RadioState {
    bool focused = false;
    bool mouseIn = false;
    bool mouseDown = false;
    bool spaceDown = false;
    bool enabled = true;
};

// A requested thumb width of 1 or less falls back to the system thumb width minus 4.
int NormalizedThumbWidth(int requested, int systemThumbWidth);

// The square holding the circle: at the client's left edge, centred vertically (it may start
// above the top edge when the client is lower than the square).
RECT ThumbBox(const RECT& client, int thumbWidth);

// Later conditions win: disabled over pressed over hot over focused. Space never shows pressed.
RadioFrame FrameFor(const RadioState& state);

// Width of one frame of a strip; columns beyond five whole frames never show.
int StripFrameWidth(int stripWidth);

// Where one frame of a strip is drawn: centred in the box.
RECT GlyphRect(const RECT& box, int frameWidth, int pictureHeight);

// Where the caption goes: right of the box plus iconSpace, up to 2 pixels before the client's
// right edge; a right-justified caption moves right but never starts left of that.
RECT CaptionRect(const RECT& client, const RECT& box, int iconSpace, SIZE textSize,
                 bool rightJustify);

// The check point is the box shrunk by 3 pixels on every side.
RECT CheckPointRect(const RECT& box);

}  // namespace qv
