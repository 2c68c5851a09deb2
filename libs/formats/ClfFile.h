#pragma once
// The CLF model file: its records, read from and written to bytes, and a whole-file document
// (ClfModel) for the writers and the tests. The scene loader and the rescaler work from the
// file's layout (ClfLayout.h), so that large models are not copied twice.

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

inline constexpr std::uint32_t kClfMagic = 0x10111213;
// Written by the model editor's save; those files carry key records after every object.
inline constexpr std::uint32_t kClfEditedVersion = 0x281238;
inline constexpr std::size_t kClfHeaderSize = 48;
inline constexpr std::size_t kClfTextureNameSize = 256;
inline constexpr std::size_t kClfObjectHeaderSize = 144;
inline constexpr std::size_t kClfObjectNameSize = 32;
inline constexpr std::size_t kClfVertexSize = 28;
inline constexpr std::size_t kClfTriangleSize = 32;

// The 48-byte header. The first one opens the file and level 0; every further level starts
// with another header of which only levelObjects is used.
struct ClfHeader {
    std::uint32_t magic = kClfMagic;
    std::uint32_t version = 0;
    std::uint32_t levelCount = 0;
    std::uint32_t textureNameCount = 0;
    std::uint32_t levelObjects = 0;
    std::uint32_t keysPerObject = 0;
};

struct ClfObjectHeader {
    std::string objectName;  // up to 32 characters
    std::uint32_t keyRecords = 0;
    std::uint32_t textureNameIndex = 0;
    std::uint32_t vertexRecords = 0;
    std::uint32_t triangleRecords = 0;
    std::uint8_t doubleSidedFlag = 0;
};

struct ClfVertex {
    float x = 0, y = 0, z = 0;
    float nx = 0, ny = 0, nz = 0;
    std::uint32_t extra = 0;

    bool operator==(const ClfVertex&) const = default;
};

struct ClfTriangle {
    std::uint16_t a = 0, b = 0, c = 0;
    std::uint16_t textureIndex = 0;  // not read by the viewers
    float u[3] = {0, 0, 0};
    float v[3] = {0, 0, 0};

    bool operator==(const ClfTriangle&) const = default;
};

ClfHeader readClfHeader(ByteReader& in);
ClfObjectHeader readClfObjectHeader(ByteReader& in);

// Decode one record from a pointer to at least its size in bytes (checked by the caller).
inline ClfVertex decodeClfVertex(const std::uint8_t* r) {
    return ClfVertex{le::f32(r),      le::f32(r + 4),  le::f32(r + 8), le::f32(r + 12),
                     le::f32(r + 16), le::f32(r + 20), le::u32(r + 24)};
}
inline ClfTriangle decodeClfTriangle(const std::uint8_t* r) {
    ClfTriangle t;
    t.a = le::u16(r);
    t.b = le::u16(r + 2);
    t.c = le::u16(r + 4);
    t.textureIndex = le::u16(r + 6);
    for (int k = 0; k < 3; ++k) {
        t.u[k] = le::f32(r + 8 + 8 * k);
        t.v[k] = le::f32(r + 12 + 8 * k);
    }
    return t;
}

void writeClfHeader(ByteWriter& out, const ClfHeader& header);
void writeClfTextureName(ByteWriter& out, const std::string& name);
void writeClfObjectHeader(ByteWriter& out, const ClfObjectHeader& header);
void writeClfVertex(ByteWriter& out, const ClfVertex& vertex);
void writeClfTriangle(ByteWriter& out, const ClfTriangle& triangle);

// A whole CLF file. Counts in the headers are taken from the content when writing.
struct ClfObject {
    std::string name;
    std::uint32_t textureNameIndex = 0;
    bool doubleSided = false;
    std::vector<ClfVertex> vertices;
    std::vector<ClfTriangle> triangles;
    std::vector<KeyRecord> keys;
};

struct ClfModel {
    std::uint32_t magic = kClfMagic;
    std::uint32_t version = 0;
    std::uint32_t keysPerObject = 0;
    std::vector<std::string> textureNames;
    std::vector<std::vector<ClfObject>> levels;
};

std::vector<std::uint8_t> writeClf(const ClfModel& model);

// Reads a whole file, every level it announces. Every object's key records are read
// (keyRecords of them); nothing when the bytes end before the counts say.
std::optional<ClfModel> parseClf(std::span<const std::uint8_t> bytes);

}  // namespace slipway
