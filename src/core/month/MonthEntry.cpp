#include "core/month/MonthEntry.h"

#include <stdexcept>
#include <utility>

#include "core/common/Routines.h"
#include "core/timecard/TimeCells.h"
#include "core/timecard/WorkPattern.h"

namespace pb {
namespace {

// The table holds sixteen moves (one per fill mask) for each of columns 1 … 4.
constexpr int kEnterColumns = 4;
constexpr int kFillMasks = 16;
constexpr std::int32_t kToNextRow = 5;

const std::string kNoText;

}  // namespace

EnterStep DecodeEnterStep(const NextCellRecord& table, int column, int fillMask) {
    if (column < 1 || column > kEnterColumns || fillMask < 0 || fillMask >= kFillMasks) {
        return {};
    }
    const std::int32_t move =
        table.Moves[static_cast<std::size_t>((column - 1) * kFillMasks + fillMask)];
    if (move >= 1 && move <= kEnterColumns) {
        return {EnterStep::Kind::ToColumn, move};
    }
    if (move == kToNextRow) {
        return {EnterStep::Kind::ToNextRow, 0};
    }
    return {};
}

MonthEntry::MonthEntry(OpenedMonth month, NextCellRecord enterKeys)
    : opened_(std::move(month)), enterKeys_(enterKeys) {
    if (opened_.status != OpenMonthStatus::Opened) {
        throw std::invalid_argument("MonthEntry: the month did not open");
    }
    const MonthInput& input = opened_.input;
    workType_ = WorkTypeOf(input);
    record_ = opened_.record;
    std::vector<DayCells> cells = input.cells;
    cells.resize(input.period.size());
    SetCells(std::move(cells));
    Calculate(input.rules);
}

MonthEntry::MonthEntry(OpenedMonth month, const DataFiles& files) : MonthEntry(std::move(month)) {
    enterKeys_ = EnterKeyMoves(files, workType_);
}

std::int32_t MonthEntry::WorkTypeOf(const MonthInput& input) {
    return input.payScheme == pb::PayScheme::Hourly ? input.hourly.WorkType : input.daily.WorkType;
}

int MonthEntry::ColumnCount() const {
    return Scheme() == pb::PayScheme::Hourly ? kHourlyColumnCount : kDailyColumnCount;
}

int MonthEntry::LastTypedColumn() const {
    return Scheme() == pb::PayScheme::Hourly ? static_cast<int>(kHourlyClockOutColumn)
                                             : static_cast<int>(kClockOutColumn);
}

std::vector<int> MonthEntry::TypedColumns() const {
    std::vector<int> columns;
    for (int column = 1; column <= LastTypedColumn(); ++column) {
        if (!IsColumnUnused(workType_, column)) {
            columns.push_back(column);
        }
    }
    return columns;
}

bool MonthEntry::IsTypedCell(EntryCell cell) const {
    return cell.row >= 1 && cell.row <= DayRows() && cell.col >= 1 && cell.col <= LastTypedColumn();
}

bool MonthEntry::CanType(EntryCell cell) const {
    return IsTypedCell(cell) && !IsColumnUnused(workType_, cell.col);
}

EntryCell MonthEntry::FirstCell() const {
    const std::vector<int> columns = TypedColumns();
    return {columns.empty() ? 1 : columns.front(), 1};
}

const std::string& MonthEntry::Text(EntryCell cell) const {
    return IsTypedCell(cell) ? Row(cell.row)[static_cast<std::size_t>(cell.col)] : kNoText;
}

bool MonthEntry::IsValid(EntryCell cell) const {
    return IsValidTimeText(Text(cell));
}

std::vector<EntryCell> MonthEntry::InvalidCells() const {
    std::vector<EntryCell> invalid;
    for (int row = 1; row <= DayRows(); ++row) {
        for (int col = 1; col <= LastTypedColumn(); ++col) {
            if (!IsValid({col, row})) {
                invalid.push_back({col, row});
            }
        }
    }
    return invalid;
}

const std::string& MonthEntry::EditText() const {
    return editing_ ? Text(*editing_) : kNoText;
}

bool MonthEntry::EditValid() const {
    return !editing_ || IsValid(*editing_);
}

bool MonthEntry::Type(EntryCell cell, const std::string& text) {
    if (!CanType(cell)) {
        return false;
    }
    if (!editing_) {
        beforeEdit_ = Snapshot();
        modifiedBeforeEdit_ = modified_;
    }
    editing_ = cell;
    Row(cell.row)[static_cast<std::size_t>(cell.col)] = text == kBlankTimeMask ? "" : text;
    modified_ = true;
    needsCalculation_ = true;
    return true;
}

bool MonthEntry::CancelEdit() {
    if (!editing_) {
        return false;
    }
    editing_.reset();
    const bool modified = modifiedBeforeEdit_;
    Restore(beforeEdit_);
    modified_ = modified;
    return true;
}

std::optional<EntryChange> MonthEntry::EndEdit() {
    if (!editing_) {
        return std::nullopt;
    }
    editing_.reset();
    return ChangeSince(beforeEdit_);
}

EntryCell MonthEntry::EnterTarget(EntryCell from) const {
    if (!IsTypedCell(from)) {
        return from;
    }
    const int fillMask = BinaryTextToInt(RowPattern(Row(from.row)));
    const EnterStep step = DecodeEnterStep(enterKeys_, from.col, fillMask);
    EntryCell to = from;
    if (step.kind == EnterStep::Kind::ToColumn) {
        to.col = step.column;
    } else if (step.kind == EnterStep::Kind::ToNextRow) {
        to.row = from.row >= DayRows() ? 1 : from.row + 1;
        // A bad time keeps its column: the move is refused there with the warning.
        to.col = EditValid() ? FirstCell().col : from.col;
    }
    if (enterKeys_.Pattern == kOneColumnEnterTable) {
        to.col = from.col;
    }
    return CanType(to) ? to : from;
}

EntrySnapshot MonthEntry::Snapshot() const {
    EntrySnapshot snapshot;
    snapshot.texts.reserve(cells_.size() * static_cast<std::size_t>(LastTypedColumn()));
    for (const DayCells& row : cells_) {
        for (int col = 1; col <= LastTypedColumn(); ++col) {
            snapshot.texts.push_back(row[static_cast<std::size_t>(col)]);
        }
    }
    return snapshot;
}

std::optional<EntryChange> MonthEntry::ChangeSince(const EntrySnapshot& before) const {
    EntrySnapshot after = Snapshot();
    if (after == before) {
        return std::nullopt;
    }
    return EntryChange{before, std::move(after)};
}

void MonthEntry::Restore(const EntrySnapshot& snapshot) {
    const std::size_t typed = static_cast<std::size_t>(LastTypedColumn());
    if (snapshot.texts.size() != cells_.size() * typed) {
        throw std::invalid_argument("MonthEntry: a snapshot of another month");
    }
    std::vector<DayCells> cells(cells_.size());
    for (std::size_t i = 0; i < snapshot.texts.size(); ++i) {
        cells[i / typed][i % typed + 1] = snapshot.texts[i];
    }
    SetCells(std::move(cells));
    modified_ = true;
}

void MonthEntry::Clear() {
    SetCells(std::vector<DayCells>(cells_.size()));
}

void MonthEntry::RestoreStored() {
    SetCells(TypedCellsOf(record_, Scheme(), workType_, cells_.size()));
}

void MonthEntry::SetCells(std::vector<DayCells> cells) {
    editing_.reset();
    cells_ = std::move(cells);
    needsCalculation_ = true;
}

MonthInput MonthEntry::Input(const CalcSetSettings& rules) const {
    MonthInput input = opened_.input;
    input.rules = rules;
    input.cells = cells_;
    return input;
}

const MonthResult& MonthEntry::Calculate(const CalcSetSettings& rules) {
    resultInput_ = Input(rules);
    result_ = CalcMonth(resultInput_);
    needsCalculation_ = false;
    return result_;
}

MonthRecord MonthEntry::StoredRecord(const CalcSetSettings& rules) const {
    MonthInput input = Input(rules);
    for (DayCells& row : input.cells) {
        for (int col = 1; col <= LastTypedColumn(); ++col) {
            std::string& text = row[static_cast<std::size_t>(col)];
            if (!IsValidTimeText(text)) {
                text.clear();
            }
        }
    }
    return UpdatedMonthRecord(record_, opened_, CalcMonth(input));
}

void MonthEntry::EmptyInvalidCells() {
    for (const EntryCell cell : InvalidCells()) {
        Row(cell.row)[static_cast<std::size_t>(cell.col)].clear();
        needsCalculation_ = true;
    }
    editing_.reset();
}

const MonthRecord& MonthEntry::Collect(const CalcSetSettings& rules) {
    EmptyInvalidCells();
    Calculate(rules);
    record_ = UpdatedMonthRecord(record_, opened_, result_);
    return record_;
}

}  // namespace pb
