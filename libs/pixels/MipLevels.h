#pragma once
// How many levels each output chain gets, and the alpha fade ("Attenuation") of the 16-bit
// chain.

#include <cstdint>

namespace slipway {

enum class MipCountMode {
    NumberMips,   // the slider gives a number of levels, 1 to 16
    MinimumSize,  // the slider gives the smallest size as 2 to that power, 0 to 15
};

// The dialog's settings of one chain ("16 bit" or "8 bit"), with the dialog's defaults.
struct MipChainSettings {
    bool enabled = true;
    MipCountMode mode = MipCountMode::MinimumSize;
    int slider = 4;
};

inline constexpr int kMaxMipLevels = 16;

// 0 for v = 0, else floor(log2 v), at most 15.
int levelCap(std::uint32_t v);

// Number of levels of a chain for a (power-of-two) picture, always 1 to 16.
int chainLevelCount(const MipChainSettings& settings, std::uint32_t width, std::uint32_t height);

// The attenuation value of slider position 0..9: (10 - position) / 10.
float attenuationValue(int position);

// The alpha factor of level `level` of an n-level chain: 1.0 at level 0 falling linearly to
// `attenuation` at the last level; 1.0 when n is 1.
float attenuationFactor(float attenuation, int level, int n);

}  // namespace slipway
