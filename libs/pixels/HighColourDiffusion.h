#pragma once
// Error diffusion of a picture into a 16-, 15- or 12-bit one: the conversion that
// PixelImage::convertFrom makes into those depths.

#include "pixels/PixelImage.h"

namespace slipway {

// Fills `target` (created at the source's size with 16, 15 or 12 bits per pixel, not the
// source itself) from a source of any depth. False, with nothing done, for any other
// combination; false also when memory runs out.
bool diffuseToHighColour(const PixelImage& source, PixelImage& target);

}  // namespace slipway
