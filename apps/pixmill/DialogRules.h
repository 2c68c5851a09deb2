#pragma once
// The texts and slider ranges of the two batch dialogs, apart from their widgets.

#include <string>

#include "pixels/MipLevels.h"

namespace slipway::pixmill {

struct SliderRange {
    int minimum = 0;
    int maximum = 0;
    int position = 0;  // where the slider goes when the mode is chosen
};

// "Number mips": 1..16 at 1; "Minimum mips size": 0..15 at 4.
SliderRange mipsSliderRange(MipCountMode mode);
// "mips %d" with the position, or "%d pix" with 2 to the power of the position.
std::string mipsLabel(MipCountMode mode, int position);
// "%.1f" of (10 - position) / 10.
std::string attenuationLabel(int position);
// The export dialog's level slider for a chain: 0 to the chain's largest count - 1, at 0.
SliderRange exportLevelRange(int largestCount);
// "mip %d".
std::string levelLabel(int level);

}  // namespace slipway::pixmill
