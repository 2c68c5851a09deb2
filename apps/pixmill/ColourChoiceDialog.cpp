#include "pixmill/ColourChoiceDialog.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QVBoxLayout>

#include "pixmill/PictureViewer.h"

namespace slipway::pixmill {
namespace {

constexpr int kFieldSide = 128;

QImage fieldImage() {
    QImage image(kFieldSide, kFieldSide, QImage::Format_RGB32);
    for (int y = 0; y < kFieldSide; ++y) {
        for (int x = 0; x < kFieldSide; ++x) {
            const std::uint32_t c = colourFieldColour(x, y);
            image.setPixel(x, y, qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF));
        }
    }
    return image;
}

}  // namespace

ColourChoiceDialog::ColourChoiceDialog(QWidget* parent) : QDialog(parent), image_(fieldImage()) {
    setWindowTitle("Background");
    auto* label = new QLabel(this);
    label->setPixmap(QPixmap::fromImage(image_));
    label->setFixedSize(kFieldSide, kFieldSide);
    label->setCursor(Qt::CrossCursor);
    label->installEventFilter(this);
    field_ = label;
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(label);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

bool ColourChoiceDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == field_ && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint at = mouse->position().toPoint();
        if (at.x() >= 0 && at.y() >= 0 && at.x() < kFieldSide && at.y() < kFieldSide) {
            if (mouse->button() == Qt::LeftButton) {
                chosen_ = colourFieldColour(at.x(), at.y());
                accept();
                return true;
            }
            if (mouse->button() == Qt::RightButton) {
                reject();
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace slipway::pixmill
