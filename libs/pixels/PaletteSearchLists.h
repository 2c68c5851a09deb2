#pragma once
// The candidate lists behind PaletteSearch and the measuring of a list against a colour
// (internal to the pixels library), here so that the diffusion loop can search inline.

#include <algorithm>
#include <cstdint>
#include <vector>

#include "pixels/PaletteSearch.h"
#include "pixels/VectorCode.h"

namespace slipway {

class PaletteSearch::Lists {
  public:
    Lists(const Palette& palette, int firstIndex);

    // Keys: an entry e measured against a colour c is ranked by |e|^2 - 2 e.c, which differs
    // from the weighted squared distance by |c|^2, the same for every entry. Scaled by 256
    // with the index below, and lifted by kLift, every key is a positive 32-bit value between
    // 2^23 and 2^28, so the smallest key is the nearest entry (on a tie the lowest index) and
    // keys compare as floats do: the bit patterns of normal positive floats are ordered as
    // their values.
    static constexpr std::int32_t kLift = 390150 * 256 + (1 << 23);  // 390150 = 255^2 (1 + 3 + 2)
    // Padding: an entry that never wins, whatever the colour.
    static constexpr std::int32_t kFarKey = 1 << 30;

    // Eight candidates, laid out for ranking them together against a colour: the factors of
    // blue and green interleaved, of red with zeros, and each entry's constant part of the
    // key. Each half is four candidates laid out the same way, so a group is measured as one
    // eight or as two fours. Lists are padded with entries that never win.
    struct alignas(32) Group {
        std::int16_t blueGreen[16];
        std::int16_t red[16];
        std::int32_t key[8];
    };

    // The candidates for a colour: the first group of its block's list and how many fours of
    // candidates the list holds (the last group may be half used).
    const Group* candidates(std::uint8_t b, std::uint8_t g, std::uint8_t r, unsigned& fours) {
        const std::uint32_t cell = (b >> kFineShift) | ((g >> kFineShift) << kFineBits) |
                                   ((r >> kFineShift) << (2 * kFineBits));
        Block& block = levels_[kLevels - 1][cell];
        if (block.start < 0)
            build(kLevels - 1, cell);
        fours = block.count;
        return groups_.data() + block.start;
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

    int first_;
    std::uint8_t blue_[256], green_[256], red_[256];
    std::vector<Block> levels_[kLevels];
    std::vector<std::uint8_t> candidates_[kLevels];
    std::vector<Group> groups_;  // the finest level's lists
};

namespace palette_search {

using Group = PaletteSearch::Lists::Group;

#if SLIPWAY_SSE2
// Adds four candidates' keys (one half of a group) into the running minimum.
inline __m128 rankFour(const std::int16_t* blueGreen, const std::int16_t* red,
                       const std::int32_t* key, __m128i colourBG, __m128i colourR, __m128 best) {
    const __m128i keys = _mm_add_epi32(
        _mm_add_epi32(
            _mm_madd_epi16(_mm_load_si128(reinterpret_cast<const __m128i*>(blueGreen)), colourBG),
            _mm_madd_epi16(_mm_load_si128(reinterpret_cast<const __m128i*>(red)), colourR)),
        _mm_load_si128(reinterpret_cast<const __m128i*>(key)));
    return _mm_min_ps(best, _mm_castsi128_ps(keys));
}
#endif

// The nearest of `fours` fours of candidates from `group` on, measured four at a time.
inline std::uint8_t nearestOfFours(const Group* group, unsigned fours, std::uint8_t b,
                                   std::uint8_t g, std::uint8_t r) {
#if SLIPWAY_SSE2
    const __m128i colourBG = _mm_set1_epi32((b << 7) | (g << 23));
    const __m128i colourR = _mm_set1_epi32(r << 7);
    __m128 best = _mm_castsi128_ps(_mm_set1_epi32(PaletteSearch::Lists::kFarKey));
    for (; fours >= 2; fours -= 2, ++group) {
        best = rankFour(group->blueGreen, group->red, group->key, colourBG, colourR, best);
        best =
            rankFour(group->blueGreen + 8, group->red + 8, group->key + 4, colourBG, colourR, best);
    }
    if (fours != 0)
        best = rankFour(group->blueGreen, group->red, group->key, colourBG, colourR, best);
    best = _mm_min_ps(best, _mm_shuffle_ps(best, best, _MM_SHUFFLE(1, 0, 3, 2)));
    best = _mm_min_ps(best, _mm_shuffle_ps(best, best, _MM_SHUFFLE(2, 3, 0, 1)));
    return static_cast<std::uint8_t>(_mm_cvtsi128_si32(_mm_castps_si128(best)));
#else
    std::int32_t best = PaletteSearch::Lists::kFarKey;
    for (unsigned k = 0; k < 4 * fours; ++k) {
        const Group& at = group[k / 8];
        const unsigned slot = k % 8;
        best =
            std::min(best, at.key[slot] + at.blueGreen[2 * slot] * (b << 7) +
                               at.blueGreen[2 * slot + 1] * (g << 7) + at.red[2 * slot] * (r << 7));
    }
    return static_cast<std::uint8_t>(best);
#endif
}

#if SLIPWAY_AVX2
// The same, eight at a time.
SLIPWAY_TARGET_AVX2 inline std::uint8_t nearestOfEights(const Group* group, unsigned fours,
                                                        std::uint8_t b, std::uint8_t g,
                                                        std::uint8_t r) {
    const __m256i colourBG = _mm256_set1_epi32((b << 7) | (g << 23));
    const __m256i colourR = _mm256_set1_epi32(r << 7);
    __m256i best = _mm256_set1_epi32(PaletteSearch::Lists::kFarKey);
    for (const Group* end = group + (fours + 1) / 2; group != end; ++group) {
        const __m256i keys = _mm256_add_epi32(
            _mm256_add_epi32(
                _mm256_madd_epi16(
                    _mm256_load_si256(reinterpret_cast<const __m256i*>(group->blueGreen)),
                    colourBG),
                _mm256_madd_epi16(_mm256_load_si256(reinterpret_cast<const __m256i*>(group->red)),
                                  colourR)),
            _mm256_load_si256(reinterpret_cast<const __m256i*>(group->key)));
        best = _mm256_min_epi32(best, keys);
    }
    __m128i least = _mm_min_epi32(_mm256_castsi256_si128(best), _mm256_extracti128_si256(best, 1));
    least = _mm_min_epi32(least, _mm_shuffle_epi32(least, _MM_SHUFFLE(1, 0, 3, 2)));
    least = _mm_min_epi32(least, _mm_shuffle_epi32(least, _MM_SHUFFLE(2, 3, 0, 1)));
    return static_cast<std::uint8_t>(_mm_cvtsi128_si32(least));
}
#endif

}  // namespace palette_search
}  // namespace slipway
