// Which of an image button's five pictures is shown, as plain rules over what each picture
// holds, so they can be followed without a window.
#pragma once

#include <array>

#include <windows.h>

namespace qv {

enum class TButtonImage { None, Img, Over, Down, Up, Disabled };

// What a picture holds, as far as the choice depends on it.
struct TImageFacts {
    bool Empty = true;
    int Width = 0;
    bool Usable() const { return !Empty && Width > 0; }
};

struct TButtonImages {
    TImageFacts Img, Over, Down, Up, Disabled;
    const TImageFacts& operator[](TButtonImage image) const;
};

// The outcome of one reaction: the picture to show and whether to repaint.
struct TImageChoice {
    TButtonImage Current;
    bool Repaint;
};

TImageChoice ChooseOnEnter(TButtonImage current, const TButtonImages& images);
TImageChoice ChooseOnLeave(TButtonImage current, const TButtonImages& images);
TImageChoice ChooseOnPress(TButtonImage current, const TButtonImages& images);
TImageChoice ChooseOnRelease(TButtonImage current, const TButtonImages& images);
TImageChoice ChooseOnEnable(TButtonImage current, const TButtonImages& images);
// The disabled picture must exist first (MakeDisabledPng when it does not).
TImageChoice ChooseOnDisable(TButtonImage current, const TButtonImages& images);
// The latched descendant's enter and leave: Over (Img) when usable and not already shown.
TImageChoice ChooseOnEnterEx(TButtonImage current, const TButtonImages& images);
TImageChoice ChooseOnLeaveEx(TButtonImage current, const TButtonImages& images);
// After a picture changed: a current picture that became unusable is dropped.
TButtonImage CurrentAfterChange(TButtonImage current, TButtonImage changed,
                                const TButtonImages& images);
// The picture Paint draws: current (Img when none or unusable), Disabled when disabled and wide.
TButtonImage ImageToPaint(TButtonImage current, bool enabled, const TButtonImages& images);

// Where an unstretched picture of width x height goes in the client: centred, clipped.
RECT PlaceImage(const RECT& client, int width, int height);

// The three source and target spans (end exclusive) of a stretch with fixed end caps along one
// axis. Empty when the caps do not apply (fixed <= 0 or 2 * fixed >= target).
struct TCapSpans {
    bool Apply = false;
    int Source[3][2]{};
    int Target[3][2]{};
};
TCapSpans CapSpans(int fixed, int sourceLength, int targetLength);

}  // namespace qv
