#include "pixels/PaletteBuilder.h"

#include <new>
#include <vector>

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
    PaletteEntry working[256] = {};
    try {
        std::vector<Bgra> population(total);
        Bgra* at = population.data();
        for (int i = 0; i < levelCount; ++i) {
            if (levels[i].isEmpty())
                continue;
            levels[i].appendBgra(at);
            at += std::size_t{levels[i].width()} * levels[i].height();
        }
        const bool colourKey = levels[0].hasAlpha();
        const int filled = colourKey ? quantize(population.data(), total, working + 1, 255)
                                     : quantize(population.data(), total, working, 256);
        if (filled == 0)
            return false;
    } catch (const std::bad_alloc&) {
        return false;
    }
    for (int i = 0; i < 256; ++i) {
        palette[i * 3] = working[i].blue;
        palette[i * 3 + 1] = working[i].green;
        palette[i * 3 + 2] = working[i].red;
    }
    return true;
}

}  // namespace slipway
