#include "pixmill/ConvertDialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

#include "pixmill/DialogRules.h"

namespace slipway::pixmill {
namespace {

MipCountMode modeOf(const ConvertDialog::ChainControls& controls) {
    return controls.numberMips->isChecked() ? MipCountMode::NumberMips : MipCountMode::MinimumSize;
}

MipChainSettings settingsOf(const ConvertDialog::ChainControls& controls) {
    MipChainSettings settings;
    settings.enabled = controls.enabled->isChecked();
    settings.mode = modeOf(controls);
    settings.slider = controls.slider->value();
    return settings;
}

}  // namespace

ConvertDialog::ConvertDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle("Convert tga | bmp files to tf");

    QWidget* chains16 = makeChain("16 bit", "Mips 16 bit", chain16_);
    QWidget* chains8 = makeChain("8 bit", "Mips 8 bit", chain8_);

    fourBitAlpha_ = new QCheckBox("Make 4 bit alpha channel", this);
    attenuationTitle_ = new QLabel("Attenuation", this);
    attenuationSlider_ = new QSlider(Qt::Horizontal, this);
    attenuationSlider_->setRange(0, 9);
    attenuationSlider_->setSingleStep(1);
    attenuationSlider_->setPageStep(1);
    attenuationSlider_->setTickPosition(QSlider::TicksBelow);
    attenuationValue_ = new QLabel(QString::fromStdString(attenuationLabel(0)), this);
    auto* attenuationRow = new QHBoxLayout;
    attenuationRow->addWidget(attenuationTitle_);
    attenuationRow->addWidget(attenuationSlider_, 1);
    attenuationRow->addWidget(attenuationValue_);

    auto* copyGroup = new QGroupBox("Copy lines", this);
    auto* copyLayout = new QGridLayout(copyGroup);
    auto* verticalGroup = new QButtonGroup(this);
    auto* horizontalGroup = new QButtonGroup(this);
    const char* const verticalTexts[] = {"Non", "Up -> down", "Down -> up"};
    const char* const horizontalTexts[] = {"Non", "Left -> right", "Right -> left"};
    for (int mode = 0; mode < 3; ++mode) {
        vertical_[mode] = new QRadioButton(verticalTexts[mode], copyGroup);
        horizontal_[mode] = new QRadioButton(horizontalTexts[mode], copyGroup);
        verticalGroup->addButton(vertical_[mode], mode);
        horizontalGroup->addButton(horizontal_[mode], mode);
        copyLayout->addWidget(vertical_[mode], mode, 0);
        copyLayout->addWidget(horizontal_[mode], mode, 1);
    }
    vertical_[0]->setChecked(true);
    horizontal_[0]->setChecked(true);

    convert_ = new QPushButton("Convert", this);
    cancel_ = new QPushButton("Cancel", this);
    convert_->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(convert_);
    buttons->addWidget(cancel_);

    auto* chainRow = new QHBoxLayout;
    chainRow->addWidget(chains16);
    chainRow->addWidget(chains8);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(chainRow);
    layout->addWidget(fourBitAlpha_);
    layout->addLayout(attenuationRow);
    layout->addWidget(copyGroup);
    layout->addLayout(buttons);

    connect(convert_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(fourBitAlpha_, &QCheckBox::toggled, this, [this] { updateEnabling(); });
    connect(attenuationSlider_, &QSlider::valueChanged, this, [this](int position) {
        attenuationValue_->setText(QString::fromStdString(attenuationLabel(position)));
    });
    updateEnabling();
}

QWidget* ConvertDialog::makeChain(const char* check, const char* group, ChainControls& controls) {
    auto* box = new QWidget(this);
    controls.enabled = new QCheckBox(check, box);
    controls.enabled->setChecked(true);
    auto* mips = new QGroupBox(group, box);
    controls.numberMips = new QRadioButton("Number mips", mips);
    controls.minimumSize = new QRadioButton("Minimum mips size", mips);
    controls.slider = new QSlider(Qt::Horizontal, mips);
    controls.slider->setSingleStep(1);
    controls.slider->setPageStep(1);
    controls.slider->setTickPosition(QSlider::TicksBelow);
    controls.label = new QLabel(mips);
    controls.label->setMinimumWidth(controls.label->fontMetrics().horizontalAdvance("32768 pix"));
    auto* sliderRow = new QHBoxLayout;
    sliderRow->addWidget(controls.slider, 1);
    sliderRow->addWidget(controls.label);
    auto* mipsLayout = new QVBoxLayout(mips);
    mipsLayout->addWidget(controls.numberMips);
    mipsLayout->addWidget(controls.minimumSize);
    mipsLayout->addLayout(sliderRow);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(controls.enabled);
    layout->addWidget(mips);

    controls.minimumSize->setChecked(true);
    chooseMode(controls, MipCountMode::MinimumSize);
    connect(controls.numberMips, &QRadioButton::clicked, this,
            [this, &controls] { chooseMode(controls, MipCountMode::NumberMips); });
    connect(controls.minimumSize, &QRadioButton::clicked, this,
            [this, &controls] { chooseMode(controls, MipCountMode::MinimumSize); });
    connect(controls.slider, &QSlider::valueChanged, this, [&controls](int position) {
        controls.label->setText(QString::fromStdString(mipsLabel(modeOf(controls), position)));
    });
    connect(controls.enabled, &QCheckBox::toggled, this, [this] { updateEnabling(); });
    return box;
}

void ConvertDialog::chooseMode(ChainControls& controls, MipCountMode mode) {
    const SliderRange range = mipsSliderRange(mode);
    controls.slider->setRange(range.minimum, range.maximum);
    controls.slider->setValue(range.position);
    controls.label->setText(QString::fromStdString(mipsLabel(mode, range.position)));
}

void ConvertDialog::updateEnabling() {
    for (ChainControls* controls : {&chain16_, &chain8_}) {
        const bool on = controls->enabled->isChecked();
        controls->numberMips->setEnabled(on);
        controls->minimumSize->setEnabled(on);
        controls->slider->setEnabled(on);
        controls->label->setEnabled(on);
    }
    convert_->setEnabled(chain16_.enabled->isChecked() || chain8_.enabled->isChecked());
    const bool alpha = fourBitAlpha_->isChecked();
    attenuationTitle_->setVisible(alpha);
    attenuationSlider_->setVisible(alpha);
    attenuationValue_->setVisible(alpha);
}

ConvertOptions ConvertDialog::options() const {
    ConvertOptions options;
    options.chain16 = settingsOf(chain16_);
    options.chain8 = settingsOf(chain8_);
    options.fourBitAlpha = fourBitAlpha_->isChecked();
    options.attenuationPosition = attenuationSlider_->value();
    for (int mode = 0; mode < 3; ++mode) {
        if (vertical_[mode]->isChecked())
            options.verticalCopy = mode;
        if (horizontal_[mode]->isChecked())
            options.horizontalCopy = mode;
    }
    return options;
}

}  // namespace slipway::pixmill
