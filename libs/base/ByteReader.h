#pragma once
// Bounded little-endian reader over a memory span. Every read past the end reads nothing,
// yields zeros and sets a sticky failure flag, so a caller can read a whole record and check
// once. Safe on untrusted input.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace slipway {

class ByteReader {
public:
    ByteReader() = default;
    explicit ByteReader(std::span<const std::uint8_t> data) : data_(data) {}
    // Takes ownership of the bytes (for example a whole file read by readFileBytes).
    explicit ByteReader(std::vector<std::uint8_t>&& owned);

    ByteReader(const ByteReader&) = delete;
    ByteReader& operator=(const ByteReader&) = delete;
    ByteReader(ByteReader&& other) noexcept;
    ByteReader& operator=(ByteReader&& other) noexcept;

    std::uint8_t u8();
    std::uint16_t u16();
    std::int16_t i16();
    std::uint32_t u32();
    std::int32_t i32();
    float f32();

    // A fixed-width, zero-padded name: reads `width` bytes and returns the characters before
    // the first zero byte (all `width` when there is none).
    std::string name(std::size_t width);
    // Copies `count` bytes to `out`; on a short read fills `out` with zeros instead.
    void bytes(void* out, std::size_t count);
    // A view of the next `count` bytes; empty (and failed) when fewer remain.
    std::span<const std::uint8_t> view(std::size_t count);

    void skip(std::size_t count);
    // Moves to an absolute position; a position past the end fails and moves nothing.
    bool seek(std::size_t position);

    // True when `count` items of `itemSize` bytes fit in what remains (overflow-safe). Does
    // not read or fail; use it before allocating for a count taken from the file.
    bool canRead(std::size_t count, std::size_t itemSize = 1) const;

    std::size_t position() const { return pos_; }
    std::size_t size() const { return data_.size(); }
    std::size_t remaining() const { return data_.size() - pos_; }
    bool failed() const { return failed_; }
    bool ok() const { return !failed_; }
    void fail() { failed_ = true; }
    std::span<const std::uint8_t> data() const { return data_; }

private:
    const std::uint8_t* take(std::size_t count);

    std::vector<std::uint8_t> owned_;
    std::span<const std::uint8_t> data_;
    std::size_t pos_ = 0;
    bool failed_ = false;
};

}  // namespace slipway
