#include "export/TexturePng.h"

#include <array>

#include <stb_image_write.h>

namespace slipway {

namespace {

void appendBytes(void* context, void* data, int size) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(context);
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    out->insert(out->end(), bytes, bytes + size);
}

}  // namespace

std::uint8_t expandChannel(std::uint32_t value, std::uint32_t max) {
    return static_cast<std::uint8_t>((value * 255 + max / 2) / max);
}

std::array<std::uint8_t, 4> texelRgba(const TextureEntry& entry, int x, int y) {
    const std::uint32_t t = entry.pixel(x, y);
    if (entry.format == TexturePixelFormat::Rgb565) {
        return {expandChannel((t >> 11) & 31, 31), expandChannel((t >> 5) & 63, 63),
                expandChannel(t & 31, 31), 255};
    }
    return {expandChannel((t >> 10) & 31, 31), expandChannel((t >> 5) & 31, 31),
            expandChannel(t & 31, 31), static_cast<std::uint8_t>((t & 0x8000) != 0 ? 255 : 0)};
}

std::vector<std::uint8_t> encodeTexturePng(const TextureEntry& entry) {
    if (entry.width <= 0 || entry.height <= 0 ||
        entry.pixels.size() !=
            static_cast<std::size_t>(entry.width) * static_cast<std::size_t>(entry.height)) {
        return {};
    }
    const int channels = entry.hasAlpha ? 4 : 3;
    std::vector<std::uint8_t> rgba;
    rgba.reserve(entry.pixels.size() * static_cast<std::size_t>(channels));
    for (int y = 0; y < entry.height; ++y) {
        for (int x = 0; x < entry.width; ++x) {
            const auto texel = texelRgba(entry, x, y);
            rgba.insert(rgba.end(), texel.begin(), texel.begin() + channels);
        }
    }
    std::vector<std::uint8_t> png;
    if (stbi_write_png_to_func(appendBytes, &png, entry.width, entry.height, channels, rgba.data(),
                               entry.width * channels) == 0) {
        return {};
    }
    return png;
}

}  // namespace slipway
