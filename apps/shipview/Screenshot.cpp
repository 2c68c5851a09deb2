#include "shipview/Screenshot.h"

#include <cstdio>

#include <QImage>

#include "base/Clock.h"
#include "base/KeyState.h"
#include "engine/ViewerSession.h"
#include "qtshell/DialogUnits.h"
#include "render/FrameRenderer.h"
#include "render/OffscreenContext.h"

namespace slipway {

namespace {

// Waved flags look like flags: one animation step of this many milliseconds before the frame.
constexpr std::uint32_t kFirstAnimationMs = 400;

bool parseSize(const std::string& text, QSize& size) {
    int w = 0, h = 0;
    char tail = 0;
    if (std::sscanf(text.c_str(), "%dx%d%c", &w, &h, &tail) != 2 || w < 1 || h < 1 || w > 8192 ||
        h > 8192) {
        return false;
    }
    size = QSize(w, h);
    return true;
}

}  // namespace

QSize renderAreaSize() {
    return dialogRect(7, 2, 331, 311).adjusted(5, 14, -5, -5).size();
}

int runScreenshot(const std::vector<std::string>& args, const std::string& baseDirectory,
                  std::ostream& err) {
    std::vector<std::string> files;
    QSize size = renderAreaSize();
    FixedKeyState keys;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--size") {
            if (i + 1 >= args.size() || !parseSize(args[i + 1], size)) {
                err << "shipview: --size needs WIDTHxHEIGHT\n";
                return 2;
            }
            ++i;
        } else if (arg == "--keys") {
            if (i + 1 >= args.size()) {
                err << "shipview: --keys needs P, C or PC\n";
                return 2;
            }
            for (char c : args[++i]) {
                if (c == 'P' || c == 'p') {
                    keys.held.insert(Key::P);
                } else if (c == 'C' || c == 'c') {
                    keys.held.insert(Key::C);
                } else {
                    err << "shipview: --keys takes only P and C\n";
                    return 2;
                }
            }
        } else if (!arg.empty() && arg[0] == '-') {
            err << "shipview: unknown option " << arg << "\n";
            return 2;
        } else {
            files.push_back(arg);
        }
    }
    if (files.size() != 2) {
        err << "shipview: --screenshot needs FILE and OUT.png\n";
        return 2;
    }
    const auto kind = modelFileKindOf(files[0]);
    if (!kind) {
        err << "shipview: " << files[0] << " is not a .clf, .cff or .def file\n";
        return 2;
    }

    OffscreenContext context;
    DisplayDevice device;
    std::string failure;
    if (!context.create() || !device.createDevice(size.width(), size.height(), failure)) {
        err << "message: " << kDeviceFailedText << "\n";
        return 1;
    }
    SteadyClock clock;
    ViewerSession session(kShipviewRules, baseDirectory, clock);
    HeadlessPrompt prompt;
    session.setPrompt(&prompt);
    const OpenResult opened = session.open(*kind, files[0], RecentList::Keep);
    device.setAmbientLight(opened.ambient);
    session.animate(kFirstAnimationMs);

    FrameRenderer renderer(device, session.rules(), keys, clock);
    renderer.renderFrame(session.scene(), session.camera(), session.textures());
    const QImage image = device.grabFrame();
    renderer.release();
    device.releaseDevice();
    // An empty picture would pass for a view of the file.
    if (session.scene().objectCount() == 0) {
        err << "shipview: nothing was read from " << files[0] << ", no picture written\n";
        return 1;
    }
    if (!image.save(QString::fromLocal8Bit(files[1].c_str()), "PNG")) {
        err << "shipview: cannot write " << files[1] << "\n";
        return 1;
    }
    return 0;
}

}  // namespace slipway
