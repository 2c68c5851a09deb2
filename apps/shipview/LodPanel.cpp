#include "shipview/LodPanel.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

#include "base/Format.h"

namespace slipway {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// A whole text as a number: optional blanks around it, nothing else.
bool parseNumber(const std::string& text, double& value) {
    const char* begin = text.c_str();
    char* end = nullptr;
    errno = 0;
    value = std::strtod(begin, &end);
    if (end == begin || errno == ERANGE || !std::isfinite(value)) {
        return false;
    }
    while (isBlank(*end)) {
        ++end;
    }
    return *end == '\0';
}

bool parseCount(const std::string& text) {
    const char* begin = text.c_str();
    char* end = nullptr;
    errno = 0;
    std::strtoll(begin, &end, 10);
    if (end == begin || errno == ERANGE) {
        return false;
    }
    while (isBlank(*end)) {
        ++end;
    }
    return *end == '\0';
}

}  // namespace

void LodPanel::modelRead(int levels) {
    resizeEnabled_ = true;
    if (levels > lodCount_) {
        lodCount_ = levels > 4 ? 4 : levels;
    }
}

void LodPanel::openFinished(const Scene& scene) {
    if (!resizeEnabled_) {
        return;  // nothing was read
    }
    const SceneStatistics stats = scene.statistics();
    vertexTotal_ = stats.vertices;
    triangleTotal_ = stats.triangles;
    sizeValue_ = stats.size;
}

void LodPanel::sceneCleared() {
    lodCount_ = 1;
    selectedLevel_ = 1;
    resizeEnabled_ = false;
    vertexTotal_ = 0;
    triangleTotal_ = 0;
}

void LodPanel::selectLevel(int level, Scene& scene) {
    if (level < 1 || level > 4) {
        return;
    }
    selectedLevel_ = level;
    scene.setLevel(level - 1);
    const SceneStatistics stats = scene.statistics();
    vertexTotal_ = stats.vertices;
    triangleTotal_ = stats.triangles;
    if (level == 1) {
        sizeValue_ = stats.size;
    }
}

ResizeDecision LodPanel::checkResize(const std::string& sizeText, const std::string& verticesText,
                                     const std::string& trianglesText) {
    ResizeDecision decision;
    double typed = 0.0;
    if (!parseNumber(sizeText, typed)) {
        decision.message = kNotANumberText;
        return decision;
    }
    if (typed < kMinModelSize || typed > kMaxModelSize) {
        decision.message = kSizeRangeText;
        return decision;
    }
    if (!parseCount(trianglesText) || !parseCount(verticesText)) {
        decision.message = kNotAnIntegerText;
        return decision;
    }
    sizeValue_ = static_cast<float>(typed);
    decision.newSize = sizeValue_;
    decision.outcome = ResizeDecision::Accepted;
    return decision;
}

std::string LodPanel::sizeText() const {
    return formatText("%g", static_cast<double>(sizeValue_));
}

std::string LodPanel::verticesText() const {
    return formatText("%u", vertexTotal_);
}

std::string LodPanel::trianglesText() const {
    return formatText("%u", triangleTotal_);
}

}  // namespace slipway
