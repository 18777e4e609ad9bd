#include "core/timecard/MonthCalc.h"

#include <array>

#include "core/common/Routines.h"
#include "core/timecard/WorkPattern.h"

namespace pb {
namespace {

DayCells EmptyCells() {
    return DayCells{};
}

const DayCells& TypedRow(const std::vector<DayCells>& cells, std::size_t row) {
    static const DayCells kEmpty = EmptyCells();
    return row < cells.size() ? cells[row] : kEmpty;
}

// The grid shows the blank mask as an empty cell; everything else as typed.
std::string ShownTypedText(const std::string& text) {
    return text == kBlankTimeMask ? std::string() : text;
}

DayRow StartRow(const PayDay& date, const DayCells& typed, int lastTypedColumn) {
    DayRow row;
    row.date = date;
    row.cells[0] = DayLabel(date);
    for (int column = 1; column <= lastTypedColumn; ++column) {
        row.cells[column] = ShownTypedText(typed[column]);
    }
    return row;
}

// The readable minutes of the typed columns, and a pattern of the cells that
// count: an unreadable text is as good as an empty cell.
struct ReadRow {
    std::array<std::int32_t, 5> minutes{};  // [1] … [4]
    std::string pattern;
};

ReadRow Read(const DayCells& typed) {
    ReadRow read;
    DayCells counted;
    for (int column = 1; column <= 4; ++column) {
        if (const auto m = CellMinutes(typed[column])) {
            read.minutes[column] = *m;
            counted[column] = typed[column];
        }
    }
    read.pattern = RowPattern(counted);
    return read;
}

TotalsTexts MakeTotalsTexts(const MonthTotals& totals, bool daily) {
    return TotalsTexts{MinutesToText(totals.TotalOverMinutes), FormatYen(totals.TotalOverPay),
                       daily ? PadNumber(totals.WorkDays, 2) : std::to_string(totals.WorkDays),
                       PadNumber(totals.HolidayWorkDays, 2)};
}

}  // namespace

MonthResult CalcMonth(const MonthInput& input) {
    if (input.payScheme == 2) {
        return CalcHourlyMonth(input.hourly, input.rules, input.period, input.cells);
    }
    return CalcDailyMonth(input.daily, input.rules, input.period, input.cells);
}

MonthResult CalcDailyMonth(const DailyWagesRecord& wages, const CalcSetSettings& rules,
                           const std::vector<PayDay>& period, const std::vector<DayCells>& cells) {
    const std::int32_t wt = wages.WorkType;
    const std::int32_t unit = rules.OvertimeWorkFigure;
    const std::int32_t mode = rules.TimeAdjustFigure;
    const bool roundEachDay = rules.FractionsHandle == 0;

    MonthResult result;
    result.payScheme = 1;
    result.workType = wt;
    result.captions = ColumnCaptions(1, wt);

    const std::int32_t start = TimeToMinutes(wages.TimeToStartWork);          // S
    const std::int32_t finish = TimeToMinutes(wages.TimeToFinishWork);        // F
    const std::int32_t night = TimeToMinutes(wages.TimeToStartNight);         // N
    std::int32_t morning = TimeToMinutes(wages.TimeToFinishMorning);          // M
    const std::int32_t halfFinish = TimeToMinutes(wages.TimeToFinishWorkHH);  // H
    // An early-morning band that ends after the regular start belongs to the
    // night before.
    if (morning > start && morning < 1440) {
        morning -= 1440;
    }

    const std::array<std::int32_t, 4> weekdayRates{wages.WeekdayEarMornPay, wages.WeekdayMorningPay,
                                                   wages.WeekdayOverPay, wages.WeekdayNightPay};
    const std::array<std::int32_t, 4> holidayRates{wages.HolidayEarMornPay, wages.HolidayMorningPay,
                                                   wages.HolidayOverPay, wages.HolidayNightPay};
    std::array<std::int64_t, 4> weekdaySums{};
    std::array<std::int64_t, 4> holidaySums{};

    const bool clockOutOnly = wt == 0 || wt == 3;
    const bool clockInOnly = wt == 1 || wt == 4;
    for (std::size_t i = 0; i < period.size(); ++i) {
        const PayDay& date = period[i];
        const DayCells& typed = TypedRow(cells, i);
        DayRow row = StartRow(date, typed, 2);
        row.holiday = date.weekday == wages.Holiday1 || date.weekday == wages.Holiday2 ||
                      date.weekday == wages.Holiday3;
        row.halfHoliday = date.weekday == wages.HalfHoliday;

        const ReadRow read = Read(typed);
        const bool hasIn = read.pattern[0] == '1';
        const bool hasOut = read.pattern[1] == '1';
        row.complete = clockOutOnly ? hasOut : clockInOnly ? hasIn : hasIn && hasOut;
        if (!row.complete) {
            result.days.push_back(std::move(row));
            continue;
        }
        ++result.totals.WorkDays;
        if (row.holiday) {
            ++result.totals.HolidayWorkDays;
        }

        std::int32_t in = read.minutes[kClockInColumn];
        std::int32_t out = read.minutes[kClockOutColumn];
        const std::int32_t end = row.halfHoliday ? halfFinish : finish;  // E
        // A late-night band that would start before the regular day ends starts
        // on the next day, for this day only: every day starts again from the
        // record, so a half holiday never depends on the day before it.
        const std::int32_t nightStart = night < end ? night + 1440 : night;
        if (in > start) {
            in -= 1440;  // clocked in the evening before
        }
        if (out < end) {
            // Before the regular start it is after midnight; otherwise leaving
            // early earns nothing and costs nothing.
            out = out <= start ? out + 1440 : end;
        }

        std::int32_t earlyMorning = 0;
        std::int32_t earlyStart = 0;
        std::int32_t overtime = 0;
        std::int32_t lateNight = 0;
        if (MeasuresEarlyStart(wt)) {
            if (MeasuresEarlyMorning(wt) && morning > in) {
                earlyMorning = morning - in;
                earlyStart = start - morning;
            } else {
                earlyStart = start - in;
            }
        }
        if (MeasuresOvertime(wt)) {
            if (MeasuresLateNight(wt) && nightStart < out) {
                overtime = nightStart - end;
                lateNight = out - nightStart;
            } else {
                overtime = out - end;
            }
        }
        // The day total is rounded from the unrounded classes, so it need not
        // equal the sum of the rounded class cells.
        const std::array<std::int32_t, 5> values{earlyMorning, earlyStart, overtime, lateNight,
                                                 earlyMorning + earlyStart + overtime + lateNight};
        for (int k = 0; k < 5; ++k) {
            const int column = kEarlyMorningColumn + k;
            if (IsColumnUnused(wt, column)) {
                continue;
            }
            const std::int32_t shown =
                roundEachDay ? RoundMinutes(values[k], mode, unit) : values[k];
            row.cells[column] = MinutesToText(shown);
            if (k < 4) {
                (row.holiday ? holidaySums : weekdaySums)[k] += shown;
            }
        }
        result.days.push_back(std::move(row));
    }

    std::int64_t weekdayMinutes = 0;
    std::int64_t holidayMinutes = 0;
    std::int64_t weekdayYen = 0;
    std::int64_t holidayYen = 0;
    const std::vector<std::string>& captions = result.captions;
    for (int k = 0; k < 4; ++k) {
        ClassSum sum;
        sum.column = kEarlyMorningColumn + k;
        sum.caption = captions[sum.column];
        sum.used = !IsColumnUnused(wt, sum.column);
        sum.weekdayRate = weekdayRates[k];
        sum.holidayRate = holidayRates[k];
        // The month sums are rounded whatever FractionsHandle says; sums of
        // day-rounded values are whole units already.
        sum.weekdayMinutes = RoundMinutes(static_cast<std::int32_t>(weekdaySums[k]), mode, unit);
        sum.holidayMinutes = RoundMinutes(static_cast<std::int32_t>(holidaySums[k]), mode, unit);
        if (sum.used) {
            sum.weekdayYen = WageForMinutes(sum.weekdayMinutes, sum.weekdayRate, unit);
            sum.holidayYen = WageForMinutes(sum.holidayMinutes, sum.holidayRate, unit);
        }
        weekdayMinutes += sum.weekdayMinutes;
        holidayMinutes += sum.holidayMinutes;
        weekdayYen += sum.weekdayYen;
        holidayYen += sum.holidayYen;
        result.classes.push_back(std::move(sum));
    }
    result.totals.HolidayMinutes = static_cast<std::int32_t>(holidayMinutes);
    result.totals.HolidayPay = static_cast<std::int32_t>(holidayYen);
    result.totals.TotalOverMinutes = static_cast<std::int32_t>(weekdayMinutes + holidayMinutes);
    result.totals.TotalOverPay = static_cast<std::int32_t>(weekdayYen + holidayYen);
    result.totalsTexts = MakeTotalsTexts(result.totals, true);
    return result;
}

std::int32_t BandWeekdayRate(const TimeWagesRecord& wages, int band, std::int32_t weekday) {
    if (weekday < 1 || weekday > 7) {
        return 0;
    }
    switch (band) {
        case 1:
            return wages.Band1Pays[weekday - 1];
        case 2:
            return wages.Band2Pays[weekday - 1];
        case 3:
            return wages.Band3Pays[weekday - 1];
        default:
            return 0;
    }
}

std::int32_t BandRateOfDay(const TimeWagesRecord& wages, int band, std::int32_t weekday) {
    const std::int32_t wt = wages.WorkType;
    if (wt == 8 || wt == 9) {
        return wages.TimePay;
    }
    const bool byWeekday = wt >= 14 && wt <= 19;
    const bool twoBands = BandCount(wt) == 2;
    const int slotBand = twoBands && band == 3 ? 2 : band;
    return BandWeekdayRate(wages, slotBand, byWeekday ? weekday : 1);
}

MonthResult CalcHourlyMonth(const TimeWagesRecord& wages, const CalcSetSettings& rules,
                            const std::vector<PayDay>& period, const std::vector<DayCells>& cells,
                            MinuteCounting counting) {
    const std::int32_t wt = wages.WorkType;
    const std::int32_t unit = rules.OvertimeWorkFigure;
    const std::int32_t mode = rules.TimeAdjustFigure;

    MonthResult result;
    result.payScheme = 2;
    result.workType = wt;
    result.captions = ColumnCaptions(2, wt);

    const BandCounter counter(MakeBandBounds(wt, wages.ChargeDivideTime1, wages.ChargeDivideTime2,
                                             wages.ChargeDivideTime3),
                              counting);
    std::array<std::int64_t, 3> monthMinutes{};
    std::array<std::int64_t, 3> monthYen{};
    for (std::size_t i = 0; i < period.size(); ++i) {
        const PayDay& date = period[i];
        const DayCells& typed = TypedRow(cells, i);
        DayRow row = StartRow(date, typed, 4);
        const ReadRow read = Read(typed);
        const bool withBreak = read.pattern == "1111";
        row.complete = withBreak || read.pattern == "1001";
        // A day that no longer counts shows no figures, like a daily-wage day.
        if (!row.complete) {
            result.days.push_back(std::move(row));
            continue;
        }
        ++result.totals.WorkDays;
        const BandMinutes counted = counter.CountDay(
            read.minutes[kHourlyClockInColumn], read.minutes[kBreakStartColumn],
            read.minutes[kBreakEndColumn], read.minutes[kHourlyClockOutColumn], withBreak);
        std::int32_t dayTotal = 0;
        for (int d = 0; d < 3; ++d) {
            const std::int32_t minutes = RoundMinutes(counted[d], mode, unit);
            const int column = kBand1Column + d;
            if (!IsColumnUnused(wt, column)) {
                row.cells[column] = MinutesToText(minutes);
            }
            monthMinutes[d] += minutes;
            monthYen[d] += WageForMinutes(minutes, BandRateOfDay(wages, d + 1, date.weekday), unit);
            dayTotal += minutes;
        }
        row.cells[kHourlyTotalColumn] = MinutesToText(dayTotal);
        result.days.push_back(std::move(row));
    }

    std::int64_t totalMinutes = 0;
    std::int64_t totalYen = 0;
    for (int d = 0; d < 3; ++d) {
        BandSum sum;
        sum.band = d + 1;
        sum.column = kBand1Column + d;
        sum.shown = !IsColumnUnused(wt, sum.column);
        sum.minutes = static_cast<std::int32_t>(monthMinutes[d]);
        sum.yen = static_cast<std::int32_t>(monthYen[d]);
        totalMinutes += sum.minutes;
        totalYen += sum.yen;
        result.bands.push_back(sum);
    }
    result.totals.TotalOverMinutes = static_cast<std::int32_t>(totalMinutes);
    result.totals.TotalOverPay = static_cast<std::int32_t>(totalYen);
    result.totalsTexts = MakeTotalsTexts(result.totals, false);
    return result;
}

}  // namespace pb
