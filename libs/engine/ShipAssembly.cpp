#include "engine/ShipAssembly.h"

#include "base/Format.h"
#include "base/Paths.h"
#include "engine/Flag.h"
#include "engine/Sail.h"
#include "formats/DefRecordReader.h"

namespace slipway {

namespace {

enum class ModelType { None, Clf, Cff, Other };

// By the extension after the last dot of the path: none without a dot.
ModelType modelType(const std::string& path) {
    const std::string extension = splitPath(path).extension;
    if (extension.empty())
        return ModelType::None;
    if (equalsIgnoringCase(extension, ".clf"))
        return ModelType::Clf;
    if (equalsIgnoringCase(extension, ".cff"))
        return ModelType::Cff;
    return ModelType::Other;
}

int loadModel(Scene& scene, ModelType type, const std::string& path, const Placement& placement,
              const ModelServices& services) {
    return type == ModelType::Clf ? loadClf(scene, path, placement, services)
                                  : loadCff(scene, path, placement, services);
}

Placement placementOf(const DefRecord& record, int parent) {
    return Placement{parent, Vec3{record.X, record.Y, record.Z},
                     Vec3{record.Ax, record.Ay, record.Az}};
}

// The slot built for the record at Link, when Link names an earlier record.
int parentSlot(const DefRecord& record, const std::vector<int>& slots, std::size_t index) {
    if (record.Link < 0 || static_cast<std::size_t>(record.Link) >= index)
        return -1;
    return slots[static_cast<std::size_t>(record.Link)];
}

int assembleWholeShip(Scene& scene, DefRecordReader& reader, const std::string& directory,
                        const ModelServices& services, std::vector<int>& slots) {
    DefRecord record;
    while (true) {
        const std::size_t index = reader.index();
        if (!reader.next(record))
            return 1;
        slots.push_back(-1);
        const int parent = parentSlot(record, slots, index);
        const int cls = record.Class;

        if (cls == kDefClassFlag) {
            // A flag never becomes a parent, and one that cannot be made stops nothing.
            makeFlag(scene, parent, record.Type, Vec3{record.X, record.Y, record.Z}, services);
            continue;
        }
        if (cls != kDefClassModel && cls != kDefClassSail && cls != kDefClassCannon &&
            cls != kDefClassPatch) {
            continue;
        }

        const std::string ownName = defFileName(record);
        std::string path = cls == kDefClassCannon ? std::string(kCannonMarkerFile) : ownName;
        if (!services.searchPaths.findModel(path, &directory, services.prompt))
            continue;

        int slot;
        if (cls == kDefClassSail) {
            slot = makeSail(scene, path, static_cast<int>(index), record.Type,
                            placementOf(record, parent), services);
        } else {
            const ModelType type = modelType(path);
            if (type != ModelType::Clf && type != ModelType::Cff)
                continue;
            slot = loadModel(scene, type, path, placementOf(record, parent), services);
        }
        if (slot < 0) {
            tell(services.prompt, formatText(kCantLoadPartText, ownName.c_str()));
            return 0;
        }
        if (cls == kDefClassPatch)
            scene.object(slot)->kind = ObjectKind::Patch;
        if (cls == kDefClassCannon)
            scene.object(slot)->kind = ObjectKind::Cannon;
        slots[index] = slot;
    }
}

int assembleModelRecords(Scene& scene, DefRecordReader& reader, const std::string& directory,
                        const ModelServices& services, std::vector<int>& slots) {
    DefRecord record;
    while (true) {
        const std::size_t index = reader.index();
        if (!reader.next(record, services.rules.defRecordLimit))
            return 1;
        slots.push_back(-1);
        if (record.Class != kDefClassModel)
            continue;

        const std::string ownName = defFileName(record);
        std::string path = ownName;
        if (!services.searchPaths.findModel(path, &directory, services.prompt))
            continue;
        const ModelType type = modelType(path);
        if (type == ModelType::None)
            continue;
        if (type == ModelType::Other) {
            tell(services.prompt, formatText(kUnknownModelTypeText, ownName.c_str()));
            return 0;
        }
        const int slot = loadModel(scene, type, path,
                                   placementOf(record, parentSlot(record, slots, index)), services);
        if (slot < 0) {
            tell(services.prompt, formatText(kCantOpenEditorModelText, ownName.c_str()));
            return 0;
        }
        slots[index] = slot;
    }
}

}  // namespace

int assembleShip(Scene& scene, const std::string& defPath, const ModelServices& services,
                 std::vector<int>* recordSlots) {
    services.warnMissing = 1;
    const ViewerRules& rules = services.rules;
    auto reader = rules.defRecordLimit != 0 ? openDefRecords(defPath, rules.defRecordLimit)
                                            : openDefRecords(defPath);
    if (!reader) {
        tell(services.prompt, formatText(kCantOpenDefText, defPath.c_str()));
        return 0;
    }
    const std::string directory = directoryOf(defPath);
    ModelServices partServices = services;
    partServices.shipFolder = directory;
    std::vector<int> slots;
    const int result =
        rules.shipAssembly == ShipAssemblyRule::ModelRecords
            ? assembleModelRecords(scene, *reader, directory, partServices, slots)
            : assembleWholeShip(scene, *reader, directory, partServices, slots);
    if (recordSlots)
        *recordSlots = std::move(slots);
    return result;
}

}  // namespace slipway
