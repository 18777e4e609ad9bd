#pragma once
// The month being typed: one employee's pay month as the entry window edits
// it, kept as data instead of in the cells of a grid. It holds the typed cells
// of every day row, tells which of them hold a time the calculation accepts,
// knows whether anything changed since the last save, keeps the edit under way
// in a cell (so Escape can take it back), says where Enter sends the cursor,
// makes plain snapshots for undo and redo, runs the calculation and makes the
// month record that 記録 stores.
//
// How a window shows it (a table model of the day grid over the entry):
//  - data(): a day row's typed column (col <= LastTypedColumn()) is Text(cell);
//    the computed columns, the day marks and the summary come from Result();
//    flags(): editable where CanType(cell). Opening puts the cursor on FirstCell().
//  - The editor reports every keystroke with Type(cell, text); Escape is
//    CancelEdit(). Before the cursor leaves the cell: refuse the move while
//    !EditValid() (the warning names EditText()); otherwise EndEdit() and push
//    the EntryChange it gives onto the undo stack.
//  - Enter: ask EnterTarget(current) while the edit is still under way (a bad
//    time keeps its column), then move there as above: refused with the
//    warning while !EditValid(), else EndEdit() and on.
//  - Undo and redo: Restore(change.before) / Restore(change.after). 消去 and 戻す:
//    take a Snapshot(), Clear() or RestoreStored(), and push ChangeSince(it).
//  - Whenever NeedsCalculation() and the figures are wanted: Calculate(rules),
//    then repaint from Result() (ResultInput() explains the figures).
//  - 記録 and 印刷: ask about InvalidCells() (they would be emptied), then
//    Collect(rules) gives the record to write or print; MarkSaved() once written.
//
// Cells are addressed as the grid counts them: row 1 is the first day of the
// pay period, column 1 the first clock column.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/model/Records.h"
#include "core/model/Settings.h"
#include "core/month/MonthLoader.h"
#include "core/store/DataFiles.h"
#include "core/timecard/MonthCalc.h"

namespace pb {

// A cell of the day grid: column and row as the grid counts them.
struct EntryCell {
    int col = 0;
    int row = 0;

    bool operator==(const EntryCell&) const = default;
};

// The typed cells of every day row at one moment, day by day, column 1 up to
// the last typed column: what an undo step puts back.
struct EntrySnapshot {
    std::vector<std::string> texts;

    bool operator==(const EntrySnapshot&) const = default;
};

// One step for the undo stack: the typed cells before and after it.
struct EntryChange {
    EntrySnapshot before;
    EntrySnapshot after;
};

// One entry of the Enter-key table ("NextCell.dat") read: where the cursor
// goes after a cell of a day row was entered.
struct EnterStep {
    enum class Kind {
        Stay,       // 0 or any value the table does not define
        ToColumn,   // 1 … 4: that column of the same row
        ToNextRow,  // 5: the next day row (after the last, the first)
    };
    Kind kind = Kind::Stay;
    int column = 0;  // for ToColumn

    bool operator==(const EnterStep&) const = default;
};

// The table's value for column `column` (1 … 4) of a row whose clock cells are
// filled as `fillMask` says (0 … 15, `BinaryTextToInt(RowPattern(row))`: column
// 1 the highest bit). A column or mask out of range stays.
EnterStep DecodeEnterStep(const NextCellRecord& table, int column, int fillMask);

// A table whose `Pattern` is this one serves the patterns with one clock
// column: Enter only ever changes the row.
inline constexpr std::int32_t kOneColumnEnterTable = 1;

class MonthEntry {
  public:
    // Takes a month `OpenMonth` opened (status Opened; std::invalid_argument
    // otherwise) and the Enter-key table of its work pattern (`EnterKeyMoves`;
    // the default, all zeros, keeps the cursor where it is). The cells are as
    // opened, nothing is modified and the figures are those of the opened
    // cells under the rules the month was opened with.
    explicit MonthEntry(OpenedMonth month, NextCellRecord enterKeys = {});
    // The same with the Enter-key table of the month's pattern read from the
    // folder's "NextCell.dat".
    MonthEntry(OpenedMonth month, const DataFiles& files);

    const OpenedMonth& Opened() const { return opened_; }
    pb::PayScheme Scheme() const { return opened_.input.payScheme; }
    std::int32_t WorkType() const { return workType_; }
    int DayRows() const { return static_cast<int>(cells_.size()); }
    // Columns of the day grid: 8 for a daily-wage month, 9 for an hourly one.
    int ColumnCount() const;
    // Columns 1 … this one are typed, the later ones computed: 2 daily, 4 hourly.
    int LastTypedColumn() const;
    // The typed columns the work pattern takes, in order (daily 1 and/or 2;
    // hourly 1 … 4 without the break columns of a pattern without a break).
    std::vector<int> TypedColumns() const;
    // A cell the operator may type into: a day row and a column of TypedColumns().
    bool CanType(EntryCell cell) const;
    // Where the cursor starts: the first typed column of the first day.
    EntryCell FirstCell() const;

    // The text of a typed cell ("hh:mm", a partly typed time, or ""); "" for
    // any other cell.
    const std::string& Text(EntryCell cell) const;
    // True when the cell holds a time the calculation accepts or nothing
    // (`IsValidTimeText`); a cell that is not typed is valid.
    bool IsValid(EntryCell cell) const;
    // The typed cells holding something else, row by row: what a save or print
    // empties.
    std::vector<EntryCell> InvalidCells() const;

    // Something was typed, undone or redone since opening or the last save.
    bool Modified() const { return modified_; }
    // The cells changed since the last Calculate().
    bool NeedsCalculation() const { return needsCalculation_; }

    // The edit under way: from the first keystroke in a cell until EndEdit()
    // or CancelEdit(). The cell last typed into, its text, and whether that text
    // is a valid time (true when no edit is under way): the cursor may not
    // leave a cell holding an invalid time.
    std::optional<EntryCell> Editing() const { return editing_; }
    const std::string& EditText() const;
    bool EditValid() const;

    // The operator's text for a cell, at every keystroke: starts an edit if
    // none is under way, sets the cell and marks the month modified. The blank
    // mask "  :  " is kept as an empty cell. False, and nothing changes, for a
    // cell that cannot be typed into.
    bool Type(EntryCell cell, const std::string& text);
    // Escape: the cells and the modified state go back to what they were before
    // the edit's first keystroke. False when no edit was under way.
    bool CancelEdit();
    // The cursor leaves the cell: the edit ends, and gives its change when it
    // changed the cells.
    std::optional<EntryChange> EndEdit();

    // Where Enter sends the cursor from `from` by the Enter-key table and the
    // fill of the row's typed cells: another column of the row, or the next day
    // row (after the last day, the first) in the first typed column, or its own
    // column while the edit holds an invalid time. `from` itself when the table
    // says to stay or names a cell that cannot be typed into; with a one-column
    // table only the row changes.
    EntryCell EnterTarget(EntryCell from) const;

    // The typed cells as they are now, and as a change since `before` (none when
    // nothing changed).
    EntrySnapshot Snapshot() const;
    std::optional<EntryChange> ChangeSince(const EntrySnapshot& before) const;
    // Undo or redo: the cells of `snapshot` back, the edit under way dropped,
    // the month modified. std::invalid_argument for a snapshot of another shape.
    void Restore(const EntrySnapshot& snapshot);
    // 消去: every typed cell emptied. The modified state stays.
    void Clear();
    // 戻す: the typed cells of Record(), the month as opened, or as last saved
    // or printed. The modified state stays.
    void RestoreStored();

    // The input of a calculation of the cells as they are, under `rules` (the
    // settings may change them while the month is open).
    MonthInput Input(const CalcSetSettings& rules) const;
    // Runs the calculation of the cells as they are; Result() holds it and
    // ResultInput() what it was made from.
    const MonthResult& Calculate(const CalcSetSettings& rules);
    const MonthResult& Result() const { return result_; }
    const MonthInput& ResultInput() const { return resultInput_; }

    // The month record as opened, or as last collected: what 戻す brings back.
    const MonthRecord& Record() const { return record_; }
    // What 記録 would store now, changing nothing: Record() brought up to date
    // (`UpdatedMonthRecord`) from a calculation of the cells with the invalid
    // ones emptied.
    MonthRecord StoredRecord(const CalcSetSettings& rules) const;
    // 記録 and 印刷: empties the invalid cells, calculates, and keeps and gives
    // StoredRecord(). The modified state stays until MarkSaved(). An edit still
    // under way ends here without an undo step: end a valid one first with
    // EndEdit() to keep it; one holding an invalid time is emptied.
    const MonthRecord& Collect(const CalcSetSettings& rules);
    // The month record was written.
    void MarkSaved() { modified_ = false; }

  private:
    static std::int32_t WorkTypeOf(const MonthInput& input);
    DayCells& Row(int row) { return cells_[static_cast<std::size_t>(row - 1)]; }
    const DayCells& Row(int row) const { return cells_[static_cast<std::size_t>(row - 1)]; }
    bool IsTypedCell(EntryCell cell) const;
    void SetCells(std::vector<DayCells> cells);
    void EmptyInvalidCells();

    OpenedMonth opened_;
    NextCellRecord enterKeys_;
    std::int32_t workType_ = 0;
    MonthRecord record_;
    std::vector<DayCells> cells_;  // per day row; only the typed columns are used
    bool modified_ = false;
    bool needsCalculation_ = false;
    std::optional<EntryCell> editing_;
    EntrySnapshot beforeEdit_;
    bool modifiedBeforeEdit_ = false;
    MonthInput resultInput_;
    MonthResult result_;
};

}  // namespace pb
