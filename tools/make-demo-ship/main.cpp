// make-demo-ship OUTDIR: writes the demo ship into OUTDIR. Installed as slipway-demo-ship; it
// names itself as it was called.

#include <cstdio>
#include <string>

#include "base/Paths.h"
#include "make-demo-ship/DemoShip.h"

namespace {

std::string help(const std::string& name) {
    return "Usage: " + name + " OUTDIR\n"
           "       " + name + " --help | --version\n"
           "\n"
           "Writes a complete small ship into OUTDIR (made with its parents when missing), with\n"
           "the project's own writers: Demo.def, the hull, masts, yards and bowsprit as .clf and\n"
           ".cff models, cannon positions, a patch plate, six sails in Demo.sail, two flags and a\n"
           "pennant, the cannon marker, and every texture as a TGA picture. Files already there\n"
           "are replaced.\n"
           "\n"
           "Options:\n"
           "  OUTDIR       the folder to write into\n"
           "  -h, --help   show this text\n"
           "  --version    show the version\n"
           "\n"
           "Examples:\n"
           "  " + name + " demo && cd demo && shipview Demo.def\n"
           "\n"
           "Exit codes:\n"
           "  0  the demo was written\n"
           "  1  a file could not be written\n"
           "  2  wrong command line\n";
}

int usageError(const std::string& name, const std::string& error) {
    std::fprintf(stderr, "%s: %s\nUsage: %s OUTDIR\nTry '%s --help'.\n", name.c_str(),
                 error.c_str(), name.c_str(), name.c_str());
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string name = argc > 0 ? slipway::fileName(argv[0]) : "make-demo-ship";
    std::string folder;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (!optionsEnded && (arg == "--help" || arg == "-h")) {
            std::fputs(help(name).c_str(), stdout);
            return 0;
        }
        if (!optionsEnded && arg == "--version") {
            std::printf("%s %s\n", name.c_str(), SLIPWAY_VERSION);
            return 0;
        }
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
            // Never a folder named like an option.
            return usageError(name, "unknown option " + arg);
        } else if (!folder.empty()) {
            return usageError(name, "only one folder can be given");
        } else {
            folder = arg;
        }
    }
    if (folder.empty())
        return usageError(name, "no folder given");
    if (!slipway::demo::writeDemoShip(folder)) {
        std::fprintf(stderr, "%s: cannot write the demo ship into %s\n", name.c_str(),
                     folder.c_str());
        return 1;
    }
    return 0;
}
