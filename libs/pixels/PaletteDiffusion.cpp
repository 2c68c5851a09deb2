#include "pixels/PaletteDiffusion.h"

#include <algorithm>
#include <memory>
#include <new>

namespace slipway {
namespace {

constexpr int kCellShift = 3;
constexpr int kCellSide = 1 << kCellShift;
constexpr int kCellsPerChannel = 256 >> kCellShift;

std::uint32_t cellOf(std::uint8_t b, std::uint8_t g, std::uint8_t r) {
    return (b >> kCellShift) | ((g >> kCellShift) << 5) | ((r >> kCellShift) << 10);
}

}  // namespace

PaletteSearch::PaletteSearch(const Palette& palette, int firstIndex)
    : palette_(palette),
      first_(firstIndex),
      start_(kCellsPerChannel * kCellsPerChannel * kCellsPerChannel, -1),
      count_(kCellsPerChannel * kCellsPerChannel * kCellsPerChannel, 0) {
    for (int i = 0; i < 256; ++i) {
        blue_[i] = palette[i * 3];
        green_[i] = palette[i * 3 + 1];
        red_[i] = palette[i * 3 + 2];
    }
}

void PaletteSearch::buildCell(std::uint32_t cell) {
    const int lowB = static_cast<int>(cell & 31) << kCellShift;
    const int lowG = static_cast<int>((cell >> 5) & 31) << kCellShift;
    const int lowR = static_cast<int>(cell >> 10) << kCellShift;
    const int highB = lowB + kCellSide - 1, highG = lowG + kCellSide - 1,
              highR = lowR + kCellSide - 1;
    int nearest[256];
    int farthest[256];
    for (int i = 0; i < 256; ++i) {
        const int eb = blue_[i], eg = green_[i], er = red_[i];
        const int nb = std::max({0, lowB - eb, eb - highB});
        const int ng = std::max({0, lowG - eg, eg - highG});
        const int nr = std::max({0, lowR - er, er - highR});
        const int fb = std::max(eb - lowB, highB - eb);
        const int fg = std::max(eg - lowG, highG - eg);
        const int fr = std::max(er - lowR, highR - er);
        nearest[i] = nb * nb + 3 * ng * ng + 2 * nr * nr;
        farthest[i] = fb * fb + 3 * fg * fg + 2 * fr * fr;
    }
    // No colour of the block is farther than `bound` from its best entry, so an entry that is
    // nearest (or tied) for some colour of the block is at most `bound` from the block.
    const int bound = *std::min_element(farthest + first_, farthest + 256);
    start_[cell] = static_cast<std::int32_t>(candidates_.size());
    for (int i = first_; i < 256; ++i) {
        if (nearest[i] <= bound)
            candidates_.push_back(static_cast<std::uint8_t>(i));
    }
    count_[cell] = static_cast<std::uint16_t>(candidates_.size() - start_[cell]);
}

std::uint8_t PaletteSearch::nearest(std::uint8_t b, std::uint8_t g, std::uint8_t r) {
    const std::uint32_t cell = cellOf(b, g, r);
    if (start_[cell] < 0)
        buildCell(cell);
    const std::uint8_t* c = candidates_.data() + start_[cell];
    const std::uint8_t* end = c + count_[cell];
    int best = *c;
    int bestDistance = INT32_MAX;
    for (; c != end; ++c) {
        const int i = *c;
        const int db = blue_[i] - b, dg = green_[i] - g, dr = red_[i] - r;
        const int d = db * db + 3 * dg * dg + 2 * dr * dr;
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return static_cast<std::uint8_t>(best);
}

bool diffuseOntoPalette(const PixelImage& source, PixelImage& target, PaletteSearch* shared) {
    const std::uint32_t sourceBits = source.bitsPerPixel();
    if (target.bitsPerPixel() != 8 || (sourceBits != 32 && sourceBits != 24) ||
        source.width() != target.width() || source.height() != target.height() ||
        &source == &target) {
        return false;
    }
    const std::uint32_t width = target.width();
    std::vector<std::int8_t> cells;
    try {
        cells.assign(std::size_t{width} * 3 * 2, 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    const bool colourKey = target.hasAlpha();
    const Palette& palette = target.palette();
    std::unique_ptr<PaletteSearch> own;
    if (shared == nullptr || !shared->answers(palette, colourKey ? 1 : 0)) {
        own = std::make_unique<PaletteSearch>(palette, colourKey ? 1 : 0);
    }
    PaletteSearch& search = own ? *own : *shared;
    const std::uint32_t step = sourceBits / 8;
    auto add = [](std::int8_t& cell, int amount) {
        cell = static_cast<std::int8_t>(static_cast<std::uint8_t>(cell + amount));
    };
    for (std::uint32_t y = 0; y < target.height(); ++y) {
        std::int8_t* current = cells.data() + std::size_t{width} * 3 * (y & 1);
        std::int8_t* next = cells.data() + std::size_t{width} * 3 * ((y + 1) & 1);
        const std::uint8_t* in = source.row(y);
        std::uint8_t* out = target.row(y);
        for (std::uint32_t x = 0; x < width; ++x, in += step) {
            int value[3];
            for (int c = 0; c < 3; ++c)
                value[c] = std::clamp(in[c] + current[x * 3 + c], 0, 255);
            const std::uint8_t alpha = step == 4 ? in[3] : 255;
            const std::uint8_t index = colourKey && alpha < 64
                                           ? 0
                                           : search.nearest(static_cast<std::uint8_t>(value[0]),
                                                            static_cast<std::uint8_t>(value[1]),
                                                            static_cast<std::uint8_t>(value[2]));
            out[x] = index;
            for (int c = 0; c < 3; ++c) {
                const int e = value[c] - palette[index * 3 + c];
                std::int8_t* here = current + x * 3 + c;
                std::int8_t* below = next + x * 3 + c;
                *here = 0;
                add(*below, (5 * e + 8) >> 4);
                if (x >= 1)
                    add(*(below - 3), (3 * e + 8) >> 4);
                if (x + 1 < width) {
                    add(*(here + 3), (7 * e + 8) >> 4);
                    add(*(below + 3), (e + 8) >> 4);
                }
            }
        }
    }
    target.addFormatFlags(formatFilled);
    return true;
}

}  // namespace slipway
