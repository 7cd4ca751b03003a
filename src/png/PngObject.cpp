#include "png/PngObject.h"

#include <algorithm>
#include <iterator>
#include <new>
#include <utility>

#include "png/PngDecoder.h"

namespace qv {
namespace {

// A PNG file larger than this is not artwork; reading it whole is refused.
constexpr std::uint64_t kMaxPngFileBytes = 256ull << 20;

std::uint32_t ReadBigEndian32(const std::uint8_t* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
           std::uint32_t{p[3]};
}

bool ReadExactly(std::istream& stream, std::vector<std::uint8_t>& buffer, std::size_t count) {
    // Grows the buffer only with what the stream really delivers, so a chunk length that lies
    // costs no more memory than the data behind it.
    constexpr std::size_t kPiece = 64 * 1024;
    while (count > 0) {
        const std::size_t piece = std::min(count, kPiece);
        const std::size_t old = buffer.size();
        buffer.resize(old + piece);
        stream.read(reinterpret_cast<char*>(buffer.data() + old),
                    static_cast<std::streamsize>(piece));
        const auto got = static_cast<std::size_t>(stream.gcount());
        buffer.resize(old + got);
        if (got != piece) return false;
        count -= piece;
    }
    return true;
}

// Reads the bytes of one PNG file, from the signature through the IEND chunk.
PngError ReadPngBytes(std::istream& stream, std::vector<std::uint8_t>& bytes) {
    if (!ReadExactly(stream, bytes, sizeof kPngSignature))
        return bytes.empty() ? PngError::ReadFailed : PngError::Truncated;
    if (!std::equal(bytes.begin(), bytes.end(), std::begin(kPngSignature))) return PngError::NotPng;
    for (;;) {
        const std::size_t start = bytes.size();
        if (!ReadExactly(stream, bytes, 8)) return PngError::Truncated;
        const std::uint32_t length = ReadBigEndian32(bytes.data() + start);
        if (length > 0x7FFFFFFFu || bytes.size() + length > kMaxPngFileBytes)
            return PngError::TooLarge;
        if (!ReadExactly(stream, bytes, std::size_t{length} + 4)) return PngError::Truncated;
        if (std::equal(bytes.begin() + start + 4, bytes.begin() + start + 8, "IEND"))
            return PngError::None;
    }
}

}  // namespace

const wchar_t* PngErrorText(PngError error) {
    switch (error) {
        case PngError::None:
            return L"no error";
        case PngError::ReadFailed:
            return L"the PNG data could not be read";
        case PngError::NotPng:
            return L"not a PNG file (signature missing)";
        case PngError::Truncated:
            return L"the PNG data is truncated";
        case PngError::BadCrc:
            return L"a PNG chunk has a wrong CRC";
        case PngError::BadHeader:
            return L"the PNG header (IHDR) is missing or invalid";
        case PngError::BadChunkOrder:
            return L"the PNG chunks are out of order";
        case PngError::BadPalette:
            return L"the PNG palette or transparency chunk is invalid";
        case PngError::UnknownCriticalChunk:
            return L"the PNG has an unknown critical chunk";
        case PngError::TooLarge:
            return L"the PNG image is too large";
        case PngError::BadImageData:
            return L"the PNG image data is corrupt";
        case PngError::ImageDataTooShort:
            return L"the PNG image data is too short";
        case PngError::ImageDataTooLong:
            return L"the PNG image data is too long";
        case PngError::BadFilter:
            return L"the PNG image data has an unknown row filter";
        case PngError::OutOfMemory:
            return L"out of memory while decoding the PNG";
    }
    return L"unknown PNG error";
}

TPNGObject::TPNGObject(const TPNGObject& other) {
    CopyPixels(other);
}

TPNGObject::TPNGObject(TPNGObject&& other) noexcept {
    TakePixels(std::move(other));
}

TPNGObject& TPNGObject::operator=(const TPNGObject& other) {
    Assign(other);
    return *this;
}

TPNGObject& TPNGObject::operator=(TPNGObject&& other) noexcept {
    if (this != &other) TakePixels(std::move(other));
    Changed();
    return *this;
}

void TPNGObject::CopyPixels(const TPNGObject& other) {
    width_ = other.width_;
    height_ = other.height_;
    colorType_ = other.colorType_;
    fileColorType_ = other.fileColorType_;
    fileBitDepth_ = other.fileBitDepth_;
    interlaced_ = other.interlaced_;
    color_ = other.color_;
    alpha_ = other.alpha_;
    palette_ = other.palette_;
    paletteAlpha_ = other.paletteAlpha_;
    hasTransparencyTable_ = other.hasTransparencyTable_;
}

void TPNGObject::TakePixels(TPNGObject&& other) {
    width_ = std::exchange(other.width_, 0);
    height_ = std::exchange(other.height_, 0);
    colorType_ = other.colorType_;
    fileColorType_ = other.fileColorType_;
    fileBitDepth_ = other.fileBitDepth_;
    interlaced_ = other.interlaced_;
    color_ = std::move(other.color_);
    alpha_ = std::move(other.alpha_);
    other.color_.clear();
    other.alpha_.clear();
    palette_ = other.palette_;
    paletteAlpha_ = other.paletteAlpha_;
    hasTransparencyTable_ = other.hasTransparencyTable_;
}

TPNGObject TPNGObject::CreateBlank(int width, int height) {
    TPNGObject picture;
    if (width <= 0 || height <= 0 || static_cast<std::uint32_t>(width) > kMaxPngDimension ||
        static_cast<std::uint32_t>(height) > kMaxPngDimension ||
        std::uint64_t(width) * std::uint64_t(height) > kMaxPngPixels)
        return picture;
    try {
        const std::size_t pixels = std::size_t(width) * std::size_t(height);
        picture.color_.assign(pixels * 3, 0);
        picture.alpha_.assign(pixels, 0);
    } catch (const std::bad_alloc&) {
        return TPNGObject();
    }
    picture.width_ = width;
    picture.height_ = height;
    picture.colorType_ = picture.fileColorType_ = PngColorType::RGBAlpha;
    picture.fileBitDepth_ = 8;
    return picture;
}

void TPNGObject::Assign(const TPNGObject& other) {
    if (this != &other) TakePixels(TPNGObject(other));
    Changed();
}

void TPNGObject::Clear() {
    TakePixels(TPNGObject());
    Changed();
}

void TPNGObject::Changed() {
    if (onChange_) onChange_(*this);
}

PngError TPNGObject::LoadFromMemory(const void* data, std::size_t size) {
    TPNGObject decoded;
    const PngError error =
        PngDecoder::Decode(static_cast<const std::uint8_t*>(data), size, decoded);
    if (error != PngError::None) return error;
    TakePixels(std::move(decoded));
    Changed();
    return PngError::None;
}

PngError TPNGObject::LoadFromStream(std::istream& stream) {
    try {
        std::vector<std::uint8_t> bytes;
        if (const PngError error = ReadPngBytes(stream, bytes); error != PngError::None)
            return error;
        return LoadFromMemory(bytes.data(), bytes.size());
    } catch (const std::bad_alloc&) {
        return PngError::OutOfMemory;
    } catch (const std::ios_base::failure&) {  // a stream set to throw on errors
        return PngError::ReadFailed;
    }
}

PngError TPNGObject::LoadFromFile(const std::wstring& path) {
    ScopedFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return PngError::ReadFailed;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size)) return PngError::ReadFailed;
    if (static_cast<std::uint64_t>(size.QuadPart) > kMaxPngFileBytes) return PngError::TooLarge;
    try {
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size.QuadPart));
        std::size_t done = 0;
        while (done < bytes.size()) {
            DWORD got = 0;
            const DWORD want =
                static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 24));
            if (!ReadFile(file.get(), bytes.data() + done, want, &got, nullptr))
                return PngError::ReadFailed;
            if (got == 0) break;  // the file shrank meanwhile
            done += got;
        }
        bytes.resize(done);
        return LoadFromMemory(bytes.data(), bytes.size());
    } catch (const std::bad_alloc&) {
        return PngError::OutOfMemory;
    }
}

PngError TPNGObject::LoadFromResource(HMODULE module, const wchar_t* name, const wchar_t* type) {
    HRSRC found = FindResourceW(module, name, type);
    if (!found) return PngError::ReadFailed;
    HGLOBAL loaded = LoadResource(module, found);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) return PngError::ReadFailed;
    return LoadFromMemory(data, SizeofResource(module, found));
}

int TPNGObject::ColorBytesPerPixel() const {
    return colorType_ == PngColorType::RGB || colorType_ == PngColorType::RGBAlpha ? 3 : 1;
}

std::uint8_t* TPNGObject::ColorRow(int y) {
    if (y < 0 || y >= height_) return nullptr;
    return color_.data() + std::size_t(y) * width_ * ColorBytesPerPixel();
}

const std::uint8_t* TPNGObject::ColorRow(int y) const {
    return const_cast<TPNGObject*>(this)->ColorRow(y);
}

std::uint8_t* TPNGObject::AlphaRow(int y) {
    if (y < 0 || y >= height_ || !HasAlphaChannel()) return nullptr;
    return alpha_.data() + std::size_t(y) * width_;
}

const std::uint8_t* TPNGObject::AlphaRow(int y) const {
    return const_cast<TPNGObject*>(this)->AlphaRow(y);
}

PngPixel TPNGObject::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return {};
    const std::size_t index = std::size_t(y) * width_ + x;
    const std::uint8_t* color = color_.data() + index * ColorBytesPerPixel();
    const std::uint8_t alpha = HasAlphaChannel() ? alpha_[index] : 255;
    switch (colorType_) {
        case PngColorType::Grayscale:
        case PngColorType::GrayscaleAlpha:
            return {color[0], color[0], color[0], alpha};
        case PngColorType::Palette: {
            const PngRgb entry = palette_[color[0]];
            return {entry.r, entry.g, entry.b, paletteAlpha_[color[0]]};
        }
        case PngColorType::RGB:
        case PngColorType::RGBAlpha:
            return {color[0], color[1], color[2], alpha};
    }
    return {};
}

void TPNGObject::AddAlpha() {
    switch (colorType_) {
        case PngColorType::Grayscale:
            colorType_ = PngColorType::GrayscaleAlpha;
            break;
        case PngColorType::RGB:
            colorType_ = PngColorType::RGBAlpha;
            break;
        case PngColorType::Palette:
            if (hasTransparencyTable_) return;
            hasTransparencyTable_ = true;
            paletteAlpha_ = OpaqueTable();
            Changed();
            return;
        default:
            return;
    }
    try {
        alpha_.assign(std::size_t(width_) * height_, 255);
    } catch (const std::bad_alloc&) {
        colorType_ = colorType_ == PngColorType::GrayscaleAlpha ? PngColorType::Grayscale
                                                                : PngColorType::RGB;
        return;
    }
    Changed();
}

}  // namespace qv
