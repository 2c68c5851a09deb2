// Draws hand-made quads with the display device and reads the pixels back: projection, depth
// remap, texture formats, lighting, alpha test and culling.

#include <cmath>
#include <deque>
#include <numbers>
#include <vector>

#include <gtest/gtest.h>

#include "render/DisplayDevice.h"
#include "render/GlTestSupport.h"

namespace slipway {
namespace {

using test::pixelOf;
using test::sameColour;

constexpr int kSize = 100;

// A unit quad in the z = 0 plane facing the camera (normal towards -z, where the start camera
// sits), corners listed clockwise on the screen: top-left, top-right, bottom-right,
// bottom-left; texture row 0 at the top.
struct Quad {
    std::vector<float> vertices;
    std::vector<std::uint16_t> indices{0, 1, 2, 0, 2, 3};

    explicit Quad(Vec3 normal = {0, 0, -1}, float z = 0.0f) {
        const float corners[4][4] = {
            {-0.5f, 0.5f, 0, 0}, {0.5f, 0.5f, 1, 0}, {0.5f, -0.5f, 1, 1}, {-0.5f, -0.5f, 0, 1}};
        for (const auto& c : corners) {
            vertices.insert(vertices.end(),
                            {c[0], c[1], z, normal.x, normal.y, normal.z, c[2], c[3]});
        }
    }
};

class DisplayDeviceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(test::makeGlContext(context_));
        std::string failure;
        ASSERT_TRUE(device_.createDevice(kSize, kSize, failure)) << failure;
        Matrix4 camera = identity();
        setTranslation(camera, {0, 0, 20});
        device_.setViewTransform(camera);
        view_ = camera;
        device_.setAmbientLight(0x0FFFFFFF);
    }
    void TearDown() override {
        for (GpuMesh& mesh : meshes_) {
            destroyGpuMesh(device_.gl(), mesh);
        }
        device_.releaseDevice();
    }

    const GpuMesh& upload(const Quad& quad) {
        meshes_.push_back(
            createGpuMesh(device_.gl(), quad.vertices.data(), 4, quad.indices.data(), 6));
        return meshes_.back();
    }

    // Draws `quad` once with `world` and returns the frame.
    QImage drawOnce(const Quad& quad, const Matrix4& world = identity()) {
        const GpuMesh& mesh = upload(quad);
        EXPECT_TRUE(device_.beginScene());
        device_.setWorldTransform(world);
        device_.drawMesh(mesh);
        device_.endScene();
        return device_.grabFrame();
    }

    QColor colourAt(const QImage& image, Vec3 worldPoint, const Matrix4& world = identity()) {
        const QPoint p =
            pixelOf(clipPosition(worldPoint, world, view_, projectionMatrix(kShipviewRules.projection)),
                    kSize, kSize);
        return image.pixelColor(p);
    }

    // A 1×1 opaque red texture, so a drawn quad stands out from the white background.
    void bindRed() {
        const std::uint16_t red = 0xF800;
        ASSERT_TRUE(device_.textures().upload(device_.gl(), 7, {1, 1, TexelFormat::Rgb565, &red}));
        device_.textures().bind(device_.gl(), 7);
    }

    // A 2×2 texture: red, green / blue, white (rows from the top), in 5:6:5.
    void loadQuadrantTexture() {
        const std::uint16_t pixels[4] = {0xF800, 0x07E0, 0x001F, 0xFFFF};
        ASSERT_TRUE(
            device_.textures().upload(device_.gl(), 0, {2, 2, TexelFormat::Rgb565, pixels}));
        device_.textures().bind(device_.gl(), 0);
    }

    OffscreenContext context_;
    DisplayDevice device_;
    Matrix4 view_;
    std::deque<GpuMesh> meshes_;  // references to its elements stay valid
};

TEST(ProjectionTest, PointOneUnitOffAxisAtTwentyFallsOutsideShipviewButInsideMeshview) {
    Matrix4 camera = identity();
    setTranslation(camera, {0, 0, 20});
    const Vec3 point{1, 0, 0};
    auto clip = clipPosition(point, identity(), camera, projectionMatrix(kShipviewRules.projection));
    EXPECT_FLOAT_EQ(clip[0], 32.0f);
    EXPECT_FLOAT_EQ(clip[3], 20.0f);
    EXPECT_GT(clip[0] / clip[3], 1.0f);
    // Depth 0..1 at z - 1 over z, remapped to -1..1: (2·19 - 20) / 20.
    EXPECT_FLOAT_EQ(clip[2] / clip[3], 0.9f);

    clip = clipPosition(point, identity(), camera, projectionMatrix(kMeshviewRules.projection));
    EXPECT_NEAR(clip[0] / clip[3], 0.13f, 1e-6);
    // The near plane sits at z = 0.1 in Meshview and z = 1 in Shipview: both map to depth -1.
    auto nearClip =
        clipPosition({0, 0, 0}, identity(), identity(), projectionMatrix(kMeshviewRules.projection));
    EXPECT_FLOAT_EQ(nearClip[3], 0.0f);
    Matrix4 atNear = identity();
    setTranslation(atNear, {0, 0, 0.1f});
    nearClip = clipPosition({0, 0, 0}, identity(), atNear, projectionMatrix(kMeshviewRules.projection));
    EXPECT_NEAR(nearClip[2] / nearClip[3], -1.0f, 1e-6);
}

TEST_F(DisplayDeviceTest, ClearsToWhite) {
    ASSERT_TRUE(device_.beginScene());
    device_.endScene();
    const QImage image = device_.grabFrame();
    ASSERT_EQ(image.size(), QSize(kSize, kSize));
    for (QPoint p : {QPoint(0, 0), QPoint(50, 50), QPoint(99, 99)}) {
        EXPECT_EQ(image.pixelColor(p), QColor(Qt::white));
    }
}

TEST_F(DisplayDeviceTest, TexturedQuadShowsEachTexelWhereTheProjectionPutsIt) {
    loadQuadrantTexture();
    const QImage image = drawOnce(Quad());
    // The quad spans ±0.5 at distance 20: ±0.8 of the half-width, so ±40 pixels of 50.
    EXPECT_TRUE(sameColour(colourAt(image, {-0.25f, 0.25f, 0}), Qt::red));
    EXPECT_TRUE(sameColour(colourAt(image, {0.25f, 0.25f, 0}), Qt::green));
    EXPECT_TRUE(sameColour(colourAt(image, {-0.25f, -0.25f, 0}), Qt::blue));
    EXPECT_TRUE(sameColour(colourAt(image, {0.25f, -0.25f, 0}), Qt::white));
    EXPECT_EQ(colourAt(image, {-0.25f, 0.25f, 0}), image.pixelColor(30, 30));
    // Just outside the quad's edge the background shows.
    EXPECT_EQ(image.pixelColor(8, 50), QColor(Qt::white));
    EXPECT_TRUE(sameColour(image.pixelColor(12, 30), Qt::red));
}

TEST_F(DisplayDeviceTest, WorldTranslationMovesTheQuad) {
    loadQuadrantTexture();
    Matrix4 world = identity();
    setTranslation(world, {0.5f, 0, 0});
    const QImage image = drawOnce(Quad(), world);
    EXPECT_TRUE(sameColour(colourAt(image, {-0.25f, 0.25f, 0}, world), Qt::red));
    EXPECT_EQ(image.pixelColor(20, 30), QColor(Qt::white));
}

TEST_F(DisplayDeviceTest, PointLightAndAmbientLightTheWhiteMaterial) {
    // The light sits at (-5, 0, 0): a normal towards it gets the full diffuse term, one
    // at right angles only the ambient colour.
    struct Case {
        Vec3 normal;
        std::uint32_t ambient;
        int expectedGrey;
    };
    const Case cases[] = {
        {{-1, 0, 0}, 0x0F7F7F7F, 255}, {{0, 0, -1}, 0x0F7F7F7F, 127}, {{1, 0, 0}, 0x0F7F7F7F, 127},
        {{0, 0, -1}, 0x0FFFFFFF, 255}, {{0, 0, -1}, 0x00000000, 0},
    };
    for (const Case& c : cases) {
        device_.setAmbientLight(c.ambient);
        device_.textures().bindNone(device_.gl());
        const QImage image = drawOnce(Quad(c.normal));
        const QColor expected(c.expectedGrey, c.expectedGrey, c.expectedGrey);
        EXPECT_TRUE(sameColour(image.pixelColor(50, 50), expected, 3))
            << "normal " << c.normal.x << "," << c.normal.y << "," << c.normal.z << " ambient "
            << std::hex << c.ambient << " got " << image.pixelColor(50, 50).red();
    }
}

TEST_F(DisplayDeviceTest, AlphaTestDropsTexelsWhoseAlphaBitIsClear) {
    // 1:5:5:5: left texel opaque red, right texel red with the alpha bit clear.
    const std::uint16_t pixels[2] = {0xFC00, 0x7C00};
    ASSERT_TRUE(device_.textures().upload(device_.gl(), 3, {2, 1, TexelFormat::Argb1555, pixels}));
    device_.textures().bind(device_.gl(), 3);

    device_.setAlphaTest(true);
    QImage image = drawOnce(Quad());
    EXPECT_TRUE(sameColour(colourAt(image, {-0.25f, 0, 0}), Qt::red));
    EXPECT_EQ(colourAt(image, {0.25f, 0, 0}), QColor(Qt::white));

    // Without the test the transparent texel is drawn with its colour.
    device_.setAlphaTest(false);
    image = drawOnce(Quad());
    EXPECT_TRUE(sameColour(colourAt(image, {0.25f, 0, 0}), Qt::red));
}

TEST_F(DisplayDeviceTest, SingleSidedQuadVanishesFromBehindDoubleSidedDoesNot) {
    const Matrix4 turned = rotationY(std::numbers::pi_v<float>);
    struct Case {
        bool cull;
        Matrix4 world;
        bool visible;
    };
    const Case cases[] = {
        {true, identity(), true},
        {true, turned, false},
        {false, turned, true},
    };
    bindRed();
    for (const Case& c : cases) {
        device_.setCullCounterClockwise(c.cull);
        const QImage image = drawOnce(Quad(), c.world);
        EXPECT_EQ(image.pixelColor(50, 50) != QColor(Qt::white), c.visible) << "cull " << c.cull;
    }
}

TEST_F(DisplayDeviceTest, NearerSurfaceHidesFartherOneWhateverTheOrder) {
    const std::uint16_t red = 0xF800;
    const std::uint16_t blue = 0x001F;
    ASSERT_TRUE(device_.textures().upload(device_.gl(), 0, {1, 1, TexelFormat::Rgb565, &red}));
    ASSERT_TRUE(device_.textures().upload(device_.gl(), 1, {1, 1, TexelFormat::Rgb565, &blue}));
    const GpuMesh& nearQuad = upload(Quad({0, 0, -1}, -1.0f));
    const GpuMesh& farQuad = upload(Quad({0, 0, -1}, 1.0f));
    ASSERT_TRUE(device_.beginScene());
    device_.setWorldTransform(identity());
    device_.textures().bind(device_.gl(), 0);
    device_.drawMesh(nearQuad);
    device_.textures().bind(device_.gl(), 1);
    device_.drawMesh(farQuad);
    device_.endScene();
    const QColor seen = device_.grabFrame().pixelColor(50, 50);
    EXPECT_TRUE(sameColour(seen, Qt::red)) << seen.name().toStdString();
}

TEST_F(DisplayDeviceTest, IndexPastTheVertexCountDrawsVertexZeroInstead) {
    Quad quad;
    quad.indices = {0, 1, 2, 0, 2, 900};
    bindRed();
    const QImage image = drawOnce(quad);
    EXPECT_NE(colourAt(image, {0.25f, 0.25f, 0}), QColor(Qt::white));
    EXPECT_EQ(colourAt(image, {-0.25f, -0.25f, 0}), QColor(Qt::white));
}

}  // namespace
}  // namespace slipway
