#pragma once
// The one place where the viewers' coordinates become glTF's.
//
// The viewers work in a left-handed frame with row vectors: x to the right, y up and z away
// from the start camera; a point p is placed at p·M, and a triangle's front face is the one
// whose corners run clockwise on the screen (counter-clockwise ones are culled). glTF is
// right-handed with column vectors, and its front faces run counter-clockwise.
//
// Export mirrors z: (x, y, z) becomes (x, y, -z). Seen from the mirrored start camera (at +z,
// looking along -z, as glTF cameras look) the picture is the same as the viewer's, so nothing
// comes out mirrored, and x and y keep their meaning. Because the picture is the same, the
// corners of a front face still run clockwise on the screen, so every triangle's corner order
// is reversed with it. The two steps belong together: either one alone turns the ship into its
// mirror image or inside out.
//
// A matrix M is conjugated by the mirror S = diag(1, 1, -1, 1): S·M·S. glTF's column-major
// array of a column-vector matrix holds the same sixteen numbers in the same order as the
// engine's row-major row-vector matrix (each is the other's transpose), so the result is
// written out element by element.

#include <array>
#include <cstdint>

#include "engine/Matrix4.h"
#include "engine/Vec3.h"

namespace slipway {

// A position or a direction (normal) in glTF's frame.
inline Vec3 gltfVector(Vec3 v) {
    return {v.x, v.y, -v.z};
}

// A triangle's corners in glTF's order: the same front face.
inline std::array<std::uint16_t, 3> gltfTriangle(std::uint16_t a, std::uint16_t b,
                                                 std::uint16_t c) {
    return {a, c, b};
}

// A 4x4 engine matrix (row-major, row vectors) as glTF's column-major array (column vectors),
// in double precision, mirrored like the points it places.
std::array<double, 16> gltfMatrix(const std::array<double, 16>& rowMajor);
std::array<double, 16> gltfMatrix(const Matrix4& m);

}  // namespace slipway
