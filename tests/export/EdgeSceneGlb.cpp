// Writes a GLB of a scene full of what real files hold and readers must survive: numbers that
// are not finite, normals of every length, degenerate and unfinished triangles, indices past
// the vertices, hidden and empty parts, names in a one-byte code page, turned parents, waving
// flags, sails with placeholder normals, see-through, opaque and missing textures. The tests
// hand it to the Khronos validator.
//   edge-scene-glb OUT.glb

#include <cmath>
#include <cstdio>

#include "base/DebugTrace.h"
#include "engine/Flag.h"
#include "engine/FlagObject.h"
#include "export/GltfExport.h"
#include "support/TgaBuilder.h"

using namespace slipway;

namespace {

RenderVertex vertex(float x, float y, float z, Vec3 n = {0, 0, -1}) {
    RenderVertex v;
    v.x = x, v.y = y, v.z = z, v.nx = n.x, v.ny = n.y, v.nz = n.z, v.u = x, v.v = y;
    return v;
}

MeshPart part(std::vector<RenderVertex> vertices, std::vector<std::uint16_t> indices,
              std::uint32_t texture, bool doubleSided, const char* name) {
    MeshPart p;
    p.vertices = std::move(vertices);
    p.indices = std::move(indices);
    p.texture = texture;
    p.doubleSided = doubleSided;
    p.name = name;
    return p;
}

void add(Scene& scene, std::unique_ptr<SceneObject> object, ObjectKind kind, const char* file,
         Vec3 at, Matrix4 turn, int parent, std::vector<MeshPart> parts) {
    object->kind = kind;
    object->visible = true;
    object->fileName = file;
    object->world = turn;
    setTranslation(object->world, at);
    object->parent = parent;
    if (!parts.empty()) {
        object->lodMeshes[0] = std::move(parts);
        object->levelCount = 1;
    }
    scene.add(std::move(object));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: edge-scene-glb OUT.glb\n");
        return 2;
    }
    Scene scene;
    TextureStore textures;
    NullTrace trace;
    test::TgaBuilder opaque;
    opaque.width = opaque.height = 2;
    opaque.pixels = {0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255};
    test::TgaBuilder holes;
    holes.width = 2;
    holes.height = 1;
    holes.depth = 32;
    holes.pixels = {0, 0, 0, 0, 10, 200, 30, 255};
    textures.loadTextureFromBytes("planks.tga", opaque.build(), trace);
    textures.loadTextureFromBytes("vimpel\xE9.tga", holes.build(), trace);
    const std::uint32_t planks = textures.textureIndex("planks");
    const std::uint32_t vimpel = textures.textureIndex("vimpel\xE9");

    const float inf = INFINITY;
    std::vector<RenderVertex> odd = {
        vertex(0, 0, 0, {0, 0, 3}),     vertex(0, 1, 0, {0, 0, 0}),
        vertex(1, 0, 0, {NAN, 0, 1}),   vertex(NAN, inf, -inf, {1e-30f, 0, 0}),
        vertex(1, 1, 0, {0, 1e30f, 0}), vertex(2, 2, 2)};
    add(scene, std::make_unique<SceneObject>(), ObjectKind::Model, "hull\xE9", {1, 2, 3},
        identity(), -1,
        {part(odd, {0, 1, 2, 2, 1, 4, 0, 0, 0, 1, 1, 3, 0, 1}, planks, false, "planks"),
         part(odd, {0, 1, 2, 2, 1, 9}, vimpel, true, "\xC0\xAF"),
         part(odd, {0, 1, 2}, 500, true, "no texture"), part({}, {}, 0, false, "empty"),
         part(odd, {0, 1}, planks, false, "no triangle")});
    add(scene, std::make_unique<SceneObject>(), ObjectKind::Model, "mast", {1, 2.5f, 3},
        yawPitch(2.9f, -1.2f), 0, {part(odd, {0, 1, 2}, planks, false, "")});
    add(scene, std::make_unique<SceneObject>(), ObjectKind::Sail, "", {1, 3, 3}, identity(), 1,
        {part({vertex(0, 0, 0, {0, 0, 1}), vertex(0, 1, 0, {0, 0, 1}), vertex(0, 0, 1, {0, 0, 1}),
               vertex(0, 1, 1, {0, 0, 1})},
              {0, 1, 2, 2, 1, 3}, planks, true, "")});
    auto flag = std::make_unique<FlagObject>();
    flag->flagStyle = kPennantStyle;
    shapeFlag(*flag);
    flag->lodMeshes[0][0].texture = vimpel;
    flag->animate(900);
    add(scene, std::move(flag), ObjectKind::Flag, "", {1, 4, 3}, identity(), 1, {});
    add(scene, std::make_unique<SceneObject>(), ObjectKind::Cannon, "Piramid", {0, 0, 0},
        yawPitch(1, 0), 0, {part(odd, {0, 1, 2}, planks, false, "pira")});
    add(scene, std::make_unique<SceneObject>(), ObjectKind::Model, "swivel", {0, 1, 0}, identity(),
        4, {part(odd, {0, 2, 1}, planks, false, "")});
    Matrix4 broken = identity();
    broken[13] = NAN;
    add(scene, std::make_unique<SceneObject>(), ObjectKind::Model, "lost", {0, NAN, 0}, broken, 0,
        {part(odd, {0, 1, 2}, planks, false, "")});

    GltfExportOptions options;
    options.markers = true;
    options.sceneName = "Fr\xE9gate";
    const GltfExportResult result = writeGlb(argv[1], scene, textures, options);
    if (!result.written) {
        std::fprintf(stderr, "edge-scene-glb: %s\n", result.error.c_str());
        return 1;
    }
    return 0;
}
