#include "base/UserPrompt.h"

#include <cstdio>

namespace slipway {

static PromptAnswer positive(PromptButtons buttons) {
    return buttons == PromptButtons::YesNo ? PromptAnswer::Yes : PromptAnswer::Ok;
}

static PromptAnswer negative(PromptButtons buttons) {
    switch (buttons) {
        case PromptButtons::Ok: return PromptAnswer::Ok;
        case PromptButtons::OkCancel: return PromptAnswer::Cancel;
        case PromptButtons::YesNo: return PromptAnswer::No;
    }
    return PromptAnswer::Ok;
}

PromptAnswer ScriptedPrompt::show(std::string_view text, PromptButtons buttons) {
    shown_.push_back({std::string(text), buttons});
    if (planned_.empty()) return positive(buttons);
    const PromptAnswer answer = planned_.front();
    planned_.pop_front();
    return answer;
}

std::vector<std::string> ScriptedPrompt::texts() const {
    std::vector<std::string> out;
    for (const Shown& s : shown_) out.push_back(s.text);
    return out;
}

PromptAnswer HeadlessPrompt::show(std::string_view text, PromptButtons buttons) {
    texts_.emplace_back(text);
    std::fprintf(stderr, "message: %.*s\n", static_cast<int>(text.size()), text.data());
    return decline_ ? negative(buttons) : positive(buttons);
}

}  // namespace slipway
