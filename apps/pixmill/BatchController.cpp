#include "pixmill/BatchController.h"

#include "pixmill/OverwriteDialog.h"

namespace slipway::pixmill {

PromptAnswer BatchController::BoxPrompt::show(std::string_view text, PromptButtons buttons) {
    const PromptAnswer answer = prompt_.show(text, buttons);
    keys_.wasPressed(Key::Escape);
    return answer;
}

BatchController::BatchController(QWidget* window, UserPrompt& prompt, KeyState& keys)
    : QObject(window), window_(window), keys_(keys), prompt_(prompt, keys), worker_([this] {
          emit callsWaiting();
      }) {
    connect(
        this, &BatchController::callsWaiting, this, [this] { worker_.runPending(); },
        Qt::QueuedConnection);
}

BatchController::~BatchController() {
    worker_.abandon();
}

bool BatchController::start(BatchWorker::Job job) {
    if (worker_.running())
        return false;
    keys_.wasPressed(Key::Escape);
    BatchWorker::Window window;
    window.prompt = &prompt_;
    window.keys = &keys_;
    window.hooks = this;
    window.showTitle = [this](const std::string& title) {
        emit titleChanged(QString::fromLocal8Bit(title));
    };
    return worker_.start(std::move(job), std::move(window),
                         [this](BatchEnd end) { emit finished(end); });
}

OverwriteChoice BatchController::askOverwrite(const std::string& outputPath) {
    const OverwriteChoice choice = OverwriteDialog::ask(outputPath, window_.data());
    keys_.wasPressed(Key::Escape);
    return choice;
}

void BatchController::fileStarted(std::size_t index, std::size_t count, const std::string& path) {
    emit fileProgress(static_cast<int>(index), static_cast<int>(count),
                      QString::fromLocal8Bit(path));
}

}  // namespace slipway::pixmill
