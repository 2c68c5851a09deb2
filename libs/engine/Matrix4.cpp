#include "engine/Matrix4.h"

#include <cmath>

namespace slipway {

Matrix4 identity() {
    Matrix4 r;
    r[0] = r[5] = r[10] = r[15] = 1.0f;
    return r;
}

Matrix4 rotationX(float a) {
    Matrix4 r = identity();
    r[5] = std::cos(a);
    r[6] = std::sin(a);
    r[9] = -std::sin(a);
    r[10] = std::cos(a);
    return r;
}

Matrix4 rotationY(float a) {
    Matrix4 r = identity();
    r[0] = std::cos(a);
    r[2] = -std::sin(a);
    r[8] = std::sin(a);
    r[10] = std::cos(a);
    return r;
}

Matrix4 rotationZ(float a) {
    Matrix4 r = identity();
    r[0] = std::cos(a);
    r[1] = std::sin(a);
    r[4] = -std::sin(a);
    r[5] = std::cos(a);
    return r;
}

Matrix4 multiply(const Matrix4& a, const Matrix4& b) {
    Matrix4 r;
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k)
                sum += b[4 * i + k] * a[4 * k + j];
            r[4 * i + j] = sum;
        }
    }
    return r;
}

Matrix4 yawPitch(float yaw, float pitch) {
    const float cy = std::cos(yaw), sy = std::sin(yaw);
    const float cp = std::cos(pitch), sp = std::sin(pitch);
    Matrix4 r = identity();
    r[0] = cy;
    r[1] = sy * sp;
    r[2] = -sy * cp;
    r[5] = cp;
    r[6] = sp;
    r[8] = sy;
    r[9] = -cy * sp;
    r[10] = cy * cp;
    return r;
}

Matrix4 rotationXYZ(float a, float b, float c) {
    return multiply(multiply(rotationZ(c), rotationX(a)), rotationY(b));
}

std::optional<Vec3> transformPoint(Vec3 p, const Matrix4& m) {
    const float x = p.x * m[0] + p.y * m[4] + p.z * m[8] + m[12];
    const float y = p.x * m[1] + p.y * m[5] + p.z * m[9] + m[13];
    const float z = p.x * m[2] + p.y * m[6] + p.z * m[10] + m[14];
    const float w = p.x * m[3] + p.y * m[7] + p.z * m[11] + m[15];
    if (std::fabs(w) < 0.00001f)
        return std::nullopt;
    return Vec3{x / w, y / w, z / w};
}

}  // namespace slipway
