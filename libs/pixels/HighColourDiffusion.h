#pragma once
// Error diffusion of a 24- or 32-bit picture into a 16-, 15- or 12-bit one: the conversion
// that PixelImage::convertFrom makes into those depths.

#include "pixels/PixelImage.h"

namespace slipway {

// Fills `target` (created at the source's size with 16, 15 or 12 bits per pixel) from a 24- or
// 32-bit source. False, with nothing done, for any other combination; false also when memory
// runs out.
bool diffuseToHighColour(const PixelImage& source, PixelImage& target);

}  // namespace slipway
