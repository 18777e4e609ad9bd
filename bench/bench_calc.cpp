// The month calculation (it must stay far under half a millisecond, so that the
// window recalculates on every cell it leaves): a 31-day hourly month (pattern
// 19, every day 00:00 – 23:55 with an hour's break) and a 31-day daily month
// (pattern 7); and the explanation of every figure of each
// month with the texts of all its cells and sums, as the window's tool tips and
// the trace export build them.

#include <benchmark/benchmark.h>

#include "core/common/Routines.h"
#include "core/timecard/FigureTrace.h"
#include "core/timecard/MonthCalc.h"

namespace {

pb::MonthInput HourlyMonth() {
    pb::MonthInput input;
    input.payScheme = pb::PayScheme::Hourly;
    input.hourly.WorkType = 19;
    input.hourly.TimePay = 1000;
    input.hourly.Band1Pays.fill(1000);
    input.hourly.Band2Pays.fill(1100);
    input.hourly.Band3Pays.fill(1250);
    input.hourly.ChargeDivideTime1 = 96;
    input.hourly.ChargeDivideTime2 = 204;
    input.hourly.ChargeDivideTime3 = 244;
    input.rules.OvertimeWorkFigure = 15;
    input.period = pb::MakePayPeriod(1999, 3, 0, 1);
    for (std::size_t i = 0; i < input.period.size(); ++i) {
        pb::DayCells cells;
        cells[1] = "00:00";
        cells[2] = "12:00";
        cells[3] = "13:00";
        cells[4] = "23:55";
        input.cells.push_back(cells);
    }
    return input;
}

pb::MonthInput DailyMonth() {
    pb::MonthInput input;
    input.payScheme = pb::PayScheme::Daily;
    pb::DailyWagesRecord& w = input.daily;
    w.WorkType = 7;
    w.HalfHoliday = 7;
    w.Holiday1 = 1;
    w.WeekdayEarMornPay = w.WeekdayNightPay = 1100;
    w.WeekdayMorningPay = w.WeekdayOverPay = 1000;
    w.HolidayEarMornPay = w.HolidayNightPay = 1200;
    w.HolidayMorningPay = w.HolidayOverPay = 1100;
    w.TimeToStartWork = pb::TextToTime("08:00");
    w.TimeToFinishWork = pb::TextToTime("17:00");
    w.TimeToStartNight = pb::TextToTime("22:00");
    w.TimeToFinishMorning = pb::TextToTime("05:00");
    w.TimeToFinishWorkHH = pb::TextToTime("12:00");
    input.rules.OvertimeWorkFigure = 15;
    input.period = pb::MakePayPeriod(1999, 3, 0, 1);
    for (std::size_t i = 0; i < input.period.size(); ++i) {
        pb::DayCells cells;
        cells[1] = "04:10";
        cells[2] = "23:40";
        input.cells.push_back(cells);
    }
    return input;
}

void BM_HourlyMonth(benchmark::State& state) {
    const pb::MonthInput input = HourlyMonth();
    for (auto _ : state) {
        benchmark::DoNotOptimize(pb::CalcMonth(input));
    }
}
BENCHMARK(BM_HourlyMonth)->Unit(benchmark::kMicrosecond);

void BM_DailyMonth(benchmark::State& state) {
    const pb::MonthInput input = DailyMonth();
    for (auto _ : state) {
        benchmark::DoNotOptimize(pb::CalcMonth(input));
    }
}
BENCHMARK(BM_DailyMonth)->Unit(benchmark::kMicrosecond);

}  // namespace

namespace {

// The trace and every text it gives, cells and sums.
void TraceWithTexts(const pb::MonthInput& input, const pb::MonthResult& result) {
    const pb::MonthTrace trace = pb::TraceMonth(input, result);
    std::size_t length = 0;
    for (std::size_t row = 1; row <= trace.days.size(); ++row) {
        for (int column = 3; column <= 8; ++column) {
            length += pb::CellTraceText(trace, row, column).size();
        }
    }
    for (int column = 3; column <= 8; ++column) {
        length += pb::SumTraceText(trace, column).size();
    }
    benchmark::DoNotOptimize(length);
}

void BM_TraceOfAnHourlyMonth(benchmark::State& state) {
    const pb::MonthInput input = HourlyMonth();
    const pb::MonthResult result = pb::CalcMonth(input);
    for (auto _ : state) {
        TraceWithTexts(input, result);
    }
}
BENCHMARK(BM_TraceOfAnHourlyMonth)->Unit(benchmark::kMicrosecond);

void BM_TraceOfADailyMonth(benchmark::State& state) {
    const pb::MonthInput input = DailyMonth();
    const pb::MonthResult result = pb::CalcMonth(input);
    for (auto _ : state) {
        TraceWithTexts(input, result);
    }
}
BENCHMARK(BM_TraceOfADailyMonth)->Unit(benchmark::kMicrosecond);

}  // namespace
