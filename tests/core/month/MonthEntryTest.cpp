// The month being typed, without a window: where Enter goes for each work
// pattern, what counts as a valid cell, undo steps across 消去 and 戻す, and the
// record 記録 stores.

#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <stdexcept>

#include "core/TempFolder.h"
#include "core/month/MonthEntry.h"
#include "core/store/DataFiles.h"
#include "core/timecard/TimecardFixtures.h"
#include "core/timecard/WorkPattern.h"

namespace pb {

void PrintTo(const EntryCell& cell, std::ostream* out) {
    *out << "(" << cell.col << ", " << cell.row << ")";
}

namespace {

const CalcSetSettings kRules = testing::Rules(15);

// March 1999 of a pattern, paid on the 20th: 28 day rows from 21 February.
// `record` is the stored month, if any.
OpenedMonth HandOpened(std::int32_t workType, const MonthRecord* record = nullptr) {
    OpenedMonth month;
    month.id = "001";
    month.year = 1999;
    month.month = 3;
    MonthInput& input = month.input;
    input.payScheme = IsHourlyPattern(workType) ? PayScheme::Hourly : PayScheme::Daily;
    input.daily = testing::DailyWages(workType);
    input.hourly = testing::HourlyWages(workType);
    input.rules = kRules;
    input.period = MakePayPeriod(1999, 3, 20, 0);
    if (record != nullptr) {
        month.stored = true;
        month.record = *record;
    }
    input.cells = TypedCellsOf(month.record, input.payScheme, workType, input.period.size());
    return month;
}

// The Enter-key table the build installs beside the program.
NextCellRecord BuiltTable(std::int32_t workType) {
    return EnterKeyMoves(AssignDataFiles(PUNCHBOOK_BINARY_DIR), workType);
}

TEST(MonthEntry, EnterWalksTheTypedColumnsOfEachPatternAndWraps) {
    struct Case {
        std::int32_t workType;
        std::vector<EntryCell> walk;  // from the opening cell, Enter after Enter
    };
    const Case cases[] = {
        {7, {{1, 1}, {2, 1}, {1, 2}}},
        {0, {{2, 1}, {2, 2}}},  // clock-out only
        {1, {{1, 1}, {1, 2}}},  // clock-in only
        {9, {{1, 1}, {2, 1}, {3, 1}, {4, 1}, {1, 2}}},
        {18, {{1, 1}, {4, 1}, {1, 2}}},  // no break
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.workType);
        const MonthEntry entry(HandOpened(c.workType), BuiltTable(c.workType));
        ASSERT_EQ(entry.DayRows(), 28);
        EXPECT_EQ(entry.FirstCell(), c.walk.front());
        for (std::size_t i = 0; i + 1 < c.walk.size(); ++i)
            EXPECT_EQ(entry.EnterTarget(c.walk[i]), c.walk[i + 1]) << i;
        // The last column of the last day goes on to the first day.
        const EntryCell last{c.walk[c.walk.size() - 2].col, 28};
        EXPECT_EQ(entry.EnterTarget(last), (EntryCell{c.walk.back().col, 1}));
    }
}

TEST(MonthEntry, EnterReadsTheTableByColumnAndTheRowsFill) {
    // Column 1 goes on to column 2 while only the clock-in is filled and to the
    // next row once both are; every other entry stays.
    NextCellRecord byFill;
    byFill.Moves[8] = 2;
    byFill.Moves[12] = 5;
    NextCellRecord breakTable = BuiltTable(9);
    struct Case {
        const char* what;
        std::int32_t workType;
        NextCellRecord table;
        std::vector<std::pair<EntryCell, std::string>> typed;
        EntryCell from;
        EntryCell to;
    };
    const Case cases[] = {
        {"clock-in only", 7, byFill, {{{1, 3}, "08:00"}}, {1, 3}, {2, 3}},
        {"both clocks", 7, byFill, {{{1, 3}, "08:00"}, {{2, 3}, "17:00"}}, {1, 3}, {1, 4}},
        {"clock-out only", 7, byFill, {{{2, 3}, "17:00"}}, {1, 3}, {1, 3}},
        {"a computed column's figure is no fill",
         7,
         byFill,
         {{{1, 3}, "04:10"}, {{2, 3}, "23:40"}},
         {1, 3},
         {1, 4}},
        {"no table", 7, NextCellRecord{}, {{{1, 3}, "08:00"}}, {1, 3}, {1, 3}},
        {"a bad time keeps its column", 7, BuiltTable(7), {{{2, 5}, "25:00"}}, {2, 5}, {2, 6}},
        {"a column the pattern does not type", 18, breakTable, {}, {1, 1}, {1, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MonthEntry entry(HandOpened(c.workType), c.table);
        for (const auto& [cell, text] : c.typed)
            ASSERT_TRUE(entry.Type(cell, text));
        entry.Calculate(kRules);
        EXPECT_EQ(entry.EnterTarget(c.from), c.to);
    }
}

TEST(MonthEntry, ValidityAndTheEditUnderWay) {
    MonthEntry entry(HandOpened(7));
    ASSERT_FALSE(entry.Modified());
    for (const std::string bad : {"25:00", "1 :3 ", "12:60"}) {
        ASSERT_TRUE(entry.Type({1, 2}, bad));
        EXPECT_FALSE(entry.EditValid()) << bad;
        EXPECT_EQ(entry.EditText(), bad);
        EXPECT_EQ(entry.InvalidCells(), std::vector<EntryCell>({{1, 2}}));
    }
    // Escape takes the whole edit back, and the month is as unmodified as before.
    EXPECT_TRUE(entry.CancelEdit());
    EXPECT_EQ(entry.Text({1, 2}), "");
    EXPECT_FALSE(entry.Modified());
    EXPECT_TRUE(entry.EditValid());
    EXPECT_FALSE(entry.CancelEdit());

    // The untouched mask is an empty cell; computed columns and the day labels
    // take no typing.
    ASSERT_TRUE(entry.Type({2, 2}, "  :  "));
    EXPECT_EQ(entry.Text({2, 2}), "");
    EXPECT_TRUE(entry.EditValid());
    EXPECT_FALSE(entry.Type({3, 2}, "01:00"));
    EXPECT_FALSE(entry.Type({0, 2}, "01:00"));
    EXPECT_FALSE(entry.Type({1, 29}, "01:00"));
    EXPECT_EQ(entry.Text({1, 29}), "");
    MonthEntry clockOutOnly(HandOpened(0));
    EXPECT_FALSE(clockOutOnly.Type({1, 2}, "08:00"));
    EXPECT_FALSE(clockOutOnly.Modified());
}

TEST(MonthEntry, UndoStepsAcrossClearAndRestore) {
    MonthRecord stored;
    stored.Cells[0][0] = "08:00";
    stored.Cells[1][0] = "20:00";
    stored.Cells[2][0] = "03:00";  // a figure: never typed
    MonthEntry entry(HandOpened(7, &stored));
    const EntrySnapshot opened = entry.Snapshot();
    ASSERT_EQ(entry.Text({1, 1}), "08:00");
    ASSERT_EQ(entry.Text({3, 1}), "");

    // Keystrokes until the cursor leaves are one step.
    entry.Type({2, 1}, "2");
    entry.Type({2, 1}, "21:00");
    const std::optional<EntryChange> typed = entry.EndEdit();
    ASSERT_TRUE(typed);
    EXPECT_EQ(typed->before, opened);
    EXPECT_FALSE(entry.EndEdit());
    entry.MarkSaved();

    // 消去 and 戻す are steps of their own and leave the modified state alone.
    const EntrySnapshot edited = entry.Snapshot();
    entry.Clear();
    const std::optional<EntryChange> cleared = entry.ChangeSince(edited);
    ASSERT_TRUE(cleared);
    EXPECT_EQ(entry.Text({1, 1}), "");
    EXPECT_FALSE(entry.ChangeSince(entry.Snapshot()));
    entry.RestoreStored();
    const std::optional<EntryChange> restored = entry.ChangeSince(cleared->after);
    ASSERT_TRUE(restored);
    EXPECT_EQ(entry.Snapshot(), opened) << "戻す brings back the month as opened";
    EXPECT_FALSE(entry.Modified());
    EXPECT_TRUE(entry.NeedsCalculation());

    // Undone step by step, then redone; each step counts as an edit.
    const std::vector<std::pair<EntrySnapshot, EntrySnapshot>> steps = {
        {restored->before, cleared->after},
        {cleared->before, edited},
        {typed->before, opened},
    };
    for (const auto& [state, expected] : steps) {
        entry.Restore(state);
        EXPECT_EQ(entry.Snapshot(), expected);
    }
    EXPECT_TRUE(entry.Modified());
    for (const EntryChange* step : {&*typed, &*cleared, &*restored})
        entry.Restore(step->after);
    EXPECT_EQ(entry.Snapshot(), opened);

    // After a save 戻す brings back the month saved.
    entry.Type({2, 1}, "22:00");
    entry.EndEdit();
    entry.Collect(kRules);
    entry.Clear();
    entry.RestoreStored();
    EXPECT_EQ(entry.Text({2, 1}), "22:00");

    EXPECT_THROW(entry.Restore(EntrySnapshot{{"08:00"}}), std::invalid_argument);
}

// The sample folder's employee 001 (daily wage, pattern 7).
class MonthEntrySample : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const auto& file :
             std::filesystem::directory_iterator(std::string(PUNCHBOOK_SAMPLES_DIR) + "/folder"))
            std::filesystem::copy_file(file.path(), folder_ / file.path().filename().string());
        std::filesystem::copy_file(std::string(PUNCHBOOK_BINARY_DIR) + "/NextCell.dat",
                                   folder_ / "NextCell.dat");
    }
    MonthEntry Open(std::int32_t month) const {
        const DataFiles files = AssignDataFiles(folder_.path());
        return MonthEntry(OpenMonth(files, kRules, "001", 1999, month, false), files);
    }
    test::TempFolder folder_;
};

TEST_F(MonthEntrySample, SaveStoresTheCalculationOfTheCellsAsTyped) {
    MonthEntry entry = Open(4);
    ASSERT_FALSE(entry.Opened().stored);
    EXPECT_EQ(entry.EnterTarget({1, 2}), (EntryCell{2, 2})) << "the folder's table of pattern 7";
    entry.Type({1, 2}, "04:10");  // 22 March 1999
    entry.Type({2, 2}, "23:40");
    entry.Type({1, 3}, "1 3");  // left half-typed: emptied on saving
    ASSERT_TRUE(entry.NeedsCalculation());

    const MonthRecord record = entry.StoredRecord(kRules);
    EXPECT_EQ(entry.Text({1, 3}), "1 3") << "asking changes nothing";
    EXPECT_EQ(record.ID, "001");
    EXPECT_EQ(record.Month, 4);
    EXPECT_EQ(record.DayCount, 31);
    const std::vector<std::string> day2 = {"04:10", "23:40", "00:45", "03:00",
                                           "05:00", "01:45", "10:30", ""};
    for (int c = 1; c <= 8; ++c)
        EXPECT_EQ(record.Cells[c - 1][1], day2[c - 1]) << c;
    EXPECT_EQ(record.Cells[0][2], "");
    EXPECT_EQ(record.WorkDays, 1);
    EXPECT_EQ(record.TotalOverMinutes, 630);

    EXPECT_EQ(entry.Collect(kRules), record);
    EXPECT_EQ(entry.Text({1, 3}), "");
    EXPECT_FALSE(entry.NeedsCalculation());
    EXPECT_EQ(entry.Result().totals.TotalOverMinutes, 630);
    EXPECT_TRUE(entry.Modified());
    entry.MarkSaved();
    EXPECT_FALSE(entry.Modified());
}

// 消去 changes the cells, so the next save stores the emptied month, not the
// figures calculated before it.
TEST_F(MonthEntrySample, SaveAfterClearStoresTheEmptiedMonth) {
    MonthEntry entry = Open(3);
    ASSERT_TRUE(entry.Opened().stored);
    ASSERT_GT(entry.Result().totals.WorkDays, 0);
    entry.Clear();
    const MonthRecord record = entry.Collect(kRules);
    EXPECT_EQ(record.WorkDays, 0);
    EXPECT_EQ(record.TotalOverPay, 0);
    for (const auto& column : record.Cells)
        for (const std::string& cell : column)
            ASSERT_EQ(cell, "");
}

}  // namespace
}  // namespace pb
