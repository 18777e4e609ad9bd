#pragma once
// The entry window's right-hand panel: the six command buttons in two
// columns, the month's totals below them, the word that 記録 stored the month,
// and the month's notes (overtime limits, daily rounding). It shows what the
// window hands it and keeps no figure of its own.

#include <QFrame>
#include <QList>
#include <QString>

#include "core/timecard/MonthCalc.h"

class QAction;
class QLabel;
class QPoint;
class QTimer;

namespace pb {

class TPanelButton;

class EntryButtonPanel : public QFrame {
    Q_OBJECT

  public:
    explicit EntryButtonPanel(QWidget* parent);

    // The month's four totals, `hint` telling how the two sums came about.
    void ShowTotals(const TotalsTexts& totals, const QString& hint);
    // The totals of a month without figures: nothing worked, nothing paid.
    void ResetTotals();
    // An hourly-wage month counts no holiday days.
    void HideHolidayDays();
    // The notes' marks beside the totals, their texts in the hint.
    void ShowNotes(const QStringList& marks, const QStringList& texts);
    // For a while after 記録: the month is stored.
    void ShowSaved();
    void ClearSaved();

    // The buttons in the menu's order with `steps` (undo, redo) before the
    // closing one, at `at` on the screen; the chosen command runs once the
    // menu is gone (it may open a box or close the window).
    // `more` stand after the steps.
    void ExecCommandMenu(const QPoint& at, const QList<QAction*>& steps, bool canUndo, bool canRedo,
                         const QList<QAction*>& more = {});

    TPanelButton* calculate = nullptr;
    TPanelButton* print = nullptr;
    TPanelButton* save = nullptr;
    TPanelButton* close = nullptr;
    TPanelButton* clear = nullptr;
    TPanelButton* restore = nullptr;

  private:
    void BuildTotals();

    QLabel* overMinutes_ = nullptr;
    QLabel* overPay_ = nullptr;
    QLabel* workDays_ = nullptr;
    QLabel* holidayDays_ = nullptr;
    QLabel* holidayCaption_ = nullptr;
    QLabel* holidayUnit_ = nullptr;
    QLabel* saved_ = nullptr;
    QLabel* notes_ = nullptr;
    QTimer* savedTimer_ = nullptr;
};

}  // namespace pb
