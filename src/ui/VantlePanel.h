// The layouts' container panel: alignment, colour, transparency (the parent's image shows
// through) and a background picture that can be stretched over the whole panel. No border,
// flat look.
#pragma once

#include "ui/CustomControl.h"
#include "ui/Picture.h"

namespace qv {

class TVantlePanel : public TCustomControl {
public:
    explicit TVantlePanel(TComponent* owner);

    bool Transparent() const { return ParentBackground(); }
    void SetTransparent(bool on) { SetParentBackground(on); }
    // Drawn over the colour (or the parent's image), at its natural size from the top-left
    // corner, or over the whole panel with BackgroundStretch.
    TPicture& BackgroundPicture() { return background_; }
    bool BackgroundStretch() const { return backgroundStretch_; }
    void SetBackgroundStretch(bool on);

protected:
    void Paint() override;

private:
    TPicture background_;
    bool backgroundStretch_ = false;
};

}  // namespace qv
