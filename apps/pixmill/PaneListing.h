#pragma once
// The listing thread of one file pane. Each listing runs on a thread of its own with its own
// handlers and keep-listing flag; its steps wait in a mailbox that the pane's thread empties
// when told that something is waiting. Starting a listing stops the previous one first: the
// flag is cleared and the thread is given 100 waits of 20 ms to end; a thread still busy after
// that (a hung network drive, say) is given up: it may finish its current step, but nothing it
// makes reaches the pane any more.

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "pixmill/FolderListing.h"

namespace slipway::pixmill {

class PaneListing {
  public:
    // `updatesWaiting` is called on the listing thread whenever the mailbox stops being empty;
    // it must only post a notice to the pane's thread (a queued signal), never wait for it.
    explicit PaneListing(std::function<void()> updatesWaiting);
    // Stops the listing by the same rule as start.
    ~PaneListing();
    PaneListing(const PaneListing&) = delete;
    PaneListing& operator=(const PaneListing&) = delete;

    // Stops a running listing and starts listing `request`.
    void start(ListingRequest request);
    // Clears the flag and waits for the thread; true when it ended in time (or none ran).
    bool stop();
    // The steps of the current listing made since the last call, in order.
    std::vector<ListingUpdate> takeUpdates();
    // True while the current listing's thread has not ended.
    bool running() const;

    // Test hooks: the wait of the stopping rule, and a pause before every step of the thread.
    std::chrono::milliseconds stopStep{20};
    int stopSteps = 100;
    std::function<void()> beforeEachStep;

  private:
    struct Run;
    std::function<void()> updatesWaiting_;
    std::shared_ptr<Run> run_;
    std::thread thread_;
};

}  // namespace slipway::pixmill
