#pragma once
// The millisecond tick count, as a port so that timing code can be driven by tests.

#include <cstdint>

namespace slipway {

class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds since an arbitrary start, wrapping at 2^32.
    virtual std::uint32_t milliseconds() = 0;
};

class SteadyClock : public Clock {
public:
    std::uint32_t milliseconds() override;
};

class FakeClock : public Clock {
public:
    std::uint32_t milliseconds() override { return now; }
    std::uint32_t now = 0;
};

}  // namespace slipway
