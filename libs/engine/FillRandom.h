#pragma once
// The pseudo-random integers (0 to 32767) behind the model editor's fill colours: a small
// linear congruential generator seeded from the millisecond clock when a read starts.

#include <cstdint>

namespace slipway {

class FillRandom {
  public:
    static constexpr int kMax = 32767;

    explicit FillRandom(std::uint32_t seed = 1) : state_(seed) {}
    void seed(std::uint32_t seed) { state_ = seed; }
    int next() {
        state_ = state_ * 214013u + 2531011u;
        return static_cast<int>((state_ >> 16) & 0x7FFF);
    }

  private:
    std::uint32_t state_;
};

}  // namespace slipway
