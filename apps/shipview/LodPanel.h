#pragma once
// The level-of-detail panel's state, apart from its widgets: how many levels the models read
// since the last clearing offer, the vertex and triangle totals of the level shown and the size
// (diagonal of the models' box at level 1). The resize itself, with the size it divides by, is
// the viewer session's.

#include <array>
#include <cstdint>
#include <string>

#include "engine/Scene.h"
#include "engine/ViewerSession.h"

namespace slipway {

inline constexpr const char* kNotANumberText = "Enter a number.";
inline constexpr const char* kNotAnIntegerText = "Enter an integer.";

// What the three fields say when Resize reads them.
struct ResizeDecision {
    enum Outcome { Refused, Accepted };
    Outcome outcome = Refused;
    float newSize = 0.0f;
    std::string message;  // the validation message when refused
};

class LodPanel {
  public:
    // A model file with `levels` levels of detail was read.
    void modelRead(int levels);
    void sceneCleared();
    // Measures the scene once a whole open (or resize) has finished: counts and size; nothing
    // when no model was read since the last clearing. Measuring at every part read instead
    // would walk a big ship's vertices once per part, and would count patch and cannon parts,
    // which are read as models and change their kind only after their read.
    void openFinished(const Scene& scene);
    // Switches every model to level `level` (1 to 4) and recounts; the size stays the one of
    // level 1.
    void selectLevel(int level, Scene& scene);
    // Reads the fields as typed and checks the size's range; the numbers shown are kept when
    // the texts are refused.
    ResizeDecision checkResize(const std::string& sizeText, const std::string& verticesText,
                               const std::string& trianglesText);

    // Texts of the three fields.
    std::string sizeText() const;
    std::string verticesText() const;
    std::string trianglesText() const;

    int lodCount() const { return lodCount_; }
    bool levelEnabled(int level) const { return level >= 1 && level <= lodCount_; }
    int selectedLevel() const { return selectedLevel_; }
    bool resizeEnabled() const { return resizeEnabled_; }
    float sizeValue() const { return sizeValue_; }
    std::uint32_t vertexTotal() const { return vertexTotal_; }
    std::uint32_t triangleTotal() const { return triangleTotal_; }

  private:
    int lodCount_ = 1;
    int selectedLevel_ = 1;
    bool resizeEnabled_ = false;
    float sizeValue_ = 0.0f;
    std::uint32_t vertexTotal_ = 0;
    std::uint32_t triangleTotal_ = 0;
};

}  // namespace slipway
