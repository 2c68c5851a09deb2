#pragma once
// The record list: one full row selected at a time, grid lines, no in-place editing. A
// left double-click on a cell reports the row and column under the mouse before the ordinary
// double-click handling.

#include <QTableWidget>

namespace slipway {

class MyList : public QTableWidget {
    Q_OBJECT
  public:
    explicit MyList(QWidget* parent = nullptr);

  signals:
    void cellHit(int row, int column);

  protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

}  // namespace slipway
