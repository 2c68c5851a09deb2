#include "engine/Projection.h"

namespace slipway {

Matrix4 projectionMatrix(ProjectionValues values) {
    Matrix4 p;  // all zero
    p[0] = values.scale;
    p[5] = values.scale;
    p[10] = 1.0f;
    p[11] = 1.0f;
    p[14] = values.nearTerm;
    return p;
}

std::array<float, 4> transformRow(const std::array<float, 4>& row, const Matrix4& m) {
    std::array<float, 4> out{};
    for (int c = 0; c < 4; ++c) {
        float sum = 0.0f;
        for (int r = 0; r < 4; ++r) {
            sum += row[static_cast<std::size_t>(r)] * m[4 * r + c];
        }
        out[static_cast<std::size_t>(c)] = sum;
    }
    return out;
}

std::array<float, 4> clipPosition(Vec3 p, const Matrix4& world, const Matrix4& view,
                                  const Matrix4& projection) {
    auto row = transformRow({p.x, p.y, p.z, 1.0f}, world);
    row = transformRow(row, view);
    row = transformRow(row, projection);
    row[2] = 2.0f * row[2] - row[3];
    return row;
}

}  // namespace slipway
