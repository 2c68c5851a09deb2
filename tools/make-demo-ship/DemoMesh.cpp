#include "make-demo-ship/DemoMesh.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace slipway::demo {

namespace {

constexpr float kPi = std::numbers::pi_v<float>;

// Any unit vector square to `a`.
Vec3 across(Vec3 a) {
    const Vec3 helper = std::abs(a.y) < 0.9f ? Vec3{0, 1, 0} : Vec3{1, 0, 0};
    return normalize(cross(a, helper));
}

std::int16_t quantize(float value, long limit) {
    return static_cast<std::int16_t>(std::clamp(std::lround(value), -limit, limit));
}

}  // namespace

int DemoMesh::vertex(Vec3 position, Vec3 normal, float u, float v) {
    positions.push_back(position);
    normals.push_back(normal);
    uvs.push_back({u, v});
    return static_cast<int>(positions.size()) - 1;
}

void DemoMesh::triangle(int a, int b, int c, Vec3 outward) {
    const Vec3 pa = positions[static_cast<std::size_t>(a)];
    const Vec3 n = cross(subtract(positions[static_cast<std::size_t>(b)], pa),
                         subtract(positions[static_cast<std::size_t>(c)], pa));
    if (dot(n, outward) < 0)
        std::swap(b, c);
    triangles.push_back({static_cast<std::uint16_t>(a), static_cast<std::uint16_t>(b),
                         static_cast<std::uint16_t>(c)});
}

void DemoMesh::quad(int a, int b, int c, int d, Vec3 outward) {
    triangle(a, b, c, outward);
    triangle(a, c, d, outward);
}

DemoMesh taperedCylinder(Vec3 base, Vec3 axis, float length, float baseRadius, float topRadius,
                         int sides) {
    DemoMesh mesh;
    const Vec3 side1 = across(axis);
    const Vec3 side2 = cross(axis, side1);
    const Vec3 top = add(base, scaleBy(axis, length));
    for (int i = 0; i <= sides; ++i) {
        const float angle = 2 * kPi * static_cast<float>(i) / static_cast<float>(sides);
        const Vec3 radial = add(scaleBy(side1, std::cos(angle)), scaleBy(side2, std::sin(angle)));
        const float u = static_cast<float>(i) / static_cast<float>(sides);
        mesh.vertex(add(base, scaleBy(radial, baseRadius)), radial, u, 1);
        mesh.vertex(add(top, scaleBy(radial, topRadius)), radial, u, 0);
    }
    for (int i = 0; i < sides; ++i) {
        const int b = 2 * i;
        const float angle = 2 * kPi * (static_cast<float>(i) + 0.5f) / static_cast<float>(sides);
        const Vec3 radial = add(scaleBy(side1, std::cos(angle)), scaleBy(side2, std::sin(angle)));
        mesh.quad(b, b + 2, b + 3, b + 1, radial);
    }
    // End caps as fans round their centres.
    const int bottomCentre = mesh.vertex(base, negate(axis), 0.5f, 1);
    const int topCentre = mesh.vertex(top, axis, 0.5f, 0);
    for (int i = 0; i < sides; ++i) {
        mesh.triangle(bottomCentre, 2 * i, 2 * i + 2, negate(axis));
        mesh.triangle(topCentre, 2 * i + 1, 2 * i + 3, axis);
    }
    return mesh;
}

DemoMesh pyramid(float baseSide, float height) {
    DemoMesh mesh;
    const float h = baseSide / 2;
    const Vec3 corners[4] = {{-h, 0, -h}, {h, 0, -h}, {h, 0, h}, {-h, 0, h}};
    const Vec3 apex{0, height, 0};
    for (int i = 0; i < 4; ++i) {
        const Vec3 a = corners[i];
        const Vec3 b = corners[(i + 1) % 4];
        const Vec3 outward = normalize(add(add(a, b), Vec3{0, height / 2, 0}));
        const int ia = mesh.vertex(a, outward, 0, 1);
        const int ib = mesh.vertex(b, outward, 1, 1);
        const int ic = mesh.vertex(apex, outward, 0.5f, 0);
        mesh.triangle(ia, ib, ic, outward);
    }
    const Vec3 down{0, -1, 0};
    int base[4];
    for (int i = 0; i < 4; ++i) {
        base[i] =
            mesh.vertex(corners[i], down, i == 1 || i == 2 ? 1.0f : 0.0f, i >= 2 ? 1.0f : 0.0f);
    }
    mesh.quad(base[0], base[1], base[2], base[3], down);
    return mesh;
}

ClfObject toClfObject(const DemoMesh& mesh, const std::string& name,
                      std::uint32_t textureNameIndex) {
    ClfObject object;
    object.name = name;
    object.textureNameIndex = textureNameIndex;
    object.doubleSided = true;
    for (std::size_t i = 0; i < mesh.positions.size(); ++i) {
        const Vec3 p = mesh.positions[i];
        const Vec3 n = mesh.normals[i];
        object.vertices.push_back(ClfVertex{p.x, p.y, p.z, n.x, n.y, n.z, 0xFFFFFFFFu});
    }
    for (const auto& t : mesh.triangles) {
        ClfTriangle triangle;
        triangle.a = t[0];
        triangle.b = t[1];
        triangle.c = t[2];
        triangle.textureIndex = static_cast<std::uint16_t>(textureNameIndex);
        for (int k = 0; k < 3; ++k) {
            triangle.u[k] = mesh.uvs[t[static_cast<std::size_t>(k)]][0];
            triangle.v[k] = mesh.uvs[t[static_cast<std::size_t>(k)]][1];
        }
        object.triangles.push_back(triangle);
    }
    return object;
}

CffModel toCffModel(const DemoMesh& mesh, const std::string& textureName,
                    const char (&shortName)[5]) {
    return toCffModel({CffPart{mesh, std::string(shortName, 4), {}}}, textureName);
}

CffModel toCffModel(const std::vector<CffPart>& parts, const std::string& textureName) {
    Vec3 low = parts.at(0).mesh.positions.at(0), high = low;
    for (const CffPart& part : parts) {
        for (const Vec3& p : part.mesh.positions) {
            low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
            high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
        }
    }
    const Vec3 centre = scaleBy(add(low, high), 0.5f);
    // A position decodes as integer × 2 × scale / 65536 + origin.
    const Vec3 half = scaleBy(subtract(high, low), 0.5f);
    const float scale[3] = {std::max(half.x, 1e-4f), std::max(half.y, 1e-4f),
                            std::max(half.z, 1e-4f)};
    constexpr float kUvScale = 4096;

    CffModel model;
    model.header.origin[0] = centre.x, model.header.origin[1] = centre.y;
    model.header.origin[2] = centre.z;
    for (int i = 0; i < 3; ++i)
        model.header.scale[i] = scale[i];
    model.header.extent = length(half);
    model.textureNames = {textureName};

    CffLevel level;
    for (const CffPart& part : parts) {
        const DemoMesh& mesh = part.mesh;
        CffObject object;
        object.header.center[0] = centre.x, object.header.center[1] = centre.y;
        object.header.center[2] = centre.z;
        object.header.uvScale = kUvScale;
        object.header.radius = length(half);
        object.header.doubleSidedFlag = 1;
        std::copy_n(part.shortName.begin(), std::min<std::size_t>(part.shortName.size(), 4),
                    object.header.shortName.begin());
        for (std::size_t i = 0; i < mesh.positions.size(); ++i) {
            const Vec3 p = subtract(mesh.positions[i], centre);
            const Vec3 n = mesh.normals[i];
            CffVertex v;
            v.px = quantize(p.x * 32768 / scale[0], 32767L);
            v.py = quantize(p.y * 32768 / scale[1], 32767L);
            v.pz = quantize(p.z * 32768 / scale[2], 32767L);
            v.pu = quantize(mesh.uvs[i][0] * kUvScale, 32767L);
            v.pv = quantize(mesh.uvs[i][1] * kUvScale, 32767L);
            v.qx = static_cast<std::int8_t>(std::lround(n.x * 127));
            v.qy = static_cast<std::int8_t>(std::lround(n.y * 127));
            v.qz = static_cast<std::int8_t>(std::lround(n.z * 127));
            object.vertices.push_back(v);
        }
        object.triangles = mesh.triangles;
        object.keys = part.keys;
        level.objects.push_back(std::move(object));
    }
    model.levels = {std::move(level)};
    return model;
}

}  // namespace slipway::demo
