#include "core/timecard/MonthCalc.h"

#include <array>

#include "core/common/Routines.h"
#include "core/timecard/DailyDay.h"
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

// Appends the day's row with its label and typed columns; the grid shows the
// blank mask as an empty cell, everything else as typed.
DayRow& StartRow(std::vector<DayRow>& days, const PayDay& date, const DayCells& typed,
                 int lastTypedColumn) {
    DayRow& row = days.emplace_back(date);
    for (int column = 1; column <= lastTypedColumn; ++column) {
        if (typed[column] != kBlankTimeMask) {
            row.cells[column] = typed[column];
        }
    }
    return row;
}

// The readable minutes of the typed columns and which of them count: an
// unreadable text is as good as an empty cell.
struct ReadRow {
    std::array<std::int32_t, 5> minutes{};  // [1] … [4]
    std::array<bool, 5> filled{};

    // The row's pattern as a number, column 1 the highest bit ("1001" is 9).
    int Pattern() const { return filled[1] * 8 + filled[2] * 4 + filled[3] * 2 + filled[4]; }
};

ReadRow Read(const DayCells& typed) {
    ReadRow read;
    for (int column = 1; column <= 4; ++column) {
        if (const auto m = CellMinutes(typed[column])) {
            read.minutes[column] = *m;
            read.filled[column] = true;
        }
    }
    return read;
}

// IsColumnUnused for every column of the month's pattern, looked up once.
std::array<bool, 9> UnusedColumns(std::int32_t workType) {
    std::array<bool, 9> unused{};
    for (int column = 1; column <= 8; ++column) {
        unused[column] = IsColumnUnused(workType, column);
    }
    return unused;
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

    const DailyBounds bounds = MakeDailyBounds(wages);

    const std::array<std::int32_t, 4> weekdayRates{wages.WeekdayEarMornPay, wages.WeekdayMorningPay,
                                                   wages.WeekdayOverPay, wages.WeekdayNightPay};
    const std::array<std::int32_t, 4> holidayRates{wages.HolidayEarMornPay, wages.HolidayMorningPay,
                                                   wages.HolidayOverPay, wages.HolidayNightPay};
    std::array<std::int64_t, 4> weekdaySums{};
    std::array<std::int64_t, 4> holidaySums{};

    const std::array<bool, 9> unused = UnusedColumns(wt);
    result.days.reserve(period.size());
    const bool clockOutOnly = wt == 0 || wt == 3;
    const bool clockInOnly = wt == 1 || wt == 4;
    for (std::size_t i = 0; i < period.size(); ++i) {
        const PayDay& date = period[i];
        const DayCells& typed = TypedRow(cells, i);
        DayRow& row = StartRow(result.days, date, typed, 2);
        row.holiday = date.weekday == wages.Holiday1 || date.weekday == wages.Holiday2 ||
                      date.weekday == wages.Holiday3;
        row.halfHoliday = date.weekday == wages.HalfHoliday;

        const ReadRow read = Read(typed);
        const bool hasIn = read.filled[kClockInColumn];
        const bool hasOut = read.filled[kClockOutColumn];
        row.complete = clockOutOnly ? hasOut : clockInOnly ? hasIn : hasIn && hasOut;
        if (!row.complete) {
            continue;
        }
        ++result.totals.WorkDays;
        if (row.holiday) {
            ++result.totals.HolidayWorkDays;
        }

        const DailyDay day = MeasureDailyDay(bounds, wt, read.minutes[kClockInColumn],
                                             read.minutes[kClockOutColumn], row.halfHoliday);
        const std::int32_t earlyMorning = day.minutes[kEarlyMorning];
        const std::int32_t earlyStart = day.minutes[kEarlyStart];
        const std::int32_t overtime = day.minutes[kOvertime];
        const std::int32_t lateNight = day.minutes[kLateNight];
        // The day total is rounded from the unrounded classes, so it need not
        // equal the sum of the rounded class cells.
        const std::array<std::int32_t, 5> values{earlyMorning, earlyStart, overtime, lateNight,
                                                 earlyMorning + earlyStart + overtime + lateNight};
        for (int k = 0; k < 5; ++k) {
            const int column = kEarlyMorningColumn + k;
            if (unused[column]) {
                continue;
            }
            const std::int32_t shown =
                roundEachDay ? RoundMinutes(values[k], mode, unit) : values[k];
            SetClockText(row.cells[column], shown);
            if (k < 4) {
                (row.holiday ? holidaySums : weekdaySums)[k] += shown;
            }
        }
    }

    std::int64_t weekdayMinutes = 0;
    std::int64_t holidayMinutes = 0;
    std::int64_t weekdayYen = 0;
    std::int64_t holidayYen = 0;
    const std::vector<std::string>& captions = result.captions;
    result.classes.reserve(4);
    for (int k = 0; k < 4; ++k) {
        ClassSum sum;
        sum.column = kEarlyMorningColumn + k;
        sum.caption = captions[sum.column];
        sum.used = !unused[sum.column];
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
    const bool twoBands = wt == 10 || wt == 11 || wt == 16 || wt == 17;
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
    const std::array<bool, 9> unused = UnusedColumns(wt);
    result.days.reserve(period.size());
    std::array<std::array<std::int32_t, 3>, 8> rates{};  // [weekday][band - 1]
    for (std::int32_t weekday = 0; weekday <= 7; ++weekday) {
        for (int band = 1; band <= 3; ++band) {
            rates[weekday][band - 1] = BandRateOfDay(wages, band, weekday);
        }
    }
    std::array<std::int64_t, 3> monthMinutes{};
    std::array<std::int64_t, 3> monthYen{};
    for (std::size_t i = 0; i < period.size(); ++i) {
        const PayDay& date = period[i];
        const DayCells& typed = TypedRow(cells, i);
        DayRow& row = StartRow(result.days, date, typed, 4);
        const ReadRow read = Read(typed);
        const bool withBreak = read.Pattern() == 0b1111;
        row.complete = withBreak || read.Pattern() == 0b1001;
        // A day that no longer counts shows no figures, like a daily-wage day.
        if (!row.complete) {
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
            if (!unused[column]) {
                SetClockText(row.cells[column], minutes);
            }
            monthMinutes[d] += minutes;
            const std::int32_t rate = date.weekday >= 0 && date.weekday <= 7
                                          ? rates[date.weekday][d]
                                          : BandRateOfDay(wages, d + 1, date.weekday);
            monthYen[d] += WageForMinutes(minutes, rate, unit);
            dayTotal += minutes;
        }
        SetClockText(row.cells[kHourlyTotalColumn], dayTotal);
    }

    std::int64_t totalMinutes = 0;
    std::int64_t totalYen = 0;
    result.bands.reserve(3);
    for (int d = 0; d < 3; ++d) {
        BandSum sum;
        sum.band = d + 1;
        sum.column = kBand1Column + d;
        sum.shown = !unused[sum.column];
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
