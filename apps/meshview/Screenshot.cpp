#include "meshview/Screenshot.h"

#include <cstdio>

#include "base/KeyState.h"
#include "engine/ModelEditing.h"
#include "engine/ViewerSession.h"
#include "meshview/EditPanel.h"
#include "meshview/InfoCommand.h"
#include "qtshell/DialogUnits.h"
#include "viewer/ViewerScreenshot.h"

namespace slipway::meshview {

namespace {

bool parseIndex(const std::string& text, int& index) {
    char tail = 0;
    return std::sscanf(text.c_str(), "%d%c", &index, &tail) == 1 && index >= 0;
}

}  // namespace

QSize renderAreaSize() {
    return dialogRect(7, 1, 331, 276).adjusted(5, 14, -5, -5).size();
}

int runScreenshot(const std::vector<std::string>& args, const std::string& baseDirectory,
                  std::ostream& err) {
    std::vector<std::string> files;
    QSize size = renderAreaSize();
    int selected = -1;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--size") {
            if (i + 1 >= args.size() || !parsePictureSize(args[i + 1], size)) {
                err << "meshview: --size needs WIDTHxHEIGHT\n";
                return 2;
            }
            ++i;
        } else if (arg == "--select") {
            if (i + 1 >= args.size() || !parseIndex(args[i + 1], selected)) {
                err << "meshview: --select needs a mesh index (0, 1, ...)\n";
                return 2;
            }
            ++i;
        } else if (!arg.empty() && arg[0] == '-') {
            err << "meshview: unknown option " << arg << "\n";
            return 2;
        } else {
            files.push_back(arg);
        }
    }
    if (files.size() != 2) {
        err << "meshview: --screenshot needs FILE and OUT.png\n";
        return 2;
    }
    if (!checkModelFile(files[0], err)) {
        return 2;
    }

    FixedKeyState keys;
    const ScreenshotRequest request{"meshview", kMeshviewRules, files[0], files[1], size, keys};
    return takeScreenshot(
        request, baseDirectory,
        [&](ViewerSession& session) {
            if (selected < 0)
                return 0;
            Scene& scene = session.scene();
            const SceneObject* model = scene.object(0);
            const int meshes = model != nullptr ? static_cast<int>(model->meshCount()) : 0;
            if (selected >= meshes) {
                err << "meshview: --select " << selected << ": the model has " << meshes
                    << " meshes\n";
                return 2;
            }
            // Select mode and a click on that mesh.
            EditPanel panel;
            panel.setSelectMode(scene, true);
            panel.pickIndex(scene, selected);
            return 0;
        },
        err);
}

}  // namespace slipway::meshview
