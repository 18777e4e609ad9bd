#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TimecardFixtures.h"
#include "core/timecard/FigureTrace.h"
#include "core/timecard/WorkPattern.h"

namespace pb {
namespace {

using testing::DailyWages;
using testing::DayOn;
using testing::HourlyWages;
using testing::Rules;
using testing::Typed;

MonthInput DailyInput(std::int32_t workType, const CalcSetSettings& rules, std::int32_t weekday,
                      const std::string& in, const std::string& out) {
    MonthInput input;
    input.payScheme = PayScheme::Daily;
    input.daily = DailyWages(workType);
    input.rules = rules;
    input.period = {DayOn(weekday)};
    input.cells = {Typed({in, out})};
    return input;
}

std::string CellText(const MonthInput& input, int column, std::size_t row = 1) {
    return CellTraceText(TraceMonth(input, CalcMonth(input)), row, column);
}

TEST(FigureTrace, DailyCellsNameTheirStretchAndRounding) {
    const MonthInput input = DailyInput(7, Rules(15), 2, "04:10", "23:40");
    EXPECT_EQ(CellText(input, kLateNightColumn),
              "22:00–23:40 深夜 1:40\n丸め: 1:40 → 1:45（15分単位・四捨五入・日毎に丸め）");
    EXPECT_EQ(CellText(input, kEarlyMorningColumn),
              "04:10–05:00 早朝 0:50\n丸め: 0:50 → 0:45（15分単位・四捨五入・日毎に丸め）");
    EXPECT_EQ(CellText(input, kDailyTotalColumn),
              "04:10–05:00 早朝 0:50\n05:00–08:00 早出 3:00\n17:00–22:00 普通 5:00\n"
              "22:00–23:40 深夜 1:40\n丸め: 10:30 → 10:30（15分単位・四捨五入・日毎に丸め）\n"
              "（合計は丸める前の時間から丸めるので、各欄の合計と違うことがあります）");
    // Typed columns and rows outside the month explain nothing.
    EXPECT_EQ(CellText(input, kClockInColumn), "");
    EXPECT_EQ(CellText(input, kLateNightColumn, 2), "");

    // Per month: the day keeps its minutes, the rule says where rounding happens.
    EXPECT_EQ(CellText(DailyInput(7, Rules(15, 0, 1), 2, "04:10", "23:40"), kEarlyMorningColumn),
              "04:10–05:00 早朝 0:50\n丸め: 日毎には丸めません（15分単位・四捨五入・月毎に丸め）");

    // After midnight, and a clock-out before the regular finish.
    EXPECT_EQ(CellText(DailyInput(7, Rules(15), 2, "08:00", "01:30"), kLateNightColumn),
              "22:00–翌01:30 深夜 3:30\n丸め: 3:30 → 3:30（15分単位・四捨五入・日毎に丸め）\n"
              "退社 01:30 は始業 08:00 までなので、翌日の 01:30 に退社したものとして数えます。");
    EXPECT_NE(
        CellText(DailyInput(7, Rules(15), 2, "08:00", "16:00"), kOvertimeColumn).find("普通 なし"),
        std::string::npos);
}

TEST(FigureTrace, ALateClockInIsMarkedAsTheEveningBefore) {
    const MonthInput late = DailyInput(7, Rules(15), 4, "09:00", "17:00");
    const MonthTrace trace = TraceMonth(late, CalcMonth(late));
    EXPECT_TRUE(trace.days[0].clockInTakenAsEveningBefore);
    EXPECT_EQ(CellTraceText(trace, 1, kEarlyMorningColumn),
              "前日09:00–05:00 早朝 20:00\n丸め: 20:00 → 20:00（15分単位・四捨五入・日毎に丸め）\n"
              "出社 09:00 は始業 08:00 より後なので、前日の 09:00 に出社したものとして数えます"
              "（遅刻の日は出社時刻を確かめて下さい）。");

    const MonthInput onTime = DailyInput(7, Rules(15), 4, "08:00", "17:00");
    EXPECT_FALSE(TraceMonth(onTime, CalcMonth(onTime)).days[0].clockInTakenAsEveningBefore);
}

TEST(FigureTrace, HourlyBandsFollowTheMinuteRule) {
    MonthInput input;
    input.payScheme = PayScheme::Hourly;
    input.hourly = HourlyWages(13);
    input.rules = Rules(1);
    input.period = {DayOn(1)};
    input.cells = {Typed({"07:00", "12:00", "13:00", "21:00"})};
    const MonthTrace trace = TraceMonth(input, CalcMonth(input));
    // Band 1 ends at 08:00 and starts again after 20:20.
    EXPECT_EQ(CellTraceText(trace, 1, kBand1Column),
              "07:00–08:00 区分1 1:00\n20:20–21:00 区分1 0:40\n"
              "丸め: 1:40 → 1:40（1分単位・四捨五入・日毎に丸め）\n"
              "賃金: 01:40 → ¥1,200 × 1時間 + ¥20 × 40（1分あたり ¥1,200 ÷ 60、円未満切り捨て） = "
              "¥2,000\n休憩 12:00–13:00: 休憩開始の直前の1分は数えず、休憩終了の1分を数えます。");
    EXPECT_TRUE(CellTraceText(trace, 1, kBand1Column + 1)
                    .starts_with("08:00–11:59 区分2 3:59\n12:59–17:00 区分2 4:01\n"));
    EXPECT_NE(CellTraceText(trace, 1, kHourlyTotalColumn)
                  .find("17:00–20:20 区分3 3:20\n20:20–21:00 区分1 0:40\n合計 13:00"),
              std::string::npos);
}

TEST(FigureTrace, YenShowsTheHoursAndTheUnitsPriced) {
    const struct {
        std::int32_t minutes, rate, unit;
        const char* text;
    } cases[] = {
        {630, 1000, 15,
         "10:30 → ¥1,000 × 10時間 + ¥250 × 2（15分あたり ¥1,000 ÷ 4、円未満切り捨て） = ¥10,500"},
        {45, 1100, 15, "00:45 → ¥275 × 3（15分あたり ¥1,100 ÷ 4、円未満切り捨て） = ¥825"},
        {90, 1000, 1,
         "01:30 → ¥1,000 × 1時間 + ¥16 × 30（1分あたり ¥1,000 ÷ 60、円未満切り捨て） = ¥1,480"},
        {120, 1000, 30, "02:00 → ¥1,000 × 2時間 = ¥2,000"},
        {0, 1000, 15, "00:00 → ¥1,000 × 0時間 = ¥0"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(YenText(c.minutes, c.rate, c.unit), c.text) << c.minutes;
    }
}

// The trace explains exactly the figures the calculation shows, for every work
// pattern and rule, and its stretches add up to what it counted.
TEST(FigureTrace, AgreesWithTheCalculationEverywhere) {
    const char* times[] = {"",      "00:00", "03:10", "04:59", "05:00", "07:40", "08:00", "09:05",
                           "12:00", "13:10", "16:00", "17:00", "21:59", "22:00", "23:40", "01:30"};
    std::vector<PayDay> period;
    std::vector<DayCells> cells;
    for (std::size_t i = 0; i < 31; ++i) {
        period.push_back(PayDay{1999, 3, static_cast<std::int32_t>(i + 1),
                                static_cast<std::int32_t>(i % 7 + 1)});
    }
    for (const std::int32_t unit : {1, 15, 20}) {
        for (const std::int32_t perMonth : {0, 1}) {
            for (std::int32_t wt = 0; wt <= 19; ++wt) {
                MonthInput input;
                input.payScheme = wt < 8 ? PayScheme::Daily : PayScheme::Hourly;
                input.daily = DailyWages(wt);
                input.hourly = HourlyWages(wt);
                input.rules = Rules(unit, unit % 3, perMonth);
                input.period = period;
                for (std::size_t i = 0; i < 31; ++i) {
                    const std::size_t n = std::size(times);
                    input.cells.push_back(Typed({times[(i * 7 + wt) % n], times[(i * 3 + 5) % n],
                                                 times[(i * 5 + 9) % n], times[(i * 11 + 2) % n]}));
                }
                const MonthResult result = CalcMonth(input);
                const MonthTrace trace = TraceMonth(input, result);
                ASSERT_EQ(trace.days.size(), result.days.size());
                for (std::size_t i = 0; i < result.days.size(); ++i) {
                    for (const CellTrace& cell : trace.days[i].cells) {
                        EXPECT_EQ(MinutesToText(cell.shown), result.days[i].cells[cell.column])
                            << "WT " << wt << " day " << i + 1 << " column " << cell.column;
                        std::int32_t spans = 0;
                        for (const TraceSpan& span : cell.spans) {
                            spans += span.minutes;
                        }
                        EXPECT_EQ(spans, cell.counted) << "WT " << wt << " day " << i + 1;
                    }
                }
                std::int32_t yen = 0;
                for (const SumTrace& sum : trace.sums) {
                    yen += sum.yen;
                }
                EXPECT_EQ(yen, result.totals.TotalOverPay) << "WT " << wt;
                if (input.payScheme == PayScheme::Hourly) {
                    std::int32_t dayYen = 0;
                    for (const DayTrace& day : trace.days) {
                        dayYen += day.cells.empty() ? 0 : day.cells.back().yen;
                    }
                    EXPECT_EQ(dayYen, result.totals.TotalOverPay) << "WT " << wt;
                }
            }
        }
    }
}

TEST(FigureTrace, MonthSumsShowTheDaysTheRoundingAndTheYen) {
    MonthInput input = DailyInput(7, Rules(15, 0, 1), 2, "04:10", "23:40");
    input.period.push_back(DayOn(3));
    input.cells.push_back(Typed({"08:00", "18:10"}));
    input.period.push_back(DayOn(1));  // the weekly holiday
    input.cells.push_back(Typed({"08:00", "18:00"}));
    const MonthTrace trace = TraceMonth(input, CalcMonth(input));
    EXPECT_EQ(SumTraceText(trace, kOvertimeColumn),
              "普通（平日）: 2日 計 06:10 → 06:15（月の合計を 15分単位・四捨五入 で丸め）\n"
              "賃金: 06:15 → ¥1,000 × 6時間 + ¥250 × 1（15分あたり ¥1,000 ÷ 4、円未満切り捨て） "
              "= ¥6,250\n"
              "普通（休日）: 1日 計 01:00（月の合計を 15分単位・四捨五入 で丸め）\n"
              "賃金: 01:00 → ¥1,100 × 1時間 = ¥1,100");
    const std::string total = SumTraceText(trace, kDailyTotalColumn);
    EXPECT_TRUE(total.ends_with("\n計 " + MinutesToText(CalcMonth(input).totals.TotalOverMinutes) +
                                " " + FormatYen(CalcMonth(input).totals.TotalOverPay)))
        << total;
}

}  // namespace
}  // namespace pb
