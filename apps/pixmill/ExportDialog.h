#pragma once
// The dialog "Convert TF to TGA": which chain of the textures to read, which level, and the
// depth of the pictures written. It opens on the 16-bit chain when any selected texture has
// 16-bit levels (the choice then holds for every file), else on the 8-bit chain.

#include <QDialog>

#include "pixels/TextureCommands.h"
#include "pixmill/WindowBatch.h"

class QLabel;
class QPushButton;
class QRadioButton;
class QSlider;

namespace slipway::pixmill {

class ExportDialog : public QDialog {
    Q_OBJECT
  public:
    ExportDialog(const ExportScan& scan, QWidget* parent = nullptr);
    ExportOptions options() const;

    QRadioButton* from16Button() const { return from16_; }
    QRadioButton* from8Button() const { return from8_; }
    QSlider* levelSlider() const { return level_; }
    QLabel* levelLabel() const { return levelLabel_; }
    // 32, 24, 16 or 8.
    QRadioButton* depthButton(int depth) const;
    QPushButton* convertButton() const { return convert_; }

  private:
    void chooseChain(int chain);

    ExportScan scan_;
    int chain_ = 16;
    int depth_ = 32;
    QRadioButton* from16_ = nullptr;
    QRadioButton* from8_ = nullptr;
    QSlider* level_ = nullptr;
    QLabel* levelLabel_ = nullptr;
    QRadioButton* depths_[4] = {};
    QPushButton* convert_ = nullptr;
};

}  // namespace slipway::pixmill
