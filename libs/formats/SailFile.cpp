#include "formats/SailFile.h"

#include "formats/SailLayout.h"

namespace slipway {

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
    const SailLayout layout = parseSailLayout(bytes);
    if (!layout.ok() || !layout.rest.empty())
        return std::nullopt;
    std::vector<SailEntry> entries;
    entries.reserve(layout.entries.size());
    for (const SailEntryLayout& entry : layout.entries)
        entries.push_back(sailEntryOf(entry));
    return entries;
}

SailLookup findSailEntry(std::span<const std::uint8_t> bytes, std::int32_t recordIndex,
                         SailEntry& out) {
    const SailLayout layout = parseSailLayout(bytes);
    for (const SailEntryLayout& entry : layout.entries) {
        if (entry.record.sailIndex == recordIndex) {
            out = sailEntryOf(entry);
            return SailLookup::Found;
        }
    }
    if (layout.damaged && layout.damaged->sailIndex == recordIndex) {
        out = SailEntry{*layout.damaged, {}};
        return SailLookup::Damaged;
    }
    return SailLookup::NotFound;
}

}  // namespace slipway
