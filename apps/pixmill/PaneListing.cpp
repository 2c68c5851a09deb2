#include "pixmill/PaneListing.h"

#include <atomic>
#include <mutex>

namespace slipway::pixmill {

// What one listing shares between its thread and the pane. The thread owns a reference, so a
// given-up run lives on until its thread ends.
struct PaneListing::Run {
    std::atomic<bool> keepListing{true};
    std::atomic<bool> ended{false};
    std::mutex mutex;
    std::vector<ListingUpdate> mailbox;  // guarded by mutex
    bool closed = false;                 // guarded by mutex: nothing more is delivered
    std::function<void()> updatesWaiting;
    std::function<void()> beforeEachStep;
};

PaneListing::PaneListing(std::function<void()> updatesWaiting)
    : updatesWaiting_(std::move(updatesWaiting)) {}

PaneListing::~PaneListing() {
    stop();
}

void PaneListing::start(ListingRequest request) {
    stop();
    auto run = std::make_shared<Run>();
    run->updatesWaiting = updatesWaiting_;
    run->beforeEachStep = beforeEachStep;
    run_ = run;
    thread_ = std::thread([run, request = std::move(request)] {
        std::vector<std::unique_ptr<ImageFile>> handlers;
        for (const std::string& extension : request.extensions)
            handlers.push_back(handlerForExtension(extension));
        const auto keepListing = [&run] {
            if (run->beforeEachStep)
                run->beforeEachStep();
            return run->keepListing.load();
        };
        listFolder(request, handlers, keepListing, [&run](ListingUpdate&& update) {
            std::lock_guard lock(run->mutex);
            if (run->closed)
                return;
            const bool wasEmpty = run->mailbox.empty();
            run->mailbox.push_back(std::move(update));
            // Told under the lock, so that closing the run waits for a notice under way.
            if (wasEmpty && run->updatesWaiting)
                run->updatesWaiting();
        });
        run->ended = true;
    });
}

bool PaneListing::stop() {
    if (!run_)
        return true;
    run_->keepListing = false;
    bool ended = run_->ended.load();
    for (int i = 0; i < stopSteps && !ended; ++i) {
        std::this_thread::sleep_for(stopStep);
        ended = run_->ended.load();
    }
    {
        std::lock_guard lock(run_->mutex);
        run_->closed = true;
        run_->mailbox.clear();
    }
    if (ended) {
        thread_.join();
    } else {
        thread_.detach();  // it holds its own run and handlers; see the class comment
    }
    run_.reset();
    return ended;
}

std::vector<ListingUpdate> PaneListing::takeUpdates() {
    std::vector<ListingUpdate> updates;
    if (run_) {
        std::lock_guard lock(run_->mutex);
        updates.swap(run_->mailbox);
    }
    return updates;
}

bool PaneListing::running() const {
    return run_ && !run_->ended.load();
}

}  // namespace slipway::pixmill
