#pragma once
// The rules by which the two viewers differ. Both viewers run the same scene, loaders, texture
// store, session and renderer; each has one constant value of this table, held by its session
// and handed to everything that needs a rule, which then reads the named field. Where a whole
// algorithm differs (the ship assembly, placing the camera), a field names which of the two
// functions runs.

#include <cstddef>
#include <cstdint>

#include "formats/LayoutWalk.h"

namespace slipway {

// How a ship description is turned into objects.
enum class ShipAssemblyRule {
    WholeShip,     // every class: models, sails, cannon markers, flags, patches
    ModelRecords,  // MODEL records only, each a plain model
};

// Which objects a frame draws.
enum class DrawFilter {
    ShipParts,   // models, sails, flags; patches while P is held, cannon markers while C is held
    ModelsOnly,  // MODEL objects only
};

// How the camera is aimed after an open.
enum class CameraFit {
    AroundBounds,  // from the box around every model
    FrontOnX,      // from the models' x and y extents, looking along z
};

// The viewers' fixed projection: a point (x, y, z) in view space goes to (s·x, s·y, z + n, z).
struct ProjectionValues {
    float scale = 32.0f;     // P11 = P22
    float nearTerm = -1.0f;  // P43; P33 = P34 = 1
};

// How the texture store decodes TGA pictures.
struct TgaDecodeRules {
    // Skip the identification field and as many bytes again as header byte 1 gives.
    bool skipsIdentification = false;
    // Sides rounded down to 32, 64, 128 or 256 (nearest sampling), instead of as stored.
    bool roundsSides = false;
    // Rows from the top when a 24-bit picture's origin bit says so, instead of always bottom up.
    bool honoursTopOrigin = false;
};

struct ViewerRules {
    int sceneSlots = 512;
    int textureSlots = 256;
    // The levels of detail read from a model file.
    LevelsWalked levelsRead = LevelsWalked::Readable;
    // Key tracks, fill textures and key counts. (Names of files and mesh parts are kept by both.)
    bool keepsEditData = false;
    // Normals computed from the faces after a read; otherwise kept as read.
    bool recomputesNormals = true;
    // The version written by the model editor's save is refused with "Uncorrect File version".
    bool refusesEditedClf = true;
    // A triangle index beyond its vertices asks "Corrupted object" (Cancel stops the read)
    // before it is replaced by 0; otherwise it is replaced without a word.
    bool asksAboutBadIndex = true;
    TgaDecodeRules tga{};
    // Texture names compared ignoring case when a load looks for a name already stored.
    bool textureNamesIgnoreCase = false;
    // Each texture load is written to the developer trace.
    bool tracesTextureLoads = false;
    // A DEF file is read up to this many records whatever its count says; 0 = its own count.
    std::size_t defRecordLimit = 0;
    ShipAssemblyRule shipAssembly = ShipAssemblyRule::WholeShip;
    DrawFilter drawFilter = DrawFilter::ShipParts;
    // Every mesh sets its texture, alpha test and culling, and empty or hidden meshes are
    // skipped; otherwise state is set only while any texture is loaded.
    bool drawStatePerMesh = false;
    ProjectionValues projection{};
    // Objects are animated at every idle pass (flags wave).
    bool animates = true;
    // The scene's notifications reach the window after the command that caused them.
    bool queuesNotifications = false;
    CameraFit cameraFit = CameraFit::AroundBounds;
};

inline constexpr ViewerRules kShipviewRules{};

inline constexpr ViewerRules kMeshviewRules{
    .sceneSlots = 64,
    .textureSlots = 1024,
    .levelsRead = LevelsWalked::First,
    .keepsEditData = true,
    .recomputesNormals = false,
    .refusesEditedClf = false,
    .asksAboutBadIndex = false,
    .tga = {.skipsIdentification = true, .roundsSides = true, .honoursTopOrigin = true},
    .textureNamesIgnoreCase = true,
    .tracesTextureLoads = true,
    .defRecordLimit = 420,
    .shipAssembly = ShipAssemblyRule::ModelRecords,
    .drawFilter = DrawFilter::ModelsOnly,
    .drawStatePerMesh = true,
    .projection = {2.6f, -0.1f},
    .animates = false,
    .queuesNotifications = true,
    .cameraFit = CameraFit::FrontOnX,
};

}  // namespace slipway
