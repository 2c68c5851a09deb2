#include "MeshviewFixtures.h"

#include "ModelFixtures.h"
#include "TestFiles.h"

namespace slipway::test {

ClfModel threeSquares(float edge, int keys, bool stacked) {
    ClfModel model;
    model.keysPerObject = static_cast<std::uint32_t>(keys);
    std::vector<ClfObject> objects;
    const char* names[] = {"a", "b", "c"};
    for (int i = 0; i < 3; ++i) {
        ClfObject square = clfSquare(names[i]).levels[0][0];
        square.doubleSided = true;
        const float step = 2.0f * static_cast<float>(i);
        for (ClfVertex& v : square.vertices) {
            v.x = (v.x + (stacked ? 0.0f : step)) * edge;
            v.y = (v.y + (stacked ? step : 0.0f)) * edge;
            v.nz = -1;
        }
        for (int k = 0; k < keys; ++k) {
            KeyRecord key;
            key.ty = static_cast<float>(k);
            square.keys.push_back(key);
        }
        objects.push_back(square);
    }
    model.levels = {objects};
    return model;
}

void writeThreeSquares(const std::string& path, float edge, int keys, bool stacked) {
    writeBytes(path, writeClf(threeSquares(edge, keys, stacked)));
}

}  // namespace slipway::test
