#pragma once
// The viewers' main window: the render area in its frame, the FPS figure, the Exit button, the
// menu bar, the right-click mouse-mode menu, camera dragging, the open commands and the recent
// file menu. It owns the display device and the renderer, opens files through the application's
// viewer session and shows what each command returns, and hears the scene code's load and
// clear notifications (at once, or after the command where the rules queue them). Each viewer
// derives from it to add its own panel and menu. Exit, Enter, Escape and the close box all ask
// the application to end.

#include <array>
#include <functional>
#include <memory>
#include <string>

#include <QDialog>
#include <QRect>
#include <QString>

#include "base/DebugTrace.h"
#include "engine/ModelFileKind.h"
#include "engine/SceneListener.h"
#include "engine/ViewerSession.h"
#include "qtshell/QtKeyState.h"
#include "qtshell/QtPrompt.h"
#include "render/DisplayDevice.h"
#include "render/FrameRenderer.h"

class QAction;
class QGroupBox;
class QLabel;
class QMenu;
class QMenuBar;
class QPushButton;

namespace slipway {

class DlgEngineApp;
class RenderArea;

// A control's place in dialog units.
struct DialogBox {
    double x, y, width, height;
};

struct EngineDlgOptions {
    QString programName;  // caption of message boxes
    double widthUnits = 401;  // client size in dialog units
    double heightUnits = 334;
    bool createDevice = true;  // false: no OpenGL at all (widget tests)
    // Where the shared controls stand; the ship viewer's places unless a viewer moves them.
    DialogBox renderFrame{7, 2, 331, 311};
    DialogBox fpsTitle{347, 9, 17, 10};
    DialogBox fps{371, 7, 23, 13};
    // The default push button "Exit" at 344, 289, 50, 28.
    bool exitButton = true;
};

class EngineDlg : public QDialog, public SceneListener {
    Q_OBJECT
  public:
    EngineDlg(DlgEngineApp& app, const EngineDlgOptions& options);
    ~EngineDlg() override;

    // Commands.
    void openModelFile(ModelFileKind kind);
    void openRecentFile(int index);
    void updateRecentMenu();
    void openPathList(int listKind);
    // Opens `path` as `kind` through the session and shows the result. The command line uses
    // it.
    void openPath(ModelFileKind kind, const std::string& path);

    // Draws one frame when the device may draw (the program is active).
    void renderStep();
    bool deviceReady() const { return deviceReady_; }
    bool appActive() const { return appActive_; }
    void setAppActive(bool active) { appActive_ = active; }
    // Asks the application to end (Exit, Enter, Escape, close box, device failure).
    void onOk();

    // The render area in client coordinates: the frame inset by 5, 14, 5 and 5 pixels.
    QRect renderRect() const { return renderRect_; }
    QWidget* clientArea() const { return client_; }
    QMenuBar* menuBar() const { return menuBar_; }
    QMenu* modeMenu() const { return modeMenu_; }
    QAction* recentAction(int index) const { return recent_[static_cast<std::size_t>(index)]; }
    QLabel* fpsLabel() const { return fps_; }

    ViewerSession& session();
    Scene& scene();
    TextureStore& textures();
    CameraObject& camera();
    DisplayDevice& device() { return device_; }
    std::uint32_t ambientLight() const { return ambient_; }
    const std::string& currentPath() const;
    ModelFileKind currentKind() const;
    bool dragging() const { return dragging_; }

    // Ports, replaceable by tests.
    void setPrompt(UserPrompt& prompt);
    UserPrompt& prompt() { return *prompt_; }
    // Shows the open-file dialog; empty when the user cancels.
    std::function<QString(ModelFileKind kind, const QString& initialDirectory)> chooseOpenFile;
    // Runs the path list dialog for a list kind.
    std::function<void(int listKind)> runPathList;

    // The back surface as an image (white when there is no device).
    QImage grabRenderArea();
    // The colour the pick pass draws under a point of the client area: the fill colour of the
    // current object's mesh there; 0 outside the render area, on the background, or without a
    // device.
    std::uint16_t readPickColor(const QPoint& clientPos);

    // SceneListener.
    void modelLoaded(const ModelRead& read) override;
    void sceneCleared() override;

    void accept() override;
    void reject() override;

  protected:
    // Called at the end of device creation; false abandons the device and ends the program.
    virtual bool deviceReadyHook() { return true; }
    // What the viewer adds to the two notifications.
    virtual void onModelRead(const ModelRead&) {}
    virtual void onSceneCleared() {}
    // What the viewer adds once an open has finished.
    virtual void onOpened(const OpenResult&) {}
    // A left press and release at a client position; true when the viewer took it, so that it
    // starts or ends no camera drag.
    virtual bool onLeftButtonDown(const QPoint&) { return false; }
    virtual bool onLeftButtonUp(const QPoint&) { return false; }

    // Menu building blocks for the derived windows.
    QAction* addOpenAction(QMenu* menu, const QString& text, ModelFileKind kind);
    void addRecentActions(QMenu* menu);
    void addPathActions(QMenu* menu);
    // "Reset View" (Home): the camera as an open leaves it.
    void addViewActions(QMenu* menu);

    // Shows what an open command returned: ambient light, caption, recent menu, idle passes.
    void showOpen(const OpenResult& result);
    // Hands the scene and the textures as they are now to the renderer, and makes sure idle
    // passes run.
    void sceneChanged();
    // Runs `work` with the render area's context current (when there is a device).
    void withContext(const std::function<void()>& work);

    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    DlgEngineApp& app_;
    QWidget* client_ = nullptr;

  private:
    void createDevice();
    void releaseDevice();
    void handleModelRead(const ModelRead& read);
    void handleSceneCleared();

    EngineDlgOptions options_;
    QtPrompt qtPrompt_;
    UserPrompt* prompt_;
    QtKeyState keys_;
    StderrTrace trace_;
    DisplayDevice device_;
    FrameRenderer renderer_;
    std::uint32_t ambient_ = kStartAmbient;

    QMenuBar* menuBar_ = nullptr;
    QMenu* modeMenu_ = nullptr;
    std::array<QAction*, SearchPaths::kRecentFiles> recent_{};
    QGroupBox* frame_ = nullptr;
    QWidget* renderArea_ = nullptr;
    RenderArea* glArea_ = nullptr;
    QLabel* fps_ = nullptr;
    QPushButton* exit_ = nullptr;
    QRect renderRect_;

    bool dragging_ = false;
    static constexpr int kEighthsPerNotch = 120;  // wheel angle of one notch, in 1/8 degree
    int wheelEighths_ = 0;
    bool appActive_ = true;
    bool deviceReady_ = false;
};

}  // namespace slipway
