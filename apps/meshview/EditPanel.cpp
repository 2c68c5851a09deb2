#include "meshview/EditPanel.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "base/Format.h"
#include "engine/ModelEditing.h"

namespace slipway {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// A whole text as a number: optional blanks around it, nothing else.
bool parseNumber(const std::string& text, float& value) {
    const char* begin = text.c_str();
    char* end = nullptr;
    errno = 0;
    const double parsed = std::strtod(begin, &end);
    if (end == begin || errno == ERANGE || !std::isfinite(parsed)) {
        return false;
    }
    while (isBlank(*end)) {
        ++end;
    }
    value = static_cast<float>(parsed);
    return *end == '\0';
}

std::optional<float> parseInRange(const std::string& text, float low, float high,
                                  const char* rangeText, std::string& message) {
    float value = 0.0f;
    if (!parseNumber(text, value)) {
        message = kEnterANumberText;
        return std::nullopt;
    }
    if (!(value >= low && value <= high)) {
        message = rangeText;
        return std::nullopt;
    }
    return value;
}

}  // namespace

std::optional<float> EditPanel::parseHeight(const std::string& text, std::string& message) {
    return parseInRange(text, kMinHeightValue, kMaxHeightValue, kHeightRangeText, message);
}

std::optional<float> EditPanel::parseKf(const std::string& text, std::string& message) {
    return parseInRange(text, kMinKfValue, kMaxKfValue, kKfRangeText, message);
}

void EditPanel::modelRead(const Scene& scene, const ModelRead& read) {
    for (int i = 0; i < read.meshCount; ++i) {
        if (const auto name = meshNameAt(scene, read.slot, i)) {
            // The new object's rows go first; an earlier object's rows move down behind them.
            const auto at = std::min(rows_.size(), static_cast<std::size_t>(i));
            rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(at),
                         ObjectRow{read.slot, i, *name});
        }
    }
    if (const auto keys = objectKeyCount(scene, read.slot)) {
        sliderMax_ =
            *keys == 0 ? 0 : static_cast<int>(std::min<std::uint32_t>(*keys - 1, INT32_MAX));
    }
    sliderPosition_ = 0;
    heightValue_ = oldHeight_ = measureHeight(scene);
}

void EditPanel::sceneCleared() {
    rows_.clear();
    selectMode_ = false;
    editingEnabled_ = false;
}

void EditPanel::setSelectMode(Scene& scene, bool down) {
    if (down) {
        selectMode_ = true;
        makeCurrent(scene, 0);
        return;
    }
    clearMarks(scene, kMarkPicked);
    selectedMesh_ = -1;
    selectMode_ = false;
    releaseCurrent(scene);
    editingEnabled_ = false;
}

bool EditPanel::pick(Scene& scene, std::uint32_t color) {
    clearMarks(scene, kMarkPicked);
    selectedMesh_ = -1;
    const auto picked = pickMesh(scene, color, kMarkPicked);
    if (!picked) {
        return false;
    }
    selectedMesh_ = picked->index;
    editingEnabled_ = true;
    pickedName_ = picked->name;
    return true;
}

bool EditPanel::pickIndex(Scene& scene, int index) {
    clearMarks(scene, kMarkPicked);
    selectedMesh_ = -1;
    if (!markMesh(scene, index)) {
        return false;
    }
    selectedMesh_ = index;
    editingEnabled_ = true;
    pickedName_ = currentObject(scene)->meshes()[static_cast<std::size_t>(index)].name;
    return true;
}

int EditPanel::rename(Scene& scene, std::string_view text) {
    if (selectedMesh_ < 0 || text.empty()) {
        return -1;
    }
    const std::string name(text.substr(0, kRenameLength));
    renameMesh(scene, selectedMesh_, name);
    // The row of the picked mesh: with several objects listed it is not row `selectedMesh`,
    // since every later object's rows stand before the edited object's.
    const SceneObject* current = currentObject(scene);
    for (std::size_t row = 0; row < rows_.size(); ++row) {
        if (current != nullptr && rows_[row].slot == current->slot &&
            rows_[row].mesh == selectedMesh_) {
            rows_[row].name = name;
            return static_cast<int>(row);
        }
    }
    return -1;
}

void EditPanel::flipNormals(Scene& scene) {
    if (selectedMesh_ >= 0) {
        toggleDoubleSided(scene);
    }
}

void EditPanel::changeDoubleSide(Scene& scene) {
    if (selectedMesh_ >= 0) {
        reverseWinding(scene);
    }
}

void EditPanel::showKey(Scene& scene, int position) {
    sliderPosition_ = position;
    setFrame(scene, position);
    keyText_ = formatText("%d", position);
}

ValueCheck EditPanel::readValues(const std::string& heightText, const std::string& kfText) {
    ValueCheck check;
    const auto height = parseHeight(heightText, check.message);
    if (!height) {
        check.field = ValueCheck::Height;
        return check;
    }
    const auto kf = parseKf(kfText, check.message);
    if (!kf) {
        check.field = ValueCheck::Kf;
        return check;
    }
    heightValue_ = check.height = *height;
    kfValue_ = check.kf = *kf;
    return check;
}

bool EditPanel::resizeToHeight(Scene& scene, float height) {
    heightValue_ = height;
    // A model without height has nothing to divide by.
    if (!(oldHeight_ > 0.0f)) {
        return false;
    }
    const float ratio = heightValue_ / oldHeight_;
    if (!scaleModel(scene, ratio)) {
        return false;
    }
    oldHeight_ = heightValue_ = measureHeight(scene);
    kfValue_ = ratio;
    return true;
}

bool EditPanel::resizeByFactor(Scene& scene, float kf) {
    kfValue_ = kf;
    if (!scaleModel(scene, kfValue_)) {
        return false;
    }
    oldHeight_ = heightValue_ = measureHeight(scene);
    return true;
}

std::string EditPanel::heightText() const {
    return formatText("%g", static_cast<double>(heightValue_));
}

std::string EditPanel::kfText() const {
    return formatText("%g", static_cast<double>(kfValue_));
}

}  // namespace slipway
