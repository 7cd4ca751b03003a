// Loading the artwork embedded by qv_artwork (ids in ArtworkIds.h).
//
// The resources live in the executable that links qv_artwork, which must be linked into the
// executable itself (an object library's objects do not pass through a static library).
#pragma once

#include "common/ScopedHandles.h"
#include "png/PngObject.h"

namespace qv {

// The PNG picture with the given IDR_PNG_* id; an empty picture when the resource is missing or
// does not decode (error, when given, tells why).
TPNGObject LoadPngResource(int id, PngError* error = nullptr);

// The 24-bit bitmap with the given IDB_* id as a DIB section; empty when missing.
ScopedBitmap LoadBitmapResource(int id);

}  // namespace qv
