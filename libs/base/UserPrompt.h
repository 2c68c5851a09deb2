#pragma once
// The port through which library code shows a modal message to the user and gets an answer.
// The programs provide a message box with the program's name as caption; tests provide a
// scripted double; headless modes print the text.

#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace slipway {

enum class PromptButtons { Ok, OkCancel, YesNo };
enum class PromptAnswer { Ok, Cancel, Yes, No };

class UserPrompt {
public:
    virtual ~UserPrompt() = default;
    virtual PromptAnswer show(std::string_view text, PromptButtons buttons) = 0;
};

// Records every text and answers from a plan; when the plan is empty it answers OK or Yes.
class ScriptedPrompt : public UserPrompt {
public:
    struct Shown {
        std::string text;
        PromptButtons buttons;
    };

    PromptAnswer show(std::string_view text, PromptButtons buttons) override;
    void plan(PromptAnswer answer) { planned_.push_back(answer); }

    const std::vector<Shown>& shown() const { return shown_; }
    std::vector<std::string> texts() const;
    void reset() {
        shown_.clear();
        planned_.clear();
    }

private:
    std::vector<Shown> shown_;
    std::deque<PromptAnswer> planned_;
};

// Prints "message: TEXT" to stderr and answers OK/Yes, or Cancel/No when told to decline.
class HeadlessPrompt : public UserPrompt {
public:
    explicit HeadlessPrompt(bool decline = false) : decline_(decline) {}
    PromptAnswer show(std::string_view text, PromptButtons buttons) override;
    const std::vector<std::string>& texts() const { return texts_; }

private:
    bool decline_;
    std::vector<std::string> texts_;
};

// Shows `text` with only an OK button.
inline void tell(UserPrompt& prompt, std::string_view text) {
    prompt.show(text, PromptButtons::Ok);
}

}  // namespace slipway
