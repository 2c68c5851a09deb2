// Feeds arbitrary bytes to the TGA reader; small pictures that load are also converted to
// the 16-bit and palette formats, so the diffusion loops see whatever the reader produces.

#include <cstddef>
#include <cstdint>
#include <span>

#include "pixels/TgaFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace slipway;
    const std::span<const std::uint8_t> bytes(data, size);
    TgaFile file;
    TgaFile::isValidData(bytes);
    file.readInfoFrom(bytes);
    if (!file.loadPictureFrom(bytes))
        return 0;
    const PixelImage& picture = file.picture;
    if (picture.byteSize() != picture.bytesPerPixel() * picture.width() * picture.height())
        __builtin_trap();
    if (std::uint64_t{picture.width()} * picture.height() > 64 * 64)
        return 0;
    for (const std::uint32_t format : {15u | formatAlpha, 16u, 8u | formatAlpha}) {
        PixelImage target;
        target.setPalette(picture.palette());
        if (!target.create(picture.width(), picture.height(), format) ||
            !target.convertFrom(picture)) {
            __builtin_trap();
        }
    }
    return 0;
}
