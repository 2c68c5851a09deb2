#include "base/DebugTrace.h"

#include <cstdio>
#include <cstdlib>

namespace slipway {

StderrTrace::StderrTrace() : enabled_(std::getenv("SLIPWAY_TRACE") != nullptr) {}

void StderrTrace::trace(std::string_view text) {
    if (!enabled_) return;
    std::fprintf(stderr, "OUT: %.*s\n", static_cast<int>(text.size()), text.data());
}

}  // namespace slipway
