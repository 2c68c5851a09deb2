#include "shipview/FileCheck.h"

#include "base/FileIo.h"
#include "formats/DefDiagnosis.h"

namespace slipway {

namespace {

class CollectingPrompt : public UserPrompt {
  public:
    CollectingPrompt(bool decline, std::vector<std::string>& texts)
        : decline_(decline), texts_(texts) {}
    PromptAnswer show(std::string_view text, PromptButtons buttons) override {
        texts_.emplace_back(text);
        switch (buttons) {
            case PromptButtons::OkCancel:
                return decline_ ? PromptAnswer::Cancel : PromptAnswer::Ok;
            case PromptButtons::YesNo:
                return decline_ ? PromptAnswer::No : PromptAnswer::Yes;
            default:
                return PromptAnswer::Ok;
        }
    }

  private:
    bool decline_;
    std::vector<std::string>& texts_;
};

}  // namespace

FileCheck checkFile(ViewerSession& session, ModelFileKind kind, const std::string& path,
                    bool decline) {
    FileCheck check;
    CollectingPrompt prompt(decline, check.messages);
    session.setPrompt(&prompt);
    check.opened = session.open(kind, path, RecentList::Keep);
    session.setPrompt(nullptr);
    if (kind == ModelFileKind::Def) {
        if (const auto bytes = readFileBytes(path)) {
            check.fileProblem = defFileProblem(*bytes).value_or("");
        }
    }
    return check;
}

std::vector<std::string> FileCheck::allMessages(const std::string& path) const {
    std::vector<std::string> all = messages;
    if (!fileProblem.empty())
        all.push_back(path + ": " + fileProblem);
    return all;
}

int checkExitCode(const FileCheck& check, const Scene& scene) {
    if (scene.objectCount() == 0)
        return 1;
    return check.messages.empty() && check.fileProblem.empty() ? 0 : 3;
}

}  // namespace slipway
