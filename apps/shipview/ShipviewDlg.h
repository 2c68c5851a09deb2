#pragma once
// Shipview's main window: the engine window with the ship viewer's menu and the
// level-of-detail panel (level buttons, vertex and triangle counts, size and Resize).

#include <array>
#include <functional>

#include "shipview/LodPanel.h"
#include "viewer/EngineDlg.h"

class QAction;
class QLineEdit;
class QRadioButton;

namespace slipway {

class ShipviewDlg : public EngineDlg {
    Q_OBJECT
  public:
    explicit ShipviewDlg(DlgEngineApp& app, bool createDevice = true);

    LodPanel& panel() { return panel_; }
    QRadioButton* levelButton(int level) const {
        return levels_[static_cast<std::size_t>(level - 1)];
    }
    QLineEdit* sizeEdit() const { return size_; }
    QLineEdit* verticesEdit() const { return vertices_; }
    QLineEdit* trianglesEdit() const { return triangles_; }
    QPushButton* resizeButton() const { return resize_; }

    // Level buttons 1 to 4.
    void selectLevel(int level);
    // Rescales the open file on disk to the typed size and reads it again.
    void resizeModel();
    // File → Export glTF…: asks for a file and writes the scene as shown into it.
    void exportGltf();
    QAction* exportAction() const { return export_; }
    // Shows the save-file dialog with a suggested path; empty when the user cancels.
    std::function<QString(const QString& suggested)> chooseExportFile;

  protected:
    void onModelRead(const ModelRead& read) override;
    void onSceneCleared() override;
    void onOpened(const OpenResult& result) override;

  private:
    void buildMenu();
    // Writes the three fields from the panel.
    void showFields();
    // Export is offered while the scene holds anything.
    void updateExportAction();

    LodPanel panel_;
    std::array<QRadioButton*, 4> levels_{};
    QLineEdit* size_ = nullptr;
    QLineEdit* vertices_ = nullptr;
    QLineEdit* triangles_ = nullptr;
    QPushButton* resize_ = nullptr;
    QAction* export_ = nullptr;
};

}  // namespace slipway
