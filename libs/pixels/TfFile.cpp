#include "pixels/TfFile.h"

#include <unistd.h>

#include "base/ByteReader.h"
#include "base/ByteWriter.h"
#include "base/FileIo.h"
#include "base/Format.h"

namespace slipway {

namespace {

std::uint64_t levelPixels(const TfHeader& header, std::uint32_t level) {
    return std::uint64_t{header.width >> level} * (header.height >> level);
}

// The size of the whole file the header describes.
std::uint64_t tfFileSize(const TfHeader& header) {
    if (header.count8 == 0)
        return tfPaletteOffset(header);
    return tfLevel8Offset(header, header.count8);
}

std::string notATfTexture(std::span<const std::uint8_t> data) {
    if (data.size() < kTfHeaderBytes)
        return "not a TF texture (" + groupedNumber(data.size()) + " bytes)";
    return "not a TF texture";
}

std::string noLevel(bool use16, std::uint32_t level, std::uint32_t count) {
    const char* chain = use16 ? "16-bit" : "8-bit";
    if (count == 0)
        return formatText("no %s chain", chain);
    return formatText("no level %u in the %s chain of %u level%s", level, chain, count,
                      count == 1 ? "" : "s");
}

}  // namespace

bool parseTfHeader(std::span<const std::uint8_t> data, TfHeader& header) {
    ByteReader reader(data);
    reader.skip(5);
    header.pixelFormatCode = reader.u8();
    header.count16 = reader.u8();
    header.count8 = reader.u8();
    header.width = reader.u32();
    header.height = reader.u32();
    return reader.ok() && header.count16 <= kMaxTfLevels && header.count8 <= kMaxTfLevels &&
           header.width != 0 && header.height != 0 && header.width <= kMaxPictureSide &&
           header.height <= kMaxPictureSide;
}

std::uint64_t tfLevel16Offset(const TfHeader& header, std::uint32_t level) {
    std::uint64_t offset = kTfHeaderBytes;
    for (std::uint32_t k = 0; k < level && k < 32; ++k)
        offset += levelPixels(header, k) * 2;
    return offset;
}

std::uint64_t tfPaletteOffset(const TfHeader& header) {
    return tfLevel16Offset(header, header.count16);
}

std::uint64_t tfLevel8Offset(const TfHeader& header, std::uint32_t level) {
    std::uint64_t offset = tfPaletteOffset(header) + kTfPaletteBytes;
    for (std::uint32_t k = 0; k < level && k < 32; ++k)
        offset += levelPixels(header, k);
    return offset;
}

bool TfFile::readInfoFrom(std::span<const std::uint8_t> data) {
    failureCause.clear();
    TfHeader header;
    if (!parseTfHeader(data, header))
        return fail(notATfTexture(data));
    width = header.width;
    height = header.height;
    count16 = header.count16;
    count8 = header.count8;
    hasAlpha = header.pixelFormatCode != kTfFormat565;
    bitsPerPixel = count16 > 0 ? 16 : 8;
    level = 0;
    return true;
}

bool TfFile::readInfo() {
    const auto head = readHead(kTfHeaderBytes);
    if (!head)
        return failUnreadable();
    return readInfoFrom(*head);
}

bool TfFile::loadPictureFrom(std::span<const std::uint8_t> data) {
    picture.release();
    failureCause.clear();
    TfHeader header;
    if (!parseTfHeader(data, header))
        return fail(notATfTexture(data));
    const std::uint8_t code = header.pixelFormatCode;
    if (code > kTfFormat4444)
        return fail(formatText("not a TF texture (pixel format %u)", code));
    if (level >= kMaxTfLevels)
        return fail(noLevel(use16, level, use16 ? header.count16 : header.count8));
    std::uint32_t format = 0;
    std::uint64_t offset = 0;
    std::uint64_t paletteOffset = 0;
    if (use16) {
        if (level >= header.count16)
            return fail(noLevel(true, level, header.count16));
        format = code == kTfFormat565 ? 16 : ((code == kTfFormat1555 ? 15 : 12) | formatAlpha);
        offset = tfLevel16Offset(header, level);
    } else {
        if (level >= header.count8)
            return fail(noLevel(false, level, header.count8));
        format = 8 | (code != kTfFormat565 ? formatAlpha : 0);
        paletteOffset = tfPaletteOffset(header);
        offset = tfLevel8Offset(header, level);
    }
    const std::uint32_t w = header.width >> level;
    const std::uint32_t h = header.height >> level;
    // Refuse before allocating what the file does not hold.
    const std::uint64_t need = offset + std::uint64_t{w} * h * bytesPerPixelOf(format & 0xFF);
    if (w == 0 || h == 0)
        return fail(formatText("level %u of a %ux%u texture has no pixels", level, header.width,
                               header.height));
    if (need > data.size()) {
        return fail("truncated: " + groupedNumber(data.size()) + " of " +
                    groupedNumber(tfFileSize(header)) + " bytes");
    }
    if (!picture.create(w, h, format))
        return fail("out of memory");
    ByteReader reader(data);
    const bool ok = use16 ? picture.readRaw(reader, offset, false, 0, 0, 0)
                          : picture.readRaw(reader, offset, false, paletteOffset, 256, 4);
    if (!ok) {
        picture.release();
        return fail("read error");
    }
    picture.toggleAlpha();
    return true;
}

bool TfFile::loadPicture() {
    const auto data = readWhole();
    return data && loadPictureFrom(*data);
}

bool TfFile::isValid() const {
    return ::access(path.c_str(), R_OK | W_OK) == 0;
}

std::unique_ptr<ImageFile> TfFile::clone() const {
    auto copy = std::make_unique<TfFile>();
    copyFieldsTo(*copy);
    return copy;
}

std::vector<std::uint8_t> encodeTf(const PixelImage* levels16, std::uint32_t count16,
                                   const PixelImage* levels8, std::uint32_t count8) {
    if (count16 > kMaxTfLevels || count8 > kMaxTfLevels)
        return {};
    if ((count16 > 0 && !levels16) || (count8 > 0 && !levels8))
        return {};
    std::uint64_t total = kTfHeaderBytes + (count8 > 0 ? kTfPaletteBytes : 0);
    for (std::uint32_t i = 0; i < count16; ++i) {
        const std::uint32_t bits = levels16[i].bitsPerPixel();
        if (bits != 16 && bits != 15 && bits != 12)
            return {};
        total += levels16[i].byteSize();
    }
    for (std::uint32_t i = 0; i < count8; ++i) {
        if (levels8[i].bitsPerPixel() != 8)
            return {};
        total += levels8[i].byteSize();
    }

    ByteWriter header;
    header.zeros(5);
    std::uint8_t code = kTfFormat565;
    if (count16 > 0) {
        const std::uint32_t bits = levels16[0].bitsPerPixel();
        code = bits == 15 ? kTfFormat1555 : (bits == 12 ? kTfFormat4444 : kTfFormat565);
    }
    header.u8(code);
    header.u8(static_cast<std::uint8_t>(count16));
    header.u8(static_cast<std::uint8_t>(count8));
    const PixelImage* first = count16 > 0 ? &levels16[0] : (count8 > 0 ? &levels8[0] : nullptr);
    header.u32(first ? first->width() : 0);
    header.u32(first ? first->height() : 0);
    std::vector<std::uint8_t> out = header.take();
    out.reserve(static_cast<std::size_t>(total));

    // The file keeps 12- and 15-bit alpha inverted (0 = opaque); flip it on the way out and
    // leave the caller's levels as they are.
    for (std::uint32_t i = 0; i < count16; ++i) {
        const PixelImage& level = levels16[i];
        const std::span<const std::uint8_t> bytes = level.bytes();
        std::uint8_t flip = 0;
        if (level.hasAlpha())
            flip = level.bitsPerPixel() == 15 ? 0x80 : (level.bitsPerPixel() == 12 ? 0xF0 : 0);
        const std::size_t start = out.size();
        out.insert(out.end(), bytes.begin(), bytes.end());
        if (flip != 0) {
            for (std::size_t k = start + 1; k < out.size(); k += 2)
                out[k] ^= flip;
        }
    }
    if (count8 > 0) {
        const Palette& palette = levels8[0].palette();
        for (int i = 0; i < 256; ++i) {
            out.push_back(palette[i * 3 + 2]);
            out.push_back(palette[i * 3 + 1]);
            out.push_back(palette[i * 3]);
            out.push_back(0);
        }
        for (std::uint32_t i = 0; i < count8; ++i) {
            const std::span<const std::uint8_t> bytes = levels8[i].bytes();
            out.insert(out.end(), bytes.begin(), bytes.end());
        }
    }
    return out;
}

bool TfFile::writeTf(const PixelImage* levels16, std::uint32_t count16, const PixelImage* levels8,
                     std::uint32_t count8) {
    fileError = FileErrorCause::None;
    const std::vector<std::uint8_t> bytes = encodeTf(levels16, count16, levels8, count8);
    if (bytes.empty())
        return false;
    return replaceFile(bytes);
}

bool TfFile::writeTf(const TfImage& image) {
    return writeTf(image.levels16.data(), image.count16, image.levels8.data(), image.count8);
}

}  // namespace slipway
