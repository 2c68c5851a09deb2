#include "TfBuilder.h"

#include "base/ByteWriter.h"

namespace slipway::test {

std::vector<std::uint8_t> TfBuilder::build() const {
    ByteWriter out;
    out.zeros(5);
    out.u8(pixelFormatCode);
    out.u8(count16);
    out.u8(count8);
    out.u32(width);
    out.u32(height);
    out.bytes(body);
    return out.take();
}

std::size_t TfBuilder::bodySize() const {
    std::size_t size = 0;
    for (int k = 0; k < count16; ++k)
        size += std::size_t{width >> k} * (height >> k) * 2;
    if (count8 > 0)
        size += 1024;
    for (int k = 0; k < count8; ++k)
        size += std::size_t{width >> k} * (height >> k);
    return size;
}

}  // namespace slipway::test
