#include "controls/ImageSelection.h"

#include <algorithm>

namespace qv {

const TImageFacts& TButtonImages::operator[](TButtonImage image) const {
    static const TImageFacts none;
    switch (image) {
        case TButtonImage::Img:
            return Img;
        case TButtonImage::Over:
            return Over;
        case TButtonImage::Down:
            return Down;
        case TButtonImage::Up:
            return Up;
        case TButtonImage::Disabled:
            return Disabled;
        case TButtonImage::None:
            break;
    }
    return none;
}

namespace {

// Shows candidate when it is usable and not shown yet.
TImageChoice SwitchTo(TButtonImage current, TButtonImage candidate, const TButtonImages& images) {
    if (images[candidate].Usable() && current != candidate) return {candidate, true};
    return {current, false};
}

}  // namespace

TImageChoice ChooseOnEnter(TButtonImage current, const TButtonImages& images) {
    // The hover picture is shown again even when it is current (a repaint after a press).
    if (!images.Over.Empty) return {TButtonImage::Over, true};
    return {current, false};
}

TImageChoice ChooseOnLeave(TButtonImage current, const TButtonImages& images) {
    if (images.Img.Width > 0 && current != TButtonImage::Img) return {TButtonImage::Img, true};
    return {current, false};
}

TImageChoice ChooseOnPress(TButtonImage current, const TButtonImages& images) {
    if (!images.Down.Empty && current != TButtonImage::Down) return {TButtonImage::Down, true};
    return {current, false};
}

TImageChoice ChooseOnRelease(TButtonImage current, const TButtonImages& images) {
    for (TButtonImage candidate : {TButtonImage::Up, TButtonImage::Over, TButtonImage::Img}) {
        if (images[candidate].Usable() && current != candidate) return {candidate, true};
    }
    return {current, false};
}

TImageChoice ChooseOnEnable(TButtonImage current, const TButtonImages& images) {
    return {SwitchTo(current, TButtonImage::Img, images).Current, true};
}

TImageChoice ChooseOnDisable(TButtonImage, const TButtonImages&) {
    return {TButtonImage::Disabled, true};
}

TImageChoice ChooseOnEnterEx(TButtonImage current, const TButtonImages& images) {
    return SwitchTo(current, TButtonImage::Over, images);
}

TImageChoice ChooseOnLeaveEx(TButtonImage current, const TButtonImages& images) {
    return SwitchTo(current, TButtonImage::Img, images);
}

TButtonImage CurrentAfterChange(TButtonImage current, TButtonImage changed,
                                const TButtonImages& images) {
    if (changed == current && !images[changed].Usable()) return TButtonImage::None;
    return current;
}

TButtonImage ImageToPaint(TButtonImage current, bool enabled, const TButtonImages& images) {
    if (current == TButtonImage::None || images[current].Width <= 0) current = TButtonImage::Img;
    if (!enabled && images.Disabled.Width != 0) return TButtonImage::Disabled;
    return current;
}

RECT PlaceImage(const RECT& client, int width, int height) {
    RECT r = client;
    r.left = std::max<int>(client.right - client.left + 1 - width, 0) / 2;
    r.top = std::max<int>(client.bottom - client.top + 1 - height, 0) / 2;
    r.right = std::min<int>(width + r.left, client.right);
    r.bottom = std::min<int>(height + r.top, client.bottom);
    return r;
}

TCapSpans CapSpans(int fixed, int sourceLength, int targetLength) {
    TCapSpans spans;
    if (fixed <= 0 || 2 * fixed >= targetLength) return spans;
    spans.Apply = true;
    const int source[3][2] = {
        {0, fixed}, {fixed, sourceLength - fixed}, {sourceLength - fixed, sourceLength}};
    const int target[3][2] = {
        {0, fixed}, {fixed, targetLength - fixed}, {targetLength - fixed, targetLength}};
    std::copy(&source[0][0], &source[0][0] + 6, &spans.Source[0][0]);
    std::copy(&target[0][0], &target[0][0] + 6, &spans.Target[0][0]);
    return spans;
}

}  // namespace qv
