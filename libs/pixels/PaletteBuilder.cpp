#include "pixels/PaletteBuilder.h"

#include <memory>
#include <new>
#include <vector>

#include "pixels/ColorQuantizer.h"

namespace slipway {

bool buildPalette(const PixelImage* levels, int levelCount, Palette& palette) {
    if (levels == nullptr || levelCount <= 0)
        return false;
    // 32-bit levels are read by the quantizer as they lie (their alpha byte is ignored); the
    // others are first unpacked into blue, green, red, 0.
    std::vector<ColourRun> runs;
    std::vector<std::unique_ptr<std::uint8_t[]>> unpacked;
    try {
        for (int i = 0; i < levelCount; ++i) {
            const PixelImage& level = levels[i];
            if (level.isEmpty())
                continue;
            const std::size_t count = std::size_t{level.width()} * level.height();
            if (level.bitsPerPixel() == 32) {
                runs.push_back(ColourRun{level.pixels(), count});
                continue;
            }
            std::unique_ptr<std::uint8_t[]> colours(new std::uint8_t[count * 4]);
            std::uint8_t* at = colours.get();
            for (std::uint32_t y = 0; y < level.height(); ++y) {
                if (level.bitsPerPixel() == 24) {
                    const std::uint8_t* p = level.row(y);
                    for (std::uint32_t x = 0; x < level.width(); ++x, p += 3, at += 4) {
                        at[0] = p[0];
                        at[1] = p[1];
                        at[2] = p[2];
                        at[3] = 0;
                    }
                } else {
                    for (std::uint32_t x = 0; x < level.width(); ++x, at += 4) {
                        const Bgra c = level.getPixel(x, y);
                        at[0] = c.b;
                        at[1] = c.g;
                        at[2] = c.r;
                        at[3] = 0;
                    }
                }
            }
            runs.push_back(ColourRun{colours.get(), count});
            unpacked.push_back(std::move(colours));
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (runs.empty())
        return false;
    PaletteEntry working[256] = {};
    const int filled = levels[0].hasAlpha()
                           ? quantizeRuns(runs.data(), runs.size(), working + 1, 255)
                           : quantizeRuns(runs.data(), runs.size(), working, 256);
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
