#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>

#include "core/TempFolder.h"
#include "core/month/MonthLoader.h"
#include "core/store/EmployeeFiles.h"
#include "core/store/ScriptedOperator.h"
#include "core/store/WorkDataFiles.h"
#include "core/timecard/TimecardFixtures.h"
#include "support/FaultyFileSystem.h"

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
        PayScheme payScheme;
        std::int32_t workType;
        std::string pattern;  // which of columns 1 … 8 come back
    };
    constexpr PayScheme kDaily = PayScheme::Daily;
    constexpr PayScheme kHourly = PayScheme::Hourly;
    const Case cases[] = {
        {kDaily, 0, "01000000"},   {kDaily, 3, "01000000"}, {kDaily, 1, "10000000"},
        {kDaily, 4, "10000000"},   {kDaily, 7, "11000000"}, {kHourly, 8, "11110000"},
        {kHourly, 19, "11110000"},
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
    EXPECT_EQ(TypedCellsOf(month, PayScheme::Daily, 7, 31)[30][2], "02:31");
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
    EXPECT_EQ(fresh.input.payScheme, PayScheme::Hourly);
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

// Figures no form writes are refused, naming the file, the employee and the
// value, instead of being paid: a band boundary of 2^31-1 overflowed the minute
// count, a rate of 2^31-1 gave a total that lost its sign, a time that is no
// number was paid as 00:00 and a pattern of the other scheme paid nothing.
TEST(MonthLoader, AMonthPaidByFiguresNoFormWritesIsRefused) {
    constexpr std::int32_t kMost = std::numeric_limits<std::int32_t>::max();
    constexpr std::int32_t kLeast = std::numeric_limits<std::int32_t>::min();
    using Damage = std::function<void(DailyWagesRecord&, TimeWagesRecord&, MonthRecord&)>;
    struct Case {
        const char* what;
        Damage damage;
        const char* id;     // "001" daily wage, "002" hourly wage
        const char* file;   // the file named
        const char* field;  // as the message names it; "" when the month opens
    };
    const Case cases[] = {
        {"boundary 2^31-1", [](auto&, auto& t, auto&) { t.ChargeDivideTime1 = kMost; }, "002",
         "TimeWages.dat", "区分時間 2147483647"},
        {"boundary -2^31", [](auto&, auto& t, auto&) { t.ChargeDivideTime3 = kLeast; }, "002",
         "TimeWages.dat", "区分時間 -2147483648"},
        {"boundary 24:00, rates at the forms' limit",
         [](auto& d, auto& t, auto&) {
             t.ChargeDivideTime3 = 288;
             t.Band1Pays.fill(32000);
             d.WeekdayOverPay = 32000;
         },
         "002", "", ""},
        {"daily pattern, hourly record", [](auto&, auto& t, auto&) { t.WorkType = 7; }, "002",
         "TimeWages.dat", "勤務体系 7"},
        {"hourly pattern, daily record", [](auto& d, auto&, auto&) { d.WorkType = 8; }, "001",
         "DailyWages.dat", "勤務体系 8"},
        {"rate 2^31-1", [](auto&, auto& t, auto&) { t.Band2Pays[3] = kMost; }, "002",
         "TimeWages.dat", "時給 2147483647"},
        {"rate above the forms' limit", [](auto& d, auto&, auto&) { d.HolidayNightPay = 32001; },
         "001", "DailyWages.dat", "時給 32001"},
        {"start that is no number",
         [](auto& d, auto&, auto&) {
             d.TimeToStartWork = std::numeric_limits<double>::quiet_NaN();
         },
         "001", "DailyWages.dat", "時刻の値"},
        {"infinite half-day finish",
         [](auto& d, auto&, auto&) {
             d.TimeToFinishWorkHH = -std::numeric_limits<double>::infinity();
         },
         "001", "DailyWages.dat", "時刻の値"},
        {"no half day, rates at the forms' limit",
         [](auto& d, auto&, auto&) {
             d.TimeToFinishWorkHH = -1.0;
             d.WeekdayNightPay = 32000;
         },
         "001", "", ""},
        {"weekday 9", [](auto& d, auto&, auto&) { d.Holiday2 = 9; }, "001", "DailyWages.dat",
         "曜日 9"},
        {"month of pay scheme 7", [](auto&, auto&, auto& m) { m.PayScheme = 7; }, "001",
         "2000_fv2.pbk", "給与体系 7"},
        {"month of 41 days", [](auto&, auto&, auto& m) { m.DayCount = 41; }, "002", "2000_fv2.pbk",
         "日数 41"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const test::TempFolder folder;
        const DataFiles files = AssignDataFiles(folder.path());
        DailyWagesRecord daily = testing::DailyWages();
        TimeWagesRecord hourly = testing::HourlyWages(19);
        MonthRecord month;
        month.ID = c.id;
        month.PayScheme = month.ID == "001" ? 1 : 2;
        month.Month = 2;
        month.DayCount = 29;
        for (int row = 0; row < 29; ++row) {
            month.Cells[0][row] = "00:05";
            month.Cells[month.PayScheme == 1 ? 1 : 3][row] = "23:55";
        }
        c.damage(daily, hourly, month);
        WriteNameRecord(files, NameRecord{"001", "日給 一郎", 0, 1001});
        WriteNameRecord(files, NameRecord{"002", "時給 花子", 0, 2001});
        WriteDailyRecord(files, daily, -1);
        WriteTimeRecord(files, hourly, -1);
        ScriptedOperator op;
        ASSERT_TRUE(WriteMonthRecord(files, 2000, month, op));

        if (*c.field == '\0') {
            const OpenedMonth opened = OpenMonth(files, testing::Rules(1), c.id, 2000, 2, true);
            ASSERT_EQ(opened.status, OpenMonthStatus::Opened);
            EXPECT_GT(CalcMonth(opened.input).totals.TotalOverPay, 0);
            continue;
        }
        std::string alone;
        try {
            OpenMonth(files, testing::Rules(1), c.id, 2000, 2, true);
            ADD_FAILURE() << "opened";
        } catch (const FileError& e) {
            alone = e.what();
            const std::string text = e.what();
            EXPECT_EQ(e.path(), folder / c.file);
            EXPECT_NE(text.find(folder / c.file + " は壊れています。"), std::string::npos) << text;
            EXPECT_NE(text.find(std::string(c.id) + "（" +
                                (month.ID == "001" ? "日給 一郎" : "時給 花子")),
                      std::string::npos)
                << text;
            EXPECT_NE(text.find(c.field), std::string::npos) << text;
        }
        // Every employee's month at once refuses with the same words.
        try {
            OpenSchemeMonths(files, testing::Rules(1), kBothSchemes, 2000, 2, true,
                             [](const OpenedMonth&) {});
            ADD_FAILURE() << "opened every month";
        } catch (const FileError& e) {
            EXPECT_EQ(e.what(), alone);
        }
    }
}

void WriteRecords(const std::string& path, const std::vector<Bytes>& records) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (const Bytes& r : records)
        out.write(reinterpret_cast<const char*>(r.data()), static_cast<std::streamsize>(r.size()));
}

// The month of every employee opens as each opens alone, and the files are
// read once: a look-up per employee in "Name.dat" and the wage file read them
// whole once per employee, 145 MB for a table of 999 rows.
TEST(MonthLoader, EveryEmployeesMonthOpensAsAloneReadingEachFileOnce) {
    const test::TempFolder folder;
    std::vector<Bytes> names, daily, hourly, months;
    for (int e = 1; e <= 40; ++e) {
        const std::string id = PadNumber(e, 3);
        names.push_back(ToBytes(NameRecord{id, "社員 " + id, 0, 1001}));
        DailyWagesRecord wage = testing::DailyWages();
        wage.ID = id;
        daily.push_back(ToBytes(wage));
        for (int m = 1; m <= 2; ++m) {
            MonthRecord month;
            month.ID = id;
            month.PayScheme = 1;
            month.Month = static_cast<std::uint16_t>(m);
            month.DayCount = 31;
            month.WorkDays = e;
            month.Cells[0][0] = "08:00";
            month.Cells[1][0] = "19:30";
            month.WagesGeneration = e == 5 ? 3 : 0;  // a generation the file lacks
            if (m == 1 || e <= 30)
                months.push_back(ToBytes(month));
        }
    }
    names.push_back(ToBytes(NameRecord{"041", "時給 花子", 0, 2001}));
    names.push_back(ToBytes(NameRecord{"042", "給与だけ", 1, 0}));
    TimeWagesRecord time = testing::HourlyWages(19);
    time.ID = "041";
    hourly.push_back(ToBytes(time));
    MonthRecord timeMonth;
    timeMonth.ID = "041";
    timeMonth.PayScheme = 2;
    timeMonth.Month = 2;
    timeMonth.DayCount = 29;
    timeMonth.Cells[0][3] = "09:00";
    months.push_back(ToBytes(timeMonth));
    WriteRecords(folder / "Name.dat", names);
    WriteRecords(folder / "DailyWages.dat", daily);
    WriteRecords(folder / "TimeWages.dat", hourly);
    WriteRecords(folder / "2000_fv2.pbk", months);

    const CalcSetSettings rules = testing::Rules(1);
    const DataFiles alone = AssignDataFiles(folder.path());
    std::uint64_t fileBytes = 0;
    for (const char* name : {"Name.dat", "DailyWages.dat", "TimeWages.dat", "2000_fv2.pbk"})
        fileBytes += std::filesystem::file_size(folder / name);
    const struct {
        SchemeFilter scheme;
        bool mustBeStored;
        std::size_t opened, ids;
    } cases[] = {{kBothSchemes, true, 30, 41},
                 {PayScheme::Daily, false, 39, 40},
                 {PayScheme::Hourly, true, 1, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        FaultyFileSystem fs;
        const DataFiles files = AssignDataFiles(folder.path(), fs);
        std::vector<std::string> ids;
        std::size_t opened = 0, records = 0;
        OpenSchemeMonths(
            files, rules, c.scheme, 2000, 2, c.mustBeStored, [&](const OpenedMonth& month) {
                ids.push_back(month.id);
                opened += month.status == OpenMonthStatus::Opened ? 1 : 0;
                records += month.stored ? 1 : 0;
                const OpenedMonth one = OpenMonth(alone, rules, month.id, 2000, 2, c.mustBeStored);
                EXPECT_EQ(month.status, one.status) << month.id;
                EXPECT_EQ(month.name, one.name) << month.id;
                EXPECT_EQ(month.stored, one.stored) << month.id;
                EXPECT_EQ(month.record, one.record) << month.id;
                EXPECT_EQ(month.wagesGeneration, one.wagesGeneration) << month.id;
                EXPECT_EQ(month.input.payScheme, one.input.payScheme) << month.id;
                EXPECT_EQ(month.input.daily, one.input.daily) << month.id;
                EXPECT_EQ(month.input.hourly, one.input.hourly) << month.id;
                EXPECT_EQ(month.input.period, one.input.period) << month.id;
                EXPECT_EQ(month.input.cells, one.input.cells) << month.id;
            });
        EXPECT_EQ(ids.size(), c.ids);
        EXPECT_TRUE(std::is_sorted(ids.begin(), ids.end()));
        EXPECT_EQ(opened, c.opened);
        // Each file once (the year's through its index), then each month's record.
        EXPECT_LE(fs.BytesRead(), fileBytes + records * kMonthRecordSize);
    }
}

}  // namespace
}  // namespace pb
