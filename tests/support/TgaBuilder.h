#pragma once
// Builds TGA file bytes for tests: header fields, an optional ID field and colour map, and the
// pixel bytes exactly as given (rows in file order; run-length packets when the type says so).

#include <cstdint>
#include <vector>

namespace slipway::test {

struct TgaBuilder {
    std::uint8_t imageType = 2;
    std::uint8_t colourMapType = 0;
    std::uint16_t mapFirst = 0;
    std::uint16_t mapLength = 0;
    std::uint8_t mapEntryBits = 0;
    std::uint16_t width = 0;
    std::uint16_t height = 0;
    std::uint8_t depth = 24;
    std::uint8_t descriptor = 0;
    std::vector<std::uint8_t> id;
    std::vector<std::uint8_t> colourMap;
    std::vector<std::uint8_t> pixels;

    std::vector<std::uint8_t> build() const;
};

// Run-length encodes `pixels` (of `bytesPerPixel` each) into TGA packets: runs of equal
// pixels become repeat packets, everything else raw packets, at most 128 pixels each.
std::vector<std::uint8_t> tgaRunLength(const std::vector<std::uint8_t>& pixels,
                                       std::size_t bytesPerPixel);

}  // namespace slipway::test
