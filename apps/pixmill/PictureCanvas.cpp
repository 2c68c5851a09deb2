#include "pixmill/PictureCanvas.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>

namespace slipway::pixmill {

PictureCanvas::PictureCanvas(PictureViewer& viewer, QWidget* parent)
    : QWidget(parent), viewer_(viewer) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(16, 16);
}

void PictureCanvas::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const std::uint32_t back = viewer_.background();
    painter.fillRect(rect(), QColor(back & 0xFF, (back >> 8) & 0xFF, (back >> 16) & 0xFF));
    if (viewer_.screen().empty())
        return;
    viewer_.keepVisible(canvasSize());
    const QImage image(reinterpret_cast<const uchar*>(viewer_.screen().data()),
                       viewer_.pictureWidth(), viewer_.pictureHeight(), viewer_.pictureWidth() * 4,
                       QImage::Format_RGB32);
    const double zoom = viewer_.zoom();
    painter.drawImage(QRectF(viewer_.x(), viewer_.y(), viewer_.pictureWidth() * zoom,
                             viewer_.pictureHeight() * zoom),
                      image);
}

void PictureCanvas::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        dragging_ = true;
        lastMouse_ = event->position();
        setCursor(Qt::ClosedHandCursor);
    }
}

void PictureCanvas::mouseMoveEvent(QMouseEvent* event) {
    if (!dragging_)
        return;
    const QPointF now = event->position();
    viewer_.moveBy(now.x() - lastMouse_.x(), now.y() - lastMouse_.y());
    lastMouse_ = now;
    update();
}

void PictureCanvas::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && dragging_) {
        dragging_ = false;
        unsetCursor();
    } else if (event->button() == Qt::RightButton) {
        emit backgroundChoiceRequested();
    }
}

void PictureCanvas::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        emit reloadRequested();
}

}  // namespace slipway::pixmill
