#pragma once
// The viewers' application object: owns the viewer session (scene, textures, search paths,
// camera) and the quit request, and runs the idle loop. While a scene is shown a timer at the
// screen's refresh rate gives one idle pass per frame the screen can show: objects are
// animated with the milliseconds since the previous pass (where the rules animate) and, when
// the device is ready and the program active, a frame is drawn. Each viewer derives from it to
// create its main window.

#include <cstdint>
#include <memory>

#include <QObject>
#include <QTimer>

#include "base/Clock.h"
#include "engine/ViewerSession.h"

namespace slipway {

class EngineDlg;

class DlgEngineApp : public QObject {
    Q_OBJECT
  public:
    // Captures `baseDirectory` (the home of Dialog.ini) and the clock's start.
    DlgEngineApp(const ViewerRules& rules, std::string baseDirectory, Clock& clock);
    ~DlgEngineApp() override;

    ViewerSession& session() { return session_; }
    Scene& scene() { return session_.scene(); }
    const SearchPaths& searchPaths() const { return session_.searchPaths(); }
    Clock& clock() { return clock_; }

    // Creates the main window; false when that failed.
    bool initInstance();
    EngineDlg* mainWindow() { return window_.get(); }

    // Asks the program to end at the next idle pass.
    void requestQuit();
    bool quitRequested() const { return quitRequested_; }

    // One idle pass. Returns false when it ended the program (window destroyed, event loop
    // told to quit).
    bool idlePass();
    // Makes sure idle passes run (a scene is shown or a quit waits); with nothing to show the
    // next pass stops them again.
    void wakeIdle();
    bool idleRunning() const { return idleTimer_.isActive(); }
    int idleInterval() const { return idleTimer_.interval(); }

    // One frame of the primary screen in milliseconds (rounded down, so that no refresh is
    // missed); 16 where the screen does not say.
    static int frameIntervalMs();
    static constexpr int kDefaultFrameIntervalMs = 16;

  protected:
    virtual std::unique_ptr<EngineDlg> createMainWindow() = 0;
    // Destroys the main window first, as the derived applications require.
    void destroyMainWindow() { window_.reset(); }

  private:
    ViewerSession session_;
    Clock& clock_;
    bool quitRequested_ = false;
    std::uint32_t lastTick_;
    QTimer idleTimer_;
    std::unique_ptr<EngineDlg> window_;
};

}  // namespace slipway
