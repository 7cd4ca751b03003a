#include "res/ArtworkLoader.h"

namespace qv {

TPNGObject LoadPngResource(int id, PngError* error) {
    TPNGObject picture;
    const PngError result =
        picture.LoadFromResource(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), RT_RCDATA);
    if (error) *error = result;
    return picture;
}

ScopedBitmap LoadBitmapResource(int id) {
    return ScopedBitmap(static_cast<HBITMAP>(LoadImageW(
        GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

}  // namespace qv
