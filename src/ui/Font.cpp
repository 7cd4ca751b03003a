#include "ui/Font.h"

#include <algorithm>

namespace qv {
namespace {

int ScreenPixelsPerInch() {
    ScopedGetDC screen(nullptr);
    return screen ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 96;
}

}  // namespace

TFont::TFont()
    : name_(L"MS Sans Serif"),
      height_(-11),
      color_(clWindowText),
      style_(0),
      charset_(DEFAULT_CHARSET) {}

TFont::TFont(const TFont& other)
    : name_(other.name_),
      height_(other.height_),
      color_(other.color_),
      style_(other.style_),
      charset_(other.charset_) {}

TFont& TFont::operator=(const TFont& other) {
    Assign(other);
    return *this;
}

bool TFont::SameAs(const TFont& other) const {
    return name_ == other.name_ && height_ == other.height_ && color_ == other.color_ &&
           style_ == other.style_ && charset_ == other.charset_;
}

void TFont::Assign(const TFont& other) {
    if (this == &other || SameAs(other)) return;
    name_ = other.name_;
    height_ = other.height_;
    color_ = other.color_;
    style_ = other.style_;
    charset_ = other.charset_;
    Changed();
}

void TFont::SetName(const std::wstring& name) {
    if (name == name_) return;
    name_ = name;
    Changed();
}

void TFont::SetHeight(int height) {
    if (height == height_) return;
    height_ = height;
    Changed();
}

int TFont::Size() const {
    return -MulDiv(height_, 72, ScreenPixelsPerInch());
}

void TFont::SetSize(int points) {
    SetHeight(-MulDiv(points, ScreenPixelsPerInch(), 72));
}

void TFont::SetColor(TColor color) {
    if (color == color_) return;
    color_ = color;
    // The colour is not part of the GDI font; keep the handle.
    if (OnChange) OnChange();
}

void TFont::SetStyle(TFontStyles style) {
    if (style == style_) return;
    style_ = style;
    Changed();
}

void TFont::SetCharset(BYTE charset) {
    if (charset == charset_) return;
    charset_ = charset;
    Changed();
}

void TFont::Changed() {
    handle_.reset();
    if (OnChange) OnChange();
}

LOGFONTW TFont::LogFont() const {
    LOGFONTW lf{};
    lf.lfHeight = height_;
    lf.lfWeight = (style_ & fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (style_ & fsItalic) ? TRUE : FALSE;
    lf.lfUnderline = (style_ & fsUnderline) ? TRUE : FALSE;
    lf.lfStrikeOut = (style_ & fsStrikeOut) ? TRUE : FALSE;
    lf.lfCharSet = charset_;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = DEFAULT_PITCH;
    const size_t length = std::min(name_.size(), static_cast<size_t>(LF_FACESIZE - 1));
    name_.copy(lf.lfFaceName, length);
    return lf;
}

HFONT TFont::Handle() const {
    if (!handle_) {
        const LOGFONTW lf = LogFont();
        handle_.reset(CreateFontIndirectW(&lf));
    }
    return handle_.get();
}

}  // namespace qv
