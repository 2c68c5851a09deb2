// make-demo-ship OUTDIR: writes the demo ship into OUTDIR. Installed as slipway-demo-ship.

#include <cstdio>
#include <cstring>

#include "make-demo-ship/DemoShip.h"

namespace {

const char kUsage[] =
    "Usage: slipway-demo-ship OUTDIR\n"
    "       slipway-demo-ship --help | --version\n"
    "\n"
    "Writes a small complete ship into OUTDIR (created when missing): Demo.def, its models,\n"
    "sail file and textures as TGA pictures.\n";

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("slipway-demo-ship %s\n", SLIPWAY_VERSION);
        return 0;
    }
    if (argc != 2 || argv[1][0] == '-') {
        std::fputs(kUsage, stderr);
        return 2;
    }
    if (!slipway::demo::writeDemoShip(argv[1])) {
        std::fprintf(stderr, "slipway-demo-ship: cannot write the demo ship into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
