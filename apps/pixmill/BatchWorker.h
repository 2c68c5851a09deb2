#pragma once
// Runs one batch of the window at a time on a worker thread. The worker's prompt, key state,
// title and hooks are relays: each question is asked on the window's thread while the worker
// waits for the answer, so message boxes and dialogs stay where the window is, and the order
// of steps and messages is that of a batch run on the window's thread.

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "base/KeyState.h"
#include "base/UserPrompt.h"
#include "pixmill/CallRelay.h"
#include "pixmill/WindowBatch.h"

namespace slipway::pixmill {

class BatchWorker {
  public:
    // What the batch talks to; used on the window's thread only.
    struct Window {
        UserPrompt* prompt = nullptr;
        KeyState* keys = nullptr;
        BatchHooks* hooks = nullptr;
        std::function<void(const std::string&)> showTitle;
    };
    using Job = std::function<BatchEnd(CommandContext&, BatchHooks&)>;

    // `callsWaiting`: see CallRelay; the window then calls runPending on its thread.
    explicit BatchWorker(std::function<void()> callsWaiting);
    // A batch still running is abandoned (see abandon).
    ~BatchWorker();
    BatchWorker(const BatchWorker&) = delete;
    BatchWorker& operator=(const BatchWorker&) = delete;

    // Starts `job` unless a batch runs; `finished` is called on the window's thread after it.
    bool start(Job job, Window window, std::function<void(BatchEnd)> finished);
    bool running() const { return running_; }
    // The batch ends at its next interruption check, without asking (from any thread).
    void requestStop() { stop_ = true; }
    // Window side: runs the worker's waiting calls.
    void runPending();
    // Window side, when the window goes: no more questions are shown (messages are taken as
    // read, questions as declined, files as not to be replaced), the batch is told to stop,
    // and its thread is waited for. `finished` is not called.
    void abandon();

  private:
    std::function<void()> callsWaiting_;
    std::shared_ptr<CallRelay> relay_;  // shared: a call it runs may start the next batch
    std::thread thread_;
    std::atomic<bool> stop_{false};
    bool running_ = false;  // window's thread only
};

}  // namespace slipway::pixmill
