#pragma once
// Little-endian writer into a growing byte buffer; the counterpart of ByteReader.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace slipway {

class ByteWriter {
public:
    void u8(std::uint8_t v) { bytes_.push_back(v); }
    void u16(std::uint16_t v);
    void i16(std::int16_t v) { u16(static_cast<std::uint16_t>(v)); }
    void u32(std::uint32_t v);
    void i32(std::int32_t v) { u32(static_cast<std::uint32_t>(v)); }
    void f32(float v);
    // A fixed-width name: at most `width` characters, zero-padded to `width` bytes.
    void name(std::string_view text, std::size_t width);
    void bytes(std::span<const std::uint8_t> data);
    void zeros(std::size_t count) { bytes_.insert(bytes_.end(), count, 0); }

    // Overwrites four bytes at an earlier position (for counts known only at the end).
    void patchU32(std::size_t position, std::uint32_t v);

    std::size_t size() const { return bytes_.size(); }
    const std::vector<std::uint8_t>& data() const { return bytes_; }
    std::vector<std::uint8_t> take() { return std::move(bytes_); }

private:
    std::vector<std::uint8_t> bytes_;
};

}  // namespace slipway
