#pragma once
// The box-subdivision colour quantizer behind the 8-bit chain's palette: the colour cube is
// split at the mean colour of each box, one tree level per pass, and the heaviest box means
// are kept in tree order.

#include <cstddef>
#include <cstdint>

#include "pixels/Bgra.h"

namespace slipway {

// A palette entry under construction; weight is the box's share of the pixels (0..255).
struct PaletteEntry {
    std::uint8_t blue, green, red, weight;
};

// Fills up to maxColours entries of `palette` from `count` pixels (alpha ignored) and returns
// how many it filled. Returns 0 without touching anything when pixels or palette is null, or
// count or maxColours is 0. Returns 0 also when memory runs out (palette then unspecified).
int quantize(const Bgra* pixels, std::size_t count, PaletteEntry* palette, int maxColours);

// A run of `count` colours of four bytes each: blue, green, red and one byte that is ignored
// (the layout of Bgra and of 32-bit pictures).
struct ColourRun {
    const std::uint8_t* bytes = nullptr;
    std::size_t count = 0;
};

// The same on a population made of several runs, read where they lie.
int quantizeRuns(const ColourRun* runs, std::size_t runCount, PaletteEntry* palette,
                 int maxColours);

}  // namespace slipway
