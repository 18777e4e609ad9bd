#pragma once
// The rows of a table of months (the month overview, an employee's year) as a
// Qt model: the core's cells shown as they are, numbers sorted as numbers.

#include <QAbstractTableModel>
#include <QStringList>
#include <string>
#include <vector>

#include "core/overview/MonthOverview.h"

namespace pb {

class OverviewModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    // What a proxy sorts by: the number of a figure, else the text.
    static constexpr int SortRole = Qt::UserRole;
    // The employee ID of the row.
    static constexpr int IdRole = Qt::UserRole + 1;

    using QAbstractTableModel::QAbstractTableModel;

    // Replaces the whole table; `ids` one per row, beside `rows`. The column
    // `notesColumn` shows its texts in red.
    void SetTable(const std::vector<std::string>& captions,
                  std::vector<std::vector<OverviewCell>> rows, std::vector<std::string> ids,
                  int notesColumn);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

  private:
    QStringList captions_;
    std::vector<std::vector<OverviewCell>> rows_;
    std::vector<std::string> ids_;
    int notesColumn_ = -1;
};

}  // namespace pb
