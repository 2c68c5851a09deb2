#pragma once
// Meshview's main window: the engine window with the model editor's menu (Save and Exit, no
// DEF command) and controls: the key slider under the render area with the number of the key
// shown, Height and Kf with their Resize buttons, the object list, Select Mode and the picked
// mesh's name with Rename, "Change DoubleSide State" and "Flip Normals". In select mode a left
// click picks the mesh under the pointer instead of turning the camera.

#include <cstdint>
#include <functional>

#include "meshview/EditPanel.h"
#include "viewer/EngineDlg.h"

class QLineEdit;
class QSlider;
class QTreeWidget;

namespace slipway {

class MeshviewDlg : public EngineDlg {
    Q_OBJECT
  public:
    explicit MeshviewDlg(DlgEngineApp& app, bool createDevice = true);

    EditPanel& panel() { return panel_; }
    QSlider* keySlider() const { return slider_; }
    QLineEdit* keyEdit() const { return keyNumber_; }
    QLineEdit* heightEdit() const { return height_; }
    QPushButton* heightResizeButton() const { return heightResize_; }
    QLineEdit* kfEdit() const { return kf_; }
    QPushButton* kfResizeButton() const { return kfResize_; }
    QTreeWidget* objectList() const { return list_; }
    QPushButton* selectButton() const { return select_; }
    QLineEdit* nameEdit() const { return name_; }
    QPushButton* renameButton() const { return rename_; }
    QPushButton* doubleSideButton() const { return doubleSide_; }
    QPushButton* flipNormalsButton() const { return flipNormals_; }
    QAction* saveAction() const { return save_; }
    QAction* exitAction() const { return exit_; }

    // The colour under a client position; the render area's pick pass unless a test replaces
    // it.
    std::function<std::uint16_t(const QPoint& clientPos)> pickColorAt;

    // The commands behind the controls.
    void switchSelectMode(bool down);
    void pickAt(const QPoint& clientPos);
    void renameMesh();
    void flipNormals();
    void changeDoubleSide();
    void showKey(int position);
    void resizeToHeight();
    void resizeByFactor();
    void saveModels();

  protected:
    void onModelRead(const ModelRead& read) override;
    void onSceneCleared() override;
    bool onLeftButtonDown(const QPoint& clientPos) override;
    bool onLeftButtonUp(const QPoint& clientPos) override;

  private:
    void buildMenu();
    void buildControls();
    void setEditingEnabled(bool enabled);
    // Shows the two values in their fields.
    void showValues();
    // Reads the two value fields; on a refusal the message is shown, the field selected and
    // false returned.
    bool readValues();
    // After a rescaling: values, camera, and the changed model on the next frame.
    void rescaled();

    EditPanel panel_;
    QSlider* slider_ = nullptr;
    QLineEdit* keyNumber_ = nullptr;
    QLineEdit* height_ = nullptr;
    QPushButton* heightResize_ = nullptr;
    QLineEdit* kf_ = nullptr;
    QPushButton* kfResize_ = nullptr;
    QTreeWidget* list_ = nullptr;
    QPushButton* select_ = nullptr;
    QLineEdit* name_ = nullptr;
    QPushButton* rename_ = nullptr;
    QPushButton* doubleSide_ = nullptr;
    QPushButton* flipNormals_ = nullptr;
    QAction* save_ = nullptr;
    QAction* exit_ = nullptr;
};

}  // namespace slipway
