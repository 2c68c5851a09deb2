#include "pixmill/BatchRunner.h"

#include <algorithm>
#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>

namespace slipway::pixmill {

void runBatch(std::size_t count, const std::vector<std::string>& keys, unsigned workers,
              const std::function<FileReport(std::size_t)>& job,
              const std::function<void(std::size_t, const FileReport&)>& report) {
    // Groups of indices sharing a key, in the order of their first index.
    std::vector<std::vector<std::size_t>> groups;
    std::map<std::string, std::size_t> groupOf;
    for (std::size_t i = 0; i < count; ++i) {
        auto [it, added] = groupOf.emplace(keys[i], groups.size());
        if (added)
            groups.emplace_back();
        groups[it->second].push_back(i);
    }

    std::vector<FileReport> reports(count);
    std::vector<bool> done(count, false);
    std::vector<bool> started(count, false);
    bool ended = false;
    std::mutex mutex;
    std::condition_variable changed;
    std::size_t nextGroup = 0;

    auto work = [&] {
        for (;;) {
            std::size_t group;
            {
                std::lock_guard lock(mutex);
                if (nextGroup == groups.size())
                    return;
                group = nextGroup++;
            }
            for (std::size_t i : groups[group]) {
                {
                    std::lock_guard lock(mutex);
                    if (ended) {
                        done[i] = true;
                        changed.notify_all();
                        continue;
                    }
                    started[i] = true;
                }
                FileReport r = job(i);
                std::lock_guard lock(mutex);
                ended = ended || r.endsBatch;
                reports[i] = std::move(r);
                done[i] = true;
                changed.notify_all();
            }
        }
    };

    const unsigned threads =
        static_cast<unsigned>(std::min<std::size_t>(std::max(workers, 1u), groups.size()));
    std::vector<std::thread> pool;
    for (unsigned t = 0; t < threads; ++t)
        pool.emplace_back(work);
    for (std::size_t i = 0; i < count; ++i) {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return done[i]; });
        if (!started[i])
            continue;
        FileReport r = std::move(reports[i]);
        lock.unlock();
        report(i, r);
    }
    for (std::thread& t : pool)
        t.join();
}

}  // namespace slipway::pixmill
