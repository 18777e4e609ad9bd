#pragma once
// The month entry window: one employee's clock times for one pay month, typed
// into a day grid, with the figures of the calculation shown beside them.

#include <QFont>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <optional>
#include <string>
#include <vector>

#include "core/model/Records.h"
#include "core/model/Settings.h"
#include "core/month/MonthEntry.h"
#include "core/month/MonthLoader.h"
#include "core/store/DataFiles.h"
#include "core/timecard/MonthCalc.h"

class QAction;
class QKeyEvent;
class QModelIndex;
class QPoint;
class QUndoStack;

namespace pb {

class DayGridModel;
class EntryButtonPanel;
class EntryGridsPanel;
class EntryGridView;
class SummaryModel;
class TPanelButton;
class TimeCellDelegate;

// What the window is opened for.
struct EntrySelection {
    std::string id;  // "001"
    int year = 0;
    int month = 0;          // 1 … 12
    bool newMonth = false;  // no month record is stored yet
};

class EntryWindow : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int HelpContext READ HelpContext CONSTANT)

  public:
    // Opens the month through the core (`OpenMonth`), reading the files of
    // `files` and the rules and colours of `settings` (which must outlive the
    // window; the report's preview remembers its printer there). A month the core refuses is no
    // window: the constructor throws MonthRefused with the core's reason, or the FileError of a
    // file that cannot be read or is damaged.
    EntryWindow(const EntrySelection& selection, const DataFiles& files, Settings& settings,
                QWidget* parent = nullptr);
    // Shows a month the caller opened through the core (status Opened).
    EntryWindow(OpenedMonth month, const DataFiles& files, Settings& settings,
                QWidget* parent = nullptr);
    ~EntryWindow() override;

    // Pay scheme digit, ID, year and two-digit month: "1001199903".
    static QString MakeEntryKey(pb::PayScheme payScheme, const std::string& id, int year,
                                int month);
    // The font of the grids (the work pattern's is made from it).
    static QFont WindowFont();

    QString EntryKey() const { return toolTip(); }
    int HelpContext() const { return 8; }
    pb::PayScheme Scheme() const { return entry_.Scheme(); }
    int WorkType() const { return entry_.WorkType(); }
    bool Modified() const { return entry_.Modified(); }
    const MonthRecord& Month() const { return entry_.Record(); }
    // The month as opened: employee, name, year and month.
    const OpenedMonth& Opened() const { return entry_.Opened(); }
    int DayRows() const { return entry_.DayRows(); }
    // The height that shows every day of the month and the summary at once,
    // rows at their full height; a lower window makes its rows lower, down to
    // a least height, before the days scroll.
    int WholeMonthHeight() const;
    // The width the main window takes while this window is active.
    int MainWindowWidth() const { return Scheme() == pb::PayScheme::Daily ? 660 : 725; }

    // Operations of the window.
    void LoadStoredCells();
    void ShowSummaryLayout();
    // Shows the figures of the cells when they changed since the last
    // calculation; with `checkCurrentCell`, only when the current cell holds a time.
    void Recalculate(bool checkCurrentCell);
    // Empties the cells that hold no valid time and makes the month record of
    // the rest, as 記録 writes it and 印刷 prints it.
    void CollectMonth();
    void MoveToNextCell();

  public slots:
    void Activated();
    void CalculateClicked();
    void SaveClicked();
    void PrintClicked();
    void CloseClicked();
    void ClearClicked();
    void RestoreClicked();
    // The window's six commands as a menu on the grid, at a point of the screen.
    void ShowCommandMenu(const QPoint& at);

  signals:
    // A month was written to its year's file (the main window's stored-data
    // indicator follows).
    void monthSaved();
    // The window became the active one and wants the main window this wide.
    void mainWidthWanted(int width);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    static OpenedMonth Open(const EntrySelection& selection, const DataFiles& files,
                            const Settings& settings);
    void ShowOpenedMonth();
    // False keeps the window open.
    bool MayClose();
    bool SaveMonth();
    void CommitEditor();
    void BuildLayout();
    // Puts typed cells back as an undo or redo does and recalculates.
    void RestoreTypedCells(const EntrySnapshot& cells);
    // Records a change of the typed cells, when there is one.
    void RecordChange(const QString& what, const std::optional<EntryChange>& change);
    // Ends the edit under way in the current cell, recording it when it
    // changed the cell.
    void EndEdit();
    void UndoClick();
    void RedoClick();
    // 年間集計: the employee's year of this month, in a window of its own.
    void YearTotalClicked();
    // The grid shows the entry's typed cells anew.
    void ShowTypedCells();
    // The window after a keystroke, an undo or a redo changed the month.
    void ShowModified();
    // Before a save or print: lists the typed times that are not valid and
    // would be emptied, and asks whether to go on. True when there are none or
    // the operator goes on.
    bool AskAboutInvalidCells();

    // Editing.
    bool MayEnterCell(int col, int row);
    void FollowCurrentRow();
    // True when the key was used (Enter) and goes no further.
    bool GridKeyPressed(QKeyEvent* event);
    // Escape takes back the edit of the current cell; Delete empties it.
    void CancelCellEdit();
    void EmptyCurrentCell();
    QString EditMask(int col, int row) const;
    void CurrentCellChanged(const QModelIndex& current, const QModelIndex& previous);
    void SetCurrentCell(int col, int row);
    void ClearAll();
    void ShowInvalidTimeWarning();

    int WeekdayOfRow(int row) const;
    bool HasHolidayLayout() const;
    int LastColumn() const { return entry_.ColumnCount() - 1; }
    // Calculates the cells as they are and shows the figures.
    void ShowFigures();
    // Shows the figures of the entry's last calculation.
    void PaintFigures();

    DataFiles files_;
    Settings* settings_ = nullptr;
    QAction* yearAction_ = nullptr;

    // The month being typed: its cells, the edit under way, whether it changed,
    // the last calculation (the only source of the figures shown, saved and
    // printed) and the month record as opened or last saved. The grids show it.
    MonthEntry entry_;
    // The two grids' models over it: the day grid (typing goes into the entry
    // through it) and the summary.
    DayGridModel* dayModel_ = nullptr;
    SummaryModel* summary_ = nullptr;

    // The cell the operator is in; a refused move puts the grid back here.
    int col_ = 1;
    int row_ = 1;
    bool revertingMove_ = false;

    // Controls.
    // The day grid above the summary; the day grid is where the operator types.
    EntryGridsPanel* grids_ = nullptr;
    EntryGridView* dayGrid_ = nullptr;
    TimeCellDelegate* inputDelegate_ = nullptr;
    // The six commands, the totals and the notes.
    EntryButtonPanel* buttons_ = nullptr;
    // Every cell edit, 消去 and 戻す since the window opened.
    QUndoStack* undo_ = nullptr;
    QAction* undoAction_ = nullptr;
    QAction* redoAction_ = nullptr;
};

}  // namespace pb
