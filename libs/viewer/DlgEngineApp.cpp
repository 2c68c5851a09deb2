#include "viewer/DlgEngineApp.h"

#include <QCoreApplication>

#include "viewer/EngineDlg.h"

namespace slipway {

DlgEngineApp::DlgEngineApp(const ViewerRules& rules, std::string baseDirectory, Clock& clock)
    : session_(rules, std::move(baseDirectory), clock),
      clock_(clock),
      lastTick_(clock.milliseconds()) {
    idleTimer_.setInterval(0);
    connect(&idleTimer_, &QTimer::timeout, this, [this] { idlePass(); });
}

DlgEngineApp::~DlgEngineApp() {
    idleTimer_.stop();
    window_.reset();
}

bool DlgEngineApp::initInstance() {
    window_ = createMainWindow();
    return window_ != nullptr;
}

void DlgEngineApp::requestQuit() {
    quitRequested_ = true;
    wakeIdle();
}

void DlgEngineApp::wakeIdle() {
    if (!idleTimer_.isActive()) {
        idleTimer_.start();
    }
}

bool DlgEngineApp::idlePass() {
    if (quitRequested_) {
        idleTimer_.stop();
        window_.reset();
        QCoreApplication::exit(0);
        return false;
    }
    if (session_.scene().objectCount() == 0) {
        idleTimer_.stop();
        return true;
    }
    if (session_.rules().animates) {
        const std::uint32_t now = clock_.milliseconds();
        // Unsigned: a wrap of the counter still gives the difference.
        const std::uint32_t elapsed = now - lastTick_;
        lastTick_ = now;
        session_.animate(elapsed);
    }
    if (window_ != nullptr && window_->deviceReady()) {
        window_->renderStep();
    }
    return true;
}

}  // namespace slipway
