#include "pixmill/PixmillWindow.h"

#include <algorithm>
#include <filesystem>
#include <new>

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>

#include "base/Paths.h"
#include "pixels/ImageFiles.h"
#include "pixels/TfFile.h"
#include "pixmill/BatchController.h"
#include "pixmill/ConvertDialog.h"
#include "pixmill/ExportDialog.h"
#include "pixmill/FilePane.h"
#include "pixmill/MainView.h"
#include "pixmill/PaneModel.h"
#include "pixmill/PixmillSettings.h"
#include "pixmill/ViewerPanel.h"

namespace slipway::pixmill {
namespace {

QSettings settings() {
    return QSettings(kSettingsOrganization, kSettingsApplication);
}

bool within(const QWidget* focus, const QWidget* pane) {
    return focus != nullptr && (focus == pane || pane->isAncestorOf(focus));
}

// The step of a progress title: the text after "  :  ".
QString stepOf(const QString& title) {
    const int at = title.lastIndexOf("  :  ");
    return at < 0 ? QString() : title.mid(at + 5);
}

}  // namespace

PixmillWindow::PixmillWindow(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle("Pixmill");
    prompt_.setOwner(this);
    setMinimumSize(kMinimumWindowWidth, kMinimumWindowHeight);

    convert_ = menuBar()->addAction("&Convert");
    convert_->setStatusTip("Convert tga or bmp images to tf format");
    convert_->setShortcut(Qt::Key_F5);
    convert_->setShortcutContext(Qt::WindowShortcut);
    addAction(convert_);  // F5 works with the menu bar hidden or not yet shown
    QAction* exit = menuBar()->addAction("E&xit");
    connect(convert_, &QAction::triggered, this, &PixmillWindow::convertTrigger);
    connect(exit, &QAction::triggered, this, &QWidget::close);

    view_ = new MainView(prompt_, this);
    setCentralWidget(view_);
    connect(view_, &MainView::convertRequested, this, &PixmillWindow::convertTrigger);

    progress_ = new QProgressBar(this);
    progress_->setMaximumWidth(220);
    progress_->hide();
    step_ = new QLabel(this);
    step_->hide();
    statusBar()->addPermanentWidget(step_);
    statusBar()->addPermanentWidget(progress_);

    batch_ = new BatchController(this, prompt_, keys_);
    connect(batch_, &BatchController::titleChanged, this, &PixmillWindow::showTitle);
    connect(batch_, &BatchController::fileProgress, this, &PixmillWindow::showProgress);
    connect(batch_, &BatchController::finished, this, &PixmillWindow::batchEnded);

    const QSettings stored = settings();
    const int width = stored.value(kWindowWidthKey, kDefaultWindowWidth).toInt();
    const int height = stored.value(kWindowHeightKey, kDefaultWindowHeight).toInt();
    resize(std::max(width, kMinimumWindowWidth), std::max(height, kMinimumWindowHeight));
    if (stored.contains(kWindowXKey) && stored.contains(kWindowYKey))
        move(stored.value(kWindowXKey).toInt(), stored.value(kWindowYKey).toInt());
}

PixmillWindow::~PixmillWindow() {
    const QRect normal = normalGeometry().isValid() ? normalGeometry() : geometry();
    const QScreen* screen = this->screen();
    const QSize screenSize = screen != nullptr ? screen->availableGeometry().size() : QSize();
    const QPoint place = isMaximized() || isMinimized() ? normal.topLeft() : pos();
    const WindowRect rect =
        storedWindowRect({place.x(), place.y(), normal.width(), normal.height()},
                         screenSize.width(), screenSize.height());
    QSettings stored = settings();
    stored.setValue(kWindowXKey, rect.x);
    stored.setValue(kWindowYKey, rect.y);
    stored.setValue(kWindowWidthKey, rect.width);
    stored.setValue(kWindowHeightKey, rect.height);
    stored.setValue(kWindowShowKey, isMinimized()   ? kShowMinimized
                                    : isMaximized() ? kShowMaximized
                                                    : kShowNormal);
}

void PixmillWindow::showStored() {
    switch (settings().value(kWindowShowKey, kShowAsIs).toInt()) {
        case kShowMinimized:
            showMinimized();
            break;
        case kShowMaximized:
            showMaximized();
            break;
        default:
            show();
            break;
    }
    view_->setFocus();
}

void PixmillWindow::openPath(const std::string& given) {
    // Absolute, as the panes' folders are stored for later runs from anywhere.
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(given, error);
    std::string path = error ? given : absolute.lexically_normal().string();
    while (path.size() > 1 && slipway::isSeparator(path.back()))
        path.pop_back();
    const bool folder = directoryExists(path);
    const std::string shown = folder ? path : parentFolder(path);
    view_->sourcePane()->openFolder(shown);
    view_->targetPane()->openFolder(shown);
    if (folder)
        return;
    std::unique_ptr<ImageFile> handler = openImageFile(path);
    FilePane* pane =
        dynamic_cast<TfFile*>(handler.get()) != nullptr ? view_->targetPane() : view_->sourcePane();
    connect(
        pane, &FilePane::listingFinished, this, [pane, path] { pane->selectFileNamed(path); },
        Qt::SingleShotConnection);
    pane->setFocus();
    std::unique_ptr<ImageFile> copy = handler->clone();
    if (copy)
        view_->viewer()->show(std::move(copy));
}

void PixmillWindow::convertTrigger() {
    if (busy_)
        return;
    // The window's own focus child: the menu and message boxes take the focus only for a while.
    const QWidget* focus = focusWidget();
    if (within(focus, view_->sourcePane())) {
        convertToTf();
    } else if (within(focus, view_->targetPane())) {
        exportToTga();
    } else {
        tell(prompt_, "To convert action please select files");
    }
}

void PixmillWindow::convertToTf() {
    FilePane* source = view_->sourcePane();
    const int mark = source->selectionMark();
    ConvertDialog dialog(this);
    if (dialog.exec() != QDialog::Accepted) {
        source->setSelectionMark(mark);
        return;
    }
    std::vector<std::string> files;
    try {
        files = source->selectedFiles();
    } catch (const std::bad_alloc&) {
        tell(prompt_, "No memory!");
        return;
    }
    if (files.empty())
        return;
    savedMark_ = mark;
    const std::string folder = view_->targetPane()->folder();
    const ConvertOptions options = dialog.options();
    startBatch(
        [files, folder, options](CommandContext& context, BatchHooks& hooks) {
            return runConvertBatch(files, folder, options, context, hooks);
        },
        true);
}

void PixmillWindow::exportToTga() {
    FilePane* target = view_->targetPane();
    const int mark = target->selectionMark();
    if (target->selectedCount() == 0) {
        tell(prompt_, "No selected files for convert action!");
        return;
    }
    std::vector<std::string> files;
    try {
        files = target->selectedFiles();
    } catch (const std::bad_alloc&) {
        tell(prompt_, "No memory!");
        return;
    }
    if (files.empty())
        return;
    const ExportScan scan = scanForExport(files, prompt_);
    ExportDialog dialog(scan, this);
    if (dialog.exec() != QDialog::Accepted) {
        view_->sourcePane()->relist();
        target->setSelectionMark(mark);
        target->setFocus();
        return;
    }
    savedMark_ = mark;
    const std::string folder = view_->sourcePane()->folder();
    const ExportOptions options = dialog.options();
    startBatch(
        [files, folder, options](CommandContext& context, BatchHooks& hooks) {
            return runExportBatch(files, folder, options, context, hooks);
        },
        false);
}

void PixmillWindow::startBatch(BatchWorker::Job job, bool toTextures) {
    busy_ = true;
    batchToTextures_ = toTextures;
    convert_->setEnabled(false);
    setCursor(Qt::BusyCursor);
    progress_->setRange(0, 1);
    progress_->setValue(0);
    progress_->show();
    step_->show();
    if (!batch_->start(std::move(job)))
        batchEnded(BatchEnd::Completed);
}

void PixmillWindow::showProgress(int index, int count, const QString& path) {
    progress_->setRange(0, count);
    progress_->setValue(index);
    progress_->setFormat(QString("File %1 of %2").arg(index + 1).arg(count));
    progress_->setToolTip(path);
}

void PixmillWindow::showTitle(const QString& title) {
    setWindowTitle(title);
    step_->setText(stepOf(title));
}

void PixmillWindow::batchEnded(BatchEnd end) {
    FilePane* relisted = batchToTextures_ ? view_->targetPane() : view_->sourcePane();
    FilePane* picked = batchToTextures_ ? view_->sourcePane() : view_->targetPane();
    relisted->relist();
    picked->setSelectionMark(savedMark_);
    picked->setFocus();
    unsetCursor();
    setWindowTitle("Pixmill");
    progress_->hide();
    step_->hide();
    step_->clear();
    busy_ = false;
    convert_->setEnabled(true);
    emit batchFinished(end);
    if (closeWhenDone_)
        close();
}

void PixmillWindow::closeEvent(QCloseEvent* event) {
    if (!batch_->running()) {
        event->accept();
        return;
    }
    event->ignore();
    if (closeWhenDone_)
        return;
    if (prompt_.show("Interrupt convert action?", PromptButtons::YesNo) == PromptAnswer::Yes) {
        closeWhenDone_ = true;
        batch_->requestStop();
    }
}

}  // namespace slipway::pixmill
