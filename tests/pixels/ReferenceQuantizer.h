#pragma once
// The palette builder written the slow, obvious way: every box counts its pixels by testing
// the whole population against its bounds. Tests hold the product to its exact output.

#include <cstddef>
#include <vector>

#include "pixels/Bgra.h"
#include "pixels/ColorQuantizer.h"

namespace slipway::reference {

// Same contract as slipway::quantize.
int quantize(const Bgra* pixels, std::size_t count, PaletteEntry* palette, int maxColours);

}  // namespace slipway::reference
