#pragma once
// The texture conversion written the slow, obvious way: its own picture type with per-pixel
// encoding and decoding, error diffusion with a linear palette search per pixel, every mip
// level box-filtered from level 0, the reference quantizer, and the TF bytes laid out by hand.
// Tests and benchmarks compare the product with it byte for byte.

#include <cstdint>
#include <string>
#include <vector>

#include "pixels/Bgra.h"

namespace slipway::reference {

struct Picture {
    std::uint32_t width = 0, height = 0;
    int bpp = 0;  // 0: empty
    bool alpha = false;
    std::vector<std::uint8_t> bytes;
    std::uint8_t palette[768] = {};

    bool create(std::uint32_t w, std::uint32_t h, int bitsPerPixel, bool withAlpha);
    int bytesPerPixel() const { return (bpp + 7) / 8; }
    Bgra get(std::uint32_t x, std::uint32_t y) const;
    void set(std::uint32_t x, std::uint32_t y, Bgra p);
};

// Same size only (the conversion never changes size and depth at once).
bool convertFrom(Picture& target, const Picture& source);
bool resizeFrom(Picture& target, std::uint32_t width, std::uint32_t height, const Picture& source);
bool makeMip(Picture& target, const Picture& source, int k);
void toggleAlpha(Picture& picture);
void scaleAlpha(Picture& picture, float factor);
void copyLines(Picture& picture, int mode);
void buildPalette(const Picture* levels, int count, std::uint8_t palette[768]);

struct ChainSettings {
    bool enabled = true;
    bool numberMips = false;  // else minimum size
    int slider = 4;
};

struct Settings {
    ChainSettings chain16, chain8;
    bool fourBitAlpha = false;
    int attenuationPosition = 0;
    int verticalCopy = 0, horizontalCopy = 0;
};

// The whole per-file conversion of a loaded source picture: the TF file's bytes, and the
// messages shown on the way ("Texture ... have error size").
std::vector<std::uint8_t> convertToTf(Picture source, const Settings& settings,
                                      const std::string& path, std::vector<std::string>* messages);

}  // namespace slipway::reference
