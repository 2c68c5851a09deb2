#pragma once
// The viewers' fixed projection: a point (x, y, z) in view space goes to (s·x, s·y, z + n, z)
// with clip depth running 0..1 at the near plane z = -n and beyond. The aspect ratio of the
// render area is deliberately not corrected for.

#include <array>

#include "engine/Matrix4.h"
#include "engine/ViewerRules.h"

namespace slipway {

// Row-major, row-vector convention like every other matrix of the engine.
Matrix4 projectionMatrix(ProjectionValues values);

// [x y z 1]·M as four numbers, without the divide.
std::array<float, 4> transformRow(const std::array<float, 4>& row, const Matrix4& m);

// The OpenGL clip position of a world point: p·world·view·projection, then depth 0..1 remapped
// to -1..1 (z' = 2z - w). This is what the vertex shader computes; tests use it to find the
// pixel a point lands on.
std::array<float, 4> clipPosition(Vec3 p, const Matrix4& world, const Matrix4& view,
                                  const Matrix4& projection);

}  // namespace slipway
