#pragma once
// The ImageFile handler for BMP files: listed by the panes, but nothing can be read from them.

#include "pixels/ImageFile.h"

namespace slipway {

class BmpFile : public ImageFile {
  public:
    static constexpr const char* kUnreadable = "BMP pictures cannot be read";

    BmpFile() = default;
    explicit BmpFile(std::string filePath) : ImageFile(std::move(filePath)) {}

    bool loadPicture() override { return fail(kUnreadable); }
    bool isValid() const override { return false; }
    bool readInfo() override { return fail(kUnreadable); }
    std::unique_ptr<ImageFile> clone() const override { return nullptr; }
};

}  // namespace slipway
