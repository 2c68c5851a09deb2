#pragma once
// The kinds of file the viewers open, and the kind a path names by its extension.

#include <optional>
#include <string_view>

#include "base/Paths.h"

namespace slipway {

enum class ModelFileKind : int { Clf = 0, Cff = 1, Def = 2 };

// By the text from the last '.' on, ignoring case: ".clf", ".cff" or ".def"; nothing otherwise.
inline std::optional<ModelFileKind> modelFileKindOf(std::string_view path) {
    const auto dot = path.rfind('.');
    if (dot == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view ending = path.substr(dot);
    if (equalsIgnoringCase(ending, ".clf")) {
        return ModelFileKind::Clf;
    }
    if (equalsIgnoringCase(ending, ".cff")) {
        return ModelFileKind::Cff;
    }
    if (equalsIgnoringCase(ending, ".def")) {
        return ModelFileKind::Def;
    }
    return std::nullopt;
}

}  // namespace slipway
