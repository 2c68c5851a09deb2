// The model editor's frames: the current object in its meshes' fill colours with the picked
// mesh red and a blue-marked one blue, other objects with their own textures, and the pick
// pass that reads a mesh's fill colour under a point.

#include <memory>

#include <gtest/gtest.h>

#include "base/DebugTrace.h"
#include "engine/ModelEditing.h"
#include "render/FrameRenderer.h"
#include "render/GlTestSupport.h"

namespace slipway {
namespace {

using test::pixelOf;
using test::sameColour;

constexpr int kSize = 120;

// A quad of edge 0.5 centred at (x, 0, 0), facing the camera, corners clockwise on the screen.
MeshPart quadAt(float x) {
    MeshPart part;
    const float h = 0.25f;
    part.vertices = {{x - h, h, 0, 0, 0, -1, 0, 0},
                     {x + h, h, 0, 0, 0, -1, 1, 0},
                     {x + h, -h, 0, 0, 0, -1, 1, 1},
                     {x - h, -h, 0, 0, 0, -1, 0, 1}};
    part.indices = {0, 1, 2, 0, 2, 3};
    return part;
}

// 5:6:5 to the colour the frame shows.
QColor colourOf(std::uint32_t rgb565) {
    return QColor::fromRgbF(static_cast<float>((rgb565 >> 11) & 31) / 31.0f,
                            static_cast<float>((rgb565 >> 5) & 63) / 63.0f,
                            static_cast<float>(rgb565 & 31) / 31.0f);
}

class EditorFrameTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(test::makeGlContext(context_));
        std::string failure;
        ASSERT_TRUE(device_.createDevice(kSize, kSize, failure)) << failure;
        device_.setAmbientLight(0x0FFFFFFF);
        placeStartCamera(camera_);
        setTranslation(camera_.world, {0, 0, 4});
        // Three quads side by side in slot 0, each with its own fill colour.
        auto object = std::make_unique<SceneObject>();
        object->kind = ObjectKind::Model;
        object->visible = true;
        object->levelCount = 1;
        FillRandom random(11);
        for (float x : {-1.0f, 0.0f, 1.0f}) {
            MeshPart part = quadAt(x);
            const FillTexture fill = store_.addFillTexture(
                static_cast<float>(random.next()) * 0.6f / FillRandom::kMax,
                static_cast<float>(random.next()) / FillRandom::kMax,
                static_cast<float>(random.next()) * 0.6f / FillRandom::kMax, random, trace_);
            part.fillTexture = fill.index;
            part.fillColor = fill.color;
            object->lodMeshes[0].push_back(part);
        }
        scene_.add(std::move(object));
        store_.makeMarkingTextures(random, trace_);
    }
    void TearDown() override {
        renderer_.release();
        device_.releaseDevice();
    }

    QPoint pixelAt(Vec3 p) {
        return pixelOf(
            clipPosition(p, identity(), camera_.world, projectionMatrix(kMeshviewRules.projection)),
            kSize, kSize);
    }
    QColor frameColourAt(Vec3 p) {
        renderer_.renderFrame(scene_, camera_, store_);
        const QImage image = device_.grabFrame();
        return image.pixelColor(pixelAt(p));
    }
    std::uint16_t pickAt(Vec3 p) {
        const QPoint at = pixelAt(p);
        return renderer_.readPickColor(scene_, camera_, store_, at.x(), at.y());
    }
    const MeshPart& part(int i) { return scene_.object(0)->meshes()[static_cast<std::size_t>(i)]; }

    OffscreenContext context_;
    DisplayDevice device_{kMeshviewRules.projection};
    FixedKeyState keys_;
    FakeClock clock_;
    FrameRenderer renderer_{device_, kMeshviewRules, keys_, clock_};
    Scene scene_{kMeshviewRules.sceneSlots};
    TextureStore store_{kMeshviewRules};
    CameraObject camera_;
    NullTrace trace_;
};

TEST_F(EditorFrameTest, TheCurrentObjectShowsFillColoursAndMarks) {
    // Not current: drawn with its store texture (index 0 here), not by its marks.
    scene_.object(0)->meshes()[1].mark = kMarkPicked;
    EXPECT_TRUE(sameColour(frameColourAt({0, 0, 0}), colourOf(part(0).fillColor)));

    makeCurrent(scene_, 0);
    scene_.object(0)->meshes()[2].mark = kMarkBlue;
    EXPECT_TRUE(sameColour(frameColourAt({-1, 0, 0}), colourOf(part(0).fillColor)));
    EXPECT_TRUE(sameColour(frameColourAt({0, 0, 0}), Qt::red));
    EXPECT_TRUE(sameColour(frameColourAt({1, 0, 0}), Qt::blue));
    EXPECT_EQ(frameColourAt({0, 0.5f, 0}), QColor(Qt::white));
}

TEST_F(EditorFrameTest, ThePickPassReadsTheFillColourUnderAPoint) {
    // Without a current object there is nothing to pick.
    EXPECT_EQ(pickAt({0, 0, 0}), 0);
    makeCurrent(scene_, 0);
    // Marks do not change what a pick reads.
    scene_.object(0)->meshes()[1].mark = kMarkPicked;
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(pickAt({static_cast<float>(i - 1), 0, 0}), part(i).fillColor) << i;
    EXPECT_EQ(pickAt({0, 0.5f, 0}), 0);  // the background
    EXPECT_EQ(renderer_.readPickColor(scene_, camera_, store_, -1, 5), 0);
    EXPECT_EQ(renderer_.readPickColor(scene_, camera_, store_, 5, kSize), 0);
    // A hidden mesh is left out: the point shows the background.
    scene_.object(0)->meshes()[2].hidden = true;
    EXPECT_EQ(pickAt({1, 0, 0}), 0);
    scene_.object(0)->meshes()[2].hidden = false;

    // After an edit moved the vertices the buffers are made again: the scaled middle quad
    // now covers the point where it used to be background.
    ASSERT_TRUE(scaleModel(scene_, 3.0f));
    EXPECT_EQ(pickAt({0, 0.5f, 0}), part(1).fillColor);
    // The pick leaves the frame's light as it was.
    EXPECT_EQ(device_.ambientLight(), 0x0FFFFFFFu);
    EXPECT_TRUE(sameColour(frameColourAt({0, 0.5f, 0}), Qt::red));
}

}  // namespace
}  // namespace slipway
