#pragma once
// The working pixel of every conversion: blue, green, red, alpha, one byte each, in this order.

#include <cstdint>

namespace slipway {

struct Bgra {
    std::uint8_t b, g, r, a;

    friend bool operator==(const Bgra&, const Bgra&) = default;
};

static_assert(sizeof(Bgra) == 4, "Bgra is exactly four bytes");

}  // namespace slipway
