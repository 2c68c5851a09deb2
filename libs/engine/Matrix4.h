#pragma once
// 4x4 single-precision matrix, row-major (m[4 r + c] is row r, column c), row-vector
// convention: a point is transformed as [x y z 1] × M, so the translation sits in elements
// 12, 13 and 14. Angles are radians.

#include <array>
#include <optional>

#include "engine/Vec3.h"

namespace slipway {

struct Matrix4 {
    std::array<float, 16> m{};

    float& operator[](int i) { return m[static_cast<std::size_t>(i)]; }
    float operator[](int i) const { return m[static_cast<std::size_t>(i)]; }
    bool operator==(const Matrix4&) const = default;
};

Matrix4 identity();
Matrix4 rotationX(float a);
Matrix4 rotationY(float a);
Matrix4 rotationZ(float a);
// Element (i, j) = sum over k of B(i, k) A(k, j): transforming by the result transforms by B
// first and then by A.
Matrix4 multiply(const Matrix4& a, const Matrix4& b);
// RotY(yaw)·RotX(pitch): a point is turned about Y by yaw first, then about X by pitch.
Matrix4 yawPitch(float yaw, float pitch);
// multiply(multiply(rotationZ(c), rotationX(a)), rotationY(b)).
Matrix4 rotationXYZ(float a, float b, float c);
// [x y z 1] × M divided by W; nothing when |W| < 0.00001.
std::optional<Vec3> transformPoint(Vec3 p, const Matrix4& m);

inline void setTranslation(Matrix4& m, Vec3 t) {
    m[12] = t.x;
    m[13] = t.y;
    m[14] = t.z;
}

}  // namespace slipway
