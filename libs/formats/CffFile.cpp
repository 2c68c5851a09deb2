#include "formats/CffFile.h"

#include <algorithm>
#include <cstring>

#include "formats/CffLayout.h"

namespace slipway {

CffHeader readCffHeader(ByteReader& in) {
    CffHeader h;
    for (float& v : h.origin)
        v = in.f32();
    for (float& v : h.scale)
        v = in.f32();
    h.textureNameCount = in.i32();
    h.reserved1 = in.u32();
    h.levelCount = in.i32();
    h.reserved2 = in.u32();
    h.extent = in.f32();
    return h;
}

CffObjectHeader readCffObjectHeader(ByteReader& in) {
    CffObjectHeader h;
    for (float& v : h.center)
        v = in.f32();
    h.uvScale = in.f32();
    h.radius = in.f32();
    h.textureNameIndex = in.i32();
    h.vertexRecords = in.i32();
    h.triangleRecords = in.i32();
    h.doubleSidedFlag = in.u32();
    h.keyRecords = in.i32();
    in.bytes(h.shortName.data(), h.shortName.size());
    return h;
}

std::uint32_t cffTextureExtraEntries(std::span<const std::uint8_t> record) {
    if (record.size() < kCffTextureRecordSize)
        return 0;
    const std::uint8_t* p = record.data() + 36;
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

void writeCffHeader(ByteWriter& out, const CffHeader& h) {
    for (float v : h.origin)
        out.f32(v);
    for (float v : h.scale)
        out.f32(v);
    out.i32(h.textureNameCount);
    out.u32(h.reserved1);
    out.i32(h.levelCount);
    out.u32(h.reserved2);
    out.f32(h.extent);
}

void writeCffObjectHeader(ByteWriter& out, const CffObjectHeader& h) {
    for (float v : h.center)
        out.f32(v);
    out.f32(h.uvScale);
    out.f32(h.radius);
    out.i32(h.textureNameIndex);
    out.i32(h.vertexRecords);
    out.i32(h.triangleRecords);
    out.u32(h.doubleSidedFlag);
    out.i32(h.keyRecords);
    out.bytes(std::span<const std::uint8_t>(
        reinterpret_cast<const std::uint8_t*>(h.shortName.data()), h.shortName.size()));
}

void writeCffVertex(ByteWriter& out, const CffVertex& v) {
    out.i16(v.px);
    out.i16(v.py);
    out.i16(v.pz);
    out.i16(v.pu);
    out.i16(v.pv);
    out.u8(static_cast<std::uint8_t>(v.qx));
    out.u8(static_cast<std::uint8_t>(v.qy));
    out.u8(static_cast<std::uint8_t>(v.qz));
}

std::vector<std::uint8_t> writeCff(const CffModel& model) {
    ByteWriter out;
    CffHeader header = model.header;
    header.textureNameCount = static_cast<std::int32_t>(model.textureNames.size());
    header.levelCount = static_cast<std::int32_t>(model.levels.size());
    writeCffHeader(out, header);
    for (const std::string& name : model.textureNames) {
        const std::size_t length = std::min<std::size_t>(name.size(), 255);
        out.u8(static_cast<std::uint8_t>(length));
        out.bytes(std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(name.data()),
                                                length));
    }
    for (std::size_t i = 0; i < model.textureNames.size(); ++i) {
        CffTextureRecord record;
        if (i < model.textureRecords.size())
            record = model.textureRecords[i];
        const auto extra = static_cast<std::uint32_t>(record.extra.size());
        for (int b = 0; b < 4; ++b)
            record.bytes[36 + b] = static_cast<std::uint8_t>(extra >> (8 * b));
        out.bytes(record.bytes);
        for (const auto& entry : record.extra)
            out.bytes(entry);
    }
    for (const CffLevel& level : model.levels) {
        out.i32(static_cast<std::int32_t>(level.objects.size()));
        out.u32(level.reserved);
        for (const CffObject& object : level.objects) {
            CffObjectHeader h = object.header;
            h.vertexRecords = static_cast<std::int32_t>(object.vertices.size());
            h.triangleRecords = static_cast<std::int32_t>(object.triangles.size());
            h.keyRecords = static_cast<std::int32_t>(object.keys.size());
            writeCffObjectHeader(out, h);
            for (const CffVertex& v : object.vertices)
                writeCffVertex(out, v);
            const bool wide = cffTriangleSize(h.vertexRecords) == 6;
            for (const auto& t : object.triangles) {
                for (std::uint16_t index : t) {
                    if (wide) {
                        out.u16(index);
                    } else {
                        out.u8(static_cast<std::uint8_t>(index));
                    }
                }
            }
            for (const KeyRecord& k : object.keys)
                writeKeyRecord(out, k);
        }
    }
    return out.take();
}

std::optional<CffModel> parseCff(std::span<const std::uint8_t> bytes) {
    const CffLayout layout = parseCffLayout(bytes, LevelsWalked::All);
    if (!layout.ok())
        return std::nullopt;
    CffModel model;
    model.header = layout.header;
    for (const auto& name : layout.textureNames)
        model.textureNames.emplace_back(name.begin(), name.end());
    for (const CffTextureRecordLayout& r : layout.textureRecords) {
        CffTextureRecord& record = model.textureRecords.emplace_back();
        std::copy(r.record.begin(), r.record.end(), record.bytes.begin());
        record.extra.resize(r.extra.size() / kCffTextureExtraSize);
        for (std::size_t e = 0; e < record.extra.size(); ++e) {
            const auto entry = r.extra.subspan(e * kCffTextureExtraSize, kCffTextureExtraSize);
            std::copy(entry.begin(), entry.end(), record.extra[e].begin());
        }
    }
    for (const CffLevelLayout& l : layout.levels) {
        CffLevel& level = model.levels.emplace_back();
        level.reserved = l.reserved;
        level.objects.reserve(l.objects.size());
        for (const CffObjectLayout& o : l.objects) {
            CffObject& object = level.objects.emplace_back();
            object.header = o.header;
            const auto vertices = static_cast<std::size_t>(o.header.vertexRecords);
            object.vertices.reserve(vertices);
            for (std::size_t v = 0; v < vertices; ++v)
                object.vertices.push_back(o.vertex(v));
            const auto triangles = static_cast<std::size_t>(o.header.triangleRecords);
            object.triangles.reserve(triangles);
            for (std::size_t t = 0; t < triangles; ++t)
                object.triangles.push_back({o.index(t, 0), o.index(t, 1), o.index(t, 2)});
            const auto keys = static_cast<std::size_t>(o.header.keyRecords);
            object.keys.reserve(keys);
            for (std::size_t k = 0; k < keys; ++k)
                object.keys.push_back(o.key(k));
        }
    }
    return model;
}

}  // namespace slipway
