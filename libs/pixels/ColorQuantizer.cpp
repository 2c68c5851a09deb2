#include "pixels/ColorQuantizer.h"

#include <cstring>
#include <new>
#include <vector>

namespace slipway {
namespace {

// Pixels are kept packed (blue | green << 8 | red << 16) and partitioned so that every
// evaluated box owns one contiguous range: evaluating a child then reads only its own pixels
// instead of testing the whole population against its bounds.
struct Quantizer {
    std::vector<ColorBox> boxes;
    std::vector<std::uint32_t> begin;
    std::vector<std::uint32_t> end;
    std::vector<std::uint32_t> pixels;
    std::vector<std::uint32_t> scratch;
    float reciprocal = 0.0f;
    std::uint32_t evaluated = 0;
    PaletteEntry* palette = nullptr;
    int filled = 0;
    int maxColours = 0;

    void evaluate(std::size_t index) {
        const std::uint32_t first = begin[index];
        const std::uint32_t last = end[index];
        ColorBox& box = boxes[index];
        if (first == last) {
            box.flags |= ColorBox::kUnusable;
            return;
        }
        std::uint64_t sumBlue = 0, sumGreen = 0, sumRed = 0;
        for (std::uint32_t i = first; i < last; ++i) {
            const std::uint32_t p = pixels[i];
            sumBlue += p & 0xFF;
            sumGreen += (p >> 8) & 0xFF;
            sumRed += p >> 16;
        }
        box.count = last - first;
        const double inverse = 1.0 / static_cast<double>(box.count);
        box.meanBlue = static_cast<std::uint8_t>(static_cast<double>(sumBlue) * inverse);
        box.meanGreen = static_cast<std::uint8_t>(static_cast<double>(sumGreen) * inverse);
        box.meanRed = static_cast<std::uint8_t>(static_cast<double>(sumRed) * inverse);
        ++evaluated;
        box.flags |= ColorBox::kEvaluated;
    }

    void split(std::size_t index) {
        ColorBox parent = boxes[index];
        boxes[index].flags |= ColorBox::kSplitDone;
        if (parent.count <= 1 || parent.meanRed == parent.minRed ||
            parent.meanRed == parent.maxRed || parent.meanGreen == parent.minGreen ||
            parent.meanGreen == parent.maxGreen || parent.meanBlue == parent.minBlue ||
            parent.meanBlue == parent.maxBlue) {
            return;
        }
        const std::uint32_t first = begin[index];
        const std::uint32_t last = end[index];
        const std::uint32_t meanR = parent.meanRed, meanG = parent.meanGreen,
                            meanB = parent.meanBlue;
        auto slot = [&](std::uint32_t p) {
            return static_cast<unsigned>(((p >> 16) >= meanR) |
                                         ((((p >> 8) & 0xFF) >= meanG) << 1) |
                                         (((p & 0xFF) >= meanB) << 2));
        };
        std::uint32_t counts[8] = {};
        for (std::uint32_t i = first; i < last; ++i)
            ++counts[slot(pixels[i])];
        std::uint32_t offsets[8];
        std::uint32_t at = first;
        for (int c = 0; c < 8; ++c) {
            offsets[c] = at;
            at += counts[c];
        }
        std::uint32_t cursor[8];
        std::memcpy(cursor, offsets, sizeof cursor);
        for (std::uint32_t i = first; i < last; ++i) {
            const std::uint32_t p = pixels[i];
            scratch[cursor[slot(p)]++] = p;
        }
        std::memcpy(pixels.data() + first, scratch.data() + first,
                    (last - first) * sizeof(std::uint32_t));

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
            boxes.push_back(child);
            begin.push_back(offsets[c]);
            end.push_back(offsets[c] + counts[c]);
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

int quantize(const Bgra* pixels, std::size_t count, PaletteEntry* palette, int maxColours) {
    if (pixels == nullptr || palette == nullptr || count == 0 || maxColours <= 0)
        return 0;
    if (count > UINT32_MAX)
        return 0;
    try {
        Quantizer q;
        q.pixels.resize(count);
        q.scratch.resize(count);
        for (std::size_t i = 0; i < count; ++i) {
            q.pixels[i] = pixels[i].b | (std::uint32_t{pixels[i].g} << 8) |
                          (std::uint32_t{pixels[i].r} << 16);
        }
        q.reciprocal = 1.0f / static_cast<float>(count);
        q.palette = palette;
        q.maxColours = maxColours;
        q.boxes.emplace_back();
        q.begin.push_back(0);
        q.end.push_back(static_cast<std::uint32_t>(count));
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

}  // namespace slipway
