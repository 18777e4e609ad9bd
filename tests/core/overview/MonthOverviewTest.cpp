#include <gtest/gtest.h>

#include <fstream>

#include "core/TempFolder.h"
#include "core/overview/MonthOverview.h"
#include "core/overview/YearOvertime.h"
#include "core/store/Records.h"
#include "core/timecard/TimecardFixtures.h"

namespace pb {
namespace {

void WriteRecords(const std::string& path, const std::vector<Bytes>& records) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (const Bytes& r : records)
        out.write(reinterpret_cast<const char*>(r.data()), static_cast<std::streamsize>(r.size()));
}

// Pay month 2 of 2000 with closing day 20: 21 January (a Friday) … 20
// February. `out` typed on every day, `in` on the first and 08:00 after it.
MonthRecord TypedMonth(const std::string& id, int month, const std::string& in,
                       const std::string& out) {
    MonthRecord record;
    record.ID = id;
    record.PayScheme = 1;
    record.Month = static_cast<std::uint16_t>(month);
    record.DayCount = 31;
    for (int row = 0; row < 31; ++row) {
        record.Cells[0][row] = row == 0 ? in : "08:00";
        record.Cells[1][row] = out;
    }
    return record;
}

// A folder of four daily-wage employees and one hourly: 001 stored with 56
// hours of overtime, 002 not stored, 003 stored with a day count no form
// writes, 004 stored with a clock-in after the regular start, 005 hourly.
class MonthOverviewTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::vector<Bytes> names, daily, months;
        for (const char* id : {"001", "002", "003", "004"}) {
            names.push_back(ToBytes(NameRecord{id, std::string("社員 ") + id, 0, 1001}));
            DailyWagesRecord wage = testing::DailyWages();
            wage.ID = id;
            daily.push_back(ToBytes(wage));
        }
        names.push_back(ToBytes(NameRecord{"005", "時給 花子", 0, 2001}));
        TimeWagesRecord hourly = testing::HourlyWages(13);
        hourly.ID = "005";
        months.push_back(ToBytes(TypedMonth("001", 2, "08:00", "18:00")));
        MonthRecord damaged = TypedMonth("003", 2, "08:00", "18:00");
        damaged.DayCount = 40;
        months.push_back(ToBytes(damaged));
        months.push_back(ToBytes(TypedMonth("004", 2, "09:00", "17:00")));
        MonthRecord hourlyMonth;
        hourlyMonth.ID = "005";
        hourlyMonth.PayScheme = 2;
        hourlyMonth.Month = 2;
        hourlyMonth.DayCount = 31;
        months.push_back(ToBytes(hourlyMonth));
        WriteRecords(folder_ / "Name.dat", names);
        WriteRecords(folder_ / "DailyWages.dat", daily);
        WriteRecords(folder_ / "TimeWages.dat", {ToBytes(hourly)});
        WriteRecords(folder_ / "2000_fv2.pbk", months);
        files_ = AssignDataFiles(folder_.path());
    }

    test::TempFolder folder_;
    DataFiles files_;
};

// Every employee of the scheme has a row; a damaged month is listed with the
// reason instead of ending the table; the notes stand beside the figures.
TEST_F(MonthOverviewTest, EveryEmployeeOneRowWithStateFiguresAndNotes) {
    const MonthOverview overview =
        CollectMonthOverview(files_, testing::Rules(1), PayScheme::Daily, 2000, 2);
    ASSERT_EQ(overview.rows.size(), 4u);
    EXPECT_EQ(StoredCountText(overview), "3 / 4 記録済み");
    EXPECT_EQ(overview.rows[1].state, OverviewState::NotStored);
    EXPECT_EQ(overview.rows[2].state, OverviewState::Refused);
    EXPECT_NE(overview.rows[2].refusal.find("2000_fv2.pbk"), std::string::npos);
    EXPECT_NE(overview.rows[2].refusal.find("003（社員 003）"), std::string::npos)
        << overview.rows[2].refusal;

    // 1 hour a weekday, 6 on the five half-day Saturdays, 1 on the five
    // Sundays (weekly holidays, at 1,100 yen).
    const std::string csv = OverviewCsv(overview);
    EXPECT_EQ(csv.substr(0, csv.find("\r\n")),
              "従業員番号,氏名,状態,勤務日数,休日勤務,早朝残業,早出残業,普通残業,深夜残業,"
              "総残業時間,総残業賃金,注意");
    EXPECT_NE(csv.find("\r\n001,社員 001,記録済み,31,5,00:00,00:00,56:00,00:00,56:00,56500,"
                       "月45時間超\r\n"),
              std::string::npos)
        << csv;
    EXPECT_NE(csv.find("\r\n002,社員 002,未記録,,,,,,,,,\r\n"), std::string::npos) << csv;
    // The clock-in 09:00 counts from the evening before: 23 hours of early
    // start, with the Saturdays' 25 over 45 hours.
    EXPECT_EQ(overview.rows[3].lateClockIns, 1);
    EXPECT_EQ(OverviewNotes(overview.rows[3]),
              (std::vector<std::string>{"月45時間超", "前日扱いの出社 1日"}));

    const MonthOverview hourly =
        CollectMonthOverview(files_, testing::Rules(1), PayScheme::Hourly, 2000, 2);
    ASSERT_EQ(hourly.rows.size(), 1u);
    EXPECT_EQ(StoredCountText(hourly), "1 / 1 記録済み");
    EXPECT_EQ(OverviewCaptions(PayScheme::Hourly)[4], "区分１");
}

// A refused month of the year does not hide the others.
TEST_F(MonthOverviewTest, YearListsEveryPayMonthAndRefusesOnlyTheDamagedOne) {
    WriteRecords(folder_ / "2000_fv2.pbk",
                 {ToBytes(TypedMonth("001", 2, "08:00", "18:00")), ToBytes([] {
                      MonthRecord r = TypedMonth("001", 3, "08:00", "18:00");
                      r.DayCount = 40;
                      return r;
                  }()),
                  ToBytes(TypedMonth("001", 4, "08:00", "18:00"))});
    const EmployeeYear year = CollectEmployeeYearMonths(files_, testing::Rules(1), "001", 2000);
    ASSERT_EQ(year.months.size(), 12u);
    EXPECT_EQ(year.months[0].state, OverviewState::NotStored);
    EXPECT_EQ(year.months[1].state, OverviewState::Stored);
    EXPECT_EQ(year.months[2].state, OverviewState::Refused);
    EXPECT_EQ(year.months[3].state, OverviewState::Stored);
    EXPECT_EQ(YearTotalRow(year).totals.TotalOverMinutes, (56 + 51) * 60);
    const std::string csv = YearCsv(year);
    EXPECT_NE(csv.find("\r\n合計,,62,9,00:00,00:00,107:00,00:00,107:00,107900,\r\n"),
              std::string::npos)
        << csv;
    EXPECT_NE(csv.find("月45時間超: 2か月（2月・4月）\r\n"), std::string::npos) << csv;
}

TEST(YearHints, TheLimitsOfTheOvertimeAgreementRules) {
    constexpr std::int32_t h = 60;
    struct Case {
        const char* what;
        std::array<std::int32_t, 12> overtime;
        std::size_t over45;
        bool tooMany, over360, over720;
        std::size_t over100, runs;
    };
    const Case cases[] = {
        {"exactly at every limit is not over it",
         {45 * h, 45 * h, 45 * h, 45 * h, 45 * h, 45 * h, 45 * h, 45 * h, 0, 0, 0, 0},
         0,
         false,
         false,
         false,
         0,
         0},
        {"seven months over 45 hours are one too many",
         {46 * h, 46 * h, 46 * h, 46 * h, 46 * h, 46 * h, 46 * h, 0, 0, 0, 0, 0},
         7,
         true,
         false,
         false,
         0,
         0},
        {"six months over 45 hours are allowed; the year over 360",
         {61 * h, 61 * h, 61 * h, 61 * h, 61 * h, 61 * h, 0, 0, 0, 0, 0, 0},
         6,
         false,
         true,
         false,
         0,
         0},
        {"a year of 720 hours and a minute",
         {60 * h, 60 * h, 60 * h, 60 * h, 60 * h, 60 * h, 60 * h, 60 * h, 60 * h, 60 * h, 60 * h,
          60 * h + 1},
         12,
         true,
         true,
         true,
         0,
         0},
        {"100 hours is no more than 100; 80 a month on average is no more than 80",
         {100 * h, 60 * h, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
         2,
         false,
         false,
         false,
         0,
         0},
        {"a minute over 100; averages over 80 of months 1-2 and 1-3",
         {100 * h + 1, 61 * h, 80 * h, 0, 0, 0, 0, 0, 0, 0, 0, 0},
         3,
         false,
         false,
         false,
         1,
         2},
        {"every run of two to six months, none longer",
         {0, 81 * h, 81 * h - 1, 81 * h - 1, 81 * h - 1, 81 * h - 1, 81 * h - 1, 0, 0, 0, 0, 0},
         6,
         false,
         true,
         false,
         0,
         15},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const YearHints hints = MakeYearHints(c.overtime);
        EXPECT_EQ(hints.monthsOver45.size(), c.over45);
        EXPECT_EQ(hints.tooManyOver45, c.tooMany);
        EXPECT_EQ(hints.over360, c.over360);
        EXPECT_EQ(hints.over720, c.over720);
        EXPECT_EQ(hints.monthsOver100.size(), c.over100);
        EXPECT_EQ(hints.averagesOver80.size(), c.runs);
        for (const AverageRun& run : hints.averagesOver80) {
            EXPECT_GE(run.months, 2);
            EXPECT_LE(run.months, 6);
        }
    }
}

}  // namespace
}  // namespace pb
