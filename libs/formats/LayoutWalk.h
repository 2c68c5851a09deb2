#pragma once
// What the walkers of the model and sail files share: which levels a model walk covers, why a
// walk stopped, and taking a run of records from a reader as one checked span.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <utility>

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

// How many of the `announced` levels a walk covers.
inline std::uint32_t levelsToWalk(std::uint32_t announced, LevelsWalked levels) {
    switch (levels) {
        case LevelsWalked::First:
            return std::min(announced, 1u);
        case LevelsWalked::Readable:
            return std::min(announced, kModelLevelLimit);
        case LevelsWalked::All:
            break;
    }
    return announced;
}

// Where a walk stopped and why: the block starting at `offset` does not fit in the bytes, or
// carries a count below zero.
struct LayoutFailure {
    std::size_t offset = 0;
    std::string reason;  // which block, for traces and tests: "level 1, object 0: vertex records"
};

// Sets where and why the walk of `layout` stopped, and hands the layout as walked so far back.
template <typename Layout>
Layout stopped(Layout& layout, std::size_t offset, std::string reason) {
    layout.failure = LayoutFailure{offset, std::move(reason)};
    return std::move(layout);
}

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

// One run of records after an object header: how many, of how many bytes each, where its span
// goes and what it is called in a failure.
struct RecordRun {
    std::size_t count;
    std::size_t size;
    std::span<const std::uint8_t>* out;
    const char* name;
};

// Takes the runs of object `object` of level `level` in order. When one is not all there,
// sets `failure` to where it starts and "level L, object O: NAME" and returns false.
bool takeObjectRuns(ByteReader& in, std::initializer_list<RecordRun> runs, std::size_t level,
                    std::size_t object, std::optional<LayoutFailure>& failure);

// "level L, object O: " + block, for failures.
std::string objectBlock(std::size_t level, std::size_t object, const char* block);

// Where `part` (a span into `whole`) starts in `whole`.
inline std::size_t offsetIn(std::span<const std::uint8_t> whole,
                            std::span<const std::uint8_t> part) {
    return static_cast<std::size_t>(part.data() - whole.data());
}

}  // namespace slipway
