#include "pixmill/Thumbnail.h"

#include <algorithm>
#include <cstdint>

#include "base/FileIo.h"
#include "pixels/TfPreview.h"
#include "pixmill/PngWriter.h"

namespace slipway::pixmill {

bool writeThumbnail(const std::string& input, const std::string& output, std::uint32_t size,
                    std::ostream& err) {
    PixelImage picture;
    const auto head = readFileHead(input, kTfHeaderBytes);
    TfHeader header;
    bool loaded = false;
    if (head && parseTfHeader(*head, header)) {
        if (const auto choice = chooseTfPreviewLevel(header, size)) {
            // A limit the platform cannot hold reads a prefix that fails to decode.
            const std::uint64_t need =
                std::min<std::uint64_t>(tfPreviewBytes(header, *choice), SIZE_MAX);
            const auto data = readFileHead(input, static_cast<std::size_t>(need));
            loaded = data && loadTfPreview(*data, size, picture);
        }
    }
    if (!loaded) {
        err << "pixmill: cannot read " << input << " as a TF texture\n";
        return false;
    }
    const bool alpha = header.pixelFormatCode != kTfFormat565;
    const std::vector<std::uint8_t> png = encodePng(picture, alpha);
    if (png.empty() || !writeFileAtomically(output, png)) {
        err << "pixmill: cannot write " << output << "\n";
        return false;
    }
    return true;
}

}  // namespace slipway::pixmill
