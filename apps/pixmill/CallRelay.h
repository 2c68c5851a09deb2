#pragma once
// Calls from a worker thread that must run on the window's thread: message boxes and dialogs
// (the worker waits for the answer), the title and the progress (it does not wait). The calls
// wait in a queue guarded by a mutex; the window's thread runs them when told that some are
// waiting. After close nothing runs any more and waiting workers are let go.

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

namespace slipway::pixmill {

class CallRelay {
  public:
    // `callsWaiting` is called on the worker thread when the queue stops being empty; it must
    // only post a notice to the window's thread (a queued signal), never wait for it.
    explicit CallRelay(std::function<void()> callsWaiting);

    // Worker side: runs `call` on the window's thread and waits for it to return. False, with
    // `call` not run, when the relay is closed.
    bool callAndWait(std::function<void()> call);
    // Worker side: runs `call` on the window's thread later; dropped when the relay is closed.
    void post(std::function<void()> call);

    // Window side: runs every waiting call in order.
    void runPending();
    // Window side: nothing runs from now on; callAndWait returns false.
    void close();

  private:
    struct Call {
        std::function<void()> run;
        bool* done = nullptr;  // the waiting worker's flag; guarded by mutex_
    };
    void enqueue(Call call);

    std::function<void()> callsWaiting_;
    std::mutex mutex_;
    std::condition_variable finished_;
    std::deque<Call> queue_;
    bool closed_ = false;
};

}  // namespace slipway::pixmill
