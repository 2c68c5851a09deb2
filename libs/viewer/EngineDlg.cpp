#include "viewer/EngineDlg.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <QWheelEvent>

#include "qtshell/DialogUnits.h"
#include "viewer/DlgEngineApp.h"
#include "viewer/PathList.h"
#include "viewer/RenderArea.h"

namespace slipway {

namespace {

QString filterFor(ModelFileKind kind) {
    switch (kind) {
        case ModelFileKind::Clf:
            return "CLF Files (*.clf)";
        case ModelFileKind::Cff:
            return "CFF Files (*.cff)";
        case ModelFileKind::Def:
            return "DEF Files (*.def)";
    }
    return {};
}

QString menuText(const std::string& path) {
    // Menus read '&' as a mnemonic mark; a path shows as it is.
    return QString::fromLocal8Bit(path.c_str()).replace('&', "&&");
}

}  // namespace

EngineDlg::EngineDlg(DlgEngineApp& app, const EngineDlgOptions& options)
    : app_(app),
      options_(options),
      qtPrompt_(options.programName),
      prompt_(&qtPrompt_),
      device_(app.session().rules().projection),
      renderer_(device_, app.session().rules(), keys_, app.clock()) {
    qtPrompt_.setOwner(this);
    app_.session().setPrompt(prompt_);
    app_.session().setListener(this);
    app_.session().setTrace(&trace_);
    setModal(false);
    setWindowTitle(options.programName);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    menuBar_ = new QMenuBar(this);
    layout->setMenuBar(menuBar_);
    client_ = new QWidget(this);
    client_->setFixedSize(dialogX(options.widthUnits), dialogY(options.heightUnits));
    client_->installEventFilter(this);
    layout->addWidget(client_);

    const auto place = [](const DialogBox& box) {
        return dialogRect(box.x, box.y, box.width, box.height);
    };
    if (options.exitButton) {
        exit_ = new QPushButton("Exit", client_);
        exit_->setGeometry(dialogRect(344, 289, 50, 28));
        exit_->setDefault(true);
        connect(exit_, &QPushButton::clicked, this, &EngineDlg::accept);
    }

    frame_ = new QGroupBox(client_);
    frame_->setObjectName("renderFrame");
    frame_->setGeometry(place(options.renderFrame));
    renderRect_ = frame_->geometry().adjusted(5, 14, -5, -5);

    auto* fpsTitle = new QLabel("FPS", client_);
    fpsTitle->setGeometry(place(options.fpsTitle));
    fps_ = new QLabel(client_);
    fps_->setObjectName("fps");
    fps_->setFrameStyle(QFrame::Box | QFrame::Plain);
    fps_->setGeometry(place(options.fps));

    const bool withOpenGl = options.createDevice && RenderArea::openGlAvailable();
    if (options.createDevice && !withOpenGl) {
        // Reported once the window is up, like any other failure of the device set-up.
        QTimer::singleShot(0, this, [this] {
            tell(*prompt_, kDeviceFailedText);
            onOk();
        });
    }
    if (withOpenGl) {
        glArea_ = new RenderArea(device_, client_);
        glArea_->onContextReady = [this] { createDevice(); };
        glArea_->onContextGone = [this] { releaseDevice(); };
        renderArea_ = glArea_;
    } else {
        renderArea_ = new QWidget(client_);
        renderArea_->setAttribute(Qt::WA_TransparentForMouseEvents);
        renderArea_->setAutoFillBackground(true);
        QPalette palette = renderArea_->palette();
        palette.setColor(QPalette::Window, Qt::white);
        renderArea_->setPalette(palette);
    }
    renderArea_->setGeometry(renderRect_);

    modeMenu_ = new QMenu(this);
    modeMenu_->setToolTipsVisible(true);
    const std::pair<const char*, DragMode> modes[] = {
        {"Zoom", DragMode::Zoom}, {"Slide", DragMode::Slide}, {"Rotate", DragMode::Rotate}};
    for (const auto& [text, mode] : modes) {
        QAction* action = modeMenu_->addAction(text);
        action->setToolTip(text);
        const DragMode chosen = mode;
        connect(action, &QAction::triggered, this, [this, chosen] { camera().dragMode = chosen; });
    }

    chooseOpenFile = [this](ModelFileKind kind, const QString& initialDirectory) {
        const QString path =
            QFileDialog::getOpenFileName(this, QString(), initialDirectory, filterFor(kind));
        return path.isEmpty() ? path : QDir::toNativeSeparators(path);
    };
    runPathList = [this](int listKind) {
        PathList dialog(app_.searchPaths(), listKind, this);
        dialog.exec();
    };

    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) { appActive_ = state == Qt::ApplicationActive; });
}

EngineDlg::~EngineDlg() {
    // The session outlives the window: it must not call back into it.
    app_.session().setPrompt(nullptr);
    app_.session().setListener(nullptr);
    app_.session().setTrace(nullptr);
    // The render area outlives this part of the window (the base class deletes it), so the
    // device is released here, while its context still exists, and the callbacks cut.
    if (glArea_ != nullptr) {
        glArea_->onContextReady = nullptr;
        glArea_->onContextGone = nullptr;
        if (deviceReady_) {
            glArea_->makeCurrent();
            releaseDevice();
            glArea_->doneCurrent();
        }
    }
}

ViewerSession& EngineDlg::session() {
    return app_.session();
}

Scene& EngineDlg::scene() {
    return app_.session().scene();
}

TextureStore& EngineDlg::textures() {
    return app_.session().textures();
}

CameraObject& EngineDlg::camera() {
    return app_.session().camera();
}

const std::string& EngineDlg::currentPath() const {
    return app_.session().currentPath();
}

ModelFileKind EngineDlg::currentKind() const {
    return app_.session().currentKind();
}

void EngineDlg::setPrompt(UserPrompt& prompt) {
    prompt_ = &prompt;
    app_.session().setPrompt(prompt_);
}

void EngineDlg::createDevice() {
    std::string failure;
    if (!device_.createDevice(renderRect_.width(), renderRect_.height(), failure)) {
        tell(*prompt_, failure);
        onOk();
        return;
    }
    device_.setAmbientLight(ambient_);
    if (!deviceReadyHook()) {
        device_.releaseDevice();
        onOk();
        return;
    }
    deviceReady_ = true;
    renderer_.upload(scene(), textures());
}

void EngineDlg::releaseDevice() {
    renderer_.release();
    device_.releaseDevice();
    deviceReady_ = false;
}

void EngineDlg::withContext(const std::function<void()>& work) {
    if (glArea_ == nullptr || !deviceReady_) {
        return;
    }
    glArea_->makeCurrent();
    work();
    glArea_->doneCurrent();
}

void EngineDlg::renderStep() {
    if (!appActive_ || !deviceReady_) {
        return;
    }
    bool fpsChanged = false;
    withContext([&] { fpsChanged = renderer_.renderFrame(scene(), camera(), textures()); });
    if (fpsChanged) {
        fps_->setText(QString::number(renderer_.fps()));
    }
    glArea_->update();
}

QImage EngineDlg::grabRenderArea() {
    QImage image;
    withContext([&] { image = device_.grabFrame(); });
    if (image.isNull()) {
        image = QImage(renderRect_.size(), QImage::Format_RGB32);
        image.fill(Qt::white);
    }
    return image;
}

std::uint16_t EngineDlg::readPickColor(const QPoint& clientPos) {
    const QPoint p = clientPos - renderRect_.topLeft();
    if (p.x() < 0 || p.y() < 0 || p.x() >= renderRect_.width() || p.y() >= renderRect_.height()) {
        return 0;
    }
    std::uint16_t colour = 0;
    withContext(
        [&] { colour = renderer_.readPickColor(scene(), camera(), textures(), p.x(), p.y()); });
    return colour;
}

void EngineDlg::modelLoaded(const ModelRead& read) {
    if (session().rules().queuesNotifications) {
        QMetaObject::invokeMethod(this, [this, read] { handleModelRead(read); },
                                  Qt::QueuedConnection);
    } else {
        handleModelRead(read);
    }
}

void EngineDlg::sceneCleared() {
    if (session().rules().queuesNotifications) {
        QMetaObject::invokeMethod(this, [this] { handleSceneCleared(); }, Qt::QueuedConnection);
    } else {
        handleSceneCleared();
    }
}

void EngineDlg::handleModelRead(const ModelRead& read) {
    sceneChanged();
    onModelRead(read);
}

void EngineDlg::handleSceneCleared() {
    // No frame follows while the scene is empty, so the last picture is wiped here.
    withContext([&] {
        renderer_.sceneCleared();
        device_.clearFrame();
    });
    if (glArea_ != nullptr) {
        glArea_->update();
    }
    onSceneCleared();
}

void EngineDlg::sceneChanged() {
    withContext([&] { renderer_.upload(scene(), textures()); });
    // Generated parts (sails, flags) send no notification: the idle loop starts here too.
    app_.wakeIdle();
}

void EngineDlg::showOpen(const OpenResult& result) {
    if (!result.finished) {
        return;
    }
    sceneChanged();
    ambient_ = result.ambient;
    withContext([&] { device_.setAmbientLight(ambient_); });
    if (result.recentChanged) {
        updateRecentMenu();
    }
    setWindowTitle(QString::fromLocal8Bit(result.caption.c_str()));
    onOpened(result);
}

void EngineDlg::openModelFile(ModelFileKind kind) {
    session().clear();
    std::string directory;
    QString initial;
    if (app_.searchPaths().getRecentDirectory(directory)) {
        initial = QString::fromLocal8Bit(directory.c_str());
    }
    const QString chosen = chooseOpenFile ? chooseOpenFile(kind, initial) : QString();
    if (chosen.isEmpty()) {
        return;
    }
    openPath(kind, chosen.toLocal8Bit().toStdString());
}

void EngineDlg::openPath(ModelFileKind kind, const std::string& path) {
    showOpen(session().open(kind, path));
}

void EngineDlg::openRecentFile(int index) {
    showOpen(session().openRecent(index));
}

void EngineDlg::updateRecentMenu() {
    for (int i = 0; i < SearchPaths::kRecentFiles; ++i) {
        std::string path;
        QAction* action = recent_[static_cast<std::size_t>(i)];
        if (action == nullptr || !app_.searchPaths().getRecentFile(i, path)) {
            break;
        }
        action->setText(menuText(path));
        action->setEnabled(true);
    }
}

void EngineDlg::openPathList(int listKind) {
    if (runPathList) {
        runPathList(listKind);
    }
}

QAction* EngineDlg::addOpenAction(QMenu* menu, const QString& text, ModelFileKind kind) {
    QAction* action = menu->addAction(text);
    connect(action, &QAction::triggered, this, [this, kind] { openModelFile(kind); });
    return action;
}

void EngineDlg::addRecentActions(QMenu* menu) {
    for (int i = 0; i < SearchPaths::kRecentFiles; ++i) {
        QAction* action = menu->addAction(QString("Recent File%1").arg(i + 1));
        action->setEnabled(false);
        connect(action, &QAction::triggered, this, [this, i] { openRecentFile(i); });
        recent_[static_cast<std::size_t>(i)] = action;
    }
}

void EngineDlg::addViewActions(QMenu* menu) {
    QAction* reset = menu->addAction("&Reset View");
    reset->setShortcut(Qt::Key_Home);
    reset->setShortcutContext(Qt::WindowShortcut);
    connect(reset, &QAction::triggered, this, [this] { session().resetView(); });
}

void EngineDlg::addPathActions(QMenu* menu) {
    connect(menu->addAction("&Model Path"), &QAction::triggered, this,
            [this] { openPathList(PathList::ModelList); });
    connect(menu->addAction("&Texture Path"), &QAction::triggered, this,
            [this] { openPathList(PathList::TextureList); });
}

void EngineDlg::onOk() {
    app_.requestQuit();
}

void EngineDlg::accept() {
    onOk();
}

void EngineDlg::reject() {
    onOk();
}

void EngineDlg::closeEvent(QCloseEvent* event) {
    // The window goes at the next idle pass, with the rest of the program.
    event->ignore();
    onOk();
}

bool EngineDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched != client_) {
        return QDialog::eventFilter(watched, event);
    }
    switch (event->type()) {
        case QEvent::MouseButtonPress: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            const QPoint p = mouse->position().toPoint();
            if (mouse->button() == Qt::LeftButton) {
                if (onLeftButtonDown(p)) {
                    return true;
                }
                if (!renderRect_.contains(p)) {
                    return true;  // ignored completely
                }
                dragging_ = true;
                camera().beginDrag(p.x(), p.y());
            } else if (mouse->button() == Qt::RightButton) {
                const QPoint r = p - renderRect_.topLeft();
                if (r.x() >= 0 && r.y() >= 0 && r.x() <= renderRect_.width() &&
                    r.y() <= renderRect_.height()) {
                    const QPoint global = mouse->globalPosition().toPoint();
                    const int half = modeMenu_->sizeHint().width() / 2;
                    modeMenu_->popup(QPoint(global.x() - half, global.y()));
                }
            }
            break;
        }
        case QEvent::MouseMove: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (dragging_) {
                const QPoint p = mouse->position().toPoint();
                camera().drag(p.x(), p.y());
                client_->setCursor(Qt::CrossCursor);
            }
            break;
        }
        case QEvent::MouseButtonRelease:
            if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
                if (onLeftButtonUp(static_cast<QMouseEvent*>(event)->position().toPoint())) {
                    return true;
                }
                dragging_ = false;
                client_->unsetCursor();
            }
            break;
        case QEvent::Wheel: {
            auto* wheel = static_cast<QWheelEvent*>(event);
            if (!renderRect_.contains(wheel->position().toPoint())) {
                break;
            }
            // Fine-grained wheels send parts of a notch; they add up to whole ones.
            wheelEighths_ += wheel->angleDelta().y();
            const int notches = wheelEighths_ / kEighthsPerNotch;
            wheelEighths_ -= notches * kEighthsPerNotch;
            if (notches != 0) {
                camera().wheel(notches);
            }
            return true;
        }
        default:
            break;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace slipway
