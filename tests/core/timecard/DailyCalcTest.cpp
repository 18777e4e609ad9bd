#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TimecardFixtures.h"
#include "core/timecard/MonthCalc.h"

namespace pb {
namespace {

using testing::DailyWages;
using testing::DayOn;
using testing::Rules;
using testing::Typed;

// Columns 3 … 7 of the only day row.
std::vector<std::string> ClassCells(const MonthResult& result, std::size_t row = 0) {
    const DayCells& cells = result.days.at(row).cells;
    return {cells[3], cells[4], cells[5], cells[6], cells[7]};
}

MonthResult OneDay(const DailyWagesRecord& wages, const CalcSetSettings& rules,
                   std::int32_t weekday, const std::string& in, const std::string& out) {
    return CalcDailyMonth(wages, rules, {DayOn(weekday)}, {Typed({in, out})});
}

TEST(DailyCalc, WorkedExamplesOfOneDay) {
    struct Case {
        std::int32_t workType;
        std::int32_t weekday;
        const char* in;
        const char* out;
        std::vector<std::string> classes;  // 早朝, 早出, 普通, 深夜, 合計
    };
    const Case cases[] = {
        {7, 2, "04:10", "23:40", {"00:45", "03:00", "05:00", "01:45", "10:30"}},
        // The total is rounded from the unrounded classes: 620 → 10:15.
        {7, 2, "04:20", "23:40", {"00:45", "03:00", "05:00", "01:45", "10:15"}},
        // A clock-out before the regular start is after midnight: 25:30.
        {7, 2, "08:00", "01:30", {"00:00", "00:00", "05:00", "03:30", "08:30"}},
        // Leaving before the regular finish: no overtime, nothing deducted.
        {7, 2, "08:00", "16:00", {"00:00", "00:00", "00:00", "00:00", "00:00"}},
        // The half holiday (Saturday) ends at 12:00: 70 minutes → 01:15.
        {7, 7, "08:00", "13:10", {"00:00", "00:00", "01:15", "00:00", "01:15"}},
        // A clock-in later than the regular start is the evening before.
        {1, 2, "09:00", "", {"", "23:00", "", "", "23:00"}},
        {7, 4, "09:00", "17:00", {"20:00", "03:00", "00:00", "00:00", "23:00"}},
        // Regular start and finish exactly: nothing.
        {7, 2, "08:00", "17:00", {"00:00", "00:00", "00:00", "00:00", "00:00"}},
        // Without late night, the late evening is ordinary overtime.
        {2, 2, "07:00", "23:00", {"", "01:00", "06:00", "", "07:00"}},
        // Without early morning, all of the early time is early start.
        {5, 2, "04:00", "18:00", {"", "04:00", "01:00", "00:00", "05:00"}},
        {6, 2, "04:00", "23:00", {"01:00", "03:00", "06:00", "", "10:00"}},
        {4, 2, "04:00", "", {"01:00", "03:00", "", "", "04:00"}},
        {0, 2, "", "19:30", {"", "", "02:30", "", "02:30"}},
        {3, 2, "", "23:30", {"", "", "05:00", "01:30", "06:30"}},
    };
    for (const Case& c : cases) {
        const MonthResult result =
            OneDay(DailyWages(c.workType), Rules(15), c.weekday, c.in, c.out);
        EXPECT_EQ(ClassCells(result), c.classes)
            << "WT " << c.workType << " " << c.in << "-" << c.out;
        EXPECT_EQ(result.totals.WorkDays, 1);
    }
}

TEST(DailyCalc, BoundariesAroundTheBandTimes) {
    // Unit 1 so every minute shows. S 08:00, F 17:00, N 22:00, M 05:00, H 12:00,
    // unless a case moves the early-morning end or the late-night start.
    struct Case {
        std::int32_t weekday;
        const char* in;
        const char* out;
        std::vector<std::string> classes;
        const char* morningEnd = nullptr;
        const char* nightStart = nullptr;
    };
    const Case cases[] = {
        {2, "07:59", "17:01", {"00:00", "00:01", "00:01", "00:00", "00:02"}},
        {2, "08:01", "16:59", {"20:59", "03:00", "00:00", "00:00", "23:59"}},
        {2, "04:59", "22:01", {"00:01", "03:00", "05:00", "00:01", "08:02"}},
        {2, "05:00", "22:00", {"00:00", "03:00", "05:00", "00:00", "08:00"}},
        {2, "05:01", "21:59", {"00:00", "02:59", "04:59", "00:00", "07:58"}},
        // Clock-out at the regular start is taken as the next morning.
        {2, "08:00", "08:00", {"00:00", "00:00", "05:00", "10:00", "15:00"}},
        {2, "08:00", "08:01", {"00:00", "00:00", "00:00", "00:00", "00:00"}},
        {2, "08:00", "00:00", {"00:00", "00:00", "05:00", "02:00", "07:00"}},
        {7, "08:00", "11:59", {"00:00", "00:00", "00:00", "00:00", "00:00"}},
        {7, "08:00", "12:01", {"00:00", "00:00", "00:01", "00:00", "00:01"}},
        // Early morning ending at the regular start (M = S) stays that morning:
        // the early time is all early morning, none of it early start.
        {2, "04:00", "17:00", {"04:00", "00:00", "00:00", "00:00", "04:00"}, "08:00"},
        // Late night starting at the regular finish (N = E) starts that evening.
        {2, "08:00", "19:00", {"00:00", "00:00", "00:00", "02:00", "02:00"}, nullptr, "17:00"},
    };
    for (const Case& c : cases) {
        DailyWagesRecord wages = DailyWages(7);
        if (c.morningEnd != nullptr)
            wages.TimeToFinishMorning = TextToTime(c.morningEnd);
        if (c.nightStart != nullptr)
            wages.TimeToStartNight = TextToTime(c.nightStart);
        const MonthResult result = OneDay(wages, Rules(1), c.weekday, c.in, c.out);
        EXPECT_EQ(ClassCells(result), c.classes) << c.weekday << " " << c.in << "-" << c.out;
    }
}

TEST(DailyCalc, TheWorkedMonthOfOneDayPricesEachClass) {
    const MonthResult result = OneDay(DailyWages(7), Rules(15), 2, "04:10", "23:40");
    ASSERT_EQ(result.classes.size(), 4u);
    const std::int32_t yen[4] = {825, 3000, 5000, 1925};
    const std::int32_t minutes[4] = {45, 180, 300, 105};
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(result.classes[k].column, 3 + k);
        EXPECT_TRUE(result.classes[k].used);
        EXPECT_EQ(result.classes[k].weekdayMinutes, minutes[k]);
        EXPECT_EQ(result.classes[k].weekdayYen, yen[k]);
        EXPECT_EQ(result.classes[k].holidayMinutes, 0);
    }
    EXPECT_EQ(result.totals.TotalOverMinutes, 630);
    EXPECT_EQ(result.totals.TotalOverPay, 10750);
    EXPECT_EQ(result.totalsTexts.totalMinutes, "10:30");
    EXPECT_EQ(result.totalsTexts.totalYen, "¥10,750");
    EXPECT_EQ(result.totalsTexts.workDays, "01");
    EXPECT_EQ(result.totalsTexts.holidayWorkDays, "00");
}

TEST(DailyCalc, HolidaysAreSummedApartAtTheHolidayRates) {
    // Each of the three weekly-holiday fields alone makes its weekday a holiday.
    for (std::int32_t DailyWagesRecord::*field :
         {&DailyWagesRecord::Holiday1, &DailyWagesRecord::Holiday2, &DailyWagesRecord::Holiday3}) {
        DailyWagesRecord alone = DailyWages(7);
        alone.Holiday1 = alone.Holiday2 = alone.Holiday3 = -1;
        alone.*field = 4;
        const MonthResult wednesday = OneDay(alone, Rules(15), 4, "04:10", "23:40");
        EXPECT_TRUE(wednesday.days[0].holiday);
        EXPECT_EQ(wednesday.totals.HolidayWorkDays, 1);
        EXPECT_EQ(wednesday.classes[1].holidayYen, 3300);  // 早出 180 minutes at 1,100
        EXPECT_EQ(wednesday.classes[1].weekdayMinutes, 0);
        EXPECT_FALSE(OneDay(alone, Rules(15), 5, "04:10", "23:40").days[0].holiday);
    }

    DailyWagesRecord wages = DailyWages(7);
    wages.Holiday2 = 4;  // Wednesday as well
    const std::vector<PayDay> period{DayOn(1), DayOn(2), DayOn(4), DayOn(7)};
    const std::vector<DayCells> cells{Typed({"04:10", "23:40"}), Typed({"04:10", "23:40"}),
                                      Typed({"07:00", "18:00"}), Typed({"07:00", "13:00"})};
    const MonthResult result = CalcDailyMonth(wages, Rules(15), period, cells);
    EXPECT_TRUE(result.days[0].holiday);
    EXPECT_FALSE(result.days[1].holiday);
    EXPECT_TRUE(result.days[2].holiday);
    EXPECT_TRUE(result.days[3].halfHoliday);
    EXPECT_EQ(result.totals.WorkDays, 4);
    EXPECT_EQ(result.totals.HolidayWorkDays, 2);
    // 早出: weekday 180 + 60 (Saturday), holiday 180 + 60 (Wednesday).
    EXPECT_EQ(result.classes[1].weekdayMinutes, 240);
    EXPECT_EQ(result.classes[1].holidayMinutes, 240);
    EXPECT_EQ(result.classes[1].holidayYen, 4400);
    // 普通: weekday 300 + 60, holiday 300 + 60.
    EXPECT_EQ(result.classes[2].weekdayMinutes, 360);
    EXPECT_EQ(result.classes[2].holidayYen, 6600);
    EXPECT_EQ(result.totals.HolidayMinutes, 45 + 240 + 360 + 105);
    EXPECT_EQ(result.totals.HolidayPay, 900 + 4400 + 6600 + 2100);
    EXPECT_EQ(result.totals.TotalOverMinutes, 2 * 750);
}

TEST(DailyCalc, RoundingModeAndUnitOfEachDay) {
    // 04:20 – 23:40: 早朝 40, 合計 620 unrounded.
    struct Case {
        std::int32_t unit;
        std::int32_t mode;
        const char* earlyMorning;
        const char* total;
    };
    const Case cases[] = {
        {15, 0, "00:45", "10:15"},
        {15, 1, "00:45", "10:30"},
        {15, 2, "00:30", "10:15"},
        {1, 0, "00:40", "10:20"},
        {5, 1, "00:40", "10:20"},
        {10, 2, "00:40", "10:20"},
        {20, 0, "00:40", "10:20"},
        {30, 0, "00:30", "10:30"},
        {30, 1, "01:00", "10:30"},
        {30, 2, "00:30", "10:00"},
        {15, 9, "00:40", "10:20"},
        // A hand-edited unit of 0 neither rounds nor stops the calculation.
        {0, 0, "00:40", "10:20"},
    };
    for (const Case& c : cases) {
        const MonthResult result =
            OneDay(DailyWages(7), Rules(c.unit, c.mode), 2, "04:20", "23:40");
        EXPECT_EQ(result.days[0].cells[3], c.earlyMorning) << c.unit << "/" << c.mode;
        EXPECT_EQ(result.days[0].cells[7], c.total) << c.unit << "/" << c.mode;
    }
}

TEST(DailyCalc, PerMonthRoundingShowsRawDaysAndRoundsOnlyTheSums) {
    const std::vector<PayDay> period{DayOn(2), DayOn(3)};
    const std::vector<DayCells> cells{Typed({"04:20", "23:40"}), Typed({"04:20", "23:40"})};
    const MonthResult perDay = CalcDailyMonth(DailyWages(7), Rules(15, 0, 0), period, cells);
    const MonthResult perMonth = CalcDailyMonth(DailyWages(7), Rules(15, 0, 1), period, cells);
    EXPECT_EQ(perDay.days[0].cells[3], "00:45");
    EXPECT_EQ(perMonth.days[0].cells[3], "00:40");
    EXPECT_EQ(perMonth.days[0].cells[7], "10:20");
    EXPECT_EQ(perDay.classes[0].weekdayMinutes, 90);    // 45 + 45
    EXPECT_EQ(perMonth.classes[0].weekdayMinutes, 75);  // 80 rounded
    EXPECT_EQ(perMonth.classes[0].weekdayYen, 1100 + 275 * 1);
}

TEST(DailyCalc, WhichDaysAreCompleteDependsOnTheWorkPattern) {
    struct Case {
        std::int32_t workType;
        const char* in;
        const char* out;
        bool complete;
    };
    const Case cases[] = {
        {0, "", "18:00", true},       {3, "", "18:00", true},  {0, "07:00", "", false},
        {1, "07:00", "", true},       {4, "07:00", "", true},  {1, "", "18:00", false},
        {7, "07:00", "", false},      {7, "", "18:00", false}, {2, "07:00", "18:00", true},
        {5, "  :  ", "18:00", false}, {6, "", "", false},
    };
    for (const Case& c : cases) {
        const MonthResult result = OneDay(DailyWages(c.workType), Rules(15), 2, c.in, c.out);
        EXPECT_EQ(result.days[0].complete, c.complete) << c.workType << " " << c.in << "-" << c.out;
        EXPECT_EQ(result.totals.WorkDays, c.complete ? 1 : 0);
        if (!c.complete) {
            EXPECT_EQ(ClassCells(result), std::vector<std::string>(5, "")) << c.workType;
        }
    }
}

// D3: a late-night start moved past the end of an ordinary day does not stay
// moved for the half holiday that follows.
TEST(DailyCalc, AMovedLateNightStartHoldsForItsOwnDayOnly) {
    DailyWagesRecord wages = DailyWages(7);
    wages.TimeToStartNight = TextToTime("14:00");  // between 12:00 and 17:00
    const std::vector<PayDay> period{DayOn(2), DayOn(7)};
    const std::vector<DayCells> cells{Typed({"08:00", "19:00"}), Typed({"08:00", "16:00"})};
    const MonthResult month = CalcDailyMonth(wages, Rules(1), period, cells);
    // Monday: late night starts at 38:00, so 19:00 is all ordinary overtime.
    EXPECT_EQ(month.days[0].cells[5], "02:00");
    EXPECT_EQ(month.days[0].cells[6], "00:00");
    // Saturday: 12:00 – 14:00 ordinary, 14:00 – 16:00 late night, as on its own.
    EXPECT_EQ(month.days[1].cells[5], "02:00");
    EXPECT_EQ(month.days[1].cells[6], "02:00");
    const MonthResult alone = CalcDailyMonth(wages, Rules(1), {DayOn(7)}, {cells[1]});
    EXPECT_EQ(alone.days[0].cells, month.days[1].cells);
}

// D4: a late-night start of 00:00 is midnight after the working day.
TEST(DailyCalc, ALateNightStartAtMidnightIsTheFollowingMidnight) {
    DailyWagesRecord wages = DailyWages(7);
    wages.TimeToStartNight = TextToTime("00:00");
    const MonthResult result = OneDay(wages, Rules(1), 2, "08:00", "01:30");
    EXPECT_EQ(ClassCells(result),
              (std::vector<std::string>{"00:00", "00:00", "07:00", "01:30", "08:30"}));
}

// D5: with the stored regular start 00:00 of patterns 0 and 3, only a clock-out
// of exactly 00:00 is after midnight.
TEST(DailyCalc, PatternsWithoutEarlyStartTakeOnlyMidnightAsTheNextDay) {
    struct Case {
        std::int32_t workType;
        const char* out;
        std::vector<std::string> classes;
    };
    const Case cases[] = {
        {0, "00:00", {"", "", "07:00", "", "07:00"}},
        {0, "01:30", {"", "", "00:00", "", "00:00"}},
        {3, "00:00", {"", "", "05:00", "02:00", "07:00"}},
        {3, "01:30", {"", "", "00:00", "00:00", "00:00"}},
    };
    for (const Case& c : cases) {
        DailyWagesRecord wages = DailyWages(c.workType);
        wages.TimeToStartWork = TextToTime("00:00");
        const MonthResult result = OneDay(wages, Rules(1), 2, "", c.out);
        EXPECT_EQ(ClassCells(result), c.classes) << c.workType << " " << c.out;
    }
}

// D6: a stored text that is not a valid time counts as an empty cell, and the
// grid still shows what was stored.
TEST(DailyCalc, UnreadableCellsCountAsEmpty) {
    for (const char* bad :
         {"25:00", "12:60", "1 :3 ", "ab:cd", "12:3", "1230", "12:30:00", "-1:00", "1:2:3"}) {
        MonthResult result;
        ASSERT_NO_THROW(result = OneDay(DailyWages(7), Rules(15), 2, "08:00", bad)) << bad;
        EXPECT_FALSE(result.days[0].complete) << bad;
        EXPECT_EQ(result.days[0].cells[2], bad);
        EXPECT_EQ(result.days[0].cells[5], "");
        const MonthResult outOnly = OneDay(DailyWages(1), Rules(15), 2, "07:00", bad);
        EXPECT_EQ(outOnly.days[0].cells[4], "01:00") << bad;
    }
    // The blank edit mask is shown as the empty cell it is.
    EXPECT_EQ(OneDay(DailyWages(7), Rules(15), 2, "  :  ", "18:00").days[0].cells[1], "");
}

TEST(DailyCalc, RowsLabelsAndCaptionsFollowThePeriod) {
    const std::vector<PayDay> period = MakePayPeriod(1999, 3, 20, 0);
    const MonthResult result = CalcDailyMonth(DailyWages(7), Rules(15), period, {});
    ASSERT_EQ(result.days.size(), 28u);
    EXPECT_EQ(result.days[0].cells[0], "02/21(日)");
    EXPECT_TRUE(result.days[0].holiday);
    EXPECT_TRUE(result.days[6].halfHoliday);
    EXPECT_EQ(result.captions,
              (std::vector<std::string>{"07", "出社時間", "退社時間", "早朝残業", "早出残業",
                                        "普通残業", "深夜残業", "合　　計"}));
    EXPECT_EQ(result.totalsTexts.totalYen, "¥0");
    EXPECT_EQ(result.totalsTexts.workDays, "00");
}

}  // namespace
}  // namespace pb
