#pragma once
// A scene as one binary glTF 2.0 file (GLB) with its textures embedded, for Blender, web
// viewers and game engines. Both viewers call it with their session's scene and textures.
//
// What the file holds:
// - One node per exported object, in slot order, named after its model file ("sail", "flag"
//   or "pennant" for generated parts), hung below the node of its parent object with its local
//   transform, so moving a mast moves its yards. A parent that is not exported hands its
//   children on to its own parent.
// - Below each object node, one node and one mesh per mesh part of the current level, named
//   after the part (else "<object> part <k>"). Parts without a whole triangle are left out,
//   as are hidden parts.
// - Coordinates converted to glTF's frame as export/GltfAxes.h describes.
// - Positions, normals, texture coordinates and 16-bit indices as the viewer draws them; flags
//   in their resting shape, whatever their wave. Normals are scaled to unit length. Sails and
//   flags carry one fixed placeholder direction each, so their normals, and any normal of
//   zero length, are made from the faces around the vertex instead. Coordinates that are not
//   finite numbers are written as 0.
// - One material per texture, culling and alpha test: double-sided parts are double-sided,
//   textures drawn with alpha testing are masked at 8/255 like the renderer's test, no metal,
//   full roughness. Textures are PNG pictures in the binary chunk, sampled as the renderer
//   does (nearest texel, repeated). A part whose texture index names no loaded texture is
//   untextured white.
// - Names in UTF-8: a name that is not valid UTF-8 is read as Latin-1.
//
// The document is written by tinygltf; the binary chunk is streamed to the file part by part,
// so a large ship is never held twice in memory.

#include <cstdint>
#include <string>
#include <vector>

#include "engine/Scene.h"
#include "engine/TextureStore.h"
#include "engine/ViewerRules.h"

namespace slipway {

struct GltfExportOptions {
    // Which objects go out, by the viewer's own drawing rule.
    DrawFilter filter = DrawFilter::ShipParts;
    // With ShipParts: cannon markers and patches as well (the viewer shows them only while C
    // or P is held).
    bool markers = false;
    // The file's "asset.generator" and the name of its one scene.
    std::string generator = "Slipway";
    std::string sceneName = "Scene";
};

struct GltfExportSummary {
    int objects = 0;  // object nodes
    int nodes = 0;    // object nodes and mesh-part nodes
    int meshes = 0;   // one per exported mesh part
    std::uint64_t vertices = 0;
    std::uint64_t triangles = 0;
    int materials = 0;
    int images = 0;
};

struct GltfExportResult {
    bool written = false;
    std::string error;  // why not, when not
    GltfExportSummary summary;
};

// The binary chunk of one GLB file is kept below 2 GiB, the most every reader takes.
inline constexpr std::uint64_t kMaxGlbBinaryBytes = 0x7FFFFFFFull;

// The GLB bytes of the scene. Empty when the scene's data does not fit in one GLB file.
std::vector<std::uint8_t> buildGlb(const Scene& scene, const TextureStore& textures,
                                   const GltfExportOptions& options,
                                   GltfExportSummary* summary = nullptr);

// buildGlb, written to `path` atomically: on failure an existing file stays as it was.
GltfExportResult writeGlb(const std::string& path, const Scene& scene, const TextureStore& textures,
                          const GltfExportOptions& options);

}  // namespace slipway
