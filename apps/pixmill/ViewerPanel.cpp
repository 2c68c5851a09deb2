#include "pixmill/ViewerPanel.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSettings>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

#include "pixmill/ColourChoiceDialog.h"
#include "pixmill/PictureCanvas.h"
#include "pixmill/PixmillSettings.h"

namespace slipway::pixmill {
namespace {

QLineEdit* readOnlyField(const char* text, QWidget* parent) {
    auto* field = new QLineEdit(QString::fromLatin1(text), parent);
    field->setReadOnly(true);
    return field;
}

}  // namespace

ViewerPanel::ViewerPanel(UserPrompt& prompt, QWidget* parent) : QWidget(parent), viewer_(prompt) {
    const QSettings settings(kSettingsOrganization, kSettingsApplication);
    const std::uint32_t background =
        settings.value(kBackgroundKey, kDefaultBackground).toUInt() & 0xFFFFFF;

    canvas_ = new PictureCanvas(viewer_, this);
    canvas_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);

    zoomSlider_ = new QSlider(Qt::Horizontal, this);
    zoomSlider_->setRange(kZoomPositionMin, kZoomPositionMax);
    zoomSlider_->setSingleStep(1);
    zoomSlider_->setPageStep(kZoomPageStep);
    zoomSlider_->setValue(kZoomPositionOne);
    zoomSlider_->setTickPosition(QSlider::TicksBelow);
    zoomSlider_->setTickInterval(kZoomPositionOne);
    zoomLabel_ = new QLabel(QString::fromStdString(pixmill::zoomLabel(kZoomPositionOne)), this);
    zoomLabel_->setMinimumWidth(zoomLabel_->fontMetrics().horizontalAdvance("10.0 : 10.0"));

    sixteenBit_ = new QRadioButton("16 bit", this);
    eightBit_ = new QRadioButton("8 bit", this);
    sixteenBit_->setChecked(true);
    levelSlider_ = new QSlider(Qt::Horizontal, this);
    levelSlider_->setSingleStep(1);
    levelSlider_->setPageStep(1);
    levelSlider_->setTickPosition(QSlider::TicksBelow);
    levelLabel_ = new QLabel("mip 1", this);
    levelLabel_->setMinimumWidth(levelLabel_->fontMetrics().horizontalAdvance("mip 15 "));

    pathField_ = readOnlyField(kPathFieldStart, this);
    infoField_ = readOnlyField(kInfoFieldStart, this);
    surfaceField_ = readOnlyField(kSurfaceFieldStart, this);

    auto* zoomRow = new QHBoxLayout;
    zoomRow->addWidget(zoomSlider_, 1);
    zoomRow->addWidget(zoomLabel_);
    auto* levelRow = new QHBoxLayout;
    levelRow->addWidget(sixteenBit_);
    levelRow->addWidget(eightBit_);
    levelRow->addWidget(levelSlider_, 1);
    levelRow->addWidget(levelLabel_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(3);
    layout->addWidget(canvas_, 1);
    layout->addLayout(zoomRow);
    layout->addLayout(levelRow);
    layout->addWidget(pathField_);
    layout->addWidget(infoField_);
    layout->addWidget(surfaceField_);

    connect(zoomSlider_, &QSlider::valueChanged, this, [this](int position) {
        viewer_.setZoomPosition(position);
        refresh();
    });
    connect(levelSlider_, &QSlider::valueChanged, this, [this](int level) {
        viewer_.selectLevel(level, currentView(), canvas_->canvasSize());
        refresh();
    });
    connect(sixteenBit_, &QRadioButton::clicked, this, [this] {
        viewer_.selectChain(true, currentView(), canvas_->canvasSize());
        refresh();
    });
    connect(eightBit_, &QRadioButton::clicked, this, [this] {
        viewer_.selectChain(false, currentView(), canvas_->canvasSize());
        refresh();
    });
    connect(canvas_, &PictureCanvas::reloadRequested, this, &ViewerPanel::reload);
    connect(canvas_, &PictureCanvas::backgroundChoiceRequested, this,
            &ViewerPanel::chooseBackground);

    viewer_.setBackground(background, PreviewView::Blended);
    refresh();
}

ViewerPanel::~ViewerPanel() {
    QSettings settings(kSettingsOrganization, kSettingsApplication);
    settings.setValue(kBackgroundKey, viewer_.background());
}

PreviewView ViewerPanel::currentView() const {
    if (viewChooser_)
        return viewChooser_();
    const Qt::KeyboardModifiers keys = QGuiApplication::queryKeyboardModifiers();
    return previewViewFor(keys.testFlag(Qt::ControlModifier), keys.testFlag(Qt::ShiftModifier));
}

void ViewerPanel::show(std::unique_ptr<ImageFile> handler) {
    viewer_.show(std::move(handler), currentView(), canvas_->canvasSize());
    refresh();
}

void ViewerPanel::reload() {
    viewer_.reload(currentView(), canvas_->canvasSize());
    refresh();
}

void ViewerPanel::setBackground(std::uint32_t rgb) {
    viewer_.setBackground(rgb, currentView());
    canvas_->update();
}

void ViewerPanel::chooseBackground() {
    ColourChoiceDialog dialog(this);
    dialog.exec();
    if (dialog.chosen())
        setBackground(*dialog.chosen());
    else
        setBackground(viewer_.background());
}

void ViewerPanel::refresh() {
    const QSignalBlocker blockZoom(zoomSlider_);
    const QSignalBlocker blockLevel(levelSlider_);
    zoomSlider_->setValue(viewer_.zoomPosition());
    zoomLabel_->setText(QString::fromStdString(viewer_.zoomText()));
    sixteenBit_->setChecked(viewer_.sixteenBitChecked());
    eightBit_->setChecked(!viewer_.sixteenBitChecked());
    sixteenBit_->setVisible(viewer_.chainButtonsVisible());
    eightBit_->setVisible(viewer_.chainButtonsVisible());
    levelSlider_->setRange(0, viewer_.levelMaximum());
    levelSlider_->setValue(viewer_.levelPosition());
    levelSlider_->setVisible(viewer_.levelVisible());
    levelLabel_->setVisible(viewer_.levelVisible());
    levelLabel_->setText(QString::fromStdString(viewer_.levelText()));
    pathField_->setText(QString::fromLocal8Bit(viewer_.pathText()));
    infoField_->setText(QString::fromStdString(viewer_.infoText()));
    surfaceField_->setText(QString::fromStdString(viewer_.surfaceText()));
    canvas_->update();
}

}  // namespace slipway::pixmill
