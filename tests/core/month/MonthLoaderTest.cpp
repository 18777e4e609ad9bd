#include <gtest/gtest.h>

#include "core/TempFolder.h"
#include "core/month/MonthLoader.h"
#include "core/store/EmployeeFiles.h"
#include "core/store/ScriptedOperator.h"
#include "core/store/WorkDataFiles.h"
#include "core/timecard/TimecardFixtures.h"

namespace pb {
namespace {

MonthRecord FilledMonth() {
    MonthRecord month;
    for (int column = 1; column <= 8; ++column) {
        for (int row = 1; row <= 31; ++row) {
            month.Cells[column - 1][row - 1] = MinutesToText(column * 60 + row);
        }
    }
    return month;
}

TEST(MonthLoader, OnlyTheTypedColumnsOfThePatternAreLoaded) {
    struct Case {
        std::int32_t payScheme;
        std::int32_t workType;
        std::string pattern;  // which of columns 1 … 8 come back
    };
    const Case cases[] = {
        {1, 0, "01000000"}, {1, 3, "01000000"}, {1, 1, "10000000"},  {1, 4, "10000000"},
        {1, 7, "11000000"}, {2, 8, "11110000"}, {2, 19, "11110000"},
    };
    const MonthRecord month = FilledMonth();
    for (const Case& c : cases) {
        const std::vector<DayCells> cells = TypedCellsOf(month, c.payScheme, c.workType, 28);
        ASSERT_EQ(cells.size(), 28u);
        std::string loaded;
        for (int column = 1; column <= 8; ++column) {
            loaded += cells[27][column].empty() ? '0' : '1';
        }
        EXPECT_EQ(loaded, c.pattern) << c.workType;
        EXPECT_EQ(cells[0][0], "");
    }
    EXPECT_EQ(TypedCellsOf(month, 1, 7, 31)[30][2], "02:31");
}

TEST(MonthLoader, ANewMonthOpensEmptyWithTheWagesInForce) {
    const test::TempFolder folder;
    const DataFiles files = AssignDataFiles(folder.path());
    WriteNameRecord(files, NameRecord{"002", "ｴﾗｰ 花子", 0, 2001});
    WriteTimeRecord(files, testing::HourlyWages(19), -1);
    CalcSetSettings rules = testing::Rules(15);
    rules.EndOfMonthPayment = 1;

    const OpenedMonth fresh = OpenMonth(files, rules, "002", 2000, 2, false);
    ASSERT_EQ(fresh.status, OpenMonthStatus::Opened);
    EXPECT_FALSE(fresh.stored);
    EXPECT_EQ(fresh.name, "ｴﾗｰ 花子");
    EXPECT_EQ(fresh.input.payScheme, 2);
    EXPECT_EQ(fresh.input.hourly.WorkType, 19);
    ASSERT_EQ(fresh.input.period.size(), 29u);  // February 2000, paid the same month
    EXPECT_EQ(fresh.input.cells.size(), 29u);
    EXPECT_EQ(CalcMonth(fresh.input).totals.WorkDays, 0);

    EXPECT_EQ(OpenMonth(files, rules, "002", 2000, 2, true).status,
              OpenMonthStatus::MonthNotStored);
    EXPECT_EQ(OpenMonth(files, rules, "003", 2000, 2, false).status,
              OpenMonthStatus::EmployeeNotFound);

    MonthRecord stored;
    stored.ID = "002";
    stored.PayScheme = 2;
    stored.WagesGeneration = 4;
    stored.Month = 2;
    ScriptedOperator op;
    ASSERT_TRUE(WriteMonthRecord(files, 2000, stored, op));
    const OpenedMonth pinned = OpenMonth(files, rules, "002", 2000, 2, false);
    EXPECT_EQ(pinned.status, OpenMonthStatus::WagesNotFound);
    EXPECT_EQ(pinned.wagesGeneration, 4);
}

}  // namespace
}  // namespace pb
