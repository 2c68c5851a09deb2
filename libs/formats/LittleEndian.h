#pragma once
// Loads of little-endian values from a byte pointer the caller has bounds-checked. Written
// byte by byte so they are right on any host; compilers turn them into single loads.

#include <cstdint>
#include <cstring>

namespace slipway::le {

inline std::uint16_t u16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
inline std::int16_t i16(const std::uint8_t* p) {
    return static_cast<std::int16_t>(u16(p));
}
inline std::uint32_t u32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
inline float f32(const std::uint8_t* p) {
    const std::uint32_t bits = u32(p);
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

}  // namespace slipway::le
