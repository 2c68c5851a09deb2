#pragma once
// One handler per picture file (TF, TGA, BMP): reads the header, loads the picture, tests
// whether the file can be used and makes an empty copy of itself for another thread. The base
// versions fail.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "pixels/FileError.h"
#include "pixels/PixelImage.h"

namespace slipway {

class ImageFile {
  public:
    ImageFile() = default;
    explicit ImageFile(std::string filePath) : path(std::move(filePath)) {}
    virtual ~ImageFile();

    virtual bool loadPicture();
    virtual bool isValid() const;
    virtual bool readInfo();
    // A new handler of the same kind with the same path, header fields, use16 and palette,
    // its picture holding no pixels. Nothing for the base and BMP.
    virtual std::unique_ptr<ImageFile> clone() const;

    std::string path;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t level = 0;
    std::uint32_t count16 = 0;
    std::uint32_t count8 = 0;
    std::uint32_t bitsPerPixel = 0;
    bool hasAlpha = false;
    bool use16 = true;
    PixelImage picture;

    // Why the last readInfo, loadPicture or write failed, for messages that name a cause: the
    // system's error text ("No such file or directory") or what is wrong with the file ("not
    // a TGA picture", "truncated: 500 of 12,306 bytes"). Empty when not known.
    std::string failureCause;

    // Set by a failed write once the target could be opened: the cause to report to the user
    // (the command then ends). None when the last write succeeded or failed before writing.
    FileErrorCause fileError = FileErrorCause::None;
    // Test hook: writes fail after this many bytes, as on a full disk.
    std::size_t failWritesAfterBytes = SIZE_MAX;

  protected:
    ImageFile(const ImageFile&) = default;
    // Copies path, header fields, use16 and the palette into `copy`.
    void copyFieldsTo(ImageFile& copy) const;
    // Replaces the file at `path` with `bytes` atomically; sets fileError when writing fails
    // after the temporary file was created.
    bool replaceFile(std::span<const std::uint8_t> bytes);
    // The first `count` bytes of the file at `path` (fewer when the file is shorter); nothing
    // when it cannot be opened.
    std::optional<std::vector<std::uint8_t>> readHead(std::size_t count) const;
    // The whole file at `path`; nothing (and failureCause set) when it cannot be read.
    std::optional<std::vector<std::uint8_t>> readWhole();
    // Records `cause` as failureCause and returns false, for `return fail("...")`.
    bool fail(std::string cause);
    // Records why the file at `path` cannot be read and returns false.
    bool failUnreadable();
};

// The largest width or height any reader accepts.
inline constexpr std::uint32_t kMaxPictureSide = 32768;

}  // namespace slipway
