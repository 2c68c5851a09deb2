#include "pixmill/DialogRules.h"

#include <algorithm>

#include "base/Format.h"

namespace slipway::pixmill {

SliderRange mipsSliderRange(MipCountMode mode) {
    if (mode == MipCountMode::NumberMips)
        return {1, kMaxMipLevels, 1};
    return {0, kMaxMipLevels - 1, 4};
}

std::string mipsLabel(MipCountMode mode, int position) {
    if (mode == MipCountMode::NumberMips)
        return formatText("mips %d", position);
    return formatText("%d pix", 1 << std::clamp(position, 0, 30));
}

std::string attenuationLabel(int position) {
    return formatText("%.1f", (10 - position) / 10.0);
}

SliderRange exportLevelRange(int largestCount) {
    return {0, std::max(largestCount - 1, 0), 0};
}

std::string levelLabel(int level) {
    return formatText("mip %d", level);
}

}  // namespace slipway::pixmill
