#include <gtest/gtest.h>

#include "TimecardFixtures.h"
#include "core/timecard/SummaryGrid.h"

namespace pb {
namespace {

using testing::DailyWages;
using testing::DayOn;
using testing::HourlyWages;
using testing::Rules;
using testing::Typed;

std::vector<std::string> Column(const std::vector<DayCells>& rows, int column) {
    std::vector<std::string> texts;
    for (const DayCells& row : rows) {
        texts.push_back(row[column]);
    }
    return texts;
}

TEST(SummaryGrid, DailyRowsWithAndWithoutWeeklyHolidays) {
    MonthInput input;
    input.payScheme = PayScheme::Daily;
    input.daily = DailyWages(7);
    input.rules = Rules(15);
    input.period = {DayOn(1), DayOn(2), DayOn(7)};
    input.cells = {Typed({"04:10", "23:40"}), Typed({"04:10", "23:40"}), Typed({"08:00", "13:10"})};
    const MonthResult result = CalcMonth(input);

    const std::vector<DayCells> split = SummaryRows(input, result, 2);
    EXPECT_EQ(Column(split, 0),
              (std::vector<std::string>{"時間区分", "平日時給", "休日時給", "平日残業", "休日残業",
                                        "平日賃金", "休日賃金"}));
    EXPECT_EQ(Column(split, 5), (std::vector<std::string>{"17:00", "¥1,000", "¥1,100", "06:15",
                                                          "05:00", "¥6,250", "¥5,500"}));
    EXPECT_EQ(Column(split, 7),
              (std::vector<std::string>{"", "", "", "11:45", "10:30", "¥12,000", "¥11,800"}));
    // On the half holiday the ordinary overtime starts at the half-day finish.
    EXPECT_EQ(SummaryRows(input, result, 7)[0][5], "12:00");

    input.daily.Holiday = 0;
    input.daily.WorkType = 2;  // no early morning, no late night
    const std::vector<DayCells> plain = SummaryRows(input, CalcMonth(input), 2);
    EXPECT_EQ(Column(plain, 0),
              (std::vector<std::string>{"時間区分", "時    給", "残    業", "賃    金"}));
    EXPECT_EQ(plain[0][3], "");  // unused columns carry no band time
    EXPECT_EQ(plain[0][4], "08:00");
    EXPECT_EQ(plain[0][6], "");
}

TEST(SummaryGrid, HourlyRowsShowBandEndsRatesAndMonthFigures) {
    MonthInput input;
    input.payScheme = PayScheme::Hourly;
    input.hourly = HourlyWages(19);
    input.rules = Rules(1);
    input.period = {DayOn(2)};
    input.cells = {Typed({"07:00", "12:00", "13:00", "21:00"})};
    const MonthResult result = CalcMonth(input);
    const std::vector<DayCells> monday = SummaryRows(input, result, 2);
    EXPECT_EQ(Column(monday, 0),
              (std::vector<std::string>{"時間区分", "時給金額", "勤務時間", "賃　　金"}));
    EXPECT_EQ(monday[0][5], "08:00");
    EXPECT_EQ(monday[0][7], "20:20");
    EXPECT_EQ(monday[1][1], "¥900");
    EXPECT_EQ(monday[1][5], "¥1,000");
    EXPECT_EQ(monday[2][8], "13:00");
    EXPECT_EQ(monday[3][8], "¥12,960");  // 1,000 an hour pays 16 yen a minute
    // Patterns with weekday rates show the current row's weekday.
    EXPECT_EQ(SummaryRows(input, result, 7)[1][6], "¥1,500");

    input.hourly.WorkType = 8;
    input.hourly.TimePay = 0;
    const std::vector<DayCells> oneBand = SummaryRows(input, CalcMonth(input), 2);
    EXPECT_EQ(oneBand[0][5], "");
    EXPECT_EQ(oneBand[1][1], "");  // a TimePay of 0 is not shown
}

}  // namespace
}  // namespace pb
