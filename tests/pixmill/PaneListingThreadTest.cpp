// A pane's listing thread: its steps reach the pane in order through the mailbox, a new
// listing replaces a running one, and a thread that does not stop in time is given up without
// ever delivering again. Run under ThreadSanitizer in CI.

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>

#include "PixmillFixtures.h"
#include "TempDir.h"
#include "TestFiles.h"
#include "pixmill/PaneListing.h"

namespace slipway::pixmill {
namespace {

// Counts the notices from the listing thread and lets the test wait for the next one.
class Notices {
  public:
    void notify() {
        std::lock_guard lock(mutex_);
        ++count_;
        changed_.notify_all();
    }
    int count() {
        std::lock_guard lock(mutex_);
        return count_;
    }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    int count_ = 0;
};

// Takes updates into `model` until the listing finished (or a few seconds passed).
bool drainUntilFinished(PaneListing& listing, PaneModel& model) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < deadline) {
        for (const ListingUpdate& update : listing.takeUpdates()) {
            model.apply(update);
            if (update.kind == ListingUpdate::Finished)
                return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

TEST(PaneListingThread, DeliversTheListingInOrder) {
    test::TempDir dir;
    for (int i = 0; i < 40; ++i)
        test::writeTgaPicture(dir.file("p" + std::to_string(100 + i) + ".tga"), 4, 2, 24);
    Notices notices;
    PaneListing listing([&] { notices.notify(); });
    PaneModel model({"tga"}, dir.path());
    listing.start({dir.path(), "/", {"tga"}, {"/"}});
    ASSERT_TRUE(drainUntilFinished(listing, model));
    ASSERT_EQ(model.entries().size(), 42u);  // "..", 40 files, "/"
    for (std::size_t row = 1; row <= 40; ++row) {
        EXPECT_EQ(model.entries()[row].text, "p" + std::to_string(99 + row));
        EXPECT_EQ(model.entries()[row].size, "4x2");
    }
    EXPECT_GE(notices.count(), 1);
    listing.stop();
    EXPECT_FALSE(listing.running());
}

TEST(PaneListingThread, ANewListingReplacesARunningOne) {
    test::TempDir slow, fast;
    for (int i = 0; i < 30; ++i)
        test::writeTgaPicture(slow.file("s" + std::to_string(i) + ".tga"), 2, 2, 24);
    test::writeTgaPicture(fast.file("only.tga"), 2, 2, 24);
    Notices notices;
    PaneListing listing([&] { notices.notify(); });
    std::atomic<int> steps{0};
    listing.beforeEachStep = [&] {
        ++steps;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    };
    listing.start({slow.path(), "/", {"tga"}, {}});
    while (steps < 10)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    listing.start({fast.path(), "/", {"tga"}, {}});
    PaneModel model({"tga"}, "");
    ASSERT_TRUE(drainUntilFinished(listing, model));
    EXPECT_EQ(model.folder(), fast.path());
    ASSERT_EQ(model.entries().size(), 2u);
    EXPECT_EQ(model.entries()[1].text, "only");
}

TEST(PaneListingThread, AThreadThatDoesNotStopIsGivenUpAndNeverDeliversAgain) {
    test::TempDir dir;
    test::writeTgaPicture(dir.file("a.tga"), 2, 2, 24);
    Notices notices;
    PaneListing listing([&] { notices.notify(); });
    // The first listing hangs in a step until released, as on an unanswering drive. What the
    // hanging thread uses is shared, as it may outlive this test.
    struct Hang {
        std::mutex gate;
        std::atomic<bool> hanging{false};
    };
    auto hang = std::make_shared<Hang>();
    std::unique_lock held(hang->gate);
    listing.beforeEachStep = [hang] {
        hang->hanging = true;
        std::lock_guard wait(hang->gate);
    };
    listing.stopStep = std::chrono::milliseconds(1);
    listing.stopSteps = 5;
    listing.start({dir.path(), "/", {"tga"}, {}});
    while (!hang->hanging)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_FALSE(listing.stop());
    const int noticesBefore = notices.count();
    listing.beforeEachStep = nullptr;
    held.unlock();  // the given-up thread now runs to its end
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(notices.count(), noticesBefore);
    EXPECT_TRUE(listing.takeUpdates().empty());

    PaneModel model({"tga"}, "");
    listing.start({dir.path(), "/", {"tga"}, {}});
    ASSERT_TRUE(drainUntilFinished(listing, model));
    EXPECT_EQ(model.entries().size(), 2u);
}

}  // namespace
}  // namespace slipway::pixmill
