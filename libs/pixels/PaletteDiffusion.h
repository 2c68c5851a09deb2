#pragma once
// Fast error diffusion of a 24- or 32-bit picture onto an 8-bit picture's palette, with exactly
// the result of PixelImage::convertFrom: the nearest-entry search is answered from candidate
// lists per 8 x 8 x 8 block of colours instead of scanning the palette for every pixel.

#include <algorithm>
#include <climits>
#include <cstdint>
#include <vector>

#include "pixels/PixelImage.h"

namespace slipway {

// The nearest palette entry under the 8-bit encoding distance
// (blue difference)^2 + 3 (green difference)^2 + 2 (red difference)^2, searched from
// `firstIndex`; on a tie the lowest index wins.
class PaletteSearch {
  public:
    PaletteSearch(const Palette& palette, int firstIndex);
    std::uint8_t nearest(std::uint8_t b, std::uint8_t g, std::uint8_t r) {
        const std::uint32_t cell = (b >> kFineShift) | ((g >> kFineShift) << kFineBits) |
                                   ((r >> kFineShift) << (2 * kFineBits));
        Block& block = levels_[kLevels - 1][cell];
        if (block.start < 0)
            build(kLevels - 1, cell);
        // Every candidate is measured, without branches: the smallest distance wins, and on a
        // tie the lowest index, which the key's low byte carries.
        const Candidate* c = fine_.data() + block.start;
        const Candidate* end = c + block.count;
        std::uint32_t bestKey = UINT32_MAX;
        for (; c != end; ++c) {
            const int db = c->blue - b, dg = c->green - g, dr = c->red - r;
            const auto distance = static_cast<std::uint32_t>(db * db + 3 * dg * dg + 2 * dr * dr);
            bestKey = std::min(bestKey, (distance << 8) | c->index);
        }
        return static_cast<std::uint8_t>(bestKey);
    }
    // True when this search was made for `palette` searched from `firstIndex`.
    bool answers(const Palette& palette, int firstIndex) const {
        return firstIndex == first_ && palette == palette_;
    }

  private:
    // Blocks of colours of side 32, 16 and 8; each block's candidates are chosen among its
    // parent block's, so every list is built from a short one.
    static constexpr int kLevels = 3;
    static constexpr int kFineShift = 3;
    static constexpr int kFineBits = 8 - kFineShift;
    struct Block {
        std::int32_t start = -1;  // in candidates_ of its level; -1 before its first use
        std::uint16_t count = 0;
    };
    struct Candidate {
        std::int16_t blue, green, red;
        std::uint8_t index;
    };
    void build(int level, std::uint32_t cell);

    Palette palette_;
    int first_;
    std::uint8_t blue_[256], green_[256], red_[256];
    std::vector<Block> levels_[kLevels];
    std::vector<std::uint8_t> candidates_[kLevels];
    std::vector<Candidate> fine_;  // the finest level's lists, with the entries' colours
};

// Fills the 8-bit `target` (created, same size as `source`) from a 24- or 32-bit source by
// error diffusion onto its palette. False, with nothing done, for any other combination.
// A search made for the same palette may be shared between the levels of a chain (one thread).
bool diffuseOntoPalette(const PixelImage& source, PixelImage& target,
                        PaletteSearch* search = nullptr);

}  // namespace slipway
