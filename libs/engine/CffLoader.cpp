// Reading a CFF model into the scene.

#include <algorithm>
#include <array>
#include <cmath>

#include "engine/LoaderSupport.h"
#include "formats/CffLayout.h"

namespace slipway {

namespace {


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

void readPart(MeshPart& part, const CffObjectLayout& object, const CffHeader& header) {
    const CffObjectHeader& oh = object.header;
    const auto vertexRecords = static_cast<std::size_t>(oh.vertexRecords);
    const auto triangles = static_cast<std::size_t>(oh.triangleRecords);
    const std::span<const std::uint8_t> vertexBytes = object.vertices;
    const std::size_t triangleSize = object.triangleSize();
    const std::span<const std::uint8_t> indexBytes = object.triangles;

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

    // Every count is checked against the bytes before anything is allocated, loaded or shown;
    // negative counts are damage too.
    const CffLayout layout = parseCffLayout(bytes, services.rules.levelsRead);
    if (!layout.ok())
        return refuseDamaged(path, services.prompt);
    const CffHeader& header = layout.header;

    FillRandom random(services.clock.milliseconds());
    std::vector<std::string> names;
    names.reserve(layout.textureNames.size());
    for (const std::span<const std::uint8_t> chars : layout.textureNames) {
        // The name ends at its first zero byte: some writers count the terminator in the length.
        names.emplace_back(chars.begin(), std::find(chars.begin(), chars.end(), std::uint8_t{0}));
    }
    loadNamedTextures(names, path, services);

    std::unique_ptr<SceneObject> object = newModel(placement, path);
    bool parentFound = false;
    const Vec3 translation = placedTranslation(scene, placement, parentFound);
    // A model under a parent is also turned by its own yaw and pitch (the parent's turn is
    // not applied).
    if (parentFound)
        object->world = yawPitch(placement.angles.y, placement.angles.x);
    setTranslation(object->world, translation);

    buildLevels(*object, layout.levels, [&](MeshPart& part, const CffObjectLayout& source) {
        const CffObjectHeader& oh = source.header;
        part.texture =
            textureFor(names, static_cast<std::uint32_t>(oh.textureNameIndex), services.textures);
        part.doubleSided = oh.doubleSidedFlag != 0;
        readPart(part, source, header);
        const auto nameEnd = std::find(oh.shortName.begin(), oh.shortName.end(), '\0');
        part.name.assign(oh.shortName.begin(), nameEnd);
        // Key records: kept with the edit data, passed over otherwise.
        if (editor) {
            part.textureName =
                textureNameFor(names, static_cast<std::uint32_t>(oh.textureNameIndex));
            giveFillTexture(part, random, services);
            keepKeyTrack(part, source.keys);
            object->keyCount =
                std::max(object->keyCount, static_cast<std::uint32_t>(oh.keyRecords));
        }
        return true;
    });
    return finishModel(scene, std::move(object), static_cast<int>(layout.levels.size()), true,
                       services);
}

int loadCff(Scene& scene, const std::string& path, const Placement& placement,
            const ModelServices& services) {
    return loader::loadModelFile(scene, path, placement, services, &loadCffFromBytes);
}

}  // namespace slipway
