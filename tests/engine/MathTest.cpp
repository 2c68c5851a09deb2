#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "engine/Matrix4.h"
#include "engine/Vec3.h"

namespace slipway {
namespace {

constexpr float kPi = std::numbers::pi_v<float>;

void expectNear(Vec3 a, Vec3 b) {
    EXPECT_NEAR(a.x, b.x, 1e-5f);
    EXPECT_NEAR(a.y, b.y, 1e-5f);
    EXPECT_NEAR(a.z, b.z, 1e-5f);
}

Vec3 apply(const Matrix4& m, Vec3 p) { return transformPoint(p, m).value(); }

TEST(Vec3Ops, BasicOperations) {
    const Vec3 a{1, 2, 3}, b{4, -5, 6};
    expectNear(add(a, b), {5, -3, 9});
    expectNear(subtract(a, b), {-3, 7, -3});
    expectNear(scaleBy(a, 2), {2, 4, 6});
    expectNear(negate(a), {-1, -2, -3});
    expectNear(cross(Vec3{1, 0, 0}, Vec3{0, 1, 0}), {0, 0, 1});
    expectNear(cross(a, b), {2 * 6 - 3 * -5, 3 * 4 - 1 * 6, 1 * -5 - 2 * 4});
    EXPECT_FLOAT_EQ(dot(a, b), 4 - 10 + 18);
    EXPECT_FLOAT_EQ(length(Vec3{3, 0, 4}), 5);
    expectNear(normalize(Vec3{3, 0, 4}), {0.6f, 0, 0.8f});
}

TEST(Matrix4Ops, TransformPointAppliesTranslationInElements12To14) {
    Matrix4 m = identity();
    setTranslation(m, {10, 0, -5});
    EXPECT_EQ(m[12], 10.0f);
    expectNear(apply(m, {1, 2, 3}), {11, 2, -2});
}

TEST(Matrix4Ops, TransformPointFailsWhenWIsNearlyZero) {
    Matrix4 m = identity();
    m[15] = 0.0f;
    EXPECT_FALSE(transformPoint({0, 0, 0}, m).has_value());
    m[15] = 0.5f;
    expectNear(apply(m, {1, 1, 1}), {2, 2, 2});
}

TEST(Matrix4Ops, RotationsHaveTheDocumentedElements) {
    const float a = 0.3f;
    const Matrix4 x = rotationX(a), y = rotationY(a), z = rotationZ(a);
    EXPECT_FLOAT_EQ(x[6], std::sin(a));
    EXPECT_FLOAT_EQ(x[9], -std::sin(a));
    EXPECT_FLOAT_EQ(y[2], -std::sin(a));
    EXPECT_FLOAT_EQ(y[8], std::sin(a));
    EXPECT_FLOAT_EQ(z[1], std::sin(a));
    EXPECT_FLOAT_EQ(z[4], -std::sin(a));
    for (const Matrix4* m : {&x, &y, &z}) {
        EXPECT_EQ((*m)[3], 0.0f);
        EXPECT_EQ((*m)[15], 1.0f);
    }
}

TEST(Matrix4Ops, YawPitchTurnsAboutYFirstThenX) {
    EXPECT_EQ(yawPitch(0, 0), identity());
    expectNear(apply(yawPitch(kPi / 2, 0), {1, 0, 0}), {0, 0, -1});
    // Yaw first: (1,0,0) -> (0,0,-1); then pitch about X by 90 degrees: (0,0,-1) -> (0,1,0).
    expectNear(apply(yawPitch(kPi / 2, kPi / 2), {1, 0, 0}), {0, 1, 0});
    const Matrix4 viaMultiply = multiply(rotationX(0.4f), rotationY(0.7f));
    const Matrix4 direct = yawPitch(0.7f, 0.4f);
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(viaMultiply[i], direct[i], 1e-6f) << i;
}

TEST(Matrix4Ops, MultiplyAppliesTheSecondArgumentFirst) {
    const Matrix4 zx = multiply(rotationZ(kPi / 2), rotationX(kPi / 2));
    // RotX first: (0,1,0) -> (0,0,1); RotZ leaves it there.
    expectNear(apply(zx, {0, 1, 0}), {0, 0, 1});
    // RotZ first would have given (-1,0,0) before RotX.
    expectNear(apply(multiply(rotationX(kPi / 2), rotationZ(kPi / 2)), {0, 1, 0}), {-1, 0, 0});
    EXPECT_EQ(rotationXYZ(0, 0, 0), identity());
}

}  // namespace
}  // namespace slipway
