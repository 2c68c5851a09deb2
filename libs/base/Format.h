#pragma once
// printf-style formatting into a std::string, for the system's message texts ("%s", "%d").

#include <string>

namespace slipway {

#if defined(__GNUC__) || defined(__clang__)
__attribute__((format(printf, 1, 2)))
#endif
std::string formatText(const char* format, ...);

}  // namespace slipway
