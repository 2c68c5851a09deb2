#include "base/ByteWriter.h"

#include <cstring>

namespace slipway {

void ByteWriter::u16(std::uint16_t v) {
    bytes_.push_back(static_cast<std::uint8_t>(v));
    bytes_.push_back(static_cast<std::uint8_t>(v >> 8));
}

void ByteWriter::u32(std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes_.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void ByteWriter::f32(float v) {
    std::uint32_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    u32(bits);
}

void ByteWriter::name(std::string_view text, std::size_t width) {
    const std::size_t n = text.size() < width ? text.size() : width;
    bytes_.insert(bytes_.end(), text.begin(), text.begin() + static_cast<std::ptrdiff_t>(n));
    zeros(width - n);
}

void ByteWriter::bytes(std::span<const std::uint8_t> data) {
    bytes_.insert(bytes_.end(), data.begin(), data.end());
}

void ByteWriter::patchU32(std::size_t position, std::uint32_t v) {
    if (position + 4 > bytes_.size()) return;
    for (int i = 0; i < 4; ++i) bytes_[position + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

}  // namespace slipway
