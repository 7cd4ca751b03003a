#include "Screenshot.h"

#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "common/ScopedHandles.h"
#include "common/StringConv.h"
#include "png/PngObject.h"

namespace qv::test {

namespace {

constexpr int kChannelTolerance = 24;
constexpr double kDifferingShare = 0.005;

void PutBigEndian(std::string& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>(value >> shift));
}

void PutChunk(std::string& out, const char* type, const std::string& data) {
    PutBigEndian(out, static_cast<std::uint32_t>(data.size()));
    const std::string typed = std::string(type, 4) + data;
    out += typed;
    PutBigEndian(out,
                 static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(typed.data()),
                                                  static_cast<uInt>(typed.size()))));
}

std::wstring ExecutableFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

// The reference folder is this source file's folder, known to the build as a Unix path; Wine
// maps the Unix root to drive Z:.
std::wstring ReferenceFolder() {
    std::wstring folder = Utf8ToWide(QV_DIALOG_REFERENCE_DIR);
    if (!folder.empty() && folder[0] == L'/') folder = L"Z:" + folder;
    return folder + L"/";
}

}  // namespace

Picture CaptureScreen(const RECT& r) {
    Picture picture;
    picture.width = r.right - r.left;
    picture.height = r.bottom - r.top;
    if (picture.width <= 0 || picture.height <= 0) return {};
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = picture.width;
    info.bmiHeader.biHeight = -picture.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    ScopedGetDC screen(nullptr);
    ScopedBitmap dib(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    ScopedCreatedDC memory(CreateCompatibleDC(screen.get()));
    if (!dib || !memory) return {};
    {
        ScopedSelectObject select(memory.get(), dib.get());
        BitBlt(memory.get(), 0, 0, picture.width, picture.height, screen.get(), r.left, r.top,
               SRCCOPY);
        GdiFlush();
    }
    const auto* bgra = static_cast<const std::uint8_t*>(bits);
    picture.pixels.resize(static_cast<size_t>(picture.width) * picture.height);
    for (size_t i = 0; i < picture.pixels.size(); ++i) {
        picture.pixels[i] = {bgra[i * 4 + 2], bgra[i * 4 + 1], bgra[i * 4]};
    }
    return picture;
}

bool WritePng(const Picture& picture, const std::wstring& path) {
    std::string raw;
    raw.reserve(static_cast<size_t>(picture.width * 3 + 1) * picture.height);
    for (int y = 0; y < picture.height; ++y) {
        raw.push_back(0);  // filter: none
        for (int x = 0; x < picture.width; ++x) {
            const Rgb p = picture.At(x, y);
            raw += {static_cast<char>(p.r), static_cast<char>(p.g), static_cast<char>(p.b)};
        }
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::string packed(packedSize, '\0');
    if (compress2(reinterpret_cast<Bytef*>(packed.data()), &packedSize,
                  reinterpret_cast<const Bytef*>(raw.data()), static_cast<uLong>(raw.size()),
                  9) != Z_OK) {
        return false;
    }
    packed.resize(packedSize);
    std::string header;
    PutBigEndian(header, static_cast<std::uint32_t>(picture.width));
    PutBigEndian(header, static_cast<std::uint32_t>(picture.height));
    header += {8, 2, 0, 0, 0};  // 8 bits, RGB, deflate, no filter method, no interlace
    std::string file = "\x89PNG\r\n\x1a\n";
    PutChunk(file, "IHDR", header);
    PutChunk(file, "IDAT", packed);
    PutChunk(file, "IEND", {});
    ScopedFile out(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return out &&
           WriteFile(out.get(), file.data(), static_cast<DWORD>(file.size()), &written, nullptr) &&
           written == file.size();
}

bool ReadPng(const std::wstring& path, Picture* picture) {
    TPNGObject png;
    if (png.LoadFromFile(path) != PngError::None) return false;
    picture->width = png.Width();
    picture->height = png.Height();
    picture->pixels.resize(static_cast<size_t>(png.Width()) * png.Height());
    for (int y = 0; y < png.Height(); ++y) {
        for (int x = 0; x < png.Width(); ++x) {
            const PngPixel p = png.Pixel(x, y);
            picture->pixels[static_cast<size_t>(y) * png.Width() + x] = {p.r, p.g, p.b};
        }
    }
    return true;
}

Difference Compare(const Picture& a, const Picture& b, int channelTolerance) {
    Difference difference;
    difference.sameSize = a.width == b.width && a.height == b.height;
    if (!difference.sameSize) return difference;
    for (size_t i = 0; i < a.pixels.size(); ++i) {
        const int d = std::max({std::abs(a.pixels[i].r - b.pixels[i].r),
                                std::abs(a.pixels[i].g - b.pixels[i].g),
                                std::abs(a.pixels[i].b - b.pixels[i].b)});
        difference.largestChannelDifference = std::max(difference.largestChannelDifference, d);
        if (d > channelTolerance) ++difference.differingPixels;
    }
    return difference;
}

std::string MatchReference(const Picture& capture, const std::string& name) {
    const std::wstring referencePath = ReferenceFolder() + Utf8ToWide(name) + L".png";
    if (const char* update = std::getenv("QV_UPDATE_REFERENCES"); update && *update == '1') {
        return WritePng(capture, referencePath) ? "" : "could not write the reference";
    }
    std::ostringstream problem;
    Picture reference;
    if (!ReadPng(referencePath, &reference)) {
        problem << "no readable reference " << name << ".png";
    } else {
        const Difference d = Compare(capture, reference, kChannelTolerance);
        const int allowed = static_cast<int>(kDifferingShare * capture.pixels.size());
        if (!d.sameSize) {
            problem << "size " << capture.width << "x" << capture.height << ", reference "
                    << reference.width << "x" << reference.height;
        } else if (d.differingPixels > allowed) {
            problem << d.differingPixels << " pixels differ (at most " << allowed
                    << " may), largest channel difference " << d.largestChannelDifference;
        }
    }
    if (problem.tellp() > 0) {
        const std::wstring actual = ExecutableFolder() + Utf8ToWide(name) + L".actual.png";
        WritePng(capture, actual);
        problem << "; the capture is in " << WideToUtf8(actual);
    }
    return problem.str();
}

}  // namespace qv::test
