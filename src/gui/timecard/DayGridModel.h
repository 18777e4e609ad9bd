#pragma once
// The day grid of the entry window as a table model over the month being
// typed: row 0 the column captions (the work pattern in its first cell),
// column 0 the dates, then per day the typed clock times and the figures of
// the entry's last calculation. Typing goes into the entry through setData;
// nothing is kept here that the entry or its calculation already holds.

#include <QAbstractTableModel>
#include <QFont>
#include <QString>
#include <QStringList>
#include <vector>

#include "core/model/Settings.h"

namespace pb {

class MonthEntry;
struct MonthTrace;

class DayGridModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    // `entry` and `settings` (for the two ink colours) outlive the model;
    // `font` is the grid's, from which the work pattern's larger one is made.
    DayGridModel(MonthEntry& entry, const Settings& settings, const QFont& font,
                 QObject* parent = nullptr);
    // The work pattern's font made from the grid's `font`.
    static QFont PatternFont(QFont font);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // A keystroke's text for a clock cell the pattern types into.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // The figures of the entry's last calculation are shown, `trace` telling
    // how they came about; or taken off with their hints (消去).
    void ShowFigures(const MonthTrace& trace);
    void HideFigures();
    bool FiguresShown() const { return figuresShown_; }
    // The typed cells changed in the entry (undo, redo, Escape, 戻す, 消去).
    void TypedCellsChanged();
    // The day label of a day row ("04/21(水)").
    QString DayLabel(int row) const;
    // The weekday of a day row, 1 = Sunday; -1 for none.
    int WeekdayOfRow(int row) const;

  signals:
    // The operator typed into a cell.
    void typed();

  private:
    bool IsDayRow(int row) const;
    bool IsUnused(int col) const;
    QVariant CaptionData(int col, int role) const;
    QVariant DateData(int row, int role) const;
    QVariant CellData(int col, int row, int role) const;
    // The explanation of a figure of the day rows, made when it is asked for.
    QString FigureHint(int col, int row) const;
    // What a day row shows of a calculation, as one number.
    std::size_t RowKey(int row) const;

    MonthEntry& entry_;
    const Settings& settings_;
    QFont patternFont_;
    QStringList captions_;
    QStringList dayLabels_;
    QStringList nationalHolidays_;  // per day row, the holiday's name or ""
    bool figuresShown_ = false;
    // Per day row: the note of a clock-in counted as the evening before, most
    // likely a late arrival to check; "" for none.
    QStringList lateClockIns_;
    // Per day row, the RowKey() of the figures on the screen.
    std::vector<std::size_t> shownKeys_;
};

}  // namespace pb
