#include "pixmill/MainView.h"

#include <QMouseEvent>
#include <QSettings>

#include "pixmill/FilePane.h"
#include "pixmill/PixmillSettings.h"
#include "pixmill/ViewerPanel.h"

namespace slipway::pixmill {
namespace {

SplitterLayout storedSplitters() {
    const QSettings settings(kSettingsOrganization, kSettingsApplication);
    return SplitterLayout(settings.value(kLeftPosKey, kDefaultLeftPos).toInt(),
                          settings.value(kRightPosKey, kDefaultRightPos).toInt());
}

}  // namespace

MainView::MainView(UserPrompt& prompt, QWidget* parent)
    : QWidget(parent), splitters_(storedSplitters()) {
    source_ = new FilePane({"tga", "bmp"}, prompt, this);
    viewer_ = new ViewerPanel(prompt, this);
    target_ = new FilePane({"tf"}, prompt, this);
    bar_ = new QWidget(this);
    bar_->setAutoFillBackground(true);
    QPalette black = bar_->palette();
    black.setColor(QPalette::Window, Qt::black);
    bar_->setPalette(black);
    bar_->hide();
    setCursor(Qt::SplitHCursor);  // seen only in the gaps between the columns

    for (FilePane* pane : {source_, target_}) {
        pane->setPreviewReceiver(
            [this](std::unique_ptr<ImageFile> handler) { viewer_->show(std::move(handler)); });
        connect(pane, &FilePane::convertRequested, this, &MainView::convertRequested);
    }
    layOut();
}

MainView::~MainView() {
    QSettings settings(kSettingsOrganization, kSettingsApplication);
    settings.setValue(kLeftPosKey, splitters_.storedLeft());
    settings.setValue(kRightPosKey, splitters_.storedRight());
}

void MainView::layOut() {
    const ColumnLayout columns = splitters_.columns(width());
    source_->setGeometry(columns.source.x, 0, columns.source.width, height());
    viewer_->setGeometry(columns.viewer.x, 0, columns.viewer.width, height());
    target_->setGeometry(columns.target.x, 0, columns.target.width, height());
}

void MainView::placeBar() {
    bar_->setGeometry(splitters_.position(dragged_, width()), 0, kSplitterGap, height());
}

void MainView::resizeEvent(QResizeEvent*) {
    layOut();
}

void MainView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    dragged_ = splitters_.grab(event->position().toPoint().x(), width());
    if (dragged_ == Splitter::None)
        return;
    placeBar();
    bar_->show();
    bar_->raise();
}

void MainView::mouseMoveEvent(QMouseEvent* event) {
    if (dragged_ == Splitter::None)
        return;
    splitters_.drag(dragged_, event->position().toPoint().x(), width());
    placeBar();
}

void MainView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || dragged_ == Splitter::None)
        return;
    dragged_ = Splitter::None;
    bar_->hide();
    layOut();
    update();
}

}  // namespace slipway::pixmill
