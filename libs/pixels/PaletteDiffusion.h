#pragma once
// Fast error diffusion of a 24- or 32-bit picture onto an 8-bit picture's palette, with exactly
// the result of PixelImage::convertFrom: the nearest-entry search is answered from candidate
// lists per 16 x 16 x 16 block of colours instead of scanning the palette for every pixel.

#include <cstdint>
#include <vector>

#include "pixels/PixelImage.h"

namespace slipway {

// How many candidates a search measures at once. Eight needs the processor's 256-bit integer
// instructions; where it lacks them, asking for eight gives four. The answers are the same.
enum class SearchWidth { Four, Eight, Widest };

// The nearest palette entry under the 8-bit encoding distance
// (blue difference)^2 + 3 (green difference)^2 + 2 (red difference)^2, searched from
// `firstIndex`; on a tie the lowest index wins.
class PaletteSearch {
  public:
    PaletteSearch(const Palette& palette, int firstIndex, SearchWidth width = SearchWidth::Widest);
    std::uint8_t nearest(std::uint8_t b, std::uint8_t g, std::uint8_t r);
    // Four or Eight: the width in use.
    SearchWidth width() const { return width_; }
    // Eight candidates, laid out for ranking them together against a colour: the factors of
    // blue and green interleaved, of red with zeros, and each entry's constant part of the key
    // (see the source). Each half is four candidates laid out the same way, so a group is
    // measured as one eight or as two fours. Lists are padded with entries that never win.
    struct alignas(32) Group {
        std::int16_t blueGreen[16];
        std::int16_t red[16];
        std::int32_t key[8];
    };

    // The candidates for a colour: the first group of its block's list and how many fours of
    // candidates the list holds (the last group may be half used). Defined where the diffusion
    // loop can inline it.
    inline const Group* candidates(std::uint8_t b, std::uint8_t g, std::uint8_t r, unsigned& fours);

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
        std::uint16_t count = 0;  // candidates (fours of them, for the finest level)
    };
    // Kept out of line: it runs once per block, not once per pixel.
    [[gnu::noinline]] void build(int level, std::uint32_t cell);

    Palette palette_;
    int first_;
    SearchWidth width_;
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
