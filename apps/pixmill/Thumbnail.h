#pragma once
// `pixmill thumbnail IN OUT SIZE`, the TF textures' thumbnailer: a PNG picture of the texture
// that fits SIZE x SIZE pixels (see loadTfPreview), written atomically.

#include <cstdint>
#include <ostream>
#include <string>

namespace slipway::pixmill {

// Writes the thumbnail of the TF texture at `input` to `output`; reads no more of the input
// than the level it shows. False, with a message on `err`, when the texture cannot be read or
// the picture cannot be written; `output` is then as it was.
bool writeThumbnail(const std::string& input, const std::string& output, std::uint32_t size,
                    std::ostream& err);

}  // namespace slipway::pixmill
