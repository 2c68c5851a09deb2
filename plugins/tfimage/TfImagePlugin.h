#pragma once
// Qt's image-format plugin for TF textures, under the format name "tf": installed into Qt's
// plugin folder, it lets every Qt program open TF textures with QImageReader.

#include <QImageIOPlugin>

namespace slipway {

class TfImagePlugin : public QImageIOPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QImageIOHandlerFactoryInterface_iid FILE "tf.json")

  public:
    // Read only: "tf" by name, or any device whose first bytes look like a TF texture.
    Capabilities capabilities(QIODevice* device, const QByteArray& format) const override;
    QImageIOHandler* create(QIODevice* device, const QByteArray& format) const override;
};

}  // namespace slipway
