#include "formats/SailFile.h"

namespace slipway {

namespace {

// Skips one attached mesh by its counts; false when it runs past the end.
bool skipSailAttachedMesh(ByteReader& in) {
    in.skip(kSailTextureNameSize);
    const std::uint32_t vertexCount = in.u32();
    const std::uint32_t triangleCount = in.u32();
    if (in.failed() || !in.canRead(vertexCount, kClfVertexSize))
        return false;
    in.skip(static_cast<std::size_t>(vertexCount) * kClfVertexSize);
    if (!in.canRead(triangleCount, kClfTriangleSize))
        return false;
    in.skip(static_cast<std::size_t>(triangleCount) * kClfTriangleSize);
    return in.ok();
}

// Reads the attached meshes that follow `record`; false when any of them is incomplete.
bool readAttached(ByteReader& in, const SailRecord& record, std::vector<SailAttachedMesh>& out) {
    out.clear();
    const std::int32_t count = record.attachedCount;
    if (count <= 0)
        return true;
    // Each mesh needs at least its header, so a huge count is refused before allocating.
    if (!in.canRead(static_cast<std::size_t>(count), kSailAttachedHeaderSize)) {
        in.fail();
        return false;
    }
    out.resize(static_cast<std::size_t>(count));
    for (SailAttachedMesh& mesh : out) {
        if (!readSailAttachedMesh(in, mesh))
            return false;
    }
    return true;
}

}  // namespace

SailRecord readSailRecord(ByteReader& in) {
    SailRecord r;
    r.sailIndex = in.i32();
    r.shape = in.i32();
    r.depth = in.f32();
    for (auto& corner : r.corners) {
        for (float& value : corner)
            value = in.f32();
    }
    r.attachedCount = in.i32();
    return r;
}

void writeSailRecord(ByteWriter& out, const SailRecord& record) {
    out.i32(record.sailIndex);
    out.i32(record.shape);
    out.f32(record.depth);
    for (const auto& corner : record.corners) {
        for (float value : corner)
            out.f32(value);
    }
    out.i32(record.attachedCount);
}

bool readSailAttachedMesh(ByteReader& in, SailAttachedMesh& out) {
    out.textureName = in.name(kSailTextureNameSize);
    const std::uint32_t vertexCount = in.u32();
    const std::uint32_t triangleCount = in.u32();
    if (in.failed() || !in.canRead(vertexCount, kClfVertexSize)) {
        in.fail();
        return false;
    }
    out.vertices.resize(vertexCount);
    for (ClfVertex& v : out.vertices)
        v = readClfVertex(in);
    if (!in.canRead(triangleCount, kClfTriangleSize)) {
        in.fail();
        return false;
    }
    out.triangles.resize(triangleCount);
    for (ClfTriangle& t : out.triangles)
        t = readClfTriangle(in);
    return in.ok();
}

void writeSailAttachedMesh(ByteWriter& out, const SailAttachedMesh& mesh) {
    out.name(mesh.textureName, kSailTextureNameSize);
    out.u32(static_cast<std::uint32_t>(mesh.vertices.size()));
    out.u32(static_cast<std::uint32_t>(mesh.triangles.size()));
    for (const ClfVertex& v : mesh.vertices)
        writeClfVertex(out, v);
    for (const ClfTriangle& t : mesh.triangles)
        writeClfTriangle(out, t);
}

std::vector<std::uint8_t> writeSailFile(std::span<const SailEntry> entries) {
    ByteWriter out;
    for (const SailEntry& entry : entries) {
        SailRecord record = entry.record;
        record.attachedCount = static_cast<std::int32_t>(entry.attached.size());
        writeSailRecord(out, record);
        for (const SailAttachedMesh& mesh : entry.attached)
            writeSailAttachedMesh(out, mesh);
    }
    return out.take();
}

std::optional<std::vector<SailEntry>> parseSailFile(std::span<const std::uint8_t> bytes) {
    ByteReader in(bytes);
    std::vector<SailEntry> entries;
    while (in.remaining() > 0) {
        SailEntry entry;
        entry.record = readSailRecord(in);
        if (in.failed() || !readAttached(in, entry.record, entry.attached))
            return std::nullopt;
        entries.push_back(std::move(entry));
    }
    return entries;
}

SailLookup findSailEntry(std::span<const std::uint8_t> bytes, std::int32_t recordIndex,
                         SailEntry& out) {
    ByteReader in(bytes);
    while (in.remaining() >= kSailRecordSize) {
        const SailRecord record = readSailRecord(in);
        if (record.sailIndex == recordIndex) {
            out.record = record;
            return readAttached(in, record, out.attached) ? SailLookup::Found : SailLookup::Damaged;
        }
        for (std::int32_t k = 0; k < record.attachedCount; ++k) {
            if (!skipSailAttachedMesh(in))
                return SailLookup::NotFound;
        }
    }
    return SailLookup::NotFound;
}

}  // namespace slipway
