#include "pixels/PaletteDiffusion.h"

#include <algorithm>
#include <climits>
#include <memory>
#include <new>

#if defined(__SSE2__) || defined(_M_X64) || defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace slipway {
namespace {

// Keys: an entry e measured against a colour c is ranked by |e|^2 - 2 e.c, which differs from
// the weighted squared distance by |c|^2, the same for every entry. Scaled by 256 with the
// index below, and lifted by kLift, every key is a positive 32-bit value between 2^23 and
// 2^28, so the smallest key is the nearest entry (on a tie the lowest index) and keys compare
// as floats do: the bit patterns of normal positive floats are ordered as their values.
constexpr std::int32_t kLift = 390150 * 256 + (1 << 23);  // 390150 = 255^2 (1 + 3 + 2)
// Padding: an entry that never wins, whatever the colour.
constexpr std::int32_t kFarKey = 1 << 30;

PaletteSearch::Group farGroup() {
    PaletteSearch::Group group{};
    for (std::int32_t& key : group.key)
        key = kFarKey;
    return group;
}

// Wide searches need the processor's 256-bit integer instructions, chosen when running.
#if (defined(__GNUC__) || defined(__clang__)) && (defined(__x86_64__) || defined(__i386__))
#define SLIPWAY_WIDE_SEARCH 1
#define SLIPWAY_TARGET_WIDE [[gnu::target("avx2")]]
bool canSearchWide() {
    static const bool able = __builtin_cpu_supports("avx2") != 0;
    return able;
}
#else
#define SLIPWAY_WIDE_SEARCH 0
bool canSearchWide() {
    return false;
}
#endif

}  // namespace

PaletteSearch::PaletteSearch(const Palette& palette, int firstIndex, SearchWidth width)
    : palette_(palette),
      first_(firstIndex),
      width_(width != SearchWidth::Four && canSearchWide() ? SearchWidth::Eight
                                                           : SearchWidth::Four) {
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
        block.start = static_cast<std::int32_t>(groups_.size());
        int slot = 8;
        int used = 0;
        for (int k = 0; k < count; ++k) {
            if (nearest[k] > bound)
                continue;
            if (slot == 8) {
                groups_.push_back(farGroup());
                slot = 0;
            }
            const int i = from[k];
            Group& group = groups_.back();
            // Colours are measured scaled by 128 (the largest scale whose values fit 16 bits),
            // so the factors carry the remaining 512 / 128 = 4 of the 2 x 256.
            const int eb = blue_[i], eg = green_[i], er = red_[i];
            group.blueGreen[2 * slot] = static_cast<std::int16_t>(-4 * eb);
            group.blueGreen[2 * slot + 1] = static_cast<std::int16_t>(-4 * 3 * eg);
            group.red[2 * slot] = static_cast<std::int16_t>(-4 * 2 * er);
            group.key[slot] = (eb * eb + 3 * eg * eg + 2 * er * er) * 256 + i + kLift;
            ++slot;
            ++used;
        }
        block.count = static_cast<std::uint16_t>((used + 3) / 4);
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

inline const PaletteSearch::Group* PaletteSearch::candidates(std::uint8_t b, std::uint8_t g,
                                                             std::uint8_t r, unsigned& fours) {
    const std::uint32_t cell = (b >> kFineShift) | ((g >> kFineShift) << kFineBits) |
                               ((r >> kFineShift) << (2 * kFineBits));
    Block& block = levels_[kLevels - 1][cell];
    if (block.start < 0)
        build(kLevels - 1, cell);
    fours = block.count;
    return groups_.data() + block.start;
}

namespace {

using Group = PaletteSearch::Group;

#if defined(__SSE2__) || defined(_M_X64)
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

inline std::uint8_t nearestOfFours(const Group* group, unsigned fours, std::uint8_t b,
                                   std::uint8_t g, std::uint8_t r) {
    const __m128i colourBG = _mm_set1_epi32((b << 7) | (g << 23));
    const __m128i colourR = _mm_set1_epi32(r << 7);
    __m128 best = _mm_castsi128_ps(_mm_set1_epi32(kFarKey));
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
}
#else
inline std::uint8_t nearestOfFours(const Group* group, unsigned fours, std::uint8_t b,
                                   std::uint8_t g, std::uint8_t r) {
    std::int32_t best = kFarKey;
    for (unsigned k = 0; k < 4 * fours; ++k) {
        const Group& at = group[k / 8];
        const unsigned slot = k % 8;
        best =
            std::min(best, at.key[slot] + at.blueGreen[2 * slot] * (b << 7) +
                               at.blueGreen[2 * slot + 1] * (g << 7) + at.red[2 * slot] * (r << 7));
    }
    return static_cast<std::uint8_t>(best);
}
#endif

#if SLIPWAY_WIDE_SEARCH
SLIPWAY_TARGET_WIDE inline std::uint8_t nearestOfEights(const Group* group, unsigned fours,
                                                        std::uint8_t b, std::uint8_t g,
                                                        std::uint8_t r) {
    const __m256i colourBG = _mm256_set1_epi32((b << 7) | (g << 23));
    const __m256i colourR = _mm256_set1_epi32(r << 7);
    __m256i best = _mm256_set1_epi32(kFarKey);
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

}  // namespace

std::uint8_t PaletteSearch::nearest(std::uint8_t b, std::uint8_t g, std::uint8_t r) {
    unsigned fours = 0;
    const Group* list = candidates(b, g, r, fours);
#if SLIPWAY_WIDE_SEARCH
    if (width_ == SearchWidth::Eight)
        return nearestOfEights(list, fours, b, g, r);
#endif
    return nearestOfFours(list, fours, b, g, r);
}

namespace {

// Rows are diffused as a wavefront, kRows at a time, each two columns behind the row above,
// so that the rows' palette searches are independent work the processor can overlap. A
// row reads the errors the row above left for it and writes, column by column, those it
// leaves for the row below; the error moving right and the shares still open for the row
// below stay in the row's state. Each column below is written once, when its last share
// (3/16 from the pixel to its right) is known; that equals adding every share into zeroed
// cells, as the row-by-row walk does. With the two-column lag every column a row reads is
// complete, and a row of cells is read before it is written again.
template <typename Nearest>
inline bool diffuseRows(const PixelImage& source, PixelImage& target, Nearest&& nearestOf) {
    const std::uint32_t width = target.width();
    const std::uint32_t height = target.height();
    constexpr std::uint32_t kRows = 4;
    const bool colourKey = target.hasAlpha();
    const Palette& palette = target.palette();
    const std::uint32_t step = source.bitsPerPixel() / 8;
#if defined(__SSE2__) || defined(_M_X64)
    // The three channels go together in 16-bit lanes (blue, green, red, 0). A column of error
    // cells is four such lanes, stored as they are summed and wrapped to a signed byte when
    // read, which is the same modulo 256.
    std::vector<std::int64_t> cells;
    try {
        cells.assign(std::size_t{width} * kRows, 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    alignas(16) std::int16_t colours[256][4];
    for (int i = 0; i < 256; ++i) {
        colours[i][0] = palette[i * 3];
        colours[i][1] = palette[i * 3 + 1];
        colours[i][2] = palette[i * 3 + 2];
        colours[i][3] = 0;
    }
    const __m128i zero = _mm_setzero_si128();
    const __m128i eight = _mm_set1_epi16(8);
    struct Row {
        const std::uint8_t* in;
        std::uint8_t* out;
        const std::int64_t* incoming;
        std::int64_t* outgoing;
        __m128i right, open, previous;
    };
    Row rows[kRows];
    auto diffusePixel = [&](Row& row, std::uint32_t x) {
        const std::uint8_t* in = row.in + std::size_t{x} * step;
        const __m128i colour =
            _mm_unpacklo_epi8(_mm_cvtsi32_si128(in[0] | (in[1] << 8) | (in[2] << 16)), zero);
        __m128i waiting = _mm_add_epi16(
            _mm_loadl_epi64(reinterpret_cast<const __m128i*>(row.incoming + x)), row.right);
        waiting = _mm_srai_epi16(_mm_slli_epi16(waiting, 8), 8);
        const __m128i clamped = _mm_packus_epi16(_mm_add_epi16(colour, waiting), zero);
        const auto bgr = static_cast<std::uint32_t>(_mm_cvtsi128_si32(clamped));
        const std::uint8_t alpha = step == 4 ? in[3] : 255;
        const std::uint8_t index =
            colourKey && alpha < 64
                ? 0
                : nearestOf(static_cast<std::uint8_t>(bgr), static_cast<std::uint8_t>(bgr >> 8),
                            static_cast<std::uint8_t>(bgr >> 16));
        row.out[x] = index;
        const __m128i e =
            _mm_sub_epi16(_mm_unpacklo_epi8(clamped, zero),
                          _mm_loadl_epi64(reinterpret_cast<const __m128i*>(colours[index])));
        auto share = [&](short weight) {
            return _mm_srai_epi16(_mm_add_epi16(_mm_mullo_epi16(e, _mm_set1_epi16(weight)), eight),
                                  4);
        };
        if (x >= 1) {
            _mm_storel_epi64(reinterpret_cast<__m128i*>(row.outgoing + x - 1),
                             _mm_add_epi16(row.previous, share(3)));
        }
        row.previous = _mm_add_epi16(row.open, share(5));
        if (x + 1 < width) {
            row.right = share(7);
            row.open = share(1);
        } else {
            row.right = row.open = zero;
            _mm_storel_epi64(reinterpret_cast<__m128i*>(row.outgoing + x), row.previous);
        }
    };
    auto startRow = [&](std::uint32_t y) {
        return Row{source.row(y),
                   target.row(y),
                   cells.data() + std::size_t{width} * (y % kRows),
                   cells.data() + std::size_t{width} * ((y + 1) % kRows),
                   zero,
                   zero,
                   zero};
    };
#else
    std::vector<std::int8_t> cells;
    try {
        cells.assign(std::size_t{width} * 3 * kRows, 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    auto wrap = [](int v) { return static_cast<int>(static_cast<std::int8_t>(v)); };
    struct Row {
        const std::uint8_t* in;
        std::uint8_t* out;
        const std::int8_t* incoming;
        std::int8_t* outgoing;
        int right[3];
        int open[3];
        int previous[3];
    };
    Row rows[kRows];
    auto diffusePixel = [&](Row& row, std::uint32_t x) {
        const std::uint8_t* in = row.in + std::size_t{x} * step;
        int value[3];
        for (int c = 0; c < 3; ++c)
            value[c] = std::clamp(in[c] + wrap(row.incoming[x * 3 + c] + row.right[c]), 0, 255);
        const std::uint8_t alpha = step == 4 ? in[3] : 255;
        const std::uint8_t index = colourKey && alpha < 64
                                       ? 0
                                       : nearestOf(static_cast<std::uint8_t>(value[0]),
                                                   static_cast<std::uint8_t>(value[1]),
                                                   static_cast<std::uint8_t>(value[2]));
        row.out[x] = index;
        const bool last = x + 1 == width;
        for (int c = 0; c < 3; ++c) {
            const int e = value[c] - palette[index * 3 + c];
            if (x >= 1) {
                row.outgoing[(x - 1) * 3 + c] =
                    static_cast<std::int8_t>(row.previous[c] + ((3 * e + 8) >> 4));
            }
            row.previous[c] = row.open[c] + ((5 * e + 8) >> 4);
            row.right[c] = last ? 0 : (7 * e + 8) >> 4;
            row.open[c] = last ? 0 : (e + 8) >> 4;
            if (last)
                row.outgoing[x * 3 + c] = static_cast<std::int8_t>(row.previous[c]);
        }
    };
    auto startRow = [&](std::uint32_t y) {
        return Row{source.row(y),
                   target.row(y),
                   cells.data() + std::size_t{width} * 3 * (y % kRows),
                   cells.data() + std::size_t{width} * 3 * ((y + 1) % kRows),
                   {0, 0, 0},
                   {0, 0, 0},
                   {0, 0, 0}};
    };
#endif
    for (std::uint32_t top = 0; top < height; top += kRows) {
        const std::uint32_t count = std::min(kRows, height - top);
        for (std::uint32_t r = 0; r < count; ++r) {
            const std::uint32_t y = top + r;
            rows[r] = startRow(y);
        }
        const std::uint32_t steps = width + 2 * (count - 1);
        auto edgeStep = [&](std::uint32_t s) {
            for (std::uint32_t r = 0; r < count && 2 * r <= s; ++r) {
                const std::uint32_t x = s - 2 * r;
                if (x < width)
                    diffusePixel(rows[r], x);
            }
        };
        std::uint32_t s = 0;
        if (count == kRows) {
            // Where every row of the band has a pixel, the step needs no tests.
            for (; s < 2 * (kRows - 1); ++s)
                edgeStep(s);
            for (; s < width; ++s) {
                for (std::uint32_t r = 0; r < kRows; ++r)
                    diffusePixel(rows[r], s - 2 * r);
            }
        }
        for (; s < steps; ++s)
            edgeStep(s);
    }
    return true;
}

bool diffuseFour(const PixelImage& source, PixelImage& target, PaletteSearch& search) {
    return diffuseRows(source, target, [&search](std::uint8_t b, std::uint8_t g, std::uint8_t r) {
        unsigned fours = 0;
        const Group* list = search.candidates(b, g, r, fours);
        return nearestOfFours(list, fours, b, g, r);
    });
}

#if SLIPWAY_WIDE_SEARCH
// The same loop, compiled for the wide instructions with everything it calls.
SLIPWAY_TARGET_WIDE [[gnu::flatten]] bool diffuseEight(const PixelImage& source, PixelImage& target,
                                                       PaletteSearch& search) {
    return diffuseRows(source, target, [&search](std::uint8_t b, std::uint8_t g, std::uint8_t r) {
        unsigned fours = 0;
        const Group* list = search.candidates(b, g, r, fours);
        return nearestOfEights(list, fours, b, g, r);
    });
}
#endif

}  // namespace

bool diffuseOntoPalette(const PixelImage& source, PixelImage& target, PaletteSearch* shared) {
    const std::uint32_t sourceBits = source.bitsPerPixel();
    if (target.bitsPerPixel() != 8 || (sourceBits != 32 && sourceBits != 24) ||
        source.width() != target.width() || source.height() != target.height() ||
        &source == &target) {
        return false;
    }
    const int first = target.hasAlpha() ? 1 : 0;
    std::unique_ptr<PaletteSearch> own;
    if (shared == nullptr || !shared->answers(target.palette(), first))
        own = std::make_unique<PaletteSearch>(target.palette(), first);
    PaletteSearch& search = own ? *own : *shared;
#if SLIPWAY_WIDE_SEARCH
    const bool done = search.width() == SearchWidth::Eight ? diffuseEight(source, target, search)
                                                           : diffuseFour(source, target, search);
#else
    const bool done = diffuseFour(source, target, search);
#endif
    if (done)
        target.addFormatFlags(formatFilled);
    return done;
}

}  // namespace slipway
