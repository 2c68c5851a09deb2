#include "formats/LayoutWalk.h"

namespace slipway {

bool takeObjectRuns(ByteReader& in, std::initializer_list<RecordRun> runs, std::size_t level,
                    std::size_t object, std::optional<LayoutFailure>& failure) {
    for (const RecordRun& run : runs) {
        const std::size_t at = in.position();
        *run.out = takeRecords(in, run.count, run.size);
        if (in.failed()) {
            failure = LayoutFailure{at, objectBlock(level, object, run.name)};
            return false;
        }
    }
    return true;
}

std::string objectBlock(std::size_t level, std::size_t object, const char* block) {
    return "level " + std::to_string(level) + ", object " + std::to_string(object) + ": " + block;
}

}  // namespace slipway
