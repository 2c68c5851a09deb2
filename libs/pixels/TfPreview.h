#pragma once
// The picture of a TF texture at a wanted size, for thumbnails and image viewers: one stored
// level, from the 16-bit chain when the file has one and else from the 8-bit chain.

#include <cstdint>
#include <optional>
#include <span>

#include "pixels/PixelImage.h"
#include "pixels/TfFile.h"

namespace slipway {

struct TfPreviewLevel {
    bool use16 = true;
    std::uint32_t level = 0;
};

// The largest level of the chain whose width and height both fit `maxSide`, or the chain's
// smallest level when none does. Levels with a side of 0 do not count. Nothing when the file
// has no level at all.
std::optional<TfPreviewLevel> chooseTfPreviewLevel(const TfHeader& header, std::uint32_t maxSide);

// The number of bytes from the start of the file to the end of `choice`'s level: what a reader
// must hold to decode it, so it can refuse or read no more before allocating.
std::uint64_t tfPreviewBytes(const TfHeader& header, TfPreviewLevel choice);

// Decodes the level chooseTfPreviewLevel picks from the TF bytes `data` (the file from its
// start, at least tfPreviewBytes long) into `out`: 32 bits per pixel with formatAlpha, scaled
// down by area to fit `maxSide` (keeping the proportions) when even the smallest level is
// larger. False, with `out` empty, for bytes that do not hold the level. Safe on untrusted
// data.
bool loadTfPreview(std::span<const std::uint8_t> data, std::uint32_t maxSide, PixelImage& out);

}  // namespace slipway
