#include "gui/timecard/DayGridModel.h"

#include <QColor>
#include <QVariant>
#include <functional>
#include <string>

#include "core/common/Holidays.h"
#include "core/common/Routines.h"
#include "core/month/MonthEntry.h"
#include "core/timecard/FigureTrace.h"
#include "core/timecard/WorkPattern.h"
#include "gui/shared/Colors.h"
#include "gui/shared/Text.h"

namespace pb {

namespace {

const QColor kPatternInk(0, 128, 0);
const QColor kHolidayInk(Qt::red);
const QColor kHalfHolidayInk(0, 0, 128);
// A clock-in counted as the evening before is tinted for a second look.
const QColor kLateClockInTint(0xff, 0xe0, 0xa0);

}  // namespace

QFont DayGridModel::PatternFont(QFont font) {
    // The work pattern stands out: bold italic, three points larger.
    font.setBold(true);
    font.setItalic(true);
    if (font.pixelSize() > 0)
        font.setPixelSize(font.pixelSize() + 4);
    else
        font.setPointSizeF(font.pointSizeF() + 3);
    return font;
}

DayGridModel::DayGridModel(MonthEntry& entry, const Settings& settings, const QFont& font,
                           QObject* parent)
    : QAbstractTableModel(parent),
      entry_(entry),
      settings_(settings),
      patternFont_(PatternFont(font)) {
    for (const std::string& caption : ColumnCaptions(entry_.Scheme(), entry_.WorkType()))
        captions_ << Q(caption);
    for (const PayDay& day : entry_.Opened().input.period) {
        dayLabels_ << Q(pb::DayLabel(day));
        // A national holiday is marked and named; it is paid as the day of the
        // week it falls on.
        nationalHolidays_ << Q(std::string(NationalHolidayName(day.year, day.month, day.day)));
    }
    lateClockIns_.resize(dayLabels_.size());
    shownKeys_.resize(dayLabels_.size());
}

int DayGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : entry_.DayRows() + 1;
}

int DayGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : entry_.ColumnCount();
}

bool DayGridModel::IsDayRow(int row) const {
    return row >= 1 && row <= entry_.DayRows();
}

bool DayGridModel::IsUnused(int col) const {
    return IsColumnUnused(entry_.WorkType(), col);
}

QString DayGridModel::DayLabel(int row) const {
    return IsDayRow(row) ? dayLabels_[row - 1] : QString();
}

int DayGridModel::WeekdayOfRow(int row) const {
    return IsDayRow(row) ? entry_.Opened().input.period[static_cast<std::size_t>(row - 1)].weekday
                         : -1;
}

QVariant DayGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    const int col = index.column();
    const int row = index.row();
    if (row == 0)
        return CaptionData(col, role);
    if (col == 0)
        return DateData(row, role);
    return CellData(col, row, role);
}

QVariant DayGridModel::CaptionData(int col, int role) const {
    if (col == 0) {
        switch (role) {
            case Qt::DisplayRole:
                return Q(PadNumber(entry_.WorkType(), 2));
            case Qt::FontRole:
                return patternFont_;
            case Qt::ForegroundRole:
                return kPatternInk;
            default:
                return {};
        }
    }
    if (role == Qt::DisplayRole)
        return captions_.value(col);
    if (role == Qt::ForegroundRole)
        return FromColorRef(IsUnused(col) ? settings_.FontColor.InvalidColor
                                          : settings_.FontColor.ValidColor);
    return {};
}

QVariant DayGridModel::DateData(int row, int role) const {
    if (!IsDayRow(row))
        return {};
    if (role == Qt::DisplayRole)
        return dayLabels_[row - 1];
    if (role == Qt::ToolTipRole)
        return nationalHolidays_[row - 1];
    if (role == Qt::ForegroundRole) {
        // The calculation marks the weekly holidays of daily-wage months;
        // national holidays look the same in both schemes.
        const std::vector<DayRow>& days = entry_.Result().days;
        if (row > static_cast<int>(days.size()))
            return {};
        const DayRow& day = days[static_cast<std::size_t>(row - 1)];
        if (day.holiday || !nationalHolidays_[row - 1].isEmpty())
            return kHolidayInk;
        if (day.halfHoliday)
            return kHalfHolidayInk;
    }
    return {};
}

QVariant DayGridModel::CellData(int col, int row, int role) const {
    if (!IsDayRow(row) || col >= columnCount())
        return {};
    const bool typed = col <= entry_.LastTypedColumn();
    switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole: {
            if (typed)
                return Q(entry_.Text({col, row}));
            const std::vector<DayRow>& days = entry_.Result().days;
            if (!figuresShown_ || row > static_cast<int>(days.size()))
                return QString();
            return Q(days[static_cast<std::size_t>(row - 1)].cells[static_cast<std::size_t>(col)]);
        }
        case Qt::ForegroundRole:
            return FromColorRef(IsUnused(col) ? settings_.FontColor.InvalidColor
                                              : settings_.FontColor.ValidColor);
        case Qt::BackgroundRole:
            if (col == kClockInColumn && !lateClockIns_[row - 1].isEmpty())
                return kLateClockInTint;
            return {};
        case Qt::ToolTipRole:
            if (col == kClockInColumn)
                return lateClockIns_[row - 1];
            return typed ? QString() : FigureHint(col, row);
        default:
            return {};
    }
}

QString DayGridModel::FigureHint(int col, int row) const {
    const MonthResult& result = entry_.Result();
    if (!figuresShown_ || IsUnused(col) || row > static_cast<int>(result.days.size()))
        return {};
    // Made when asked for: kept as texts, the hints of a month would hold some
    // 50 KB in every open window.
    return Q(CellTraceText(TraceMonth(entry_.ResultInput(), result), static_cast<std::size_t>(row),
                           col));
}

QVariant DayGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    // The headings show row 0 and column 0, where screen readers look.
    return orientation == Qt::Horizontal ? data(index(0, section), role)
                                         : data(index(section, 0), role);
}

Qt::ItemFlags DayGridModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    if (index.row() == 0 || index.column() == 0)
        return Qt::ItemIsEnabled;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    // Only the clock columns the work pattern uses take typing, however the
    // editor is asked for.
    if (entry_.CanType({index.column(), index.row()}))
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool DayGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !index.isValid())
        return false;
    if (!entry_.Type({index.column(), index.row()}, S(value.toString())))
        return false;
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    emit typed();
    return true;
}

void DayGridModel::ShowFigures(const MonthTrace& trace) {
    const bool wereShown = figuresShown_;
    figuresShown_ = true;
    for (int r = 0; r < lateClockIns_.size(); ++r) {
        const auto day = static_cast<std::size_t>(r);
        const bool late = day < trace.days.size() && trace.days[day].clockInTakenAsEveningBefore &&
                          !trace.days[day].notes.empty();
        // The rule is the first of the day's notes.
        lateClockIns_[r] = late ? Q(trace.days[day].notes.front()) : QString();
    }
    // Only the days whose figures, marks or tint changed are repainted: one
    // typed time changes one day and the sums.
    int first = -1;
    for (int row = 1; row <= entry_.DayRows() + 1; ++row) {
        bool changed = false;
        if (row <= entry_.DayRows()) {
            const std::size_t key = RowKey(row);
            std::size_t& shown = shownKeys_[static_cast<std::size_t>(row - 1)];
            changed = !wereShown || key != shown;
            shown = key;
        }
        if (changed && first < 0)
            first = row;
        if (!changed && first >= 0) {
            // A range, so an open editor keeps what is being typed.
            emit dataChanged(index(first, 0), index(row - 1, columnCount() - 1));
            first = -1;
        }
    }
}

void DayGridModel::HideFigures() {
    figuresShown_ = false;
    lateClockIns_.fill(QString());
    emit dataChanged(index(1, 0), index(rowCount() - 1, columnCount() - 1));
}

std::size_t DayGridModel::RowKey(int row) const {
    // Everything a day row shows that a calculation decides.
    const std::vector<DayRow>& days = entry_.Result().days;
    std::string shown = lateClockIns_[row - 1].toStdString();
    if (row <= static_cast<int>(days.size())) {
        const DayRow& day = days[static_cast<std::size_t>(row - 1)];
        shown += day.holiday ? 'H' : '-';
        shown += day.halfHoliday ? 'h' : '-';
        for (int col = entry_.LastTypedColumn() + 1; col < columnCount(); ++col)
            shown += '|' + day.cells[static_cast<std::size_t>(col)];
    }
    return std::hash<std::string>{}(shown);
}

void DayGridModel::TypedCellsChanged() {
    emit dataChanged(index(1, 1), index(rowCount() - 1, entry_.LastTypedColumn()));
}

}  // namespace pb
