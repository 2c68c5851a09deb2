#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "PixelPatterns.h"
#include "ReferenceQuantizer.h"
#include "pixels/ColorQuantizer.h"

namespace slipway {
namespace {

using test::Pattern;

std::vector<PaletteEntry> run(const std::vector<Bgra>& pixels, int maxColours, int* filled) {
    std::vector<PaletteEntry> palette(256, PaletteEntry{1, 2, 3, 4});
    *filled = quantize(pixels.data(), pixels.size(), palette.data(), maxColours);
    return palette;
}

bool same(const PaletteEntry& e, int b, int g, int r, int w) {
    return e.blue == b && e.green == g && e.red == r && e.weight == w;
}

TEST(ColorQuantizer, OneColourMergesIntoOneFullWeightEntry) {
    const std::vector<Bgra> pixels(37, Bgra{30, 20, 10, 0});
    int filled = 0;
    const auto palette = run(pixels, 256, &filled);
    ASSERT_EQ(filled, 1);
    EXPECT_TRUE(same(palette[0], 30, 20, 10, 255));
}

TEST(ColorQuantizer, BlackAndWhiteGiveTheRootMeanAndTwoCorners) {
    std::vector<Bgra> pixels;
    for (int i = 0; i < 10; ++i) {
        pixels.push_back(Bgra{0, 0, 0, 255});
        pixels.push_back(Bgra{255, 255, 255, 255});
    }
    int filled = 0;
    const auto palette = run(pixels, 256, &filled);
    ASSERT_EQ(filled, 3);
    EXPECT_TRUE(same(palette[0], 127, 127, 127, 255));
    EXPECT_TRUE(same(palette[1], 0, 0, 0, 127));
    EXPECT_TRUE(same(palette[2], 255, 255, 255, 127));
}

TEST(ColorQuantizer, NothingToDoLeavesThePaletteAlone) {
    const std::vector<Bgra> pixels(4, Bgra{9, 9, 9, 9});
    std::vector<PaletteEntry> palette(4, PaletteEntry{1, 2, 3, 4});
    EXPECT_EQ(quantize(pixels.data(), pixels.size(), palette.data(), 0), 0);
    EXPECT_EQ(quantize(pixels.data(), 0, palette.data(), 4), 0);
    EXPECT_EQ(quantize(nullptr, 4, palette.data(), 4), 0);
    EXPECT_EQ(quantize(pixels.data(), 4, nullptr, 4), 0);
    for (const PaletteEntry& e : palette)
        EXPECT_TRUE(same(e, 1, 2, 3, 4));
}

TEST(ColorQuantizer, SingleValueHalfIsDroppedAndOnlyTheParentMeanRepresentsIt) {
    // Root mean 1 in every channel: the lower halves are [0, 0], unusable, so the pixels at 0
    // are represented by the root only; the upper child (all channels in [1, 255]) holds 2s.
    std::vector<Bgra> pixels;
    for (int i = 0; i < 2; ++i)
        pixels.push_back(Bgra{0, 0, 0, 255});
    pixels.push_back(Bgra{3, 3, 3, 255});
    int filled = 0;
    const auto palette = run(pixels, 256, &filled);
    ASSERT_EQ(filled, 2);
    EXPECT_TRUE(same(palette[0], 1, 1, 1, 255));
    EXPECT_TRUE(same(palette[1], 3, 3, 3, 85));
}

// A box whose colours all share one red value can get a mean one below it (the mean is
// truncated from sum x (1 / count)); its upper children then reach one value below the box and
// take in colours of the neighbouring box. Here the box of the 49 colours with red 48 gets mean
// red 47, and its upper-red children include the 10 colours with red 47.
TEST(ColorQuantizer, ChildrenReachingBelowTheirBoxCountTheNeighbours) {
    std::vector<Bgra> pixels;
    for (int i = 0; i < 49; ++i) {
        pixels.push_back(Bgra{static_cast<std::uint8_t>(10 + (i * 7) % 21),
                              static_cast<std::uint8_t>(10 + i % 21), 48, 255});
    }
    for (int i = 0; i < 10; ++i) {
        const auto v = static_cast<std::uint8_t>(15 + i % 5);
        pixels.push_back(Bgra{v, v, 47, 255});
    }
    for (int i = 0; i < 60; ++i)
        pixels.push_back(Bgra{200, 200, 49, 255});
    std::vector<PaletteEntry> expected(256), actual(256);
    const int n1 = reference::quantize(pixels.data(), pixels.size(), expected.data(), 256);
    const int n2 = quantize(pixels.data(), pixels.size(), actual.data(), 256);
    ASSERT_EQ(n1, n2);
    EXPECT_EQ(std::memcmp(expected.data(), actual.data(), 256 * 4), 0);
}

// The fast quantizer must give exactly the reference's palette on every kind of population.
TEST(ColorQuantizer, MatchesTheReferenceOnGeneratedPopulations) {
    const int limits[] = {256, 255, 16, 3, 1};
    const std::pair<int, int> sizes[] = {{1, 1}, {2, 3}, {17, 9}, {64, 64}, {100, 37}};
    for (Pattern pattern : test::kAllPatterns) {
        for (auto [w, h] : sizes) {
            for (std::uint32_t seed = 1; seed <= 2; ++seed) {
                const auto pixels = test::makePattern(pattern, w, h, seed);
                for (int limit : limits) {
                    std::vector<PaletteEntry> expected(256, PaletteEntry{7, 7, 7, 7});
                    std::vector<PaletteEntry> actual(256, PaletteEntry{7, 7, 7, 7});
                    const int n1 =
                        reference::quantize(pixels.data(), pixels.size(), expected.data(), limit);
                    const int n2 = quantize(pixels.data(), pixels.size(), actual.data(), limit);
                    ASSERT_EQ(n1, n2) << test::patternName(pattern) << " " << w << "x" << h;
                    ASSERT_EQ(std::memcmp(expected.data(), actual.data(), 256 * 4), 0)
                        << test::patternName(pattern) << " " << w << "x" << h << " limit " << limit;
                }
            }
        }
    }
}

}  // namespace
}  // namespace slipway
