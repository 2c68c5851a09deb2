#include "pixmill/ExportDialog.h"

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

constexpr int kDepths[4] = {32, 24, 16, 8};

}  // namespace

ExportDialog::ExportDialog(const ExportScan& scan, QWidget* parent) : QDialog(parent), scan_(scan) {
    setWindowTitle("Convert TF to TGA");

    auto* source = new QGroupBox("Source file .TF", this);
    auto* sourceBpp = new QGroupBox("BPP", source);
    from16_ = new QRadioButton("from 16 bit mips", sourceBpp);
    from8_ = new QRadioButton("from 8 bit mips", sourceBpp);
    auto* sourceBppLayout = new QVBoxLayout(sourceBpp);
    sourceBppLayout->addWidget(from16_);
    sourceBppLayout->addWidget(from8_);
    auto* mip = new QGroupBox("Select source mip", source);
    level_ = new QSlider(Qt::Horizontal, mip);
    level_->setSingleStep(1);
    level_->setPageStep(1);
    level_->setTickPosition(QSlider::TicksBelow);
    levelLabel_ = new QLabel(mip);
    levelLabel_->setMinimumWidth(levelLabel_->fontMetrics().horizontalAdvance("mip 15 "));
    auto* mipLayout = new QHBoxLayout(mip);
    mipLayout->addWidget(level_, 1);
    mipLayout->addWidget(levelLabel_);
    auto* sourceLayout = new QVBoxLayout(source);
    sourceLayout->addWidget(sourceBpp);
    sourceLayout->addWidget(mip);

    auto* result = new QGroupBox("Result file .TGA", this);
    auto* resultBpp = new QGroupBox("BPP", result);
    auto* resultBppLayout = new QVBoxLayout(resultBpp);
    for (int i = 0; i < 4; ++i) {
        depths_[i] = new QRadioButton(QString("%1 bit").arg(kDepths[i]), resultBpp);
        resultBppLayout->addWidget(depths_[i]);
        const int depth = kDepths[i];
        connect(depths_[i], &QRadioButton::clicked, this, [this, depth] { depth_ = depth; });
    }
    auto* resultLayout = new QVBoxLayout(result);
    resultLayout->addWidget(resultBpp);

    convert_ = new QPushButton("Convert", this);
    auto* cancel = new QPushButton("Cancel", this);
    convert_->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(convert_);
    buttons->addWidget(cancel);
    auto* columns = new QHBoxLayout;
    columns->addWidget(source);
    columns->addWidget(result);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addLayout(buttons);

    connect(convert_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(from16_, &QRadioButton::clicked, this, [this] { chooseChain(16); });
    connect(from8_, &QRadioButton::clicked, this, [this] { chooseChain(8); });
    connect(level_, &QSlider::valueChanged, this, [this](int level) {
        levelLabel_->setText(QString::fromStdString(pixmill::levelLabel(level)));
    });

    const int chain = scan.largestCount16 > 0 ? 16 : 8;
    (chain == 16 ? from16_ : from8_)->setChecked(true);
    chooseChain(chain);
    depths_[0]->setChecked(true);
    depth_ = 32;
}

QRadioButton* ExportDialog::depthButton(int depth) const {
    for (int i = 0; i < 4; ++i) {
        if (kDepths[i] == depth)
            return depths_[i];
    }
    return nullptr;
}

void ExportDialog::chooseChain(int chain) {
    chain_ = chain;
    const SliderRange range =
        exportLevelRange(chain == 16 ? scan_.largestCount16 : scan_.largestCount8);
    level_->setRange(range.minimum, range.maximum);
    level_->setValue(range.position);
    levelLabel_->setText(QString::fromStdString(pixmill::levelLabel(range.position)));
}

ExportOptions ExportDialog::options() const {
    return ExportOptions(chain_, level_->value(), depth_);
}

}  // namespace slipway::pixmill
