#pragma once
// The sail file: for each SAIL record of a ship, four corner points, a belly depth and a shape,
// followed by any meshes stored with the sail (ropes, reef bands). Entries follow each other
// with nothing before, between or after them. Readers here are safe on untrusted bytes.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "base/ByteReader.h"
#include "base/ByteWriter.h"
#include "formats/ClfFile.h"

namespace slipway {

inline constexpr std::size_t kSailRecordSize = 64;
inline constexpr std::size_t kSailTextureNameSize = 32;
// Texture name and the two counts that open an attached mesh.
inline constexpr std::size_t kSailAttachedHeaderSize = kSailTextureNameSize + 8;
// `shape` of a triangular sail; every other value is a four-cornered one.
inline constexpr std::int32_t kTriangularSailShape = 3;

struct SailRecord {
    std::int32_t sailIndex = 0;  // position of the SAIL record in the ship description
    std::int32_t shape = 0;
    float depth = 0;
    // Four-cornered: 0 and 1 the upper edge, 3 below 0 and 2 below 1. Triangular: 0 the apex,
    // 1 and 2 the opposite edge.
    std::array<std::array<float, 3>, 4> corners{};
    std::int32_t attachedCount = 0;

    bool operator==(const SailRecord&) const = default;
};

// A mesh stored with a sail. Vertices and triangles use the CLF record layouts; only the
// positions, the indices and the per-corner texture coordinates mean anything.
struct SailAttachedMesh {
    std::string textureName;  // up to 32 characters
    std::vector<ClfVertex> vertices;
    std::vector<ClfTriangle> triangles;

    bool operator==(const SailAttachedMesh&) const = default;
};

struct SailEntry {
    SailRecord record;  // attachedCount is written from `attached`
    std::vector<SailAttachedMesh> attached;

    bool operator==(const SailEntry&) const = default;
};

SailRecord readSailRecord(ByteReader& in);
void writeSailRecord(ByteWriter& out, const SailRecord& record);

void writeSailAttachedMesh(ByteWriter& out, const SailAttachedMesh& mesh);

std::vector<std::uint8_t> writeSailFile(std::span<const SailEntry> entries);

// The whole file, each entry complete and the last one ending exactly at the end of the bytes.
// A negative attachedCount stands for no attached mesh. Nothing when anything is missing.
std::optional<std::vector<SailEntry>> parseSailFile(std::span<const std::uint8_t> bytes);

enum class SailLookup {
    Found,
    NotFound,  // no complete record with that index before the end of the bytes
    Damaged,   // the record was found but its attached meshes run past the end
};

// The entry search of the sail generator: the first entry, in file order, whose `sailIndex` is
// `recordIndex`. Fewer bytes than a record after the last entry are passed over; an entry
// whose attached meshes run past the end ends the search (SailLayout).
SailLookup findSailEntry(std::span<const std::uint8_t> bytes, std::int32_t recordIndex,
                         SailEntry& out);

}  // namespace slipway
