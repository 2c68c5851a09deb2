#pragma once
// Meshview's editing panel apart from its widgets: the rows of the object list, the key slider,
// the Height and Kf values, select mode and the picked mesh. Each command works on the scene
// through the engine's editing operations and leaves here what the window then shows; the
// command line runs the same commands without a window.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/Scene.h"
#include "engine/SceneListener.h"

namespace slipway {

// The ranges the two value fields accept, and their messages.
inline constexpr float kMinHeightValue = 0.000001f;
inline constexpr float kMaxHeightValue = 9000.0f;
inline constexpr float kMinKfValue = 0.000000001f;
inline constexpr float kMaxKfValue = 9000.0f;
inline constexpr const char* kEnterANumberText = "Enter a number.";
inline constexpr const char* kHeightRangeText = "Enter a number between 0.000001 and 9000.";
inline constexpr const char* kKfRangeText = "Enter a number between 0.000000001 and 9000.";
// The slider's range before any model was read: 0 to 10.
inline constexpr int kStartKeyRange = 10;
// Rename reads this many characters of the name field.
inline constexpr std::size_t kRenameLength = 63;

// One row of the object list: a mesh of the object in `slot`.
struct ObjectRow {
    int slot = -1;
    int mesh = -1;
    std::string name;

    bool operator==(const ObjectRow&) const = default;
};

// A number typed into one of the value fields.
struct ValueCheck {
    enum Field { None, Height, Kf };
    Field field = None;  // the field that was refused
    std::string message;
    float height = 0.0f;
    float kf = 0.0f;
    bool ok() const { return field == None; }
};

class EditPanel {
  public:
    // A typed Height or Kf: a whole number text within its range, or the message for it.
    static std::optional<float> parseHeight(const std::string& text, std::string& message);
    static std::optional<float> parseKf(const std::string& text, std::string& message);

    // A model file was read into `read.slot`: its meshes' names go to the top of the list,
    // the slider's range becomes its keys and moves to 0 (no key is applied), and the height
    // is measured.
    void modelRead(const Scene& scene, const ModelRead& read);
    // The scene was cleared: no rows, select mode off, editing off. The picked mesh number is
    // kept, as is everything the value fields show.
    void sceneCleared();

    // Select Mode pressed (only the first object is shown, in fill colours, and is edited) or
    // released (picks cleared, every object shown with its textures, editing off).
    void setSelectMode(Scene& scene, bool down);
    // A click in select mode on a pixel of `color`: the picks are cleared and the mesh of that
    // colour picked. True when a mesh was picked; false leaves the editing controls as they
    // were, with nothing picked.
    bool pick(Scene& scene, std::uint32_t color);
    // The same for mesh `index` of the current object, as a click on it would pick it (the
    // command line names meshes by their index). False when there is no such mesh.
    bool pickIndex(Scene& scene, int index);
    // Rename, Flip Normals and Change DoubleSide State: with a picked mesh only. Rename takes
    // the first 63 characters of a non-empty text and returns the list row it renamed (-1 for
    // none).
    int rename(Scene& scene, std::string_view text);
    void flipNormals(Scene& scene);
    void changeDoubleSide(Scene& scene);
    // The slider moved to `position`: the object in slot 0 is posed at that key if it has it;
    // the number is shown either way.
    void showKey(Scene& scene, int position);

    // Reads both value fields at once, the Height first; on success both values are taken.
    ValueCheck readValues(const std::string& heightText, const std::string& kfText);
    // Resize to a height: the model in slot 0 is scaled by height / the height measured after
    // the last read or rescaling, which is measured again; Kf shows the ratio. Nothing happens
    // (false) when there is no height to divide by or the scale is refused.
    bool resizeToHeight(Scene& scene, float height);
    // Resize by a factor: the model in slot 0 is scaled by `kf` and its height measured
    // again; Kf stays, so pressing again scales again. False when the scale is refused.
    bool resizeByFactor(Scene& scene, float kf);

    const std::vector<ObjectRow>& rows() const { return rows_; }
    bool selectMode() const { return selectMode_; }
    int selectedMesh() const { return selectedMesh_; }
    bool editingEnabled() const { return editingEnabled_; }
    const std::string& pickedName() const { return pickedName_; }
    int sliderMax() const { return sliderMax_; }
    int sliderPosition() const { return sliderPosition_; }
    const std::string& keyText() const { return keyText_; }
    float heightValue() const { return heightValue_; }
    float oldHeight() const { return oldHeight_; }
    float kfValue() const { return kfValue_; }
    std::string heightText() const;
    std::string kfText() const;

  private:
    std::vector<ObjectRow> rows_;
    bool selectMode_ = false;
    int selectedMesh_ = -1;
    bool editingEnabled_ = false;
    std::string pickedName_;
    int sliderMax_ = kStartKeyRange;
    int sliderPosition_ = 0;
    std::string keyText_ = "0";
    float heightValue_ = 0.0f;
    float oldHeight_ = 0.0f;
    float kfValue_ = 1.0f;
};

}  // namespace slipway
