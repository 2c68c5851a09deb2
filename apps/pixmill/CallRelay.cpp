#include "pixmill/CallRelay.h"

namespace slipway::pixmill {

CallRelay::CallRelay(std::function<void()> callsWaiting) : callsWaiting_(std::move(callsWaiting)) {}

void CallRelay::enqueue(Call call) {
    // Called with mutex_ held.
    const bool wasEmpty = queue_.empty();
    queue_.push_back(std::move(call));
    if (wasEmpty && callsWaiting_)
        callsWaiting_();
}

bool CallRelay::callAndWait(std::function<void()> call) {
    bool done = false;
    std::unique_lock lock(mutex_);
    if (closed_)
        return false;
    enqueue({std::move(call), &done});
    finished_.wait(lock, [&] { return done || closed_; });
    return done;
}

void CallRelay::post(std::function<void()> call) {
    std::lock_guard lock(mutex_);
    if (!closed_)
        enqueue({std::move(call), nullptr});
}

void CallRelay::runPending() {
    for (;;) {
        Call call;
        {
            std::lock_guard lock(mutex_);
            if (closed_ || queue_.empty())
                return;
            call = std::move(queue_.front());
            queue_.pop_front();
        }
        // A call may open a dialog whose event loop runs this again: the queue is not held.
        call.run();
        if (call.done != nullptr) {
            std::lock_guard lock(mutex_);
            // Once closed, the worker has stopped waiting and its flag may be gone.
            if (!closed_) {
                *call.done = true;
                finished_.notify_all();
            }
        }
    }
}

void CallRelay::close() {
    std::lock_guard lock(mutex_);
    closed_ = true;
    queue_.clear();
    finished_.notify_all();
}

}  // namespace slipway::pixmill
