#pragma once
// The nearest palette entry for a colour under the encoding rule of 8-bit pictures, answered
// from candidate lists per block of colours instead of by scanning the palette: what every
// 8-bit encoding in the library uses.

#include <cstdint>
#include <memory>

#include "pixels/PixelImage.h"

namespace slipway {

// How many candidates a search measures at once. Eight needs the processor's 256-bit integer
// instructions; where it lacks them (or vector code is switched off), asking for eight gives
// four. The answers are the same.
enum class SearchWidth { Four, Eight, Widest };

// The nearest palette entry under the distance
// (blue difference)^2 + 3 (green difference)^2 + 2 (red difference)^2, searched from
// `firstIndex`; on a tie the lowest index wins. Lists are built as colours ask for them, so a
// search must stay with one thread.
class PaletteSearch {
  public:
    PaletteSearch(const Palette& palette, int firstIndex, SearchWidth width = SearchWidth::Widest);
    ~PaletteSearch();
    PaletteSearch(const PaletteSearch&) = delete;
    PaletteSearch& operator=(const PaletteSearch&) = delete;

    std::uint8_t nearest(std::uint8_t b, std::uint8_t g, std::uint8_t r);
    // Four or Eight: the width in use.
    SearchWidth width() const { return width_; }
    int firstIndex() const { return first_; }
    // True when this search was made for `palette` searched from `firstIndex`.
    bool answers(const Palette& palette, int firstIndex) const {
        return firstIndex == first_ && palette == palette_;
    }

    // The candidate lists, for loops inside the library that search inline
    // (PaletteSearchLists.h).
    class Lists;
    Lists& lists() { return *lists_; }

  private:
    Palette palette_;
    int first_;
    SearchWidth width_;
    std::unique_ptr<Lists> lists_;
};

}  // namespace slipway
