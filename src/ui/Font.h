// A font description with a lazily created GDI font. Height follows the layouts' convention: a
// negative value -n is a character height of n pixels, a positive value a cell height.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "common/ScopedHandles.h"
#include "ui/Color.h"

namespace qv {

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = unsigned;

class TFont {
public:
    TFont();
    TFont(const TFont& other);
    TFont& operator=(const TFont& other);

    const std::wstring& Name() const { return name_; }
    void SetName(const std::wstring& name);
    int Height() const { return height_; }
    void SetHeight(int height);
    // Size in points at the screen's resolution, as the class library reports it.
    int Size() const;
    void SetSize(int points);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles style);
    BYTE Charset() const { return charset_; }
    void SetCharset(BYTE charset);

    // Copies every attribute; fires OnChange once when anything differed.
    void Assign(const TFont& other);
    bool SameAs(const TFont& other) const;

    // The description as GDI takes it.
    LOGFONTW LogFont() const;

    // The GDI font; created on first use, owned by this object, replaced after any change.
    HFONT Handle() const;

    // Fired after any attribute changes (the owning control redraws or relays it).
    std::function<void()> OnChange;

private:
    void Changed();

    std::wstring name_;
    int height_;
    TColor color_;
    TFontStyles style_;
    BYTE charset_;
    mutable ScopedFont handle_;
};

}  // namespace qv
