#include "engine/SceneObject.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace slipway {

int SceneObject::animate(std::uint32_t) {
    return 1;
}

std::vector<MeshPart>& SceneObject::meshes() {
    return lodMeshes[static_cast<std::size_t>(currentLevel)];
}

const std::vector<MeshPart>& SceneObject::meshes() const {
    return lodMeshes[static_cast<std::size_t>(currentLevel)];
}

bool SceneObject::selectLevel(int level) {
    if (!hasLevel(level))
        return false;
    currentLevel = level;
    return true;
}

void SceneObject::finishMeshes(bool recomputeNormals) {
    computeBounds();
    if (recomputeNormals)
        computeNormals();
    shiftTexCoords();
}

void SceneObject::computeBounds() {
    const std::vector<MeshPart>& parts = meshes();
    if (parts.empty())
        return;
    bool any = false;
    Vec3 lo{}, hi{};
    for (const MeshPart& part : parts) {
        for (const RenderVertex& v : part.vertices) {
            if (!any) {
                lo = hi = Vec3{v.x, v.y, v.z};
                any = true;
                continue;
            }
            if (v.x < lo.x) {
                lo.x = v.x;
            } else if (v.x > hi.x) {
                hi.x = v.x;
            }
            if (v.y < lo.y) {
                lo.y = v.y;
            } else if (v.y > hi.y) {
                hi.y = v.y;
            }
            if (v.z < lo.z) {
                lo.z = v.z;
            } else if (v.z > hi.z) {
                hi.z = v.z;
            }
        }
    }
    boundsCenter = Vec3{(hi.x + lo.x) / 2, (hi.y + lo.y) / 2, (hi.z + lo.z) / 2};
    boundsSize = Vec3{hi.x - lo.x, hi.y - lo.y, hi.z - lo.z};
}

namespace {

// The unit normal of the triangle (p0, p1, p2), or (0, 0, 0) when it has no direction.
Vec3 faceNormal(const RenderVertex& p0, const RenderVertex& p1, const RenderVertex& p2) {
    const float e1x = p1.x - p0.x, e1y = p1.y - p0.y, e1z = p1.z - p0.z;
    const float e2x = p2.x - p0.x, e2y = p2.y - p0.y, e2z = p2.z - p0.z;
    const float nx = e1y * e2z - e1z * e2y;
    const float ny = e1z * e2x - e1x * e2z;
    const float nz = e1x * e2y - e1y * e2x;
    const float len2 = nx * nx + ny * ny + nz * nz;
    if (len2 >= FLT_MIN && len2 <= FLT_MAX) {
        const float inv = 1.0f / std::sqrt(len2);
        return Vec3{nx * inv, ny * inv, nz * inv};
    }
    // Very small or very large: in double the length cannot underflow or overflow. A zero or
    // non-finite length (no area, or corners at infinity) gives no direction.
    const double len = std::sqrt(static_cast<double>(nx) * nx + static_cast<double>(ny) * ny +
                                 static_cast<double>(nz) * nz);
    if (!(len > 0 && len < HUGE_VAL))
        return Vec3{};
    return Vec3{static_cast<float>(nx / len), static_cast<float>(ny / len),
                static_cast<float>(nz / len)};
}

}  // namespace

void SceneObject::computeNormals() {
    std::vector<std::uint8_t> done;
    for (MeshPart& part : meshes()) {
        RenderVertex* verts = part.vertices.data();
        const std::size_t count = part.vertices.size();
        const std::uint16_t* idx = part.indices.data();
        // A vertex ends with the normal of the last triangle that uses it. Walking the
        // triangles from the last, each vertex is written once, and a triangle whose corners
        // all have their normal already needs no normal of its own.
        done.assign(count, 0);
        for (std::size_t t = part.indices.size() / 3; t-- > 0;) {
            const std::size_t a = idx[3 * t], b = idx[3 * t + 1], c = idx[3 * t + 2];
            // Indices are checked when the mesh is built; this guard only keeps a hand-made
            // mesh from reading outside its vertices.
            if (a >= count || b >= count || c >= count)
                continue;
            if (done[a] && done[b] && done[c])
                continue;
            const Vec3 n = faceNormal(verts[a], verts[b], verts[c]);
            for (std::size_t k : {a, b, c}) {
                if (done[k])
                    continue;
                done[k] = 1;
                verts[k].nx = n.x;
                verts[k].ny = n.y;
                verts[k].nz = n.z;
            }
        }
        for (std::size_t i = 0; i < count; ++i) {
            if (!done[i])
                verts[i].nx = verts[i].ny = verts[i].nz = 0;
        }
    }
}

void SceneObject::shiftTexCoords() {
    for (MeshPart& part : meshes()) {
        if (part.vertices.empty())
            continue;
        float maxU = part.vertices[0].u, maxV = part.vertices[0].v;
        for (const RenderVertex& v : part.vertices) {
            if (v.u > maxU)
                maxU = v.u;
            if (v.v > maxV)
                maxV = v.v;
        }
        // A non-finite largest value has no whole-number shift; it is left alone.
        const bool shiftU = std::isfinite(maxU) && (maxU > 1.0f || maxU < -50.0f);
        const bool shiftV = std::isfinite(maxV) && (maxV > 1.0f || maxV < -50.0f);
        const float du = shiftU ? std::floor(maxU) : 0.0f;
        const float dv = shiftV ? std::floor(maxV) : 0.0f;
        if (!shiftU && !shiftV)
            continue;
        for (RenderVertex& v : part.vertices) {
            v.u -= du;
            v.v -= dv;
        }
    }
}

void poseByKey(MeshPart& part, const KeyRecord& key, bool turnNormals) {
    const float sx = std::sin(key.ax), cx = std::cos(key.ax);
    const float sy = std::sin(key.ay), cy = std::cos(key.ay);
    const float sz = std::sin(key.az), cz = std::cos(key.az);
    // Rows of R = RotY(ay)·RotX(ax)·RotZ(az) for column vectors.
    const float r00 = cz * cy + sz * sx * sy, r01 = cz * sx * sy - sz * cy, r02 = cx * sy;
    const float r10 = sz * cx, r11 = cz * cx, r12 = -sx;
    const float r20 = sz * sx * cy - cz * sy, r21 = cz * sx * cy + sz * sy, r22 = cx * cy;
    const std::size_t count = std::min(part.vertices.size(), part.keyTrack.positions.size());
    for (std::size_t i = 0; i < count; ++i) {
        const Vec3 p = part.keyTrack.positions[i];
        RenderVertex& v = part.vertices[i];
        v.x = -(r00 * p.x + r01 * p.y + r02 * p.z + key.tx);
        v.y = r10 * p.x + r11 * p.y + r12 * p.z + key.ty;
        v.z = r20 * p.x + r21 * p.y + r22 * p.z + key.tz;
    }
    if (!turnNormals)
        return;
    for (RenderVertex& v : part.vertices) {
        const float nx = v.nx, ny = v.ny, nz = v.nz;
        v.nx = r00 * nx + r01 * ny + r02 * nz;
        v.ny = -(r10 * nx + r11 * ny + r12 * nz);
        v.nz = -(r20 * nx + r21 * ny + r22 * nz);
    }
}

}  // namespace slipway
