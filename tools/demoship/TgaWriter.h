#pragma once
// A picture in memory and its uncompressed TGA form (true colour, rows stored from the bottom),
// for generated textures.

#include <cstdint>
#include <vector>

namespace slipway::demo {

struct Rgba {
    std::uint8_t r = 0, g = 0, b = 0, a = 255;
};

// Rows from the top.
struct Picture {
    Picture(int w, int h) : width(w), height(h), pixels(static_cast<std::size_t>(w * h)) {}

    Rgba& at(int x, int y) { return pixels[static_cast<std::size_t>(y * width + x)]; }
    const Rgba& at(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }

    int width;
    int height;
    std::vector<Rgba> pixels;
};

// 24-bit without `alpha`, 32-bit with an 8-bit alpha channel otherwise.
std::vector<std::uint8_t> encodeTga(const Picture& picture, bool alpha);

}  // namespace slipway::demo
