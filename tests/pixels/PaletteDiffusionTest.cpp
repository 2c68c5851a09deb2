#include <gtest/gtest.h>

#include "PixelTestSupport.h"
#include "pixels/HighColourDiffusion.h"
#include "pixels/PaletteDiffusion.h"

namespace slipway {
namespace {

int linearNearest(const Palette& p, int first, int b, int g, int r) {
    int best = first;
    long bestDistance = -1;
    for (int i = first; i < 256; ++i) {
        const long db = p[i * 3] - b, dg = p[i * 3 + 1] - g, dr = p[i * 3 + 2] - r;
        const long d = db * db + 3 * dg * dg + 2 * dr * dr;
        if (bestDistance < 0 || d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return best;
}

// Both widths of search, where the processor has the wide one (else both are four).
constexpr SearchWidth kWidths[] = {SearchWidth::Four, SearchWidth::Widest};

// Palettes with duplicates and equidistant entries make ties; the block lists must keep every
// entry that can win, and the lowest index must win a tie.
TEST(PaletteSearch, AgreesWithTheLinearSearch) {
    test::TestRandom random(7);
    std::vector<Palette> palettes;
    Palette p{};
    palettes.push_back(p);  // all black
    for (auto& v : p)
        v = static_cast<std::uint8_t>(random.next());
    palettes.push_back(p);  // random
    for (int i = 0; i < 256; ++i) {
        p[i * 3] = static_cast<std::uint8_t>((i % 4) * 64);  // few distinct, many duplicates
        p[i * 3 + 1] = static_cast<std::uint8_t>(((i / 4) % 4) * 80);
        p[i * 3 + 2] = static_cast<std::uint8_t>(((i / 16) % 2) * 200 + 20);
    }
    palettes.push_back(p);
    for (int i = 0; i < 256; ++i) {  // a grey ramp in steps of 8: many ties halfway
        p[i * 3] = p[i * 3 + 1] = p[i * 3 + 2] = static_cast<std::uint8_t>((i % 32) * 8 + 4);
    }
    palettes.push_back(p);

    for (const Palette& palette : palettes) {
        for (int first : {0, 1}) {
            for (SearchWidth width : kWidths) {
                PaletteSearch search(palette, first, width);
                for (int i = 0; i < 4000; ++i) {
                    const std::uint32_t v = random.next();
                    const int b = v & 0xFF, g = (v >> 8) & 0xFF, r = (v >> 16) & 0xFF;
                    ASSERT_EQ(
                        search.nearest(static_cast<std::uint8_t>(b), static_cast<std::uint8_t>(g),
                                       static_cast<std::uint8_t>(r)),
                        linearNearest(palette, first, b, g, r))
                        << b << "," << g << "," << r << " from " << first << " width "
                        << static_cast<int>(search.width());
                }
            }
        }
    }
}

TEST(PaletteSearch, DiffusionEqualsTheGeneralConversion) {
    const std::pair<std::uint32_t, std::uint32_t> sizes[] = {{23, 11}, {1, 5}, {2, 2}, {6, 9}};
    for (auto [w, h] : sizes) {
        for (std::uint32_t format : {32u | formatAlpha, 32u, 24u}) {
            for (test::Pattern pattern : test::kAllPatterns) {
                const PixelImage source = test::makePicture(pattern, w, h, format, format);
                Palette palette;
                test::TestRandom random(format + w);
                for (auto& v : palette)
                    v = static_cast<std::uint8_t>(random.next() & 0xF0);
                for (std::uint32_t alpha : {0u, formatAlpha}) {
                    PixelImage general;
                    general.setPalette(palette);
                    ASSERT_TRUE(general.create(w, h, 8 | alpha));
                    ASSERT_TRUE(general.convertFrom(source));
                    for (SearchWidth width : kWidths) {
                        PaletteSearch search(palette, alpha ? 1 : 0, width);
                        PixelImage fast;
                        fast.setPalette(palette);
                        ASSERT_TRUE(fast.create(w, h, 8 | alpha));
                        ASSERT_TRUE(diffuseOntoPalette(source, fast, &search));
                        EXPECT_TRUE(std::equal(fast.pixels(), fast.pixels() + fast.byteSize(),
                                               general.pixels()))
                            << w << "x" << h << " " << format << " " << test::patternName(pattern)
                            << " " << alpha << " width " << static_cast<int>(search.width());
                    }
                }
            }
        }
    }
    PixelImage source16 = test::makePicture(test::Pattern::Noise, 4, 4, 1, 16);
    PixelImage target;
    target.create(4, 4, 8);
    EXPECT_FALSE(diffuseOntoPalette(source16, target));
}

}  // namespace
}  // namespace slipway

namespace slipway {
namespace {

TEST(HighColourDiffusion, EqualsTheGeneralConversion) {
    const std::pair<std::uint32_t, std::uint32_t> sizes[] = {{1, 1}, {1, 7}, {2, 3}, {19, 6}};
    for (auto [w, h] : sizes) {
        for (std::uint32_t sourceFormat : {32u | formatAlpha, 32u, 24u}) {
            for (std::uint32_t format : {16u, 15u | formatAlpha, 15u, 12u | formatAlpha}) {
                for (test::Pattern pattern : test::kAllPatterns) {
                    const PixelImage source = test::makePicture(pattern, w, h, w * h, sourceFormat);
                    PixelImage fast, general;
                    ASSERT_TRUE(fast.create(w, h, format));
                    ASSERT_TRUE(general.create(w, h, format));
                    ASSERT_TRUE(diffuseToHighColour(source, fast));
                    ASSERT_TRUE(general.convertFrom(source));
                    EXPECT_TRUE(std::equal(fast.pixels(), fast.pixels() + fast.byteSize(),
                                           general.pixels()))
                        << w << "x" << h << " " << sourceFormat << " -> " << format << " "
                        << test::patternName(pattern);
                }
            }
        }
    }
    PixelImage source8 = test::makePicture(test::Pattern::Noise, 4, 4, 1, 8);
    PixelImage target;
    target.create(4, 4, 16);
    EXPECT_FALSE(diffuseToHighColour(source8, target));
}

}  // namespace
}  // namespace slipway
