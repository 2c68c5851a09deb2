#pragma once
// What is wrong with a DEF file as a whole, in words for a script or a modder: the viewers
// read such files silently (they show what they can), the command-line checks say why a ship
// came out empty or short.

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace slipway {

// Nothing when the file is a sound DEF file: a count of at least one record, that many whole
// records, and at least one record of a class the viewers know. Otherwise one of
//   "not a DEF file (N bytes)"   no count, a negative count, or no record of a known class
//   "announces no records"
//   "announces N records, holds M"
// Safe on untrusted bytes.
std::optional<std::string> defFileProblem(std::span<const std::uint8_t> bytes);

}  // namespace slipway
