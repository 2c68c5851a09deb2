#pragma once
// A TF texture in memory: up to sixteen 16-bit levels (5:6:5, 1:5:5:5 or 4:4:4:4 with alpha)
// and up to sixteen 8-bit levels sharing one palette.

#include <array>
#include <cstdint>

#include "pixels/PixelImage.h"

namespace slipway {

inline constexpr int kMaxTfLevels = 16;
inline constexpr std::size_t kTfHeaderBytes = 16;
inline constexpr std::size_t kTfPaletteBytes = 1024;

// 16-bit chain layouts as stored in byte 5 of the header.
inline constexpr std::uint8_t kTfFormat565 = 0;
inline constexpr std::uint8_t kTfFormat1555 = 1;
inline constexpr std::uint8_t kTfFormat4444 = 2;

struct TfImage {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint8_t pixelFormatCode = 0;
    bool hasAlpha = false;
    std::uint8_t count16 = 0;
    std::array<PixelImage, kMaxTfLevels> levels16;
    std::uint8_t count8 = 0;
    std::array<PixelImage, kMaxTfLevels> levels8;
};

}  // namespace slipway
