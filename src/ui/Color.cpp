#include "ui/Color.h"

namespace qv {

COLORREF ColorToRGB(TColor color) {
    if (color == clNone) return RGB(0, 0, 0);
    if (color == clDefault) return GetSysColor(COLOR_WINDOW);
    if ((color & clSystemColor) == clSystemColor) return GetSysColor(color & 0xFF);
    return static_cast<COLORREF>(color & 0xFFFFFF);
}

}  // namespace qv
