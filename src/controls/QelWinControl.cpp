#include "controls/QelWinControl.h"

namespace qv {

void TQelWinControl::PaintWindow(HDC dc) {
    TMessage paint{WM_PAINT, reinterpret_cast<WPARAM>(dc), 0, 0};
    DefaultHandler(paint);
}

}  // namespace qv
