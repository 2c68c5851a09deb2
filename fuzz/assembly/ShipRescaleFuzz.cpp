// Rescaling a whole ship from a hostile DEF file on a scratch copy. The files it names are
// looked up beside it, where a model, a sail file and whatever the input names may be.

#include "FuzzFile.h"
#include "engine/ShipRescaling.h"

using namespace slipway;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static ScriptedPrompt prompt;
    static SearchPaths paths(fuzz::scratchDirectory().string());
    prompt.reset();
    // Names with directory parts could reach files outside the scratch directory, and this
    // target rewrites what it finds: separators in the File fields become '_'.
    std::vector<std::uint8_t> def(data, data + size);
    for (std::size_t record = 4; record + 296 <= def.size(); record += 296) {
        for (std::size_t i = record + 12; i < record + 268; ++i) {
            if (def[i] == '/' || def[i] == '\\' || def[i] == ':')
                def[i] = '_';
        }
    }
    const std::string path = fuzz::writeScratch("ship.def", def.data(), def.size());
    // The input's own bytes also stand as the model and sail files its records may name.
    fuzz::writeScratch("a.clf", data, size);
    fuzz::writeScratch("a.cff", data, size);
    fuzz::writeScratch("a.sail", data, size);
    rescaleShip(path, 1.5f, paths, prompt);
    return 0;
}
