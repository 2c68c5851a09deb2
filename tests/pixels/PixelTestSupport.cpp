#include "PixelTestSupport.h"

#include <cstring>

namespace slipway::test {

PixelImage makePicture(Pattern pattern, std::uint32_t width, std::uint32_t height,
                       std::uint32_t seed, std::uint32_t format) {
    PixelImage picture;
    if ((format & kBitsPerPixelMask) == 8) {
        TestRandom random(seed + 99);
        Palette palette;
        for (auto& v : palette)
            v = static_cast<std::uint8_t>(random.next());
        picture.setPalette(palette);
    }
    picture.create(width, height, format);
    const auto pixels = makePattern(pattern, width, height, seed);
    for (std::uint32_t y = 0; y < height; ++y) {
        for (std::uint32_t x = 0; x < width; ++x)
            picture.setPixel(x, y, pixels[y * width + x]);
    }
    picture.addFormatFlags(formatFilled);
    return picture;
}

reference::Picture toReference(const PixelImage& picture) {
    reference::Picture out;
    if (picture.isEmpty())
        return out;
    out.create(picture.width(), picture.height(), static_cast<int>(picture.bitsPerPixel()),
               picture.hasAlpha());
    std::memcpy(out.bytes.data(), picture.pixels(), picture.byteSize());
    std::memcpy(out.palette, picture.palette().data(), 768);
    return out;
}

bool samePicture(const PixelImage& product, const reference::Picture& expected) {
    if (product.isEmpty() || expected.bpp == 0)
        return product.isEmpty() && expected.bpp == 0;
    if (product.width() != expected.width || product.height() != expected.height ||
        static_cast<int>(product.bitsPerPixel()) != expected.bpp ||
        product.hasAlpha() != expected.alpha) {
        return false;
    }
    if (std::memcmp(product.pixels(), expected.bytes.data(), expected.bytes.size()) != 0) {
        return false;
    }
    return expected.bpp != 8 || std::memcmp(product.palette().data(), expected.palette, 768) == 0;
}

}  // namespace slipway::test
