#include "riglist/SettingsDlg.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

#include "qtshell/DialogUnits.h"

namespace slipway {

SettingsDlg::SettingsDlg(const ColumnSettings& settings, QWidget* parent) : QDialog(parent) {
    setWindowTitle("Settings");
    setFixedSize(dialogSize(166, 159));
    setFont(dialogFont(font()));

    auto* label = new QLabel("Select columns what you like to see", this);
    label->setGeometry(dialogRect(13, 15, 145, 10));

    for (std::size_t i = 0; i < kDefFieldCount; ++i) {
        const auto field = static_cast<DefField>(i);
        auto* box = new QCheckBox(QString::fromLatin1(defFieldName(field)), this);
        box->setObjectName(QString::fromLatin1(defFieldName(field)));
        box->setGeometry(dialogRect(21, 35 + 10 * static_cast<int>(i), 60, 10));
        box->setChecked(settings[field]);
        boxes_[i] = box;
    }

    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("ok");
    ok->setGeometry(dialogRect(94, 76, 50, 39));
    ok->setDefault(true);
    auto* cancel = new QPushButton("Cancel", this);
    cancel->setObjectName("cancel");
    cancel->setGeometry(dialogRect(94, 124, 50, 14));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

ColumnSettings SettingsDlg::settings() const {
    ColumnSettings s;
    for (std::size_t i = 0; i < kDefFieldCount; ++i)
        s.shown[i] = boxes_[i]->isChecked();
    return s;
}

}  // namespace slipway
