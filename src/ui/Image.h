// A window-less picture: automatic size, stretching, centring, transparent bitmaps, and the
// click and mouse events of every control.
#pragma once

#include "ui/GraphicControl.h"
#include "ui/Picture.h"

namespace qv {

class TImage : public TGraphicControl {
public:
    explicit TImage(TComponent* owner);

    // Changing the picture repaints the image (and resizes it with AutoSize).
    TPicture& Picture() { return picture_; }
    bool Stretch() const { return stretch_; }
    void SetStretch(bool on);
    bool Center() const { return center_; }
    void SetCenter(bool on);
    // A bitmap leaves out its transparent colour (its bottom-left pixel unless set otherwise).
    // PNG pictures are always drawn with their alpha.
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool on);

protected:
    void Paint() override;
    bool CanAutoSize(int& newWidth, int& newHeight) override;

private:
    void PictureChanged();

    TPicture picture_;
    bool stretch_ = false;
    bool center_ = false;
    bool transparent_ = false;
};

}  // namespace qv
