#include "formats/FileRescaling.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "base/ByteReader.h"
#include "base/FileIo.h"
#include "formats/CffFile.h"
#include "formats/ClfFile.h"
#include "formats/DefRecord.h"
#include "formats/KeyRecord.h"
#include "formats/SailFile.h"

namespace slipway {

namespace {

using Bytes = std::vector<std::uint8_t>;
using Rescaler = std::optional<Bytes> (*)(std::span<const std::uint8_t>, float);

bool usableFactor(float factor) {
    return std::isfinite(factor) && factor != 0.0f;
}

// Multiplies `count` consecutive little-endian floats starting at `position`.
void scaleFloats(Bytes& bytes, std::size_t position, std::size_t count, float factor) {
    for (std::size_t i = 0; i < count; ++i) {
        std::uint8_t* p = bytes.data() + position + 4 * i;
        std::uint32_t bits =
            static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
            (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
        float value;
        std::memcpy(&value, &bits, sizeof value);
        value *= factor;
        std::memcpy(&bits, &value, sizeof bits);
        for (int b = 0; b < 4; ++b)
            p[b] = static_cast<std::uint8_t>(bits >> (8 * b));
    }
}

void storeU32(Bytes& bytes, std::size_t position, std::uint32_t value) {
    for (int b = 0; b < 4; ++b)
        bytes[position + b] = static_cast<std::uint8_t>(value >> (8 * b));
}

// Skips `count` records of `size` bytes; fails the reader when they are not all there.
void skipRecords(ByteReader& in, std::size_t count, std::size_t size) {
    if (!in.canRead(count, size)) {
        in.fail();
        return;
    }
    in.skip(count * size);
}

// Multiplies x, y, z of `count` CLF-layout vertex records at the reader's position.
void scaleVertexRecords(ByteReader& in, Bytes& out, std::size_t count, float factor) {
    if (!in.canRead(count, kClfVertexSize)) {
        in.fail();
        return;
    }
    for (std::size_t i = 0; i < count; ++i) {
        scaleFloats(out, in.position(), 3, factor);
        in.skip(kClfVertexSize);
    }
}

// A file marked read-only is left alone even for a user who could override that, and so is
// one that this user cannot open for writing: the atomic replacement only needs a writable
// directory, which would otherwise let it replace a file the user may not change.
bool writable(const std::string& path) {
    std::error_code ec;
    const auto perms = std::filesystem::status(path, ec).permissions();
    if (ec)
        return false;
    using std::filesystem::perms;
    if ((perms & (perms::owner_write | perms::group_write | perms::others_write)) == perms::none)
        return false;
    std::FILE* file = std::fopen(path.c_str(), "r+b");
    if (!file)
        return false;
    std::fclose(file);
    return true;
}

bool rescaleFile(const std::string& path, float factor, Rescaler rescaler) {
    // A name that is a link is rescaled where the file lies, so that the link, and every
    // other name of that file, keeps leading to it.
    std::error_code ec;
    const std::filesystem::path resolved = std::filesystem::canonical(path, ec);
    if (ec)
        return false;
    const std::string target = resolved.string();
    if (!writable(target))
        return false;
    const auto bytes = readFileBytes(target);
    if (!bytes)
        return false;
    const auto scaled = rescaler(*bytes, factor);
    if (!scaled)
        return false;
    if (*scaled == *bytes)
        return true;  // nothing to multiply: leave the file untouched
    return writeFileAtomically(target, *scaled);
}

}  // namespace

std::optional<Bytes> rescaledClf(std::span<const std::uint8_t> bytes, float factor) {
    if (!usableFactor(factor))
        return std::nullopt;
    Bytes out(bytes.begin(), bytes.end());
    ByteReader in(bytes);
    const ClfHeader header = readClfHeader(in);
    // The model editor's form stores key records after every object's triangles.
    const bool keyed = header.version == kClfEditedVersion;
    skipRecords(in, header.textureNameCount, kClfTextureNameSize);
    for (std::uint32_t level = 0; level < header.levelCount && in.ok(); ++level) {
        const std::uint32_t objects =
            level == 0 ? header.levelObjects : readClfHeader(in).levelObjects;
        if (!in.canRead(objects, kClfObjectHeaderSize))
            return std::nullopt;
        for (std::uint32_t i = 0; i < objects && in.ok(); ++i) {
            const ClfObjectHeader object = readClfObjectHeader(in);
            scaleVertexRecords(in, out, object.vertexRecords, factor);
            skipRecords(in, object.triangleRecords, kClfTriangleSize);
            if (keyed)
                skipRecords(in, object.keyRecords, kKeyRecordSize);
        }
    }
    if (in.failed())
        return std::nullopt;
    return out;
}

std::optional<Bytes> rescaledCff(std::span<const std::uint8_t> bytes, float factor) {
    if (!usableFactor(factor))
        return std::nullopt;
    Bytes out(bytes.begin(), bytes.end());
    ByteReader in(bytes);
    const CffHeader header = readCffHeader(in);
    // Negative counts make the viewers refuse the file, so it is left alone here too.
    if (in.failed() || header.textureNameCount < 0 || header.levelCount < 0)
        return std::nullopt;
    scaleFloats(out, 0, 6, factor);  // origin and scale
    storeU32(out, 36, 0);
    scaleFloats(out, 40, 1, factor);  // extent

    const auto names = static_cast<std::size_t>(header.textureNameCount);
    if (!in.canRead(names))
        return std::nullopt;
    for (std::size_t i = 0; i < names && in.ok(); ++i)
        in.skip(in.u8());
    if (!in.canRead(names, kCffTextureRecordSize))
        return std::nullopt;
    for (std::size_t i = 0; i < names && in.ok(); ++i) {
        const std::uint32_t extra = cffTextureExtraEntries(in.view(kCffTextureRecordSize));
        skipRecords(in, extra, kCffTextureExtraSize);
    }
    for (std::int32_t level = 0; level < header.levelCount && in.ok(); ++level) {
        const std::int32_t objects = in.i32();
        in.skip(4);
        if (objects < 0 || !in.canRead(static_cast<std::size_t>(objects), kCffObjectHeaderSize)) {
            return std::nullopt;
        }
        for (std::int32_t i = 0; i < objects && in.ok(); ++i) {
            const std::size_t start = in.position();
            const CffObjectHeader object = readCffObjectHeader(in);
            if (in.failed() || object.vertexRecords < 0 || object.triangleRecords < 0 ||
                object.keyRecords < 0) {
                return std::nullopt;
            }
            scaleFloats(out, start, 3, factor);       // centre
            scaleFloats(out, start + 16, 1, factor);  // radius
            skipRecords(in, static_cast<std::size_t>(object.vertexRecords), kCffVertexSize);
            skipRecords(in, static_cast<std::size_t>(object.triangleRecords),
                        cffTriangleSize(object.vertexRecords));
            skipRecords(in, static_cast<std::size_t>(object.keyRecords), kKeyRecordSize);
        }
    }
    if (in.failed())
        return std::nullopt;
    return out;
}

std::optional<Bytes> rescaledSailFile(std::span<const std::uint8_t> bytes, float factor) {
    if (!usableFactor(factor))
        return std::nullopt;
    Bytes out(bytes.begin(), bytes.end());
    ByteReader in(bytes);
    while (in.remaining() > 0 && in.ok()) {
        const std::size_t start = in.position();
        const SailRecord record = readSailRecord(in);
        if (in.failed())
            return std::nullopt;
        scaleFloats(out, start + 8, 13, factor);  // depth and the four corners
        for (std::int32_t k = 0; k < record.attachedCount && in.ok(); ++k) {
            in.skip(kSailTextureNameSize);
            const std::uint32_t vertexCount = in.u32();
            const std::uint32_t triangleCount = in.u32();
            scaleVertexRecords(in, out, vertexCount, factor);
            skipRecords(in, triangleCount, kClfTriangleSize);
        }
    }
    if (in.failed())
        return std::nullopt;
    return out;
}

std::optional<Bytes> rescaledDefPositions(std::span<const std::uint8_t> bytes, float factor) {
    if (!usableFactor(factor))
        return std::nullopt;
    ByteReader in(bytes);
    const std::int32_t count = in.i32();
    if (in.failed())
        return std::nullopt;
    Bytes out(bytes.begin(), bytes.end());
    constexpr std::size_t kPositionOffset = 268;
    for (std::int32_t i = 0; i < count && in.remaining() >= kDefRecordSize; ++i) {
        scaleFloats(out, in.position() + kPositionOffset, 3, factor);
        in.skip(kDefRecordSize);
    }
    return out;
}

bool rescaleClf(const std::string& path, float factor) {
    return rescaleFile(path, factor, &rescaledClf);
}

bool rescaleCff(const std::string& path, float factor) {
    return rescaleFile(path, factor, &rescaledCff);
}

bool rescaleSailFile(const std::string& path, float factor) {
    return rescaleFile(path, factor, &rescaledSailFile);
}

bool rescaleDefPositions(const std::string& path, float factor) {
    return rescaleFile(path, factor, &rescaledDefPositions);
}

}  // namespace slipway
