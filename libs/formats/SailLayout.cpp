#include "formats/SailLayout.h"

#include <algorithm>
#include <string>

namespace slipway {

SailLayout parseSailLayout(std::span<const std::uint8_t> bytes) {
    SailLayout layout;
    ByteReader in(bytes);
    while (in.remaining() >= kSailRecordSize) {
        const std::size_t at = in.position();
        SailEntryLayout entry;
        entry.bytes = bytes.subspan(at, kSailRecordSize);
        entry.record = readSailRecord(in);
        const auto count = static_cast<std::size_t>(std::max(entry.record.attachedCount, 0));
        // Each mesh needs at least its name and counts: a huge count is refused before
        // reserving.
        if (in.canRead(count, kSailAttachedHeaderSize)) {
            entry.attached.reserve(count);
            for (std::size_t k = 0; k < count && in.ok(); ++k) {
                SailAttachedLayout& mesh = entry.attached.emplace_back();
                mesh.textureName = in.name(kSailTextureNameSize);
                const std::uint32_t vertexCount = in.u32();
                const std::uint32_t triangleCount = in.u32();
                mesh.vertices = takeRecords(in, vertexCount, kClfVertexSize);
                mesh.triangles = takeRecords(in, triangleCount, kClfTriangleSize);
            }
        } else {
            in.fail();
        }
        if (in.failed()) {
            layout.failure = LayoutFailure{
                at, "entry " + std::to_string(layout.entries.size()) + ": attached meshes"};
            layout.damaged = entry.record;
            return layout;
        }
        layout.entries.push_back(std::move(entry));
    }
    layout.rest = bytes.subspan(in.position());
    return layout;
}

SailEntry sailEntryOf(const SailEntryLayout& entry) {
    SailEntry out;
    out.record = entry.record;
    out.attached.reserve(entry.attached.size());
    for (const SailAttachedLayout& mesh : entry.attached) {
        SailAttachedMesh& stored = out.attached.emplace_back();
        stored.textureName = mesh.textureName;
        const std::size_t vertices = mesh.vertices.size() / kClfVertexSize;
        stored.vertices.reserve(vertices);
        for (std::size_t i = 0; i < vertices; ++i)
            stored.vertices.push_back(decodeClfVertex(mesh.vertices.data() + i * kClfVertexSize));
        const std::size_t triangles = mesh.triangles.size() / kClfTriangleSize;
        stored.triangles.reserve(triangles);
        for (std::size_t i = 0; i < triangles; ++i) {
            stored.triangles.push_back(
                decodeClfTriangle(mesh.triangles.data() + i * kClfTriangleSize));
        }
    }
    return out;
}

}  // namespace slipway
