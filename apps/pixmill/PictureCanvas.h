#pragma once
// The viewer's drawing area: the background colour, and the picture at its position and zoom.
// The left button drags the picture, a double-click reloads it, the right button chooses the
// background.

#include <QWidget>

#include "pixmill/PictureViewer.h"

namespace slipway::pixmill {

class PictureCanvas : public QWidget {
    Q_OBJECT
  public:
    PictureCanvas(PictureViewer& viewer, QWidget* parent = nullptr);
    CanvasSize canvasSize() const { return {width(), height()}; }

  signals:
    void reloadRequested();
    void backgroundChoiceRequested();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    PictureViewer& viewer_;
    bool dragging_ = false;
    QPointF lastMouse_;
};

}  // namespace slipway::pixmill
