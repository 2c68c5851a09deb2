#include "pixels/ColorQuantizer.h"

#include <bit>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#endif

namespace slipway {
namespace {

constexpr bool kLittleEndian = std::endian::native == std::endian::little;

// The colour of the word at p: blue | green << 8 | red << 16, the fourth byte left out.
inline std::uint32_t colourAt(const std::uint8_t* p) {
    if constexpr (kLittleEndian) {
        std::uint32_t word;
        std::memcpy(&word, p, 4);
        return word & 0xFFFFFFu;
    } else {
        return p[0] | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16);
    }
}

// The colours are partitioned so that every box owns one contiguous range: a box is evaluated
// from its own colours instead of testing the whole population against its bounds. Splitting
// a box scatters its range into the other buffer of its arena (a box of depth d lives in
// buffer d % 2) and sums each child's channels on the way, so a child's evaluation costs
// nothing. The root's colours are the caller's runs, read where they lie and never written.
//
// A mean is truncated from sum x (1 / count), which can fall one below the true mean. When
// every colour of a box has the same value v in a channel, the mean there can come out as
// v - 1 and the upper children then span [v - 1, max]: beyond their parent, taking in colours
// of a neighbouring box. Such a child gathers its colours from the whole population into an
// arena of its own.
struct Quantizer {
    struct Range {
        std::uint32_t arena = 0;
        std::uint32_t begin = 0, end = 0;
        bool summed = false;
        std::uint64_t blue = 0, green = 0, red = 0;
    };
    struct Arena {
        std::unique_ptr<std::uint32_t[]> buffers[2];
    };
    std::vector<ColorBox> boxes;
    std::vector<Range> ranges;
    const ColourRun* runs = nullptr;
    std::size_t runCount = 0;
    std::vector<Arena> arenas;
    float reciprocal = 0.0f;
    std::uint32_t evaluated = 0;
    PaletteEntry* palette = nullptr;
    int filled = 0;
    int maxColours = 0;

    std::uint32_t* storage(const Range& range, std::uint32_t depth) {
        return arenas[range.arena].buffers[depth & 1].get();
    }

    static bool isRoot(const Range& range, std::uint32_t depth) {
        return range.arena == 0 && depth == 0;
    }

    // Calls f(colours, count) for each stretch of a box's colours: the runs for the root,
    // packed 32-bit colours in the arena for every other box. For the root `packed` is false
    // and the colours are byte runs of four (the fourth byte to be ignored).
    template <typename F>
    void forEachStretch(const Range& range, std::uint32_t depth, F&& f) {
        if (isRoot(range, depth)) {
            for (std::size_t k = 0; k < runCount; ++k) {
                if (runs[k].count > 0)
                    f(runs[k].bytes, static_cast<std::uint32_t>(runs[k].count));
            }
            return;
        }
        f(reinterpret_cast<const std::uint8_t*>(storage(range, depth) + range.begin),
          range.end - range.begin);
    }

    // The colours of a child that reaches beyond its parent, found in the whole population.
    Range gather(const ColorBox& box) {
        Range range;
        std::uint32_t count = 0;
        auto inside = [&](std::uint32_t p) {
            const std::uint32_t b = p & 0xFF, g = (p >> 8) & 0xFF, r = p >> 16;
            return b >= box.minBlue && b <= box.maxBlue && g >= box.minGreen && g <= box.maxGreen &&
                   r >= box.minRed && r <= box.maxRed;
        };
        for (std::size_t k = 0; k < runCount; ++k) {
            for (std::size_t i = 0; i < runs[k].count; ++i)
                count += inside(colourAt(runs[k].bytes + 4 * i)) ? 1 : 0;
        }
        Arena arena;
        arena.buffers[0].reset(new std::uint32_t[count + 1]);
        arena.buffers[1].reset(new std::uint32_t[count + 1]);
        std::uint32_t* out = arena.buffers[box.depth & 1].get();
        for (std::size_t k = 0; k < runCount; ++k) {
            for (std::size_t i = 0; i < runs[k].count; ++i) {
                const std::uint32_t p = colourAt(runs[k].bytes + 4 * i);
                if (inside(p)) {
                    *out++ = p;
                    range.blue += p & 0xFF;
                    range.green += (p >> 8) & 0xFF;
                    range.red += p >> 16;
                }
            }
        }
        arenas.push_back(std::move(arena));
        range.arena = static_cast<std::uint32_t>(arenas.size() - 1);
        range.end = count;
        range.summed = true;
        return range;
    }

    void evaluate(std::size_t index) {
        Range& range = ranges[index];
        ColorBox& box = boxes[index];
        if (range.begin == range.end) {
            box.flags |= ColorBox::kUnusable;
            return;
        }
        if (!range.summed) {
            forEachStretch(range, box.depth, [&](const std::uint8_t* colours, std::uint32_t n) {
                for (std::uint32_t i = 0; i < n; ++i) {
                    const std::uint32_t p = colourAt(colours + 4 * i);
                    range.blue += p & 0xFF;
                    range.green += (p >> 8) & 0xFF;
                    range.red += p >> 16;
                }
            });
            range.summed = true;
        }
        box.count = range.end - range.begin;
        const double inverse = 1.0 / static_cast<double>(box.count);
        box.meanBlue = static_cast<std::uint8_t>(static_cast<double>(range.blue) * inverse);
        box.meanGreen = static_cast<std::uint8_t>(static_cast<double>(range.green) * inverse);
        box.meanRed = static_cast<std::uint8_t>(static_cast<double>(range.red) * inverse);
        ++evaluated;
        box.flags |= ColorBox::kEvaluated;
    }

    void split(std::size_t index) {
        const ColorBox parent = boxes[index];
        boxes[index].flags |= ColorBox::kSplitDone;
        if (parent.count <= 1 || parent.meanRed == parent.minRed ||
            parent.meanRed == parent.maxRed || parent.meanGreen == parent.minGreen ||
            parent.meanGreen == parent.maxGreen || parent.meanBlue == parent.minBlue ||
            parent.meanBlue == parent.maxBlue) {
            return;
        }
        const Range range = ranges[index];
        const std::uint32_t first = range.begin;
        std::uint32_t* out = storage(range, parent.depth + 1);
        const std::uint32_t meanR = parent.meanRed, meanG = parent.meanGreen,
                            meanB = parent.meanBlue;
        auto slotOf = [&](std::uint32_t p) {
            return static_cast<unsigned>((p >> 16) >= meanR) |
                   (static_cast<unsigned>(((p >> 8) & 0xFF) >= meanG) << 1) |
                   (static_cast<unsigned>((p & 0xFF) >= meanB) << 2);
        };
#if defined(__SSE2__) || defined(_M_X64)
        // Four colours at a time: a byte is at least the mean when the unsigned maximum of the
        // two is the byte itself. The byte mask of a colour (blue, green, red) gives its slot.
        static constexpr std::uint8_t kSlotOfMask[8] = {0, 4, 2, 6, 1, 5, 3, 7};
        const __m128i means =
            _mm_set1_epi32(static_cast<int>(meanB | (meanG << 8) | (meanR << 16) | 0xFF000000u));
        auto slotsOf4 = [&](const std::uint8_t* p) {
            const __m128i colours = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            const __m128i atLeast = _mm_cmpeq_epi8(_mm_max_epu8(colours, means), colours);
            return static_cast<unsigned>(_mm_movemask_epi8(atLeast));
        };
        auto slotIn = [&](unsigned mask, int k) { return kSlotOfMask[(mask >> (4 * k)) & 7]; };
#else
        auto slotsOf4 = [&](const std::uint8_t* p) {
            return slotOf(colourAt(p)) | (slotOf(colourAt(p + 4)) << 4) |
                   (slotOf(colourAt(p + 8)) << 8) | (slotOf(colourAt(p + 12)) << 12);
        };
        auto slotIn = [&](unsigned slots, int k) { return (slots >> (4 * k)) & 7; };
#endif
        // Four histograms so that runs of one child do not wait on each other's increments.
        std::uint32_t histogram[4][8] = {};
        forEachStretch(range, parent.depth, [&](const std::uint8_t* in, std::uint32_t n) {
            std::uint32_t i = 0;
            for (; i + 4 <= n; i += 4) {
                const unsigned four = slotsOf4(in + 4 * i);
                for (int k = 0; k < 4; ++k)
                    ++histogram[k][slotIn(four, k)];
            }
            for (; i < n; ++i)
                ++histogram[0][slotOf(colourAt(in + 4 * i))];
        });
        // Each of the four lanes scatters into its own part of every child's range, so that
        // runs of one child do not wait on one cursor. The order inside a range is free: only
        // counts and sums are ever read from it.
        std::uint32_t counts[8];
        std::uint32_t offsets[8];
        std::uint32_t cursor[4][8];
        std::uint32_t at = first;
        for (int c = 0; c < 8; ++c) {
            offsets[c] = at;
            for (int k = 0; k < 4; ++k) {
                cursor[k][c] = at;
                at += histogram[k][c];
            }
            counts[c] = at - offsets[c];
        }
        forEachStretch(range, parent.depth, [&](const std::uint8_t* in, std::uint32_t n) {
            std::uint32_t j = 0;
            for (; j + 4 <= n; j += 4) {
                const unsigned four = slotsOf4(in + 4 * j);
                for (int k = 0; k < 4; ++k)
                    out[cursor[k][slotIn(four, k)]++] = colourAt(in + 4 * (j + k));
            }
            for (; j < n; ++j) {
                const std::uint32_t p = colourAt(in + 4 * j);
                out[cursor[0][slotOf(p)]++] = p;
            }
        });
        std::uint64_t sums[8][3] = {};
        for (int c = 0; c < 8; ++c) {
            std::uint64_t b = 0, g = 0, r = 0;
            for (std::uint32_t j = offsets[c]; j < offsets[c] + counts[c]; ++j) {
                const std::uint32_t p = out[j];
                b += p & 0xFF;
                g += (p >> 8) & 0xFF;
                r += p >> 16;
            }
            sums[c][0] = b;
            sums[c][1] = g;
            sums[c][2] = r;
        }

        for (int c = 0; c < 8; ++c) {
            ColorBox child;
            child.depth = parent.depth + 1;
            if (c & 1) {
                child.minRed = parent.meanRed;
                child.maxRed = parent.maxRed;
            } else {
                child.minRed = parent.minRed;
                child.maxRed = static_cast<std::uint8_t>(parent.meanRed - 1);
            }
            if (c & 2) {
                child.minGreen = parent.meanGreen;
                child.maxGreen = parent.maxGreen;
            } else {
                child.minGreen = parent.minGreen;
                child.maxGreen = static_cast<std::uint8_t>(parent.meanGreen - 1);
            }
            if (c & 4) {
                child.minBlue = parent.meanBlue;
                child.maxBlue = parent.maxBlue;
            } else {
                child.minBlue = parent.minBlue;
                child.maxBlue = static_cast<std::uint8_t>(parent.meanBlue - 1);
            }
            if (child.minRed >= child.maxRed || child.minGreen >= child.maxGreen ||
                child.minBlue >= child.maxBlue) {
                child.flags = ColorBox::kUnusable;
            }
            const bool beyond = child.minRed < parent.minRed || child.minGreen < parent.minGreen ||
                                child.minBlue < parent.minBlue;
            if (beyond && !(child.flags & ColorBox::kUnusable)) {
                ranges.push_back(gather(child));
            } else {
                ranges.push_back(Range{range.arena, offsets[c], offsets[c] + counts[c], true,
                                       sums[c][0], sums[c][1], sums[c][2]});
            }
            boxes.push_back(child);
            boxes[index].children[c] = static_cast<std::int32_t>(boxes.size() - 1);
        }
    }

    void pass(std::size_t index) {
        const std::uint8_t flags = boxes[index].flags;
        if (flags & ColorBox::kUnusable)
            return;
        if (!(flags & ColorBox::kEvaluated)) {
            evaluate(index);
            return;
        }
        if (!(flags & ColorBox::kSplitDone))
            split(index);
        for (int c = 0; c < 8; ++c) {
            const std::int32_t child = boxes[index].children[c];
            if (child >= 0)
                pass(static_cast<std::size_t>(child));
        }
    }

    void offer(const ColorBox& box) {
        const int weight = static_cast<int>(static_cast<double>(box.count) *
                                            static_cast<double>(reciprocal) * 255.0);
        for (int i = 0; i < filled; ++i) {
            PaletteEntry& e = palette[i];
            if (e.red == box.meanRed && e.green == box.meanGreen && e.blue == box.meanBlue) {
                const int sum = e.weight + weight;
                e.weight = static_cast<std::uint8_t>(sum < 255 ? sum : 255);
                return;
            }
        }
        const PaletteEntry entry{box.meanBlue, box.meanGreen, box.meanRed,
                                 static_cast<std::uint8_t>(weight)};
        if (filled < maxColours) {
            palette[filled++] = entry;
            return;
        }
        for (int i = 0; i < filled; ++i) {
            if (palette[i].weight < weight) {
                palette[i] = entry;
                return;
            }
        }
    }

    void collect(std::size_t index) {
        const ColorBox& box = boxes[index];
        if (!(box.flags & ColorBox::kEvaluated) || box.count == 0)
            return;
        offer(box);
        for (int c = 0; c < 8; ++c) {
            const std::int32_t child = boxes[index].children[c];
            if (child >= 0)
                collect(static_cast<std::size_t>(child));
        }
    }

    void collectAll() {
        for (int i = 0; i < maxColours; ++i)
            palette[i] = PaletteEntry{0, 0, 0, 0};
        filled = 0;
        collect(0);
    }
};

}  // namespace

int quantizeRuns(const ColourRun* runs, std::size_t runCount, PaletteEntry* palette,
                 int maxColours) {
    if (runs == nullptr || palette == nullptr || maxColours <= 0)
        return 0;
    std::size_t count = 0;
    for (std::size_t k = 0; k < runCount; ++k) {
        if (runs[k].count > 0 && runs[k].bytes == nullptr)
            return 0;
        count += runs[k].count;
    }
    if (count == 0 || count > UINT32_MAX)
        return 0;
    try {
        Quantizer q;
        q.runs = runs;
        q.runCount = runCount;
        Quantizer::Arena main;
        main.buffers[0].reset(new std::uint32_t[count]);
        main.buffers[1].reset(new std::uint32_t[count]);
        q.arenas.push_back(std::move(main));
        q.reciprocal = 1.0f / static_cast<float>(count);
        q.palette = palette;
        q.maxColours = maxColours;
        q.boxes.emplace_back();
        q.ranges.push_back(Quantizer::Range{0, 0, static_cast<std::uint32_t>(count)});
        for (;;) {
            const std::uint32_t before = q.evaluated;
            q.pass(0);
            if (q.evaluated == before) {
                q.collectAll();
                break;
            }
            if (q.evaluated <= static_cast<std::uint32_t>(maxColours))
                continue;
            q.collectAll();
            if (q.filled == maxColours)
                break;
        }
        return q.filled;
    } catch (const std::bad_alloc&) {
        return 0;
    }
}

int quantize(const Bgra* pixels, std::size_t count, PaletteEntry* palette, int maxColours) {
    if (pixels == nullptr || count == 0)
        return 0;
    static_assert(sizeof(Bgra) == 4);
    const ColourRun run{reinterpret_cast<const std::uint8_t*>(pixels), count};
    return quantizeRuns(&run, 1, palette, maxColours);
}

}  // namespace slipway
