#pragma once
// Builds TF file bytes for tests: the 16-byte header followed by the body bytes as given.

#include <cstdint>
#include <vector>

namespace slipway::test {

struct TfBuilder {
    std::uint8_t pixelFormatCode = 0;
    std::uint8_t count16 = 0;
    std::uint8_t count8 = 0;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::vector<std::uint8_t> body;

    std::vector<std::uint8_t> build() const;
    // Body size of a well-formed file with these header values.
    std::size_t bodySize() const;
};

}  // namespace slipway::test
