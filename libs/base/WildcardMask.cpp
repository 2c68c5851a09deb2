#include "base/WildcardMask.h"

#include <dirent.h>

#include <algorithm>

namespace slipway {

static char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

bool matchesMask(std::string_view mask, std::string_view name) {
    if (mask == "*.*" || mask == "*") return true;
    // Iterative glob with single-star backtracking.
    std::size_t m = 0, n = 0, starM = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (m < mask.size() && (mask[m] == '?' || lower(mask[m]) == lower(name[n]))) {
            ++m;
            ++n;
        } else if (m < mask.size() && mask[m] == '*') {
            starM = m++;
            starN = n;
        } else if (starM != std::string_view::npos) {
            m = starM + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == '*') ++m;
    // "name.*" also matches "name" without an extension, as the directory search does.
    if (m + 2 == mask.size() && mask[m] == '.' && mask[m + 1] == '*') return true;
    return m == mask.size();
}

std::vector<std::string> listMatches(const std::string& directory, std::string_view mask) {
    std::vector<std::string> out;
    DIR* d = ::opendir(directory.empty() ? "." : directory.c_str());
    if (!d) return out;
    while (dirent* e = ::readdir(d)) {
        if (matchesMask(mask, e->d_name)) out.emplace_back(e->d_name);
    }
    ::closedir(d);
    std::sort(out.begin(), out.end());
    return out;
}

}  // namespace slipway
