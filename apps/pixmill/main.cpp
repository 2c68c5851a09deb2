// Pixmill: converts TGA pictures into TF textures and back. Without arguments, or with one file
// or folder, it opens its window; `convert`, `export` and `info` run the console commands.

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include <QApplication>
#include <QSettings>

#include "pixmill/CommandLine.h"
#include "pixmill/PixmillSettings.h"
#include "pixmill/PixmillWindow.h"
#include "pixmill/StartMode.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

int main(int argc, char** argv) {
    using namespace slipway::pixmill;
    std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty() && args[0] == "--version") {
        std::printf("pixmill %s\n", SLIPWAY_VERSION);
        return 0;
    }
#if defined(__GLIBC__)
    // A conversion allocates and frees pictures of a few megabytes each; keeping freed memory
    // in the process instead of handing it back spares the page faults of taking it again.
    mallopt(M_MMAP_THRESHOLD, 256 << 20);
    mallopt(M_TRIM_THRESHOLD, 512 << 20);
#endif
    // Decided before any window system is touched.
    const StartMode start = chooseStartMode(args);
    switch (start.kind) {
        case StartMode::Command:
            return runCommand(args, std::cout, std::cerr);
        case StartMode::ResetSettings: {
            QSettings settings(kSettingsOrganization, kSettingsApplication);
            settings.clear();
            settings.sync();
            return settings.status() == QSettings::NoError ? 0 : 1;
        }
        case StartMode::Window:
        case StartMode::WindowOnPath:
            break;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName("Pixmill");
    PixmillWindow window;
    window.showStored();
    if (start.kind == StartMode::WindowOnPath)
        window.openPath(start.path);
    return app.exec();
}
