#include "pixels/ImageFile.h"

#include <cerrno>

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
    failureCause.clear();
    // A folder in the file's place means the file cannot be created: a plain failure, as when
    // the folder it would go into is missing, not an error while writing.
    if (directoryExists(path))
        return fail(systemErrorText(EISDIR));
    AtomicFile file(path);
    file.failAfterBytes(failWritesAfterBytes);
    errno = 0;
    if (!file.open())
        return fail(errno != 0 ? systemErrorText(errno) : std::string());
    errno = 0;
    if (!file.write(bytes) || !file.commit()) {
        const int error = errno;
        fileError = fileErrorCauseFromErrno(error);
        return fail(error != 0 ? systemErrorText(error) : std::string());
    }
    return true;
}

std::optional<std::vector<std::uint8_t>> ImageFile::readWhole() {
    auto bytes = readFileBytes(path);
    if (!bytes)
        failUnreadable();
    return bytes;
}

bool ImageFile::failUnreadable() {
    const std::string cause = unreadableFileCause(path);
    return fail(cause.empty() ? "read error" : cause);
}

bool ImageFile::fail(std::string cause) {
    failureCause = std::move(cause);
    return false;
}

std::optional<std::vector<std::uint8_t>> ImageFile::readHead(std::size_t count) const {
    // A folder opens but cannot be read: nothing, as for a file that cannot be opened.
    return readFileHead(path, count);
}

}  // namespace slipway
