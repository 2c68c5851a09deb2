#include "meshview/InfoCommand.h"

#include "base/Clock.h"
#include "base/Paths.h"
#include "engine/InfoReport.h"
#include "engine/ViewerSession.h"

namespace slipway::meshview {

namespace {

// Collects every text and answers OK or Yes.
class CollectingPrompt : public UserPrompt {
  public:
    PromptAnswer show(std::string_view text, PromptButtons buttons) override {
        texts.emplace_back(text);
        return buttons == PromptButtons::YesNo ? PromptAnswer::Yes : PromptAnswer::Ok;
    }
    std::vector<std::string> texts;
};

}  // namespace

bool checkModelFile(const std::string& file, std::ostream& err) {
    const auto kind = modelFileKindOf(file);
    if (!kind || *kind == ModelFileKind::Def) {
        err << "meshview: " << file << " is not a .clf or .cff file\n";
        return false;
    }
    return true;
}

int runInfo(const std::vector<std::string>& args, const std::string& baseDirectory,
            std::ostream& out, std::ostream& err) {
    bool geometry = false;
    std::string file;
    for (const std::string& arg : args) {
        if (arg == "--geometry") {
            geometry = true;
        } else if (!arg.empty() && arg[0] == '-' && arg != "-") {
            err << "meshview: unknown option " << arg << "\n";
            return 2;
        } else if (file.empty()) {
            file = arg;
        } else {
            err << "meshview: only one file can be given\n";
            return 2;
        }
    }
    if (file.empty()) {
        err << "meshview: --info needs a file\n";
        return 2;
    }
    if (!checkModelFile(file, err)) {
        return 2;
    }

    SteadyClock clock;
    ViewerSession session(kMeshviewRules, baseDirectory, clock);
    CollectingPrompt prompt;
    session.setPrompt(&prompt);
    const bool openable = fileExists(file) || locateFile(file).has_value();
    // A look at a file is not an open the user asked for: Dialog.ini stays as it is.
    session.open(*modelFileKindOf(file), file, RecentList::Keep);
    out << infoJson({session.scene(), session.textures(), session.camera(), prompt.texts, geometry,
                     session.rules().keepsEditData});
    return openable ? 0 : 1;
}

}  // namespace slipway::meshview
