#include "viewer/ViewerStart.h"

#include <filesystem>

#include "base/Paths.h"

namespace slipway {

std::string pathForRecentList(const std::string& path) {
    std::string found = path;
    if (const auto located = locateFile(path))
        found = *located;
    std::error_code error;
    const auto absolute = std::filesystem::absolute(found, error);
    return error ? found : absolute.lexically_normal().string();
}

}  // namespace slipway
