#include "pixmill/PictureViewer.h"

#include <algorithm>

#include "base/Format.h"
#include "pixels/ImageFiles.h"

namespace slipway::pixmill {

double zoomOf(int position) {
    return position * 0.0625;
}

std::string zoomLabel(int position) {
    if (position < kZoomPositionOne)
        return formatText("1.0 : %.1f", 16.0 / position);
    return formatText("%.1f : 1.0", position / 16.0);
}

std::uint32_t colourFieldColour(int x, int y) {
    const int x2 = 2 * x;
    const int t = ((x2 & 31) * 2 * y) >> 5;
    const int red = x2 >= 128 ? t : 255 - t;
    const int green = (x2 & 64) != 0 ? t : 255 - t;
    const int blue = (x2 & 32) != 0 ? t : 255 - t;
    return static_cast<std::uint32_t>(red) | (static_cast<std::uint32_t>(green) << 8) |
           (static_cast<std::uint32_t>(blue) << 16);
}

void PictureViewer::show(std::unique_ptr<ImageFile> handler, PreviewView view, CanvasSize canvas) {
    if (!handler)
        return;
    sixteenBitChecked_ = true;
    if (!handler->readInfo()) {
        tell(prompt_, "Error access file: " + handler->path);
        return;
    }
    if (!handler->loadPicture()) {
        tell(prompt_, "Error loading file: " + handler->path);
        return;
    }
    zoomPosition_ = kZoomPositionOne;
    if (!loadIntoCanvas(handler->picture, view, canvas)) {
        tell(prompt_, "Error viewing file: " + handler->path);
        return;
    }
    current_ = std::move(handler);
    pathText_ = current_->path;
    infoText_ = describeImage(*current_);
    chainButtonsVisible_ = current_->count16 > 0 && current_->count8 > 0;
    showLevelControls();
    writeSurfaceText();
}

void PictureViewer::reload(PreviewView view, CanvasSize canvas) {
    reloadLevel(view, canvas);
}

bool PictureViewer::reloadLevel(PreviewView view, CanvasSize canvas) {
    if (!current_)
        return false;
    if (!current_->loadPicture()) {
        tell(prompt_, "Error loading file: " + current_->path);
        current_.reset();
        chainButtonsVisible_ = false;
        levelVisible_ = false;
        return false;
    }
    zoomPosition_ = kZoomPositionOne;
    if (!loadIntoCanvas(current_->picture, view, canvas)) {
        tell(prompt_, "Error viewing file: " + current_->path);
        return false;
    }
    showLevelControls();
    writeSurfaceText();
    return true;
}

void PictureViewer::selectLevel(int level, PreviewView view, CanvasSize canvas) {
    if (!current_)
        return;
    current_->level = static_cast<std::uint32_t>(std::max(level, 0));
    reload(view, canvas);
}

void PictureViewer::selectChain(bool use16, PreviewView view, CanvasSize canvas) {
    if (!current_)
        return;
    const bool previous = current_->use16;
    current_->level = 0;
    current_->use16 = use16;
    if (reloadLevel(view, canvas)) {
        sixteenBitChecked_ = use16;
    } else if (current_) {
        current_->use16 = previous;
    }
}

void PictureViewer::setZoomPosition(int position) {
    position = std::clamp(position, kZoomPositionMin, kZoomPositionMax);
    const double old = zoom_;
    zoom_ = zoomOf(position);
    x_ += display_.width() * (old - zoom_) / 2;
    y_ += display_.height() * (old - zoom_) / 2;
    zoomPosition_ = position;
    if (current_)
        writeSurfaceText();
}

void PictureViewer::moveBy(double dx, double dy) {
    x_ += dx;
    y_ += dy;
}

void PictureViewer::keepVisible(CanvasSize canvas) {
    if (display_.isEmpty())
        return;
    const double width = display_.width() * zoom_;
    const double height = display_.height() * zoom_;
    x_ = std::min(x_, canvas.width - kVisibleMargin);
    x_ = std::max(x_, kVisibleMargin - width);
    y_ = std::min(y_, canvas.height - kVisibleMargin);
    y_ = std::max(y_, kVisibleMargin - height);
}

void PictureViewer::setBackground(std::uint32_t rgb, PreviewView view) {
    background_ = rgb & 0xFFFFFF;
    render(view);
}

bool PictureViewer::loadIntoCanvas(const PixelImage& picture, PreviewView view, CanvasSize canvas) {
    PixelImage display;
    if (!makeDisplayPicture(picture, display))
        return false;
    display_ = std::move(display);
    render(view);
    surface_ = describeSurface(picture);
    zoom_ = 1.0;
    x_ = (canvas.width - pictureWidth()) / 2;
    y_ = (canvas.height - pictureHeight()) / 2;
    return true;
}

void PictureViewer::render(PreviewView view) {
    screen_.assign(static_cast<std::size_t>(display_.width()) * display_.height(), 0);
    if (!display_.isEmpty())
        renderPreview(display_, background_, view, screen_.data());
}

void PictureViewer::showLevelControls() {
    const ImageFile& file = *current_;
    levelVisible_ = file.count16 > 0 || file.count8 > 0;
    if (levelVisible_) {
        const int count = static_cast<int>(file.use16 ? file.count16 : file.count8);
        levelMaximum_ = std::max(count - 1, 0);
        // The slider stands at the level shown (a reload after moving it keeps it there).
        levelPosition_ = std::min(static_cast<int>(file.level), levelMaximum_);
    }
    levelText_ = formatText("mip %u", file.level);
}

void PictureViewer::writeSurfaceText() {
    const int width = static_cast<int>(display_.width() * zoom_);
    const int height = static_cast<int>(display_.height() * zoom_);
    surfaceText_ =
        formatText("Current size: %dx%d; Texture surface: %s", width, height, surface_.c_str());
}

}  // namespace slipway::pixmill
