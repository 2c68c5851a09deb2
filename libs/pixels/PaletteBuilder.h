#pragma once
// The texture palette of an 8-bit chain, quantized from a chain of pictures.

#include "pixels/PixelImage.h"

namespace slipway {

// Quantizes every non-empty picture of `levels` (all their pixels together) into `palette`
// (256 x blue, green, red). When the first picture has formatAlpha, entry 0 stays black as the
// transparent colour and at most 255 colours are placed; entries left unfilled are black.
// False, with the palette untouched, when memory runs out or there are no pixels.
bool buildPalette(const PixelImage* levels, int levelCount, Palette& palette);

}  // namespace slipway
