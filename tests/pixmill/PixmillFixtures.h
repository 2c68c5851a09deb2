#pragma once
// Picture files for Pixmill's window tests, written from deterministic patterns.

#include <cstdint>
#include <string>

#include "pixels/TextureCommands.h"

namespace slipway::test {

// A TGA picture of `format` (24, 32 | formatAlpha, ...) filled with the Blocks pattern.
void writeTgaPicture(const std::string& path, std::uint32_t width, std::uint32_t height,
                     std::uint32_t format, std::uint32_t seed = 1);

// A TF texture made from such a picture with `options` (fatal test failure when it fails).
void writeTfTexture(const std::string& path, std::uint32_t width, std::uint32_t height,
                    std::uint32_t format, const ConvertOptions& options = {});

}  // namespace slipway::test
