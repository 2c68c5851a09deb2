#include "TfImageHandler.h"

#include <QImage>
#include <QVariant>
#include <algorithm>
#include <cstdint>
#include <optional>

#include "pixels/TfPreview.h"

namespace slipway {

namespace {

// No limit on the level's size: level 0 of the chain.
constexpr std::uint32_t kLevelZero = UINT32_MAX;
// Sequential devices are read in pieces of this size, so a header that promises more than the
// device holds costs no more memory than the device gave.
constexpr qint64 kReadPiece = 1 << 20;

struct PeekedHeader {
    TfHeader header;
    bool zeroLead = false;
};

std::optional<PeekedHeader> peekHeader(QIODevice* device) {
    if (!device)
        return std::nullopt;
    const QByteArray head = device->peek(static_cast<qint64>(kTfHeaderBytes));
    const std::span<const std::uint8_t> bytes(
        reinterpret_cast<const std::uint8_t*>(head.constData()),
        static_cast<std::size_t>(head.size()));
    PeekedHeader peeked;
    if (!parseTfHeader(bytes, peeked.header) || peeked.header.pixelFormatCode > kTfFormat4444 ||
        !chooseTfPreviewLevel(peeked.header, kLevelZero)) {
        return std::nullopt;
    }
    peeked.zeroLead = std::all_of(bytes.begin(), bytes.begin() + 5, [](auto b) { return b == 0; });
    return peeked;
}

// The first `count` bytes from the device's position; fewer when it ends first.
QByteArray readUpTo(QIODevice* device, qint64 count) {
    QByteArray data;
    while (data.size() < count) {
        const QByteArray piece = device->read(std::min(kReadPiece, count - data.size()));
        if (piece.isEmpty())
            break;
        data.append(piece);
    }
    return data;
}

}  // namespace

bool TfImageHandler::canRead() const {
    if (!peekHeader(device()))
        return false;
    setFormat("tf");
    return true;
}

bool TfImageHandler::looksLikeTf(QIODevice* device) {
    const auto peeked = peekHeader(device);
    return peeked && peeked->zeroLead;
}

bool TfImageHandler::read(QImage* image) {
    QIODevice* source = device();
    const auto peeked = peekHeader(source);
    if (!peeked)
        return false;
    const TfHeader& header = peeked->header;
    const std::uint64_t need = tfPreviewBytes(header, *chooseTfPreviewLevel(header, kLevelZero));
    if (!source->isSequential() &&
        static_cast<std::uint64_t>(source->size() - source->pos()) < need) {
        return false;
    }
    const bool alpha = header.pixelFormatCode != kTfFormat565;
    QImage result;
    const QSize size(static_cast<int>(header.width), static_cast<int>(header.height));
    if (!allocateImage(size, alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32, &result))
        return false;
    const QByteArray data = readUpTo(source, static_cast<qint64>(need));
    PixelImage picture;
    const std::span<const std::uint8_t> bytes(
        reinterpret_cast<const std::uint8_t*>(data.constData()),
        static_cast<std::size_t>(data.size()));
    if (!loadTfPreview(bytes, kLevelZero, picture))
        return false;
    for (int y = 0; y < result.height(); ++y) {
        const std::uint8_t* in = picture.row(static_cast<std::uint32_t>(y));
        auto* out = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x, in += 4)
            out[x] = qRgba(in[2], in[1], in[0], in[3]);
    }
    *image = result;
    return true;
}

bool TfImageHandler::supportsOption(ImageOption option) const {
    return option == Size;
}

QVariant TfImageHandler::option(ImageOption option) const {
    if (option != Size)
        return {};
    const auto peeked = peekHeader(device());
    if (!peeked)
        return {};
    return QSize(static_cast<int>(peeked->header.width), static_cast<int>(peeked->header.height));
}

}  // namespace slipway
