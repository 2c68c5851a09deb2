// Local transforms: rotations of every kind come back from their quaternions, a parent's
// placement is undone, and what cannot be written as rotation and translation is a matrix.

#include <cmath>
#include <numbers>

#include <gtest/gtest.h>

#include "export/GltfAxes.h"
#include "export/NodeTransform.h"

namespace slipway {
namespace {

constexpr float kPi = std::numbers::pi_v<float>;

// The plain column-vector matrix of translation and rotation, as a reader builds it.
std::array<double, 16> fromParts(const NodeTransform& t) {
    std::array<double, 16> m{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    if (!t.rotation.empty()) {
        const double x = t.rotation[0], y = t.rotation[1], z = t.rotation[2], w = t.rotation[3];
        m = {1 - 2 * (y * y + z * z),
             2 * (x * y + z * w),
             2 * (x * z - y * w),
             0,
             2 * (x * y - z * w),
             1 - 2 * (x * x + z * z),
             2 * (y * z + x * w),
             0,
             2 * (x * z + y * w),
             2 * (y * z - x * w),
             1 - 2 * (x * x + y * y),
             0,
             0,
             0,
             0,
             1};
    }
    if (!t.translation.empty()) {
        m[12] = t.translation[0];
        m[13] = t.translation[1];
        m[14] = t.translation[2];
    }
    return m;
}

TEST(NodeTransformTest, EveryRotationComesBackFromItsQuaternion) {
    // Each branch of the conversion: a large trace, and each axis the largest diagonal term.
    const Matrix4 rotations[] = {
        identity(),
        yawPitch(0.7f, 0.3f),
        yawPitch(kPi, 0),
        yawPitch(0, kPi),
        rotationZ(kPi),
        rotationX(kPi - 0.001f),
        yawPitch(3.0f, -2.9f),
        multiply(rotationZ(2.5f), yawPitch(-2.2f, 1.9f)),
    };
    for (std::size_t i = 0; i < std::size(rotations); ++i) {
        Matrix4 world = rotations[i];
        setTranslation(world, {1.5f, -2, 0.25f});
        const auto t = localTransform(world, nullptr);
        ASSERT_TRUE(t.has_value()) << i;
        EXPECT_TRUE(t->matrix.empty()) << i;
        ASSERT_EQ(t->translation, (std::vector<double>{1.5, -2, -0.25})) << i;
        EXPECT_EQ(t->rotation.empty(), i == 0) << i;
        if (!t->rotation.empty()) {
            const double norm = std::hypot(t->rotation[0], t->rotation[1], t->rotation[2]);
            EXPECT_NEAR(norm * norm + t->rotation[3] * t->rotation[3], 1, 1e-12) << i;
        }
        const auto expected = gltfMatrix(world);
        const auto got = fromParts(*t);
        for (std::size_t k = 0; k < 16; ++k) {
            EXPECT_NEAR(got[k], expected[k], 1e-6) << i << " element " << k;
        }
    }
}

TEST(NodeTransformTest, ParentsAreUndoneAndOddMatricesHandledApart) {
    // A yard without a turn hanging from a turned mast turns back by the mast's turn.
    Matrix4 mast = yawPitch(0.5f, 0);
    setTranslation(mast, {0, 1, 0});
    Matrix4 yard = identity();
    setTranslation(yard, {0, 3, 0});
    const auto mastAlone = localTransform(mast, nullptr);
    const auto local = localTransform(yard, &mast);
    ASSERT_TRUE(local.has_value() && mastAlone.has_value());
    ASSERT_EQ(local->rotation.size(), 4u);
    ASSERT_EQ(mastAlone->rotation.size(), 4u);
    EXPECT_NEAR(std::abs(mastAlone->rotation[1]), std::sin(0.25), 1e-6);  // half the angle
    for (std::size_t k = 0; k < 3; ++k) {
        EXPECT_NEAR(local->rotation[k], -mastAlone->rotation[k], 1e-6);
    }
    EXPECT_NEAR(local->rotation[3], mastAlone->rotation[3], 1e-6);
    EXPECT_NEAR(local->translation[0], 0, 1e-6);
    EXPECT_NEAR(local->translation[1], 2, 1e-6);
    EXPECT_NEAR(local->translation[2], 0, 1e-6);

    // A scale is not a rotation: written as a matrix.
    Matrix4 scaled = identity();
    scaled[0] = 2;
    const auto asMatrix = localTransform(scaled, nullptr);
    ASSERT_TRUE(asMatrix.has_value());
    EXPECT_EQ(asMatrix->matrix.size(), 16u);
    EXPECT_TRUE(asMatrix->rotation.empty() && asMatrix->translation.empty());

    // Parents that cannot be undone, and numbers no file can hold.
    Matrix4 flat = identity();
    flat[10] = 0;
    Matrix4 projective = identity();
    projective[11] = 1;
    Matrix4 broken = identity();
    broken[12] = NAN;
    EXPECT_FALSE(localTransform(yard, &flat).has_value());
    EXPECT_FALSE(localTransform(yard, &projective).has_value());
    EXPECT_FALSE(localTransform(broken, nullptr).has_value());
}

}  // namespace
}  // namespace slipway
