#include <gtest/gtest.h>

#include "PixelTestSupport.h"
#include "pixels/MipChain.h"

namespace slipway {
namespace {

using test::Pattern;

PixelImage picture32(std::uint32_t width, std::uint32_t height, std::initializer_list<Bgra> px) {
    PixelImage p;
    p.create(width, height, 32 | formatAlpha);
    std::uint32_t i = 0;
    for (const Bgra& c : px) {
        p.setPixel(i % width, i / width, c);
        ++i;
    }
    return p;
}

TEST(MipChain, MipRoundsTheBlockMeanHalfUp) {
    const PixelImage source = picture32(
        2, 2, {{0, 0, 0, 0}, {255, 255, 255, 255}, {255, 255, 255, 255}, {255, 255, 255, 255}});
    PixelImage level;
    ASSERT_TRUE(level.makeMip(source, 1));
    EXPECT_EQ(level.getPixel(0, 0), (Bgra{191, 191, 191, 191}));
    // A level with a zero side stays empty and still succeeds.
    ASSERT_TRUE(level.makeMip(source, 2));
    EXPECT_TRUE(level.isEmpty());
}

TEST(MipChain, ResizeTakesTheAreaWeightedMean) {
    const PixelImage source =
        picture32(4, 1, {{0, 0, 0, 255}, {100, 0, 0, 255}, {200, 0, 0, 255}, {40, 0, 0, 255}});
    PixelImage half;
    ASSERT_TRUE(half.resizeFrom(2, 1, source));
    EXPECT_EQ(half.getPixel(0, 0).b, 50);
    EXPECT_EQ(half.getPixel(1, 0).b, 120);
    EXPECT_FALSE(half.resizeFrom(2, 1, half));
    EXPECT_FALSE(half.resizeFrom(2, 1, PixelImage{}));
}

TEST(MipChain, PowerOfTwoPreparationRoundsSidesUp) {
    const std::pair<std::uint32_t, std::uint32_t> cases[] = {
        {1, 1}, {2, 2}, {3, 4}, {255, 256}, {256, 256}, {300, 512}, {32767, 32768}};
    for (auto [v, p] : cases)
        EXPECT_EQ(powerOfTwoAtLeast(v), p) << v;

    PixelImage source = test::makePicture(Pattern::Gradient, 300 / 10, 200 / 10, 1, 24);
    ASSERT_TRUE(needsPowerOfTwo(source));
    ASSERT_TRUE(resizeToPowerOfTwo(source));
    EXPECT_EQ(source.width(), 32u);
    EXPECT_EQ(source.height(), 32u);
    EXPECT_EQ(source.format() & ~formatFilled, 32u);
    EXPECT_FALSE(needsPowerOfTwo(source));
}

// The fast resampler against the reference on upscales (the preparation's case), downscales
// and odd ratios, for every source depth.
TEST(MipChain, ResizeMatchesTheReference) {
    struct Case {
        std::uint32_t w, h, w2, h2;
    } const cases[] = {{3, 3, 4, 4},     {7, 5, 8, 8}, {13, 3, 16, 4}, {1, 1, 2, 2},
                       {30, 20, 32, 32}, {9, 9, 4, 4}, {10, 7, 3, 5},  {5, 17, 16, 16}};
    const std::uint32_t formats[] = {32 | formatAlpha, 32, 24, 16, 15 | formatAlpha,
                                     12 | formatAlpha, 8};
    for (const Case& c : cases) {
        for (std::uint32_t format : formats) {
            for (Pattern pattern : {Pattern::Noise, Pattern::Gradient}) {
                const PixelImage source =
                    test::makePicture(pattern, c.w, c.h, c.w * 7 + c.h, format);
                PixelImage out;
                ASSERT_TRUE(out.resizeFrom(c.w2, c.h2, source));
                reference::Picture expected;
                ASSERT_TRUE(reference::resizeFrom(expected, c.w2, c.h2, test::toReference(source)));
                // The reference's target palette is its own (zero) one, as is the product's.
                EXPECT_TRUE(test::samePicture(out, expected))
                    << c.w << "x" << c.h << " -> " << c.w2 << "x" << c.h2 << " format " << format;
            }
        }
    }
}

TEST(MipChain, MakeMipMatchesTheReference) {
    const std::pair<std::uint32_t, std::uint32_t> sizes[] = {{16, 16}, {37, 21}, {64, 2}, {5, 40}};
    const std::uint32_t formats[] = {32 | formatAlpha, 24, 16, 12 | formatAlpha};
    for (auto [w, h] : sizes) {
        for (std::uint32_t format : formats) {
            const PixelImage source = test::makePicture(Pattern::Noise, w, h, w + h, format);
            const reference::Picture ref = test::toReference(source);
            for (int k = 1; k <= 6; ++k) {
                PixelImage out;
                reference::Picture expected;
                ASSERT_TRUE(out.makeMip(source, k));
                ASSERT_TRUE(reference::makeMip(expected, ref, k));
                EXPECT_TRUE(test::samePicture(out, expected))
                    << w << "x" << h << " format " << format << " k " << k;
            }
        }
    }
}

// Carrying block sums from level to level must give exactly the levels filtered from level 0.
TEST(MipChain, MasterBuilderEqualsFilteringFromLevelZero) {
    const std::pair<std::uint32_t, std::uint32_t> sizes[] = {{64, 64}, {128, 8}, {3, 200}, {1, 1}};
    for (auto [w, h] : sizes) {
        for (std::uint32_t format : {32u, 32u | formatAlpha}) {
            PixelImage level0 = test::makePicture(Pattern::Noise, w, h, w * h, format);
            MasterMipBuilder builder(level0);
            for (int k = 1; k < kMaxMipLevels; ++k) {
                PixelImage fast, literal;
                ASSERT_TRUE(builder.makeLevel(k, fast));
                ASSERT_TRUE(literal.makeMip(level0, k));
                ASSERT_EQ(fast.isEmpty(), literal.isEmpty()) << k;
                if (literal.isEmpty())
                    continue;
                EXPECT_EQ(fast.format(), literal.format());
                ASSERT_EQ(fast.byteSize(), literal.byteSize());
                EXPECT_TRUE(
                    std::equal(fast.pixels(), fast.pixels() + fast.byteSize(), literal.pixels()))
                    << w << "x" << h << " level " << k;
            }
        }
    }
}

}  // namespace
}  // namespace slipway
