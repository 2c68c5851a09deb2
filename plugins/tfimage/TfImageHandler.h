#pragma once
// Reads a TF texture for Qt's image I/O: level 0 of the 16-bit chain, or of the 8-bit chain
// when the file has no 16-bit levels, decoded by libs/pixels. Read only. A texture with alpha
// gives an ARGB32 image, one without an RGB32 image.

#include <QImageIOHandler>

namespace slipway {

class TfImageHandler : public QImageIOHandler {
  public:
    // Whether the device holds a TF header the readers accept, with a known 16-bit layout and
    // at least one level. Reads nothing from the device.
    bool canRead() const override;
    // Refuses, before reading or allocating, a picture above QImageReader's allocation limit
    // and a file shorter than its header promises.
    bool read(QImage* image) override;
    bool supportsOption(ImageOption option) const override;
    // Size: the size of level 0.
    QVariant option(ImageOption option) const override;

    // canRead's test, plus the five zero bytes every TF file begins with: strict enough for
    // telling TF textures from other files by content alone.
    static bool looksLikeTf(QIODevice* device);
};

}  // namespace slipway
