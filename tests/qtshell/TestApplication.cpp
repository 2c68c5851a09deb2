#include "TestApplication.h"

// The font configuration library keeps caches for the life of the process; the leak checker
// is told so, and still reports everything else.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\n";
}

namespace slipway::test {

QApplication& testApplication() {
    static int argc = 1;
    static char name[] = "qtshell_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

}  // namespace slipway::test
