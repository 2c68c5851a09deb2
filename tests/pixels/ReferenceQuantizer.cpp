#include "ReferenceQuantizer.h"

#include <memory>

namespace slipway::reference {
namespace {

struct Box {
    int flags = 0;
    int minR = 0, minG = 0, minB = 0;
    int maxR = 255, maxG = 255, maxB = 255;
    int meanR = 0, meanG = 0, meanB = 0;
    unsigned long long count = 0;
    int depth = 0;
    std::unique_ptr<Box> child[8];
};

struct Run {
    const Bgra* pixels;
    std::size_t n;
    float reciprocal;
    int evaluated = 0;
    PaletteEntry* palette;
    int filled = 0;
    int maxColours;

    void pass(Box& box) {
        if (box.flags & 4)
            return;
        if (!(box.flags & 1)) {
            unsigned long long count = 0, sb = 0, sg = 0, sr = 0;
            for (std::size_t i = 0; i < n; ++i) {
                const Bgra& p = pixels[i];
                if (p.b >= box.minB && p.b <= box.maxB && p.g >= box.minG && p.g <= box.maxG &&
                    p.r >= box.minR && p.r <= box.maxR) {
                    ++count;
                    sb += p.b;
                    sg += p.g;
                    sr += p.r;
                }
            }
            if (count == 0) {
                box.flags |= 4;
                return;
            }
            box.count = count;
            box.meanB = static_cast<int>(static_cast<double>(sb) * (1.0 / count));
            box.meanG = static_cast<int>(static_cast<double>(sg) * (1.0 / count));
            box.meanR = static_cast<int>(static_cast<double>(sr) * (1.0 / count));
            ++evaluated;
            box.flags |= 1;
            return;
        }
        if (!(box.flags & 2)) {
            if (box.count <= 1 || box.meanR == box.minR || box.meanR == box.maxR ||
                box.meanG == box.minG || box.meanG == box.maxG || box.meanB == box.minB ||
                box.meanB == box.maxB) {
                box.flags |= 2;
            } else {
                for (int i = 0; i < 8; ++i) {
                    auto c = std::make_unique<Box>();
                    c->minR = (i & 1) ? box.meanR : box.minR;
                    c->maxR = (i & 1) ? box.maxR : box.meanR - 1;
                    c->minG = (i & 2) ? box.meanG : box.minG;
                    c->maxG = (i & 2) ? box.maxG : box.meanG - 1;
                    c->minB = (i & 4) ? box.meanB : box.minB;
                    c->maxB = (i & 4) ? box.maxB : box.meanB - 1;
                    if (!(c->minR < c->maxR) || !(c->minG < c->maxG) || !(c->minB < c->maxB)) {
                        c->flags = 4;
                    }
                    c->depth = box.depth + 1;
                    box.child[i] = std::move(c);
                }
                box.flags |= 2;
            }
        }
        for (int i = 0; i < 8; ++i) {
            if (box.child[i])
                pass(*box.child[i]);
        }
    }

    void collect(const Box& box) {
        if ((box.flags & 1) && box.count > 0) {
            const int w = static_cast<int>(box.count * static_cast<double>(reciprocal) * 255.0);
            bool done = false;
            for (int i = 0; i < filled && !done; ++i) {
                if (palette[i].red == box.meanR && palette[i].green == box.meanG &&
                    palette[i].blue == box.meanB) {
                    const int sum = palette[i].weight + w;
                    palette[i].weight = static_cast<std::uint8_t>(sum > 255 ? 255 : sum);
                    done = true;
                }
            }
            const PaletteEntry e{
                static_cast<std::uint8_t>(box.meanB), static_cast<std::uint8_t>(box.meanG),
                static_cast<std::uint8_t>(box.meanR), static_cast<std::uint8_t>(w)};
            if (!done && filled < maxColours) {
                palette[filled++] = e;
            } else if (!done) {
                for (int i = 0; i < filled; ++i) {
                    if (palette[i].weight < w) {
                        palette[i] = e;
                        break;
                    }
                }
            }
        }
        if (!(box.flags & 1) || box.count == 0)
            return;
        for (int i = 0; i < 8; ++i) {
            if (box.child[i])
                collect(*box.child[i]);
        }
    }

    void emptyAndCollect(const Box& root) {
        for (int i = 0; i < maxColours; ++i)
            palette[i] = PaletteEntry{0, 0, 0, 0};
        filled = 0;
        collect(root);
    }
};

}  // namespace

int quantize(const Bgra* pixels, std::size_t count, PaletteEntry* palette, int maxColours) {
    if (!pixels || !palette || count == 0 || maxColours == 0)
        return 0;
    Run run{pixels, count, 1.0f / static_cast<float>(count), 0, palette, 0, maxColours};
    Box root;
    for (;;) {
        const int before = run.evaluated;
        run.pass(root);
        if (run.evaluated == before) {
            run.emptyAndCollect(root);
            return run.filled;
        }
        if (run.evaluated <= maxColours)
            continue;
        run.emptyAndCollect(root);
        if (run.filled == maxColours)
            return run.filled;
    }
}

}  // namespace slipway::reference
