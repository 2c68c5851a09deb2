#pragma once
// File name masks with the rules of the Windows directory search: '*' matches any run of
// characters, '?' any one character, case is ignored, and "*.*" matches every name (names
// without a dot, "." and ".." included).

#include <string>
#include <string_view>
#include <vector>

namespace slipway {

bool matchesMask(std::string_view mask, std::string_view name);

// The entries of `directory` ("" for the current one) that match `mask`, "." and ".." among
// them, in name order. Empty when the directory cannot be read.
std::vector<std::string> listMatches(const std::string& directory, std::string_view mask);

}  // namespace slipway
