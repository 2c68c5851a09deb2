#include "pixels/PicturePreview.h"

#include <vector>

#include "base/Format.h"

namespace slipway {

bool makeDisplayPicture(const PixelImage& picture, PixelImage& display) {
    display.release();
    if (picture.isEmpty())
        return false;
    const std::uint32_t format = picture.hasAlpha() ? (32u | formatAlpha) : 24u;
    if (!display.create(picture.width(), picture.height(), format))
        return false;
    if (!display.convertFrom(picture)) {
        display.release();
        return false;
    }
    return true;
}

std::string describeSurface(const PixelImage& picture) {
    const unsigned bits = picture.bitsPerPixel();
    if (!picture.hasAlpha())
        return formatText("texture bpp: %u ", bits);
    switch (bits) {
        case 8:
            return formatText("texture bpp: %u, alpha: color key ", bits);
        case 12:
            return formatText("texture bpp: %u, alpha: 4 bit ", bits);
        case 15:
            return formatText("texture bpp: %u, alpha: 1 bit ", bits);
        case 32:
            return formatText("texture bpp: %u, alpha: 8 bit ", bits);
        default:
            return "this is BUG!!!";
    }
}

void renderPreview(const PixelImage& display, std::uint32_t background, PreviewView view,
                   std::uint32_t* out) {
    const std::uint32_t width = display.width();
    const std::uint32_t height = display.height();
    const bool alpha = display.hasAlpha();
    const double backRed = background & 0xFF;
    const double backGreen = (background >> 8) & 0xFF;
    const double backBlue = (background >> 16) & 0xFF;
    std::vector<Bgra> row(width);
    for (std::uint32_t y = 0; y < height; ++y) {
        display.rowBgra(y, row.data());
        for (std::uint32_t x = 0; x < width; ++x) {
            const Bgra p = row[x];
            std::uint32_t r = p.r, g = p.g, b = p.b;
            if (alpha && view == PreviewView::Alpha) {
                r = g = b = p.a;
            } else if (alpha && view == PreviewView::Blended) {
                const double a = p.a / 255.0;
                r = static_cast<std::uint32_t>(p.r * a + backRed * (1.0 - a));
                g = static_cast<std::uint32_t>(p.g * a + backGreen * (1.0 - a));
                b = static_cast<std::uint32_t>(p.b * a + backBlue * (1.0 - a));
            }
            *out++ = 0xFF000000u | (r << 16) | (g << 8) | b;
        }
    }
}

}  // namespace slipway
