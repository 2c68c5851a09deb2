#include <gtest/gtest.h>

#include <cmath>

#include "engine/CameraObject.h"
#include "engine/FillRandom.h"
#include "engine/Scene.h"

namespace slipway {
namespace {

RenderVertex at(float x, float y, float z, float u = 0, float v = 0) {
    return RenderVertex{x, y, z, 9, 9, 9, u, v};
}

std::unique_ptr<SceneObject> model(std::vector<MeshPart> parts,
                                   ObjectKind kind = ObjectKind::Model) {
    auto object = std::make_unique<SceneObject>();
    object->kind = kind;
    object->lodMeshes[0] = std::move(parts);
    object->levelCount = 1;
    return object;
}

MeshPart part(std::vector<RenderVertex> vertices, std::vector<std::uint16_t> indices = {}) {
    MeshPart p;
    p.vertices = std::move(vertices);
    p.indices = std::move(indices);
    return p;
}

// A MODEL whose box spans `w` × `h` around (cx, cy), placed by its world translation.
std::unique_ptr<SceneObject> box(float cx, float cy, float w, float h) {
    auto object = model({part({at(-w / 2, -h / 2, 0), at(w / 2, h / 2, 1)})});
    object->computeBounds();
    setTranslation(object->world, Vec3{cx, cy, 0});
    return object;
}

TEST(Scene, SlotsAreTakenLowestFirstUpToTheRulesBound) {
    Scene ship(kShipviewRules.sceneSlots);
    Scene edit(kMeshviewRules.sceneSlots);
    EXPECT_EQ(ship.capacity(), 512);
    EXPECT_EQ(edit.capacity(), 64);
    for (int i = 0; i < 64; ++i)
        EXPECT_EQ(edit.add(model({})), i);
    EXPECT_TRUE(edit.isFull());
    EXPECT_EQ(edit.firstFreeSlot(), -1);
    EXPECT_EQ(edit.add(model({})), -1);
    EXPECT_EQ(edit.objectCount(), 64);
    EXPECT_EQ(edit.object(63)->slot, 63);
    EXPECT_EQ(edit.object(64), nullptr);
    EXPECT_EQ(edit.object(-1), nullptr);
}

TEST(Scene, ClearNotifiesOnlyWhenSomethingWasThere) {
    Scene scene;
    RecordingSceneListener listener;
    scene.clear(listener);
    EXPECT_EQ(listener.clears, 0);
    scene.add(model({}));
    scene.add(model({}));
    scene.clear(listener);
    EXPECT_EQ(listener.clears, 1);
    EXPECT_EQ(scene.objectCount(), 0);
    EXPECT_EQ(scene.firstFreeSlot(), 0);
}

TEST(Scene, SetLevelSwitchesOnlyModelsThatHaveTheLevel) {
    Scene scene;
    auto two = model({part({at(0, 0, 0)})});
    two->lodMeshes[1] = {part({at(1, 1, 1)}), part({})};
    two->levelCount = 2;
    auto sail = model({part({})}, ObjectKind::Sail);
    sail->lodMeshes[1] = {part({})};
    sail->levelCount = 2;
    const int a = scene.add(std::move(two));
    const int b = scene.add(std::move(sail));

    scene.setLevel(1);
    EXPECT_EQ(scene.object(a)->meshCount(), 2u);
    EXPECT_EQ(scene.object(b)->currentLevel, 0);
    scene.setLevel(2);  // absent: the model stays where it was
    EXPECT_EQ(scene.object(a)->currentLevel, 1);
    scene.setLevel(4);
    scene.setLevel(-1);
    EXPECT_EQ(scene.object(a)->currentLevel, 1);
    scene.setLevel(0);
    EXPECT_EQ(scene.object(a)->meshCount(), 1u);
}

TEST(Scene, StatisticsCountModelsOnly) {
    Scene scene;
    EXPECT_EQ(scene.statistics().size, 0);
    // 7 indices count as 2 triangles.
    scene.add(model({part({at(0, 0, 0), at(3, 4, 0), at(1, 1, 0)}, {0, 1, 2, 0, 1, 2, 0})}));
    scene.add(model({part({at(100, 100, 100)}, {0, 0, 0})}, ObjectKind::Patch));
    const SceneStatistics stats = scene.statistics();
    EXPECT_EQ(stats.vertices, 3u);
    EXPECT_EQ(stats.triangles, 2u);
    EXPECT_FLOAT_EQ(stats.size, 5.0f);
}

TEST(Scene, FitCameraDistanceFollowsTheWiderSide) {
    struct Case {
        float w, h, distance;
    } cases[] = {{10, 4, 400}, {4, 10, 200}, {0.01f, 0.01f, 2}};
    for (const Case& c : cases) {
        Scene scene;
        scene.add(box(3, -2, c.w, c.h));
        CameraObject camera;
        camera.matrixDirty = false;
        camera.turn = Vec3{0.5f, 0.25f, 0};
        scene.fitCamera(camera);
        EXPECT_FLOAT_EQ(camera.world[12], -3) << c.w;
        EXPECT_FLOAT_EQ(camera.world[13], 2) << c.w;
        EXPECT_FLOAT_EQ(camera.world[14], c.distance) << c.w;
        EXPECT_TRUE(camera.matrixDirty);
        EXPECT_EQ(camera.turn.x, 0.5f);  // kept for the next rotating drag
    }
}

TEST(Scene, FitCameraWidensOverModelsAndIgnoresOtherKinds) {
    Scene scene;
    scene.add(box(0, 0, 2, 2));
    scene.add(box(10, 0, 2, 2));
    auto patch = box(-100, 0, 2, 2);
    patch->kind = ObjectKind::Patch;
    scene.add(std::move(patch));
    CameraObject camera;
    scene.fitCamera(camera);
    EXPECT_FLOAT_EQ(camera.world[12], -5);
    EXPECT_FLOAT_EQ(camera.world[14], 40 * 12);
}

TEST(Scene, FitCameraWithoutModelsLeavesTheCamera) {
    Scene scene;
    auto sail = box(5, 5, 1, 1);
    sail->kind = ObjectKind::Sail;
    scene.add(std::move(sail));
    CameraObject camera;
    camera.world[14] = 20;
    camera.matrixDirty = false;
    scene.fitCamera(camera);
    EXPECT_EQ(camera.world[14], 20);
    EXPECT_FALSE(camera.matrixDirty);
}

TEST(Scene, FitCameraStaysFiniteForBoxesAtTheEdgeOfTheFloatRange) {
    // Each model alone; the camera must come out finite, and a box that cannot be measured in
    // floats is left out of the fit (so the camera stays where it was).
    const float big = 3e38f, inf = INFINITY, nan = NAN;
    struct Case {
        float x0, x1;
        bool fitted;
    } cases[] = {
        {3.0e38f, 3.2e38f, true},  // the centre overflows when the two ends are added
        {-1e38f, 1e38f, true},     // the distance 40 × width is beyond the float range
        {-big, big, false},        // the width itself is beyond it
        {nan, 1, false},           // a vertex that is not a number
        {0, inf, false},           // an infinite one
    };
    for (const Case& c : cases) {
        Scene scene;
        auto object = model({part({at(c.x0, 0, 0), at(c.x1, 1, 0)})});
        object->computeBounds();
        scene.add(std::move(object));
        CameraObject camera;
        camera.world[14] = 20;
        camera.matrixDirty = false;
        scene.fitCamera(camera);
        for (int i = 0; i < 16; ++i)
            EXPECT_TRUE(std::isfinite(camera.world[i])) << c.x0 << " " << i;
        EXPECT_EQ(camera.matrixDirty, c.fitted) << c.x0;
        if (c.fitted)
            EXPECT_GT(camera.world[14], 1e37f) << c.x0;
        else
            EXPECT_EQ(camera.world[14], 20) << c.x0;
    }
}

TEST(SceneObject, BoundsOverTheCurrentLevel) {
    auto object = model({part({at(-1, 2, 0), at(3, -2, 5)}), part({at(0, 0, -5)})});
    object->computeBounds();
    EXPECT_FLOAT_EQ(object->boundsCenter.x, 1);
    EXPECT_FLOAT_EQ(object->boundsCenter.z, 0);
    EXPECT_FLOAT_EQ(object->boundsSize.x, 4);
    EXPECT_FLOAT_EQ(object->boundsSize.y, 4);
    EXPECT_FLOAT_EQ(object->boundsSize.z, 10);

    auto empty = model({part({})});
    empty->computeBounds();
    EXPECT_EQ(empty->boundsSize.x, 0);  // meshes without vertices: a zero box
    auto none = model({});
    none->computeBounds();
    EXPECT_EQ(none->boundsSize.x, 1);  // no meshes: unchanged
}

TEST(SceneObject, NormalsAreFaceNormalsOfTheLastTriangleUsingAVertex) {
    // Vertex 0 is shared by a triangle facing +z and then one facing -z; 4 is unused.
    auto object = model({part({at(0, 0, 0), at(1, 0, 0), at(0, 1, 0), at(0, -1, 0), at(5, 5, 5)},
                              {0, 1, 2, 0, 1, 3})});
    object->computeNormals();
    const auto& v = object->meshes()[0].vertices;
    EXPECT_FLOAT_EQ(v[2].nz, 1);
    EXPECT_FLOAT_EQ(v[0].nz, -1);
    EXPECT_FLOAT_EQ(v[1].nz, -1);
    EXPECT_EQ(v[4].nx, 0);  // reset even when no triangle uses it
}

TEST(SceneObject, DegenerateTrianglesGiveZeroNormals) {
    const float inf = INFINITY;
    auto object = model({part({at(0, 0, 0), at(1, 1, 1), at(2, 2, 2), at(inf, 0, 0)},
                              {0, 1, 2, 3, 1, 2, 0, 0, 0})});
    object->computeNormals();
    for (const RenderVertex& v : object->meshes()[0].vertices) {
        EXPECT_EQ(v.nx, 0);
        EXPECT_EQ(v.ny, 0);
        EXPECT_EQ(v.nz, 0);
    }
}

TEST(SceneObject, TexCoordShiftByWholeNumbers) {
    struct Case {
        float lo, hi, shiftedLo, shiftedHi;
    } cases[] = {
        {2.25f, 3.5f, -0.75f, 0.5f},  // largest above 1: shifted by floor(3.5) = 3
        {0.2f, 1.0f, 0.2f, 1.0f},     // largest within -50 .. 1: left alone
        {-50.0f, -50.0f, -50.0f, -50.0f},
        {-80.5f, -60.5f, -80.5f + 61, -60.5f + 61},  // below -50: floor(-60.5) = -61
    };
    for (const Case& c : cases) {
        auto object = model({part({at(0, 0, 0, c.lo, 0.5f), at(0, 0, 0, c.hi, 7.5f)})});
        object->shiftTexCoords();
        const auto& v = object->meshes()[0].vertices;
        EXPECT_FLOAT_EQ(v[0].u, c.shiftedLo) << c.hi;
        EXPECT_FLOAT_EQ(v[1].u, c.shiftedHi) << c.hi;
        EXPECT_FLOAT_EQ(v[1].v, 0.5f) << "v is shifted on its own";
    }
}

TEST(CameraObject, DragModes) {
    CameraObject camera;
    camera.world = identity();
    setTranslation(camera.world, Vec3{1, 2, 30});
    camera.beginDrag(100, 100);

    camera.dragMode = DragMode::Slide;
    camera.matrixDirty = false;
    camera.drag(150, 80);
    EXPECT_TRUE(camera.matrixDirty);
    EXPECT_FLOAT_EQ(camera.world[12], 1.5f);
    EXPECT_FLOAT_EQ(camera.world[13], 2.2f);

    camera.dragMode = DragMode::Zoom;
    camera.drag(150, 95);  // 15 pixels down: to the origin
    EXPECT_FLOAT_EQ(camera.world[14], 0);

    camera.dragMode = DragMode::Rotate;
    camera.drag(160, 105);
    EXPECT_FLOAT_EQ(camera.turn.y, 0.3f);
    EXPECT_FLOAT_EQ(camera.turn.x, 0.3f);
    Matrix4 expected = yawPitch(-0.3f, -0.3f);
    setTranslation(expected, Vec3{1.5f, 2.2f, 0});
    for (int i = 0; i < 16; ++i)
        EXPECT_FLOAT_EQ(camera.world[i], expected[i]) << i;
    EXPECT_EQ(camera.lastMouseX, 160);
    EXPECT_EQ(camera.lastMouseY, 105);
}

TEST(CameraObject, ZoomingFarOutNeverLeavesTheFloatRange) {
    // Zooming out multiplies the distance; once it would pass the float range it stays at the
    // largest distance, and a later move in zoom mode still gives numbers.
    CameraObject camera;
    setTranslation(camera.world, Vec3{0, 0, 20});
    camera.dragMode = DragMode::Zoom;
    camera.beginDrag(0, 0);
    for (int i = 0; i < 60; ++i) {
        camera.drag(0, -200);
        camera.beginDrag(0, 0);
    }
    EXPECT_TRUE(std::isfinite(camera.world[14]));
    EXPECT_GT(camera.world[14], 1e38f);
    camera.drag(10, 0);  // sideways: no zoom
    EXPECT_TRUE(std::isfinite(camera.world[14]));
    EXPECT_GT(camera.world[14], 1e38f);
    camera.beginDrag(0, 0);
    camera.drag(0, 15);  // 15 pixels down: to the origin, as from any distance
    EXPECT_EQ(camera.world[14], 0);
}

TEST(SceneObject, KeyPoseTurnsZThenXThenYAndMirrorsX) {
    MeshPart p = part({at(0, 0, 0)});
    p.vertices[0].nx = 1;
    p.vertices[0].ny = 0;
    p.vertices[0].nz = 0;
    p.keyTrack.positions = {Vec3{1, 0, 0}};
    const float quarter = 1.5707963f;
    // Z by a quarter turn takes (1, 0, 0) to (0, 1, 0); then X by a quarter turn to (0, 0, 1).
    poseByKey(p, KeyRecord{10, 20, 30, quarter, 0, quarter, 0}, true);
    EXPECT_NEAR(p.vertices[0].x, -10, 1e-5);
    EXPECT_NEAR(p.vertices[0].y, 20, 1e-5);
    EXPECT_NEAR(p.vertices[0].z, 31, 1e-5);
    EXPECT_NEAR(p.vertices[0].nx, 0, 1e-6);
    EXPECT_NEAR(p.vertices[0].ny, 0, 1e-6);
    EXPECT_NEAR(p.vertices[0].nz, -1, 1e-6);
}

TEST(SceneObject, KeyPoseTreatsAnglesThatAreNotNumbersAsZero) {
    // Angles read from a damaged file: sine and cosine of infinity are NaN, which would spread
    // to every vertex of the part.
    const float inf = INFINITY;
    MeshPart p = part({at(0, 0, 0)});
    p.vertices[0].nx = 0;
    p.vertices[0].ny = 1;
    p.vertices[0].nz = 0;
    p.keyTrack.positions = {Vec3{1, 2, 3}};
    poseByKey(p, KeyRecord{10, 20, 30, inf, NAN, -inf, 0}, true);
    EXPECT_EQ(p.vertices[0].x, -11);
    EXPECT_EQ(p.vertices[0].y, 22);
    EXPECT_EQ(p.vertices[0].z, 33);
    EXPECT_EQ(p.vertices[0].nx, 0);
    EXPECT_EQ(p.vertices[0].ny, -1);
    EXPECT_EQ(p.vertices[0].nz, 0);
}

}  // namespace
}  // namespace slipway

namespace slipway {
namespace {

// The straightforward rule: clear every normal, then each triangle in index order overwrites
// its corners with its face normal.
std::vector<Vec3> referenceNormals(const MeshPart& part) {
    std::vector<Vec3> normals(part.vertices.size());
    for (std::size_t t = 0; t + 2 < part.indices.size(); t += 3) {
        const RenderVertex& a = part.vertices[part.indices[t]];
        const RenderVertex& b = part.vertices[part.indices[t + 1]];
        const RenderVertex& c = part.vertices[part.indices[t + 2]];
        const Vec3 n =
            cross(Vec3{b.x - a.x, b.y - a.y, b.z - a.z}, Vec3{c.x - a.x, c.y - a.y, c.z - a.z});
        const Vec3 unit = length(n) > 0 ? normalize(n) : Vec3{};
        for (int k = 0; k < 3; ++k)
            normals[part.indices[t + static_cast<std::size_t>(k)]] = unit;
    }
    return normals;
}

TEST(SceneObject, NormalsMatchTheStraightforwardRuleOnARandomMesh) {
    FillRandom random(42);
    MeshPart mesh;
    for (int i = 0; i < 300; ++i) {
        // Coarse coordinates, so that some triangles are degenerate.
        mesh.vertices.push_back(at(static_cast<float>(random.next() % 5),
                                   static_cast<float>(random.next() % 5),
                                   static_cast<float>(random.next() % 3)));
    }
    for (int i = 0; i < 3000; ++i)
        mesh.indices.push_back(static_cast<std::uint16_t>(random.next() % 300));
    const std::vector<Vec3> expected = referenceNormals(mesh);
    auto object = model({mesh});
    object->computeNormals();
    const auto& v = object->meshes()[0].vertices;
    for (std::size_t i = 0; i < v.size(); ++i) {
        EXPECT_FLOAT_EQ(v[i].nx, expected[i].x) << i;
        EXPECT_FLOAT_EQ(v[i].ny, expected[i].y) << i;
        EXPECT_FLOAT_EQ(v[i].nz, expected[i].z) << i;
    }
}

}  // namespace
}  // namespace slipway
