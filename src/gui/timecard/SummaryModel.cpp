#include "gui/timecard/SummaryModel.h"

#include <QColor>
#include <utility>

#include "core/month/MonthEntry.h"
#include "core/timecard/FigureTrace.h"
#include "core/timecard/SummaryGrid.h"
#include "core/timecard/WorkPattern.h"
#include "gui/shared/Colors.h"
#include "gui/shared/Text.h"

namespace pb {

SummaryModel::SummaryModel(const MonthEntry& entry, const Settings& settings, QObject* parent)
    : QAbstractTableModel(parent), entry_(entry), settings_(settings) {
    rows_ = SummaryRows(entry_.Opened().input, entry_.Result(), weekday_);
    sumHints_.resize(entry_.ColumnCount());
}

int SummaryModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int SummaryModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : entry_.ColumnCount();
}

int SummaryModel::RateRows() const {
    const MonthInput& input = entry_.Opened().input;
    return input.payScheme == PayScheme::Daily && input.daily.Holiday != 0 ? 3 : 2;
}

QVariant SummaryModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return {};
    const int col = index.column();
    const int row = index.row();
    const bool figure = col > 0 && row >= RateRows();
    switch (role) {
        case Qt::DisplayRole:
            if (figure && !figuresShown_)
                return QString();
            return Q(rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)]);
        case Qt::ForegroundRole:
            if (col == 0)
                return {};
            // The texts of a column the pattern does not use are drawn invisible.
            if (IsColumnUnused(entry_.WorkType(), col))
                return QColor(Qt::transparent);
            return FromColorRef(settings_.FontColor.ValidColor);
        case Qt::ToolTipRole:
            return figure && !IsColumnUnused(entry_.WorkType(), col) ? sumHints_.value(col)
                                                                     : QString();
        default:
            return {};
    }
}

QVariant SummaryModel::headerData(int section, Qt::Orientation orientation, int role) const {
    // The row captions are the headings of the rows; the columns are those of
    // the day grid above, where their captions are shown.
    if (orientation == Qt::Vertical)
        return data(index(section, 0), role);
    if (role != Qt::DisplayRole || section < 1 || section >= columnCount())
        return {};
    return Q(ColumnCaptions(entry_.Scheme(), entry_.WorkType())[static_cast<std::size_t>(section)]);
}

Qt::ItemFlags SummaryModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled : Qt::NoItemFlags;
}

void SummaryModel::Refresh(int weekday) {
    Refresh(weekday, false);
}

void SummaryModel::Refresh(int weekday, bool everyRow) {
    weekday_ = weekday;
    std::vector<DayCells> before = SummaryRows(entry_.Opened().input, entry_.Result(), weekday_);
    std::swap(before, rows_);
    // Only the rows that changed are repainted.
    for (std::size_t r = 0; r < rows_.size(); ++r)
        if (everyRow || r >= before.size() || before[r] != rows_[r])
            emit dataChanged(index(static_cast<int>(r), 0),
                             index(static_cast<int>(r), columnCount() - 1));
}

void SummaryModel::ShowFigures(const MonthTrace& trace) {
    const bool wereHidden = !figuresShown_;
    figuresShown_ = true;
    for (int c = 1; c < sumHints_.size(); ++c)
        sumHints_[c] = Q(SumTraceText(trace, c));
    Refresh(weekday_, wereHidden);
}

void SummaryModel::HideFigures() {
    figuresShown_ = false;
    sumHints_.fill(QString());
    Refresh(weekday_, true);
}

}  // namespace pb
