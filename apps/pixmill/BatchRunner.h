#pragma once
// Runs one job per file on worker threads and hands each file's messages back in the order of
// the files, so that what is printed and written does not depend on the number of workers.

#include <functional>
#include <string>
#include <vector>

namespace slipway::pixmill {

struct FileReport {
    bool succeeded = true;
    bool skipped = false;    // the output exists and may not be replaced
    bool endsBatch = false;  // a write error: no further file is started
    std::vector<std::string> messages;
};

// Calls job(i) for every i below count on up to `workers` threads. Jobs with the same `key`
// (the output path) run one after the other in index order on one thread, as they would in a
// single-threaded run. `report` is called on the calling thread for i = 0, 1, ... as soon as
// job i and all before it are done. After a report that ends the batch no job is started;
// jobs already running finish and are reported, the others are left out.
void runBatch(std::size_t count, const std::vector<std::string>& keys, unsigned workers,
              const std::function<FileReport(std::size_t)>& job,
              const std::function<void(std::size_t, const FileReport&)>& report);

}  // namespace slipway::pixmill
