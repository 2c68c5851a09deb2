#pragma once
// The viewers' main window: the render area in its frame, the FPS figure, the Exit button, the
// menu bar, the right-click mouse-mode menu, camera dragging, the open commands and the recent
// file menu. It owns the display device, the texture store and the camera, and hears the scene
// code's load and clear notifications. Each viewer derives from it to add its own panel and
// menu. Exit, Enter, Escape and the close box all ask the application to end.

#include <array>
#include <functional>
#include <memory>
#include <string>

#include <QDialog>
#include <QRect>
#include <QString>

#include "base/DebugTrace.h"
#include "engine/CameraObject.h"
#include "engine/ModelLoader.h"
#include "engine/SceneListener.h"
#include "engine/TextureStore.h"
#include "qtshell/QtKeyState.h"
#include "qtshell/QtPrompt.h"
#include "render/DisplayDevice.h"
#include "render/FrameRenderer.h"
#include "viewer/ModelFileKind.h"

class QAction;
class QGroupBox;
class QLabel;
class QMenu;
class QMenuBar;
class QPushButton;

namespace slipway {

class DlgEngineApp;
class RenderArea;

inline constexpr std::uint32_t kAmbientUntextured = 0x0F7F7F7F;
inline constexpr std::uint32_t kAmbientTextured = 0x0FFFFFFF;

struct EngineDlgOptions {
    QString programName;  // caption of message boxes
    ViewerForm form = ViewerForm::Shipview;
    ProjectionValues projection = kShipviewProjection;
    double widthUnits = 401;  // client size in dialog units
    double heightUnits = 334;
    bool createDevice = true;  // false: no OpenGL at all (widget tests)
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
    // Reads `path` as `kind` into the scene and then does what an open does afterwards (ambient
    // light, recent list and directory, caption, camera). The command line uses it.
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

    Scene& scene();
    TextureStore& textures() { return store_; }
    CameraObject& camera() { return camera_; }
    DisplayDevice& device() { return device_; }
    std::uint32_t ambientLight() const { return ambient_; }
    const std::string& currentPath() const { return currentPath_; }
    ModelFileKind currentKind() const { return currentKind_; }
    bool dragging() const { return dragging_; }
    // The services the model readers need, with this window as listener.
    ModelServices services();

    // Ports, replaceable by tests.
    void setPrompt(UserPrompt& prompt) { prompt_ = &prompt; }
    UserPrompt& prompt() { return *prompt_; }
    // Shows the open-file dialog; empty when the user cancels.
    std::function<QString(ModelFileKind kind, const QString& initialDirectory)> chooseOpenFile;
    // Runs the path list dialog for a list kind.
    std::function<void(int listKind)> runPathList;

    // The back surface as an image (white when there is no device).
    QImage grabRenderArea();

    // SceneListener.
    void modelLoaded(int first, int second) override;
    void sceneCleared() override;

    void accept() override;
    void reject() override;

  protected:
    // Called at the end of device creation; false abandons the device and ends the program.
    virtual bool deviceReadyHook() { return true; }
    // Reads a file into the cleared scene.
    virtual void readModelFile(ModelFileKind kind, const std::string& path);
    // What the viewer adds to the two notifications.
    virtual void onModelRead(int, int) {}
    virtual void onSceneCleared() {}

    // Menu building blocks for the derived windows.
    QAction* addOpenAction(QMenu* menu, const QString& text, ModelFileKind kind);
    void addRecentActions(QMenu* menu);
    void addPathActions(QMenu* menu);

    // Empties the scene and the textures, as before every open.
    void clearForOpen();
    // Ambient light by whether any texture is loaded.
    void setAmbientForLoad();
    void setCaptionFor(const std::string& path);
    // Runs `work` with the render area's context current (when there is a device).
    void withContext(const std::function<void()>& work);

    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    DlgEngineApp& app_;
    QWidget* client_ = nullptr;

  private:
    void createDevice();
    void releaseDevice();

    EngineDlgOptions options_;
    QtPrompt qtPrompt_;
    UserPrompt* prompt_;
    QtKeyState keys_;
    StderrTrace trace_;
    TextureStore store_;
    CameraObject camera_;
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

    std::string currentPath_;
    ModelFileKind currentKind_ = ModelFileKind::Clf;
    bool dragging_ = false;
    bool appActive_ = true;
    bool deviceReady_ = false;
};

}  // namespace slipway
