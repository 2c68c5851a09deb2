#include "pixels/MipLevels.h"

#include <algorithm>
#include <bit>

namespace slipway {

int levelCap(std::uint32_t v) {
    if (v == 0)
        return 0;
    return std::min(15, static_cast<int>(std::bit_width(v)) - 1);
}

int chainLevelCount(const MipChainSettings& settings, std::uint32_t width, std::uint32_t height) {
    const int cap = levelCap(std::min(width, height));
    const int n = settings.mode == MipCountMode::NumberMips ? std::min(cap, settings.slider)
                                                            : cap + 1 - settings.slider;
    return std::clamp(n, 1, kMaxMipLevels);
}

float attenuationValue(int position) {
    return static_cast<float>(10 - position) / 10.0f;
}

float attenuationFactor(float attenuation, int level, int n) {
    if (n <= 1)
        return 1.0f;
    const float a = attenuation;
    return a + (1.0f - a) * (1.0f - static_cast<float>(level) / static_cast<float>(n - 1));
}

}  // namespace slipway
