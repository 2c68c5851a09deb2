// make-demo-ship OUTDIR: writes the demo ship into OUTDIR.

#include <cstdio>
#include <string>

#include "make-demo-ship/DemoShip.h"

namespace {

const char kHelp[] =
    "Usage: make-demo-ship OUTDIR\n"
    "       make-demo-ship --help | --version\n"
    "\n"
    "Writes a complete small ship into OUTDIR (made with its parents when missing), with\n"
    "the project's own writers: Demo.def, the hull, masts, yards and bowsprit as .clf and\n"
    ".cff models, cannon positions, a patch plate, six sails in Demo.sail, two flags and a\n"
    "pennant, the cannon marker, and every texture as a TGA picture. Files already there are\n"
    "replaced.\n"
    "\n"
    "Options:\n"
    "  OUTDIR       the folder to write into\n"
    "  -h, --help   show this text\n"
    "  --version    show the version\n"
    "\n"
    "Examples:\n"
    "  make-demo-ship demo && cd demo && shipview Demo.def\n"
    "\n"
    "Exit codes:\n"
    "  0  the demo was written\n"
    "  1  a file could not be written\n"
    "  2  wrong command line\n";

int usageError(const std::string& error) {
    std::fprintf(stderr,
                 "make-demo-ship: %s\nUsage: make-demo-ship OUTDIR\nTry 'make-demo-ship "
                 "--help'.\n",
                 error.c_str());
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::string folder;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (!optionsEnded && (arg == "--help" || arg == "-h")) {
            std::fputs(kHelp, stdout);
            return 0;
        }
        if (!optionsEnded && arg == "--version") {
            std::printf("make-demo-ship %s\n", SLIPWAY_VERSION);
            return 0;
        }
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
            // Never a folder named like an option.
            return usageError("unknown option " + arg);
        } else if (!folder.empty()) {
            return usageError("only one folder can be given");
        } else {
            folder = arg;
        }
    }
    if (folder.empty())
        return usageError("no folder given");
    if (!slipway::demo::writeDemoShip(folder)) {
        std::fprintf(stderr, "make-demo-ship: cannot write the demo ship into %s\n",
                     folder.c_str());
        return 1;
    }
    return 0;
}
