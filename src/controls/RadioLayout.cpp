#include "controls/RadioLayout.h"

#include <algorithm>

namespace qv {

int NormalizedThumbWidth(int requested, int systemThumbWidth) {
    return requested > 1 ? requested : systemThumbWidth - 4;
}

RECT ThumbBox(const RECT& client, int thumbWidth) {
    RECT box;
    box.left = client.left;
    box.top = client.top + (client.bottom - client.top - thumbWidth) / 2;
    box.right = box.left + thumbWidth;
    box.bottom = box.top + thumbWidth;
    return box;
}

RadioFrame FrameFor(const RadioState& state) {
    RadioFrame frame = RadioFrame::Normal;
    if (state.focused) frame = RadioFrame::Focused;
    if (state.mouseIn) frame = RadioFrame::Hot;
    if (state.mouseDown) frame = RadioFrame::Pressed;
    if (!state.enabled) frame = RadioFrame::Disabled;
    return frame;
}

int StripFrameWidth(int stripWidth) {
    return stripWidth / kRadioStripFrames;
}

RECT GlyphRect(const RECT& box, int frameWidth, int pictureHeight) {
    RECT glyph;
    glyph.left = box.left + (box.right - box.left - frameWidth) / 2;
    glyph.top = box.top + (box.bottom - box.top - pictureHeight) / 2;
    glyph.right = glyph.left + frameWidth;
    glyph.bottom = glyph.top + pictureHeight;
    return glyph;
}

RECT CaptionRect(const RECT& client, const RECT& box, int iconSpace, SIZE textSize,
                 bool rightJustify) {
    RECT text;
    text.top = client.top + (client.bottom - client.top - textSize.cy) / 2;
    text.bottom = text.top + textSize.cy;
    text.left = box.right + iconSpace;
    text.right = client.right - 2;
    if (rightJustify) text.left = std::max(text.left, text.right - textSize.cx);
    return text;
}

RECT CheckPointRect(const RECT& box) {
    return RECT{box.left + 3, box.top + 3, box.right - 3, box.bottom - 3};
}

}  // namespace qv
