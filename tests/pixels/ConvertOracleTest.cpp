// The product's conversions (the fast diffusion and palette search behind convertFrom) against
// the pixel-at-a-time rules, over every pair of formats and a spread of sizes and palettes.

#include <gtest/gtest.h>

#include <vector>

#include "pixels/LiteralPixels.h"
#include "pixels/PictureFixtures.h"
#include "pixels/PixelImage.h"

namespace slipway {
namespace {

const std::uint32_t kFormats[] = {
    8, 8 | formatAlpha, 12, 12 | formatAlpha, 15, 15 | formatAlpha, 16, 24, 32, 32 | formatAlpha};

struct Size {
    std::uint32_t w, h;
};
const Size kSizes[] = {{1, 1}, {1, 7}, {9, 1}, {7, 5}, {33, 17}};

std::vector<std::uint8_t> bytesOf(const PixelImage& image) {
    return {image.bytes().begin(), image.bytes().end()};
}

TEST(ConvertOracle, SameSizeConversionsMatchThePixelRulesForEveryFormatPair) {
    std::uint32_t seed = 1;
    for (const Size size : kSizes) {
        for (const std::uint32_t from : kFormats) {
            for (const std::uint32_t to : kFormats) {
                ++seed;
                // Palettes with many ties (few distinct entries) as well as full ones.
                const int distinct = seed % 3 == 0 ? 3 : 256;
                const PixelImage source = test::randomPicture(size.w, size.h, from, seed,
                                                              test::randomPalette(seed, distinct));
                PixelImage product;
                product.setPalette(test::randomPalette(seed + 1, distinct));
                ASSERT_TRUE(product.create(size.w, size.h, to));
                PixelImage oracle = product;
                ASSERT_TRUE(product.convertFrom(source));
                if ((from & 0xFF) == (to & 0xFF)) {
                    std::memcpy(oracle.pixels(), source.pixels(), source.byteSize());
                    if ((to & 0xFF) == 8)
                        oracle.setPalette(source.palette());
                    for (std::uint32_t y = 0; y < size.h; ++y) {
                        for (std::uint32_t x = 0; x < size.w; ++x) {
                            if ((to & formatAlpha) && !(from & formatAlpha) && (to & 0xFF) != 8) {
                                Bgra c = test::literalGetPixel(oracle, x, y);
                                c.a = 255;
                                test::literalSetPixel(oracle, x, y, c);
                            }
                        }
                    }
                } else {
                    test::literalDiffuse(oracle, source);
                }
                ASSERT_EQ(bytesOf(product), bytesOf(oracle))
                    << "from " << from << " to " << to << " size " << size.w << "x" << size.h;
                EXPECT_EQ(product.palette(), oracle.palette());
            }
        }
    }
}

TEST(ConvertOracle, LargeTrueColourPictureToPaletteMatches) {
    // Enough pixels for many blocks of the palette search to build their candidate lists.
    const PixelImage source = test::randomPicture(256, 192, 32 | formatAlpha, 77);
    for (const std::uint32_t to : {8u, 8u | formatAlpha}) {
        PixelImage product;
        product.setPalette(test::randomPalette(78));
        ASSERT_TRUE(product.create(256, 192, to));
        PixelImage oracle = product;
        ASSERT_TRUE(product.convertFrom(source));
        test::literalDiffuse(oracle, source);
        EXPECT_EQ(bytesOf(product), bytesOf(oracle)) << to;
    }
}

}  // namespace
}  // namespace slipway
