#pragma once
// Reader services for fuzzing: a prompt that answers OK without printing, no trace, and search
// paths in a directory that holds no textures.

#include "base/Clock.h"
#include "base/DebugTrace.h"
#include "base/UserPrompt.h"
#include "engine/ModelLoader.h"

namespace slipway::fuzz {

class QuietOkPrompt : public UserPrompt {
  public:
    PromptAnswer show(std::string_view, PromptButtons buttons) override {
        return buttons == PromptButtons::YesNo ? PromptAnswer::Yes : PromptAnswer::Ok;
    }
};

struct FuzzServices {
    const ViewerRules& rules;
    TextureStore textures;
    SearchPaths paths{"/nonexistent-slipway-fuzz"};
    QuietOkPrompt prompt;
    NullTrace trace;
    NullSceneListener listener;
    FakeClock clock;
    int warnMissing = 0;

    explicit FuzzServices(const ViewerRules& rules) : rules(rules), textures(rules) {}
    ModelServices services() {
        return ModelServices{rules, textures, paths, prompt, trace, listener, clock, warnMissing};
    }
};

// Loads `data` by both viewers' rules, each into a scene that already holds one object (so parents and
// placement are exercised), and walks the result the way the renderer and statistics do.
template <typename Load>
void loadInBothForms(const std::uint8_t* data, std::size_t size, Load load) {
    const std::span<const std::uint8_t> bytes(data, size);
    for (const ViewerRules* rules : {&kShipviewRules, &kMeshviewRules}) {
        FuzzServices s(*rules);
        Scene scene(rules->sceneSlots);
        auto root = std::make_unique<SceneObject>();
        root->kind = ObjectKind::Model;
        scene.add(std::move(root));
        const int slot =
            load(scene, bytes, Placement{0, Vec3{1, 2, 3}, Vec3{0.1f, 0.2f, 0.3f}}, s.services());
        if (SceneObject* object = scene.object(slot)) {
            for (int level = 0; level < kMaxLevels; ++level) {
                scene.setLevel(level);
                for (const MeshPart& part : object->meshes()) {
                    for (std::uint16_t index : part.indices) {
                        if (index >= part.vertices.size())
                            __builtin_trap();
                    }
                }
            }
            (void)scene.statistics();
            CameraObject camera;
            scene.fitCamera(camera);
        }
    }
}

}  // namespace slipway::fuzz
