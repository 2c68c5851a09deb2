#include "ShipviewFixtures.h"

#include "TestFiles.h"
#include "formats/ClfFile.h"

namespace slipway::test {

namespace {

// The six faces of a unit box as corner quadruples, outward normal, wound clockwise when seen
// from outside.
struct Face {
    float n[3];
    float corners[4][3];
};

const Face kFaces[6] = {
    {{0, 0, -1}, {{-1, 1, -1}, {1, 1, -1}, {1, -1, -1}, {-1, -1, -1}}},
    {{0, 0, 1}, {{1, 1, 1}, {-1, 1, 1}, {-1, -1, 1}, {1, -1, 1}}},
    {{-1, 0, 0}, {{-1, 1, 1}, {-1, 1, -1}, {-1, -1, -1}, {-1, -1, 1}}},
    {{1, 0, 0}, {{1, 1, -1}, {1, 1, 1}, {1, -1, 1}, {1, -1, -1}}},
    {{0, 1, 0}, {{-1, 1, 1}, {1, 1, 1}, {1, 1, -1}, {-1, 1, -1}}},
    {{0, -1, 0}, {{-1, -1, -1}, {1, -1, -1}, {1, -1, 1}, {-1, -1, 1}}},
};

ClfObject boxObject(float size, int faces) {
    ClfObject object;
    object.name = "box";
    const float h = size / 2;
    for (int f = 0; f < faces; ++f) {
        const Face& face = kFaces[f];
        const auto base = static_cast<std::uint16_t>(object.vertices.size());
        for (const auto& c : face.corners) {
            object.vertices.push_back(
                {c[0] * h, c[1] * h, c[2] * h, face.n[0], face.n[1], face.n[2], 0});
        }
        ClfTriangle first{base,
                          static_cast<std::uint16_t>(base + 1),
                          static_cast<std::uint16_t>(base + 2),
                          0,
                          {0, 1, 1},
                          {0, 0, 1}};
        ClfTriangle second{base,
                           static_cast<std::uint16_t>(base + 2),
                           static_cast<std::uint16_t>(base + 3),
                           0,
                           {0, 1, 0},
                           {0, 1, 1}};
        object.triangles.push_back(first);
        object.triangles.push_back(second);
    }
    return object;
}

}  // namespace

void writeBoxClf(const std::string& path, float size, int levels, const std::string& texture) {
    ClfModel model;
    if (!texture.empty()) {
        model.textureNames.push_back(texture);
    }
    for (int level = 0; level < levels; ++level) {
        model.levels.push_back({boxObject(size, 6 - level)});
    }
    writeBytes(path, writeClf(model));
}

void writeCheckerTga(const std::string& path) {
    std::vector<std::uint8_t> bytes(18, 0);
    bytes[2] = 2;
    bytes[12] = 2;
    bytes[14] = 2;
    bytes[16] = 24;
    // Bottom row first: blue, white; then red, green.
    const std::uint8_t rows[] = {255, 0, 0, 255, 255, 255, 0, 0, 255, 0, 255, 0};
    bytes.insert(bytes.end(), std::begin(rows), std::end(rows));
    writeBytes(path, bytes);
}

}  // namespace slipway::test
