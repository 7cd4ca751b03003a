#include "controls/QelCustomEdit.h"

#include <algorithm>
#include <vector>

#include "common/ScopedHandles.h"

namespace qv {

namespace {

int ScreenFontHeight(HFONT font) {
    ScopedGetDC screen(nullptr);
    if (!screen) return 0;
    ScopedSelectObject select(screen.get(), font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(screen.get(), &metrics);
    return metrics.tmHeight;
}

DWORD AlignmentStyle(TAlignment alignment) {
    switch (alignment) {
        case taRightJustify:
            return ES_RIGHT;
        case taCenter:
            return ES_CENTER;
        case taLeftJustify:
            break;
    }
    return ES_LEFT;
}

DWORD CharCaseStyle(TEditCharCase charCase) {
    switch (charCase) {
        case ecUpperCase:
            return ES_UPPERCASE;
        case ecLowerCase:
            return ES_LOWERCASE;
        case ecNormal:
            break;
    }
    return 0;
}

}  // namespace

TQelCustomEdit::TQelCustomEdit(TComponent* owner) : TQelWinControl(owner) {
    SetControlStyle(csClickEvents | csSetCaption | csDoubleClicks);
    SetBounds(Left(), Top(), 130, 25);
    SetTabStop(true);
    SetParentColor(false);
    SetColor(clWindow);
    UpdateHeight();
}

// --- settings --------------------------------------------------------------------------------

void TQelCustomEdit::SetMaxLength(int value) {
    if (value == maxLength_) return;
    maxLength_ = value;
    if (HandleAllocated()) SendMessageW(Handle(), EM_LIMITTEXT, static_cast<WPARAM>(value), 0);
}

void TQelCustomEdit::SetPasswordChar(wchar_t value) {
    if (value == passwordChar_) return;
    const bool maskingChanged = (value == L'\0') != (passwordChar_ == L'\0');
    passwordChar_ = value;
    if (!HandleAllocated()) return;
    // A multi-line edit window never masks its text: a masked box gets a one-line window.
    if (maskingChanged) {
        RecreateWnd();
        return;
    }
    SendMessageW(Handle(), EM_SETPASSWORDCHAR, value, 0);
    const std::wstring text = Caption();
    SetWindowTextW(Handle(), text.c_str());
}

void TQelCustomEdit::SetReadOnly(bool on) {
    if (on == readOnly_) return;
    readOnly_ = on;
    if (HandleAllocated()) SendMessageW(Handle(), EM_SETREADONLY, on, 0);
}

void TQelCustomEdit::SetCharCase(TEditCharCase value) {
    if (value == charCase_) return;
    charCase_ = value;
    RecreateWnd();
}

void TQelCustomEdit::SetHideSelection(bool on) {
    if (on == hideSelection_) return;
    hideSelection_ = on;
    RecreateWnd();
}

void TQelCustomEdit::SetOEMConvert(bool on) {
    if (on == oemConvert_) return;
    oemConvert_ = on;
    RecreateWnd();
}

void TQelCustomEdit::SetAlignment(TAlignment value) {
    if (value == alignment_) return;
    alignment_ = value;
    RecreateWnd();
}

void TQelCustomEdit::SetBorderStyle(TBorderStyle value) {
    if (value == borderStyle_) return;
    borderStyle_ = value;
    UpdateHeight();
    RecreateWnd();
}

void TQelCustomEdit::SetAutoSize(bool on) {
    if (on == editAutoSize_) return;
    editAutoSize_ = on;
    UpdateHeight();
}

void TQelCustomEdit::SetCtl3D(bool on) {
    if (on == ctl3D_) return;
    ctl3D_ = on;
    RecreateWnd();
}

bool TQelCustomEdit::Modified() const {
    if (!HandleAllocated()) return modified_;
    return SendMessageW(const_cast<TQelCustomEdit*>(this)->Handle(), EM_GETMODIFY, 0, 0) != 0;
}

void TQelCustomEdit::SetModified(bool on) {
    if (HandleAllocated()) {
        SendMessageW(Handle(), EM_SETMODIFY, on, 0);
    } else {
        modified_ = on;
    }
}

// --- selection -------------------------------------------------------------------------------

int TQelCustomEdit::SelStart() {
    DWORD start = 0;
    SendMessageW(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    return static_cast<int>(start);
}

int TQelCustomEdit::SelLength() {
    DWORD start = 0, end = 0;
    SendMessageW(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    return static_cast<int>(end) - static_cast<int>(start);
}

void TQelCustomEdit::SetSelStart(int position) {
    SendMessageW(Handle(), EM_SETSEL, position, position);
}

void TQelCustomEdit::SetSelLength(int length) {
    const int start = SelStart();
    SendMessageW(Handle(), EM_SETSEL, start, start + length);
    SendMessageW(Handle(), EM_SCROLLCARET, 0, 0);
}

std::wstring TQelCustomEdit::SelText() {
    const int length = SelLength();
    if (length <= 0) return {};
    const std::wstring text = Caption();
    const size_t start = std::min(static_cast<size_t>(SelStart()), text.size());
    return text.substr(start, static_cast<size_t>(length));
}

int TQelCustomEdit::GetSelTextBuf(wchar_t* buffer, int size) {
    if (!buffer || size <= 0) return 0;
    const std::wstring selected = SelText();
    const int copied = std::min(static_cast<int>(selected.size()), size - 1);
    std::copy_n(selected.data(), copied, buffer);
    buffer[copied] = L'\0';
    return copied;
}

void TQelCustomEdit::SelectAll() {
    SendMessageW(Handle(), EM_SETSEL, 0, -1);
}

void TQelCustomEdit::Clear() {
    SetText(L"");
}

// --- geometry --------------------------------------------------------------------------------

int TQelCustomEdit::FontHeight() const {
    return ScreenFontHeight(Font().Handle());
}

void TQelCustomEdit::UpdateHeight() {
    fixedHeight_ = editAutoSize_ && borderStyle_ == bsSingle;
    if (fixedHeight_) AdjustHeight();
}

void TQelCustomEdit::AdjustHeight() {
    // Windows draws new-style controls: the room is a number of border heights.
    const int extra = GetSystemMetrics(SM_CYBORDER) * (ctl3D_ ? 8 : 6);
    SetHeight(FontHeight() + extra);
}

void TQelCustomEdit::SetFormattingRect(const RECT& rect) {
    if (!HandleAllocated()) return;
    // The rectangle is exactly where the text goes: no margins of the window's own inside it.
    SendMessageW(Handle(), EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
    SendMessageW(Handle(), EM_SETRECT, 0, reinterpret_cast<LPARAM>(&rect));
}

void TQelCustomEdit::UpdateTextRect() {
    if (!ParentForm() || !HandleAllocated()) return;
    const int fontHeight = FontHeight();
    RECT rect = ClientRect();
    rect.top += (rect.bottom - rect.top - fontHeight) / 2;
    rect.left += 4;
    rect.right -= 4;
    SetFormattingRect(rect);
}

// --- window ----------------------------------------------------------------------------------

void TQelCustomEdit::CreateParams(TCreateParams& params) {
    TQelWinControl::CreateParams(params);
    CreateSubClass(params, L"EDIT");
    params.Style |=
        ES_AUTOHSCROLL | ES_AUTOVSCROLL | AlignmentStyle(alignment_) | CharCaseStyle(charCase_);
    if (borderStyle_ == bsSingle) {
        if (ctl3D_) {
            params.ExStyle |= WS_EX_CLIENTEDGE;
        } else {
            params.Style |= WS_BORDER;
        }
    }
    if (passwordChar_ != L'\0') {
        params.Style |= ES_PASSWORD;
    } else {
        params.Style |= ES_MULTILINE;
    }
    if (readOnly_) params.Style |= ES_READONLY;
    if (!hideSelection_) params.Style |= ES_NOHIDESEL;
    if (oemConvert_) params.Style |= ES_OEMCONVERT;
}

void TQelCustomEdit::CreateWindowHandle(const TCreateParams& params) {
    creating_ = true;
    TQelWinControl::CreateWindowHandle(params);
    creating_ = false;
}

void TQelCustomEdit::CreateWnd() {
    creating_ = true;
    TQelWinControl::CreateWnd();
    SendMessageW(Handle(), EM_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
    SendMessageW(Handle(), EM_SETMODIFY, modified_, 0);
    if (passwordChar_ != L'\0') SendMessageW(Handle(), EM_SETPASSWORDCHAR, passwordChar_, 0);
    creating_ = false;
    UpdateHeight();
    UpdateTextRect();
}

void TQelCustomEdit::DestroyWnd() {
    modified_ = SendMessageW(Handle(), EM_GETMODIFY, 0, 0) != 0;
    TQelWinControl::DestroyWnd();
}

bool TQelCustomEdit::IsMultiLineWindow() {
    return !HandleAllocated() || (GetWindowLongW(Handle(), GWL_STYLE) & ES_MULTILINE) != 0;
}

void TQelCustomEdit::SetParent(TWinControl* parent) {
    TQelWinControl::SetParent(parent);
    UpdateTextRect();
}

void TQelCustomEdit::SetCaption(const std::wstring& caption) {
    // The window's own change report for this text is not counted: the caption-changed
    // notification below reports it once, whatever the window does.
    settingText_ = true;
    TQelWinControl::SetCaption(caption);
    settingText_ = false;
}

void TQelCustomEdit::FontChanged() {
    TQelWinControl::FontChanged();
    if (fixedHeight_) AdjustHeight();
    UpdateTextRect();
}

void TQelCustomEdit::Resize() {
    TQelWinControl::Resize();
    UpdateTextRect();
}

void TQelCustomEdit::Change() {
    Changed();
    if (OnChange) OnChange(this);
}

void TQelCustomEdit::WndProc(TMessage& message) {
    switch (message.Msg) {
        case CN_COMMAND:
            if (HIWORD(message.WParam) == EN_CHANGE && !creating_ && !settingText_) Change();
            return;
        case CM_TEXTCHANGED:
            TQelWinControl::WndProc(message);
            if (IsMultiLineWindow() || settingText_) Change();
            return;
        case WM_CONTEXTMENU:
            SetFocus();
            break;
        default:
            break;
    }
    TQelWinControl::WndProc(message);
}

}  // namespace qv
