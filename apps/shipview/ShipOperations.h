#pragma once
// The ship-level operations Shipview calls: assembling a whole ship from a DEF file and the
// in-place rescaling of model, sail and DEF files. Gathered here so the program reaches them
// through one place; an operation that is not available is left empty and the commands that
// need it say so.

#include <functional>
#include <string>

#include "engine/ModelLoader.h"
#include "engine/Scene.h"
#include "viewer/ModelFileKind.h"

namespace slipway {

struct ShipOperations {
    // Reads the ship described by `defPath` into the scene; 1 when read to its end.
    std::function<int(Scene& scene, const std::string& defPath, const ModelServices& services)>
        assembleShip;
    std::function<void(const std::string& path, float factor)> rescaleClf;
    std::function<void(const std::string& path, float factor)> rescaleCff;
    // Rescales the DEF file and the model and sail files it names.
    std::function<void(const std::string& defPath, float factor, const ModelServices& services)>
        rescaleShip;
};

ShipOperations shipOperations();

inline constexpr const char* kNoShipAssemblyText = "Ship descriptions cannot be read by this build";
inline constexpr const char* kNoRescalingText = "Files cannot be rescaled by this build";

// Reads `path` as `kind` into the (cleared) scene: a CLF or CFF model without parent, offset or
// angles, or a whole ship. Returns the reader's result (a slot, or 1/0 for a ship).
int readShipviewFile(ModelFileKind kind, const std::string& path, Scene& scene,
                     const ModelServices& services, const ShipOperations& operations);

}  // namespace slipway
