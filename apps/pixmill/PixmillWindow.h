#pragma once
// Pixmill's main window: the title "Pixmill", the menu commands "&Convert" and "E&xit", the
// main view with the panes and the viewer, and a status area with the batch's progress. It
// keeps its placement in the settings, routes the convert trigger by the keyboard focus and
// runs the batches on a worker thread.

#include <memory>
#include <string>

#include <QMainWindow>

#include "pixmill/BatchWorker.h"
#include "pixmill/WindowBatch.h"
#include "qtshell/QtKeyState.h"
#include "qtshell/QtPrompt.h"

class QAction;
class QLabel;
class QProgressBar;

namespace slipway::pixmill {

class BatchController;
class MainView;

class PixmillWindow : public QMainWindow {
    Q_OBJECT
  public:
    // The stored placement is applied; showStored shows the window as it was left.
    explicit PixmillWindow(QWidget* parent = nullptr);
    // Writes the placement back.
    ~PixmillWindow() override;

    // Shows the window in the stored show state.
    void showStored();
    // The panes on `path`'s folder (or on `path` when it is a folder), a file previewed.
    void openPath(const std::string& path);

    // The convert trigger: the source pane's files into textures when it has the focus, the
    // target pane's textures into pictures when it has it, else a message.
    void convertTrigger();
    bool busy() const { return busy_; }

    MainView* view() const { return view_; }
    QAction* convertAction() const { return convert_; }
    QProgressBar* progressBar() const { return progress_; }
    UserPrompt& prompt() { return prompt_; }

  signals:
    // A batch has ended and the panes were told to list again.
    void batchFinished(slipway::pixmill::BatchEnd end);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void convertToTf();
    void exportToTga();
    void startBatch(BatchWorker::Job job, bool toTextures);
    void batchEnded(BatchEnd end);
    void showProgress(int index, int count, const QString& path);
    void showTitle(const QString& title);

    QtPrompt prompt_{"Pixmill"};
    QtKeyState keys_;
    MainView* view_ = nullptr;
    QAction* convert_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* step_ = nullptr;
    BatchController* batch_ = nullptr;
    bool busy_ = false;
    bool batchToTextures_ = true;  // which pane lists again when the batch ends
    int savedMark_ = -1;
    bool closeWhenDone_ = false;
};

}  // namespace slipway::pixmill
