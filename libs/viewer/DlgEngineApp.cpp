#include "viewer/DlgEngineApp.h"

#include <algorithm>
#include <cmath>

#include <QGuiApplication>
#include <QScreen>

#include "viewer/EngineDlg.h"

namespace slipway {

DlgEngineApp::DlgEngineApp(const ViewerRules& rules, std::string baseDirectory, Clock& clock)
    : session_(rules, std::move(baseDirectory), clock),
      clock_(clock),
      lastTick_(clock.milliseconds()) {
    // Paced to the display: drawing faster than the screen shows frames only keeps a core busy.
    idleTimer_.setTimerType(Qt::PreciseTimer);
    idleTimer_.setInterval(frameIntervalMs());
    connect(&idleTimer_, &QTimer::timeout, this, [this] { idlePass(); });
}

DlgEngineApp::~DlgEngineApp() {
    idleTimer_.stop();
    window_.reset();
}

int DlgEngineApp::frameIntervalMs() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double rate = screen != nullptr ? screen->refreshRate() : 0.0;
    if (!(rate >= 1.0 && rate <= 1000.0)) {
        return kDefaultFrameIntervalMs;
    }
    return std::max(1, static_cast<int>(std::floor(1000.0 / rate)));
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
