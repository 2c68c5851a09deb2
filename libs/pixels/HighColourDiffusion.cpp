#include "pixels/HighColourDiffusion.h"

#include <algorithm>
#include <new>
#include <vector>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#endif

namespace slipway {
namespace {

#if defined(__SSE2__) || defined(_M_X64)
// A row in progress reads the errors the row above left for it (`incoming`) and writes, column
// by column, those it leaves for the row below (`outgoing`). The error moving right and the
// shares still open for the row below stay in variables: each column below is written once,
// when its last share (3/16 from the pixel to its right) is known, which equals adding every
// share into zeroed cells as the row-by-row walk does. The three channels go together in
// 16-bit lanes (blue, green, red, 0); a column of cells is four such lanes, stored as summed
// and wrapped to a signed byte when read, which is the same modulo 256.
struct LaneRow {
    const std::uint8_t* in;
    std::uint8_t* out;
    const std::int64_t* incoming;
    std::int64_t* outgoing;
    __m128i right, open, previous;
};

template <int Bits>
inline void diffuseInLanes(LaneRow& row, std::uint32_t x, std::uint32_t step) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i low = Bits == 12   ? _mm_setr_epi16(15, 15, 15, 0, 0, 0, 0, 0)
                        : Bits == 16 ? _mm_setr_epi16(7, 3, 7, 0, 0, 0, 0, 0)
                                     : _mm_setr_epi16(7, 7, 7, 0, 0, 0, 0, 0);
    const std::uint8_t* in = row.in + std::size_t{x} * step;
    const __m128i colour =
        _mm_unpacklo_epi8(_mm_cvtsi32_si128(in[0] | (in[1] << 8) | (in[2] << 16)), zero);
    __m128i waiting = _mm_add_epi16(
        _mm_loadl_epi64(reinterpret_cast<const __m128i*>(row.incoming + x)), row.right);
    waiting = _mm_srai_epi16(_mm_slli_epi16(waiting, 8), 8);
    const __m128i clamped = _mm_packus_epi16(_mm_add_epi16(colour, waiting), zero);
    const auto bgr = static_cast<unsigned>(_mm_cvtsi128_si32(clamped));
    const unsigned b = bgr & 0xFF, g = (bgr >> 8) & 0xFF, r = bgr >> 16;
    const unsigned a = step == 4 ? in[3] : 255;
    unsigned word;
    if constexpr (Bits == 16) {
        word = (r >> 3) << 11 | (g >> 2) << 5 | (b >> 3);
    } else if constexpr (Bits == 15) {
        word = (r >> 3) << 10 | (g >> 3) << 5 | (b >> 3) | (a > 64 ? 0x8000u : 0u);
    } else {
        word = (a >> 4) << 12 | (r >> 4) << 8 | (g >> 4) << 4 | (b >> 4);
    }
    row.out[2 * x] = static_cast<std::uint8_t>(word);
    row.out[2 * x + 1] = static_cast<std::uint8_t>(word >> 8);
    // The read-back keeps each channel's top bits: the error is what the low bits held.
    const __m128i e = _mm_and_si128(_mm_unpacklo_epi8(clamped, zero), low);
    auto share = [&](short weight) {
        return _mm_srai_epi16(
            _mm_add_epi16(_mm_mullo_epi16(e, _mm_set1_epi16(weight)), _mm_set1_epi16(8)), 4);
    };
    if (x >= 1) {
        _mm_storel_epi64(reinterpret_cast<__m128i*>(row.outgoing + x - 1),
                         _mm_add_epi16(row.previous, share(3)));
    }
    row.previous = _mm_add_epi16(row.open, share(5));
    row.right = share(7);
    row.open = share(1);
}

// Rows go in pairs, the second two columns behind the first: every column it reads is then
// complete, and the two rows' chains of errors moving right are independent work the
// processor overlaps. The second row writes the cells the first one reads, each column after
// the first has read it.
template <int Bits>
void diffuseAllInLanes(const PixelImage& source, PixelImage& target, std::int64_t* cells) {
    const std::uint32_t width = target.width();
    const std::uint32_t height = target.height();
    const std::uint32_t step = source.bitsPerPixel() / 8;
    const __m128i zero = _mm_setzero_si128();
    auto start = [&](std::uint32_t y) {
        return LaneRow{source.row(y),
                       target.row(y),
                       cells + std::size_t{width} * (y & 1),
                       cells + std::size_t{width} * ((y + 1) & 1),
                       zero,
                       zero,
                       zero};
    };
    auto finish = [&](LaneRow& row) {
        _mm_storel_epi64(reinterpret_cast<__m128i*>(row.outgoing + width - 1), row.previous);
    };
    std::uint32_t y = 0;
    for (; y + 1 < height; y += 2) {
        LaneRow first = start(y);
        LaneRow second = start(y + 1);
        for (std::uint32_t x = 0; x < width + 2; ++x) {
            if (x < width)
                diffuseInLanes<Bits>(first, x, step);
            if (x == width)
                finish(first);
            if (x >= 2)
                diffuseInLanes<Bits>(second, x - 2, step);
        }
        finish(second);
    }
    if (y < height) {
        LaneRow last = start(y);
        for (std::uint32_t x = 0; x < width; ++x)
            diffuseInLanes<Bits>(last, x, step);
        finish(last);
    }
}
#else
// The error cells are signed bytes whose sums wrap modulo 256.
int wrap(int v) {
    return static_cast<std::int8_t>(static_cast<std::uint8_t>(v));
}

// One row: `incoming` holds the errors the row above left for it; `outgoing` receives, column
// by column, what this row leaves for the row below. The error moving right and the three
// shares still open for the row below stay in variables instead of memory: each column of the
// row below is written once, when its last share (3/16 from the pixel to its right) is known.
// That equals adding every share into zeroed cells, as the row-by-row walk does.
template <int Bits>
void diffuseRow(const std::uint8_t* in, std::uint32_t step, std::uint32_t width,
                const std::int8_t* incoming, std::int8_t* outgoing, std::uint8_t* out) {
    int right[3] = {0, 0, 0};     // the 7/16 share for the next pixel
    int open[3] = {0, 0, 0};      // shares so far for the column below this pixel
    int previous[3] = {0, 0, 0};  // shares so far for the column below the previous pixel
    constexpr int lowBlue = Bits == 12 ? 15 : 7;
    constexpr int lowGreen = Bits == 12 ? 15 : Bits == 16 ? 3 : 7;
    constexpr int lowRed = lowBlue;
    for (std::uint32_t x = 0; x < width; ++x, in += step, out += 2) {
        int v[3];
        for (int c = 0; c < 3; ++c)
            v[c] = std::clamp(in[c] + wrap(incoming[x * 3 + c] + right[c]), 0, 255);
        const int a = step == 4 ? in[3] : 255;
        unsigned word;
        if constexpr (Bits == 16) {
            word = (v[2] >> 3) << 11 | (v[1] >> 2) << 5 | (v[0] >> 3);
        } else if constexpr (Bits == 15) {
            word = (v[2] >> 3) << 10 | (v[1] >> 3) << 5 | (v[0] >> 3) | (a > 64 ? 0x8000u : 0u);
        } else {
            word = (a >> 4) << 12 | (v[2] >> 4) << 8 | (v[1] >> 4) << 4 | (v[0] >> 4);
        }
        out[0] = static_cast<std::uint8_t>(word);
        out[1] = static_cast<std::uint8_t>(word >> 8);
        // The read-back keeps each channel's top bits: the error is what the low bits held.
        const int e[3] = {v[0] & lowBlue, v[1] & lowGreen, v[2] & lowRed};
        const bool last = x + 1 == width;
        for (int c = 0; c < 3; ++c) {
            if (x >= 1)
                outgoing[(x - 1) * 3 + c] =
                    static_cast<std::int8_t>(wrap(previous[c] + ((3 * e[c] + 8) >> 4)));
            const int here = open[c] + ((5 * e[c] + 8) >> 4);
            right[c] = last ? 0 : (7 * e[c] + 8) >> 4;
            open[c] = last ? 0 : (e[c] + 8) >> 4;
            previous[c] = here;
        }
    }
    for (int c = 0; c < 3; ++c)
        outgoing[(width - 1) * 3 + c] = static_cast<std::int8_t>(wrap(previous[c]));
}
#endif

}  // namespace

bool diffuseToHighColour(const PixelImage& source, PixelImage& target) {
    const std::uint32_t sourceBits = source.bitsPerPixel();
    const std::uint32_t bits = target.bitsPerPixel();
    if ((bits != 16 && bits != 15 && bits != 12) || (sourceBits != 32 && sourceBits != 24) ||
        source.width() != target.width() || source.height() != target.height() ||
        &source == &target) {
        return false;
    }
    const std::uint32_t width = target.width();
#if defined(__SSE2__) || defined(_M_X64)
    std::vector<std::int64_t> cells;
    try {
        cells.assign(std::size_t{width} * 2, 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (bits == 16) {
        diffuseAllInLanes<16>(source, target, cells.data());
    } else if (bits == 15) {
        diffuseAllInLanes<15>(source, target, cells.data());
    } else {
        diffuseAllInLanes<12>(source, target, cells.data());
    }
#else
    const std::uint32_t step = sourceBits / 8;
    std::vector<std::int8_t> cells;
    try {
        cells.assign(std::size_t{width} * 3 * 2, 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    for (std::uint32_t y = 0; y < target.height(); ++y) {
        const std::int8_t* incoming = cells.data() + std::size_t{width} * 3 * (y & 1);
        std::int8_t* outgoing = cells.data() + std::size_t{width} * 3 * ((y + 1) & 1);
        if (bits == 16) {
            diffuseRow<16>(source.row(y), step, width, incoming, outgoing, target.row(y));
        } else if (bits == 15) {
            diffuseRow<15>(source.row(y), step, width, incoming, outgoing, target.row(y));
        } else {
            diffuseRow<12>(source.row(y), step, width, incoming, outgoing, target.row(y));
        }
    }
#endif
    target.addFormatFlags(formatFilled);
    return true;
}

}  // namespace slipway
