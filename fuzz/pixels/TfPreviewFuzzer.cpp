// Feeds arbitrary bytes to the TF preview that the thumbnailer and Qt's image plugin use, at a
// few sizes: a picture it returns has pixels and fits the size asked for.

#include <cstddef>
#include <cstdint>
#include <span>

#include "pixels/TfPreview.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace slipway;
    const std::span<const std::uint8_t> bytes(data, size);
    for (const std::uint32_t maxSide : {1u, 3u, 64u, UINT32_MAX}) {
        PixelImage preview;
        if (!loadTfPreview(bytes, maxSide, preview)) {
            if (!preview.isEmpty())
                __builtin_trap();
            continue;
        }
        if (preview.isEmpty() || preview.bitsPerPixel() != 32 || preview.width() > maxSide ||
            preview.height() > maxSide) {
            __builtin_trap();
        }
    }
    return 0;
}
