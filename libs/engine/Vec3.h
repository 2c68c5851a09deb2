#pragma once
// Three-component single-precision vector and its operations.

namespace slipway {

struct Vec3 {
    float x = 0, y = 0, z = 0;
};

Vec3 add(Vec3 a, Vec3 b);
Vec3 subtract(Vec3 a, Vec3 b);
Vec3 scaleBy(Vec3 a, float s);
Vec3 negate(Vec3 a);
Vec3 cross(Vec3 a, Vec3 b);
float dot(Vec3 a, Vec3 b);
float length(Vec3 a);
// a × (1 / length(a)); no test for zero length (the callers guard where it matters).
Vec3 normalize(Vec3 a);

}  // namespace slipway
