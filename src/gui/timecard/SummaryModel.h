#pragma once
// The summary below the day grid as a table model: per class or band column
// its band time and rates, then the month's minutes and yen from the entry's
// last calculation (column 0 the row captions). The band time of the half
// holiday and the weekday rates follow the day grid's current row.

#include <QAbstractTableModel>
#include <QStringList>
#include <vector>

#include "core/model/Settings.h"
#include "core/timecard/MonthCalc.h"

namespace pb {

class MonthEntry;
struct MonthTrace;

class SummaryModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    // `entry` and `settings` (for the ink colour) outlive the model.
    SummaryModel(const MonthEntry& entry, const Settings& settings, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The rows of the entry's last calculation for a current day of
    // `weekday` (1 = Sunday, -1 none).
    void Refresh(int weekday);
    // The month's figures are shown, `trace` explaining their sums; or taken
    // off (消去), the band times and rates staying.
    void ShowFigures(const MonthTrace& trace);
    void HideFigures();
    // The rows above the month's figures: band times and rates.
    int RateRows() const;

  private:
    // With `everyRow`, also the rows whose texts stay (the figures came or went).
    void Refresh(int weekday, bool everyRow);

    const MonthEntry& entry_;
    const Settings& settings_;
    int weekday_ = -1;
    std::vector<DayCells> rows_;
    bool figuresShown_ = false;
    QStringList sumHints_;  // per column, how its sums came about
};

}  // namespace pb
