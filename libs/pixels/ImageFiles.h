#pragma once
// Which handler reads a picture file, and the one-line description of a read picture that
// the command line prints and the viewer shows under the path.

#include <memory>
#include <string>

#include "pixels/ImageFile.h"

namespace slipway {

// A handler for the file at `path`, chosen by its extension ignoring case: .tf a TfFile, .bmp
// a BmpFile, anything else a TgaFile. Nothing is read yet.
std::unique_ptr<ImageFile> openImageFile(const std::string& path);

// "Size: WxH; BPP: N" from the handler's header fields, then "; Alpha channel" when hasAlpha,
// "; 16 bit mips: N" when count16 > 0 and "; 8 bit mips: N" when count8 > 0.
std::string describeImage(const ImageFile& file);

}  // namespace slipway
