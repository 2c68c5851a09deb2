// The sail file: whole-file reading, the entry search and the sail generator on hostile bytes.

#include <cstdlib>

#include "base/Clock.h"
#include "base/DebugTrace.h"
#include "engine/Sail.h"
#include "formats/SailFile.h"

using namespace slipway;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    if (const auto entries = parseSailFile(bytes)) {
        // Whatever parses whole writes back to the same bytes, apart from negative counts.
        const auto again = parseSailFile(writeSailFile(*entries));
        if (!again || again->size() != entries->size())
            std::abort();
    }

    static Scene scene;
    static TextureStore textures;
    // A start-up directory that does not exist: texture lookups find nothing and write nothing.
    static SearchPaths paths("/nonexistent/slipway-fuzz");
    static ScriptedPrompt prompt;
    static NullTrace trace;
    static NullSceneListener listener;
    static FakeClock clock;
    static int warnMissing = 0;
    const ModelServices services{kShipviewRules, textures, paths, prompt, trace, listener, clock,
                                 warnMissing};
    if (scene.isFull())
        scene.clear(listener);
    prompt.reset();
    warnMissing = 0;
    const std::int32_t wanted = size > 0 ? data[0] % 8 : 0;
    const int slot = makeSailFromBytes(scene, bytes, wanted, 6, Placement{}, services);
    if (slot >= 0) {
        for (const MeshPart& part : scene.object(slot)->meshes()) {
            for (std::uint16_t index : part.indices) {
                if (index >= part.vertexCount())
                    std::abort();
            }
        }
    }
    return 0;
}
