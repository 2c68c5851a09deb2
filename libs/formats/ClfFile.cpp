#include "formats/ClfFile.h"

#include "formats/ClfLayout.h"

namespace slipway {

ClfHeader readClfHeader(ByteReader& in) {
    ClfHeader h;
    h.magic = in.u32();
    h.version = in.u32();
    in.skip(8);
    h.levelCount = in.u32();
    h.textureNameCount = in.u32();
    in.skip(4);
    h.levelObjects = in.u32();
    in.skip(4);
    h.keysPerObject = in.u32();
    in.skip(8);
    return h;
}

ClfObjectHeader readClfObjectHeader(ByteReader& in) {
    ClfObjectHeader h;
    h.objectName = in.name(kClfObjectNameSize);
    h.keyRecords = in.u32();
    h.textureNameIndex = in.u32();
    h.vertexRecords = in.u32();
    h.triangleRecords = in.u32();
    in.skip(75);
    h.doubleSidedFlag = in.u8();
    in.skip(20);
    return h;
}

void writeClfHeader(ByteWriter& out, const ClfHeader& h) {
    out.u32(h.magic);
    out.u32(h.version);
    out.zeros(8);
    out.u32(h.levelCount);
    out.u32(h.textureNameCount);
    out.zeros(4);
    out.u32(h.levelObjects);
    out.zeros(4);
    out.u32(h.keysPerObject);
    out.zeros(8);
}

void writeClfTextureName(ByteWriter& out, const std::string& name) {
    // Always leaves room for the terminator.
    out.name(name.substr(0, kClfTextureNameSize - 1), kClfTextureNameSize);
}

void writeClfObjectHeader(ByteWriter& out, const ClfObjectHeader& h) {
    out.name(h.objectName, kClfObjectNameSize);
    out.u32(h.keyRecords);
    out.u32(h.textureNameIndex);
    out.u32(h.vertexRecords);
    out.u32(h.triangleRecords);
    out.zeros(75);
    out.u8(h.doubleSidedFlag);
    out.zeros(20);
}

void writeClfVertex(ByteWriter& out, const ClfVertex& v) {
    out.f32(v.x);
    out.f32(v.y);
    out.f32(v.z);
    out.f32(v.nx);
    out.f32(v.ny);
    out.f32(v.nz);
    out.u32(v.extra);
}

void writeClfTriangle(ByteWriter& out, const ClfTriangle& t) {
    out.u16(t.a);
    out.u16(t.b);
    out.u16(t.c);
    out.u16(t.textureIndex);
    for (int k = 0; k < 3; ++k) {
        out.f32(t.u[k]);
        out.f32(t.v[k]);
    }
}

std::vector<std::uint8_t> writeClf(const ClfModel& model) {
    ByteWriter out;
    for (std::size_t level = 0; level < model.levels.size() || level == 0; ++level) {
        ClfHeader h;
        h.magic = model.magic;
        h.version = model.version;
        h.levelCount = static_cast<std::uint32_t>(model.levels.size());
        h.textureNameCount = static_cast<std::uint32_t>(model.textureNames.size());
        h.keysPerObject = model.keysPerObject;
        h.levelObjects = level < model.levels.size()
                             ? static_cast<std::uint32_t>(model.levels[level].size())
                             : 0;
        writeClfHeader(out, h);
        if (level == 0) {
            for (const std::string& name : model.textureNames)
                writeClfTextureName(out, name);
        }
        if (level >= model.levels.size())
            break;
        for (const ClfObject& object : model.levels[level]) {
            ClfObjectHeader oh;
            oh.objectName = object.name;
            oh.keyRecords = static_cast<std::uint32_t>(object.keys.size());
            oh.textureNameIndex = object.textureNameIndex;
            oh.vertexRecords = static_cast<std::uint32_t>(object.vertices.size());
            oh.triangleRecords = static_cast<std::uint32_t>(object.triangles.size());
            oh.doubleSidedFlag = object.doubleSided ? 1 : 0;
            writeClfObjectHeader(out, oh);
            for (const ClfVertex& v : object.vertices)
                writeClfVertex(out, v);
            for (const ClfTriangle& t : object.triangles)
                writeClfTriangle(out, t);
            for (const KeyRecord& k : object.keys)
                writeKeyRecord(out, k);
        }
    }
    return out.take();
}

std::optional<ClfModel> parseClf(std::span<const std::uint8_t> bytes) {
    const ClfLayout layout = parseClfLayout(bytes, LevelsWalked::All);
    if (!layout.ok())
        return std::nullopt;
    ClfModel model;
    model.magic = layout.header.magic;
    model.version = layout.header.version;
    model.keysPerObject = layout.header.keysPerObject;
    for (std::uint32_t i = 0; i < layout.header.textureNameCount; ++i)
        model.textureNames.push_back(layout.textureName(i));
    for (const ClfLevelLayout& level : layout.levels) {
        std::vector<ClfObject>& objects = model.levels.emplace_back();
        objects.reserve(level.objects.size());
        for (const ClfObjectLayout& o : level.objects) {
            ClfObject& object = objects.emplace_back();
            object.name = o.header.objectName;
            object.textureNameIndex = o.header.textureNameIndex;
            object.doubleSided = o.header.doubleSidedFlag != 0;
            object.vertices.reserve(o.header.vertexRecords);
            for (std::size_t v = 0; v < o.header.vertexRecords; ++v)
                object.vertices.push_back(o.vertex(v));
            object.triangles.reserve(o.header.triangleRecords);
            for (std::size_t t = 0; t < o.header.triangleRecords; ++t)
                object.triangles.push_back(o.triangle(t));
            object.keys.reserve(o.header.keyRecords);
            for (std::size_t k = 0; k < o.header.keyRecords; ++k)
                object.keys.push_back(o.key(k));
        }
    }
    return model;
}

}  // namespace slipway
