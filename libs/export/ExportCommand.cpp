#include "export/ExportCommand.h"

#include <algorithm>

#include "base/Clock.h"
#include "base/Format.h"
#include "base/Paths.h"
#include "engine/ViewerSession.h"
#include "export/GltfExport.h"

namespace slipway {

namespace {

bool parseLevel(const std::string& text, int& level) {
    if (text.size() != 1 || text[0] < '1' || text[0] > '0' + kMaxLevels) {
        return false;
    }
    level = text[0] - '0';
    return true;
}

bool hasGlbExtension(const std::string& path) {
    return equalsIgnoringCase(splitPath(path).extension, ".glb");
}

}  // namespace

std::string suggestedGlbPath(const std::string& modelPath) {
    if (modelPath.empty()) {
        return "Ship.glb";
    }
    const PathParts parts = splitPath(modelPath);
    return parts.drive + parts.directory + parts.name + ".glb";
}

std::string withGlbExtension(const std::string& path) {
    return hasGlbExtension(path) ? path : path + ".glb";
}

int runExport(const std::vector<std::string>& args, const std::string& baseDirectory,
              const ExportingViewer& viewer, std::ostream& out, std::ostream& err) {
    const std::string program = viewer.program;
    int level = 0;  // 0: the level an open shows
    bool markers = false;
    std::vector<std::string> files;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--markers") {
            markers = true;
        } else if (arg == "--level") {
            if (i + 1 >= args.size() || !parseLevel(args[i + 1], level)) {
                err << program << ": --level needs a level from 1 to 4\n";
                return 2;
            }
            ++i;
        } else if (!arg.empty() && arg[0] == '-' && arg != "-") {
            err << program << ": unknown option " << arg << "\n";
            return 2;
        } else {
            files.push_back(arg);
        }
    }
    if (files.size() != 2) {
        err << program << ": --export needs FILE and OUT.glb\n";
        return 2;
    }
    const std::string& file = files[0];
    const std::string& target = files[1];
    const auto kind = modelFileKindOf(file);
    if (!kind) {
        err << program << ": " << file << " is not a .clf, .cff or .def file\n";
        return 2;
    }
    if (!hasGlbExtension(target)) {
        err << program << ": " << target << " is not a .glb file\n";
        return 2;
    }

    SteadyClock clock;
    ViewerSession session(viewer.rules, baseDirectory, clock);
    HeadlessPrompt prompt;
    session.setPrompt(&prompt);
    const OpenResult opened = session.open(*kind, file, RecentList::Keep);
    if (session.scene().objectCount() == 0) {
        err << program << ": nothing was read from " << file << "\n";
        return 1;
    }
    if (level > 0) {
        // Level 1 is always there, as its button always is.
        if (level > std::max(1, opened.levels)) {
            err << program << ": " << file << " has no level " << level << "\n";
            return 1;
        }
        session.scene().setLevel(level - 1);
    }

    GltfExportOptions options;
    options.filter = viewer.rules.drawFilter;
    options.markers = markers;
    options.generator = viewer.generator;
    options.sceneName = splitPath(file).name;
    const GltfExportResult result = writeGlb(target, session.scene(), session.textures(), options);
    if (!result.written) {
        err << program << ": " << result.error << "\n";
        return 1;
    }
    const GltfExportSummary& s = result.summary;
    out << formatText("%s: %d objects, %d meshes, %llu triangles, %d textures\n", target.c_str(),
                      s.objects, s.meshes, static_cast<unsigned long long>(s.triangles), s.images);
    return 0;
}

}  // namespace slipway
