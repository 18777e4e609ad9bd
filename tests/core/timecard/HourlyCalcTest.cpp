#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "TimecardFixtures.h"
#include "core/timecard/MonthCalc.h"
#include "core/timecard/WorkPattern.h"

namespace pb {
namespace {

using testing::DayOn;
using testing::HourlyWages;
using testing::Rules;
using testing::Typed;

// Columns 5 … 8 of the only day row.
std::vector<std::string> BandCells(const MonthResult& result) {
    const DayCells& cells = result.days.at(0).cells;
    return {cells[5], cells[6], cells[7], cells[8]};
}

MonthResult OneDay(const TimeWagesRecord& wages, const CalcSetSettings& rules, std::int32_t weekday,
                   const DayCells& typed) {
    return CalcHourlyMonth(wages, rules, {DayOn(weekday)}, {typed});
}

// The rule itself, the reference for the calculation's interval count: every
// minute t first … last (from 0 on) classified one at a time.
BandMinutes EachMinute(const BandBounds& b, std::int32_t first, std::int32_t last) {
    BandMinutes counts{};
    for (std::int32_t t = std::max(first, 0); t <= last; ++t) {
        ++counts[ClassifyMinute(t, b.b1, b.b2, b.b3) - 1];
    }
    return counts;
}

BandMinutes EachMinuteOfDay(const BandBounds& b, const int (&t)[4], bool withBreak) {
    const WorkedRanges worked = WorkedMinutes(t[0], t[1], t[2], t[3], withBreak);
    BandMinutes counts{};
    for (int r = 0; r < worked.count; ++r) {
        const BandMinutes part = EachMinute(b, worked.ranges[r][0], worked.ranges[r][1]);
        for (int d = 0; d < 3; ++d) {
            counts[d] += part[d];
        }
    }
    return counts;
}

TEST(HourlyCalc, WorkedExamplesOfOneDay) {
    struct Case {
        std::int32_t workType;
        DayCells typed;
        std::vector<std::string> bands;  // 区分１, 区分２, 区分３, 合計
    };
    const Case cases[] = {
        // 07:00 – 08:00 and 20:20 – 21:00 are band 1.
        {13, Typed({"07:00", "12:00", "13:00", "21:00"}), {"01:40", "08:00", "03:20", "13:00"}},
        // The minute ending at the break start is not worked, the one ending at its end is.
        {13, Typed({"06:00", "08:00", "09:00", "10:00"}), {"01:59", "01:01", "00:00", "03:00"}},
        // One band: only the total shows.
        {8, Typed({"07:00", "", "", "21:00"}), {"", "", "", "14:00"}},
        {9, Typed({"07:00", "12:00", "13:00", "21:00"}), {"", "", "", "13:00"}},
        // Two bands: band 3's time belongs to band 1.
        {10, Typed({"07:00", "", "", "21:00"}), {"05:00", "09:00", "", "14:00"}},
        // Over midnight: 30:00.
        {12, Typed({"22:00", "", "", "06:00"}), {"08:00", "00:00", "00:00", "08:00"}},
        // Equal clock-in and clock-out: a full day.
        {12, Typed({"09:00", "", "", "09:00"}), {"11:40", "09:00", "03:20", "24:00"}},
        // A break after midnight, and one that starts at clock-in (moved a day on).
        {13, Typed({"22:00", "02:00", "03:00", "06:00"}), {"07:00", "00:00", "00:00", "07:00"}},
        {13, Typed({"09:00", "09:00", "10:00", "18:00"}), {"11:40", "16:00", "04:20", "32:00"}},
        // A pattern without a break still counts a complete row with one.
        {12, Typed({"07:00", "12:00", "13:00", "21:00"}), {"01:40", "08:00", "03:20", "13:00"}},
    };
    for (const Case& c : cases) {
        const MonthResult result = OneDay(HourlyWages(c.workType), Rules(1), 2, c.typed);
        EXPECT_EQ(BandCells(result), c.bands) << "WT " << c.workType << " " << c.typed[1];
        EXPECT_EQ(result.totals.WorkDays, 1);
    }
}

TEST(HourlyCalc, TheWorkedDayIsPricedPerBand) {
    // Sunday, pattern 13: the first slots 1,200 / 1,000 / 1,100.
    const MonthResult result =
        OneDay(HourlyWages(13), Rules(1), 1, Typed({"07:00", "12:00", "13:00", "21:00"}));
    ASSERT_EQ(result.bands.size(), 3u);
    EXPECT_EQ(result.bands[0].yen, 2000);
    EXPECT_EQ(result.bands[1].yen, 8000);
    EXPECT_EQ(result.bands[2].yen, 3660);  // 3 × 1,100 + 20 × 18
    EXPECT_EQ(result.totals.TotalOverMinutes, 780);
    EXPECT_EQ(result.totals.TotalOverPay, 13660);
    EXPECT_EQ(result.totalsTexts.workDays, "1");
    EXPECT_EQ(result.totals.HolidayWorkDays, 0);
}

TEST(HourlyCalc, RatesFollowTheWorkPatternAndTheWeekday) {
    // On a Saturday (slot 7: 2,000 / 1,500 / 1,800); first slots 1,200 / 1,000 / 1,100; TimePay
    // 900.
    struct Case {
        std::int32_t workType;
        std::int32_t rates[3];
    };
    const Case cases[] = {
        {8, {900, 900, 900}},     {9, {900, 900, 900}},     {10, {1200, 1000, 1000}},
        {11, {1200, 1000, 1000}}, {12, {1200, 1000, 1100}}, {13, {1200, 1000, 1100}},
        {14, {2000, 1500, 1800}}, {15, {2000, 1500, 1800}}, {16, {2000, 1500, 1500}},
        {17, {2000, 1500, 1500}}, {18, {2000, 1500, 1800}}, {19, {2000, 1500, 1800}},
    };
    const TimeWagesRecord base = HourlyWages();
    for (const Case& c : cases) {
        TimeWagesRecord wages = base;
        wages.WorkType = c.workType;
        for (int band = 1; band <= 3; ++band) {
            EXPECT_EQ(BandRateOfDay(wages, band, 7), c.rates[band - 1])
                << c.workType << "/" << band;
        }
    }
    // The yen of a Saturday under pattern 19 use the Saturday slots.
    const MonthResult saturday =
        OneDay(HourlyWages(19), Rules(1), 7, Typed({"07:00", "12:00", "13:00", "21:00"}));
    EXPECT_EQ(saturday.bands[0].yen, 2000 + 33 * 40);  // the minute rate truncated to 33 yen
    EXPECT_EQ(saturday.bands[1].yen, 12000);
    EXPECT_EQ(saturday.bands[2].yen, 3 * 1800 + 20 * 30);
}

TEST(HourlyCalc, EveryBandBoundIsExactToTheMinute) {
    // Clock-in one minute before a bound, clock-out one after: the minute ending
    // at the bound and the next one.
    struct Case {
        const char* in;
        const char* out;
        std::vector<std::string> bands;
    };
    const Case cases[] = {
        {"07:59", "08:01", {"00:01", "00:01", "00:00", "00:02"}},
        {"16:59", "17:01", {"00:00", "00:01", "00:01", "00:02"}},
        {"20:19", "20:21", {"00:01", "00:00", "00:01", "00:02"}},
        {"23:59", "00:01", {"00:02", "00:00", "00:00", "00:02"}},
        {"08:00", "08:01", {"00:00", "00:01", "00:00", "00:01"}},
        {"07:59", "08:00", {"00:01", "00:00", "00:00", "00:01"}},
    };
    for (const Case& c : cases) {
        const MonthResult result =
            OneDay(HourlyWages(12), Rules(1), 2, Typed({c.in, "", "", c.out}));
        EXPECT_EQ(BandCells(result), c.bands) << c.in << "-" << c.out;
    }
}

TEST(HourlyCalc, BandMinutesAreRoundedEachDayWhateverTheSettingSays) {
    // Two days of 7 minutes in band 1: each rounds down to 0 with unit 15.
    const std::vector<PayDay> period{DayOn(2), DayOn(3)};
    const std::vector<DayCells> cells{Typed({"07:00", "", "", "07:07"}),
                                      Typed({"07:00", "", "", "07:07"})};
    for (std::int32_t perMonth : {0, 1}) {
        const MonthResult result =
            CalcHourlyMonth(HourlyWages(12), Rules(15, 0, perMonth), period, cells);
        EXPECT_EQ(result.days[0].cells[5], "00:00");
        EXPECT_EQ(result.bands[0].minutes, 0) << perMonth;
        EXPECT_EQ(result.totals.TotalOverMinutes, 0);
        EXPECT_EQ(result.totals.WorkDays, 2);
    }
    // With 8 minutes each day rounds up to 15; the month sums are not rounded again.
    const std::vector<DayCells> eight{Typed({"07:00", "", "", "07:08"}),
                                      Typed({"07:00", "", "", "07:08"})};
    const MonthResult up = CalcHourlyMonth(HourlyWages(12), Rules(15), period, eight);
    EXPECT_EQ(up.bands[0].minutes, 30);
    EXPECT_EQ(up.bands[0].yen, 2 * (1200 / 4));
}

// D1: a day that is not complete shows no figures, like a daily-wage day.
TEST(HourlyCalc, IncompleteDaysShowNothingAndCountNothing) {
    for (const DayCells& typed :
         {Typed({"08:00", "", "", ""}), Typed({"08:00", "12:00", "", "17:00"}),
          Typed({"", "12:00", "13:00", "17:00"}), Typed({"08:00", "12:00", "13:00", ""}),
          Typed({"08:00", "", "", "25:00"}), Typed({"08:00", "", "", "  :  "})}) {
        const MonthResult result = OneDay(HourlyWages(13), Rules(1), 2, typed);
        EXPECT_FALSE(result.days[0].complete) << RowPattern(typed);
        EXPECT_EQ(BandCells(result), std::vector<std::string>(4, "")) << RowPattern(typed);
        EXPECT_EQ(result.totals.WorkDays, 0);
        EXPECT_EQ(result.totals.TotalOverMinutes, 0);
        EXPECT_EQ(result.days[0].cells[1], typed[1]);
    }
}

// The interval count must equal the minute-by-minute rule on any day and bounds.
TEST(HourlyCalc, IntervalCountEqualsTheMinuteByMinuteRule) {
    std::mt19937 random(20261207);
    std::uniform_int_distribution<int> minute(0, 1439);
    std::uniform_int_distribution<int> step(0, 288);
    std::uniform_int_distribution<int> pattern(8, 19);
    std::uniform_int_distribution<int> coin(0, 3);
    for (int trial = 0; trial < 3000; ++trial) {
        // Mostly ordered bounds, sometimes any order or equal, as a hand-edited record may hold.
        int b[3] = {step(random), step(random), step(random)};
        if (coin(random) != 0) {
            std::sort(b, b + 3);
        }
        if (coin(random) == 0) {
            b[1] = b[0];
        }
        const BandBounds bounds = MakeBandBounds(pattern(random), b[0], b[1], b[2]);
        const BandCounter fast(bounds);
        for (int day = 0; day < 10; ++day) {
            int t[4] = {minute(random), minute(random), minute(random), minute(random)};
            if (coin(random) == 0) {
                t[3] = t[coin(random) % 3];  // equal times, the 24-hour cases
            }
            const bool withBreak = coin(random) < 2;
            ASSERT_EQ(fast.CountDay(t[0], t[1], t[2], t[3], withBreak),
                      EachMinuteOfDay(bounds, t, withBreak))
                << "bounds " << bounds.b1 << " " << bounds.b2 << " " << bounds.b3 << " day " << t[0]
                << " " << t[1] << " " << t[2] << " " << t[3] << " break " << withBreak;
        }
        const int first = minute(random) - 3000;
        const int last = first + minute(random) * 4;
        ASSERT_EQ(fast.CountRange(first, last), EachMinute(bounds, first, last))
            << first << ".." << last;
    }
}

TEST(HourlyCalc, WholeMonthsAgreeWithTheMinuteByMinuteRule) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> minute(0, 1439);
    std::uniform_int_distribution<int> coin(0, 4);
    const auto text = [](int m) { return MinutesToText(m); };
    for (int workType = 8; workType <= 19; ++workType) {
        const std::vector<PayDay> period = MakePayPeriod(2000, 3, 0, 1);
        std::vector<DayCells> cells;
        for (std::size_t i = 0; i < period.size(); ++i) {
            const int c = coin(random);
            cells.push_back(
                Typed({text(minute(random)), c < 3 ? text(minute(random)) : "",
                       c < 3 ? text(minute(random)) : "", c < 4 ? text(minute(random)) : ""}));
        }
        const TimeWagesRecord wages = HourlyWages(workType);
        const MonthResult month = CalcHourlyMonth(wages, Rules(5), period, cells);
        const BandBounds bounds = MakeBandBounds(workType, wages.ChargeDivideTime1,
                                                 wages.ChargeDivideTime2, wages.ChargeDivideTime3);
        for (std::size_t i = 0; i < period.size(); ++i) {
            const DayCells& typed = cells[i];
            const bool withBreak = !typed[2].empty();
            if (typed[4].empty() || withBreak != !typed[3].empty())
                continue;  // not a working day
            const int t[4] = {TextToMinutes(typed[1]), TextToMinutes(typed[2]),
                              TextToMinutes(typed[3]), TextToMinutes(typed[4])};
            const BandMinutes each = EachMinuteOfDay(bounds, t, withBreak);
            std::int32_t total = 0;
            for (int d = 0; d < 3; ++d) {
                const std::int32_t rounded = RoundMinutes(each[d], 0, 5);
                total += rounded;
                if (!IsColumnUnused(workType, 5 + d)) {
                    EXPECT_EQ(month.days[i].cells[5 + d], MinutesToText(rounded))
                        << workType << " row " << i << " band " << d + 1;
                }
            }
            EXPECT_EQ(month.days[i].cells[8], MinutesToText(total)) << workType << " row " << i;
        }
    }
}

TEST(HourlyCalc, ClassifyMinuteAtTheBounds) {
    struct Case {
        std::int32_t t;
        int band;
    };
    // 08:00, 17:00, 20:20.
    const Case cases[] = {{0, 1},    {480, 1},        {481, 2},        {1020, 2},
                          {1021, 3}, {1220, 3},       {1221, 1},       {1439, 1},
                          {1440, 1}, {1440 + 481, 2}, {2880 + 1021, 3}};
    for (const Case& c : cases) {
        EXPECT_EQ(ClassifyMinute(c.t, 480, 1020, 1220), c.band) << c.t;
    }
    // Two bands (b3 = b2) never give band 3; one band never anything but band 1.
    const BandBounds two = MakeBandBounds(10, 96, 204, 244);
    const BandBounds one = MakeBandBounds(8, 96, 204, 244);
    for (std::int32_t t = 0; t < 1440; ++t) {
        EXPECT_NE(ClassifyMinute(t, two.b1, two.b2, two.b3), 3) << t;
        EXPECT_EQ(ClassifyMinute(t, one.b1, one.b2, one.b3), 1) << t;
    }
    // A step of 288 (24:00) is 00:00.
    EXPECT_EQ(MakeBandBounds(12, 288, 204, 244).b1, 0);
}

}  // namespace
}  // namespace pb
