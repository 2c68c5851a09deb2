#pragma once
// A small indexed mesh with per-vertex normals and texture coordinates, the shapes the demo
// ship is made of, and its conversion to CLF objects and CFF models.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/Vec3.h"
#include "formats/CffFile.h"
#include "formats/ClfFile.h"

namespace slipway::demo {

struct DemoMesh {
    std::vector<Vec3> positions;
    std::vector<Vec3> normals;
    std::vector<std::array<float, 2>> uvs;
    std::vector<std::array<std::uint16_t, 3>> triangles;

    int vertex(Vec3 position, Vec3 normal, float u, float v);
    // Adds the triangle wound so that its face normal ((b - a) × (c - a)) points along
    // `outward`, as the viewers compute normals from the winding.
    void triangle(int a, int b, int c, Vec3 outward);
    // Two triangles over the corners a, b, c, d in order round the quad.
    void quad(int a, int b, int c, int d, Vec3 outward);
};

// A tapered cylinder of `sides` sides from `base` along `axis` (unit length) for `length`,
// closed at both ends; u runs round, v along.
DemoMesh taperedCylinder(Vec3 base, Vec3 axis, float length, float baseRadius, float topRadius,
                         int sides);
// A square pyramid standing on the origin.
DemoMesh pyramid(float baseSide, float height);

ClfObject toClfObject(const DemoMesh& mesh, const std::string& name,
                      std::uint32_t textureNameIndex);
// One level of one object (all double-sided) with one texture name.
CffModel toCffModel(const DemoMesh& mesh, const std::string& textureName,
                    const char (&shortName)[5]);

// A mesh of a CFF model with several objects, with its own key records.
struct CffPart {
    DemoMesh mesh;
    std::string shortName;  // at most 4 characters
    std::vector<KeyRecord> keys;
};
// One level holding every part as an object (all double-sided, all with texture 0), positions
// in one box around all of them.
CffModel toCffModel(const std::vector<CffPart>& parts, const std::string& textureName);

}  // namespace slipway::demo
