// The byte stream the request operations read request bodies from and write answers into.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace qv {

class IByteStream {
public:
    virtual ~IByteStream() = default;
    // Empties the stream; the position returns to the start.
    virtual void Clear() = 0;
    // Writes at the current position and moves past the bytes; false when not all were written.
    virtual bool Write(const void* data, size_t count) = 0;
    // Total size in bytes, or -1 when the stream cannot tell.
    virtual int64_t Size() const = 0;
    // Reads up to `count` bytes from the current position; answers how many were read.
    virtual size_t Read(void* data, size_t count) = 0;
};

// A stream held in memory.
class TMemoryStream final : public IByteStream {
public:
    TMemoryStream() = default;
    explicit TMemoryStream(std::string_view bytes) : bytes_(bytes) {}

    void Clear() override;
    bool Write(const void* data, size_t count) override;
    int64_t Size() const override { return static_cast<int64_t>(bytes_.size()); }
    size_t Read(void* data, size_t count) override;

    const std::string& Bytes() const { return bytes_; }
    size_t Position() const { return position_; }
    void Seek(size_t position) { position_ = position < bytes_.size() ? position : bytes_.size(); }

private:
    std::string bytes_;
    size_t position_ = 0;
};

}  // namespace qv
