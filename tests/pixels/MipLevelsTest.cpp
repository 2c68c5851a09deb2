#include <gtest/gtest.h>

#include "pixels/MipLevels.h"

namespace slipway {
namespace {

TEST(MipLevels, LevelCapIsFloorLog2CappedAt15) {
    const std::pair<std::uint32_t, int> cases[] = {{0, 0},      {1, 0},      {2, 1},
                                                   {3, 1},      {255, 7},    {256, 8},
                                                   {32768, 15}, {65536, 15}, {UINT32_MAX, 15}};
    for (auto [v, cap] : cases)
        EXPECT_EQ(levelCap(v), cap) << v;
}

TEST(MipLevels, ChainLevelCountFollowsTheDialogModes) {
    using M = MipCountMode;
    struct Case {
        M mode;
        int slider;
        std::uint32_t width, height;
        int levels;
    } const cases[] = {
        {M::MinimumSize, 4, 256, 256, 5},  // default: 256 down to 16
        {M::NumberMips, 6, 256, 256, 6},   // down to 8 x 8
        {M::NumberMips, 16, 256, 256, 8},  // never reaches the 1-pixel level
        {M::MinimumSize, 0, 256, 64, 7},   // down to 4 x 1
        {M::MinimumSize, 4, 8, 8, 1},      // clamped up to one level
        {M::MinimumSize, 0, 1, 1, 1},          {M::NumberMips, 1, 1, 1, 1},  // min(0, 1) clamped up
        {M::MinimumSize, 0, 32768, 32768, 16}, {M::MinimumSize, 15, 32768, 32768, 1},
        {M::NumberMips, 16, 65536, 65536, 15},
    };
    for (const Case& c : cases) {
        MipChainSettings s;
        s.mode = c.mode;
        s.slider = c.slider;
        EXPECT_EQ(chainLevelCount(s, c.width, c.height), c.levels)
            << c.slider << " " << c.width << "x" << c.height;
    }
}

TEST(MipLevels, AttenuationFactorsFallLinearlyToTheSliderValue) {
    const float a = attenuationValue(5);
    EXPECT_EQ(a, 0.5f);
    const float expected[] = {1.0f, 0.875f, 0.75f, 0.625f, 0.5f};
    for (int level = 0; level < 5; ++level)
        EXPECT_EQ(attenuationFactor(a, level, 5), expected[level]);
    EXPECT_EQ(attenuationFactor(0.1f, 0, 1), 1.0f);
    EXPECT_EQ(attenuationValue(0), 1.0f);
    EXPECT_EQ(attenuationValue(9), 0.1f);
    // Single precision throughout: these factors land on the other side of a 1/65536 step
    // than the same formula in double would.
    const struct {
        int position, n, level, k;
    } steps[] = {{7, 15, 5, 49152}, {9, 7, 5, 16384}, {9, 9, 5, 28671}, {9, 10, 5, 32767}};
    for (const auto& c : steps) {
        const float f = attenuationFactor(attenuationValue(c.position), c.level, c.n);
        EXPECT_EQ(static_cast<int>(f * 65536.0f), c.k) << c.position << " " << c.n;
    }
}

}  // namespace
}  // namespace slipway
