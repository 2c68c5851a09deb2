// The generated sail cloth: vertex positions, normals, texture coordinates and triangle order.

#include <gtest/gtest.h>

#include <cmath>

#include "engine/SailCloth.h"

namespace slipway {
namespace {

using Triangles = std::vector<std::array<int, 3>>;

Triangles triangles(const ClothMesh& mesh) {
    Triangles out;
    for (std::size_t i = 0; i + 2 < mesh.indices.size(); i += 3) {
        out.push_back({mesh.indices[i], mesh.indices[i + 1], mesh.indices[i + 2]});
    }
    return out;
}

void expectNear(const RenderVertex& v, Vec3 p, const char* what) {
    EXPECT_NEAR(v.x, p.x, 1e-5) << what;
    EXPECT_NEAR(v.y, p.y, 1e-5) << what;
    EXPECT_NEAR(v.z, p.z, 1e-5) << what;
}

// Upper edge from (0, 10, 0) to (4, 10, 0), lower edge at y = 0. The belly points along -z.
ClothMesh squareSail(float depth) {
    return fourCorneredCloth({0, 10, 0}, {4, 10, 0}, {4, 0, 0}, {0, 0, 0}, depth);
}

TEST(SailCloth, FlatFourCorneredSailIsAGridRowByRow) {
    const ClothMesh mesh = squareSail(0);
    ASSERT_EQ(mesh.vertices.size(), 25u);
    for (int i = 0; i < 5; ++i) {
        for (int j = 0; j < 5; ++j) {
            const RenderVertex& v = mesh.vertices[static_cast<std::size_t>(i * 5 + j)];
            expectNear(v, {static_cast<float>(j), 10 - 2.5f * static_cast<float>(i), 0}, "grid");
            EXPECT_FLOAT_EQ(v.u, 0.25f * static_cast<float>(j));
            EXPECT_FLOAT_EQ(v.v, 0.25f * static_cast<float>(i));
            EXPECT_EQ(v.nx, 0.0f);
            EXPECT_EQ(v.ny, 0.0f);
            EXPECT_EQ(v.nz, 1.0f);
        }
    }
    expectNear(mesh.vertices[6], {1, 7.5f, 0}, "vertex 6");
}

TEST(SailCloth, FourCorneredTrianglesRunFromTheBottomStripUp) {
    const Triangles t = triangles(squareSail(0));
    ASSERT_EQ(t.size(), 32u);
    // Bottom strip: upper row 15..19, lower row 20..24.
    EXPECT_EQ(t[0], (std::array<int, 3>{15, 16, 20}));
    EXPECT_EQ(t[1], (std::array<int, 3>{20, 16, 21}));
    EXPECT_EQ(t[7], (std::array<int, 3>{23, 19, 24}));
    EXPECT_EQ(t[8], (std::array<int, 3>{10, 11, 15}));
    // Top strip last.
    EXPECT_EQ(t[24], (std::array<int, 3>{0, 1, 5}));
    EXPECT_EQ(t[31], (std::array<int, 3>{8, 4, 9}));
}

TEST(SailCloth, BellyAddsRowAndColumnBulges) {
    const ClothMesh mesh = squareSail(2);
    // n = stepTop × stepLeft = (1, 0, 0) × (0, -2.5, 0), along -z.
    struct Case {
        int index;
        float offPlane;  // distance along -z
    };
    const float s = std::sin(std::numbers::pi_v<float> / 4);
    const Case cases[] = {
        {0, 0},     {4, 0},  {20, 0}, {24, 0},  // corners stay
        {1, s},     {2, 1},  {3, s},            // row 0: column bulge only
        {12, 3},                                // middle: 2 from the row, 1 across
        {10, 2},    {14, 2},                    // row 2 ends: row bulge only
        {5, 2 * s}, {21, s},                    // row 1 end; row 4 inner
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(mesh.vertices[static_cast<std::size_t>(c.index)].z, -c.offPlane, 1e-5)
            << "vertex " << c.index;
    }
    // The bulge moves vertices off the plane only; the grid in x and y is kept.
    expectNear(mesh.vertices[12], {2, 5, -3}, "middle");
}

TEST(SailCloth, TriangularSailHasRowsOfOneToFive) {
    const ClothMesh mesh = triangularCloth({0, 8, 0}, {-4, 0, 0}, {4, 0, 0}, 0);
    ASSERT_EQ(mesh.vertices.size(), 15u);
    expectNear(mesh.vertices[0], {0, 8, 0}, "apex");
    expectNear(mesh.vertices[10], {-4, 0, 0}, "base start");
    expectNear(mesh.vertices[14], {4, 0, 0}, "base end");
    expectNear(mesh.vertices[4], {0, 4, 0}, "row 2 middle");
    expectNear(mesh.vertices[7], {-1, 2, 0}, "row 3, position 1");
    EXPECT_FLOAT_EQ(mesh.vertices[0].u, 1.0f);
    EXPECT_FLOAT_EQ(mesh.vertices[0].v, 0.0f);
    EXPECT_FLOAT_EQ(mesh.vertices[10].u, 0.0f);
    EXPECT_FLOAT_EQ(mesh.vertices[10].v, 1.0f);
    EXPECT_FLOAT_EQ(mesh.vertices[14].u, 1.0f);
    EXPECT_FLOAT_EQ(mesh.vertices[7].u, 0.5f);  // (1 + 4 - 3) / 4
    EXPECT_FLOAT_EQ(mesh.vertices[7].v, 0.75f);
    for (const RenderVertex& v : mesh.vertices) {
        EXPECT_EQ(v.nx, 1.0f);
        EXPECT_EQ(v.ny, 0.0f);
        EXPECT_EQ(v.nz, 0.0f);
    }

    const Triangles expected = {
        {10, 6, 11}, {11, 6, 7}, {11, 7, 12}, {12, 7, 8}, {12, 8, 13}, {13, 8, 9},
        {13, 9, 14}, {6, 3, 7},  {7, 3, 4},   {7, 4, 8},  {8, 4, 5},   {8, 5, 9},
        {3, 1, 4},   {4, 1, 2},  {4, 2, 5},   {1, 0, 2},
    };
    EXPECT_EQ(triangles(mesh), expected);
}

TEST(SailCloth, TriangularBellyGrowsTowardsTheFoot) {
    // n = stepB × stepA = (1, -2, 0) × (-1, -2, 0) = (0, 0, -4): along -z.
    const ClothMesh mesh = triangularCloth({0, 8, 0}, {-4, 0, 0}, {4, 0, 0}, 2);
    const float s = std::sin(std::numbers::pi_v<float> / 4);
    struct Case {
        int index;
        float offPlane;
    };
    const Case cases[] = {
        {0, 0},  // apex
        {1, s * 2},
        {2, s * 2},                 // row 1: both ends, row bulge sin(pi/4) x 2
        {4, 2 + s / 3},             // row 2 middle: row bulge 2 + (1/3) h sin(pi/4)
        {7, s * 2 + 2 / 3.0f * s},  // row 3 position 1: row bulge + (2/3) h sin(pi/4)
        {10, 0},
        {14, 0},  // base corners
        {12, 1},  // base middle: full cross bulge h
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(mesh.vertices[static_cast<std::size_t>(c.index)].z, -c.offPlane, 1e-5)
            << "vertex " << c.index;
    }
}

TEST(SailCloth, DegenerateCornersGiveFiniteFlatCloth) {
    const ClothMesh mesh = fourCorneredCloth({1, 1, 1}, {1, 1, 1}, {1, 1, 1}, {1, 1, 1}, 3);
    for (const RenderVertex& v : mesh.vertices) {
        EXPECT_EQ(v.x, 1.0f);
        EXPECT_EQ(v.z, 1.0f);
    }
    const ClothMesh tri = triangularCloth({0, 0, 0}, {0, 0, 0}, {0, 0, 0}, 3);
    for (const RenderVertex& v : tri.vertices)
        EXPECT_TRUE(std::isfinite(v.x + v.y + v.z));
}

}  // namespace
}  // namespace slipway
