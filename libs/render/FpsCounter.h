#pragma once
// The frames-per-second figure: frames are counted and, once at least 2000 ms have passed
// since the last update, half the count becomes the figure (frames per second over a period
// of two seconds or a little more).

#include <cstdint>

namespace slipway {

class FpsCounter {
  public:
    static constexpr std::uint32_t kPeriodMs = 2000;

    // Counts one frame drawn at `now` (milliseconds, wrapping). Returns true with the new
    // figure in `figure` when the period is over.
    bool countFrame(std::uint32_t now, std::uint32_t& figure) {
        ++frameCount_;
        if (now - lastFpsTick_ < kPeriodMs) {
            return false;
        }
        lastFpsTick_ = now;
        figure = frameCount_ / 2;
        frameCount_ = 0;
        return true;
    }

  private:
    std::uint32_t frameCount_ = 0;
    std::uint32_t lastFpsTick_ = 0;
};

}  // namespace slipway
