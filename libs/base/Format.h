#pragma once
// printf-style formatting into a std::string, for the system's message texts ("%s", "%d").

#include <cstdint>
#include <string>

namespace slipway {

#if defined(__GNUC__) || defined(__clang__)
__attribute__((format(printf, 1, 2)))
#endif
std::string formatText(const char* format, ...);

// A count with a comma between each group of three digits ("12,306"), as the command lines
// write byte counts.
std::string groupedNumber(std::uint64_t value);

}  // namespace slipway
