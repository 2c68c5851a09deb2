#pragma once
// PNG encoding of Pixmill's pictures, for thumbnails.

#include <cstdint>
#include <vector>

#include "pixels/PixelImage.h"

namespace slipway::pixmill {

// The PNG file bytes of a 32-bit picture: with its alpha channel when `keepAlpha`, else as
// opaque RGB. Empty for a picture of another depth or when encoding fails.
std::vector<std::uint8_t> encodePng(const PixelImage& picture, bool keepAlpha);

}  // namespace slipway::pixmill
