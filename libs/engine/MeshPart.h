#pragma once
// A mesh part: one indexed triangle list of device vertices, drawn with one call, plus what the
// model editor keeps per part (name, fill colour, editing marks, key track).

#include <cstdint>
#include <string>
#include <vector>

#include "engine/Vec3.h"
#include "formats/KeyRecord.h"

namespace slipway {

// The 32-byte device vertex: position, normal, one pair of texture coordinates.
struct RenderVertex {
    float x = 0, y = 0, z = 0;
    float nx = 0, ny = 0, nz = 0;
    float u = 0, v = 0;

    bool operator==(const RenderVertex&) const = default;
};
static_assert(sizeof(RenderVertex) == 32, "the device vertex layout is 8 packed floats");

// The model editor's copy of a part's positions as read (before any posing) and its keys.
struct KeyTrack {
    std::vector<Vec3> positions;
    std::vector<KeyRecord> keys;
};

struct MeshPart {
    std::vector<RenderVertex> vertices;
    std::vector<std::uint16_t> indices;  // triangle list, three per triangle
    std::uint32_t texture = 0;           // TextureStore index; 0 also for a missing texture
    bool doubleSided = false;            // drawn without back-face culling

    std::string name;  // object name from the model file, up to 63 characters; empty when made

    // Model editor only.
    std::uint32_t fillTexture = 0;  // single-colour texture made for this part
    std::uint32_t fillColor = 0;    // its colour value, unique among the loaded parts
    bool hidden = false;            // left out of drawing, marking and saving
    int mark = 0;                   // editing selection: 0 none, 1 picked (red), 2 blue
    // The texture's base name as the model file gave it (up to 32 characters; empty when the
    // file named none). A save writes it when the store does not hold that texture.
    std::string textureName;
    KeyTrack keyTrack;

    std::uint32_t vertexCount() const { return static_cast<std::uint32_t>(vertices.size()); }
    std::uint32_t indexCount() const { return static_cast<std::uint32_t>(indices.size()); }
};

inline constexpr std::size_t kMeshNameLimit = 63;

}  // namespace slipway
