#pragma once
// Shows a PaneModel in a list view: the columns "Files", "Size" and "BPP", one row per entry,
// with the entry's icon; listing updates become row insertions and changes.

#include <vector>

#include <QAbstractTableModel>
#include <QIcon>

#include "pixmill/PaneModel.h"

namespace slipway::pixmill {

class PaneItemModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    PaneItemModel(PaneModel& model, std::vector<QIcon> icons, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void apply(const std::vector<ListingUpdate>& updates);

  private:
    PaneModel& model_;
    std::vector<QIcon> icons_;
};

}  // namespace slipway::pixmill
