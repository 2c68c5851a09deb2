#include "pixels/PaletteBuilder.h"

#include <bit>
#include <cstring>
#include <new>

#include "pixels/ColorQuantizer.h"

namespace slipway {

bool buildPalette(const PixelImage* levels, int levelCount, Palette& palette) {
    if (levels == nullptr || levelCount <= 0)
        return false;
    std::size_t total = 0;
    for (int i = 0; i < levelCount; ++i) {
        if (!levels[i].isEmpty())
            total += std::size_t{levels[i].width()} * levels[i].height();
    }
    if (total == 0)
        return false;
    // The population goes to the quantizer packed as blue | green << 8 | red << 16.
    std::unique_ptr<std::uint32_t[]> colours(new (std::nothrow) std::uint32_t[total]);
    if (!colours)
        return false;
    std::uint32_t* at = colours.get();
    constexpr bool littleEndian = std::endian::native == std::endian::little;
    for (int i = 0; i < levelCount; ++i) {
        const PixelImage& level = levels[i];
        if (level.isEmpty())
            continue;
        const std::uint32_t bits = level.bitsPerPixel();
        for (std::uint32_t y = 0; y < level.height(); ++y) {
            if (bits == 32) {
                // Blue, green, red, alpha in memory: the packed colour is the little-endian word
                // without its top byte.
                const std::uint8_t* p = level.row(y);
                for (std::uint32_t x = 0; x < level.width(); ++x, p += 4) {
                    std::uint32_t word;
                    std::memcpy(&word, p, 4);
                    *at++ = littleEndian
                                ? word & 0xFFFFFFu
                                : p[0] | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16);
                }
            } else if (bits == 24) {
                const std::uint8_t* p = level.row(y);
                for (std::uint32_t x = 0; x < level.width(); ++x, p += 3)
                    *at++ = p[0] | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16);
            } else {
                for (std::uint32_t x = 0; x < level.width(); ++x) {
                    const Bgra c = level.getPixel(x, y);
                    *at++ = c.b | (std::uint32_t{c.g} << 8) | (std::uint32_t{c.r} << 16);
                }
            }
        }
    }
    PaletteEntry working[256] = {};
    const int filled = levels[0].hasAlpha()
                           ? quantizePacked(std::move(colours), total, working + 1, 255)
                           : quantizePacked(std::move(colours), total, working, 256);
    if (filled == 0)
        return false;
    for (int i = 0; i < 256; ++i) {
        palette[i * 3] = working[i].blue;
        palette[i * 3 + 1] = working[i].green;
        palette[i * 3 + 2] = working[i].red;
    }
    return true;
}

}  // namespace slipway
