#include "shipview/ShipviewDlg.h"

#include <QApplication>
#include <QButtonGroup>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>

#include "qtshell/DialogUnits.h"
#include "viewer/DlgEngineApp.h"

namespace slipway {

namespace {

EngineDlgOptions shipviewOptions(bool createDevice) {
    EngineDlgOptions options;
    options.programName = "Shipview";
    options.form = ViewerForm::Shipview;
    options.projection = kShipviewProjection;
    options.widthUnits = 401;
    options.heightUnits = 334;
    options.createDevice = createDevice;
    return options;
}

QLineEdit* countField(QWidget* parent, QRect rect) {
    auto* edit = new QLineEdit(parent);
    edit->setGeometry(rect);
    edit->setReadOnly(true);
    edit->setFrame(false);
    edit->setFocusPolicy(Qt::NoFocus);
    return edit;
}

std::string textOf(const QLineEdit* edit) {
    return edit->text().toStdString();
}

}  // namespace

ShipviewDlg::ShipviewDlg(DlgEngineApp& app, ShipOperations operations, bool createDevice)
    : EngineDlg(app, shipviewOptions(createDevice)), operations_(std::move(operations)) {
    setWindowTitle("Kelvo");
    buildMenu();

    auto* lod = new QGroupBox("LOD", client_);
    lod->setGeometry(dialogRect(357, 36, 30, 73));
    auto* group = new QButtonGroup(this);
    for (int k = 1; k <= 4; ++k) {
        auto* button = new QRadioButton(QString::number(k), client_);
        button->setGeometry(dialogRect(363, 50 + 14 * (k - 1), 18, 13));
        button->setEnabled(k == 1);
        group->addButton(button, k);
        levels_[static_cast<std::size_t>(k - 1)] = button;
        connect(button, &QRadioButton::clicked, this, [this, k] { selectLevel(k); });
    }
    levels_[0]->setChecked(true);

    (new QGroupBox("Vertexes", client_))->setGeometry(dialogRect(341, 118, 53, 24));
    vertices_ = countField(client_, dialogRect(345, 128, 43, 12));
    (new QGroupBox("Triangles", client_))->setGeometry(dialogRect(341, 149, 53, 24));
    triangles_ = countField(client_, dialogRect(346, 158, 42, 12));
    (new QGroupBox("Size", client_))->setGeometry(dialogRect(341, 178, 53, 40));
    size_ = new QLineEdit(client_);
    size_->setGeometry(dialogRect(345, 188, 43, 12));
    resize_ = new QPushButton("Resize", client_);
    resize_->setGeometry(dialogRect(346, 204, 42, 11));
    resize_->setEnabled(false);
    connect(resize_, &QPushButton::clicked, this, &ShipviewDlg::resizeModel);

    // The first show writes the starting values: size and both counts 0.
    showFields();
    updateRecentMenu();
}

void ShipviewDlg::buildMenu() {
    QMenu* file = menuBar()->addMenu("&File");
    addOpenAction(file, "Load C&LF File", ModelFileKind::Clf);
    file->addSeparator();
    addOpenAction(file, "Load &DEF  File", ModelFileKind::Def);
    file->addSeparator();
    addOpenAction(file, "Load C&FF File", ModelFileKind::Cff);
    file->addSeparator();
    addRecentActions(file);
    addPathActions(menuBar()->addMenu("&Settings"));
}

void ShipviewDlg::readModelFile(ModelFileKind kind, const std::string& path) {
    readShipviewFile(kind, path, scene(), services(), operations_);
    panel_.openFinished(scene());
    showFields();
}

void ShipviewDlg::showFields() {
    size_->setText(QString::fromStdString(panel_.sizeText()));
    triangles_->setText(QString::fromStdString(panel_.trianglesText()));
    vertices_->setText(QString::fromStdString(panel_.verticesText()));
}

void ShipviewDlg::onModelRead(int levels, int) {
    panel_.modelRead(levels);
    resize_->setEnabled(true);
    for (int k = 2; k <= 4; ++k) {
        if (panel_.levelEnabled(k)) {
            levelButton(k)->setEnabled(true);
        }
    }
}

void ShipviewDlg::onSceneCleared() {
    panel_.sceneCleared();
    levels_[0]->setChecked(true);
    for (int k = 2; k <= 4; ++k) {
        levelButton(k)->setEnabled(false);
    }
    resize_->setEnabled(false);
    // The count fields keep their texts until the next show.
}

void ShipviewDlg::selectLevel(int level) {
    panel_.selectLevel(level, scene());
    showFields();
}

void ShipviewDlg::resizeModel() {
    const ResizeDecision decision =
        panel_.checkResize(textOf(size_), textOf(vertices_), textOf(triangles_));
    if (decision.outcome == ResizeDecision::Refused) {
        tell(prompt(), decision.message);
        size_->setFocus();
        size_->selectAll();
        return;
    }
    if (decision.outcome == ResizeDecision::Unchanged) {
        return;
    }
    const ModelFileKind kind = currentKind();
    const bool available = kind == ModelFileKind::Clf ? bool(operations_.rescaleClf)
                           : kind == ModelFileKind::Cff
                               ? bool(operations_.rescaleCff)
                               : bool(operations_.rescaleShip) && bool(operations_.assembleShip);
    if (!available) {
        tell(prompt(), kNoRescalingText);
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    scene().clear(*this);
    const std::string path = currentPath();
    switch (kind) {
        case ModelFileKind::Clf:
            operations_.rescaleClf(path, decision.ratio);
            loadClf(scene(), path, Placement{}, services());
            break;
        case ModelFileKind::Cff:
            operations_.rescaleCff(path, decision.ratio);
            loadCff(scene(), path, Placement{}, services());
            break;
        case ModelFileKind::Def:
            operations_.rescaleShip(path, decision.ratio, services());
            operations_.assembleShip(scene(), path, services());
            break;
    }
    panel_.openFinished(scene());
    showFields();
    app_.wakeIdle();
    scene().fitCamera(camera());
    QApplication::restoreOverrideCursor();
}

}  // namespace slipway
