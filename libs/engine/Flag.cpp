#include "engine/Flag.h"

#include <memory>

#include "engine/LoaderSupport.h"

namespace slipway {

namespace {

struct FlagShape {
    int segments;
    float width;
    float length;
    int rows;
};

constexpr FlagShape kFlagShape{10, 0.02f, 0.06f, 3};
constexpr FlagShape kPennantShape{30, 0.01f, 0.2f, 2};

void addTriangle(std::vector<std::uint16_t>& out, int a, int b, int c) {
    out.push_back(static_cast<std::uint16_t>(a));
    out.push_back(static_cast<std::uint16_t>(b));
    out.push_back(static_cast<std::uint16_t>(c));
}

}  // namespace

void shapeFlag(FlagObject& flag) {
    const bool pennant = flag.flagStyle == kPennantStyle;
    const FlagShape& shape = pennant ? kPennantShape : kFlagShape;
    flag.flagSegments = shape.segments;
    flag.flagWidth = shape.width;
    flag.flagLength = shape.length;

    MeshPart mesh;
    mesh.doubleSided = true;
    const int S = shape.segments;
    const float step = shape.length / static_cast<float>(S);
    const float rowHeight = pennant ? shape.width : shape.width / 2;
    for (int c = 0; c <= S; ++c) {
        for (int r = 0; r < shape.rows; ++r) {
            RenderVertex v;
            v.y = static_cast<float>(r) * rowHeight;
            v.z = static_cast<float>(c) * step;
            v.nx = 1;
            v.u = static_cast<float>(c) / static_cast<float>(S);
            v.v = 1.0f - static_cast<float>(r) / static_cast<float>(shape.rows - 1);
            mesh.vertices.push_back(v);
        }
    }
    for (int c = 0; c < S; ++c) {
        const int b = c * shape.rows;
        if (pennant) {
            addTriangle(mesh.indices, b, b + 1, b + 3);
            addTriangle(mesh.indices, b, b + 3, b + 2);
        } else {
            addTriangle(mesh.indices, b, b + 1, b + 3);
            addTriangle(mesh.indices, b + 1, b + 4, b + 3);
            addTriangle(mesh.indices, b + 1, b + 2, b + 4);
            addTriangle(mesh.indices, b + 2, b + 5, b + 4);
        }
    }
    flag.lodMeshes = {};
    flag.lodMeshes[0].push_back(std::move(mesh));
    flag.levelCount = 1;
    flag.currentLevel = 0;
}

int makeFlag(Scene& scene, int parent, int type, Vec3 offset, const ModelServices& services) {
    if (scene.isFull()) {
        tell(services.prompt, kTooManyObjectsText);
        return -1;
    }
    if (parent < -1 || parent >= scene.capacity()) {
        tell(services.prompt, kBadParentText);
        return -1;
    }

    auto flag = std::make_unique<FlagObject>();
    flag->visible = true;
    flag->parent = parent;
    flag->offset = offset;
    flag->flagStyle = type;
    flag->animTime = 0;
    if (const SceneObject* owner = scene.object(parent)) {
        const Matrix4& w = owner->world;
        setTranslation(flag->world, add(offset, Vec3{w[12], w[13], w[14]}));
    }
    shapeFlag(*flag);

    loader::loadNamedTexture(kFlagTextureFile, services);
    loader::loadNamedTexture(kPennantTextureFile, services);
    flag->lodMeshes[0][0].texture =
        services.textures.textureIndex(type == kPennantStyle ? kPennantTexture : kFlagTexture);

    return scene.add(std::move(flag));
}

}  // namespace slipway
