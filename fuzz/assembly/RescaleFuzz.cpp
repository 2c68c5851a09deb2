// The in-place rescalers on a scratch copy of hostile bytes: a file is either rewritten to the
// same length, still parsing, or left exactly as it was. RESCALE_KIND picks the rescaler.

#include <cstdlib>

#include "FuzzFile.h"
#include "formats/FileRescaling.h"

using namespace slipway;

namespace {

struct Kind {
    const char* name;
    bool (*onFile)(const std::string&, float);
    std::optional<std::vector<std::uint8_t>> (*onBytes)(std::span<const std::uint8_t>, float);
};

#if RESCALE_KIND == 0
const Kind kKind{"model.clf", &rescaleClf, &rescaledClf};
#elif RESCALE_KIND == 1
const Kind kKind{"model.cff", &rescaleCff, &rescaledCff};
#elif RESCALE_KIND == 2
const Kind kKind{"ship.sail", &rescaleSailFile, &rescaledSailFile};
#else
const Kind kKind{"ship.def", &rescaleDefPositions, &rescaledDefPositions};
#endif

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::uint8_t> original(data, data + size);
    const std::string path = fuzz::writeScratch(kKind.name, data, size);
    const bool rewritten = kKind.onFile(path, 2.0f);
    const std::vector<std::uint8_t> after = fuzz::readScratch(path);
    if (!rewritten && after != original)
        std::abort();
    if (after.size() != original.size())
        std::abort();
    if (rewritten && !kKind.onBytes(after, 0.5f))
        std::abort();
    return 0;
}
