#include "shipview/ShipOperations.h"

#include "base/UserPrompt.h"
#include "engine/ShipAssembly.h"
#include "engine/ShipRescaling.h"
#include "formats/FileRescaling.h"

namespace slipway {

ShipOperations shipOperations() {
    ShipOperations operations;
    operations.assembleShip = [](Scene& scene, const std::string& defPath,
                                 const ModelServices& services) {
        return assembleShip(scene, defPath, services);
    };
    operations.rescaleClf = [](const std::string& path, float factor) { rescaleClf(path, factor); };
    operations.rescaleCff = [](const std::string& path, float factor) { rescaleCff(path, factor); };
    operations.rescaleShip = [](const std::string& defPath, float factor,
                                const ModelServices& services) {
        rescaleShip(defPath, factor, services.searchPaths, services.prompt);
    };
    return operations;
}

int readShipviewFile(ModelFileKind kind, const std::string& path, Scene& scene,
                     const ModelServices& services, const ShipOperations& operations) {
    switch (kind) {
        case ModelFileKind::Clf:
            return loadClf(scene, path, Placement{}, services);
        case ModelFileKind::Cff:
            return loadCff(scene, path, Placement{}, services);
        case ModelFileKind::Def:
            if (!operations.assembleShip) {
                tell(services.prompt, kNoShipAssemblyText);
                return 0;
            }
            return operations.assembleShip(scene, path, services);
    }
    return -1;
}

}  // namespace slipway
