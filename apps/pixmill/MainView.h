#pragma once
// The client area of Pixmill's window: the source pane, the picture viewer and the target pane
// in three columns, with a splitter in each of the two gaps. Pressing near a splitter drags it
// (a black bar shows where it goes) within its limits; the fractions are stored as settings.

#include <QWidget>

#include "base/UserPrompt.h"
#include "pixmill/SplitterLayout.h"

namespace slipway::pixmill {

class FilePane;
class ViewerPanel;

class MainView : public QWidget {
    Q_OBJECT
  public:
    MainView(UserPrompt& prompt, QWidget* parent = nullptr);
    // Writes the splitters back.
    ~MainView() override;

    FilePane* sourcePane() const { return source_; }
    FilePane* targetPane() const { return target_; }
    ViewerPanel* viewer() const { return viewer_; }
    const SplitterLayout& splitters() const { return splitters_; }
    QWidget* splitterBar() const { return bar_; }

  signals:
    // F5 in a pane.
    void convertRequested();

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void layOut();
    void placeBar();

    SplitterLayout splitters_;
    FilePane* source_ = nullptr;
    FilePane* target_ = nullptr;
    ViewerPanel* viewer_ = nullptr;
    QWidget* bar_ = nullptr;
    Splitter dragged_ = Splitter::None;
};

}  // namespace slipway::pixmill
