#include <cstddef>

#include "engine/TextureStore.h"

namespace slipway {

namespace {

constexpr std::size_t kTfHeaderSize = 16;
constexpr std::size_t kTgaHeaderSize = 18;
constexpr std::uint8_t kTgaTopLeftOrigin = 0x20;

std::uint16_t loadU16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t loadU32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

bool usableSize(std::uint32_t w, std::uint32_t h) {
    return w > 0 && h > 0 && w <= kMaxTextureSide && h <= kMaxTextureSide;
}

// A 4:4:4:4 pixel as stored (alpha nibble inverted) to 1:5:5:5 with alpha 1 = opaque: the
// alpha bit is set when the alpha, turned the right way up, is 8 or more.
std::uint16_t fromStored4444(std::uint16_t p) {
    const unsigned alpha = 15u - (p >> 12);
    const auto widen = [](unsigned c) { return (c << 1) | (c >> 3); };
    const unsigned r = widen((p >> 8) & 0xF), g = widen((p >> 4) & 0xF), b = widen(p & 0xF);
    return static_cast<std::uint16_t>((alpha >= 8 ? 0x8000u : 0u) | (r << 10) | (g << 5) | b);
}

// 8-bit channels to the 1:5:5:5 layout, keeping the top five bits of each.
std::uint16_t fromBgr(const std::uint8_t* p, bool opaque) {
    return static_cast<std::uint16_t>((opaque ? 0x8000u : 0u) | ((p[2] >> 3) << 10) |
                                      ((p[1] >> 3) << 5) | (p[0] >> 3));
}

// Rounded texture sides: 32, 64, 128 or 256.
int roundedSide(std::uint32_t side) {
    if (side >= 256)
        return 256;
    if (side >= 128)
        return 128;
    if (side >= 64)
        return 64;
    return 32;
}

}  // namespace

bool decodeTf(std::span<const std::uint8_t> bytes, DecodedTexture& out) {
    if (bytes.size() < kTfHeaderSize)
        return false;
    const std::uint8_t* header = bytes.data();
    const std::uint8_t code = header[5];
    const std::uint8_t count16 = header[6];
    const std::uint32_t w = loadU32(header + 8), h = loadU32(header + 12);
    // Only the 16-bit chain is used; a file without it has nothing to show.
    if (count16 == 0 || !usableSize(w, h))
        return false;
    const std::size_t count = static_cast<std::size_t>(w) * h;
    if (bytes.size() - kTfHeaderSize < count * 2)
        return false;

    out.width = static_cast<int>(w);
    out.height = static_cast<int>(h);
    out.format = code == 0 ? TexturePixelFormat::Rgb565 : TexturePixelFormat::Argb1555;
    out.hasAlpha = code == 1 || code == 2;
    out.pixels.resize(count);
    const std::uint8_t* src = header + kTfHeaderSize;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint16_t p = loadU16(src + 2 * i);
        if (code == 1) {
            out.pixels[i] = static_cast<std::uint16_t>(p ^ 0x8000u);  // stored 0 = opaque
        } else if (code == 2) {
            out.pixels[i] = fromStored4444(p);
        } else {
            out.pixels[i] = p;
        }
    }
    return true;
}

bool decodeTga(std::span<const std::uint8_t> bytes, const TgaDecodeRules& rules,
               DecodedTexture& out) {
    if (bytes.size() < kTgaHeaderSize)
        return false;
    const std::uint8_t* header = bytes.data();
    const std::uint32_t w = loadU16(header + 12), h = loadU16(header + 14);
    const unsigned depth = header[16];
    if (!usableSize(w, h))
        return false;
    const std::size_t offset =
        kTgaHeaderSize + (rules.skipsIdentification ? header[0] + header[1] : 0u);
    const std::size_t pixelBytes = depth == 16 ? 2 : depth == 24 ? 3 : depth == 32 ? 4 : 0;
    const std::size_t count = static_cast<std::size_t>(w) * h;
    if (pixelBytes != 0 && (bytes.size() < offset || bytes.size() - offset < count * pixelBytes)) {
        return false;
    }

    const int outW = rules.roundsSides ? roundedSide(w) : static_cast<int>(w);
    const int outH = rules.roundsSides ? roundedSide(h) : static_cast<int>(h);
    out.width = outW;
    out.height = outH;
    out.format = TexturePixelFormat::Argb1555;
    out.hasAlpha = depth == 32;
    out.pixels.assign(static_cast<std::size_t>(outW) * static_cast<std::size_t>(outH), 0);
    if (pixelBytes == 0)
        return true;  // other depths: registered with blank pixels

    const std::uint8_t* src = bytes.data() + offset;
    // Rows are stored from the bottom up, unless the rules honour the top-left origin bit of
    // 24-bit pictures.
    const bool topDown = rules.honoursTopOrigin && depth == 24 && (header[17] & kTgaTopLeftOrigin) != 0;
    for (int y = 0; y < outH; ++y) {
        // Nearest sample when the surface size differs from the picture's (rounded sides).
        const std::size_t row = static_cast<std::size_t>(y) * h / static_cast<std::size_t>(outH);
        const std::size_t fileRow = topDown ? row : h - 1 - row;
        std::uint16_t* dst = out.pixels.data() + static_cast<std::size_t>(y) * outW;
        for (int x = 0; x < outW; ++x) {
            const std::size_t col =
                static_cast<std::size_t>(x) * w / static_cast<std::size_t>(outW);
            const std::uint8_t* p = src + (fileRow * w + col) * pixelBytes;
            if (depth == 16) {
                dst[x] = loadU16(p);
            } else if (depth == 24) {
                dst[x] = fromBgr(p, false);
            } else {
                dst[x] = fromBgr(p, p[3] != 0);
            }
        }
    }
    return true;
}

}  // namespace slipway
