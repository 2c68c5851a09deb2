#include "meshview/SaveCommand.h"

#include <cerrno>
#include <cstdlib>

#include "base/Clock.h"
#include "engine/ModelSaver.h"
#include "engine/ViewerSession.h"
#include "meshview/EditPanel.h"
#include "meshview/InfoCommand.h"

namespace slipway::meshview {

namespace {

struct Edit {
    enum Kind { Rename, DoubleSided, Reverse, Kf, Height };
    Kind kind = Rename;
    std::string option;
    int mesh = -1;
    std::string name;
    float value = 0.0f;
};

// Prints "message: TEXT" for each message and answers OK or Yes.
class StreamPrompt : public UserPrompt {
  public:
    explicit StreamPrompt(std::ostream& err) : err_(err) {}
    PromptAnswer show(std::string_view text, PromptButtons buttons) override {
        err_ << "message: " << text << "\n";
        return buttons == PromptButtons::YesNo ? PromptAnswer::Yes : PromptAnswer::Ok;
    }

  private:
    std::ostream& err_;
};

// Hands every read on to the panel, as the window's notifications do.
class PanelListener : public SceneListener {
  public:
    PanelListener(EditPanel& panel, const Scene& scene) : panel_(panel), scene_(scene) {}
    void modelLoaded(const ModelRead& read) override { panel_.modelRead(scene_, read); }
    void sceneCleared() override { panel_.sceneCleared(); }

  private:
    EditPanel& panel_;
    const Scene& scene_;
};

bool parseMesh(const std::string& text, int& mesh) {
    if (text.empty() || text[0] < '0' || text[0] > '9') {
        return false;
    }
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (*end != '\0' || errno == ERANGE || value > 65535) {
        return false;
    }
    mesh = static_cast<int>(value);
    return true;
}

// Reads the edits; false (after saying why) on bad usage or a number out of range.
bool parseEdits(const std::vector<std::string>& args, std::size_t first, std::vector<Edit>& edits,
                std::ostream& err) {
    for (std::size_t i = first; i < args.size(); ++i) {
        const std::string& option = args[i];
        const auto need = [&](std::size_t count, const char* what) {
            if (i + count < args.size()) {
                return true;
            }
            err << "meshview: " << option << " needs " << what << "\n";
            return false;
        };
        Edit edit;
        edit.option = option;
        if (option == "--rename" || option == "--double-sided" || option == "--reverse") {
            const std::size_t count = option == "--rename" ? 2 : 1;
            if (!need(count, count == 2 ? "MESH and NAME" : "MESH")) {
                return false;
            }
            if (!parseMesh(args[i + 1], edit.mesh)) {
                err << "meshview: " << option << " needs a mesh index (0, 1, ...), not "
                    << args[i + 1] << "\n";
                return false;
            }
            edit.kind = option == "--rename"         ? Edit::Rename
                        : option == "--double-sided" ? Edit::DoubleSided
                                                     : Edit::Reverse;
            if (count == 2) {
                edit.name = args[i + 2];
                if (edit.name.empty()) {
                    err << "meshview: --rename needs a name that is not empty\n";
                    return false;
                }
            }
            i += count;
        } else if (option == "--kf" || option == "--height") {
            if (!need(1, option == "--kf" ? "FACTOR" : "H")) {
                return false;
            }
            std::string message;
            const auto value = option == "--kf" ? EditPanel::parseKf(args[i + 1], message)
                                                : EditPanel::parseHeight(args[i + 1], message);
            if (!value) {
                err << "meshview: " << option << " " << args[i + 1] << ": " << message << "\n";
                return false;
            }
            edit.kind = option == "--kf" ? Edit::Kf : Edit::Height;
            edit.value = *value;
            ++i;
        } else {
            err << "meshview: unknown edit " << option << "\n";
            return false;
        }
        edits.push_back(std::move(edit));
    }
    return true;
}

}  // namespace

int runSave(const std::vector<std::string>& args, const std::string& baseDirectory,
            std::ostream& out, std::ostream& err) {
    if (args.empty() || (args[0].size() > 1 && args[0][0] == '-')) {
        err << "meshview: --save needs a file\n";
        return 2;
    }
    const std::string& file = args[0];
    if (!checkModelFile(file, err)) {
        return 2;
    }
    std::vector<Edit> edits;
    if (!parseEdits(args, 1, edits, err)) {
        return 2;
    }

    SteadyClock clock;
    ViewerSession session(kMeshviewRules, baseDirectory, clock);
    StreamPrompt prompt(err);
    EditPanel panel;
    PanelListener listener(panel, session.scene());
    session.setPrompt(&prompt);
    session.setListener(&listener);
    session.open(*modelFileKindOf(file), file, RecentList::Keep);
    session.setListener(nullptr);
    Scene& scene = session.scene();
    const SceneObject* model = scene.object(0);
    if (model == nullptr) {
        err << "meshview: nothing was read from " << file << "\n";
        return 1;
    }
    for (const Edit& edit : edits) {
        if (edit.mesh >= static_cast<int>(model->meshCount())) {
            err << "meshview: " << edit.option << " " << edit.mesh << ": the model has "
                << model->meshCount() << " meshes (0 to "
                << static_cast<int>(model->meshCount()) - 1 << ")\n";
            return 2;
        }
    }

    // As in the window: select mode, a pick for each mesh edit, and the value fields.
    panel.setSelectMode(scene, true);
    for (const Edit& edit : edits) {
        bool done = true;
        switch (edit.kind) {
            case Edit::Rename:
                done = panel.pickIndex(scene, edit.mesh);
                panel.rename(scene, edit.name);
                break;
            case Edit::DoubleSided:
                done = panel.pickIndex(scene, edit.mesh);
                panel.flipNormals(scene);
                break;
            case Edit::Reverse:
                done = panel.pickIndex(scene, edit.mesh);
                panel.changeDoubleSide(scene);
                break;
            case Edit::Kf:
                done = panel.resizeByFactor(scene, edit.value);
                break;
            case Edit::Height:
                done = panel.resizeToHeight(scene, edit.value);
                break;
        }
        if (!done) {
            err << "meshview: " << edit.option << " cannot be applied to " << file
                << (edit.kind == Edit::Height && !(panel.oldHeight() > 0.0f)
                        ? ": the model has no height to scale from"
                    : edit.kind == Edit::Kf || edit.kind == Edit::Height
                        ? ": the model would leave the range of numbers"
                        : "")
                << "; nothing was saved\n";
            return 1;
        }
    }
    panel.setSelectMode(scene, false);

    const SaveReport report = saveAll(scene, session.textures(), prompt);
    for (const std::string& path : report.written) {
        out << path << "\n";
    }
    return report.failed.empty() ? 0 : 1;
}

}  // namespace slipway::meshview
