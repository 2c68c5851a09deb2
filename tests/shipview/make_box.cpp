// Writes the box fixture for manual runs: make_box OUT.clf [SIZE] [LEVELS] [TEXTURE.tga]
#include <cstdlib>
#include <string>

#include "ShipviewFixtures.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        return 2;
    }
    const float size = argc > 2 ? std::strtof(argv[2], nullptr) : 2.0f;
    const int levels = argc > 3 ? std::atoi(argv[3]) : 3;
    const std::string texture = argc > 4 ? argv[4] : "";
    slipway::test::writeBoxClf(argv[1], size, levels, texture);
    if (!texture.empty()) {
        std::string dir = argv[1];
        const auto slash = dir.find_last_of('/');
        dir = slash == std::string::npos ? "" : dir.substr(0, slash + 1);
        slipway::test::writeCheckerTga(dir + texture);
    }
    return 0;
}
