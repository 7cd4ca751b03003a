// A multi-line text box on the system EDIT class, with optional scroll bars and read-only mode
// (the message box's detail pane).
#pragma once

#include <string>

#include "ui/WinControl.h"

namespace qv {

enum class TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
using enum TScrollStyle;
enum class TBorderStyle { bsNone, bsSingle };
using enum TBorderStyle;

class TMemo : public TWinControl {
public:
    explicit TMemo(TComponent* owner);

    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool on);
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle style);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle style);
    // Lines wrap at the right edge (never with a horizontal scroll bar).
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool on);

    // Line breaks may be "\n" or "\r\n"; the box shows them as lines.
    void SetCaption(const std::wstring& text) override;
    void Clear() { SetCaption(L""); }

protected:
    void CreateParams(TCreateParams& params) override;

private:
    bool readOnly_ = false;
    TScrollStyle scrollBars_ = ssNone;
    TBorderStyle borderStyle_ = bsSingle;
    bool wordWrap_ = true;
};

// The rich text box of the layouts is a plain multi-line box here.
using TRichEdit = TMemo;

}  // namespace qv
