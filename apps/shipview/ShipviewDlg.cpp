#include "shipview/ShipviewDlg.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>

#include "base/Paths.h"
#include "export/GltfExport.h"
#include "qtshell/DialogUnits.h"
#include "export/ExportCommand.h"
#include "viewer/DlgEngineApp.h"

namespace slipway {

namespace {

EngineDlgOptions shipviewOptions(bool createDevice) {
    EngineDlgOptions options;
    options.programName = "Shipview";
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

ShipviewDlg::ShipviewDlg(DlgEngineApp& app, bool createDevice)
    : EngineDlg(app, shipviewOptions(createDevice)) {
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
    export_ = file->addAction("&Export glTF...");
    export_->setEnabled(false);
    connect(export_, &QAction::triggered, this, &ShipviewDlg::exportGltf);
    chooseExportFile = [this](const QString& suggested) {
        const QString path =
            QFileDialog::getSaveFileName(this, "Export glTF", suggested, "glTF Binary (*.glb)");
        return path.isEmpty() ? path : QDir::toNativeSeparators(path);
    };
    file->addSeparator();
    addRecentActions(file);
    addPathActions(menuBar()->addMenu("&Settings"));
    addViewActions(menuBar()->addMenu("&View"));
}

void ShipviewDlg::onOpened(const OpenResult& result) {
    // The fields are redrawn only when a model was read; after an open that read nothing
    // they keep their texts.
    if (result.modelsRead > 0) {
        panel_.openFinished(scene());
        showFields();
    }
    updateExportAction();
}

void ShipviewDlg::updateExportAction() {
    export_->setEnabled(scene().objectCount() > 0);
}

void ShipviewDlg::exportGltf() {
    const QString chosen =
        chooseExportFile(QString::fromStdString(suggestedGlbPath(currentPath())));
    if (chosen.isEmpty()) {
        return;
    }
    const std::string target = withGlbExtension(chosen.toStdString());
    GltfExportOptions options;
    options.filter = session().rules().drawFilter;
    options.generator = "Slipway Shipview";
    options.sceneName = splitPath(currentPath()).name;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const GltfExportResult result = writeGlb(target, scene(), textures(), options);
    QApplication::restoreOverrideCursor();
    if (!result.written) {
        tell(prompt(), "Can't export glTF File\n" + target);
    }
}

void ShipviewDlg::showFields() {
    size_->setText(QString::fromStdString(panel_.sizeText()));
    triangles_->setText(QString::fromStdString(panel_.trianglesText()));
    vertices_->setText(QString::fromStdString(panel_.verticesText()));
}

void ShipviewDlg::onModelRead(const ModelRead& read) {
    panel_.modelRead(read.levels);
    resize_->setEnabled(true);
    for (int k = 2; k <= 4; ++k) {
        if (panel_.levelEnabled(k)) {
            levelButton(k)->setEnabled(true);
        }
    }
    updateExportAction();
}

void ShipviewDlg::onSceneCleared() {
    panel_.sceneCleared();
    levels_[0]->setChecked(true);
    for (int k = 2; k <= 4; ++k) {
        levelButton(k)->setEnabled(false);
    }
    resize_->setEnabled(false);
    updateExportAction();
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
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const ResizeResult result = session().resize(decision.newSize);
    QApplication::restoreOverrideCursor();
    switch (result.outcome) {
        case ResizeResult::Refused:
            tell(prompt(), result.message);
            break;
        case ResizeResult::Unchanged:
            break;
        case ResizeResult::Rescaled:
            panel_.openFinished(scene());
            showFields();
            updateExportAction();
            sceneChanged();
            break;
    }
}

}  // namespace slipway
