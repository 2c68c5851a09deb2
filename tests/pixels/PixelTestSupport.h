#pragma once
// Builders shared by the pixel pipeline tests: pictures in any format from a pattern, and the
// reference's copy of a product picture.

#include <cstdint>

#include "PixelPatterns.h"
#include "ReferencePipeline.h"
#include "pixels/PixelImage.h"

namespace slipway::test {

// A picture of `format` (bits per pixel plus flags) holding the pattern, encoded pixel by
// pixel; 8-bit pictures first get a random palette.
PixelImage makePicture(Pattern pattern, std::uint32_t width, std::uint32_t height,
                       std::uint32_t seed, std::uint32_t format);

reference::Picture toReference(const PixelImage& picture);

// True when both hold the same size, depth, alpha flag, bytes and (for 8 bits) palette.
bool samePicture(const PixelImage& product, const reference::Picture& expected);

}  // namespace slipway::test
