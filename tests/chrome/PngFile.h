// Writing small PNG files in tests (pictures built on the fly and screenshots to look at).
#pragma once

#include <windows.h>
#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

#include "common/ScopedHandles.h"

namespace qv::test {

inline std::string BigEndian(std::uint32_t v) {
    return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
            static_cast<char>(v)};
}

inline std::string PngChunk(const std::string& type, const std::string& data) {
    const std::string body = type + data;
    const auto crc =
        crc32(0, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size()));
    return BigEndian(static_cast<std::uint32_t>(data.size())) + body +
           BigEndian(static_cast<std::uint32_t>(crc));
}

// A whole PNG file; rows are the filtered scanlines' raw bytes without the filter byte.
inline std::string PngFileBytes(int width, int height, int colourType, const std::string& palette,
                                const std::vector<std::string>& rows) {
    std::string header = BigEndian(width) + BigEndian(height);
    header += std::string{8, static_cast<char>(colourType), 0, 0, 0};
    std::string raw;
    for (const std::string& row : rows) raw += std::string(1, 0) + row;
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    std::string packed(size, '\0');
    compress(reinterpret_cast<Bytef*>(packed.data()), &size,
             reinterpret_cast<const Bytef*>(raw.data()), static_cast<uLong>(raw.size()));
    packed.resize(size);
    std::string file = std::string("\x89PNG\r\n\x1a\n", 8) + PngChunk("IHDR", header);
    if (!palette.empty()) file += PngChunk("PLTE", palette);
    return file + PngChunk("IDAT", packed) + PngChunk("IEND", "");
}

inline bool WriteFileBytes(const std::wstring& path, const std::string& bytes) {
    ScopedFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file &&
           WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                     nullptr) &&
           written == bytes.size();
}

}  // namespace qv::test
