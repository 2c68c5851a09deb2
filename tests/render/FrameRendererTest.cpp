// Renders small scenes through the frame renderer: textures from the store, the P and C keys,
// invisible objects, waving positions, alpha-tested textures and the FPS figure.

#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "base/DebugTrace.h"
#include "engine/FlagObject.h"
#include "render/FrameRenderer.h"
#include "render/GlTestSupport.h"

namespace slipway {
namespace {

using test::pixelOf;
using test::sameColour;

constexpr int kSize = 100;

// A 32-bit TGA picture of w × h BGRA pixels given top row first.
std::vector<std::uint8_t> tga32(int w, int h, const std::vector<std::uint32_t>& argbTopDown) {
    std::vector<std::uint8_t> bytes(18, 0);
    bytes[2] = 2;
    bytes[12] = static_cast<std::uint8_t>(w);
    bytes[14] = static_cast<std::uint8_t>(h);
    bytes[16] = 32;
    for (int row = h - 1; row >= 0; --row) {  // the file runs bottom-up
        for (int x = 0; x < w; ++x) {
            const std::uint32_t p = argbTopDown[static_cast<std::size_t>(row * w + x)];
            bytes.insert(bytes.end(),
                         {static_cast<std::uint8_t>(p), static_cast<std::uint8_t>(p >> 8),
                          static_cast<std::uint8_t>(p >> 16), static_cast<std::uint8_t>(p >> 24)});
        }
    }
    return bytes;
}

// A unit quad facing the start camera, corners clockwise on the screen.
MeshPart quadPart(std::uint32_t texture, bool doubleSided = false) {
    MeshPart part;
    part.vertices = {{-0.5f, 0.5f, 0, 0, 0, -1, 0, 0},
                     {0.5f, 0.5f, 0, 0, 0, -1, 1, 0},
                     {0.5f, -0.5f, 0, 0, 0, -1, 1, 1},
                     {-0.5f, -0.5f, 0, 0, 0, -1, 0, 1}};
    part.indices = {0, 1, 2, 0, 2, 3};
    part.texture = texture;
    part.doubleSided = doubleSided;
    return part;
}

class FrameRendererTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(test::makeGlContext(context_));
        std::string failure;
        ASSERT_TRUE(device_.createDevice(kSize, kSize, failure)) << failure;
        device_.setAmbientLight(0x0FFFFFFF);
        placeStartCamera(camera_);
    }
    void TearDown() override {
        renderer_.release();
        device_.releaseDevice();
    }

    // Adds an object of `kind` at x holding one quad.
    SceneObject& addQuad(ObjectKind kind, float x, std::uint32_t texture = 0,
                         std::unique_ptr<SceneObject> object = nullptr) {
        if (!object) {
            object = std::make_unique<SceneObject>();
        }
        object->kind = kind;
        object->visible = true;
        object->lodMeshes[0].push_back(quadPart(texture));
        object->levelCount = 1;
        setTranslation(object->world, {x, 0, 0});
        SceneObject& added = *object;
        scene_.add(std::move(object));
        return added;
    }

    void loadTexture(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        ASSERT_TRUE(store_.loadTextureFromBytes(name, bytes, trace_));
    }

    QImage frame() {
        renderer_.renderFrame(scene_, camera_, store_);
        return device_.grabFrame();
    }

    QColor colourAt(const QImage& image, Vec3 p) {
        return image.pixelColor(pixelOf(
            clipPosition(p, identity(), camera_.world, projectionMatrix(kShipviewRules.projection)),
            kSize, kSize));
    }

    OffscreenContext context_;
    DisplayDevice device_;
    FixedKeyState keys_;
    FakeClock clock_;
    FrameRenderer renderer_{device_, kShipviewRules, keys_, clock_};
    Scene scene_;
    TextureStore store_;
    CameraObject camera_;
    NullTrace trace_;
};

TEST_F(FrameRendererTest, DrawsEachModelWithItsStoreTexture) {
    loadTexture("red.tga", tga32(1, 1, {0xFFFF0000}));
    loadTexture("blue.tga", tga32(1, 1, {0xFF0000FF}));
    addQuad(ObjectKind::Model, -0.6f, store_.textureIndex("red"));
    addQuad(ObjectKind::Model, 0.6f, store_.textureIndex("blue"));
    const QImage image = frame();
    EXPECT_TRUE(sameColour(colourAt(image, {-0.6f, 0, 0}), Qt::red));
    EXPECT_TRUE(sameColour(colourAt(image, {0.6f, 0, 0}), Qt::blue));
    EXPECT_EQ(colourAt(image, {0, 0, 0}), QColor(Qt::white));
}

TEST_F(FrameRendererTest, CannonsShowOnlyWithCAndPatchesOnlyWithP) {
    loadTexture("red.tga", tga32(1, 1, {0xFFFF0000}));
    addQuad(ObjectKind::Cannon, -0.6f);
    addQuad(ObjectKind::Patch, 0.6f);
    struct Case {
        std::set<Key> held;
        bool cannon;
        bool patch;
    };
    const Case cases[] = {
        {{}, false, false},      {{Key::C}, true, false},
        {{Key::P}, false, true}, {{Key::P, Key::C}, true, true},
        {{}, false, false},  // released again: gone in the next frame
    };
    for (const Case& c : cases) {
        keys_.held = c.held;
        const QImage image = frame();
        EXPECT_EQ(colourAt(image, {-0.6f, 0, 0}) != QColor(Qt::white), c.cannon);
        EXPECT_EQ(colourAt(image, {0.6f, 0, 0}) != QColor(Qt::white), c.patch);
    }
}

TEST_F(FrameRendererTest, InvisibleObjectIsPassedOverAndTheNextOneStillDrawn) {
    loadTexture("red.tga", tga32(1, 1, {0xFFFF0000}));
    addQuad(ObjectKind::Model, -0.6f).visible = false;
    addQuad(ObjectKind::Sail, 0.6f);
    const QImage image = frame();
    EXPECT_EQ(colourAt(image, {-0.6f, 0, 0}), QColor(Qt::white));
    EXPECT_TRUE(sameColour(colourAt(image, {0.6f, 0, 0}), Qt::red));
}

TEST_F(FrameRendererTest, TransparentTexelsOfAnAlphaTextureShowTheBackground) {
    // Left texel opaque green, right texel transparent green.
    loadTexture("cut.tga", tga32(2, 1, {0xFF00FF00, 0x0000FF00}));
    ASSERT_TRUE(store_.entry(0)->hasAlpha);
    addQuad(ObjectKind::Model, 0);
    const QImage image = frame();
    EXPECT_TRUE(sameColour(colourAt(image, {-0.25f, 0, 0}), Qt::green));
    EXPECT_EQ(colourAt(image, {0.25f, 0, 0}), QColor(Qt::white));
}

TEST_F(FrameRendererTest, WavingFlagPositionsReachTheGpuEveryFrame) {
    loadTexture("red.tga", tga32(1, 1, {0xFFFF0000}));
    SceneObject& flag = addQuad(ObjectKind::Flag, 0, 0, std::make_unique<FlagObject>());
    EXPECT_TRUE(sameColour(colourAt(frame(), {0, 0, 0}), Qt::red));
    for (RenderVertex& v : flag.meshes()[0].vertices) {
        v.x += 0.8f;
    }
    const QImage moved = frame();
    EXPECT_EQ(colourAt(moved, {0, 0, 0}), QColor(Qt::white));
    EXPECT_TRUE(sameColour(colourAt(moved, {0.6f, 0, 0}), Qt::red));
}

TEST_F(FrameRendererTest, ClearedSceneAndReleasedTexturesAreRebuiltFromTheNewContent) {
    loadTexture("red.tga", tga32(1, 1, {0xFFFF0000}));
    addQuad(ObjectKind::Model, 0);
    EXPECT_TRUE(sameColour(colourAt(frame(), {0, 0, 0}), Qt::red));

    // The renderer is not told: it sees the clearing and the emptied store by itself, even when
    // the new object comes to lie where the old one was in memory.
    NullSceneListener listener;
    scene_.clear(listener);
    store_.releaseTextures();
    EXPECT_EQ(colourAt(frame(), {0, 0, 0}), QColor(Qt::white));

    loadTexture("blue.tga", tga32(1, 1, {0xFF0000FF}));
    addQuad(ObjectKind::Model, 0.6f);
    const QImage image = frame();
    EXPECT_TRUE(sameColour(colourAt(image, {0.6f, 0, 0}), Qt::blue));
    EXPECT_EQ(colourAt(image, {-0.3f, 0, 0}), QColor(Qt::white));
}

TEST_F(FrameRendererTest, FpsIsHalfTheFramesOfEachTwoSecondPeriod) {
    addQuad(ObjectKind::Model, 0);
    clock_.now = 5000;  // the first frame closes the period that started at tick 0
    EXPECT_TRUE(renderer_.renderFrame(scene_, camera_, store_));
    EXPECT_EQ(renderer_.fps(), 0u);
    // A steady 40 frames per second: 80 frames in 2000 ms.
    for (int i = 1; i <= 80; ++i) {
        clock_.now = 5000 + static_cast<std::uint32_t>(i) * 25;
        const bool changed = renderer_.renderFrame(scene_, camera_, store_);
        EXPECT_EQ(changed, i == 80) << i;
    }
    EXPECT_EQ(renderer_.fps(), 40u);
}

TEST_F(FrameRendererTest, CameraViewIsHandedOverOnlyWhenDirty) {
    loadTexture("red.tga", tga32(1, 1, {0xFFFF0000}));
    addQuad(ObjectKind::Model, 0);
    EXPECT_TRUE(sameColour(colourAt(frame(), {0, 0, 0}), Qt::red));
    EXPECT_FALSE(camera_.matrixDirty);
    // A change without the dirty flag is not seen; with it, it is.
    setTranslation(camera_.world, {3, 0, 20});
    EXPECT_TRUE(sameColour(frame().pixelColor(50, 50), Qt::red));
    camera_.matrixDirty = true;
    EXPECT_EQ(frame().pixelColor(50, 50), QColor(Qt::white));
}

}  // namespace
}  // namespace slipway
