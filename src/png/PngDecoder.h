// Turns the bytes of one PNG file into a TPNGObject (internal to the PNG unit).
#pragma once

#include <cstddef>
#include <cstdint>

#include "png/PngObject.h"

namespace qv {

struct PngDecoder {
    // Decodes the PNG at data into picture (a fresh object). On success consumed (when given)
    // is the number of bytes up to and including the IEND chunk.
    static PngError Decode(const std::uint8_t* data, std::size_t size, TPNGObject& picture,
                           std::size_t* consumed = nullptr);
};

// The eight bytes every PNG file starts with.
inline constexpr std::uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

}  // namespace qv
