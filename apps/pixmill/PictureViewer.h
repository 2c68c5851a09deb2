#pragma once
// The picture viewer's state, apart from its widgets: the file shown (its handler), the display
// picture and its screen colours, zoom, position and dragging, the level and chain controls and
// the three text fields. The widgets show what it holds and hand it the user's actions.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/UserPrompt.h"
#include "pixels/ImageFile.h"
#include "pixels/PicturePreview.h"

namespace slipway::pixmill {

inline constexpr std::uint32_t kDefaultBackground = 0xC0C0C0;  // red in the low byte
inline constexpr int kZoomPositionMin = 1;
inline constexpr int kZoomPositionMax = 64;
inline constexpr int kZoomPositionOne = 16;  // 1 : 1
inline constexpr int kZoomPageStep = 4;
// At least this many pixels of the zoomed picture stay inside the canvas on each side.
inline constexpr double kVisibleMargin = 5.0;

inline constexpr const char* kPathFieldStart = "File path";
inline constexpr const char* kInfoFieldStart = "Picture info";
inline constexpr const char* kSurfaceFieldStart = "Pixmill v 1.4 preAplpha  `;o)";

// Zoom factor of a zoom slider position: position / 16.
double zoomOf(int position);
// "1.0 : %.1f" with 16 / position below 16, "%.1f : 1.0" with position / 16 from 16 up.
std::string zoomLabel(int position);
// The colour of the colour choice field (128 x 128) at column x, row y, red in the low byte.
std::uint32_t colourFieldColour(int x, int y);

struct CanvasSize {
    int width = 0;
    int height = 0;
};

class PictureViewer {
  public:
    explicit PictureViewer(UserPrompt& prompt) : prompt_(prompt) {}

    // A preview from a pane; nothing happens for no handler. A handler that cannot be read,
    // loaded or shown is dropped with its message and the picture on the canvas stays.
    void show(std::unique_ptr<ImageFile> handler, PreviewView view, CanvasSize canvas);
    // Loads the current handler's level again (the double-click, the level and chain controls).
    void reload(PreviewView view, CanvasSize canvas);
    void selectLevel(int level, PreviewView view, CanvasSize canvas);
    void selectChain(bool use16, PreviewView view, CanvasSize canvas);
    // The zoom slider moved: the picture's centre stays where it is.
    void setZoomPosition(int position);
    // Dragging moved the mouse by (dx, dy).
    void moveBy(double dx, double dy);
    // Keeps kVisibleMargin pixels of the zoomed picture inside the canvas (done when painting).
    void keepVisible(CanvasSize canvas);
    // A new background: the picture is drawn again with it.
    void setBackground(std::uint32_t rgb, PreviewView view);

    const ImageFile* current() const { return current_.get(); }
    std::uint32_t background() const { return background_; }
    // The display picture's screen colours (0xAARRGGBB), width x height; empty before a load.
    const std::vector<std::uint32_t>& screen() const { return screen_; }
    int pictureWidth() const { return static_cast<int>(display_.width()); }
    int pictureHeight() const { return static_cast<int>(display_.height()); }
    double x() const { return x_; }
    double y() const { return y_; }
    double zoom() const { return zoom_; }

    int zoomPosition() const { return zoomPosition_; }
    std::string zoomText() const { return zoomLabel(zoomPosition_); }
    bool chainButtonsVisible() const { return chainButtonsVisible_; }
    bool sixteenBitChecked() const { return sixteenBitChecked_; }
    bool levelVisible() const { return levelVisible_; }
    int levelMaximum() const { return levelMaximum_; }
    int levelPosition() const { return levelPosition_; }
    const std::string& levelText() const { return levelText_; }
    const std::string& pathText() const { return pathText_; }
    const std::string& infoText() const { return infoText_; }
    const std::string& surfaceText() const { return surfaceText_; }

  private:
    bool reloadLevel(PreviewView view, CanvasSize canvas);
    bool loadIntoCanvas(const PixelImage& picture, PreviewView view, CanvasSize canvas);
    void render(PreviewView view);
    void showLevelControls();
    void writeSurfaceText();

    UserPrompt& prompt_;
    std::unique_ptr<ImageFile> current_;
    PixelImage display_;
    std::vector<std::uint32_t> screen_;
    std::string surface_;  // the display description
    std::uint32_t background_ = kDefaultBackground;
    double zoom_ = 1.0;
    double x_ = 0.0;
    double y_ = 0.0;

    int zoomPosition_ = kZoomPositionOne;
    bool chainButtonsVisible_ = false;
    bool sixteenBitChecked_ = true;
    bool levelVisible_ = false;
    int levelMaximum_ = 0;
    int levelPosition_ = 0;
    std::string levelText_ = "mip 1";
    std::string pathText_ = kPathFieldStart;
    std::string infoText_ = kInfoFieldStart;
    std::string surfaceText_ = kSurfaceFieldStart;
};

}  // namespace slipway::pixmill
