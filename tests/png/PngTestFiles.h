// Building PNG files byte by byte for the tests: the corpus embedded in the test program, and
// hand-made files with exactly the fault a test is about.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "png/PngObject.h"

namespace qv::test {

using Bytes = std::vector<std::uint8_t>;

// An RCDATA resource of the test program (the corpus is embedded by corpus.rc).
Bytes ResourceBytes(const std::wstring& name);

// One chunk: length, type, data, CRC (a wrong CRC when badCrc).
Bytes Chunk(const char* type, const Bytes& data, bool badCrc = false);

Bytes Header(std::uint32_t width, std::uint32_t height, int depth, int colorType, int interlace = 0,
             int compression = 0, int filter = 0);

Bytes Compress(const Bytes& raw);

// Concatenates the signature and the given chunks.
Bytes PngFile(const std::vector<Bytes>& chunks);

// A valid non-interlaced 8-bit RGBA file of the given size whose pixel (x, y) is
// (x * 16, y * 16, x + y, 255 - x) and whose rows use filter type 0.
Bytes SmallRgbaFile(int width, int height);
Bytes SmallRgbaRows(int width, int height);  // its filtered image data, uncompressed

// A picture of the given colour type holding the given RGBA pixels (row by row); grey and
// palette pictures take the red bytes as grey level or index. Built through a real PNG file.
TPNGObject PictureFrom(int width, int height, const std::vector<PngPixel>& pixels,
                       PngColorType type);

}  // namespace qv::test
