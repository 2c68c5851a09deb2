#include "pixels/PixelImage.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "base/ByteReader.h"
#include "pixels/LiteralPixels.h"
#include "pixels/PictureFixtures.h"

namespace slipway {
namespace {

using test::literalStored;

PixelImage picture(std::uint32_t w, std::uint32_t h, std::uint32_t format) {
    PixelImage image;
    EXPECT_TRUE(image.create(w, h, format));
    return image;
}

void store(PixelImage& image, std::uint32_t x, std::uint32_t y, std::uint32_t v) {
    std::memcpy(image.row(y) + x * image.bytesPerPixel(), &v, image.bytesPerPixel());
}

Palette paletteOf(std::initializer_list<Bgra> entries) {
    Palette p{};
    int i = 0;
    for (const Bgra& e : entries) {
        p[i * 3] = e.b, p[i * 3 + 1] = e.g, p[i * 3 + 2] = e.r;
        ++i;
    }
    return p;
}

TEST(PixelImageCreate, AcceptsTheSixDepthsAndRefusesTheRest) {
    struct Case {
        std::uint32_t w, h, format;
        bool ok;
        std::uint32_t bytes;
    };
    const Case cases[] = {
        {3, 2, 8, true, 6},   {3, 2, 12, true, 12},         {3, 2, 15, true, 12},
        {3, 2, 16, true, 12}, {3, 2, 24, true, 18},         {3, 2, 32 | formatAlpha, true, 24},
        {0, 2, 32, false, 0}, {3, 0, 32, false, 0},         {3, 2, 13, false, 0},
        {3, 2, 0, false, 0},  {65536, 65536, 32, false, 0},
    };
    for (const Case& c : cases) {
        PixelImage image;
        EXPECT_EQ(image.create(c.w, c.h, c.format), c.ok) << c.format;
        EXPECT_EQ(image.byteSize(), c.bytes) << c.format;
        EXPECT_EQ(image.isEmpty(), !c.ok);
    }
}

TEST(PixelImageCreate, ClearsFilledKeepsPaletteAndReleaseEmpties) {
    PixelImage image;
    const Palette pal = test::randomPalette(3);
    image.setPalette(pal);
    ASSERT_TRUE(image.create(4, 4, 8 | formatAlpha | formatFilled));
    EXPECT_EQ(image.format(), 8u | formatAlpha);
    EXPECT_EQ(image.palette(), pal);
    image.release();
    EXPECT_TRUE(image.isEmpty());
    EXPECT_EQ(image.format(), 0u);
    EXPECT_EQ(image.byteSize(), 0u);
    EXPECT_EQ(image.palette(), pal);
    EXPECT_EQ(image.getPixel(0, 0), (Bgra{0, 0, 0, 0}));
}

TEST(PixelImagePixels, DecodesEveryFormatWithoutBitReplication) {
    struct Case {
        std::uint32_t format;
        std::uint32_t stored;
        Bgra expected;
    };
    const Case cases[] = {
        {12, 0xFFFF, {240, 240, 240, 255}},
        {12 | formatAlpha, 0xFFFF, {240, 240, 240, 240}},
        {12 | formatAlpha, 0x1234, {0x40, 0x30, 0x20, 0x10}},
        {15, 0x7FFF, {248, 248, 248, 255}},
        {15, 0x0000, {0, 0, 0, 255}},
        {15 | formatAlpha, 0x7FFF, {248, 248, 248, 0}},
        {15 | formatAlpha, 0x8000 | (1 << 10) | (2 << 5) | 3, {24, 16, 8, 255}},
        {16, 0xFFFF, {248, 252, 248, 255}},
        {16, (1 << 11) | (1 << 5) | 1, {8, 4, 8, 255}},
        {24, 0x030201, {1, 2, 3, 255}},
        {32, 0x04030201, {1, 2, 3, 4}},
        {32 | formatAlpha, 0x00030201, {1, 2, 3, 0}},
    };
    for (const Case& c : cases) {
        PixelImage image = picture(2, 1, c.format);
        store(image, 1, 0, c.stored);
        EXPECT_EQ(image.getPixel(1, 0), c.expected) << c.format << " " << c.stored;
    }
}

TEST(PixelImagePixels, EncodesEveryFormatWithItsAlphaThreshold) {
    struct Case {
        std::uint32_t format;
        Bgra value;
        std::uint32_t stored;
    };
    const Case cases[] = {
        // The alpha nibble is written whether or not the picture has alpha.
        {12, {0x1F, 0x2F, 0x3F, 0x4F}, 0x4321},
        {12 | formatAlpha, {0xFF, 0xFF, 0xFF, 0x0F}, 0x0FFF},
        {15, {8, 16, 24, 255}, (3 << 10) | (2 << 5) | 1 | 0x8000},
        {15 | formatAlpha, {255, 255, 255, 65}, 0xFFFF},
        {15 | formatAlpha, {255, 255, 255, 64}, 0x7FFF},
        {16, {255, 3, 7, 0}, 0x001F},
        {16, {0, 255, 255, 0}, 0xFFE0},
        {24, {1, 2, 3, 4}, 0x030201},
        {32, {1, 2, 3, 4}, 0x04030201},
    };
    for (const Case& c : cases) {
        PixelImage image = picture(1, 2, c.format);
        image.setPixel(0, 1, c.value);
        EXPECT_EQ(literalStored(image, 0, 1), c.stored) << c.format;
    }
}

TEST(PixelImagePixels, OutsideThePictureReadsZeroAndWritesNothing) {
    PixelImage image = picture(2, 2, 32);
    std::memset(image.pixels(), 0x55, image.byteSize());
    for (auto [x, y] : {std::pair{2u, 0u}, {0u, 2u}, {0xFFFFFFFFu, 0u}}) {
        EXPECT_EQ(image.getPixel(x, y), (Bgra{0, 0, 0, 0}));
        image.setPixel(x, y, {1, 2, 3, 4});
    }
    for (std::uint32_t i = 0; i < image.byteSize(); ++i)
        ASSERT_EQ(image.pixels()[i], 0x55);
}

TEST(PixelImagePalette, SearchUsesWeightedDistanceAndLowestIndexOnTies) {
    // Entry 1 is 10 off in green (plain 100, weighted 300), entry 2 is 15 off in blue
    // (225 either way): the weighting makes entry 2 the nearer one.
    PixelImage image;
    image.setPalette(paletteOf({{0, 0, 0, 0}, {100, 110, 100, 0}, {115, 100, 100, 0}}));
    ASSERT_TRUE(image.create(1, 1, 8));
    image.setPixel(0, 0, {100, 100, 100, 255});
    EXPECT_EQ(image.pixels()[0], 2);

    // Equal distance: the lower index wins, also once the block of the colour has its list.
    image.setPalette(paletteOf({{0, 0, 0, 0}, {10, 0, 0, 0}, {30, 0, 0, 0}, {10, 0, 0, 0}}));
    for (int round = 0; round < 2; ++round) {
        image.setPixel(0, 0, {20, 0, 0, 255});
        EXPECT_EQ(image.pixels()[0], 1);
    }
}

TEST(PixelImagePalette, AlphaPicturesKeepIndexZeroForTransparentPixels) {
    struct Case {
        std::uint32_t format;
        std::uint8_t alpha;
        std::uint8_t index;
    };
    // All-zero palette: every opaque pixel takes the first searched entry.
    const Case cases[] = {
        {8, 0, 0},
        {8, 255, 0},
        {8 | formatAlpha, 63, 0},
        {8 | formatAlpha, 64, 1},
        {8 | formatAlpha, 255, 1},
    };
    for (const Case& c : cases) {
        PixelImage image = picture(1, 1, c.format);
        image.setPixel(0, 0, {200, 200, 200, c.alpha});
        EXPECT_EQ(image.pixels()[0], c.index) << c.format << " alpha " << int(c.alpha);
    }
    // A changed palette is searched afresh.
    PixelImage image = picture(1, 1, 8 | formatAlpha);
    image.setPixel(0, 0, {200, 200, 200, 255});
    image.setPalette(paletteOf({{0, 0, 0, 0}, {0, 0, 0, 0}, {200, 200, 200, 0}}));
    image.setPixel(0, 0, {200, 200, 200, 255});
    EXPECT_EQ(image.pixels()[0], 2);
    EXPECT_EQ(image.getPixel(0, 0), (Bgra{200, 200, 200, 255}));
    image.pixels()[0] = 0;
    EXPECT_EQ(image.getPixel(0, 0).a, 0);
}

TEST(PixelImagePalette, FastSearchMatchesLinearSearchForEveryPalette) {
    std::vector<Palette> palettes;
    for (const int distinct : {256, 17, 2, 1})
        palettes.push_back(test::randomPalette(distinct, distinct));
    // Entries packed around cell boundaries (multiples of 8), with duplicates for ties.
    Palette clustered{};
    std::mt19937 pick(5);
    for (std::size_t i = 0; i < clustered.size(); ++i)
        clustered[i] = std::uint8_t(100 + pick() % 20);
    palettes.push_back(clustered);
    int round = 0;
    for (const Palette& palette : palettes) {
        for (const std::uint32_t format : {8u, 8u | formatAlpha}) {
            PixelImage image;
            image.setPalette(palette);
            ASSERT_TRUE(image.create(1, 1, format));
            std::mt19937 rng(++round);
            for (int i = 0; i < 6000; ++i) {
                const std::uint32_t r = rng();
                // Narrow ranges too, so that colours repeat within one cell.
                const Bgra c =
                    i % 2 ? Bgra{std::uint8_t(r), std::uint8_t(r >> 8), std::uint8_t(r >> 16), 255}
                          : Bgra{std::uint8_t(96 + (r & 31)), std::uint8_t(96 + (r >> 8 & 31)),
                                 std::uint8_t(96 + (r >> 16 & 31)), 255};
                ASSERT_EQ(image.nearestIndex(c.b, c.g, c.r), test::literalNearest(image, c))
                    << "palette " << round << " colour " << int(c.b) << "," << int(c.g) << ","
                    << int(c.r);
            }
        }
    }
}

TEST(PixelImagePixels, AppendBgraDecodesEveryPixelInRowOrder) {
    for (std::uint32_t format :
         {8u, 8u | formatAlpha, 12u, 12u | formatAlpha, 15u, 15u | formatAlpha, 16u, 24u, 32u}) {
        const PixelImage image = test::randomPicture(5, 3, format, format, test::randomPalette(1));
        std::vector<Bgra> out(15);
        image.appendBgra(out.data());
        for (std::uint32_t y = 0; y < 3; ++y)
            for (std::uint32_t x = 0; x < 5; ++x)
                ASSERT_EQ(out[y * 5 + x], test::literalGetPixel(image, x, y)) << format;
    }
}

TEST(PixelImageConvert, RefusesItselfAndEmptySources) {
    PixelImage image = picture(2, 2, 32);
    PixelImage empty;
    EXPECT_FALSE(image.convertFrom(image));
    EXPECT_FALSE(image.convertFrom(empty));
    EXPECT_FALSE(empty.convertFrom(PixelImage{}));
}

TEST(PixelImageConvert, IntoAnEmptyPictureCopiesFormatPixelsAndPalette) {
    const PixelImage source = test::randomPicture(3, 2, 8 | formatAlpha, 5, test::randomPalette(5));
    PixelImage copy;
    ASSERT_TRUE(copy.convertFrom(source));
    EXPECT_EQ(copy.format(), 8u | formatAlpha | formatFilled);
    EXPECT_EQ(copy.palette(), source.palette());
    EXPECT_EQ(std::vector(copy.bytes().begin(), copy.bytes().end()),
              std::vector(source.bytes().begin(), source.bytes().end()));
}

TEST(PixelImageConvert, SameDepthCopyMakesPixelsOpaqueWhenOnlyTheTargetHasAlpha) {
    struct Case {
        std::uint32_t bits;
        std::uint32_t stored;
        std::uint32_t expected;
    };
    const Case cases[] = {
        {12, 0x0123, 0xF123}, {15, 0x0123, 0x8123},     {32, 0x00010203, 0xFF010203},
        {16, 0x0123, 0x0123}, {24, 0x010203, 0x010203},
    };
    for (const Case& c : cases) {
        PixelImage source = picture(1, 1, c.bits);
        store(source, 0, 0, c.stored);
        PixelImage target = picture(1, 1, c.bits | formatAlpha);
        ASSERT_TRUE(target.convertFrom(source));
        EXPECT_EQ(literalStored(target, 0, 0), c.expected) << c.bits;
        // Both with alpha: a plain copy.
        PixelImage again = picture(1, 1, c.bits | formatAlpha);
        source.addFormatFlags(formatAlpha);
        ASSERT_TRUE(again.convertFrom(source));
        EXPECT_EQ(literalStored(again, 0, 0), c.stored) << c.bits;
    }
}

TEST(PixelImageConvert, DiffusesTheRoundingErrorToTheNextPixels) {
    // Blue 7 stores as 0 in 5:6:5 (error 7): the right neighbour gets (7*7+8)>>4 = 3, the
    // pixel below (5*7+8)>>4 = 2 and the one below right (7+8)>>4 = 0.
    PixelImage source = picture(2, 2, 32);
    for (std::uint32_t y = 0; y < 2; ++y)
        for (std::uint32_t x = 0; x < 2; ++x)
            source.setPixel(x, y, {7, 0, 0, 255});
    PixelImage target = picture(2, 2, 16);
    ASSERT_TRUE(target.convertFrom(source));
    EXPECT_EQ(literalStored(target, 0, 0), 0u);  // 7 -> 0, e = 7
    EXPECT_EQ(literalStored(target, 1, 0), 1u);  // 7 + 3 = 10 -> 8, e = 2
    // Row 1, x = 0: 7 + 2 + (3*2+8)>>4 = 9 -> 8 (blue 1).
    EXPECT_EQ(literalStored(target, 0, 1), 1u);
    // Row 1, x = 1: 7 + (5*2+8)>>4 + (7*1+8)>>4 = 8 -> 8 (blue 1).
    EXPECT_EQ(literalStored(target, 1, 1), 1u);

    // 32 -> 24 bits is exact: no error terms.
    PixelImage exact = picture(2, 2, 24);
    ASSERT_TRUE(exact.convertFrom(source));
    for (std::uint32_t i = 0; i < 4; ++i)
        EXPECT_EQ(exact.getPixel(i % 2, i / 2).b, 7);
}

TEST(PixelImageConvert, TransparentPaletteTargetStillSpreadsItsError) {
    // Index 0 is the colour key (black); a transparent grey 200 next to an opaque grey 100
    // pushes the neighbour to 188, which is nearer white than black.
    PixelImage source = picture(2, 1, 32 | formatAlpha);
    source.setPixel(0, 0, {200, 200, 200, 0});
    source.setPixel(1, 0, {100, 100, 100, 255});
    PixelImage target;
    target.setPalette(paletteOf({{0, 0, 0, 0}, {0, 0, 0, 0}, {255, 255, 255, 0}}));
    ASSERT_TRUE(target.create(2, 1, 8 | formatAlpha));
    ASSERT_TRUE(target.convertFrom(source));
    EXPECT_EQ(target.pixels()[0], 0);
    EXPECT_EQ(target.pixels()[1], 2);
}

TEST(PixelImageConvert, ErrorCellsWrapAsSignedBytes) {
    // Light grey maps to pure blue, leaving green and red errors of about 250 per pixel. The
    // middle cell of row 1 collects 16 + 80 + 48 = 144, which wraps to -112: the black pixel
    // below stays black instead of turning grey like its neighbours.
    PixelImage source = picture(3, 2, 24);
    for (std::uint32_t x = 0; x < 3; ++x) {
        source.setPixel(x, 0, {250, 250, 250, 255});
        source.setPixel(x, 1, {0, 0, 0, 255});
    }
    PixelImage target;
    target.setPalette(paletteOf({{0, 0, 0, 0}, {10, 10, 10, 0}, {255, 0, 0, 0}}));
    ASSERT_TRUE(target.create(3, 2, 8));
    ASSERT_TRUE(target.convertFrom(source));
    EXPECT_EQ(std::vector(target.bytes().begin(), target.bytes().end()),
              (std::vector<std::uint8_t>{2, 2, 2, 1, 0, 1}));
    PixelImage oracle = target;
    test::literalDiffuse(oracle, source);
    EXPECT_EQ(std::vector(oracle.bytes().begin(), oracle.bytes().end()),
              std::vector(target.bytes().begin(), target.bytes().end()));
}

TEST(PixelImageConvert, ResizingConversionsKeepThePaletteOfEightBitPictures) {
    // Different sizes go through a temporary picture; an 8-bit one must carry the palette
    // (the target's when reducing depth, the source's when enlarging).
    const Palette pal = paletteOf({{0, 0, 0, 0}, {255, 0, 0, 0}, {0, 255, 0, 0}});
    PixelImage source = picture(4, 4, 32);
    for (std::uint32_t y = 0; y < 4; ++y)
        for (std::uint32_t x = 0; x < 4; ++x)
            source.setPixel(x, y, x < 2 ? Bgra{255, 0, 0, 255} : Bgra{0, 255, 0, 255});
    PixelImage small;
    small.setPalette(pal);
    ASSERT_TRUE(small.create(2, 2, 8));
    ASSERT_TRUE(small.convertFrom(source));
    EXPECT_EQ(std::vector(small.bytes().begin(), small.bytes().end()),
              (std::vector<std::uint8_t>{1, 2, 1, 2}));

    PixelImage large = picture(4, 2, 32);
    ASSERT_TRUE(large.convertFrom(small));
    EXPECT_EQ(large.getPixel(0, 0), (Bgra{255, 0, 0, 255}));
    EXPECT_EQ(large.getPixel(3, 1), (Bgra{0, 255, 0, 255}));
}

TEST(PixelImageConvert, DepthIsReducedBeforeTheSizeChangesAndRaisedAfter) {
    const PixelImage source = test::randomPicture(8, 6, 32 | formatAlpha, 9);
    // Reduce: diffusion at the source size, then the resize in the target's format.
    PixelImage reduced = picture(4, 3, 16);
    ASSERT_TRUE(reduced.convertFrom(source));
    PixelImage step = picture(8, 6, 16);
    test::literalDiffuse(step, source);
    PixelImage expected;
    ASSERT_TRUE(expected.resizeFrom(4, 3, step));
    EXPECT_EQ(std::vector(reduced.bytes().begin(), reduced.bytes().end()),
              std::vector(expected.bytes().begin(), expected.bytes().end()));

    // Raise: resize in the source's format, then diffusion.
    PixelImage raised = picture(16, 12, 32);
    ASSERT_TRUE(raised.convertFrom(expected));
    PixelImage bigger;
    ASSERT_TRUE(bigger.resizeFrom(16, 12, expected));
    PixelImage expectedRaised = picture(16, 12, 32);
    test::literalDiffuse(expectedRaised, bigger);
    EXPECT_EQ(std::vector(raised.bytes().begin(), raised.bytes().end()),
              std::vector(expectedRaised.bytes().begin(), expectedRaised.bytes().end()));
}

TEST(PixelImageResize, AreaResamplingAndBoxFilterExamples) {
    // 4 x 1 blue 0, 100, 200, 40 halves to the means 50 and 120.
    PixelImage row = picture(4, 1, 32);
    const std::uint8_t blues[] = {0, 100, 200, 40};
    for (std::uint32_t x = 0; x < 4; ++x)
        row.setPixel(x, 0, {blues[x], 0, 0, 255});
    PixelImage half;
    ASSERT_TRUE(half.resizeFrom(2, 1, row));
    EXPECT_EQ(half.format(), 32u | formatFilled);
    EXPECT_EQ(half.getPixel(0, 0), (Bgra{50, 0, 0, 255}));
    EXPECT_EQ(half.getPixel(1, 0), (Bgra{120, 0, 0, 255}));
    EXPECT_FALSE(half.resizeFrom(2, 1, half));
    EXPECT_FALSE(half.resizeFrom(0, 1, row));

    // Level 1 of (0,0,0,0) and three white pixels: (765 + 2) / 4 = 191 in every channel.
    PixelImage block = picture(2, 2, 32 | formatAlpha);
    std::memset(block.pixels(), 255, block.byteSize());
    block.setPixel(0, 0, {0, 0, 0, 0});
    PixelImage mip;
    ASSERT_TRUE(mip.makeMip(block, 1));
    EXPECT_EQ(mip.getPixel(0, 0), (Bgra{191, 191, 191, 191}));
    // A level with a zero side stays empty and still succeeds.
    ASSERT_TRUE(mip.makeMip(block, 2));
    EXPECT_TRUE(mip.isEmpty());
}

TEST(PixelImageAlpha, ToggleInvertsOnlyStoredAlphaBits) {
    struct Case {
        std::uint32_t format;
        std::uint32_t stored;
        std::uint32_t toggled;
    };
    const Case cases[] = {
        {12 | formatAlpha, 0x1234, 0xE234},
        {15 | formatAlpha, 0x1234, 0x9234},
        {32 | formatAlpha, 0x10203040, 0xEF203040},
        {12, 0x1234, 0x1234},
        {15, 0x1234, 0x1234},
        {16 | formatAlpha, 0x1234, 0x1234},
        {8 | formatAlpha, 0x12, 0x12},
        {24, 0x123456, 0x123456},
    };
    for (const Case& c : cases) {
        PixelImage image = picture(1, 1, c.format);
        store(image, 0, 0, c.stored);
        image.toggleAlpha();
        EXPECT_EQ(literalStored(image, 0, 0), c.toggled) << c.format;
        image.toggleAlpha();
        EXPECT_EQ(literalStored(image, 0, 0), c.stored) << c.format;
    }
}

TEST(PixelImageAlpha, ScaleMultipliesTheWholeAlphaByteThenMasks) {
    struct Case {
        std::uint32_t format;
        std::uint32_t stored;
        float factor;
        std::uint32_t expected;
    };
    const Case cases[] = {
        // 0xFF * 0.5 = 0x7F: the red nibble below takes part, the alpha nibble becomes 7.
        {12 | formatAlpha, 0xFFFF, 0.5f, 0x7FFF},
        {12 | formatAlpha, 0xF0AB, 0.5f, 0x70AB},
        // The alpha bit survives only when the high byte times the factor reaches 128.
        {15 | formatAlpha, 0xFFFF, 0.5f, 0x7FFF},
        {15 | formatAlpha, 0xFFFF, 0.502f, 0xFFFF},
        {15 | formatAlpha, 0x80FF, 0.9f, 0x00FF},
        {15 | formatAlpha, 0xFFFF, 0.1f, 0x7FFF},
        {32 | formatAlpha, 0xC8010203, 0.5f, 0x64010203},
        {32 | formatAlpha, 0xFF010203, 0.875f, 0xDF010203},
        {32 | formatAlpha, 0xFF010203, 1.0f, 0xFF010203},
        {32, 0xFF010203, 0.5f, 0xFF010203},
        {16, 0xFFFF, 0.5f, 0xFFFF},
    };
    for (const Case& c : cases) {
        PixelImage image = picture(1, 1, c.format);
        store(image, 0, 0, c.stored);
        image.scaleAlpha(c.factor);
        EXPECT_EQ(literalStored(image, 0, 0), c.expected) << c.format << " " << c.factor;
    }
}

TEST(PixelImageCopyLines, CopiesEdgesVerticalFirst) {
    // 3 x 3, pixel value = 10 * y + x.
    auto make = [] {
        PixelImage image = picture(3, 3, 8);
        for (std::uint32_t i = 0; i < 9; ++i)
            image.pixels()[i] = std::uint8_t(10 * (i / 3) + i % 3);
        return image;
    };
    struct Case {
        int mode;
        std::vector<std::uint8_t> expected;
    };
    const Case cases[] = {
        {0, {0, 1, 2, 10, 11, 12, 20, 21, 22}},
        {kCopyUpToDown, {0, 1, 2, 10, 11, 12, 0, 1, 2}},
        {kCopyDownToUp, {20, 21, 22, 10, 11, 12, 20, 21, 22}},
        {kCopyLeftToRight, {0, 1, 0, 10, 11, 10, 20, 21, 20}},
        {kCopyRightToLeft, {2, 1, 2, 12, 11, 12, 22, 21, 22}},
        // The vertical copy runs first, so the corner comes from the copied row.
        {kCopyDownToUp | kCopyLeftToRight, {20, 21, 20, 10, 11, 10, 20, 21, 20}},
        {kCopyUpToDown | kCopyRightToLeft, {2, 1, 2, 12, 11, 12, 2, 1, 2}},
    };
    for (const Case& c : cases) {
        PixelImage image = make();
        image.copyLines(c.mode);
        EXPECT_EQ(std::vector(image.bytes().begin(), image.bytes().end()), c.expected) << c.mode;
    }
    // Whole pixels move for wider formats; a single row copies onto itself.
    PixelImage wide = picture(2, 1, 32);
    store(wide, 0, 0, 0x11223344);
    store(wide, 1, 0, 0x55667788);
    wide.copyLines(kCopyUpToDown | kCopyLeftToRight);
    EXPECT_EQ(literalStored(wide, 1, 0), 0x11223344u);
}

TEST(PixelImageReadRaw, ReadsRowsInEitherOrderWithPadding) {
    // 3 x 2 pixels of 1 byte, rows padded to 4 bytes, after a 2-byte prefix.
    const std::vector<std::uint8_t> file = {9, 9, 1, 2, 3, 0, 4, 5, 6, 0};
    for (bool bottomUp : {false, true}) {
        PixelImage image = picture(3, 2, 8 | formatPaddedRows);
        ByteReader reader(file);
        ASSERT_TRUE(image.readRaw(reader, 2, bottomUp, 0, 0, 4));
        const std::vector<std::uint8_t> expected =
            bottomUp ? std::vector<std::uint8_t>{4, 5, 6, 1, 2, 3}
                     : std::vector<std::uint8_t>{1, 2, 3, 4, 5, 6};
        EXPECT_EQ(std::vector(image.bytes().begin(), image.bytes().end()), expected);
        EXPECT_TRUE(image.format() & formatFilled);
        // A filled picture is refused.
        ByteReader again(file);
        EXPECT_FALSE(image.readRaw(again, 2, bottomUp, 0, 0, 4));
    }
    PixelImage empty;
    ByteReader reader(file);
    EXPECT_FALSE(empty.readRaw(reader, 0, false, 0, 0, 4));
}

TEST(PixelImageReadRaw, ReadsFourBytePaletteEntriesAsRedGreenBlue) {
    const std::vector<std::uint8_t> file = {7, 10, 20, 30, 0, 40, 50, 60, 99};
    PixelImage image = picture(1, 1, 8);
    ByteReader reader(file);
    ASSERT_TRUE(image.readRaw(reader, 0, false, 1, 2, 4));
    EXPECT_EQ(image.getPixel(0, 0), (Bgra{0, 0, 0, 255}));  // index 7: untouched entry
    EXPECT_EQ(image.palette()[0], 30);                      // blue
    EXPECT_EQ(image.palette()[1], 20);
    EXPECT_EQ(image.palette()[2], 10);  // red
    EXPECT_EQ(image.palette()[3], 60);
    EXPECT_EQ(image.palette()[5], 40);
}

TEST(PixelImageReadRaw, ShortDataFailsAndLeavesThePictureUnchanged) {
    const std::vector<std::uint8_t> file = {1, 2, 3, 4, 5};
    struct Case {
        std::uint32_t format;
        std::size_t pixelOffset, paletteOffset;
        std::uint32_t paletteCount;
    };
    const Case cases[] = {
        {24, 0, 0, 0},                    // 6 bytes needed
        {8, 3, 0, 0},                     // rows past the end
        {8, 100, 0, 0},                   // offset past the end
        {8 | formatPaddedRows, 0, 0, 0},  // the last row's padding is missing
        {8, 0, 3, 1},                     // palette entry cut short
        {8, 0, 0, 257},                   // more entries than the palette holds
    };
    for (const Case& c : cases) {
        PixelImage image = picture(2, 2, c.format);
        std::memset(image.pixels(), 0xAA, image.byteSize());
        ByteReader reader(file);
        EXPECT_FALSE(
            image.readRaw(reader, c.pixelOffset, false, c.paletteOffset, c.paletteCount, 4))
            << c.format << " " << c.pixelOffset;
        EXPECT_EQ(image.pixels()[0], 0xAA);
        EXPECT_FALSE(image.format() & formatFilled);
    }
}

}  // namespace
}  // namespace slipway
