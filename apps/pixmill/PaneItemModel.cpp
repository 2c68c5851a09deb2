#include "pixmill/PaneItemModel.h"

#include <algorithm>

namespace slipway::pixmill {

PaneItemModel::PaneItemModel(PaneModel& model, std::vector<QIcon> icons, QObject* parent)
    : QAbstractTableModel(parent), model_(model), icons_(std::move(icons)) {}

int PaneItemModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(model_.entries().size());
}

int PaneItemModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 3;
}

QVariant PaneItemModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const PaneEntry& entry = model_.entries()[static_cast<std::size_t>(index.row())];
    switch (role) {
        case Qt::DisplayRole:
            if (index.column() == 0)
                return QString::fromLocal8Bit(entry.text);
            return QString::fromStdString(index.column() == 1 ? entry.size : entry.bpp);
        case Qt::DecorationRole:
            if (index.column() == 0 && entry.icon >= 0 &&
                static_cast<std::size_t>(entry.icon) < icons_.size())
                return icons_[static_cast<std::size_t>(entry.icon)];
            return {};
        case Qt::TextAlignmentRole:
            return index.column() == 0 ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                                       : QVariant(Qt::AlignCenter);
        default:
            return {};
    }
}

QVariant PaneItemModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal)
        return {};
    if (role == Qt::DisplayRole) {
        static const char* const kTitles[] = {"Files", "Size", "BPP"};
        return (section >= 0 && section < 3) ? QString(kTitles[section]) : QString();
    }
    if (role == Qt::TextAlignmentRole)
        return section == 0 ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                            : QVariant(Qt::AlignCenter);
    return {};
}

void PaneItemModel::apply(const std::vector<ListingUpdate>& updates) {
    int changedFirst = -1, changedLast = -1;
    const auto flushChanges = [&] {
        if (changedFirst >= 0)
            emit dataChanged(index(changedFirst, 0), index(changedLast, 2));
        changedFirst = changedLast = -1;
    };
    for (const ListingUpdate& update : updates) {
        switch (update.kind) {
            case ListingUpdate::Started:
                flushChanges();
                beginResetModel();
                model_.apply(update);
                endResetModel();
                break;
            case ListingUpdate::Entries: {
                flushChanges();
                if (update.entries.empty())
                    break;
                const int first = rowCount();
                beginInsertRows({}, first, first + static_cast<int>(update.entries.size()) - 1);
                model_.apply(update);
                endInsertRows();
                break;
            }
            case ListingUpdate::Info: {
                model_.apply(update);
                const int row = static_cast<int>(update.row);
                changedFirst = changedFirst < 0 ? row : std::min(changedFirst, row);
                changedLast = std::max(changedLast, row);
                break;
            }
            default:
                model_.apply(update);
                break;
        }
    }
    flushChanges();
}

}  // namespace slipway::pixmill
