#include "engine/Vec3.h"

#include <cmath>

namespace slipway {

Vec3 add(Vec3 a, Vec3 b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
Vec3 subtract(Vec3 a, Vec3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
Vec3 scaleBy(Vec3 a, float s) {
    return {a.x * s, a.y * s, a.z * s};
}
Vec3 negate(Vec3 a) {
    return {-a.x, -a.y, -a.z};
}

Vec3 cross(Vec3 a, Vec3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

float dot(Vec3 a, Vec3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
float length(Vec3 a) {
    return std::sqrt(dot(a, a));
}
Vec3 normalize(Vec3 a) {
    return scaleBy(a, 1.0f / length(a));
}

}  // namespace slipway
