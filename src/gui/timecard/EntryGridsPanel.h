#pragma once
// The left part of the entry window: the day grid above the summary, their
// columns lined up. The rows give up a few pixels before the days have to
// scroll, so a whole month fits a short window.

#include <QFrame>

namespace pb {

class DayGridModel;
class EntryGridView;
class SummaryModel;

class EntryGridsPanel : public QFrame {
    Q_OBJECT

  public:
    // `holidayLayout`: a daily-wage month with weekly holidays, whose summary
    // holds seven rows.
    EntryGridsPanel(DayGridModel* days, SummaryModel* summary, bool holidayLayout, QWidget* parent);

    // The height that shows every day and the summary at once, rows at their
    // full height.
    int WholeMonthHeight() const;
    // Rows as tall as a window of `height` lets every day show, within limits.
    void FitRows(int height);

    EntryGridView* dayGrid = nullptr;
    EntryGridView* summaryGrid = nullptr;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // The summary's height and the month's (headings, days, summary) with
    // rows of `rowHeight`.
    int SummaryHeight(int rowHeight) const;
    int MonthHeight(int rowHeight) const;
    void FitSummaryHeight();
    // The summary's first visible column follows the day grid's.
    void FollowDayGridScroll();

    bool holidayLayout_;
};

}  // namespace pb
