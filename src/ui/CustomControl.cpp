#include "ui/CustomControl.h"

namespace qv {

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner) {}

void TCustomControl::PaintWindow(HDC dc) {
    const int saved = SaveDC(dc);
    if (ParentBackground()) {
        DrawParentImage(dc);
    } else if (Color() != clNone) {
        const RECT client = ClientRect();
        FillRect(dc, &client, ColorBrush());
    }
    canvas_.SetHandle(dc);
    canvas_.Font().Assign(Font());
    canvas_.Brush().SetColor(Color());
    Paint();
    canvas_.SetHandle(nullptr);
    RestoreDC(dc, saved);
    PaintControls(dc);
}

}  // namespace qv
