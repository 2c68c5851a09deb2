#include "MeshviewFixtures.h"

#include "ModelFixtures.h"
#include "TestFiles.h"

namespace slipway::test {

ClfModel threeSquares(float edge, int keys) {
    ClfModel model;
    model.keysPerObject = static_cast<std::uint32_t>(keys);
    std::vector<ClfObject> objects;
    const char* names[] = {"a", "b", "c"};
    for (int i = 0; i < 3; ++i) {
        ClfObject square = clfSquare(names[i]).levels[0][0];
        square.doubleSided = true;
        for (ClfVertex& v : square.vertices) {
            v.x = (v.x + 2.0f * static_cast<float>(i)) * edge;
            v.y *= edge;
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

void writeThreeSquares(const std::string& path, float edge, int keys) {
    writeBytes(path, writeClf(threeSquares(edge, keys)));
}

}  // namespace slipway::test
