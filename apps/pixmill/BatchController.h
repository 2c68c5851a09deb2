#pragma once
// The window's side of a batch on the worker thread: runs the worker's questions on the
// window's thread (message boxes, the "Overwrite file" dialog, the Esc key), shows the titles
// and reports the progress and the end.

#include <string>

#include <QObject>
#include <QPointer>
#include <QWidget>

#include "base/KeyState.h"
#include "base/UserPrompt.h"
#include "pixmill/BatchWorker.h"

namespace slipway::pixmill {

class BatchController : public QObject, private BatchHooks {
    Q_OBJECT
  public:
    // `window` owns the dialogs; `prompt` and `keys` are the window's.
    BatchController(QWidget* window, UserPrompt& prompt, KeyState& keys);
    ~BatchController() override;

    // Starts `job` on the worker thread unless a batch runs. An Esc press made before this
    // call does not count.
    bool start(BatchWorker::Job job);
    bool running() const { return worker_.running(); }
    // The batch ends at its next interruption check without asking.
    void requestStop() { worker_.requestStop(); }

  signals:
    void titleChanged(const QString& title);
    void fileProgress(int index, int count, const QString& path);
    void finished(slipway::pixmill::BatchEnd end);
    // From the worker thread: calls wait in the relay.
    void callsWaiting();

  private:
    // BatchHooks, on the window's thread.
    OverwriteChoice askOverwrite(const std::string& outputPath) override;
    void fileStarted(std::size_t index, std::size_t count, const std::string& path) override;

    // The window's prompt; an Esc that closed one of its boxes is not a request to interrupt.
    class BoxPrompt : public UserPrompt {
      public:
        BoxPrompt(UserPrompt& prompt, KeyState& keys) : prompt_(prompt), keys_(keys) {}
        PromptAnswer show(std::string_view text, PromptButtons buttons) override;

      private:
        UserPrompt& prompt_;
        KeyState& keys_;
    };

    QPointer<QWidget> window_;
    KeyState& keys_;
    BoxPrompt prompt_;
    BatchWorker worker_;
};

}  // namespace slipway::pixmill
