#include "export/NodeTransform.h"

#include <array>
#include <cmath>

#include "export/GltfAxes.h"

namespace slipway {

namespace {

using Rows = std::array<double, 16>;  // row-major, row vectors, like Matrix4

constexpr double kRigidTolerance = 1e-5;
constexpr double kIdentityTolerance = 1e-12;

double at(const Rows& m, int row, int column) {
    return m[static_cast<std::size_t>(4 * row + column)];
}

Rows toRows(const Matrix4& m) {
    Rows out{};
    for (std::size_t i = 0; i < 16; ++i) {
        out[i] = m.m[i];
    }
    return out;
}

// Transforming by the result transforms by `first`, then by `second`.
Rows then(const Rows& first, const Rows& second) {
    Rows out{};
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            double sum = 0;
            for (int k = 0; k < 4; ++k) {
                sum += at(first, r, k) * at(second, k, c);
            }
            out[static_cast<std::size_t>(4 * r + c)] = sum;
        }
    }
    return out;
}

// The inverse of an affine matrix (last column 0, 0, 0, 1); nothing for any other.
std::optional<Rows> inverseAffine(const Rows& m) {
    if (at(m, 0, 3) != 0 || at(m, 1, 3) != 0 || at(m, 2, 3) != 0 || at(m, 3, 3) != 1) {
        return std::nullopt;
    }
    const double a = at(m, 0, 0), b = at(m, 0, 1), c = at(m, 0, 2);
    const double d = at(m, 1, 0), e = at(m, 1, 1), f = at(m, 1, 2);
    const double g = at(m, 2, 0), h = at(m, 2, 1), i = at(m, 2, 2);
    const double det = a * (e * i - f * h) - b * (d * i - f * g) + c * (d * h - e * g);
    if (!std::isfinite(det) || std::abs(det) < 1e-12) {
        return std::nullopt;
    }
    Rows out{};
    const double inverse3[9] = {
        (e * i - f * h) / det, (c * h - b * i) / det, (b * f - c * e) / det,
        (f * g - d * i) / det, (a * i - c * g) / det, (c * d - a * f) / det,
        (d * h - e * g) / det, (b * g - a * h) / det, (a * e - b * d) / det,
    };
    for (int r = 0; r < 3; ++r) {
        for (int col = 0; col < 3; ++col) {
            out[static_cast<std::size_t>(4 * r + col)] = inverse3[3 * r + col];
        }
    }
    // p = (p' - t)·A⁻¹: the translation row becomes -t·A⁻¹.
    for (int col = 0; col < 3; ++col) {
        double sum = 0;
        for (int k = 0; k < 3; ++k) {
            sum += at(m, 3, k) * inverse3[3 * k + col];
        }
        out[static_cast<std::size_t>(12 + col)] = -sum;
    }
    out[15] = 1;
    return out;
}

// Element (row, column) of the column-vector rotation in a glTF column-major array.
double rotationAt(const std::array<double, 16>& columnMajor, int row, int column) {
    return columnMajor[static_cast<std::size_t>(4 * column + row)];
}

bool isRotation(const std::array<double, 16>& g) {
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            double dotProduct = 0;
            for (int k = 0; k < 3; ++k) {
                dotProduct += rotationAt(g, k, i) * rotationAt(g, k, j);
            }
            if (std::abs(dotProduct - (i == j ? 1.0 : 0.0)) > kRigidTolerance) {
                return false;
            }
        }
    }
    const double det = rotationAt(g, 0, 0) * (rotationAt(g, 1, 1) * rotationAt(g, 2, 2) -
                                              rotationAt(g, 1, 2) * rotationAt(g, 2, 1)) -
                       rotationAt(g, 0, 1) * (rotationAt(g, 1, 0) * rotationAt(g, 2, 2) -
                                              rotationAt(g, 1, 2) * rotationAt(g, 2, 0)) +
                       rotationAt(g, 0, 2) * (rotationAt(g, 1, 0) * rotationAt(g, 2, 1) -
                                              rotationAt(g, 1, 1) * rotationAt(g, 2, 0));
    return det > 0 && at(g, 0, 3) == 0 && at(g, 1, 3) == 0 && at(g, 2, 3) == 0 && at(g, 3, 3) == 1;
}

// The unit quaternion (x, y, z, w) of a rotation matrix, taken from its largest diagonal term
// so that nothing is divided by a small number.
std::array<double, 4> quaternion(const std::array<double, 16>& g) {
    const double r00 = rotationAt(g, 0, 0), r01 = rotationAt(g, 0, 1), r02 = rotationAt(g, 0, 2);
    const double r10 = rotationAt(g, 1, 0), r11 = rotationAt(g, 1, 1), r12 = rotationAt(g, 1, 2);
    const double r20 = rotationAt(g, 2, 0), r21 = rotationAt(g, 2, 1), r22 = rotationAt(g, 2, 2);
    const double trace = r00 + r11 + r22;
    std::array<double, 4> q{};
    if (trace > 0) {
        const double s = std::sqrt(trace + 1) * 2;
        q = {(r21 - r12) / s, (r02 - r20) / s, (r10 - r01) / s, s / 4};
    } else if (r00 > r11 && r00 > r22) {
        const double s = std::sqrt(1 + r00 - r11 - r22) * 2;
        q = {s / 4, (r01 + r10) / s, (r02 + r20) / s, (r21 - r12) / s};
    } else if (r11 > r22) {
        const double s = std::sqrt(1 + r11 - r00 - r22) * 2;
        q = {(r01 + r10) / s, s / 4, (r12 + r21) / s, (r02 - r20) / s};
    } else {
        const double s = std::sqrt(1 + r22 - r00 - r11) * 2;
        q = {(r02 + r20) / s, (r12 + r21) / s, s / 4, (r10 - r01) / s};
    }
    const double norm = std::sqrt(q[0] * q[0] + q[1] * q[1] + q[2] * q[2] + q[3] * q[3]);
    for (double& value : q) {
        value /= norm;
    }
    // q and -q are the same rotation; a positive w keeps the numbers readable.
    if (q[3] < 0) {
        for (double& value : q) {
            value = -value;
        }
    }
    return q;
}

}  // namespace

std::optional<NodeTransform> localTransform(const Matrix4& world, const Matrix4* parentWorld) {
    Rows local = toRows(world);
    if (parentWorld != nullptr) {
        const auto undo = inverseAffine(toRows(*parentWorld));
        if (!undo) {
            return std::nullopt;
        }
        local = then(local, *undo);
    }
    const std::array<double, 16> g = gltfMatrix(local);
    NodeTransform out;
    for (double value : g) {
        if (!std::isfinite(value)) {
            return std::nullopt;
        }
    }
    if (!isRotation(g)) {
        out.matrix.assign(g.begin(), g.end());
        return out;
    }
    if (g[12] != 0 || g[13] != 0 || g[14] != 0) {
        out.translation = {g[12], g[13], g[14]};
    }
    const std::array<double, 4> q = quaternion(g);
    if (std::abs(q[0]) > kIdentityTolerance || std::abs(q[1]) > kIdentityTolerance ||
        std::abs(q[2]) > kIdentityTolerance) {
        out.rotation.assign(q.begin(), q.end());
    }
    return out;
}

}  // namespace slipway
