#pragma once
// Everything a model reader needs, wired to test doubles: a scene by the chosen viewer rules,
// its texture store, search paths rooted in a fresh temporary directory, a scripted prompt, a
// recording trace and listener, and a fake clock.

#include <string>
#include <vector>

#include "TempDir.h"
#include "TestFiles.h"
#include "base/Clock.h"
#include "base/DebugTrace.h"
#include "base/UserPrompt.h"
#include "engine/ModelLoader.h"

namespace slipway::test {

struct SceneHarness {
    explicit SceneHarness(const ViewerRules& rules = kShipviewRules)
        : rules(rules), scene(rules.sceneSlots), textures(rules), paths(dir.path()) {}

    ModelServices services() {
        return ModelServices{rules, textures, paths, prompt, trace, listener, clock, warnMissing};
    }

    int clf(const std::vector<std::uint8_t>& bytes, const Placement& placement = {},
            const std::string& path = "model.clf") {
        return loadClfFromBytes(scene, bytes, path, placement, services());
    }
    int cff(const std::vector<std::uint8_t>& bytes, const Placement& placement = {},
            const std::string& path = "model.cff") {
        return loadCffFromBytes(scene, bytes, path, placement, services());
    }
    // Writes a file into the search paths' base directory, where texture lookups find it.
    std::string put(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        const std::string path = dir.file(name);
        writeBytes(path, bytes);
        return path;
    }

    const ViewerRules& rules;
    TempDir dir;
    Scene scene;
    TextureStore textures;
    SearchPaths paths;
    ScriptedPrompt prompt;
    RecordingTrace trace;
    RecordingSceneListener listener;
    FakeClock clock;
    int warnMissing = 1;
};

}  // namespace slipway::test
