#include "bytespin/ByteCoder.h"

#include <bit>
#include <cstring>

namespace slipway {

static_assert(std::endian::native == std::endian::little, "groups are read as little-endian words");

namespace {

std::uint8_t rotateLeft(std::uint8_t b, unsigned s) {
    return static_cast<std::uint8_t>((b << s) | (b >> ((8 - s) & 7)));
}

std::uint8_t rotateRight(std::uint8_t b, unsigned s) {
    return static_cast<std::uint8_t>((b >> s) | (b << ((8 - s) & 7)));
}

// Rotates the selected bytes of a little-endian group of eight left by `s` bits.
inline std::uint64_t rotateLanesLeft(std::uint64_t v, unsigned s, std::uint64_t lanes) {
    const std::uint64_t hiMask = 0x0101010101010101ull * ((0xFFu << s) & 0xFFu);
    const std::uint64_t loMask = 0x0101010101010101ull * (0xFFu >> (8 - s));
    const std::uint64_t rotated = ((v << s) & hiMask) | ((v >> (8 - s)) & loMask);
    return (rotated & lanes) | (v & ~lanes);
}

// Byte i of the group is rotated by i: split i into its bits 1, 2 and 4.
constexpr std::uint64_t kLanes1 = 0xFF00FF00FF00FF00ull;  // bytes 1, 3, 5, 7
constexpr std::uint64_t kLanes2 = 0xFFFF0000FFFF0000ull;  // bytes 2, 3, 6, 7
constexpr std::uint64_t kLanes4 = 0xFFFFFFFF00000000ull;  // bytes 4 to 7

inline std::uint64_t scrambleGroup(std::uint64_t v) {
    v = rotateLanesLeft(v, 1, kLanes1);
    v = rotateLanesLeft(v, 2, kLanes2);
    return rotateLanesLeft(v, 4, kLanes4);
}

// Rotating right by i is rotating left by (8 - i) mod 8: 0, 7, 6, 5, 4, 3, 2, 1 for bytes 0 to 7.
constexpr std::uint64_t kLanesR1 = 0xFF00FF00FF00FF00ull;  // 7, 5, 3, 1: bytes 1, 3, 5, 7
constexpr std::uint64_t kLanesR2 = 0x00FFFF0000FFFF00ull;  // 7, 6, 3, 2: bytes 1, 2, 5, 6
constexpr std::uint64_t kLanesR4 = 0x000000FFFFFFFF00ull;  // 7, 6, 5, 4: bytes 1 to 4

inline std::uint64_t unscrambleGroup(std::uint64_t v) {
    v = rotateLanesLeft(v, 1, kLanesR1);
    v = rotateLanesLeft(v, 2, kLanesR2);
    return rotateLanesLeft(v, 4, kLanesR4);
}

}  // namespace

void codeBytes(std::span<std::uint8_t> bytes, std::uint64_t filePosition, CoderMode mode) {
    std::size_t i = 0;
    const bool scramble = mode == CoderMode::Scramble;
    // Single bytes up to the next multiple of eight in the file.
    while (i < bytes.size() && (filePosition + i) % 8 != 0) {
        const unsigned s = static_cast<unsigned>((filePosition + i) % 8);
        bytes[i] = scramble ? rotateLeft(bytes[i], s) : rotateRight(bytes[i], s);
        ++i;
    }
    // Whole groups of eight, whose first byte has rotation 0.
    std::uint8_t* p = bytes.data();
    for (; i + 8 <= bytes.size(); i += 8) {
        std::uint64_t v;
        std::memcpy(&v, p + i, 8);
        v = scramble ? scrambleGroup(v) : unscrambleGroup(v);
        std::memcpy(p + i, &v, 8);
    }
    for (; i < bytes.size(); ++i) {
        const unsigned s = static_cast<unsigned>((filePosition + i) % 8);
        bytes[i] = scramble ? rotateLeft(bytes[i], s) : rotateRight(bytes[i], s);
    }
}

}  // namespace slipway
