#include "engine/SailCloth.h"

#include <cmath>
#include <numbers>

namespace slipway {

namespace {

constexpr float kPi = std::numbers::pi_v<float>;

// The belly direction. Corners that span no plane give no belly rather than NaN positions.
Vec3 bellyDirection(Vec3 a, Vec3 b) {
    const Vec3 n = cross(a, b);
    const float len = length(n);
    if (!(len > 0) || !std::isfinite(len))
        return {};
    return normalize(n);
}

Vec3 divide(Vec3 a, float d) {
    return scaleBy(a, 1.0f / d);
}

RenderVertex vertexAt(Vec3 p, Vec3 normal, float u, float v) {
    return RenderVertex{p.x, p.y, p.z, normal.x, normal.y, normal.z, u, v};
}

void triangle(std::vector<std::uint16_t>& out, int a, int b, int c) {
    out.push_back(static_cast<std::uint16_t>(a));
    out.push_back(static_cast<std::uint16_t>(b));
    out.push_back(static_cast<std::uint16_t>(c));
}

}  // namespace

ClothMesh fourCorneredCloth(Vec3 c0, Vec3 c1, Vec3 c2, Vec3 c3, float depth) {
    constexpr int R = kSailRows;
    constexpr int C = kSailColumns;
    const float half = depth / 2;
    const Vec3 stepLeft = divide(subtract(c3, c0), R - 1);
    Vec3 stepTop = divide(subtract(c1, c0), C - 1);
    const Vec3 stepRight = divide(subtract(c2, c1), R - 1);
    const Vec3 n = bellyDirection(stepTop, stepLeft);
    const Vec3 normal{0, 0, 1};

    ClothMesh mesh;
    mesh.vertices.reserve(R * C);
    for (int i = 0; i < R; ++i) {
        Vec3 left, right;
        if (i == 0) {
            left = c0;
            right = c1;
        } else if (i == R - 1) {
            left = c3;
            right = c2;
            stepTop = divide(subtract(right, left), C - 1);
        } else {
            const float bulge = std::sin(static_cast<float>(i) * kPi / (R - 1)) * depth;
            left = add(add(c0, scaleBy(stepLeft, static_cast<float>(i))), scaleBy(n, bulge));
            right = add(add(c1, scaleBy(stepRight, static_cast<float>(i))), scaleBy(n, bulge));
            stepTop = divide(subtract(right, left), C - 1);
        }
        for (int j = 0; j < C; ++j) {
            const float bulge = std::sin(static_cast<float>(j) * kPi / (C - 1)) * half;
            const Vec3 p =
                add(add(left, scaleBy(stepTop, static_cast<float>(j))), scaleBy(n, bulge));
            mesh.vertices.push_back(vertexAt(p, normal, static_cast<float>(j) / (C - 1),
                                             static_cast<float>(i) / (R - 1)));
        }
    }

    // Strips from the bottom one up; in each, two triangles per column.
    for (int upper = R - 2; upper >= 0; --upper) {
        const int b = upper * C;
        const int a = b + C;
        for (int j = 0; j < C - 1; ++j) {
            triangle(mesh.indices, b + j, b + j + 1, a + j);
            triangle(mesh.indices, a + j, b + j + 1, a + j + 1);
        }
    }
    return mesh;
}

ClothMesh triangularCloth(Vec3 c0, Vec3 c1, Vec3 c2, float depth) {
    constexpr int R = kSailRows;
    constexpr int C = kSailColumns;
    const float half = depth / 2;
    const Vec3 stepA = divide(subtract(c1, c0), R - 1);
    const Vec3 stepB = divide(subtract(c2, c0), R - 1);
    const Vec3 n = bellyDirection(stepB, stepA);
    const Vec3 normal{1, 0, 0};

    const auto rowStart = [](int i) { return i * (i + 1) / 2; };
    const auto uv = [](int i, int j, float& u, float& v) {
        u = static_cast<float>(j + R - 1 - i) / (R - 1);
        v = static_cast<float>(i) / (R - 1);
    };

    ClothMesh mesh;
    mesh.vertices.reserve(rowStart(R));
    float u, v;
    uv(0, 0, u, v);
    mesh.vertices.push_back(vertexAt(c0, normal, u, v));
    for (int i = 1; i < R; ++i) {
        Vec3 left, right;
        if (i == R - 1) {
            left = c1;
            right = c2;
        } else {
            const float bulge = std::sin(static_cast<float>(i) * kPi / (R - 1)) * depth;
            left = add(add(c0, scaleBy(stepA, static_cast<float>(i))), scaleBy(n, bulge));
            right = add(add(c0, scaleBy(stepB, static_cast<float>(i))), scaleBy(n, bulge));
        }
        const Vec3 rowStep = divide(subtract(right, left), static_cast<float>(i));
        // The bulge across a row grows from nothing just below the apex to full at the foot.
        const float rowShare = static_cast<float>(i - 1) / (R - 2);
        for (int j = 0; j <= i; ++j) {
            Vec3 p;
            if (j == 0) {
                p = left;
            } else if (j == i) {
                p = right;
            } else {
                const float bulge =
                    rowShare * half * std::sin(static_cast<float>(j) * kPi / (C - 1));
                p = add(add(left, scaleBy(rowStep, static_cast<float>(j))), scaleBy(n, bulge));
            }
            uv(i, j, u, v);
            mesh.vertices.push_back(vertexAt(p, normal, u, v));
        }
    }

    // Strips from the bottom one up: the lower row has one vertex more than the upper.
    for (int upper = R - 2; upper >= 0; --upper) {
        const int p = rowStart(upper);
        const int q = p + upper + 1;
        const int m = upper + 1;  // the lower row has m + 1 vertices
        for (int j = 0; j < m; ++j) {
            triangle(mesh.indices, q + j, p + j, q + j + 1);
            if (j < m - 1)
                triangle(mesh.indices, q + j + 1, p + j, p + j + 1);
        }
    }
    return mesh;
}

}  // namespace slipway
