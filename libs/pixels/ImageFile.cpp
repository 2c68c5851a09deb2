#include "pixels/ImageFile.h"

#include <cerrno>
#include <fstream>

#include "base/FileIo.h"
#include "base/Paths.h"

namespace slipway {

ImageFile::~ImageFile() = default;

bool ImageFile::loadPicture() {
    return false;
}
bool ImageFile::isValid() const {
    return false;
}
bool ImageFile::readInfo() {
    return false;
}
std::unique_ptr<ImageFile> ImageFile::clone() const {
    return nullptr;
}

void ImageFile::copyFieldsTo(ImageFile& copy) const {
    copy.path = path;
    copy.width = width;
    copy.height = height;
    copy.level = level;
    copy.count16 = count16;
    copy.count8 = count8;
    copy.bitsPerPixel = bitsPerPixel;
    copy.hasAlpha = hasAlpha;
    copy.use16 = use16;
    copy.picture.release();
    copy.picture.setPalette(picture.palette());
}

bool ImageFile::replaceFile(std::span<const std::uint8_t> bytes) {
    fileError = FileErrorCause::None;
    // A folder in the file's place means the file cannot be created: a plain failure, as when
    // the folder it would go into is missing, not an error while writing.
    if (directoryExists(path))
        return false;
    AtomicFile file(path);
    file.failAfterBytes(failWritesAfterBytes);
    if (!file.open())
        return false;
    errno = 0;
    if (!file.write(bytes) || !file.commit()) {
        fileError = fileErrorCauseFromErrno(errno);
        return false;
    }
    return true;
}

std::optional<std::vector<std::uint8_t>> ImageFile::readHead(std::size_t count) const {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::vector<std::uint8_t> bytes(count);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(count));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

}  // namespace slipway
