#pragma once
// The column switches: one check box per field, Class and Type each standing for a code and a
// name column.

#include <QDialog>
#include <array>

#include "formats/DefColumns.h"

class QCheckBox;

namespace slipway {

class SettingsDlg : public QDialog {
    Q_OBJECT
  public:
    explicit SettingsDlg(const ColumnSettings& settings, QWidget* parent = nullptr);

    // The switches as the check boxes show them.
    ColumnSettings settings() const;
    QCheckBox* checkBox(DefField field) const { return boxes_[static_cast<std::size_t>(field)]; }

  private:
    std::array<QCheckBox*, kDefFieldCount> boxes_{};
};

}  // namespace slipway
