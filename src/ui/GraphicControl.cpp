#include "ui/GraphicControl.h"

namespace qv {

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner) {}

void TGraphicControl::WndProc(TMessage& message) {
    if (message.Msg == WM_PAINT && message.WParam != 0) {
        canvas_.SetHandle(reinterpret_cast<HDC>(message.WParam));
        canvas_.Font().Assign(Font());
        Paint();
        canvas_.SetHandle(nullptr);
        return;
    }
    TControl::WndProc(message);
}

}  // namespace qv
