#pragma once
// What both viewers do once their command line has asked for the window: the display (or the
// no-display message), numbers in the C locale, the program's name and icon, the application
// object and its window, FILE opened at start as the open command would, and the event loop.

#include <clocale>
#include <string>
#include <vector>

#include <QApplication>
#include <QSurfaceFormat>

#include "base/Clock.h"
#include "qtshell/DisplayCheck.h"
#include "qtshell/ProgramIcon.h"
#include "render/OffscreenContext.h"

namespace slipway {

// `path` as the recent list keeps it: found ignoring case where it is not there exactly, and
// made absolute.
std::string pathForRecentList(const std::string& path);

// `program` names the executable ("shipview"), `title` the application ("Shipview"). `App`
// is built from the start-up folder and a clock and offers initInstance() and openAtStart().
// Returns the exit code.
template <typename App>
int runViewerWindow(const char* program, const char* title, int& argc, char** argv,
                    const std::string& baseDirectory, const std::vector<std::string>& args) {
    QSurfaceFormat::setDefaultFormat(viewerSurfaceFormat());
    const auto app = openDisplay<QApplication>(program, argc, argv);
    if (!app)
        return kExitNoDisplay;
    // The toolkit takes the user's locale for the C library too; numbers typed into and shown
    // in the window keep the decimal point whatever the locale.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName(title);
    QApplication::setWindowIcon(programIcon());
    QGuiApplication::setDesktopFileName(QStringLiteral("slipway-") + QString::fromUtf8(program));
    SteadyClock clock;
    App viewer(baseDirectory, clock);
    if (!viewer.initInstance())
        return 1;
    if (!args.empty())
        viewer.openAtStart(pathForRecentList(args[0]));
    return app->exec();
}

}  // namespace slipway
