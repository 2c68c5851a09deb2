#pragma once
// The generated cloth of a sail: a 5 × 5 grid bellied out between the sail's corners. The
// four-cornered cloth has 25 vertices and 32 triangles, the triangular one 15 and 16; vertex
// order, normals, texture coordinates and triangle order are fixed, as the renderer and the
// texture artists rely on them.

#include <cstdint>
#include <vector>

#include "engine/MeshPart.h"
#include "engine/Vec3.h"

namespace slipway {

inline constexpr int kSailRows = 5;
inline constexpr int kSailColumns = 5;

struct ClothMesh {
    std::vector<RenderVertex> vertices;
    std::vector<std::uint16_t> indices;
};

// c0, c1 the upper edge, c3 below c0 and c2 below c1. Every vertex has the normal (0, 0, 1).
ClothMesh fourCorneredCloth(Vec3 c0, Vec3 c1, Vec3 c2, Vec3 c3, float depth);
// c0 the apex, c1 and c2 the opposite edge. Every vertex has the normal (1, 0, 0).
ClothMesh triangularCloth(Vec3 c0, Vec3 c1, Vec3 c2, float depth);

}  // namespace slipway
