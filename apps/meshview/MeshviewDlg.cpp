#include "meshview/MeshviewDlg.h"

#include <QAction>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QTreeWidget>

#include "engine/ModelSaver.h"
#include "qtshell/DialogUnits.h"

namespace slipway {

namespace {

// The list's one column, centred, and its width in pixels.
constexpr const char* kListColumn = "Objects list";
constexpr int kListColumnWidth = 190;

EngineDlgOptions meshviewOptions(bool createDevice) {
    EngineDlgOptions options;
    options.programName = "Meshview";
    options.widthUnits = 489;
    options.heightUnits = 318;
    options.createDevice = createDevice;
    options.renderFrame = {7, 1, 331, 276};
    options.fpsTitle = {441, 9, 13, 10};
    options.fps = {459, 7, 23, 13};
    options.exitButton = false;
    return options;
}

QPushButton* button(const char* text, QWidget* parent, QRect rect, bool enabled = true) {
    auto* b = new QPushButton(text, parent);
    b->setGeometry(rect);
    b->setEnabled(enabled);
    return b;
}

QLineEdit* edit(QWidget* parent, QRect rect) {
    auto* e = new QLineEdit(parent);
    e->setGeometry(rect);
    return e;
}

void groupBox(const char* title, QWidget* parent, QRect rect) {
    (new QGroupBox(title, parent))->setGeometry(rect);
}

}  // namespace

MeshviewDlg::MeshviewDlg(DlgEngineApp& app, bool createDevice)
    : EngineDlg(app, meshviewOptions(createDevice)) {
    setWindowTitle("Meshview");
    pickColorAt = [this](const QPoint& p) { return readPickColor(p); };
    buildMenu();
    buildControls();
    // The first show writes the starting values: Height 0, Kf 1.
    showValues();
    updateRecentMenu();
}

void MeshviewDlg::buildMenu() {
    QMenu* file = menuBar()->addMenu("&File");
    addOpenAction(file, "Load C&LF File", ModelFileKind::Clf);
    file->addSeparator();
    addOpenAction(file, "Load C&FF File", ModelFileKind::Cff);
    file->addSeparator();
    save_ = file->addAction("&Save");
    connect(save_, &QAction::triggered, this, &MeshviewDlg::saveModels);
    file->addSeparator();
    addRecentActions(file);
    file->addSeparator();
    exit_ = file->addAction("E&xit");
    connect(exit_, &QAction::triggered, this, &MeshviewDlg::reject);
    addPathActions(menuBar()->addMenu("&Settings"));
}

void MeshviewDlg::buildControls() {
    // Frames first, so that the controls inside them lie above them.
    groupBox("Height", client_, dialogRect(350, 5, 87, 26));
    groupBox("Kf", client_, dialogRect(350, 31, 88, 26));
    groupBox("Subobject", client_, dialogRect(351, 224, 131, 27));

    slider_ = new QSlider(Qt::Horizontal, client_);
    slider_->setObjectName("keySlider");
    slider_->setGeometry(dialogRect(7, 287, 332, 19));
    slider_->setTickPosition(QSlider::TicksBelow);
    slider_->setTickInterval(1);
    slider_->setPageStep(1);
    slider_->setRange(0, kStartKeyRange);
    connect(slider_, &QSlider::valueChanged, this, &MeshviewDlg::showKey);

    keyNumber_ = edit(client_, dialogRect(341, 293, 24, 12));
    keyNumber_->setObjectName("keyNumber");
    keyNumber_->setReadOnly(true);
    keyNumber_->setAlignment(Qt::AlignCenter);
    keyNumber_->setText(QString::fromStdString(panel_.keyText()));

    height_ = edit(client_, dialogRect(354, 15, 45, 12));
    height_->setObjectName("height");
    heightResize_ = button("Resize", client_, dialogRect(404, 13, 29, 16));
    connect(heightResize_, &QPushButton::clicked, this, &MeshviewDlg::resizeToHeight);
    kf_ = edit(client_, dialogRect(355, 40, 45, 12));
    kf_->setObjectName("kf");
    kfResize_ = button("Resize", client_, dialogRect(405, 38, 29, 16));
    connect(kfResize_, &QPushButton::clicked, this, &MeshviewDlg::resizeByFactor);

    list_ = new QTreeWidget(client_);
    list_->setObjectName("objectList");
    list_->setGeometry(dialogRect(349, 62, 133, 136));
    list_->setColumnCount(1);
    list_->setHeaderLabels({kListColumn});
    list_->header()->setDefaultAlignment(Qt::AlignCenter);
    list_->header()->setStretchLastSection(false);
    list_->setColumnWidth(0, kListColumnWidth);
    list_->setRootIsDecorated(false);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);

    select_ = button("Select Mode", client_, dialogRect(353, 204, 123, 16));
    select_->setCheckable(true);
    connect(select_, &QPushButton::toggled, this, &MeshviewDlg::switchSelectMode);

    name_ = edit(client_, dialogRect(357, 234, 83, 12));
    name_->setObjectName("meshName");
    rename_ = button("Rename", client_, dialogRect(444, 234, 35, 12));
    connect(rename_, &QPushButton::clicked, this, &MeshviewDlg::renameMesh);
    // "Change DoubleSide State" reverses the triangles and "Flip Normals" toggles the
    // double-sided flag: the labels say the opposite of what the buttons do, as they always
    // have.
    doubleSide_ = button("Change DoubleSide State", client_, dialogRect(352, 255, 124, 13));
    connect(doubleSide_, &QPushButton::clicked, this, &MeshviewDlg::changeDoubleSide);
    flipNormals_ = button("Flip Normals", client_, dialogRect(351, 272, 124, 13));
    connect(flipNormals_, &QPushButton::clicked, this, &MeshviewDlg::flipNormals);
    setEditingEnabled(false);
}

void MeshviewDlg::setEditingEnabled(bool enabled) {
    for (QWidget* w : {static_cast<QWidget*>(name_), static_cast<QWidget*>(rename_),
                       static_cast<QWidget*>(flipNormals_), static_cast<QWidget*>(doubleSide_)}) {
        w->setEnabled(enabled);
    }
}

void MeshviewDlg::showValues() {
    height_->setText(QString::fromStdString(panel_.heightText()));
    kf_->setText(QString::fromStdString(panel_.kfText()));
}

void MeshviewDlg::onModelRead(const ModelRead& read) {
    panel_.modelRead(scene(), read);
    list_->clear();
    for (const ObjectRow& row : panel_.rows()) {
        list_->addTopLevelItem(new QTreeWidgetItem({QString::fromStdString(row.name)}));
    }
    {
        // The slider moves to 0 without showing that key.
        const QSignalBlocker quiet(slider_);
        slider_->setRange(0, panel_.sliderMax());
        slider_->setValue(panel_.sliderPosition());
    }
    showValues();
}

void MeshviewDlg::onSceneCleared() {
    panel_.sceneCleared();
    list_->clear();
    {
        const QSignalBlocker quiet(select_);
        select_->setChecked(false);
    }
    setEditingEnabled(false);
}

void MeshviewDlg::switchSelectMode(bool down) {
    panel_.setSelectMode(scene(), down);
    if (!down) {
        setEditingEnabled(false);
    }
}

bool MeshviewDlg::onLeftButtonDown(const QPoint& clientPos) {
    if (!panel_.selectMode()) {
        return false;
    }
    pickAt(clientPos);
    return true;
}

bool MeshviewDlg::onLeftButtonUp(const QPoint&) {
    return panel_.selectMode();
}

void MeshviewDlg::pickAt(const QPoint& clientPos) {
    const std::uint16_t colour = pickColorAt ? pickColorAt(clientPos) : 0;
    if (panel_.pick(scene(), colour)) {
        setEditingEnabled(true);
        name_->setText(QString::fromStdString(panel_.pickedName()));
    }
}

void MeshviewDlg::renameMesh() {
    const int row = panel_.rename(scene(), name_->text().toStdString());
    if (row >= 0) {
        list_->topLevelItem(row)->setText(0, QString::fromStdString(panel_.rows()[row].name));
    }
}

void MeshviewDlg::flipNormals() {
    panel_.flipNormals(scene());
}

void MeshviewDlg::changeDoubleSide() {
    panel_.changeDoubleSide(scene());
}

void MeshviewDlg::showKey(int position) {
    panel_.showKey(scene(), position);
    keyNumber_->setText(QString::fromStdString(panel_.keyText()));
}

bool MeshviewDlg::readValues() {
    const ValueCheck check =
        panel_.readValues(height_->text().toStdString(), kf_->text().toStdString());
    if (check.ok()) {
        return true;
    }
    tell(prompt(), check.message);
    QLineEdit* field = check.field == ValueCheck::Height ? height_ : kf_;
    field->setFocus();
    field->selectAll();
    return false;
}

void MeshviewDlg::resizeToHeight() {
    if (readValues() && panel_.resizeToHeight(scene(), panel_.heightValue())) {
        rescaled();
    }
}

void MeshviewDlg::resizeByFactor() {
    if (readValues() && panel_.resizeByFactor(scene(), panel_.kfValue())) {
        rescaled();
    }
}

void MeshviewDlg::rescaled() {
    showValues();
    session().fitCamera();
    sceneChanged();
}

void MeshviewDlg::saveModels() {
    saveAll(scene(), textures(), prompt());
}

}  // namespace slipway
