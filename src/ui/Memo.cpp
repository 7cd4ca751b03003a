#include "ui/Memo.h"

namespace qv {
namespace {

// The system edit box breaks lines only at "\r\n".
std::wstring WithCrLf(const std::wstring& text) {
    std::wstring result;
    result.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\n' && (i == 0 || text[i - 1] != L'\r')) result += L'\r';
        result += text[i];
    }
    return result;
}

}  // namespace

TMemo::TMemo(TComponent* owner) : TWinControl(owner) {
    SetControlStyle(csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks);
    SetBounds(0, 0, 185, 89);
    SetTabStop(true);
    SetColor(clWindow);
}

void TMemo::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, L"EDIT");
    params.Style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
    if (readOnly_) params.Style |= ES_READONLY;
    const bool horizontal = scrollBars_ == ssHorizontal || scrollBars_ == ssBoth;
    const bool vertical = scrollBars_ == ssVertical || scrollBars_ == ssBoth;
    if (horizontal) params.Style |= WS_HSCROLL;
    if (vertical) params.Style |= WS_VSCROLL;
    if (horizontal || !wordWrap_) params.Style |= ES_AUTOHSCROLL;
    if (borderStyle_ == bsSingle) params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TMemo::SetReadOnly(bool on) {
    if (on == readOnly_) return;
    readOnly_ = on;
    if (HandleAllocated()) SendMessageW(Handle(), EM_SETREADONLY, on, 0);
}

void TMemo::SetScrollBars(TScrollStyle style) {
    if (style == scrollBars_) return;
    scrollBars_ = style;
    RecreateWnd();
}

void TMemo::SetBorderStyle(TBorderStyle style) {
    if (style == borderStyle_) return;
    borderStyle_ = style;
    RecreateWnd();
}

void TMemo::SetWordWrap(bool on) {
    if (on == wordWrap_) return;
    wordWrap_ = on;
    RecreateWnd();
}

void TMemo::SetCaption(const std::wstring& text) {
    TWinControl::SetCaption(WithCrLf(text));
}

}  // namespace qv
