#include "engine/Sail.h"

#include <memory>

#include "base/FileIo.h"
#include "base/Paths.h"
#include "engine/LoaderSupport.h"
#include "engine/SailCloth.h"
#include "formats/SailFile.h"

namespace slipway {

namespace {

Vec3 corner(const SailRecord& record, int i) {
    const auto& c = record.corners[static_cast<std::size_t>(i)];
    return Vec3{c[0], c[1], c[2]};
}

MeshPart attachedPart(const SailAttachedMesh& stored, const ModelServices& services) {
    MeshPart part;
    // An empty name names no file; asking for it would only bring up a useless warning.
    if (!stored.textureName.empty()) {
        loader::loadNamedTexture(stored.textureName, services);
        part.texture = services.textures.textureIndex(baseName(stored.textureName));
    }
    part.vertices.resize(stored.vertices.size());
    for (std::size_t i = 0; i < stored.vertices.size(); ++i) {
        RenderVertex& v = part.vertices[i];
        v.x = stored.vertices[i].x;
        v.y = stored.vertices[i].y;
        v.z = stored.vertices[i].z;
        v.nz = 1;  // the file's normals are not used; the cloth's facing serves
    }
    if (part.vertices.empty())
        return part;  // no vertex for any index to name

    const std::size_t vertexCount = part.vertices.size();
    part.indices.reserve(stored.triangles.size() * 3);
    for (const ClfTriangle& t : stored.triangles) {
        const std::uint16_t corners[3] = {t.a, t.b, t.c};
        for (int k = 0; k < 3; ++k) {
            // An index past the vertices would have the renderer read outside the mesh.
            const std::uint16_t index = corners[k] < vertexCount ? corners[k] : 0;
            part.indices.push_back(index);
            part.vertices[index].u = t.u[k];
            part.vertices[index].v = t.v[k];
        }
    }
    return part;
}

}  // namespace

int makeSail(Scene& scene, const std::string& path, int recordIndex, int type,
             const Placement& placement, const ModelServices& services) {
    const auto bytes = readFileBytes(path);
    if (!bytes)
        return -1;
    return makeSailFromBytes(scene, *bytes, recordIndex, type, placement, services);
}

int makeSailFromBytes(Scene& scene, std::span<const std::uint8_t> bytes, int recordIndex, int type,
                      const Placement& placement, const ModelServices& services) {
    SailEntry entry;
    if (findSailEntry(bytes, recordIndex, entry) != SailLookup::Found)
        return -1;
    if (scene.isFull())
        return -1;

    auto sail = std::make_unique<SceneObject>();
    sail->kind = ObjectKind::Sail;
    sail->visible = true;
    sail->parent = placement.parent;
    sail->offset = placement.offset;
    sail->angles = placement.angles;
    if (const SceneObject* owner = scene.object(placement.parent)) {
        const Matrix4& w = owner->world;
        setTranslation(sail->world, add(placement.offset, Vec3{w[12], w[13], w[14]}));
    }

    loader::loadNamedTexture(kSailTextureFile, services);
    loader::loadNamedTexture(kPlainSailTextureFile, services);

    const SailRecord& r = entry.record;
    ClothMesh cloth =
        r.shape == kTriangularSailShape
            ? triangularCloth(corner(r, 0), corner(r, 1), corner(r, 2), r.depth)
            : fourCorneredCloth(corner(r, 0), corner(r, 1), corner(r, 2), corner(r, 3), r.depth);
    std::vector<MeshPart>& meshes = sail->lodMeshes[0];
    meshes.reserve(entry.attached.size() + 1);
    MeshPart& clothPart = meshes.emplace_back();
    clothPart.vertices = std::move(cloth.vertices);
    clothPart.indices = std::move(cloth.indices);
    clothPart.doubleSided = true;
    clothPart.texture =
        services.textures.textureIndex(type == kPaintedSailType ? kSailTexture : kPlainSailTexture);

    for (const SailAttachedMesh& stored : entry.attached) {
        meshes.push_back(attachedPart(stored, services));
    }
    sail->levelCount = 1;
    sail->currentLevel = 0;
    return scene.add(std::move(sail));
}

}  // namespace slipway
