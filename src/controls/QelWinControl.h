// A margin-aware control that wraps a system window class and lets that class paint.
#pragma once

#include "controls/QelCustomControl.h"

namespace qv {

class TQelWinControl : public TQelCustomControl {
public:
    using TQelCustomControl::TQelCustomControl;

    // The wrapped class paints itself onto dc (a WM_PAINT with the context in WParam).
    void PaintWindow(HDC dc) override;
};

}  // namespace qv
