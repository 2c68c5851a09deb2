#pragma once
// The checked layout of a CFF file: where each block of each level and object lies in the
// caller's bytes, found by one walk that checks every count (and its sign) against the bytes
// present. The scene loader builds meshes from it, the rescaler scales through it, and the
// whole-file document is read from it. Safe on untrusted input.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "formats/CffFile.h"
#include "formats/KeyRecord.h"
#include "formats/LayoutWalk.h"

namespace slipway {

struct CffTextureRecordLayout {
    std::span<const std::uint8_t> record;  // kCffTextureRecordSize bytes
    std::span<const std::uint8_t> extra;   // its extra entries, kCffTextureExtraSize each
};

struct CffObjectLayout {
    CffObjectHeader header;                   // when ok(), its counts are at least 0
    std::span<const std::uint8_t> record;     // the kCffObjectHeaderSize header bytes
    std::span<const std::uint8_t> vertices;   // header.vertexRecords × kCffVertexSize
    std::span<const std::uint8_t> triangles;  // header.triangleRecords × triangleSize()
    std::span<const std::uint8_t> keys;       // header.keyRecords × kKeyRecordSize

    std::size_t triangleSize() const { return cffTriangleSize(header.vertexRecords); }
    CffVertex vertex(std::size_t i) const {
        return decodeCffVertex(vertices.data() + i * kCffVertexSize);
    }
    // Corner k (0 to 2) of triangle t.
    std::uint16_t index(std::size_t t, std::size_t k) const {
        return triangleSize() == 6 ? le::u16(triangles.data() + 6 * t + 2 * k)
                                   : triangles[3 * t + k];
    }
    KeyRecord key(std::size_t i) const { return decodeKeyRecord(keys.data() + i * kKeyRecordSize); }
};

struct CffLevelLayout {
    std::uint32_t reserved = 0;  // the level header's second word
    std::vector<CffObjectLayout> objects;
};

struct CffLayout {
    CffHeader header;  // when ok(), its counts are at least 0
    std::vector<std::span<const std::uint8_t>> textureNames;  // the characters of each name
    std::vector<CffTextureRecordLayout> textureRecords;       // one per name
    std::vector<CffLevelLayout> levels;                       // the levels walked
    // The bytes after the last level walked (further levels, anything appended): never read,
    // and kept as they are by whatever rewrites the file.
    std::span<const std::uint8_t> rest;
    // Set when a block does not fit or a count is below 0; the layout then holds what was
    // walked up to that block.
    std::optional<LayoutFailure> failure;

    bool ok() const { return !failure; }
};

CffLayout parseCffLayout(std::span<const std::uint8_t> bytes,
                         LevelsWalked levels = LevelsWalked::Readable);

}  // namespace slipway
