#pragma once
// Fast error diffusion of a 24- or 32-bit picture onto an 8-bit picture's palette, with exactly
// the result of PixelImage::convertFrom: the nearest-entry search is answered from candidate
// lists per 16 x 16 x 16 block of colours instead of scanning the palette for every pixel.

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
    std::uint8_t nearest(std::uint8_t b, std::uint8_t g, std::uint8_t r);
    // Four candidates, laid out for ranking them together against a colour: the factors of
    // blue and green interleaved, of red with zeros, and each entry's constant part of the key
    // (see the source). Lists are padded with entries that never win.
    struct alignas(16) Group {
        std::int16_t blueGreen[8];
        std::int16_t red[8];
        std::int32_t key[4];
    };

    // True when this search was made for `palette` searched from `firstIndex`.
    bool answers(const Palette& palette, int firstIndex) const {
        return firstIndex == first_ && palette == palette_;
    }

  private:
    // Blocks of colours of side 32 and 16; each block's candidates are chosen among its parent
    // block's, so every list is built from a short one. The table of the finest blocks stays
    // small enough for the first-level cache, which pays more than shorter lists would.
    static constexpr int kLevels = 2;
    static constexpr int kFineShift = 4;
    static constexpr int kFineBits = 8 - kFineShift;
    struct Block {
        std::int32_t start = -1;  // in candidates_ (groups_ for the finest level); -1 before use
        std::uint16_t count = 0;
    };
    void build(int level, std::uint32_t cell);
    // nearest(), defined where the diffusion loop can inline it.
    inline std::uint8_t lookup(std::uint8_t b, std::uint8_t g, std::uint8_t r);
    friend bool diffuseOntoPalette(const PixelImage&, PixelImage&, PaletteSearch*);

    Palette palette_;
    int first_;
    std::uint8_t blue_[256], green_[256], red_[256];
    std::vector<Block> levels_[kLevels];
    std::vector<std::uint8_t> candidates_[kLevels];
    std::vector<Group> groups_;  // the finest level's lists
};

// Fills the 8-bit `target` (created, same size as `source`) from a 24- or 32-bit source by
// error diffusion onto its palette. False, with nothing done, for any other combination.
// A search made for the same palette may be shared between the levels of a chain (one thread).
bool diffuseOntoPalette(const PixelImage& source, PixelImage& target,
                        PaletteSearch* search = nullptr);

}  // namespace slipway
