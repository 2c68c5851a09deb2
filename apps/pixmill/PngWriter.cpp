#include "pixmill/PngWriter.h"

#include <png.h>

namespace slipway::pixmill {

std::vector<std::uint8_t> encodePng(const PixelImage& picture, bool keepAlpha) {
    if (picture.bitsPerPixel() != 32)
        return {};
    const std::uint32_t w = picture.width();
    const std::uint32_t h = picture.height();
    // The picture's pixels are blue, green, red, alpha: libpng takes them as they are, or
    // without the alpha byte.
    std::vector<std::uint8_t> bgr;
    const std::uint8_t* pixels = picture.pixels();
    if (!keepAlpha) {
        bgr.reserve(std::size_t{w} * h * 3);
        for (std::size_t i = 0; i < std::size_t{w} * h; ++i)
            bgr.insert(bgr.end(), pixels + i * 4, pixels + i * 4 + 3);
        pixels = bgr.data();
    }

    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = w;
    image.height = h;
    image.format = keepAlpha ? PNG_FORMAT_BGRA : PNG_FORMAT_BGR;
    const png_int_32 rowStride = static_cast<png_int_32>(PNG_IMAGE_ROW_STRIDE(image));
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&image, nullptr, &size, 0, pixels, rowStride, nullptr))
        return {};
    std::vector<std::uint8_t> bytes(size);
    if (!png_image_write_to_memory(&image, bytes.data(), &size, 0, pixels, rowStride, nullptr))
        return {};
    bytes.resize(size);
    return bytes;
}

}  // namespace slipway::pixmill
