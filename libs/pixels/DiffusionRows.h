#pragma once
// The error diffusion loop shared by the fast conversions onto a palette and into 16, 15 or
// 12 bits (internal to the pixels library). It walks a 24- or 32-bit source and leaves to a
// target type what a pixel is stored as and what error storing it leaves.

#include <algorithm>
#include <cstdint>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

#include "pixels/PixelImage.h"
#include "pixels/VectorCode.h"

namespace slipway::diffusion {

// The error cells of one column: blue, green, red and an unused lane, 16 bits each, stored as
// they are summed and wrapped to a signed byte when read, which is the same modulo 256.
struct alignas(8) Cell {
    std::int16_t lane[4];
};

#if SLIPWAY_SSE2
// Blue, green, red (and 0) in the 16-bit lanes of a vector.
struct Lanes {
    __m128i v;
};

inline Lanes zeroLanes() {
    return {_mm_setzero_si128()};
}
inline Lanes lanesOf(int b, int g, int r) {
    return {_mm_setr_epi16(static_cast<short>(b), static_cast<short>(g), static_cast<short>(r), 0,
                           0, 0, 0, 0)};
}
// The first three bytes at p.
inline Lanes lanesOfBytes(const std::uint8_t* p) {
    return {_mm_unpacklo_epi8(_mm_cvtsi32_si128(p[0] | (p[1] << 8) | (p[2] << 16)),
                              _mm_setzero_si128())};
}
inline Lanes load(const Cell& cell) {
    return {_mm_loadl_epi64(reinterpret_cast<const __m128i*>(&cell))};
}
inline void store(Cell& cell, Lanes value) {
    _mm_storel_epi64(reinterpret_cast<__m128i*>(&cell), value.v);
}
inline Lanes operator+(Lanes a, Lanes b) {
    return {_mm_add_epi16(a.v, b.v)};
}
inline Lanes operator-(Lanes a, Lanes b) {
    return {_mm_sub_epi16(a.v, b.v)};
}
inline Lanes operator&(Lanes a, Lanes b) {
    return {_mm_and_si128(a.v, b.v)};
}
inline Lanes wrappedToSignedByte(Lanes a) {
    return {_mm_srai_epi16(_mm_slli_epi16(a.v, 8), 8)};
}
// (weight x e + 8) >> 4 in every lane.
template <short Weight>
inline Lanes share(Lanes e) {
    return {_mm_srai_epi16(
        _mm_add_epi16(_mm_mullo_epi16(e.v, _mm_set1_epi16(Weight)), _mm_set1_epi16(8)), 4)};
}

// A colour clamped to 0..255 per channel, held as bytes.
class Colour {
  public:
    explicit Colour(Lanes sum) : bytes_(_mm_packus_epi16(sum.v, _mm_setzero_si128())) {}
    // blue | green << 8 | red << 16
    std::uint32_t bgr() const { return static_cast<std::uint32_t>(_mm_cvtsi128_si32(bytes_)); }
    Lanes lanes() const { return {_mm_unpacklo_epi8(bytes_, _mm_setzero_si128())}; }

  private:
    __m128i bytes_;
};
#else
// Blue, green, red.
struct Lanes {
    int c[3];
};

inline Lanes zeroLanes() {
    return {{0, 0, 0}};
}
inline Lanes lanesOf(int b, int g, int r) {
    return {{b, g, r}};
}
inline Lanes lanesOfBytes(const std::uint8_t* p) {
    return {{p[0], p[1], p[2]}};
}
inline Lanes load(const Cell& cell) {
    return {{cell.lane[0], cell.lane[1], cell.lane[2]}};
}
inline void store(Cell& cell, Lanes value) {
    for (int k = 0; k < 3; ++k)
        cell.lane[k] = static_cast<std::int16_t>(value.c[k]);
    cell.lane[3] = 0;
}
inline Lanes operator+(Lanes a, Lanes b) {
    return {{a.c[0] + b.c[0], a.c[1] + b.c[1], a.c[2] + b.c[2]}};
}
inline Lanes operator-(Lanes a, Lanes b) {
    return {{a.c[0] - b.c[0], a.c[1] - b.c[1], a.c[2] - b.c[2]}};
}
inline Lanes operator&(Lanes a, Lanes b) {
    return {{a.c[0] & b.c[0], a.c[1] & b.c[1], a.c[2] & b.c[2]}};
}
inline Lanes wrappedToSignedByte(Lanes a) {
    auto wrap = [](int v) { return static_cast<int>(static_cast<std::int8_t>(v)); };
    return {{wrap(a.c[0]), wrap(a.c[1]), wrap(a.c[2])}};
}
template <short Weight>
inline Lanes share(Lanes e) {
    return {{(Weight * e.c[0] + 8) >> 4, (Weight * e.c[1] + 8) >> 4, (Weight * e.c[2] + 8) >> 4}};
}

class Colour {
  public:
    explicit Colour(Lanes sum)
        : c_{std::clamp(sum.c[0], 0, 255), std::clamp(sum.c[1], 0, 255),
             std::clamp(sum.c[2], 0, 255)} {}
    std::uint32_t bgr() const {
        return static_cast<std::uint32_t>(c_[0] | (c_[1] << 8) | (c_[2] << 16));
    }
    Lanes lanes() const { return {{c_[0], c_[1], c_[2]}}; }

  private:
    int c_[3];
};
#endif

// Diffuses `source` (the size of `target`, any depth) into `target`, pixel by pixel in the
// order of the row-by-row walk that spreads 7/16 of a pixel's error to the right, 3/16, 5/16
// and 1/16 below (rounded as (w e + 8) >> 4 and added into signed-byte cells). Each pixel's
// colour plus its waiting error, clamped, goes to `put(row, x, colour, alpha)`, which stores
// the pixel at column x of the target row and returns the error it leaves: the colour less
// what the stored pixel reads back as. `Target::kRows` rows go together (see below). Rows of
// 24 and 32 bits are read where they lie; others are decoded a band of rows at a time.
// False, with the target partly written, when memory runs out.
//
// Rows are diffused as a wavefront, kRows at a time, each two columns behind the row above,
// so that the rows' work is independent and the processor can overlap it. A row reads the
// errors the row above left for it and writes, column by column, those it leaves for the row
// below; the error moving right and the shares still open for the row below stay in the
// row's state. Each column below is written once, when its last share (3/16 from the pixel
// to its right) is known; that equals adding every share into zeroed cells, as the
// row-by-row walk does. With the two-column lag every column a row reads is complete, and a
// row of cells is read before it is written again.
template <typename Target>
inline bool diffuseRows(const PixelImage& source, PixelImage& target, Target& put) {
    constexpr std::uint32_t kRows = Target::kRows;
    const std::uint32_t width = target.width();
    const std::uint32_t height = target.height();
    const bool direct = source.bitsPerPixel() == 24 || source.bitsPerPixel() == 32;
    const std::uint32_t step = direct ? source.bitsPerPixel() / 8 : 4;
    std::vector<Cell> cells;
    std::vector<Bgra> decoded;  // the band's rows, for sources of other depths
    try {
        cells.assign(std::size_t{width} * kRows, Cell{});
        if (!direct)
            decoded.resize(std::size_t{width} * kRows);
    } catch (const std::bad_alloc&) {
        return false;
    }
    const Lanes zero = zeroLanes();
    struct Row {
        const std::uint8_t* in;
        std::uint8_t* out;
        const Cell* incoming;
        Cell* outgoing;
        Lanes right, open, previous;
    };
    Row rows[kRows];
    // `Inner` (std::true_type) promises that x is neither the first nor the last column.
    auto diffusePixel = [&]<typename Inner = std::false_type>(Row & row, std::uint32_t x,
                                                              Inner = {}) {
        const std::uint8_t* in = row.in + std::size_t{x} * step;
        const Colour value(lanesOfBytes(in) +
                           wrappedToSignedByte(load(row.incoming[x]) + row.right));
        const std::uint8_t alpha = step == 4 ? in[3] : 255;
        const Lanes e = put(row.out, x, value, alpha);
        if (Inner::value || x >= 1)
            store(row.outgoing[x - 1], row.previous + share<3>(e));
        row.previous = row.open + share<5>(e);
        if (Inner::value || x + 1 < width) {
            row.right = share<7>(e);
            row.open = share<1>(e);
        } else {
            row.right = row.open = zero;
            store(row.outgoing[x], row.previous);
        }
    };
    for (std::uint32_t top = 0; top < height; top += kRows) {
        const std::uint32_t count = std::min(kRows, height - top);
        for (std::uint32_t r = 0; r < count; ++r) {
            const std::uint32_t y = top + r;
            const std::uint8_t* in = source.row(y);
            if (!direct) {
                Bgra* row = decoded.data() + std::size_t{width} * r;
                source.rowBgra(y, row);
                in = reinterpret_cast<const std::uint8_t*>(row);
            }
            rows[r] = Row{in,
                          target.row(y),
                          cells.data() + std::size_t{width} * (y % kRows),
                          cells.data() + std::size_t{width} * ((y + 1) % kRows),
                          zero,
                          zero,
                          zero};
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
            // Where every row of the band has a pixel and none is at an edge, the step needs
            // no tests. The rows' state is copied into a band indexed only by constants, so
            // that it can stay in registers: the error moving right is on the critical path.
            for (; s <= 2 * (kRows - 1); ++s)
                edgeStep(s);
            [&]<std::uint32_t... R>(std::integer_sequence<std::uint32_t, R...>) {
                Row band[kRows] = {rows[R]...};
                for (; s + 1 < width; ++s)
                    (diffusePixel(band[R], s - 2 * R, std::true_type{}), ...);
                ((rows[R] = band[R]), ...);
            }
            (std::make_integer_sequence<std::uint32_t, kRows>{});
        }
        for (; s < steps; ++s)
            edgeStep(s);
    }
    return true;
}

}  // namespace slipway::diffusion
