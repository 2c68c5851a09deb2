#pragma once
// What the walkers of the model and sail files share: which levels a model walk covers, why a
// walk stopped, and taking a run of records from a reader as one checked span.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "base/ByteReader.h"

namespace slipway {

// Levels of detail a model holds; levels that a file announces beyond these are never read.
inline constexpr std::uint32_t kModelLevelLimit = 4;

// Which levels of a model file a walk covers.
enum class LevelsWalked {
    Readable,  // the levels the file announces, at most kModelLevelLimit (ship viewer, rescaling)
    First,     // level 0 only (the model editor reads no other)
    All,       // every level the file announces (whole-file documents)
};

// Where a walk stopped and why: the block starting at `offset` does not fit in the bytes, or
// carries a count below zero.
struct LayoutFailure {
    std::size_t offset = 0;
    std::string reason;  // which block, for traces and tests: "level 1, object 0: vertex records"
};

// The next `count` records of `size` bytes as one span, checked before anything is read or
// allocated for them; an empty span and a failed reader when they are not all there.
inline std::span<const std::uint8_t> takeRecords(ByteReader& in, std::size_t count,
                                                 std::size_t size) {
    if (!in.canRead(count, size)) {
        in.fail();
        return {};
    }
    return in.view(count * size);
}

// Where `part` (a span into `whole`) starts in `whole`.
inline std::size_t offsetIn(std::span<const std::uint8_t> whole,
                            std::span<const std::uint8_t> part) {
    return static_cast<std::size_t>(part.data() - whole.data());
}

}  // namespace slipway
