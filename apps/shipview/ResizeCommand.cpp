#include "shipview/ResizeCommand.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

#include "base/Clock.h"
#include "base/Format.h"
#include "engine/ViewerSession.h"

namespace slipway {

namespace {

bool parseSize(const std::string& text, float& value) {
    char* end = nullptr;
    errno = 0;
    const double parsed = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || errno == ERANGE || !std::isfinite(parsed)) {
        return false;
    }
    value = static_cast<float>(parsed);
    return true;
}

}  // namespace

int runResize(const std::vector<std::string>& args, const std::string& baseDirectory,
              std::ostream& out, std::ostream& err) {
    if (args.size() != 2) {
        err << "shipview: --resize needs SIZE and FILE\n";
        return 2;
    }
    float size = 0.0f;
    if (!parseSize(args[0], size)) {
        err << "shipview: --resize needs a number for SIZE, not " << args[0] << "\n";
        return 2;
    }
    const std::string& file = args[1];
    const auto kind = modelFileKindOf(file);
    if (!kind) {
        err << "shipview: " << file << " is not a .clf, .cff or .def file\n";
        return 2;
    }

    SteadyClock clock;
    ViewerSession session(kShipviewRules, baseDirectory, clock);
    HeadlessPrompt prompt;
    session.setPrompt(&prompt);
    if (session.open(*kind, file, RecentList::Keep).modelsRead == 0) {
        err << "shipview: no model was read from " << file << "\n";
        return 1;
    }
    const ResizeResult result = session.resize(size);
    switch (result.outcome) {
        case ResizeResult::Refused:
            err << "shipview: " << result.message << "\n";
            return 1;
        case ResizeResult::Unchanged:
            break;
        case ResizeResult::Rescaled:
            if (!result.filesRewritten) {
                err << "shipview: " << file << " could not be rescaled\n";
                return 1;
            }
            break;
    }
    out << formatText("%g", static_cast<double>(session.openedSize())) << "\n";
    return 0;
}

}  // namespace slipway
