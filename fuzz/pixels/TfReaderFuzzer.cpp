// Feeds arbitrary bytes to the TF reader: the header, then every level of both chains.

#include <cstddef>
#include <cstdint>
#include <span>

#include "pixels/TfFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace slipway;
    const std::span<const std::uint8_t> bytes(data, size);
    TfFile file;
    if (!file.readInfoFrom(bytes))
        return 0;
    for (const bool use16 : {true, false}) {
        file.use16 = use16;
        for (std::uint32_t level = 0; level < 17; ++level) {
            file.level = level;
            if (file.loadPictureFrom(bytes)) {
                // A loaded level has the size the header gives for it.
                const PixelImage& p = file.picture;
                if (p.width() != file.width >> level || p.height() != file.height >> level)
                    __builtin_trap();
            }
        }
    }
    return 0;
}
