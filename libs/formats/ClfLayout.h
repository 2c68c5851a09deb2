#pragma once
// The checked layout of a CLF file: where each block of each object lies in the caller's bytes,
// found by one walk that checks every count against the bytes present. The scene loader builds
// meshes from it, the rescaler scales through it, and the whole-file document is read from it.
// Safe on untrusted input; nothing is copied but the headers' fields.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "formats/ClfFile.h"
#include "formats/KeyRecord.h"
#include "formats/LayoutWalk.h"

namespace slipway {

struct ClfObjectLayout {
    ClfObjectHeader header;
    std::span<const std::uint8_t> vertices;   // header.vertexRecords records of kClfVertexSize
    std::span<const std::uint8_t> triangles;  // header.triangleRecords of kClfTriangleSize
    // header.keyRecords records of kKeyRecordSize. Every version may carry them: the readers
    // step over them (or keep them) whatever the file's version says.
    std::span<const std::uint8_t> keys;

    ClfVertex vertex(std::size_t i) const {
        return decodeClfVertex(vertices.data() + i * kClfVertexSize);
    }
    ClfTriangle triangle(std::size_t i) const {
        return decodeClfTriangle(triangles.data() + i * kClfTriangleSize);
    }
    KeyRecord key(std::size_t i) const { return decodeKeyRecord(keys.data() + i * kKeyRecordSize); }
};

struct ClfLevelLayout {
    std::vector<ClfObjectLayout> objects;
};

struct ClfLayout {
    ClfHeader header;                            // the first header; levelObjects is level 0's
    std::span<const std::uint8_t> textureNames;  // header.textureNameCount × kClfTextureNameSize
    std::vector<ClfLevelLayout> levels;          // the levels walked
    // The bytes after the last level walked (further levels, anything appended): never read,
    // and kept as they are by whatever rewrites the file.
    std::span<const std::uint8_t> rest;
    // Set when a block does not fit; the layout then holds what was walked up to that block.
    std::optional<LayoutFailure> failure;

    bool ok() const { return !failure; }
    // The texture name at `index` (below header.textureNameCount), up to its first zero byte.
    std::string textureName(std::size_t index) const;
};

// Walks the header, the texture names and the chosen levels. For CLF, LevelsWalked::First
// walks level 0 even when the header announces no level: its object count is in the first
// header.
ClfLayout parseClfLayout(std::span<const std::uint8_t> bytes,
                         LevelsWalked levels = LevelsWalked::Readable);

}  // namespace slipway
