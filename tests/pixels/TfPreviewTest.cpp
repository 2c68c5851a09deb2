#include "pixels/TfPreview.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "pixels/PictureFixtures.h"

namespace slipway {
namespace {

struct Chains {
    std::array<PixelImage, kMaxTfLevels> levels16;
    std::uint32_t count16 = 0;
    std::array<PixelImage, kMaxTfLevels> levels8;
    std::uint32_t count8 = 0;

    std::vector<std::uint8_t> bytes() const {
        return encodeTf(levels16.data(), count16, levels8.data(), count8);
    }
};

// Random levels, halving both sides per level; format16 0 gives no 16-bit chain.
Chains makeChains(std::uint32_t w, std::uint32_t h, std::uint32_t format16, std::uint32_t count16,
                  std::uint32_t count8, bool key) {
    Chains c;
    c.count16 = count16;
    c.count8 = count8;
    for (std::uint32_t i = 0; i < count16; ++i)
        c.levels16[i] = test::randomPicture(w >> i, h >> i, format16, 10 + i);
    for (std::uint32_t i = 0; i < count8; ++i)
        c.levels8[i] = test::randomPicture(w >> i, h >> i, 8 | (key ? formatAlpha : 0), 30 + i,
                                           test::randomPalette(7));
    return c;
}

TfHeader header(std::uint32_t w, std::uint32_t h, std::uint8_t count16, std::uint8_t count8) {
    TfHeader hd;
    hd.width = w;
    hd.height = h;
    hd.count16 = count16;
    hd.count8 = count8;
    return hd;
}

TEST(TfPreview, ChoosesTheLargestLevelThatFitsFromTheSixteenBitChainFirst) {
    struct Case {
        TfHeader header;
        std::uint32_t maxSide;
        bool found;
        bool use16;
        std::uint32_t level;
    };
    const Case cases[] = {
        {header(256, 64, 4, 4), 256, true, true, 0},    {header(256, 64, 4, 4), 255, true, true, 1},
        {header(256, 64, 4, 4), 128, true, true, 1},    {header(64, 256, 4, 0), 100, true, true, 2},
        {header(256, 64, 2, 6), 16, true, true, 1},   // none fits: the smallest of the chain
        {header(256, 64, 0, 3), 64, true, false, 2},  // no 16-bit levels: the 8-bit chain
        {header(4, 2, 5, 0), 1, true, true, 1},       // 2x1 is the last level with pixels
        {header(256, 64, 0, 0), 1000, false, false, 0},
    };
    for (const Case& c : cases) {
        const auto choice = chooseTfPreviewLevel(c.header, c.maxSide);
        ASSERT_EQ(choice.has_value(), c.found) << c.header.width << "x" << c.header.height;
        if (!choice)
            continue;
        EXPECT_EQ(choice->use16, c.use16) << c.maxSide;
        EXPECT_EQ(choice->level, c.level) << c.maxSide;
    }
}

// The preview holds the chosen level's pixels exactly as the level was before writing: the
// right chain and level, rows top-down, alpha back to high = opaque.
TEST(TfPreview, ShowsTheChosenLevelAsItWasWritten) {
    struct Case {
        const char* name;
        Chains chains;
        std::uint32_t maxSide;
        bool use16;
        std::uint32_t level;
    };
    const Case cases[] = {
        {"1:5:5:5 with 8-bit", makeChains(64, 32, 15 | formatAlpha, 4, 4, true), 20, true, 2},
        {"4:4:4:4", makeChains(16, 64, 12 | formatAlpha, 3, 0, false), 64, true, 0},
        {"5:6:5", makeChains(32, 32, 16, 3, 2, false), 31, true, 1},
        {"8-bit", makeChains(32, 16, 0, 0, 3, false), 8, false, 2},
        {"8-bit from 1000", makeChains(32, 16, 0, 0, 3, false), 1000, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PixelImage preview;
        ASSERT_TRUE(loadTfPreview(c.chains.bytes(), c.maxSide, preview));
        const PixelImage& level = c.use16 ? c.chains.levels16[c.level] : c.chains.levels8[c.level];
        ASSERT_EQ(preview.width(), level.width());
        ASSERT_EQ(preview.height(), level.height());
        EXPECT_EQ(preview.format() & ~formatFilled, 32 | formatAlpha);
        for (std::uint32_t y = 0; y < level.height(); ++y) {
            for (std::uint32_t x = 0; x < level.width(); ++x)
                ASSERT_EQ(preview.getPixel(x, y), level.getPixel(x, y)) << x << "," << y;
        }
    }
}

// When even the smallest level is larger, it is scaled down by area so that the longer side
// becomes maxSide and the proportions stay. (The area filter's arithmetic may lose one step
// of a channel on a plain colour.)
TEST(TfPreview, ScalesTheSmallestLevelDownWhenNoLevelFits) {
    struct Case {
        std::uint32_t w, h, maxSide, wantW, wantH;
    };
    const Case cases[] = {
        {64, 16, 8, 8, 2}, {16, 64, 8, 2, 8}, {256, 2, 4, 4, 1}, {48, 36, 5, 5, 3}};
    const Bgra colour{40, 120, 200, 255};
    for (const Case& c : cases) {
        Chains chains;
        chains.count16 = 1;
        chains.levels16[0].create(c.w, c.h, 16);
        for (std::uint32_t i = 0; i < c.w * c.h; ++i)
            chains.levels16[0].setPixel(i % c.w, i / c.w, colour);
        const Bgra stored = chains.levels16[0].getPixel(0, 0);
        PixelImage preview;
        ASSERT_TRUE(loadTfPreview(chains.bytes(), c.maxSide, preview)) << c.w << "x" << c.h;
        EXPECT_EQ(preview.width(), c.wantW);
        EXPECT_EQ(preview.height(), c.wantH);
        const Bgra got = preview.getPixel(c.wantW - 1, c.wantH - 1);
        for (const auto& [a, b] : {std::pair{got.b, stored.b},
                                   {got.g, stored.g},
                                   {got.r, stored.r},
                                   {got.a, stored.a}}) {
            EXPECT_NEAR(a, b, 1) << c.w << "x" << c.h;
        }
    }
}

// Every file shorter than the chosen level's end is refused cleanly; from there on the rest of
// the file is not needed.
TEST(TfPreview, EveryTruncationBeforeTheLevelEndsIsRefused) {
    const Chains chains = makeChains(16, 8, 15 | formatAlpha, 3, 3, true);
    const std::vector<std::uint8_t> bytes = chains.bytes();
    for (const std::uint32_t maxSide : {16u, 4u}) {
        TfHeader hd;
        ASSERT_TRUE(parseTfHeader(bytes, hd));
        const auto choice = chooseTfPreviewLevel(hd, maxSide);
        ASSERT_TRUE(choice);
        const std::size_t need = tfPreviewBytes(hd, *choice);
        for (std::size_t size = 0; size < need; ++size) {
            PixelImage preview;
            EXPECT_FALSE(loadTfPreview({bytes.data(), size}, maxSide, preview)) << size;
            EXPECT_TRUE(preview.isEmpty());
        }
        PixelImage preview;
        EXPECT_TRUE(loadTfPreview({bytes.data(), need}, maxSide, preview)) << maxSide;
    }
}

TEST(TfPreview, RefusesAnUnknownLayoutAndAZeroSize) {
    const Chains chains = makeChains(8, 8, 16, 1, 0, false);
    std::vector<std::uint8_t> bytes = chains.bytes();
    PixelImage preview;
    EXPECT_FALSE(loadTfPreview(bytes, 0, preview));
    bytes[5] = 3;
    EXPECT_FALSE(loadTfPreview(bytes, 8, preview));
    EXPECT_TRUE(preview.isEmpty());
}

}  // namespace
}  // namespace slipway
