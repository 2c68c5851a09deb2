#pragma once
// The line a batch keeps up to date on a terminal while it works ("[3/16] wood.tga: Creating 8
// bit mip levels"), rewritten in place. Whole lines (messages, the summary) are printed
// through it so that they never land in the middle of the progress line. Safe to call from
// the worker threads.

#include <cstddef>
#include <mutex>
#include <ostream>
#include <string>

namespace slipway::pixmill {

class ProgressLine {
  public:
    // Shows nothing unless `enabled` (the stream is a terminal); `width` is the terminal's,
    // and a longer line is cut so that it never wraps.
    ProgressLine(std::ostream& out, bool enabled, std::size_t width);

    // File `number` of `count` (from 1), at `step`.
    void show(std::size_t number, std::size_t count, const std::string& name,
              const std::string& step);
    // Prints `lines` (each ending with a line feed) where the progress line stood.
    void print(const std::string& lines);
    // Removes the progress line.
    void clear();

  private:
    void clearLocked();

    std::ostream& out_;
    const bool enabled_;
    const std::size_t width_;
    std::size_t shown_ = 0;  // characters of the progress line on the screen
    std::mutex mutex_;
};

}  // namespace slipway::pixmill
