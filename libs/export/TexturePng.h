#pragma once
// A texture of the store as PNG bytes, for embedding in a glTF file.

#include <array>
#include <cstdint>
#include <vector>

#include "engine/TextureStore.h"

namespace slipway {

// One 5- or 6-bit channel of a 16-bit texel as 8 bits, rounded to the nearest (v·255/max), the
// value the renderer's 16-bit textures stand for.
std::uint8_t expandChannel(std::uint32_t value, std::uint32_t max);

// The texel at (x, y) as red, green, blue, alpha (0 or 255).
std::array<std::uint8_t, 4> texelRgba(const TextureEntry& entry, int x, int y);

// The texture as a PNG picture, rows from the top: RGBA when it is drawn with alpha testing
// (alpha 0 where the texel's alpha bit is clear), RGB otherwise. Empty when the entry has no
// pixels or its sizes do not match them.
std::vector<std::uint8_t> encodeTexturePng(const TextureEntry& entry);

}  // namespace slipway
