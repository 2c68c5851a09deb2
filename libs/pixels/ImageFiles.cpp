#include "pixels/ImageFiles.h"

#include "base/Format.h"
#include "base/Paths.h"
#include "pixels/BmpFile.h"
#include "pixels/TfFile.h"
#include "pixels/TgaFile.h"

namespace slipway {

std::unique_ptr<ImageFile> openImageFile(const std::string& path) {
    const std::string extension = splitPath(path).extension;
    if (equalsIgnoringCase(extension, ".tf"))
        return std::make_unique<TfFile>(path);
    if (equalsIgnoringCase(extension, ".bmp"))
        return std::make_unique<BmpFile>(path);
    return std::make_unique<TgaFile>(path);
}

std::string describeImage(const ImageFile& file) {
    std::string text =
        formatText("Size: %ux%u; BPP: %u", file.width, file.height, file.bitsPerPixel);
    if (file.hasAlpha)
        text += "; Alpha channel";
    if (file.count16 > 0)
        text += formatText("; 16 bit mips: %u", file.count16);
    if (file.count8 > 0)
        text += formatText("; 8 bit mips: %u", file.count8);
    return text;
}

}  // namespace slipway
