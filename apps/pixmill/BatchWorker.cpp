#include "pixmill/BatchWorker.h"

namespace slipway::pixmill {
namespace {

// The answer of a box that could not be shown: the declining one.
PromptAnswer declined(PromptButtons buttons) {
    switch (buttons) {
        case PromptButtons::Ok:
            return PromptAnswer::Ok;
        case PromptButtons::OkCancel:
            return PromptAnswer::Cancel;
        case PromptButtons::YesNo:
            return PromptAnswer::No;
    }
    return PromptAnswer::Cancel;
}

class RelayedPrompt : public UserPrompt {
  public:
    RelayedPrompt(CallRelay& relay, UserPrompt& target) : relay_(relay), target_(target) {}
    PromptAnswer show(std::string_view text, PromptButtons buttons) override {
        PromptAnswer answer = declined(buttons);
        relay_.callAndWait([&] { answer = target_.show(text, buttons); });
        return answer;
    }

  private:
    CallRelay& relay_;
    UserPrompt& target_;
};

class RelayedKeys : public KeyState {
  public:
    RelayedKeys(CallRelay& relay, KeyState& target) : relay_(relay), target_(target) {}
    bool isDown(Key key) override {
        bool down = false;
        relay_.callAndWait([&] { down = target_.isDown(key); });
        return down;
    }
    bool wasPressed(Key key) override {
        bool pressed = false;
        relay_.callAndWait([&] { pressed = target_.wasPressed(key); });
        return pressed;
    }

  private:
    CallRelay& relay_;
    KeyState& target_;
};

class RelayedHooks : public BatchHooks {
  public:
    RelayedHooks(CallRelay& relay, BatchHooks& target) : relay_(relay), target_(target) {}
    OverwriteChoice askOverwrite(const std::string& outputPath) override {
        OverwriteChoice choice = OverwriteChoice::Closed;
        relay_.callAndWait([&] { choice = target_.askOverwrite(outputPath); });
        return choice;
    }
    void fileStarted(std::size_t index, std::size_t count, const std::string& path) override {
        BatchHooks& target = target_;
        relay_.post([&target, index, count, path] { target.fileStarted(index, count, path); });
    }

  private:
    CallRelay& relay_;
    BatchHooks& target_;
};

}  // namespace

BatchWorker::BatchWorker(std::function<void()> callsWaiting)
    : callsWaiting_(std::move(callsWaiting)) {}

BatchWorker::~BatchWorker() {
    abandon();
}

bool BatchWorker::start(Job job, Window window, std::function<void(BatchEnd)> finished) {
    if (running_)
        return false;
    if (thread_.joinable())
        thread_.join();
    relay_ = std::make_shared<CallRelay>(callsWaiting_);
    stop_ = false;
    running_ = true;
    CallRelay* relay = relay_.get();
    thread_ = std::thread([this, relay, job = std::move(job), window = std::move(window),
                           finished = std::move(finished)] {
        RelayedPrompt prompt(*relay, *window.prompt);
        RelayedKeys keys(*relay, *window.keys);
        RelayedHooks hooks(*relay, *window.hooks);
        CommandContext context(prompt, &keys, [relay, &window](const std::string& title) {
            const auto show = window.showTitle;
            if (show)
                relay->post([show, title] { show(title); });
        });
        context.stopRequested = &stop_;
        const BatchEnd end = job(context, hooks);
        relay->post([this, end, finished] {
            running_ = false;
            if (thread_.joinable())
                thread_.join();
            if (finished)
                finished(end);
        });
    });
    return true;
}

void BatchWorker::runPending() {
    // Held here: the last call (the batch's end) may start another batch with a new relay.
    const std::shared_ptr<CallRelay> relay = relay_;
    if (relay)
        relay->runPending();
}

void BatchWorker::abandon() {
    if (relay_)
        relay_->close();
    stop_ = true;
    if (thread_.joinable())
        thread_.join();
    running_ = false;
}

}  // namespace slipway::pixmill
