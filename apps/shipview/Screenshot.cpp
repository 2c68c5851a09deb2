#include "shipview/Screenshot.h"

#include "base/KeyState.h"
#include "engine/ModelFileKind.h"
#include "qtshell/DialogUnits.h"
#include "viewer/ViewerScreenshot.h"

namespace slipway {

namespace {

// Waved flags look like flags: one animation step of this many milliseconds before the frame.
constexpr std::uint32_t kFirstAnimationMs = 400;

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
            if (i + 1 >= args.size() || !parsePictureSize(args[i + 1], size)) {
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

    const ScreenshotRequest request{"shipview", kShipviewRules, files[0], files[1], size, keys};
    // Waved flags look like flags.
    return takeScreenshot(
        request, baseDirectory,
        [](ViewerSession& session) {
            session.animate(kFirstAnimationMs);
            return 0;
        },
        err);
}

}  // namespace slipway
