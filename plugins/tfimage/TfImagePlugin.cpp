#include "TfImagePlugin.h"

#include "TfImageHandler.h"

namespace slipway {

QImageIOPlugin::Capabilities TfImagePlugin::capabilities(QIODevice* device,
                                                         const QByteArray& format) const {
    if (format == "tf")
        return CanRead;
    if (!format.isEmpty() || !device || !device->isReadable())
        return {};
    return TfImageHandler::looksLikeTf(device) ? CanRead : Capabilities{};
}

QImageIOHandler* TfImagePlugin::create(QIODevice* device, const QByteArray& format) const {
    auto* handler = new TfImageHandler;
    handler->setDevice(device);
    handler->setFormat(format);
    return handler;
}

}  // namespace slipway
