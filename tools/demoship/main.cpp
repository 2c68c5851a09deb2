// make-demo-ship OUTDIR: writes the demo ship into OUTDIR.

#include <cstdio>
#include <cstring>

#include "demoship/DemoShip.h"

int main(int argc, char** argv) {
    if (argc != 2 || std::strcmp(argv[1], "--help") == 0) {
        std::fprintf(stderr, "usage: make-demo-ship OUTDIR\n");
        return argc == 2 ? 0 : 2;
    }
    if (!slipway::demo::writeDemoShip(argv[1])) {
        std::fprintf(stderr, "make-demo-ship: cannot write the demo ship into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
