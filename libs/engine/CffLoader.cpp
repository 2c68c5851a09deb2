// Reading a CFF model into the scene.

#include <algorithm>
#include <array>
#include <cmath>

#include "engine/LoaderSupport.h"
#include "formats/CffFile.h"

namespace slipway {

namespace {

std::int32_t levelsToRead(const ViewerRules& rules, std::int32_t levelCount) {
    return std::min<std::int32_t>(levelCount, rules.levelsRead);
}

bool negative(const CffObjectHeader& oh) {
    return oh.vertexRecords < 0 || oh.triangleRecords < 0 || oh.keyRecords < 0;
}

// Checks every count against the bytes that are there before anything is allocated, loaded or
// shown. Negative counts are damage too.
bool layoutFits(std::span<const std::uint8_t> bytes, const CffHeader& header, std::int32_t levels) {
    ByteReader in(bytes);
    in.skip(kCffHeaderSize);
    if (header.textureNameCount < 0 || header.levelCount < 0)
        return false;
    const auto names = static_cast<std::size_t>(header.textureNameCount);
    if (!in.canRead(names))
        return false;
    for (std::size_t i = 0; i < names; ++i)
        in.skip(in.u8());
    if (!in.canRead(names, kCffTextureRecordSize))
        return false;
    for (std::size_t i = 0; i < names; ++i) {
        const std::uint32_t extra = cffTextureExtraEntries(in.view(kCffTextureRecordSize));
        if (!in.canRead(extra, kCffTextureExtraSize))
            return false;
        in.skip(static_cast<std::size_t>(extra) * kCffTextureExtraSize);
    }
    for (std::int32_t level = 0; level < levels; ++level) {
        const std::int32_t objects = in.i32();
        in.skip(4);
        if (objects < 0 || !in.canRead(static_cast<std::size_t>(objects), kCffObjectHeaderSize)) {
            return false;
        }
        for (std::int32_t i = 0; i < objects; ++i) {
            const CffObjectHeader oh = readCffObjectHeader(in);
            if (negative(oh))
                return false;
            const auto v = static_cast<std::size_t>(oh.vertexRecords);
            const auto t = static_cast<std::size_t>(oh.triangleRecords);
            const auto k = static_cast<std::size_t>(oh.keyRecords);
            if (!in.canRead(v, kCffVertexSize))
                return false;
            in.skip(v * kCffVertexSize);
            if (!in.canRead(t, cffTriangleSize(oh.vertexRecords)))
                return false;
            in.skip(t * cffTriangleSize(oh.vertexRecords));
            if (!in.canRead(k, kKeyRecordSize))
                return false;
            in.skip(k * kKeyRecordSize);
        }
    }
    return in.ok();
}

// q / 127 for every signed byte, so each normal component is one lookup.
const std::array<float, 256>& normalTable() {
    static const std::array<float, 256> table = [] {
        std::array<float, 256> t{};
        for (int q = -128; q < 128; ++q)
            t[static_cast<std::uint8_t>(q)] = static_cast<float>(q) / 127.0f;
        return t;
    }();
    return table;
}

// A decoded value that is not a finite number (a divisor of 0, a box beyond the float range)
// becomes 0.
float finiteOrZero(float value) {
    return std::isfinite(value) ? value : 0.0f;
}

void readPart(MeshPart& part, const CffObjectHeader& oh, const CffHeader& header, ByteReader& in) {
    const auto vertexRecords = static_cast<std::size_t>(oh.vertexRecords);
    const auto triangles = static_cast<std::size_t>(oh.triangleRecords);
    const std::span<const std::uint8_t> vertexBytes = in.view(vertexRecords * kCffVertexSize);
    const std::size_t triangleSize = cffTriangleSize(oh.vertexRecords);
    const std::span<const std::uint8_t> indexBytes = in.view(triangles * triangleSize);

    const std::array<float, 256>& normals = normalTable();
    // Filled by appending, so the arrays are written once rather than cleared first.
    part.vertices.reserve(vertexRecords);
    for (std::size_t i = 0; i < vertexRecords; ++i) {
        const CffVertex r = decodeCffVertex(vertexBytes.data() + i * kCffVertexSize);
        RenderVertex v;
        v.x = finiteOrZero(static_cast<float>(r.px * 2) * header.scale[0] / 65536.0f +
                           header.origin[0]);
        v.y = finiteOrZero(static_cast<float>(r.py * 2) * header.scale[1] / 65536.0f +
                           header.origin[1]);
        v.z = finiteOrZero(static_cast<float>(r.pz * 2) * header.scale[2] / 65536.0f +
                           header.origin[2]);
        v.nx = normals[static_cast<std::uint8_t>(r.qx)];
        v.ny = normals[static_cast<std::uint8_t>(r.qy)];
        v.nz = normals[static_cast<std::uint8_t>(r.qz)];
        v.u = finiteOrZero(static_cast<float>(r.pu) / oh.uvScale);
        v.v = finiteOrZero(static_cast<float>(r.pv) / oh.uvScale);
        part.vertices.push_back(v);
    }

    // Without vertices no triangle can be drawn; its indices are left out.
    if (vertexRecords == 0)
        return;
    // An index past the vertices would be drawn from outside the array: it becomes 0.
    part.indices.resize(triangles * 3);
    std::uint16_t* dst = part.indices.data();
    const std::uint8_t* src = indexBytes.data();
    if (triangleSize == 6) {
        for (std::size_t i = 0; i < triangles * 3; ++i) {
            const std::uint16_t index = le::u16(src + 2 * i);
            dst[i] = index < vertexRecords ? index : 0;
        }
    } else {
        for (std::size_t i = 0; i < triangles * 3; ++i) {
            dst[i] = src[i] < vertexRecords ? src[i] : 0;
        }
    }
}

}  // namespace

int loadCffFromBytes(Scene& scene, std::span<const std::uint8_t> bytes, const std::string& path,
                     const Placement& placement, const ModelServices& services) {
    using namespace loader;
    const bool editor = services.rules.keepsEditData;
    if (!checkRoomAndParent(scene, placement, services.prompt))
        return -1;

    ByteReader in(bytes);
    const CffHeader header = readCffHeader(in);
    if (in.failed())
        return refuseDamaged(path, services.prompt);
    const std::int32_t levels = levelsToRead(services.rules, header.levelCount);
    if (!layoutFits(bytes, header, levels))
        return refuseDamaged(path, services.prompt);

    FillRandom random(services.clock.milliseconds());
    std::vector<std::string> names;
    names.reserve(static_cast<std::size_t>(header.textureNameCount));
    for (std::int32_t i = 0; i < header.textureNameCount; ++i) {
        const std::uint8_t length = in.u8();
        const auto chars = in.view(length);
        // The name ends at its first zero byte: some writers count the terminator in the length.
        const auto end = std::find(chars.begin(), chars.end(), std::uint8_t{0});
        names.emplace_back(chars.begin(), end);
        loadNamedTexture(names.back(), services);
    }
    for (std::int32_t i = 0; i < header.textureNameCount; ++i) {
        const std::uint32_t extra = cffTextureExtraEntries(in.view(kCffTextureRecordSize));
        in.skip(static_cast<std::size_t>(extra) * kCffTextureExtraSize);
    }

    std::unique_ptr<SceneObject> object = newModel(services.rules, placement, path);
    bool parentFound = false;
    const Vec3 translation = placedTranslation(scene, placement, parentFound);
    // A model under a parent is also turned by its own yaw and pitch (the parent's turn is
    // not applied).
    if (parentFound)
        object->world = yawPitch(placement.angles.y, placement.angles.x);
    setTranslation(object->world, translation);

    for (std::int32_t level = 0; level < levels; ++level) {
        const std::int32_t levelObjects = in.i32();
        in.skip(4);
        std::vector<MeshPart>& parts = object->lodMeshes[static_cast<std::size_t>(level)];
        parts.resize(static_cast<std::size_t>(levelObjects));
        object->levelCount = level + 1;
        for (MeshPart& part : parts) {
            const CffObjectHeader oh = readCffObjectHeader(in);
            part.texture = textureFor(names, static_cast<std::uint32_t>(oh.textureNameIndex),
                                      services.textures);
            part.doubleSided = oh.doubleSidedFlag != 0;
            readPart(part, oh, header, in);
            if (editor) {
                const auto nameEnd = std::find(oh.shortName.begin(), oh.shortName.end(), '\0');
                part.name.assign(oh.shortName.begin(), nameEnd);
                part.textureName =
                    textureNameFor(names, static_cast<std::uint32_t>(oh.textureNameIndex));
                giveFillTexture(part, random, services);
                for (std::int32_t k = 0; k < oh.keyRecords; ++k) {
                    part.keyTrack.keys.push_back(readKeyRecord(in));
                }
                part.keyTrack.positions.reserve(part.vertices.size());
                for (const RenderVertex& v : part.vertices) {
                    part.keyTrack.positions.push_back(Vec3{v.x, v.y, v.z});
                }
                object->keyCount =
                    std::max(object->keyCount, static_cast<std::uint32_t>(oh.keyRecords));
            } else {
                in.skip(static_cast<std::size_t>(oh.keyRecords) * kKeyRecordSize);
            }
        }
    }
    if (in.failed())
        return refuseDamaged(path, services.prompt);  // cannot happen after layoutFits
    return finishModel(scene, std::move(object), levels, true, services);
}

int loadCff(Scene& scene, const std::string& path, const Placement& placement,
            const ModelServices& services) {
    if (!loader::checkRoomAndParent(scene, placement, services.prompt))
        return -1;
    const auto bytes = loader::readModelFile(path, services.prompt);
    if (!bytes)
        return -1;
    return loadCffFromBytes(scene, *bytes, path, placement, services);
}

}  // namespace slipway
