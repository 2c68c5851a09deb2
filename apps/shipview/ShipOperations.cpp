#include "shipview/ShipOperations.h"

#include "base/UserPrompt.h"

namespace slipway {

ShipOperations shipOperations() {
    ShipOperations operations;
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
