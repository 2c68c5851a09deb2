#include "shipview/InfoCommand.h"

#include <cstdlib>

#include "base/Clock.h"
#include "base/Paths.h"
#include "engine/InfoReport.h"
#include "engine/ViewerSession.h"
#include "shipview/FileCheck.h"

namespace slipway {

namespace {

bool parseMilliseconds(const std::string& text, std::uint32_t& value) {
    char* end = nullptr;
    const unsigned long long parsed = std::strtoull(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || text[0] == '-' || parsed > 0xFFFFFFFFull) {
        return false;
    }
    value = static_cast<std::uint32_t>(parsed);
    return true;
}

}  // namespace

int runInfo(const std::vector<std::string>& args, const std::string& baseDirectory,
            std::ostream& out, std::ostream& err) {
    bool cancel = false;
    bool geometry = false;
    bool animate = false;
    std::uint32_t animateMs = 0;
    std::string file;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--cancel") {
            cancel = true;
        } else if (arg == "--geometry") {
            geometry = true;
        } else if (arg == "--animate") {
            if (i + 1 >= args.size() || !parseMilliseconds(args[i + 1], animateMs)) {
                err << "shipview: --animate needs a number of milliseconds\n";
                return 2;
            }
            animate = true;
            ++i;
        } else if (!arg.empty() && arg[0] == '-' && arg != "-") {
            err << "shipview: unknown option " << arg << "\n";
            return 2;
        } else if (file.empty()) {
            file = arg;
        } else {
            err << "shipview: only one file can be given\n";
            return 2;
        }
    }
    if (file.empty()) {
        err << "shipview: --info needs a file\n";
        return 2;
    }
    const auto kind = modelFileKindOf(file);
    if (!kind) {
        err << "shipview: " << file << " is not a .clf, .cff or .def file\n";
        return 2;
    }

    SteadyClock clock;
    ViewerSession session(kShipviewRules, baseDirectory, clock);
    const FileCheck check = checkFile(session, *kind, file, cancel);
    if (animate) {
        session.animate(animateMs);
    }
    out << infoJson(
        {session.scene(), session.textures(), session.camera(), check.allMessages(file), geometry});
    return checkExitCode(check, session.scene());
}

}  // namespace slipway
