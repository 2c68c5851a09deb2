#include "pixels/TgaFile.h"

#include <sys/stat.h>

#include <cstring>

#include "base/ByteReader.h"
#include "base/ByteWriter.h"
#include "base/FileIo.h"
#include "base/Format.h"
#include "base/UserPrompt.h"

namespace slipway {

namespace {

constexpr std::uint8_t kTypeColourMapped = 1;
constexpr std::uint8_t kTypeTrueColour = 2;
constexpr std::uint8_t kTypeGrey = 3;
constexpr std::uint8_t kTypeRunLength = 8;
constexpr std::uint8_t kTopLeftOrigin = 0x20;
constexpr std::size_t kRunMaxPixels = 128;

struct TgaHeader {
    std::uint8_t idLength = 0;
    std::uint8_t colourMapType = 0;
    std::uint8_t imageType = 0;
    std::uint16_t mapFirst = 0;
    std::uint16_t mapLength = 0;
    std::uint8_t mapEntryBits = 0;
    std::uint16_t width = 0;
    std::uint16_t height = 0;
    std::uint8_t depth = 0;
    std::uint8_t descriptor = 0;
};

bool parseHeader(std::span<const std::uint8_t> data, TgaHeader& h) {
    ByteReader reader(data);
    h.idLength = reader.u8();
    h.colourMapType = reader.u8();
    h.imageType = reader.u8();
    h.mapFirst = reader.u16();
    h.mapLength = reader.u16();
    h.mapEntryBits = reader.u8();
    reader.skip(4);
    h.width = reader.u16();
    h.height = reader.u16();
    h.depth = reader.u8();
    h.descriptor = reader.u8();
    return reader.ok();
}

bool knownImageType(std::uint8_t type) {
    const std::uint8_t base = type & ~kTypeRunLength;
    return base >= kTypeColourMapped && base <= kTypeGrey;
}

// Colour-map entries become palette entries blue, green, red; 15- and 16-bit entries are
// x:5:5:5 and widen like 15-bit pixels.
void readColourMap(ByteReader& reader, const TgaHeader& h, Palette& palette) {
    const std::uint32_t entryBytes = (h.mapEntryBits + 7u) / 8u;
    for (std::uint32_t i = 0; i < h.mapLength; ++i) {
        std::uint8_t e[4] = {};
        reader.bytes(e, entryBytes);
        std::uint8_t* out = palette.data() + (h.mapFirst + i) * 3;
        if (entryBytes == 2) {
            const std::uint32_t v = e[0] | (e[1] << 8);
            out[0] = static_cast<std::uint8_t>((v & 0x1F) << 3);
            out[1] = static_cast<std::uint8_t>(((v >> 5) & 0x1F) << 3);
            out[2] = static_cast<std::uint8_t>(((v >> 10) & 0x1F) << 3);
        } else {
            out[0] = e[0], out[1] = e[1], out[2] = e[2];
        }
    }
}

// Decodes run-length packets into the picture's rows; packets may run across rows.
bool readRunLength(ByteReader& reader, PixelImage& picture, bool topDown) {
    const std::uint32_t w = picture.width();
    const std::uint32_t h = picture.height();
    const std::size_t bpp = picture.bytesPerPixel();
    const std::uint64_t total = std::uint64_t{w} * h;
    std::uint64_t n = 0;
    auto target = [&](std::uint64_t index) {
        const auto fileRow = static_cast<std::uint32_t>(index / w);
        const std::uint32_t y = topDown ? fileRow : h - 1 - fileRow;
        return picture.row(y) + (index % w) * bpp;
    };
    while (n < total) {
        const std::uint8_t packet = reader.u8();
        const std::uint64_t count = std::min<std::uint64_t>((packet & 0x7F) + 1u, total - n);
        if (packet & 0x80) {
            const std::span<const std::uint8_t> value = reader.view(bpp);
            if (value.empty())
                return false;
            for (std::uint64_t k = 0; k < count; ++k)
                std::memcpy(target(n++), value.data(), bpp);
        } else {
            for (std::uint64_t k = 0; k < count; ++k) {
                const std::span<const std::uint8_t> value = reader.view(bpp);
                if (value.empty())
                    return false;
                std::memcpy(target(n++), value.data(), bpp);
            }
        }
        if (reader.failed())
            return false;
    }
    return true;
}

std::string notATgaPicture(std::size_t size) {
    return "not a TGA picture (" + groupedNumber(size) + " bytes)";
}

std::string truncated(std::uint64_t size, std::uint64_t needed) {
    return "truncated: " + groupedNumber(size) + " of " + groupedNumber(needed) + " bytes";
}

// The size a compressed picture needs is only known once its packets are read.
std::string compressedTruncated(std::uint64_t size) {
    return "truncated: the compressed pixels end after " + groupedNumber(size) + " bytes";
}

}  // namespace

bool TgaFile::readInfoFrom(std::span<const std::uint8_t> data) {
    failureCause.clear();
    TgaHeader h;
    if (!parseHeader(data, h))
        return fail(notATgaPicture(data.size()));
    width = h.width;
    height = h.height;
    bitsPerPixel = h.depth;
    hasAlpha = h.depth == 32;
    count16 = 0;
    count8 = 0;
    level = 0;
    return true;
}

bool TgaFile::readInfo() {
    const auto head = readHead(kTgaHeaderBytes);
    if (!head)
        return failUnreadable();
    return readInfoFrom(*head);
}

bool TgaFile::isValidData(std::span<const std::uint8_t> data) {
    TgaHeader h;
    return parseHeader(data, h) && knownImageType(h.imageType);
}

bool TgaFile::isValid() const {
    const auto head = readHead(kTgaHeaderBytes);
    return head && isValidData(*head);
}

bool TgaFile::loadPictureFrom(std::span<const std::uint8_t> data) {
    picture.release();
    failureCause.clear();
    TgaHeader h;
    if (!parseHeader(data, h))
        return fail(notATgaPicture(data.size()));
    if (!knownImageType(h.imageType))
        return fail("not a TGA picture");
    if (h.width == 0 || h.height == 0 || h.width > kMaxPictureSide || h.height > kMaxPictureSide)
        return fail(formatText("picture size %ux%u (each side must be 1 to %u)", h.width, h.height,
                               kMaxPictureSide));

    const std::uint8_t base = h.imageType & ~kTypeRunLength;
    const bool runLength = (h.imageType & kTypeRunLength) != 0;
    std::uint32_t format = 0;
    switch (base) {
        case kTypeColourMapped:
            if (h.depth != 8 || h.colourMapType != 1 || h.mapLength == 0 ||
                std::uint32_t{h.mapFirst} + h.mapLength > 256) {
                return fail("unsupported colour-mapped picture");
            }
            if (h.mapEntryBits != 15 && h.mapEntryBits != 16 && h.mapEntryBits != 24 &&
                h.mapEntryBits != 32) {
                return fail(formatText("unsupported colour map of %u bits", h.mapEntryBits));
            }
            format = 8;
            break;
        case kTypeGrey:
            if (h.depth != 8)
                return fail(formatText("unsupported grey depth of %u bits", h.depth));
            format = 8;
            break;
        default:
            // 16-bit pictures load as 1:5:5:5 with the top bit ignored.
            if (h.depth == 16) {
                format = 15;
            } else if (h.depth == 15 || h.depth == 24) {
                format = h.depth;
            } else if (h.depth == 32) {
                format = 32 | formatAlpha;
            } else {
                return fail(formatText("unsupported depth of %u bits", h.depth));
            }
            break;
    }

    const std::size_t mapOffset = kTgaHeaderBytes + h.idLength;
    const std::size_t mapBytes = std::size_t{h.mapLength} * ((h.mapEntryBits + 7u) / 8u);
    const std::size_t pixelOffset = mapOffset + mapBytes;
    const std::uint32_t bpp = bytesPerPixelOf(format & kBitsPerPixelMask);
    const std::uint64_t pixelCount = std::uint64_t{h.width} * h.height;
    // What an uncompressed picture needs; compressed pixels need at least a packet.
    const std::uint64_t needed = pixelOffset + (runLength ? 1 + bpp : pixelCount * bpp);
    if (pixelOffset > data.size())
        return fail(truncated(data.size(), needed));
    const std::size_t available = data.size() - pixelOffset;
    // Allocate only what the file can back: raw pixels must all be there; a run packet of
    // 1 + bpp bytes yields at most 128 pixels.
    const std::uint64_t backed =
        runLength ? (available / (1 + bpp) + 1) * kRunMaxPixels : available / bpp;
    if (pixelCount > backed) {
        return fail(runLength ? compressedTruncated(data.size()) : truncated(data.size(), needed));
    }

    ByteReader reader(data);
    if (!picture.create(h.width, h.height, format))
        return fail("out of memory");
    const bool topDown = (h.descriptor & kTopLeftOrigin) != 0;
    bool ok = false;
    if (runLength) {
        ok = reader.seek(pixelOffset) && readRunLength(reader, picture, topDown);
        if (ok)
            picture.addFormatFlags(formatFilled);
    } else {
        ok = picture.readRaw(reader, pixelOffset, !topDown, 0, 0, 0);
    }
    if (ok && format == 8) {
        Palette palette{};
        if (base == kTypeGrey) {
            for (int i = 0; i < 256; ++i) {
                palette[i * 3] = palette[i * 3 + 1] = palette[i * 3 + 2] =
                    static_cast<std::uint8_t>(i);
            }
        } else {
            ok = reader.seek(mapOffset);
            readColourMap(reader, h, palette);
            ok = ok && reader.ok();
        }
        picture.setPalette(palette);
    }
    if (!ok) {
        picture.release();
        return fail(runLength ? compressedTruncated(data.size()) : truncated(data.size(), needed));
    }
    return true;
}

bool TgaFile::loadPicture() {
    const auto data = readWhole();
    return data && loadPictureFrom(*data);
}

std::unique_ptr<ImageFile> TgaFile::clone() const {
    auto copy = std::make_unique<TgaFile>();
    copyFieldsTo(*copy);
    return copy;
}

std::vector<std::uint8_t> encodeTga(const PixelImage& picture) {
    if (picture.isEmpty() || picture.width() > 0xFFFF || picture.height() > 0xFFFF)
        return {};
    const bool mapped = picture.bitsPerPixel() == 8;
    ByteWriter out;
    out.u8(0);
    out.u8(mapped ? 1 : 0);
    out.u8(mapped ? kTypeColourMapped : kTypeTrueColour);
    out.u16(0);
    out.u16(mapped ? 256 : 0);
    out.u8(mapped ? 24 : 0);
    out.zeros(4);
    out.u16(static_cast<std::uint16_t>(picture.width()));
    out.u16(static_cast<std::uint16_t>(picture.height()));
    out.u8(static_cast<std::uint8_t>(picture.bitsPerPixel()));
    out.u8(0);
    if (mapped)
        out.bytes(picture.palette());
    for (std::uint32_t y = picture.height(); y-- > 0;) {
        out.bytes({picture.row(y), picture.rowBytes()});
    }
    return out.take();
}

bool TgaFile::writeTga(UserPrompt* prompt) {
    fileError = FileErrorCause::None;
    if (picture.isEmpty())
        return false;
    struct stat st {};
    if (prompt && ::stat(path.c_str(), &st) == 0) {
        if (prompt->show("Overwrite file " + path, PromptButtons::YesNo) == PromptAnswer::No)
            return true;
    }
    const std::vector<std::uint8_t> bytes = encodeTga(picture);
    if (bytes.empty())
        return false;
    return replaceFile(bytes);
}

}  // namespace slipway
