#include "gui/timecard/EntryGridsPanel.h"

#include <QEvent>
#include <QScrollBar>
#include <QVBoxLayout>

#include "gui/shared/Naming.h"
#include "gui/timecard/DayGridModel.h"
#include "gui/timecard/EntryGridView.h"
#include "gui/timecard/SummaryModel.h"
#include "gui/timecard/TimeCellDelegate.h"

namespace pb {

namespace {

constexpr int kRowHeight = 24;
// The rows shrink down to this to show a whole month on a short screen.
constexpr int kLeastRowHeight = 20;
// The summary's height at full rows: seven rows with weekly holidays, else four.
constexpr int kHolidaySummaryHeight = 178;
constexpr int kSummaryHeight = 103;

}  // namespace

EntryGridsPanel::EntryGridsPanel(DayGridModel* days, SummaryModel* summary, bool holidayLayout,
                                 QWidget* parent)
    : QFrame(parent), holidayLayout_(holidayLayout) {
    Name(this, QStringLiteral("Panel3"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    dayGrid = new EntryGridView(true, this);
    Name(dayGrid, QStringLiteral("InputGrid"));
    dayGrid->SetDefaultRowHeight(kRowHeight);
    dayGrid->setModel(days);
    dayGrid->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                             QAbstractItemView::EditKeyPressed);
    // A pale selection keeps the coloured texts of the current cell readable.
    QPalette palette = dayGrid->palette();
    palette.setColor(QPalette::Highlight, QColor(0xcc, 0xe8, 0xff));
    dayGrid->setPalette(palette);
    connect(dayGrid->horizontalScrollBar(), &QScrollBar::valueChanged, this,
            &EntryGridsPanel::FollowDayGridScroll);
    layout->addWidget(dayGrid, 1);

    summaryGrid = new EntryGridView(false, this);
    Name(summaryGrid, QStringLiteral("DataViewGrid"));
    summaryGrid->SetDefaultRowHeight(kRowHeight);
    summaryGrid->setModel(summary);
    summaryGrid->setItemDelegate(new TimeCellDelegate(summaryGrid));
    summaryGrid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    summaryGrid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Figures only: nothing to select, and the focus goes back to the day grid.
    summaryGrid->setSelectionMode(QAbstractItemView::NoSelection);
    summaryGrid->setFocusPolicy(Qt::ClickFocus);
    summaryGrid->installEventFilter(this);
    layout->addWidget(summaryGrid, 0);
    FitSummaryHeight();
}

int EntryGridsPanel::SummaryHeight(int rowHeight) const {
    const int tall = holidayLayout_ ? kHolidaySummaryHeight : kSummaryHeight;
    return tall - summaryGrid->rowCount() * (kRowHeight - rowHeight);
}

int EntryGridsPanel::MonthHeight(int rowHeight) const {
    // The headings, every day and the summary.
    return 2 * dayGrid->frameWidth() + rowHeight * dayGrid->rowCount() + SummaryHeight(rowHeight);
}

int EntryGridsPanel::WholeMonthHeight() const {
    return MonthHeight(kRowHeight);
}

void EntryGridsPanel::FitRows(int height) {
    // A 31-day month with the holiday summary is taller than what a 1024-pixel
    // screen leaves under a title bar and a panel: the rows give up a few
    // pixels before the days have to scroll.
    int rowHeight = kRowHeight;
    while (rowHeight > kLeastRowHeight && MonthHeight(rowHeight) > height)
        --rowHeight;
    if (rowHeight == dayGrid->DefaultRowHeight())
        return;
    dayGrid->SetDefaultRowHeight(rowHeight);
    summaryGrid->SetDefaultRowHeight(rowHeight);
    FitSummaryHeight();
}

void EntryGridsPanel::FitSummaryHeight() {
    summaryGrid->setFixedHeight(SummaryHeight(dayGrid->DefaultRowHeight()));
}

void EntryGridsPanel::FollowDayGridScroll() {
    summaryGrid->horizontalScrollBar()->setValue(dayGrid->horizontalScrollBar()->value());
}

bool EntryGridsPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == summaryGrid && event->type() == QEvent::FocusIn)
        dayGrid->setFocus();
    return QFrame::eventFilter(watched, event);
}

}  // namespace pb
