#include "net/ByteStream.h"

#include <algorithm>
#include <cstring>

namespace qv {

void TMemoryStream::Clear() {
    bytes_.clear();
    position_ = 0;
}

bool TMemoryStream::Write(const void* data, size_t count) {
    if (position_ + count > bytes_.size()) bytes_.resize(position_ + count);
    if (count > 0) std::memcpy(bytes_.data() + position_, data, count);
    position_ += count;
    return true;
}

size_t TMemoryStream::Read(void* data, size_t count) {
    const size_t available = std::min(count, bytes_.size() - position_);
    if (available > 0) std::memcpy(data, bytes_.data() + position_, available);
    position_ += available;
    return available;
}

}  // namespace qv
