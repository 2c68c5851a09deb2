#pragma once
// The rotating byte coder: byte k of a file is rotated by k mod 8 bit positions, left to
// scramble and right to unscramble. It depends only on each byte's position in its file.

#include <cstdint>
#include <span>

namespace slipway {

enum class CoderMode { Scramble, Unscramble };

// Transforms `bytes` in place; `filePosition` is the position of bytes[0] in its file, so a
// file can be coded in chunks.
void codeBytes(std::span<std::uint8_t> bytes, std::uint64_t filePosition, CoderMode mode);

}  // namespace slipway
