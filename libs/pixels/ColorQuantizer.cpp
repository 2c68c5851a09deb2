#include "pixels/ColorQuantizer.h"

#include <bit>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "pixels/VectorCode.h"

namespace slipway {
namespace {

// One node of the box tree. Bounds are inclusive.
struct ColorBox {
    static constexpr std::uint8_t kEvaluated = 1;  // count and mean are known
    static constexpr std::uint8_t kSplitDone = 2;  // children made, or not splittable
    static constexpr std::uint8_t kUnusable = 4;   // empty, or a single value in some channel

    std::uint8_t flags = 0;
    std::uint8_t minRed = 0, minGreen = 0, minBlue = 0;
    std::uint8_t maxRed = 255, maxGreen = 255, maxBlue = 255;
    std::uint8_t meanRed = 0, meanGreen = 0, meanBlue = 0;
    std::uint32_t count = 0;
    std::uint32_t depth = 0;
    // Index into the tree; bit 0 of the slot = upper red half, bit 1 green, bit 2 blue.
    std::int32_t children[8] = {-1, -1, -1, -1, -1, -1, -1, -1};
};

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

// Which child of a box a colour falls in: bit 0 set for the upper red half, bit 1 green,
// bit 2 blue (a channel is in the upper half when it is at least the box's mean).
struct MeanTest {
    std::uint32_t blue = 0, green = 0, red = 0;

    MeanTest() = default;
    explicit MeanTest(const ColorBox& box)
        : blue(box.meanBlue), green(box.meanGreen), red(box.meanRed) {}

    unsigned slot(std::uint32_t p) const {
        return static_cast<unsigned>((p >> 16) >= red) |
               (static_cast<unsigned>(((p >> 8) & 0xFF) >= green) << 1) |
               (static_cast<unsigned>((p & 0xFF) >= blue) << 2);
    }
    // The means as a colour word whose fourth byte never counts as "at least".
    std::uint32_t word() const { return blue | (green << 8) | (red << 16) | 0xFF000000u; }
};

#if SLIPWAY_SSE2
// Four colours at a time: a byte is at least the mean when the unsigned maximum of the two is
// the byte itself. The mask's nibble k holds colour k's comparisons (blue, green, red, -).
inline unsigned atLeastMask(const std::uint8_t* colours, __m128i means) {
    const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(colours));
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_max_epu8(c, means), c)));
}
constexpr std::uint8_t kSlotOfMask[8] = {0, 4, 2, 6, 1, 5, 3, 7};
inline unsigned slotIn(unsigned mask, int k) {
    return kSlotOfMask[(mask >> (4 * k)) & 7];
}
#endif

// Four-way counts, so that runs of one bucket do not wait on each other's increments.
template <int Buckets>
struct LaneCounts {
    std::uint32_t counts[4][Buckets] = {};
    std::uint32_t cursor[4][Buckets];
    std::uint32_t begin[Buckets + 1];

    // Lays the buckets out from `first` in order, each lane owning its own part of every
    // bucket, so that runs of one bucket do not wait on one cursor either.
    void layOut(std::uint32_t first) {
        std::uint32_t at = first;
        for (int c = 0; c < Buckets; ++c) {
            begin[c] = at;
            for (int k = 0; k < 4; ++k) {
                cursor[k][c] = at;
                at += counts[k][c];
            }
        }
        begin[Buckets] = at;
    }
};

struct ChannelSums {
    std::uint64_t blue = 0, green = 0, red = 0;
};

// The channel sums of n colours of four bytes each (blue, green, red, ignored).
inline ChannelSums sumColours(const std::uint8_t* colours, std::uint32_t n) {
    ChannelSums sums;
    std::uint32_t i = 0;
#if SLIPWAY_SSE2
    // The absolute differences from zero of each channel's bytes, summed per half.
    const __m128i zero = _mm_setzero_si128();
    const __m128i blueMask = _mm_set1_epi32(0xFF), greenMask = _mm_set1_epi32(0xFF00),
                  redMask = _mm_set1_epi32(0xFF0000);
    __m128i b = zero, g = zero, r = zero;
    for (; i + 4 <= n; i += 4) {
        const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(colours + 4 * i));
        b = _mm_add_epi64(b, _mm_sad_epu8(_mm_and_si128(c, blueMask), zero));
        g = _mm_add_epi64(g, _mm_sad_epu8(_mm_and_si128(c, greenMask), zero));
        r = _mm_add_epi64(r, _mm_sad_epu8(_mm_and_si128(c, redMask), zero));
    }
    auto total = [](__m128i v) {
        std::uint64_t halves[2];
        _mm_storeu_si128(reinterpret_cast<__m128i*>(halves), v);
        return halves[0] + halves[1];
    };
    sums.blue = total(b);
    sums.green = total(g);
    sums.red = total(r);
#endif
    for (; i < n; ++i) {
        const std::uint32_t p = colourAt(colours + 4 * i);
        sums.blue += p & 0xFF;
        sums.green += (p >> 8) & 0xFF;
        sums.red += p >> 16;
    }
    return sums;
}

inline ChannelSums sumColours(const std::uint32_t* colours, std::uint32_t n) {
    return sumColours(reinterpret_cast<const std::uint8_t*>(colours), n);
}

inline void operator+=(ChannelSums& sums, const ChannelSums& more) {
    sums.blue += more.blue;
    sums.green += more.green;
    sums.red += more.red;
}

// Every box owns one contiguous range of an arena, so that a box is evaluated from its own
// colours instead of testing the whole population against its bounds. Splitting a box
// partitions its range in place (through a scratch buffer) and sums each child's channels on
// the way, so a child's evaluation costs nothing.
//
// The root's colours are the caller's runs, read where they lie and never copied as such:
// splitting the root only counts and sums its children. When the first of those children is
// split, all of them are laid out in the main arena at once, already partitioned into their
// own children (64 buckets), so the first two levels cost one copy of the population.
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
        ChannelSums sums;
    };
    std::vector<ColorBox> boxes;
    std::vector<Range> ranges;
    const ColourRun* runs = nullptr;
    std::size_t runCount = 0;
    std::uint32_t populationSize = 0;
    std::vector<std::unique_ptr<std::uint32_t[]>> arenas;  // 0: the main one, made when needed
    std::unique_ptr<std::uint32_t[]> scratch;
    std::uint32_t scratchSize = 0;
    bool laidOut = false;  // the root's children are in the main arena
    std::uint32_t bucketBegin[65] = {};
    ChannelSums bucketSums[64];
    float reciprocal = 0.0f;
    std::uint32_t evaluated = 0;
    PaletteEntry* palette = nullptr;
    int filled = 0;
    int maxColours = 0;

    template <typename F>
    void forEachRun(F&& f) {
        for (std::size_t k = 0; k < runCount; ++k) {
            if (runs[k].count > 0)
                f(runs[k].bytes, static_cast<std::uint32_t>(runs[k].count));
        }
    }

    static bool splittable(const ColorBox& box) {
        return (box.flags & ColorBox::kEvaluated) && !(box.flags & ColorBox::kUnusable) &&
               box.count > 1 && box.meanRed != box.minRed && box.meanRed != box.maxRed &&
               box.meanGreen != box.minGreen && box.meanGreen != box.maxGreen &&
               box.meanBlue != box.minBlue && box.meanBlue != box.maxBlue;
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
        forEachRun([&](const std::uint8_t* colours, std::uint32_t n) {
            for (std::uint32_t i = 0; i < n; ++i)
                count += inside(colourAt(colours + 4 * i)) ? 1 : 0;
        });
        std::unique_ptr<std::uint32_t[]> arena(new std::uint32_t[count + 1]);
        std::uint32_t* out = arena.get();
        forEachRun([&](const std::uint8_t* colours, std::uint32_t n) {
            for (std::uint32_t i = 0; i < n; ++i) {
                const std::uint32_t p = colourAt(colours + 4 * i);
                if (inside(p))
                    *out++ = p;
            }
        });
        range.sums = sumColours(arena.get(), count);
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
        if (!range.summed) {  // the root
            forEachRun([&](const std::uint8_t* colours, std::uint32_t n) {
                range.sums += sumColours(colours, n);
            });
            range.summed = true;
        }
        box.count = range.end - range.begin;
        const double inverse = 1.0 / static_cast<double>(box.count);
        box.meanBlue = static_cast<std::uint8_t>(static_cast<double>(range.sums.blue) * inverse);
        box.meanGreen = static_cast<std::uint8_t>(static_cast<double>(range.sums.green) * inverse);
        box.meanRed = static_cast<std::uint8_t>(static_cast<double>(range.sums.red) * inverse);
        ++evaluated;
        box.flags |= ColorBox::kEvaluated;
    }

    // The root's children: counted and summed from the runs, not yet placed anywhere.
    void splitRoot() {
        const MeanTest test(boxes[0]);
        std::uint32_t counts[4][8] = {};
        ChannelSums sums[4][8];
        auto add = [&](int lane, unsigned slot, std::uint32_t p) {
            ++counts[lane][slot];
            ChannelSums& s = sums[lane][slot];
            s.blue += p & 0xFF;
            s.green += (p >> 8) & 0xFF;
            s.red += p >> 16;
        };
        forEachRun([&](const std::uint8_t* in, std::uint32_t n) {
            std::uint32_t i = 0;
#if SLIPWAY_SSE2
            const __m128i means = _mm_set1_epi32(static_cast<int>(test.word()));
            for (; i + 4 <= n; i += 4) {
                const unsigned mask = atLeastMask(in + 4 * i, means);
                for (int k = 0; k < 4; ++k)
                    add(k, slotIn(mask, k), colourAt(in + 4 * (i + k)));
            }
#endif
            for (; i < n; ++i) {
                const std::uint32_t p = colourAt(in + 4 * i);
                add(0, test.slot(p), p);
            }
        });
        std::uint32_t offsets[8], totals[8];
        ChannelSums childSums[8];
        for (int c = 0; c < 8; ++c) {
            totals[c] = counts[0][c] + counts[1][c] + counts[2][c] + counts[3][c];
            offsets[c] = 0;  // placed later
            for (int k = 0; k < 4; ++k)
                childSums[c] += sums[k][c];
        }
        makeChildren(0, 0, offsets, totals, childSums);
    }

    // Places the root's children in the main arena, each already partitioned by its own means
    // (the buckets of a child that will not be split are never used one by one).
    void layOutRootChildren() {
        laidOut = true;
        MeanTest childTest[8];
        for (int c = 0; c < 8; ++c) {
            const std::int32_t child = boxes[0].children[c];
            if (child >= 0 && splittable(boxes[static_cast<std::size_t>(child)])) {
                childTest[c] = MeanTest(boxes[static_cast<std::size_t>(child)]);
            } else {
                // Its buckets are never used apart: any spread among its own will do.
                childTest[c].blue = childTest[c].green = childTest[c].red = 255;
            }
        }
        const MeanTest rootTest(boxes[0]);
        auto bucketOf = [&](std::uint32_t p) {
            const unsigned c = rootTest.slot(p);
            return c * 8 + childTest[c].slot(p);
        };
#if SLIPWAY_SSE2
        std::uint32_t childWord[8];
        for (int c = 0; c < 8; ++c)
            childWord[c] = childTest[c].word();
#endif
        arenas[0].reset(new std::uint32_t[populationSize]);
        std::uint32_t* out = arenas[0].get();
        auto visit = [&](auto&& place) {
            forEachRun([&](const std::uint8_t* in, std::uint32_t n) {
                std::uint32_t i = 0;
#if SLIPWAY_SSE2
                const __m128i rootMeans = _mm_set1_epi32(static_cast<int>(rootTest.word()));
                for (; i + 4 <= n; i += 4) {
                    const std::uint8_t* four = in + 4 * i;
                    const unsigned first = atLeastMask(four, rootMeans);
                    unsigned c[4];
                    for (int k = 0; k < 4; ++k)
                        c[k] = slotIn(first, k);
                    const __m128i childMeans = _mm_set_epi32(
                        static_cast<int>(childWord[c[3]]), static_cast<int>(childWord[c[2]]),
                        static_cast<int>(childWord[c[1]]), static_cast<int>(childWord[c[0]]));
                    const unsigned second = atLeastMask(four, childMeans);
                    for (int k = 0; k < 4; ++k)
                        place(k, c[k] * 8 + slotIn(second, k), four + 4 * k);
                }
#endif
                for (; i < n; ++i)
                    place(0, bucketOf(colourAt(in + 4 * i)), in + 4 * i);
            });
        };
        LaneCounts<64> lanes;
        visit(
            [&](int lane, unsigned bucket, const std::uint8_t*) { ++lanes.counts[lane][bucket]; });
        lanes.layOut(0);
        visit([&](int lane, unsigned bucket, const std::uint8_t* colour) {
            out[lanes.cursor[lane][bucket]++] = colourAt(colour);
        });
        for (int b = 0; b < 64; ++b) {
            bucketBegin[b] = lanes.begin[b];
            bucketSums[b] = sumColours(out + lanes.begin[b], lanes.begin[b + 1] - lanes.begin[b]);
        }
        bucketBegin[64] = lanes.begin[64];
        // The root's children now have their places: the span of their buckets.
        for (int c = 0; c < 8; ++c) {
            const std::int32_t child = boxes[0].children[c];
            if (child < 0)
                continue;
            Range& range = ranges[static_cast<std::size_t>(child)];
            range.begin = bucketBegin[c * 8];
            range.end = bucketBegin[c * 8 + 8];
        }
    }

    // A child of the root, from the buckets it was laid out in.
    void splitRootChild(std::size_t index) {
        if (!laidOut)
            layOutRootChildren();
        int c = 0;
        while (c < 8 && boxes[0].children[c] != static_cast<std::int32_t>(index))
            ++c;
        std::uint32_t offsets[8], counts[8];
        ChannelSums sums[8];
        for (int k = 0; k < 8; ++k) {
            offsets[k] = bucketBegin[c * 8 + k];
            counts[k] = bucketBegin[c * 8 + k + 1] - bucketBegin[c * 8 + k];
            sums[k] = bucketSums[c * 8 + k];
        }
        makeChildren(index, 0, offsets, counts, sums);
    }

    // Any deeper box: its range is partitioned in place.
    void splitInPlace(std::size_t index) {
        const Range range = ranges[index];
        const MeanTest test(boxes[index]);
        std::uint32_t* colours = arenas[range.arena].get() + range.begin;
        const std::uint32_t n = range.end - range.begin;
        if (scratchSize < n) {
            scratch.reset();
            scratch.reset(new std::uint32_t[n]);
            scratchSize = n;
        }
        std::uint32_t* out = scratch.get();
        auto visit = [&](auto&& place) {
            std::uint32_t i = 0;
#if SLIPWAY_SSE2
            const __m128i means = _mm_set1_epi32(static_cast<int>(test.word()));
            for (; i + 4 <= n; i += 4) {
                const unsigned mask =
                    atLeastMask(reinterpret_cast<const std::uint8_t*>(colours + i), means);
                for (int k = 0; k < 4; ++k)
                    place(k, slotIn(mask, k), colours[i + k]);
            }
#endif
            for (; i < n; ++i)
                place(0, test.slot(colours[i]), colours[i]);
        };
        LaneCounts<8> lanes;
        visit([&](int lane, unsigned slot, std::uint32_t) { ++lanes.counts[lane][slot]; });
        lanes.layOut(0);
        visit(
            [&](int lane, unsigned slot, std::uint32_t p) { out[lanes.cursor[lane][slot]++] = p; });
        std::uint32_t offsets[8], counts[8];
        ChannelSums sums[8];
        for (int c = 0; c < 8; ++c) {
            offsets[c] = range.begin + lanes.begin[c];
            counts[c] = lanes.begin[c + 1] - lanes.begin[c];
            sums[c] = sumColours(out + lanes.begin[c], counts[c]);
        }
        std::memcpy(colours, out, std::size_t{n} * sizeof(std::uint32_t));
        makeChildren(index, range.arena, offsets, counts, sums);
    }

    void split(std::size_t index) {
        boxes[index].flags |= ColorBox::kSplitDone;
        if (!splittable(boxes[index]))
            return;
        if (index == 0) {
            splitRoot();
        } else if (boxes[index].depth == 1) {
            splitRootChild(index);
        } else {
            splitInPlace(index);
        }
    }

    // A child's bounds in one channel: [mean, max] for the upper half, [min, mean - 1] for the
    // lower one (empty, wrapped or beyond the parent as the mean makes it).
    static void takeHalf(bool upper, std::uint8_t min, std::uint8_t mean, std::uint8_t max,
                         std::uint8_t& childMin, std::uint8_t& childMax) {
        childMin = upper ? mean : min;
        childMax = upper ? max : static_cast<std::uint8_t>(mean - 1);
    }

    void makeChildren(std::size_t index, std::uint32_t arena, const std::uint32_t* offsets,
                      const std::uint32_t* counts, const ChannelSums* sums) {
        const ColorBox parent = boxes[index];
        for (int c = 0; c < 8; ++c) {
            ColorBox child;
            child.depth = parent.depth + 1;
            takeHalf(c & 1, parent.minRed, parent.meanRed, parent.maxRed, child.minRed,
                     child.maxRed);
            takeHalf(c & 2, parent.minGreen, parent.meanGreen, parent.maxGreen, child.minGreen,
                     child.maxGreen);
            takeHalf(c & 4, parent.minBlue, parent.meanBlue, parent.maxBlue, child.minBlue,
                     child.maxBlue);
            if (child.minRed >= child.maxRed || child.minGreen >= child.maxGreen ||
                child.minBlue >= child.maxBlue) {
                child.flags = ColorBox::kUnusable;
            }
            const bool beyond = child.minRed < parent.minRed || child.minGreen < parent.minGreen ||
                                child.minBlue < parent.minBlue;
            if (beyond && !(child.flags & ColorBox::kUnusable)) {
                ranges.push_back(gather(child));
            } else {
                ranges.push_back(Range{arena, offsets[c], offsets[c] + counts[c], true, sums[c]});
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
        q.populationSize = static_cast<std::uint32_t>(count);
        q.arenas.emplace_back();
        q.reciprocal = 1.0f / static_cast<float>(count);
        q.palette = palette;
        q.maxColours = maxColours;
        q.boxes.emplace_back();
        q.ranges.push_back(Quantizer::Range{0, 0, static_cast<std::uint32_t>(count), false, {}});
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
