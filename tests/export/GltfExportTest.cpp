// The scene as glTF, read back with tinygltf's loader: the ship keeps its sides and its outside,
// the hierarchy reproduces every placement, materials follow the renderer's states, and only
// what is asked for goes out.

#include <cmath>

#include <gtest/gtest.h>

#include "GlbReadBack.h"
#include "TempDir.h"
#include "TestFiles.h"
#include "base/DebugTrace.h"
#include "engine/Flag.h"
#include "engine/FlagObject.h"
#include "export/GltfExport.h"
#include "support/TgaBuilder.h"

namespace slipway {
namespace {

using test::GlbReadBack;

RenderVertex vertex(float x, float y, float z, float u = 0, float v = 0) {
    RenderVertex r;
    r.x = x, r.y = y, r.z = z, r.u = u, r.v = v;
    return r;
}

MeshPart part(std::vector<RenderVertex> vertices, std::vector<std::uint16_t> indices,
              const std::string& name = "", std::uint32_t texture = 0, bool doubleSided = false) {
    MeshPart p;
    p.vertices = std::move(vertices);
    p.indices = std::move(indices);
    p.name = name;
    p.texture = texture;
    p.doubleSided = doubleSided;
    return p;
}

// A small triangle, enough to make a part.
MeshPart marker(const std::string& name = "") {
    return part({vertex(0, 0, 0), vertex(0, 0.1f, 0), vertex(0.1f, 0, 0)}, {0, 1, 2}, name);
}

Matrix4 placed(Vec3 at, Matrix4 rotation = identity()) {
    setTranslation(rotation, at);
    return rotation;
}

template <typename Object = SceneObject>
Object& add(Scene& scene, ObjectKind kind, const std::string& fileName, Matrix4 world, int parent,
            std::vector<MeshPart> parts) {
    auto object = std::make_unique<Object>();
    object->kind = kind;
    object->visible = true;
    object->fileName = fileName;
    object->world = world;
    object->parent = parent;
    object->lodMeshes[0] = std::move(parts);
    object->levelCount = 1;
    Object& ref = *object;
    EXPECT_GE(scene.add(std::move(object)), 0);
    return ref;
}

// A closed box whose faces are wound like the models' (the face normal of each triangle's
// corner order points out of the box, which is what the viewer draws as the front), normals
// computed as the viewer computes them.
MeshPart box(Vec3 low, Vec3 high) {
    MeshPart p;
    for (int i = 0; i < 8; ++i) {
        p.vertices.push_back(
            vertex((i & 1) ? high.x : low.x, (i & 2) ? high.y : low.y, (i & 4) ? high.z : low.z));
    }
    // Quads (a, b, c, d), each split into (a, b, c) and (a, c, d).
    const std::uint16_t quads[6][4] = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4},
                                       {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}};
    for (const auto& q : quads) {
        p.indices.insert(p.indices.end(), {q[0], q[1], q[2], q[0], q[2], q[3]});
    }
    return p;
}

Vec3 translationOf(const test::Matrix& m) {
    return {static_cast<float>(m[12]), static_cast<float>(m[13]), static_cast<float>(m[14])};
}

std::vector<std::uint8_t> exported(const Scene& scene, const TextureStore& textures,
                                   const GltfExportOptions& options = {}) {
    GltfExportSummary summary;
    auto bytes = buildGlb(scene, textures, options, &summary);
    EXPECT_FALSE(bytes.empty());
    return bytes;
}

TEST(GltfExportTest, TheShipKeepsItsStarboardSideAndItsOutside) {
    // In the viewers' left-handed frame a ship whose bow points along +x with +y up has its
    // starboard side (on the right when facing the bow) towards -z: up × forward.
    Scene scene;
    TextureStore textures;
    SceneObject& hull = add(scene, ObjectKind::Model, "hull", placed({3, 1, 2}), -1,
                            {box({-1, -0.2f, -0.3f}, {1, 0.2f, 0.3f})});
    hull.finishMeshes(true);
    const MeshPart& planks = hull.meshes()[0];
    const auto outwards = [](Vec3 a, Vec3 b, Vec3 c) {
        const Vec3 face = cross(subtract(b, a), subtract(c, a));
        return dot(face, scaleBy(add(add(a, b), c), 1.0f / 3)) > 0;
    };
    const auto at = [&](std::size_t i) {
        const RenderVertex& v = planks.vertices[planks.indices[i]];
        return Vec3{v.x, v.y, v.z};
    };
    for (std::size_t t = 0; t < planks.indices.size(); t += 3) {
        ASSERT_TRUE(outwards(at(t), at(t + 1), at(t + 2))) << "the fixture's faces point out";
    }
    add(scene, ObjectKind::Model, "mast", placed({3, 2.5f, 2}), 0, {marker()});
    add(scene, ObjectKind::Model, "bowsprit", placed({4.5f, 1.1f, 2}), 0, {marker()});
    add(scene, ObjectKind::Cannon, "starboard gun", placed({3.2f, 1, 1.5f}), 0, {marker()});
    GltfExportOptions options;
    options.markers = true;
    const GlbReadBack file(exported(scene, textures, options));
    ASSERT_EQ(file.error(), "");

    // glTF is right-handed: there the starboard side is forward × up.
    const Vec3 centre = translationOf(file.global(file.node("hull")));
    const Vec3 forward = subtract(translationOf(file.global(file.node("bowsprit"))), centre);
    const Vec3 up = subtract(translationOf(file.global(file.node("mast"))), centre);
    const Vec3 gun = subtract(translationOf(file.global(file.node("starboard gun"))), centre);
    EXPECT_GT(dot(gun, cross(forward, up)), 0.4f);

    // Every face of the box still points out of it by glTF's rule (counter-clockwise corners
    // in a right-handed frame), and so do the normals.
    const int planksNode = file.node("hull part 0");
    const auto points = file.positions(planksNode);
    const auto normals = file.normals(planksNode);
    const auto corners = file.indices(planksNode);
    ASSERT_EQ(corners.size(), 36u);
    for (std::size_t t = 0; t < corners.size(); t += 3) {
        EXPECT_TRUE(outwards(points[corners[t]], points[corners[t + 1]], points[corners[t + 2]]))
            << "triangle " << t / 3;
    }
    for (std::size_t i = 0; i < points.size(); ++i) {
        EXPECT_GT(dot(normals[i], points[i]), 0) << "vertex " << i;
    }
}

TEST(GltfExportTest, NodesHangFromTheirParentsAndReproduceEveryPlacement) {
    Scene scene;
    TextureStore textures;
    add(scene, ObjectKind::Model, "hull", placed({1, 2, 3}), -1, {marker("planks")});
    // A mast turned as CFF models with a parent are, a yard hanging from it without a turn of
    // its own, and a flag on the yard.
    add(scene, ObjectKind::Model, "mast", placed({1, 2.5f, 3.25f}, yawPitch(0.7f, 0.3f)), 0,
        {marker("pole"), marker("top")});
    add(scene, ObjectKind::Model, "yard", placed({1, 4, 3.5f}), 1, {marker()});
    FlagObject& flag = add<FlagObject>(scene, ObjectKind::Flag, "", placed({1.5f, 5, 3}), 2, {});
    shapeFlag(flag);
    // A cannon marker left out hands its child on to the hull; a link to a later slot or to
    // an empty one is no parent.
    add(scene, ObjectKind::Cannon, "gun", placed({2, 2, 2}, yawPitch(1, 0)), 0, {marker()});
    add(scene, ObjectKind::Model, "swivel", placed({2, 2.2f, 2}), 4, {marker()});
    add(scene, ObjectKind::Model, "boat", placed({-2, 0, 1}), 9, {marker()});

    const GlbReadBack file(exported(scene, textures));
    ASSERT_EQ(file.error(), "");
    EXPECT_EQ(file.nodeNames(),
              (std::vector<std::string>{"hull", "planks", "mast", "pole", "top", "yard",
                                        "yard part 0", "flag", "flag part 0", "swivel",
                                        "swivel part 0", "boat", "boat part 0"}));
    const auto parentName = [&](const std::string& name) {
        const int p = file.parentOf(file.node(name));
        return p < 0 ? std::string("(root)") : file.model().nodes[static_cast<std::size_t>(p)].name;
    };
    EXPECT_EQ(parentName("hull"), "(root)");
    EXPECT_EQ(parentName("mast"), "hull");
    EXPECT_EQ(parentName("top"), "mast");
    EXPECT_EQ(parentName("yard"), "mast");
    EXPECT_EQ(parentName("flag"), "yard");
    EXPECT_EQ(parentName("swivel"), "hull");
    EXPECT_EQ(parentName("boat"), "(root)");
    EXPECT_EQ(file.model().scenes.at(0).nodes.size(), 2u);
    EXPECT_FALSE(file.model().nodes[static_cast<std::size_t>(file.node("mast"))].rotation.empty());

    // Composing the local transforms down the tree places every point of every object where
    // the viewer places it, mirrored into glTF's frame.
    const Vec3 samples[] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0.3f, -0.2f, 0.7f}};
    for (int slot = 0; slot < scene.capacity(); ++slot) {
        const SceneObject* object = scene.object(slot);
        if (object == nullptr || object->kind == ObjectKind::Cannon) {
            continue;
        }
        const int node = file.node(object->fileName.empty() ? "flag" : object->fileName);
        ASSERT_GE(node, 0) << slot;
        for (const Vec3& p : samples) {
            const Vec3 world = *transformPoint(p, object->world);
            const Vec3 got = test::transform(file.global(node), {p.x, p.y, -p.z});
            EXPECT_NEAR(got.x, world.x, 1e-5) << slot;
            EXPECT_NEAR(got.y, world.y, 1e-5) << slot;
            EXPECT_NEAR(got.z, -world.z, 1e-5) << slot;
        }
    }
}

TEST(GltfExportTest, MeshDataIsMirroredRewoundAndMadeValid) {
    Scene scene;
    TextureStore textures;
    NullTrace trace;
    test::TgaBuilder tga;
    tga.width = tga.height = 1;
    tga.pixels = {10, 20, 30};
    ASSERT_TRUE(textures.loadTextureFromBytes("plain.tga", tga.build(), trace));
    std::vector<RenderVertex> vertices = {vertex(0, 0, 1, 0.25f, 0.5f), vertex(0, 1, 1, 2, -3),
                                          vertex(1, 0, 1), vertex(1, 1, 1)};
    vertices[0].nz = 2;        // not of unit length
    vertices[1].ny = -1;       // fine as it is
    vertices[2].nx = NAN;      // no direction: made from the faces
    vertices[3].x = INFINITY;  // not a number a file can hold
    vertices[3].ny = 1;
    SceneObject& object = add(scene, ObjectKind::Model, "thing", identity(), -1, {});
    object.lodMeshes[0] = {
        part(vertices, {0, 1, 2, 2, 1, 3, 0}, "kept", textures.textureIndex("plain")),
        part({}, {}, "no vertices"),
        part({vertex(0, 0, 0)}, {0, 0}, "no whole triangle"),
        part(vertices, {0, 1, 2}, "hidden"),
    };
    object.lodMeshes[0][3].hidden = true;

    GltfExportSummary summary;
    const GlbReadBack file(buildGlb(scene, textures, {}, &summary));
    ASSERT_EQ(file.error(), "");
    EXPECT_EQ(file.nodeNames(), (std::vector<std::string>{"thing", "kept"}));
    EXPECT_EQ(summary.meshes, 1);
    EXPECT_EQ(summary.triangles, 2u);
    const int kept = file.node("kept");
    EXPECT_EQ(file.indices(kept), (std::vector<std::uint32_t>{0, 2, 1, 2, 3, 1}));
    const auto points = file.positions(kept);
    ASSERT_EQ(points.size(), 4u);
    EXPECT_EQ(points[1].z, -1);
    EXPECT_EQ(points[2].x, 1);
    EXPECT_EQ(points[3].x, 0);
    const auto& box = file.model().accessors[static_cast<std::size_t>(
        file.model().meshes[0].primitives[0].attributes.at("POSITION"))];
    EXPECT_EQ(box.minValues, (std::vector<double>{0, 0, -1}));
    EXPECT_EQ(box.maxValues, (std::vector<double>{1, 1, -1}));
    EXPECT_EQ(file.texCoords(kept)[0], (std::array<float, 2>{0.25f, 0.5f}));
    EXPECT_EQ(file.texCoords(kept)[1], (std::array<float, 2>{2, -3}));
    const auto normals = file.normals(kept);
    ASSERT_EQ(normals.size(), 4u);
    EXPECT_EQ(normals[0].z, -1);
    EXPECT_EQ(normals[1].y, -1);
    for (const Vec3& n : normals) {
        EXPECT_NEAR(length(n), 1, 1e-6);
    }
    // Vertex 2's faces in glTF's order, (0, 2, 1) and the degenerate (2, 3, 1), face +z.
    EXPECT_EQ(normals[2].z, 1);
}

TEST(GltfExportTest, MaterialsFollowTheRenderersTexturesCullingAndAlphaTest) {
    Scene scene;
    TextureStore textures;
    NullTrace trace;
    test::TgaBuilder opaque;  // 24-bit, bottom row first: red, then green above it
    opaque.width = 1;
    opaque.height = 2;
    opaque.pixels = {0, 0, 255, 0, 255, 0};
    test::TgaBuilder holes;  // 32-bit: one texel see-through, one (16/31, 2/31) solid
    holes.width = 2;
    holes.height = 1;
    holes.depth = 32;
    holes.pixels = {0, 0, 0, 0, 0x10, 0x80, 0xF8, 0xFF};
    ASSERT_TRUE(textures.loadTextureFromBytes("planks.tga", opaque.build(), trace));
    ASSERT_TRUE(textures.loadTextureFromBytes("vimpel.tga", holes.build(), trace));
    const std::uint32_t planks = textures.textureIndex("planks");
    const std::uint32_t vimpel = textures.textureIndex("vimpel");
    SceneObject& object = add(scene, ObjectKind::Model, "ship", identity(), -1, {});
    const MeshPart m = marker();
    object.lodMeshes[0] = {part(m.vertices, m.indices, "a", planks, false),
                           part(m.vertices, m.indices, "b", planks, true),
                           part(m.vertices, m.indices, "c", vimpel, true),
                           part(m.vertices, m.indices, "d", 77, false),
                           part(m.vertices, m.indices, "e", planks, false)};

    GltfExportSummary summary;
    const GlbReadBack file(buildGlb(scene, textures, {}, &summary));
    ASSERT_EQ(file.error(), "");
    EXPECT_EQ(summary.materials, 4);
    EXPECT_EQ(file.model().images.size(), 2u);
    EXPECT_EQ(file.material(file.node("a")).name, file.material(file.node("e")).name);
    struct Case {
        const char* part;
        const char* name;
        bool doubleSided;
        const char* alphaMode;
        bool textured;
    };
    const Case cases[] = {
        {"a", "planks", false, "OPAQUE", true},
        {"b", "planks double-sided", true, "OPAQUE", true},
        {"c", "vimpel double-sided", true, "MASK", true},
        {"d", "untextured", false, "OPAQUE", false},
    };
    for (const Case& c : cases) {
        const tinygltf::Material& mat = file.material(file.node(c.part));
        EXPECT_EQ(mat.name, c.name);
        EXPECT_EQ(mat.doubleSided, c.doubleSided) << c.part;
        EXPECT_EQ(mat.alphaMode, c.alphaMode) << c.part;
        EXPECT_EQ(mat.pbrMetallicRoughness.metallicFactor, 0) << c.part;
        EXPECT_EQ(mat.pbrMetallicRoughness.baseColorTexture.index >= 0, c.textured) << c.part;
        EXPECT_EQ(file.texCoords(file.node(c.part)).empty(), !c.textured) << c.part;
    }
    EXPECT_DOUBLE_EQ(file.material(file.node("c")).alphaCutoff, 8.0 / 255.0);

    // The pictures, as decoded by the reader: rows from the top, 16-bit channels widened.
    const auto picture = [&](const std::string& part) -> const tinygltf::Image& {
        const auto& mat = file.material(file.node(part));
        const auto& texture = file.model().textures.at(
            static_cast<std::size_t>(mat.pbrMetallicRoughness.baseColorTexture.index));
        EXPECT_EQ(file.model().samplers.at(static_cast<std::size_t>(texture.sampler)).magFilter,
                  TINYGLTF_TEXTURE_FILTER_NEAREST);
        return file.model().images.at(static_cast<std::size_t>(texture.source));
    };
    const tinygltf::Image& plain = picture("a");
    ASSERT_EQ(plain.component, 4);
    EXPECT_EQ(plain.image, (std::vector<unsigned char>{0, 255, 0, 255, 255, 0, 0, 255}));
    const tinygltf::Image& masked = picture("c");
    EXPECT_EQ(masked.image, (std::vector<unsigned char>{0, 0, 0, 0, 255, 132, 16, 255}));
}

TEST(GltfExportTest, MarkersAndPatchesOnlyWhenAskedAndModelsOnlyForTheModelViewer) {
    Scene scene;
    TextureStore textures;
    add(scene, ObjectKind::Model, "hull", identity(), -1, {marker()});
    add(scene, ObjectKind::Sail, "", identity(), 0, {marker()});
    add(scene, ObjectKind::Cannon, "Piramid", identity(), 0, {marker()});
    add(scene, ObjectKind::Patch, "patch", identity(), 0, {marker()});
    FlagObject& pennant = add<FlagObject>(scene, ObjectKind::Flag, "", identity(), 0, {});
    pennant.flagStyle = kPennantStyle;
    shapeFlag(pennant);
    add(scene, ObjectKind::Model, "unseen", identity(), 0, {marker()}).visible = false;

    struct Case {
        DrawFilter filter;
        bool markers;
        std::vector<std::string> objects;
    };
    const Case cases[] = {
        {DrawFilter::ShipParts, false, {"hull", "sail", "pennant"}},
        {DrawFilter::ShipParts, true, {"hull", "sail", "Piramid", "patch", "pennant"}},
        {DrawFilter::ModelsOnly, true, {"hull"}},
    };
    for (const Case& c : cases) {
        GltfExportOptions options;
        options.filter = c.filter;
        options.markers = c.markers;
        const GlbReadBack file(exported(scene, textures, options));
        std::vector<std::string> objects;
        for (const auto& node : file.model().nodes) {
            if (node.mesh < 0) {
                objects.push_back(node.name);
            }
        }
        EXPECT_EQ(objects, c.objects) << c.markers;
    }
}

TEST(GltfExportTest, FlagsGoOutInTheirRestingShapeAndGeneratedPartsGetNormalsFromTheirFaces) {
    Scene scene;
    TextureStore textures;
    FlagObject& flag = add<FlagObject>(scene, ObjectKind::Flag, "", identity(), -1, {});
    shapeFlag(flag);
    const std::vector<RenderVertex> rest = flag.meshes()[0].vertices;
    flag.animate(700);
    ASSERT_NE(flag.meshes()[0].vertices[5].x, rest[5].x);
    // A sail's cloth in the x-y plane, with the placeholder normal (1, 0, 0).
    std::vector<RenderVertex> cloth = {vertex(0, 0, 0), vertex(0, 1, 0), vertex(1, 0, 0)};
    for (RenderVertex& v : cloth) {
        v.nx = 1;
    }
    add(scene, ObjectKind::Sail, "", identity(), -1, {part(cloth, {0, 1, 2})});

    const GlbReadBack file(exported(scene, textures));
    const auto points = file.positions(file.node("flag part 0"));
    ASSERT_EQ(points.size(), rest.size());
    for (std::size_t i = 0; i < rest.size(); ++i) {
        EXPECT_EQ(points[i].x, rest[i].x);
        EXPECT_EQ(points[i].y, rest[i].y);
        EXPECT_EQ(points[i].z, -rest[i].z);
    }
    // The flag lies in the y-z plane: its normals run along x, the way its faces point.
    for (const Vec3& n : file.normals(file.node("flag part 0"))) {
        EXPECT_NEAR(std::abs(n.x), 1, 1e-6);
    }
    // (0, 0, 0), (0, 1, 0), (1, 0, 0) is clockwise seen from -z in the viewer, so it faces -z
    // there and +z in glTF.
    for (const Vec3& n : file.normals(file.node("sail part 0"))) {
        EXPECT_EQ(n.z, 1);
    }
}

TEST(GltfExportTest, NamesFromOneByteCodePagesBecomeUtf8) {
    Scene scene;
    TextureStore textures;
    SceneObject& mast = add(scene, ObjectKind::Model, "M\xE2t", identity(), -1, {});
    mast.lodMeshes[0] = {marker("\xC3\xA9tai"), marker("\xC0\xAF"), marker("\xED\xA0\x80")};
    GltfExportOptions options;
    options.sceneName = "Fr\xE9gate";
    const GlbReadBack file(exported(scene, textures, options));
    ASSERT_EQ(file.error(), "");
    EXPECT_EQ(file.nodeNames(), (std::vector<std::string>{"M\xC3\xA2t", "\xC3\xA9tai",
                                                          "\xC3\x80\xC2\xAF",
                                                          "\xC3\xAD\xC2\xA0\xC2\x80"}));
    EXPECT_EQ(file.model().scenes.at(0).name, "Fr\xC3\xA9gate");
}

TEST(GltfExportTest, AnEmptySceneGivesAnEmptyFileAndAFailedWriteLeavesNothing) {
    Scene scene;
    TextureStore textures;
    const GlbReadBack file(exported(scene, textures));
    EXPECT_EQ(file.error(), "");
    EXPECT_TRUE(file.model().nodes.empty());

    test::TempDir dir;
    add(scene, ObjectKind::Model, "hull", identity(), -1, {marker()});
    const GltfExportResult failed = writeGlb(dir.file("gone/ship.glb"), scene, textures, {});
    EXPECT_FALSE(failed.written);
    EXPECT_EQ(failed.error, "can't write " + dir.file("gone/ship.glb"));
    EXPECT_FALSE(std::filesystem::exists(dir.file("gone")));

    const GltfExportResult written = writeGlb(dir.file("ship.glb"), scene, textures, {});
    EXPECT_TRUE(written.written);
    EXPECT_EQ(written.summary.objects, 1);
    EXPECT_EQ(test::readBytes(dir.file("ship.glb")), buildGlb(scene, textures, {}));
}

}  // namespace
}  // namespace slipway
