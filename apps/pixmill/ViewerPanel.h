#pragma once
// The middle column of Pixmill's window: the picture canvas, the zoom slider with its label,
// the level slider and the "16 bit" / "8 bit" chain buttons of a texture, and three read-only
// fields with the path, the file's description and the current size and surface. The state
// is the PictureViewer's; this panel shows it and passes the user's actions on.

#include <functional>
#include <memory>

#include <QWidget>

#include "base/UserPrompt.h"
#include "pixels/ImageFile.h"
#include "pixmill/PictureViewer.h"

class QLabel;
class QLineEdit;
class QRadioButton;
class QSlider;

namespace slipway::pixmill {

class PictureCanvas;

class ViewerPanel : public QWidget {
    Q_OBJECT
  public:
    // The background comes from the settings; it is written back when the panel goes.
    ViewerPanel(UserPrompt& prompt, QWidget* parent = nullptr);
    ~ViewerPanel() override;

    // A preview from a pane (or from the command line).
    void show(std::unique_ptr<ImageFile> handler);
    void reload();
    void setBackground(std::uint32_t rgb);
    // Opens the background choice and applies it.
    void chooseBackground();

    const PictureViewer& viewer() const { return viewer_; }
    PictureCanvas* canvas() const { return canvas_; }
    QSlider* zoomSlider() const { return zoomSlider_; }
    QLabel* zoomLabel() const { return zoomLabel_; }
    QSlider* levelSlider() const { return levelSlider_; }
    QLabel* levelLabel() const { return levelLabel_; }
    QRadioButton* sixteenBitButton() const { return sixteenBit_; }
    QRadioButton* eightBitButton() const { return eightBit_; }
    QLineEdit* pathField() const { return pathField_; }
    QLineEdit* infoField() const { return infoField_; }
    QLineEdit* surfaceField() const { return surfaceField_; }

    // Which view the picture is drawn in; by default from the Ctrl and Shift keys held.
    void setViewChooser(std::function<PreviewView()> chooser) { viewChooser_ = std::move(chooser); }

  private:
    PreviewView currentView() const;
    void refresh();

    PictureViewer viewer_;
    PictureCanvas* canvas_ = nullptr;
    QSlider* zoomSlider_ = nullptr;
    QLabel* zoomLabel_ = nullptr;
    QSlider* levelSlider_ = nullptr;
    QLabel* levelLabel_ = nullptr;
    QRadioButton* sixteenBit_ = nullptr;
    QRadioButton* eightBit_ = nullptr;
    QLineEdit* pathField_ = nullptr;
    QLineEdit* infoField_ = nullptr;
    QLineEdit* surfaceField_ = nullptr;
    std::function<PreviewView()> viewChooser_;
};

}  // namespace slipway::pixmill
