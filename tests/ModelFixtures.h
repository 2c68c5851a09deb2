#pragma once
// Small builders for model and texture files, so that tests (and later tools) can make the
// exact bytes a case needs in a few lines.

#include <cstdint>
#include <string>
#include <vector>

#include "formats/CffFile.h"
#include "formats/ClfFile.h"
#include "formats/SailFile.h"

namespace slipway::test {

// A CLF vertex at (x, y, z) with no normal.
ClfVertex clfVertex(float x, float y, float z);
// A CLF triangle with the given corners and per-corner texture coordinates.
ClfTriangle clfTriangle(std::uint16_t a, std::uint16_t b, std::uint16_t c, float u0 = 0,
                        float v0 = 0, float u1 = 0, float v1 = 0, float u2 = 0, float v2 = 0);
// A one-level CLF model with one object: a unit square in the XY plane (4 vertices, 2
// triangles) whose corners map the full texture square.
ClfModel clfSquare(const std::string& objectName = "square");
// A CLF cube of 8 vertices and 12 triangles, each face mapping the full texture square.
ClfObject clfCube(const std::string& name = "cube");

// A CFF model with one level holding `objects`, scale (1, 1, 1) and origin (0, 0, 0).
CffModel cffModel(std::vector<CffObject> objects);
// A CFF object with `vertexCount` vertices along x and a fan of triangles over them.
CffObject cffFan(int vertexCount, const char* shortName = "fan0");

// A sail entry for the SAIL record at `sailIndex`: a four-cornered sail (triangular for odd
// indices), depth 0.5, corner c at (c, 10 + c, -c), with `attachedMeshes` stored meshes of
// vertices (0, 0, 0), (1, 0, 0), (0, 1, 0) and one triangle over them.
SailEntry sailEntry(std::int32_t sailIndex, int attachedMeshes);

// A TF file: header, then the given 16-bit level 0 and nothing else (no 8-bit chain).
std::vector<std::uint8_t> tfFile(std::uint8_t formatCode, std::uint32_t width, std::uint32_t height,
                                 const std::vector<std::uint16_t>& level0,
                                 std::uint8_t count16 = 1);
// A TGA file: 18-byte header, an identification field of `idLength` bytes, then `pixels`.
std::vector<std::uint8_t> tgaFile(std::uint16_t width, std::uint16_t height, std::uint8_t depth,
                                  const std::vector<std::uint8_t>& pixels,
                                  std::uint8_t idLength = 0, std::uint8_t descriptor = 0);

// Overwrites a little-endian u32 at `offset` (for counts that do not match the content).
void patchU32(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint32_t value);

}  // namespace slipway::test
