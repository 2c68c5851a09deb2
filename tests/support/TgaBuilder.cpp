#include "TgaBuilder.h"

#include <algorithm>
#include <cstring>

#include "base/ByteWriter.h"

namespace slipway::test {

std::vector<std::uint8_t> TgaBuilder::build() const {
    ByteWriter out;
    out.u8(static_cast<std::uint8_t>(id.size()));
    out.u8(colourMapType);
    out.u8(imageType);
    out.u16(mapFirst);
    out.u16(mapLength);
    out.u8(mapEntryBits);
    out.zeros(4);
    out.u16(width);
    out.u16(height);
    out.u8(depth);
    out.u8(descriptor);
    out.bytes(id);
    out.bytes(colourMap);
    out.bytes(pixels);
    return out.take();
}

std::vector<std::uint8_t> tgaRunLength(const std::vector<std::uint8_t>& pixels,
                                       std::size_t bytesPerPixel) {
    const std::size_t count = pixels.size() / bytesPerPixel;
    auto same = [&](std::size_t a, std::size_t b) {
        return std::memcmp(&pixels[a * bytesPerPixel], &pixels[b * bytesPerPixel], bytesPerPixel) ==
               0;
    };
    std::vector<std::uint8_t> out;
    std::size_t i = 0;
    while (i < count) {
        std::size_t run = 1;
        while (i + run < count && run < 128 && same(i, i + run))
            ++run;
        if (run >= 2) {
            out.push_back(static_cast<std::uint8_t>(0x80 | (run - 1)));
            out.insert(out.end(), pixels.begin() + i * bytesPerPixel,
                       pixels.begin() + (i + 1) * bytesPerPixel);
            i += run;
            continue;
        }
        std::size_t raw = 1;
        while (i + raw < count && raw < 128 && !(i + raw + 1 < count && same(i + raw, i + raw + 1)))
            ++raw;
        out.push_back(static_cast<std::uint8_t>(raw - 1));
        out.insert(out.end(), pixels.begin() + i * bytesPerPixel,
                   pixels.begin() + (i + raw) * bytesPerPixel);
        i += raw;
    }
    return out;
}

}  // namespace slipway::test
