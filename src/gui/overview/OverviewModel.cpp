#include "gui/overview/OverviewModel.h"

#include <QColor>

#include "gui/shared/Text.h"

namespace pb {

void OverviewModel::SetTable(const std::vector<std::string>& captions,
                             std::vector<std::vector<OverviewCell>> rows,
                             std::vector<std::string> ids, int notesColumn) {
    beginResetModel();
    captions_.clear();
    for (const std::string& caption : captions)
        captions_ << Q(caption);
    rows_ = std::move(rows);
    ids_ = std::move(ids);
    notesColumn_ = notesColumn;
    endResetModel();
}

int OverviewModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int OverviewModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(captions_.size());
}

QVariant OverviewModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const auto& row = rows_[static_cast<std::size_t>(index.row())];
    if (role == IdRole)
        return index.row() < static_cast<int>(ids_.size())
                   ? Q(ids_[static_cast<std::size_t>(index.row())])
                   : QString();
    if (index.column() >= static_cast<int>(row.size()))
        return {};
    const OverviewCell& cell = row[static_cast<std::size_t>(index.column())];
    switch (role) {
        case Qt::DisplayRole:
        case Qt::ToolTipRole:
            return Q(cell.text);
        case SortRole:
            return cell.numeric ? QVariant(qlonglong(cell.number)) : QVariant(Q(cell.text));
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(cell.numeric ? Qt::AlignRight | Qt::AlignVCenter
                                                    : Qt::AlignLeft | Qt::AlignVCenter);
        case Qt::ForegroundRole:
            if (index.column() == notesColumn_ && !cell.text.empty())
                return QColor(Qt::red);
            return {};
        default:
            return {};
    }
}

QVariant OverviewModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= captions_.size())
        return {};
    return captions_[section];
}

}  // namespace pb
