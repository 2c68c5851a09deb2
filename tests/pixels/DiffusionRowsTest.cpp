// The fast diffusion onto a palette and into 16, 15 and 12 bits (one row loop, vector or plain
// as built) against the pixel-at-a-time reference, from sources of every depth.

#include <gtest/gtest.h>

#include "PixelTestSupport.h"
#include "pixels/HighColourDiffusion.h"
#include "pixels/LiteralPixels.h"
#include "pixels/PaletteDiffusion.h"
#include "pixels/PaletteSearch.h"

namespace slipway {
namespace {

// Narrow and short pictures end the bands of rows early: below two rows, below four, and
// no more columns than the rows of a band lag behind each other (or just one more).
const std::pair<std::uint32_t, std::uint32_t> kSizes[] = {
    {1, 1}, {1, 5}, {2, 2}, {2, 3}, {5, 9}, {6, 9}, {8, 5}, {9, 4}, {19, 6}, {23, 11}};
const std::uint32_t kTargets[] = {8,  8 | formatAlpha, 16, 15, 15 | formatAlpha,
                                  12, 12 | formatAlpha};
// 24 and 32 bits are read in place, the others decoded a band of rows at a time.
const std::uint32_t kSources[] = {32 | formatAlpha, 32, 24, 16, 15 | formatAlpha, 12 | formatAlpha,
                                  8 | formatAlpha,  8};

Palette coarsePalette(std::uint32_t seed) {
    Palette palette;
    test::TestRandom random(seed);
    for (auto& v : palette)
        v = static_cast<std::uint8_t>(random.next() & 0xF0);
    return palette;
}

// Runs the fast diffusion of the target's depth; 8-bit targets with each width of search.
bool diffuseFast(const PixelImage& source, PixelImage& target, SearchWidth width) {
    if (target.bitsPerPixel() != 8)
        return diffuseToHighColour(source, target);
    PaletteSearch search(target.palette(), target.hasAlpha() ? 1 : 0, width);
    return diffuseOntoPalette(source, target, &search);
}

TEST(DiffusionRows, EqualsThePixelAtATimeDiffusion) {
    for (auto [w, h] : kSizes) {
        for (std::uint32_t sourceFormat : kSources) {
            for (test::Pattern pattern : test::kAllPatterns) {
                const PixelImage source = test::makePicture(pattern, w, h, w * h, sourceFormat);
                for (std::uint32_t format : kTargets) {
                    PixelImage expected;
                    expected.setPalette(coarsePalette(format + w));
                    ASSERT_TRUE(expected.create(w, h, format));
                    test::literalDiffuse(expected, source);
                    const bool onPalette = (format & kBitsPerPixelMask) == 8;
                    for (SearchWidth width : {SearchWidth::Widest, SearchWidth::Four}) {
                        if (width == SearchWidth::Four && !onPalette)
                            continue;  // no search

                        PixelImage fast;
                        fast.setPalette(expected.palette());
                        ASSERT_TRUE(fast.create(w, h, format));
                        ASSERT_TRUE(diffuseFast(source, fast, width));
                        EXPECT_TRUE(std::equal(fast.pixels(), fast.pixels() + fast.byteSize(),
                                               expected.pixels()))
                            << w << "x" << h << " " << sourceFormat << " -> " << format << " "
                            << test::patternName(pattern) << " width " << static_cast<int>(width);
                        EXPECT_TRUE(fast.format() & formatFilled);
                    }
                }
            }
        }
    }
}

// A search made for another palette, or for the other first index, is not used.
TEST(DiffusionRows, LeavesASearchForAnotherPaletteAside) {
    const PixelImage source = test::makePicture(test::Pattern::Noise, 9, 7, 3, 32 | formatAlpha);
    for (std::uint32_t format : {8u, 8u | formatAlpha}) {
        PixelImage expected;
        expected.setPalette(coarsePalette(5));
        ASSERT_TRUE(expected.create(9, 7, format));
        test::literalDiffuse(expected, source);
        const int first = (format & formatAlpha) ? 1 : 0;
        PaletteSearch otherPalette(coarsePalette(6), first);
        PaletteSearch otherFirst(expected.palette(), 1 - first);
        for (PaletteSearch* search : {&otherPalette, &otherFirst}) {
            PixelImage fast;
            fast.setPalette(expected.palette());
            ASSERT_TRUE(fast.create(9, 7, format));
            ASSERT_TRUE(diffuseOntoPalette(source, fast, search));
            EXPECT_TRUE(
                std::equal(fast.pixels(), fast.pixels() + fast.byteSize(), expected.pixels()))
                << format;
        }
    }
}

TEST(DiffusionRows, RefusesOtherTargetsSizesAndItself) {
    const PixelImage source16 = test::makePicture(test::Pattern::Noise, 4, 4, 1, 16);
    const PixelImage source32 = test::makePicture(test::Pattern::Noise, 4, 4, 1, 32);
    const PixelImage empty;
    struct Case {
        const PixelImage& source;
        std::uint32_t w, h, format;
    } const cases[] = {
        {source32, 4, 4, 24}, {source16, 4, 4, 32}, {source32, 4, 3, 8},
        {source16, 3, 4, 16}, {empty, 4, 4, 8},     {empty, 4, 4, 12},
    };
    for (const Case& c : cases) {
        PixelImage target;
        ASSERT_TRUE(target.create(c.w, c.h, c.format));
        EXPECT_FALSE(diffuseOntoPalette(c.source, target)) << c.format;
        EXPECT_FALSE(diffuseToHighColour(c.source, target)) << c.format;
        EXPECT_FALSE(target.format() & formatFilled);
    }
    PixelImage self = test::makePicture(test::Pattern::Noise, 4, 4, 1, 8);
    EXPECT_FALSE(diffuseOntoPalette(self, self));
    self = test::makePicture(test::Pattern::Noise, 4, 4, 1, 16);
    EXPECT_FALSE(diffuseToHighColour(self, self));
}

}  // namespace
}  // namespace slipway
