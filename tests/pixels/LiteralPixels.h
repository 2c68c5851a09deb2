#pragma once
// Straightforward versions of the pixel rules, written one pixel at a time from the tables,
// used as the oracle for the product's row loops and palette search.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "pixels/PixelImage.h"

namespace slipway::test {

inline std::uint32_t literalStored(const PixelImage& image, std::uint32_t x, std::uint32_t y) {
    const std::uint8_t* p = image.row(y) + std::size_t{x} * image.bytesPerPixel();
    std::uint32_t v = 0;
    std::memcpy(&v, p, image.bytesPerPixel());  // little-endian host
    return v;
}

inline Bgra literalGetPixel(const PixelImage& image, std::uint32_t x, std::uint32_t y) {
    if (image.isEmpty() || x >= image.width() || y >= image.height())
        return {0, 0, 0, 0};
    const std::uint32_t v = literalStored(image, x, y);
    const bool alpha = image.hasAlpha();
    auto b = [](std::uint32_t n) { return static_cast<std::uint8_t>(n); };
    switch (image.bitsPerPixel()) {
        case 8: {
            const std::uint8_t* e = image.palette().data() + v * 3;
            return {e[0], e[1], e[2], b(alpha && v == 0 ? 0 : 255)};
        }
        case 12:
            return {b((v & 0xF) << 4), b(v & 0xF0), b(((v >> 8) & 0xF) << 4),
                    b(alpha ? (v >> 12) << 4 : 255)};
        case 15:
            return {b((v & 0x1F) << 3), b(((v >> 5) & 0x1F) << 3), b(((v >> 10) & 0x1F) << 3),
                    b(alpha ? ((v & 0x8000) ? 255 : 0) : 255)};
        case 16:
            return {b((v & 0x1F) << 3), b(((v >> 5) & 0x3F) << 2), b((v >> 11) << 3), 255};
        case 24:
            return {b(v), b(v >> 8), b(v >> 16), 255};
        default:
            return {b(v), b(v >> 8), b(v >> 16), b(v >> 24)};
    }
}

// Linear search over every candidate from `first`; the first smallest distance wins.
inline std::uint8_t literalNearest(const Palette& palette, int first, Bgra c) {
    const std::uint8_t* pal = palette.data();
    int best = -1;
    int bestDistance = 0;
    for (int i = first; i < 256; ++i) {
        const int db = pal[i * 3] - c.b;
        const int dg = pal[i * 3 + 1] - c.g;
        const int dr = pal[i * 3 + 2] - c.r;
        const int d = db * db + 3 * dg * dg + 2 * dr * dr;
        if (best < 0 || d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    return static_cast<std::uint8_t>(best);
}

// The search of an 8-bit picture: from index 1 when it has alpha.
inline std::uint8_t literalNearest(const PixelImage& image, Bgra c) {
    return literalNearest(image.palette(), image.hasAlpha() ? 1 : 0, c);
}

inline void literalSetPixel(PixelImage& image, std::uint32_t x, std::uint32_t y, Bgra c) {
    if (image.isEmpty() || x >= image.width() || y >= image.height())
        return;
    std::uint32_t v = 0;
    switch (image.bitsPerPixel()) {
        case 8:
            v = (image.hasAlpha() && c.a < 64) ? 0 : literalNearest(image, c);
            break;
        case 12:
            v = ((c.a >> 4) << 12) | ((c.r >> 4) << 8) | ((c.g >> 4) << 4) | (c.b >> 4);
            break;
        case 15:
            v = ((c.r >> 3) << 10) | ((c.g >> 3) << 5) | (c.b >> 3) | (c.a > 64 ? 0x8000u : 0u);
            break;
        case 16:
            v = ((c.r >> 3) << 11) | ((c.g >> 2) << 5) | (c.b >> 3);
            break;
        case 24:
            v = c.b | (c.g << 8) | (c.r << 16);
            break;
        default:
            v = c.b | (c.g << 8) | (c.r << 16) | (std::uint32_t{c.a} << 24);
            break;
    }
    std::memcpy(image.row(y) + std::size_t{x} * image.bytesPerPixel(), &v, image.bytesPerPixel());
}

// Error diffusion of `source` into `target` (same size, created), one pixel at a time.
inline void literalDiffuse(PixelImage& target, const PixelImage& source) {
    const std::uint32_t w = target.width();
    std::vector<std::int8_t> cells(std::size_t{w} * 3 * 2, 0);
    for (std::uint32_t y = 0; y < target.height(); ++y) {
        std::int8_t* cur = cells.data() + (y % 2) * w * 3;
        std::int8_t* next = cells.data() + ((y + 1) % 2) * w * 3;
        for (std::uint32_t x = 0; x < w; ++x) {
            const Bgra s = literalGetPixel(source, x, y);
            const int in[3] = {s.b, s.g, s.r};
            int value[3];
            for (int k = 0; k < 3; ++k)
                value[k] = std::clamp(in[k] + cur[x * 3 + k], 0, 255);
            const Bgra v{static_cast<std::uint8_t>(value[0]), static_cast<std::uint8_t>(value[1]),
                         static_cast<std::uint8_t>(value[2]), s.a};
            literalSetPixel(target, x, y, v);
            const Bgra back = literalGetPixel(target, x, y);
            const int got[3] = {back.b, back.g, back.r};
            for (int k = 0; k < 3; ++k) {
                const int e = value[k] - got[k];
                auto add = [](std::int8_t& cell, int d) {
                    cell = static_cast<std::int8_t>(static_cast<std::uint8_t>(cell + d));
                };
                cur[x * 3 + k] = 0;
                add(next[x * 3 + k], (5 * e + 8) >> 4);
                if (x >= 1)
                    add(next[(x - 1) * 3 + k], (3 * e + 8) >> 4);
                if (x + 1 < w) {
                    add(cur[(x + 1) * 3 + k], (7 * e + 8) >> 4);
                    add(next[(x + 1) * 3 + k], (e + 8) >> 4);
                }
            }
        }
    }
}

}  // namespace slipway::test
