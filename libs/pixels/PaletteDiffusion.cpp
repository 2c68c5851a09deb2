#include "pixels/PaletteDiffusion.h"

#include <algorithm>
#include <memory>
#include <new>

namespace slipway {
PaletteSearch::PaletteSearch(const Palette& palette, int firstIndex)
    : palette_(palette), first_(firstIndex) {
    for (int i = 0; i < 256; ++i) {
        blue_[i] = palette[i * 3];
        green_[i] = palette[i * 3 + 1];
        red_[i] = palette[i * 3 + 2];
    }
    for (int level = 0; level < kLevels; ++level) {
        const int bits = kFineBits - (kLevels - 1 - level);
        levels_[level].resize(std::size_t{1} << (3 * bits));
    }
}

// A block's candidates are the entries that can be nearest (or tied) for some colour in it:
// no colour of the block is farther than `bound` from its best entry, so an entry whose
// nearest point of the block is farther than that can never win there.
void PaletteSearch::build(int level, std::uint32_t cell) {
    const int bits = kFineBits - (kLevels - 1 - level);
    const int shift = 8 - bits;
    const std::uint32_t mask = (1u << bits) - 1;
    const int lowB = static_cast<int>(cell & mask) << shift;
    const int lowG = static_cast<int>((cell >> bits) & mask) << shift;
    const int lowR = static_cast<int>(cell >> (2 * bits)) << shift;
    const int side = (1 << shift) - 1;
    const int highB = lowB + side, highG = lowG + side, highR = lowR + side;

    std::uint8_t all[256];
    const std::uint8_t* from = all;
    int count = 0;
    if (level == 0) {
        for (int i = first_; i < 256; ++i)
            all[count++] = static_cast<std::uint8_t>(i);
    } else {
        const std::uint32_t pb = (cell & mask) >> 1;
        const std::uint32_t pg = ((cell >> bits) & mask) >> 1;
        const std::uint32_t pr = (cell >> (2 * bits)) >> 1;
        const std::uint32_t parent = pb | (pg << (bits - 1)) | (pr << (2 * (bits - 1)));
        Block& up = levels_[level - 1][parent];
        if (up.start < 0)
            build(level - 1, parent);
        from = candidates_[level - 1].data() + up.start;
        count = up.count;
    }
    int nearest[256];
    int bound = INT32_MAX;
    for (int k = 0; k < count; ++k) {
        const int i = from[k];
        const int eb = blue_[i], eg = green_[i], er = red_[i];
        const int nb = std::max({0, lowB - eb, eb - highB});
        const int ng = std::max({0, lowG - eg, eg - highG});
        const int nr = std::max({0, lowR - er, er - highR});
        const int fb = std::max(eb - lowB, highB - eb);
        const int fg = std::max(eg - lowG, highG - eg);
        const int fr = std::max(er - lowR, highR - er);
        nearest[k] = nb * nb + 3 * ng * ng + 2 * nr * nr;
        bound = std::min(bound, fb * fb + 3 * fg * fg + 2 * fr * fr);
    }
    Block& block = levels_[level][cell];
    if (level == kLevels - 1) {
        block.start = static_cast<std::int32_t>(fine_.size());
        for (int k = 0; k < count; ++k) {
            const int i = from[k];
            if (nearest[k] <= bound)
                fine_.push_back(
                    Candidate{blue_[i], green_[i], red_[i], static_cast<std::uint8_t>(i)});
        }
        block.count = static_cast<std::uint16_t>(fine_.size() - block.start);
        return;
    }
    std::vector<std::uint8_t>& list = candidates_[level];
    std::uint8_t kept[256];
    int keptCount = 0;
    for (int k = 0; k < count; ++k) {
        if (nearest[k] <= bound)
            kept[keptCount++] = from[k];
    }
    block.start = static_cast<std::int32_t>(list.size());
    block.count = static_cast<std::uint16_t>(keptCount);
    list.insert(list.end(), kept, kept + keptCount);
}

bool diffuseOntoPalette(const PixelImage& source, PixelImage& target, PaletteSearch* shared) {
    const std::uint32_t sourceBits = source.bitsPerPixel();
    if (target.bitsPerPixel() != 8 || (sourceBits != 32 && sourceBits != 24) ||
        source.width() != target.width() || source.height() != target.height() ||
        &source == &target) {
        return false;
    }
    const std::uint32_t width = target.width();
    const std::uint32_t height = target.height();
    // Rows are diffused as a wavefront, kRows at a time, each two columns behind the row above:
    // a pixel then finds every error it receives already added, as in the row-by-row order,
    // and the rows' searches are independent work the processor can overlap. Each row in
    // flight has its own row of error cells.
    constexpr std::uint32_t kRows = 4;
    std::vector<std::int8_t> cells;
    try {
        cells.assign(std::size_t{width} * 3 * kRows, 0);
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
    auto diffusePixel = [&](std::uint32_t y, std::uint32_t x) {
        std::int8_t* current = cells.data() + std::size_t{width} * 3 * (y % kRows);
        std::int8_t* next = cells.data() + std::size_t{width} * 3 * ((y + 1) % kRows);
        const std::uint8_t* in = source.row(y) + std::size_t{x} * step;
        int value[3];
        for (int c = 0; c < 3; ++c)
            value[c] = std::clamp(in[c] + current[x * 3 + c], 0, 255);
        const std::uint8_t alpha = step == 4 ? in[3] : 255;
        const std::uint8_t index = colourKey && alpha < 64
                                       ? 0
                                       : search.nearest(static_cast<std::uint8_t>(value[0]),
                                                        static_cast<std::uint8_t>(value[1]),
                                                        static_cast<std::uint8_t>(value[2]));
        target.row(y)[x] = index;
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
    };
    for (std::uint32_t top = 0; top < height; top += kRows) {
        const std::uint32_t rows = std::min(kRows, height - top);
        const std::uint32_t steps = width + 2 * (rows - 1);
        for (std::uint32_t s = 0; s < steps; ++s) {
            for (std::uint32_t r = 0; r < rows && 2 * r <= s; ++r) {
                const std::uint32_t x = s - 2 * r;
                if (x < width)
                    diffusePixel(top + r, x);
            }
        }
    }
    target.addFormatFlags(formatFilled);
    return true;
}

}  // namespace slipway
