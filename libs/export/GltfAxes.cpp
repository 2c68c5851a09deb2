#include "export/GltfAxes.h"

namespace slipway {

std::array<double, 16> gltfMatrix(const std::array<double, 16>& rowMajor) {
    std::array<double, 16> out = rowMajor;
    // S·M·S changes the sign of every element in row 2 or column 2, but not of (2, 2).
    for (int i = 0; i < 4; ++i) {
        if (i != 2) {
            out[static_cast<std::size_t>(4 * 2 + i)] = -out[static_cast<std::size_t>(4 * 2 + i)];
            out[static_cast<std::size_t>(4 * i + 2)] = -out[static_cast<std::size_t>(4 * i + 2)];
        }
    }
    return out;
}

std::array<double, 16> gltfMatrix(const Matrix4& m) {
    std::array<double, 16> rowMajor{};
    for (std::size_t i = 0; i < 16; ++i) {
        rowMajor[i] = m.m[i];
    }
    return gltfMatrix(rowMajor);
}

}  // namespace slipway
