#pragma once
// Small model and texture files for the viewer's tests, written with the project's writers.

#include <cstdint>
#include <string>

namespace slipway::test {

// A box of edge `size` centred at the origin, with `levels` levels of detail (level k drops
// k faces, so every level counts differently), textured with `texture` (a file name, may be
// empty). Level 0 has 24 vertices and 12 triangles.
void writeBoxClf(const std::string& path, float size, int levels, const std::string& texture);

// A 2 × 2 24-bit TGA picture: red, green / blue, white.
void writeCheckerTga(const std::string& path);

}  // namespace slipway::test
