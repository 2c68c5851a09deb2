#pragma once
// Generated pictures for pixel tests: deterministic pseudo-random pixels and palettes, with
// the occasional run of repeated and extreme values so that caches and clamps are exercised.

#include <cstdint>
#include <random>

#include "pixels/PixelImage.h"

namespace slipway::test {

// Entries repeat with period `distinct`, so small values give many exact ties.
inline Palette randomPalette(std::uint32_t seed, int distinct = 256) {
    Palette p{};
    for (int i = 0; i < 256; ++i) {
        const int source = distinct < 256 ? i % distinct : i;
        std::mt19937 entry(seed * 7919u + static_cast<std::uint32_t>(source));
        for (int k = 0; k < 3; ++k)
            p[i * 3 + k] = static_cast<std::uint8_t>(entry());
    }
    return p;
}

// A created and filled picture of the given format; 8-bit pictures get `palette`.
inline PixelImage randomPicture(std::uint32_t width, std::uint32_t height, std::uint32_t format,
                                std::uint32_t seed, const Palette& palette = Palette{}) {
    PixelImage image;
    image.setPalette(palette);
    image.create(width, height, format);
    std::mt19937 rng(seed);
    std::uint8_t last = 0;
    for (std::uint32_t i = 0; i < image.byteSize(); ++i) {
        const std::uint32_t r = rng();
        switch (r % 8) {
            case 0:
                last = 0;
                break;
            case 1:
                last = 255;
                break;
            case 2:
            case 3:
                break;  // repeat
            default:
                last = static_cast<std::uint8_t>(r >> 8);
                break;
        }
        image.pixels()[i] = last;
    }
    image.addFormatFlags(formatFilled);
    return image;
}

}  // namespace slipway::test
