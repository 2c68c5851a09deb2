#include "demoship/TgaWriter.h"

#include "base/ByteWriter.h"

namespace slipway::demo {

std::vector<std::uint8_t> encodeTga(const Picture& picture, bool alpha) {
    ByteWriter out;
    out.u8(0);  // no identification field
    out.u8(0);  // no colour map
    out.u8(2);  // uncompressed true colour
    out.zeros(5);
    out.u16(0);
    out.u16(0);
    out.u16(static_cast<std::uint16_t>(picture.width));
    out.u16(static_cast<std::uint16_t>(picture.height));
    out.u8(alpha ? 32 : 24);
    out.u8(alpha ? 8 : 0);  // alpha bits; origin at the bottom left
    for (int y = picture.height - 1; y >= 0; --y) {
        for (int x = 0; x < picture.width; ++x) {
            const Rgba& p = picture.at(x, y);
            out.u8(p.b);
            out.u8(p.g);
            out.u8(p.r);
            if (alpha)
                out.u8(p.a);
        }
    }
    return out.take();
}

}  // namespace slipway::demo
