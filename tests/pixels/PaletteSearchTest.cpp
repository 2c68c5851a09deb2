#include "pixels/PaletteSearch.h"

#include <gtest/gtest.h>

#include <vector>

#include "PixelPatterns.h"
#include "pixels/LiteralPixels.h"

namespace slipway {
namespace {

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
                    const Bgra c{static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                                 static_cast<std::uint8_t>(v >> 16), 255};
                    ASSERT_EQ(search.nearest(c.b, c.g, c.r),
                              test::literalNearest(palette, first, c))
                        << int(c.b) << "," << int(c.g) << "," << int(c.r) << " from " << first
                        << " width " << static_cast<int>(search.width());
                }
            }
        }
    }
}

TEST(PaletteSearch, AnswersOnlyForItsPaletteAndFirstIndex) {
    Palette palette{};
    palette[5] = 1;
    const PaletteSearch search(palette, 1, SearchWidth::Four);
    EXPECT_EQ(search.width(), SearchWidth::Four);
    EXPECT_EQ(search.firstIndex(), 1);
    EXPECT_TRUE(search.answers(palette, 1));
    EXPECT_FALSE(search.answers(palette, 0));
    Palette other = palette;
    other[767] = 1;
    EXPECT_FALSE(search.answers(other, 1));
}

}  // namespace
}  // namespace slipway
