// The batch worker: questions asked on the window's thread while the worker waits, titles and
// progress in order, the batch's end reported on the window's thread, a stop asked by the
// window, and a window that goes away mid-batch. Run under ThreadSanitizer in CI.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "PixmillFixtures.h"
#include "TempDir.h"
#include "TestFiles.h"
#include "base/KeyState.h"
#include "base/Paths.h"
#include "pixmill/BatchWorker.h"

namespace slipway::pixmill {
namespace {

using ::testing::ElementsAre;

// The window's thread in these tests: runs the worker's calls when told, like the event loop.
class WindowThread {
  public:
    void notify() {
        std::lock_guard lock(mutex_);
        waiting_ = true;
        changed_.notify_all();
    }
    // Runs calls until `done` holds (or a long time passed).
    bool serveUntil(BatchWorker& worker, const std::function<bool()>& done) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (!done()) {
            {
                std::unique_lock lock(mutex_);
                changed_.wait_for(lock, std::chrono::milliseconds(5), [this] { return waiting_; });
                waiting_ = false;
            }
            worker.runPending();
            if (std::chrono::steady_clock::now() > deadline)
                return false;
        }
        return true;
    }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool waiting_ = false;
};

// Records which thread asked what.
class WindowHooks : public BatchHooks {
  public:
    explicit WindowHooks(std::thread::id window) : window_(window) {}
    OverwriteChoice askOverwrite(const std::string& path) override {
        EXPECT_EQ(std::this_thread::get_id(), window_);
        events.push_back("overwrite " + path);
        return answer;
    }
    void fileStarted(std::size_t index, std::size_t count, const std::string&) override {
        EXPECT_EQ(std::this_thread::get_id(), window_);
        events.push_back("file " + std::to_string(index + 1) + " of " + std::to_string(count));
    }
    std::vector<std::string> events;
    OverwriteChoice answer = OverwriteChoice::Yes;

  private:
    std::thread::id window_;
};

class ThreadCheckingPrompt : public ScriptedPrompt {
  public:
    explicit ThreadCheckingPrompt(std::thread::id window) : window_(window) {}
    PromptAnswer show(std::string_view text, PromptButtons buttons) override {
        EXPECT_EQ(std::this_thread::get_id(), window_);
        return ScriptedPrompt::show(text, buttons);
    }

  private:
    std::thread::id window_;
};

class BatchWorkerTest : public testing::Test {
  protected:
    BatchWorkerTest() {
        for (const char* name : {"a", "b"}) {
            sources.push_back(dir.file(std::string(name) + ".tga"));
            test::writeTgaPicture(sources.back(), 32, 32, 24, name[0]);
        }
        test::writeText(out.file("a.tf"), "old");
    }
    BatchWorker::Window window() {
        BatchWorker::Window w;
        w.prompt = &prompt;
        w.keys = &keys;
        w.hooks = &hooks;
        w.showTitle = [this](const std::string& title) {
            EXPECT_EQ(std::this_thread::get_id(), windowId);
            titles.push_back(title);
        };
        return w;
    }
    BatchWorker::Job convertJob() {
        return [this](CommandContext& context, BatchHooks& batchHooks) {
            return runConvertBatch(sources, out.path(), {}, context, batchHooks);
        };
    }

    test::TempDir dir, out;
    std::vector<std::string> sources;
    std::thread::id windowId = std::this_thread::get_id();
    ThreadCheckingPrompt prompt{windowId};
    FixedKeyState keys;
    WindowHooks hooks{windowId};
    std::vector<std::string> titles;
    WindowThread windowThread;
};

TEST_F(BatchWorkerTest, RunsTheBatchWithEveryQuestionOnTheWindowsThread) {
    BatchWorker worker([this] { windowThread.notify(); });
    std::optional<BatchEnd> end;
    ASSERT_TRUE(worker.start(convertJob(), window(), [&](BatchEnd e) {
        EXPECT_EQ(std::this_thread::get_id(), windowId);
        end = e;
    }));
    EXPECT_TRUE(worker.running());
    EXPECT_FALSE(worker.start(convertJob(), window(), {})) << "one batch at a time";
    ASSERT_TRUE(windowThread.serveUntil(worker, [&] { return end.has_value(); }));
    EXPECT_EQ(*end, BatchEnd::Completed);
    EXPECT_FALSE(worker.running());
    EXPECT_THAT(hooks.events,
                ElementsAre("file 1 of 2", "overwrite " + out.file("a.tf"), "file 2 of 2"));
    const std::string a = dir.file("a.tga"), b = dir.file("b.tga");
    EXPECT_THAT(
        titles,
        ElementsAre(a + "  :  Creating 32 bit mip levels", a + "  :  Creating 16 bit mip levels",
                    a + "  :  Creating pallitte", a + "  :  Creating 8 bit mip levels",
                    a + "  :  Save", "Pixmill", b + "  :  Creating 32 bit mip levels",
                    b + "  :  Creating 16 bit mip levels", b + "  :  Creating pallitte",
                    b + "  :  Creating 8 bit mip levels", b + "  :  Save", "Pixmill"));
    EXPECT_NE(test::readText(out.file("a.tf")), "old");
    EXPECT_TRUE(fileExists(out.file("b.tf")));

    // The worker can run the next batch.
    end.reset();
    hooks.answer = OverwriteChoice::NoToAll;
    ASSERT_TRUE(worker.start(convertJob(), window(), [&](BatchEnd e) { end = e; }));
    ASSERT_TRUE(windowThread.serveUntil(worker, [&] { return end.has_value(); }));
}

TEST_F(BatchWorkerTest, EscapeAsksOnTheWindowsThreadAndYesEndsTheBatch) {
    keys.pressed.insert(Key::Escape);
    prompt.plan(PromptAnswer::Yes);
    BatchWorker worker([this] { windowThread.notify(); });
    std::optional<BatchEnd> end;
    ASSERT_TRUE(worker.start(convertJob(), window(), [&](BatchEnd e) { end = e; }));
    ASSERT_TRUE(windowThread.serveUntil(worker, [&] { return end.has_value(); }));
    EXPECT_EQ(*end, BatchEnd::Interrupted);
    EXPECT_THAT(prompt.texts(), ElementsAre("Interrupt convert action?"));
    EXPECT_FALSE(fileExists(out.file("b.tf")));
}

TEST_F(BatchWorkerTest, AStopFromTheWindowEndsTheBatchAtItsNextCheck) {
    BatchWorker worker([this] { windowThread.notify(); });
    std::optional<BatchEnd> end;
    hooks.answer = OverwriteChoice::Yes;
    // Asked for while the worker waits for the overwrite answer.
    struct StoppingHooks : WindowHooks {
        StoppingHooks(std::thread::id id, BatchWorker& w) : WindowHooks(id), worker(w) {}
        OverwriteChoice askOverwrite(const std::string& path) override {
            worker.requestStop();
            return WindowHooks::askOverwrite(path);
        }
        BatchWorker& worker;
    } stopping(windowId, worker);
    BatchWorker::Window w = window();
    w.hooks = &stopping;
    ASSERT_TRUE(worker.start(convertJob(), w, [&](BatchEnd e) { end = e; }));
    ASSERT_TRUE(windowThread.serveUntil(worker, [&] { return end.has_value(); }));
    EXPECT_EQ(*end, BatchEnd::Interrupted);
    EXPECT_TRUE(prompt.texts().empty());
    EXPECT_EQ(test::readText(out.file("a.tf")), "old");
    EXPECT_FALSE(fileExists(out.file("b.tf")));
}

TEST_F(BatchWorkerTest, AWindowThatGoesAwayLetsTheWorkerFinishWithoutQuestions) {
    std::atomic<bool> finishedCalled{false};
    {
        BatchWorker worker([this] { windowThread.notify(); });
        ASSERT_TRUE(worker.start(convertJob(), window(), [&](BatchEnd) { finishedCalled = true; }));
        // Nothing is served: the worker is waiting for the overwrite answer, or soon will be.
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }  // abandoned here: joins
    EXPECT_FALSE(finishedCalled);
    EXPECT_TRUE(hooks.events.empty());
    EXPECT_EQ(test::readText(out.file("a.tf")), "old") << "an unanswered question replaces nothing";
}

}  // namespace
}  // namespace slipway::pixmill
