#include "ui/Picture.h"

namespace qv {

TPicture::TPicture() = default;

int TPicture::Width() const {
    switch (kind_) {
        case Kind::Png:
            return png_.Width();
        case Kind::Bitmap:
            return bitmap_.Width();
        case Kind::None:
            break;
    }
    return 0;
}

int TPicture::Height() const {
    switch (kind_) {
        case Kind::Png:
            return png_.Height();
        case Kind::Bitmap:
            return bitmap_.Height();
        case Kind::None:
            break;
    }
    return 0;
}

void TPicture::Clear() {
    kind_ = Kind::None;
    png_.Clear();
    bitmap_.SetSize(0, 0);
    Changed();
}

void TPicture::AssignPng(const TPNGObject& png) {
    png_.Assign(png);
    bitmap_.SetSize(0, 0);
    kind_ = png_.Empty() ? Kind::None : Kind::Png;
    Changed();
}

void TPicture::AssignBitmap(HBITMAP bitmap) {
    png_.Clear();
    kind_ = bitmap_.AssignHandle(bitmap) && !bitmap_.Empty() ? Kind::Bitmap : Kind::None;
    Changed();
}

void TPicture::AssignBitmap(const TBitmap& bitmap) {
    png_.Clear();
    bitmap_.Assign(bitmap);
    kind_ = bitmap_.Empty() ? Kind::None : Kind::Bitmap;
    Changed();
}

void TPicture::Draw(HDC dc, const RECT& r, bool transparent) const {
    switch (kind_) {
        case Kind::Png:
            png_.Draw(dc, r);
            break;
        case Kind::Bitmap:
            bitmap_.Draw(dc, r, transparent || bitmap_.Transparent());
            break;
        case Kind::None:
            break;
    }
}

void TPicture::Changed() {
    if (OnChange) OnChange();
}

}  // namespace qv
