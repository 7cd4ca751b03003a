#include "ui/BackBuffer.h"

namespace qv {

TBackBuffer::TBackBuffer(HDC target, const RECT& area) : target_(target), area_(area) {
    const int width = area.right - area.left, height = area.bottom - area.top;
    if (!target || width <= 0 || height <= 0) return;
    dc_.reset(CreateCompatibleDC(target));
    if (!dc_) return;
    bitmap_.reset(CreateCompatibleBitmap(target, width, height));
    if (!bitmap_) return;
    oldBitmap_ = SelectObject(dc_.get(), bitmap_.get());
    SetViewportOrgEx(dc_.get(), -area.left, -area.top, nullptr);
}

TBackBuffer::~TBackBuffer() {
    if (oldBitmap_) SelectObject(dc_.get(), oldBitmap_);
}

void TBackBuffer::Present() {
    if (!Valid()) return;
    SetViewportOrgEx(dc_.get(), 0, 0, nullptr);
    BitBlt(target_, area_.left, area_.top, area_.right - area_.left, area_.bottom - area_.top,
           dc_.get(), 0, 0, SRCCOPY);
    SetViewportOrgEx(dc_.get(), -area_.left, -area_.top, nullptr);
}

}  // namespace qv
