#pragma once
// The dialog "Convert tga | bmp files to tf": the two chains with their level counts, the
// four-bit alpha with its attenuation, and the line copying. Opens with the defaults every
// time; nothing is remembered between batches.

#include <QDialog>

#include "pixels/TextureCommands.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSlider;

namespace slipway::pixmill {

class ConvertDialog : public QDialog {
    Q_OBJECT
  public:
    explicit ConvertDialog(QWidget* parent = nullptr);
    // The options as the controls stand.
    ConvertOptions options() const;

    // The controls of one chain ("16 bit" or "8 bit").
    struct ChainControls {
        QCheckBox* enabled = nullptr;
        QRadioButton* numberMips = nullptr;
        QRadioButton* minimumSize = nullptr;
        QSlider* slider = nullptr;
        QLabel* label = nullptr;
    };
    const ChainControls& chain16() const { return chain16_; }
    const ChainControls& chain8() const { return chain8_; }
    QCheckBox* fourBitAlphaBox() const { return fourBitAlpha_; }
    QLabel* attenuationTitle() const { return attenuationTitle_; }
    QSlider* attenuationSlider() const { return attenuationSlider_; }
    QLabel* attenuationValue() const { return attenuationValue_; }
    // "Non", "Up -> down", "Down -> up" and "Non", "Left -> right", "Right -> left".
    QRadioButton* verticalCopy(int mode) const { return vertical_[mode]; }
    QRadioButton* horizontalCopy(int mode) const { return horizontal_[mode]; }
    QPushButton* convertButton() const { return convert_; }
    QPushButton* cancelButton() const { return cancel_; }

  private:
    QWidget* makeChain(const char* check, const char* group, ChainControls& controls);
    void chooseMode(ChainControls& controls, MipCountMode mode);
    void updateEnabling();

    ChainControls chain16_;
    ChainControls chain8_;
    QCheckBox* fourBitAlpha_ = nullptr;
    QLabel* attenuationTitle_ = nullptr;
    QSlider* attenuationSlider_ = nullptr;
    QLabel* attenuationValue_ = nullptr;
    QRadioButton* vertical_[3] = {};
    QRadioButton* horizontal_[3] = {};
    QPushButton* convert_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

}  // namespace slipway::pixmill
