#include "formats/FileRescaling.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "base/ByteReader.h"
#include "base/FileIo.h"
#include "formats/CffLayout.h"
#include "formats/ClfLayout.h"
#include "formats/DefRecord.h"
#include "formats/SailLayout.h"

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

// Multiplies x, y, z of each CLF-layout vertex record of `records` (a span into the bytes
// that `out` copies).
void scaleVertexRecords(Bytes& out, std::span<const std::uint8_t> bytes,
                        std::span<const std::uint8_t> records, float factor) {
    const std::size_t start = offsetIn(bytes, records);
    for (std::size_t at = 0; at < records.size(); at += kClfVertexSize)
        scaleFloats(out, start + at, 3, factor);
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

// Each rescaler scales the positions named by the layout that the viewers read the file by, and
// copies every other byte, including whatever follows the last block walked.

std::optional<Bytes> rescaledClf(std::span<const std::uint8_t> bytes, float factor) {
    if (!usableFactor(factor))
        return std::nullopt;
    const ClfLayout layout = parseClfLayout(bytes);
    if (!layout.ok())
        return std::nullopt;
    Bytes out(bytes.begin(), bytes.end());
    for (const ClfLevelLayout& level : layout.levels) {
        for (const ClfObjectLayout& object : level.objects)
            scaleVertexRecords(out, bytes, object.vertices, factor);
    }
    return out;
}

std::optional<Bytes> rescaledCff(std::span<const std::uint8_t> bytes, float factor) {
    if (!usableFactor(factor))
        return std::nullopt;
    // Negative counts make the viewers refuse the file, so it is left alone here too.
    const CffLayout layout = parseCffLayout(bytes);
    if (!layout.ok())
        return std::nullopt;
    Bytes out(bytes.begin(), bytes.end());
    scaleFloats(out, 0, 6, factor);  // origin and scale
    storeU32(out, 36, 0);
    scaleFloats(out, 40, 1, factor);  // extent
    for (const CffLevelLayout& level : layout.levels) {
        for (const CffObjectLayout& object : level.objects) {
            const std::size_t start = offsetIn(bytes, object.record);
            scaleFloats(out, start, 3, factor);       // centre
            scaleFloats(out, start + 16, 1, factor);  // radius
        }
    }
    return out;
}

std::optional<Bytes> rescaledSailFile(std::span<const std::uint8_t> bytes, float factor) {
    if (!usableFactor(factor))
        return std::nullopt;
    const SailLayout layout = parseSailLayout(bytes);
    if (!layout.ok())
        return std::nullopt;
    Bytes out(bytes.begin(), bytes.end());
    for (const SailEntryLayout& entry : layout.entries) {
        scaleFloats(out, offsetIn(bytes, entry.bytes) + 8, 13, factor);  // depth and corners
        for (const SailAttachedLayout& mesh : entry.attached)
            scaleVertexRecords(out, bytes, mesh.vertices, factor);
    }
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
