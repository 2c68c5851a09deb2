#include "base/ByteReader.h"

#include <cstring>
#include <limits>

namespace slipway {

ByteReader::ByteReader(std::vector<std::uint8_t>&& owned) : owned_(std::move(owned)) {
    data_ = std::span<const std::uint8_t>(owned_.data(), owned_.size());
}

ByteReader::ByteReader(ByteReader&& other) noexcept { *this = std::move(other); }

ByteReader& ByteReader::operator=(ByteReader&& other) noexcept {
    if (this != &other) {
        const bool ownsData = !other.owned_.empty() && other.data_.data() == other.owned_.data();
        owned_ = std::move(other.owned_);
        data_ = ownsData ? std::span<const std::uint8_t>(owned_.data(), owned_.size())
                         : other.data_;
        pos_ = other.pos_;
        failed_ = other.failed_;
        other.data_ = {};
        other.pos_ = 0;
    }
    return *this;
}

const std::uint8_t* ByteReader::take(std::size_t count) {
    if (failed_ || count > remaining()) {
        failed_ = true;
        return nullptr;
    }
    const std::uint8_t* p = data_.data() + pos_;
    pos_ += count;
    return p;
}

std::uint8_t ByteReader::u8() {
    const std::uint8_t* p = take(1);
    return p ? p[0] : 0;
}

std::uint16_t ByteReader::u16() {
    const std::uint8_t* p = take(2);
    return p ? static_cast<std::uint16_t>(p[0] | (p[1] << 8)) : 0;
}

std::int16_t ByteReader::i16() { return static_cast<std::int16_t>(u16()); }

std::uint32_t ByteReader::u32() {
    const std::uint8_t* p = take(4);
    if (!p) return 0;
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::int32_t ByteReader::i32() { return static_cast<std::int32_t>(u32()); }

float ByteReader::f32() {
    const std::uint32_t bits = u32();
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

std::string ByteReader::name(std::size_t width) {
    const std::uint8_t* p = take(width);
    if (!p) return {};
    std::size_t n = 0;
    while (n < width && p[n] != 0) ++n;
    return std::string(reinterpret_cast<const char*>(p), n);
}

void ByteReader::bytes(void* out, std::size_t count) {
    const std::uint8_t* p = take(count);
    if (p) {
        std::memcpy(out, p, count);
    } else if (count > 0) {
        std::memset(out, 0, count);
    }
}

std::span<const std::uint8_t> ByteReader::view(std::size_t count) {
    const std::uint8_t* p = take(count);
    return p ? std::span<const std::uint8_t>(p, count) : std::span<const std::uint8_t>();
}

void ByteReader::skip(std::size_t count) { take(count); }

bool ByteReader::seek(std::size_t position) {
    if (position > data_.size()) {
        failed_ = true;
        return false;
    }
    pos_ = position;
    return true;
}

bool ByteReader::canRead(std::size_t count, std::size_t itemSize) const {
    if (failed_) return false;
    if (itemSize != 0 && count > std::numeric_limits<std::size_t>::max() / itemSize) return false;
    return count * itemSize <= remaining();
}

}  // namespace slipway
