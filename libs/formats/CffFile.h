#pragma once
// The CFF model file (compact positions, byte normals, integer texture coordinates): its
// records, read from and written to bytes, and a whole-file document (CffModel) for writers
// and the tests. The scene loader and the rescaler work from the file's layout (CffLayout.h).

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "base/ByteReader.h"
#include "base/ByteWriter.h"
#include "formats/KeyRecord.h"
#include "formats/LittleEndian.h"

namespace slipway {

inline constexpr std::size_t kCffHeaderSize = 44;
inline constexpr std::size_t kCffTextureRecordSize = 40;
inline constexpr std::size_t kCffTextureExtraSize = 20;
inline constexpr std::size_t kCffLevelHeaderSize = 8;
inline constexpr std::size_t kCffObjectHeaderSize = 44;
inline constexpr std::size_t kCffVertexSize = 13;
// Objects of at most this many vertices store one-byte triangle indices, larger ones 16-bit.
inline constexpr std::int32_t kCffByteIndexLimit = 256;

struct CffHeader {
    float origin[3] = {0, 0, 0};
    float scale[3] = {1, 1, 1};
    std::int32_t textureNameCount = 0;
    std::uint32_t reserved1 = 0;
    std::int32_t levelCount = 0;
    std::uint32_t reserved2 = 0;
    float extent = 0;
};

struct CffObjectHeader {
    float center[3] = {0, 0, 0};
    float uvScale = 1;
    float radius = 0;
    std::int32_t textureNameIndex = 0;
    std::int32_t vertexRecords = 0;
    std::int32_t triangleRecords = 0;
    std::uint32_t doubleSidedFlag = 0;
    std::int32_t keyRecords = 0;
    std::array<char, 4> shortName{};
};

struct CffVertex {
    std::int16_t px = 0, py = 0, pz = 0;
    std::int16_t pu = 0, pv = 0;
    std::int8_t qx = 0, qy = 0, qz = 0;

    bool operator==(const CffVertex&) const = default;
};

// Bytes per triangle record for an object of `vertexRecords` vertices: 3 or 6.
inline std::size_t cffTriangleSize(std::int32_t vertexRecords) {
    return vertexRecords <= kCffByteIndexLimit ? 3 : 6;
}

CffHeader readCffHeader(ByteReader& in);
CffObjectHeader readCffObjectHeader(ByteReader& in);
// Decodes a vertex record from a pointer to at least kCffVertexSize bytes.
inline CffVertex decodeCffVertex(const std::uint8_t* r) {
    return CffVertex{le::i16(r),
                     le::i16(r + 2),
                     le::i16(r + 4),
                     le::i16(r + 6),
                     le::i16(r + 8),
                     static_cast<std::int8_t>(r[10]),
                     static_cast<std::int8_t>(r[11]),
                     static_cast<std::int8_t>(r[12])};
}
// The u32 at offset 36 of a texture record: how many 20-byte entries follow it.
std::uint32_t cffTextureExtraEntries(std::span<const std::uint8_t> record);

void writeCffHeader(ByteWriter& out, const CffHeader& header);
void writeCffObjectHeader(ByteWriter& out, const CffObjectHeader& header);
void writeCffVertex(ByteWriter& out, const CffVertex& vertex);

struct CffTextureRecord {
    std::array<std::uint8_t, kCffTextureRecordSize> bytes{};  // extraEntries at 36 is set on write
    std::vector<std::array<std::uint8_t, kCffTextureExtraSize>> extra;
};

struct CffObject {
    CffObjectHeader header;  // the counts are taken from the content when writing
    std::vector<CffVertex> vertices;
    std::vector<std::array<std::uint16_t, 3>> triangles;
    std::vector<KeyRecord> keys;
};

struct CffLevel {
    std::uint32_t reserved = 0;
    std::vector<CffObject> objects;
};

struct CffModel {
    CffHeader header;  // textureNameCount and levelCount are taken from the content
    std::vector<std::string> textureNames;         // each at most 255 characters
    std::vector<CffTextureRecord> textureRecords;  // missing records are written as zeros
    std::vector<CffLevel> levels;
};

std::vector<std::uint8_t> writeCff(const CffModel& model);
// Reads a whole file, every level it announces; nothing when a count is negative or the bytes
// end before the counts say.
std::optional<CffModel> parseCff(std::span<const std::uint8_t> bytes);

}  // namespace slipway
