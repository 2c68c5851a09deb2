#pragma once
// The four-byte working pixel of every conversion, mip filter and palette run.

#include <cstdint>

namespace slipway {

struct Bgra {
    std::uint8_t b, g, r, a;
};

}  // namespace slipway
