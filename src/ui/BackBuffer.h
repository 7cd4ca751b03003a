// Off-screen drawing for one paint: a memory device context with a bitmap compatible with the
// target, whose coordinates are the target's own (the area's top-left maps to the bitmap's
// origin). Present() copies the finished image to the target in one operation.
#pragma once

#include <windows.h>

#include "common/ScopedHandles.h"

namespace qv {

class TBackBuffer {
public:
    TBackBuffer(HDC target, const RECT& area);
    TBackBuffer(const TBackBuffer&) = delete;
    TBackBuffer& operator=(const TBackBuffer&) = delete;
    ~TBackBuffer();

    // False when the system could not give the off-screen surface; callers then draw directly.
    bool Valid() const { return bitmap_.valid(); }
    HDC DC() const { return Valid() ? dc_.get() : target_; }
    void Present();

private:
    HDC target_;
    RECT area_;
    ScopedCreatedDC dc_;
    ScopedBitmap bitmap_;
    HGDIOBJ oldBitmap_ = nullptr;
};

}  // namespace qv
