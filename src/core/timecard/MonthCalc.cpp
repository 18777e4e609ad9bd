#include "core/timecard/MonthCalc.h"

#include <array>

#include "core/common/Routines.h"
#include "core/timecard/DailyDay.h"
#include "core/timecard/WorkPattern.h"

namespace pb {
namespace {

const DayCells& TypedRow(const std::vector<DayCells>& cells, std::size_t row) {
    static const DayCells kEmpty{};
    return row < cells.size() ? cells[row] : kEmpty;
}

// The day's row with its label and typed columns; the grid shows the blank
// mask as an empty cell, everything else as typed.
DayRow StartRow(const PayDay& date, const DayCells& typed, int lastTypedColumn) {
    DayRow row(date);
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

MonthResult StartMonth(PayScheme payScheme, std::int32_t workType) {
    MonthResult result;
    result.payScheme = payScheme;
    result.workType = workType;
    result.captions = ColumnCaptions(payScheme, workType);
    return result;
}

TotalsTexts MakeTotalsTexts(const MonthTotals& totals, bool daily) {
    return TotalsTexts{MinutesToText(totals.TotalOverMinutes), FormatYen(totals.TotalOverPay),
                       daily ? PadNumber(totals.WorkDays, 2) : std::to_string(totals.WorkDays),
                       PadNumber(totals.HolidayWorkDays, 2)};
}

// --- daily wage ---------------------------------------------------------------

// Minutes by overtime class (早朝, 早出, 普通, 深夜), summed over days.
using ClassMinutes = std::array<std::int64_t, 4>;

struct ClassifiedDay {
    DayRow row;
    // The class minutes as the cells show them (rounded with per-day rounding);
    // 0 for a class the pattern does not measure and for a day that does not count.
    std::array<std::int32_t, 4> shown{};
};

// One day of a daily-wage month: whether it counts, whether it is a holiday,
// and its class cells, 合計 rounded from the unrounded classes so that it need
// not equal the sum of the rounded cells.
ClassifiedDay ClassifyDailyDay(const DailyWagesRecord& wages, const DailyBounds& bounds,
                               const CalcSetSettings& rules, const PayDay& date,
                               const DayCells& typed) {
    const std::int32_t wt = wages.WorkType;
    ClassifiedDay day{StartRow(date, typed, kClockOutColumn), {}};
    DayRow& row = day.row;
    row.holiday = IsWeeklyHoliday(wages, date.weekday);
    row.halfHoliday = date.weekday == wages.HalfHoliday;
    const ReadRow read = Read(typed);
    row.complete =
        IsCompleteDailyDay(wt, read.filled[kClockInColumn], read.filled[kClockOutColumn]);
    if (!row.complete) {
        return day;  // its class cells stay empty
    }
    const DailyDay measured = MeasureDailyDay(bounds, wt, read.minutes[kClockInColumn],
                                              read.minutes[kClockOutColumn], row.halfHoliday);
    const std::array<std::int32_t, 4>& m = measured.minutes;
    const std::array<std::int32_t, 5> values{m[0], m[1], m[2], m[3], m[0] + m[1] + m[2] + m[3]};
    for (int k = 0; k < 5; ++k) {
        const int column = kEarlyMorningColumn + k;
        if (IsColumnUnused(wt, column)) {
            continue;
        }
        const std::int32_t shown =
            rules.FractionsHandle == 0
                ? RoundMinutes(values[k], rules.TimeAdjustFigure, rules.OvertimeWorkFigure)
                : values[k];
        SetClockText(row.cells[column], shown);
        if (k < 4) {
            day.shown[k] = shown;
        }
    }
    return day;
}

// The month of a daily wage: each class's sums rounded (whatever FractionsHandle
// says; sums of day-rounded values are whole units already), priced at the
// weekday and the holiday rate, and the totals.
void SumDailyMonth(MonthResult& result, const DailyWagesRecord& wages, const CalcSetSettings& rules,
                   const ClassMinutes& weekdaySums, const ClassMinutes& holidaySums) {
    const std::int32_t unit = rules.OvertimeWorkFigure;
    const std::int32_t mode = rules.TimeAdjustFigure;
    const std::array<std::int32_t, 4> weekdayRates{wages.WeekdayEarMornPay, wages.WeekdayMorningPay,
                                                   wages.WeekdayOverPay, wages.WeekdayNightPay};
    const std::array<std::int32_t, 4> holidayRates{wages.HolidayEarMornPay, wages.HolidayMorningPay,
                                                   wages.HolidayOverPay, wages.HolidayNightPay};
    std::int64_t weekdayMinutes = 0;
    std::int64_t holidayMinutes = 0;
    std::int64_t weekdayYen = 0;
    std::int64_t holidayYen = 0;
    for (int k = 0; k < 4; ++k) {
        ClassSum sum;
        sum.column = kEarlyMorningColumn + k;
        sum.caption = result.captions[sum.column];
        sum.used = !IsColumnUnused(wages.WorkType, sum.column);
        sum.weekdayRate = weekdayRates[k];
        sum.holidayRate = holidayRates[k];
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
}

// --- hourly wage --------------------------------------------------------------

struct HourlyDay {
    DayRow row;
    std::array<std::int32_t, 3> minutes{};  // by band, rounded; 0 for a day that does not count
    std::array<std::int64_t, 3> yen{};
};

// One day of an hourly month: it counts with clock-in and clock-out, and with
// both break cells or neither ("1111" or "1001"); its minutes by band, each
// rounded, priced at the band's rate of the day, and their sum in the total
// column.
HourlyDay ClassifyHourlyDay(const TimeWagesRecord& wages, const CalcSetSettings& rules,
                            const BandCounter& counter, const PayDay& date, const DayCells& typed) {
    HourlyDay day{StartRow(date, typed, kHourlyClockOutColumn), {}, {}};
    DayRow& row = day.row;
    const ReadRow read = Read(typed);
    const std::array<bool, 5>& f = read.filled;
    const bool withBreak = f[1] && f[2] && f[3] && f[4];
    row.complete = withBreak || (f[1] && !f[2] && !f[3] && f[4]);
    if (!row.complete) {
        return day;  // no figures, like a daily-wage day
    }
    const BandMinutes counted = counter.CountDay(
        read.minutes[kHourlyClockInColumn], read.minutes[kBreakStartColumn],
        read.minutes[kBreakEndColumn], read.minutes[kHourlyClockOutColumn], withBreak);
    std::int32_t dayTotal = 0;
    for (int d = 0; d < 3; ++d) {
        const std::int32_t unit = rules.OvertimeWorkFigure;
        day.minutes[d] = RoundMinutes(counted[d], rules.TimeAdjustFigure, unit);
        if (!IsColumnUnused(wages.WorkType, kBand1Column + d)) {
            SetClockText(row.cells[kBand1Column + d], day.minutes[d]);
        }
        day.yen[d] =
            WageForMinutes(day.minutes[d], BandRateOfDay(wages, d + 1, date.weekday), unit);
        dayTotal += day.minutes[d];
    }
    SetClockText(row.cells[kHourlyTotalColumn], dayTotal);
    return day;
}

// The month of an hourly wage: the day-rounded band minutes and their yen,
// summed without rounding again.
void SumHourlyMonth(MonthResult& result, const std::array<std::int64_t, 3>& minutes,
                    const std::array<std::int64_t, 3>& yen) {
    std::int64_t totalMinutes = 0;
    std::int64_t totalYen = 0;
    for (int d = 0; d < 3; ++d) {
        BandSum sum;
        sum.band = d + 1;
        sum.column = kBand1Column + d;
        sum.shown = !IsColumnUnused(result.workType, sum.column);
        sum.minutes = static_cast<std::int32_t>(minutes[d]);
        sum.yen = static_cast<std::int32_t>(yen[d]);
        totalMinutes += sum.minutes;
        totalYen += sum.yen;
        result.bands.push_back(sum);
    }
    result.totals.TotalOverMinutes = static_cast<std::int32_t>(totalMinutes);
    result.totals.TotalOverPay = static_cast<std::int32_t>(totalYen);
    result.totalsTexts = MakeTotalsTexts(result.totals, false);
}

}  // namespace

MonthResult CalcMonth(const MonthInput& input) {
    if (input.payScheme == PayScheme::Hourly) {
        return CalcHourlyMonth(input.hourly, input.rules, input.period, input.cells);
    }
    return CalcDailyMonth(input.daily, input.rules, input.period, input.cells);
}

MonthResult CalcDailyMonth(const DailyWagesRecord& wages, const CalcSetSettings& rules,
                           const std::vector<PayDay>& period, const std::vector<DayCells>& cells) {
    MonthResult result = StartMonth(PayScheme::Daily, wages.WorkType);
    const DailyBounds bounds = MakeDailyBounds(wages);
    ClassMinutes weekdaySums{};
    ClassMinutes holidaySums{};
    result.days.reserve(period.size());
    for (std::size_t i = 0; i < period.size(); ++i) {
        ClassifiedDay day = ClassifyDailyDay(wages, bounds, rules, period[i], TypedRow(cells, i));
        if (day.row.complete) {
            ++result.totals.WorkDays;
            result.totals.HolidayWorkDays += day.row.holiday ? 1 : 0;
            ClassMinutes& sums = day.row.holiday ? holidaySums : weekdaySums;
            for (int k = 0; k < 4; ++k) {
                sums[k] += day.shown[k];
            }
        }
        result.days.push_back(std::move(day.row));
    }
    SumDailyMonth(result, wages, rules, weekdaySums, holidaySums);
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
    if (PaysOneRate(wt)) {
        return wages.TimePay;
    }
    // Two bands pay band 3, which never has minutes, at the band-2 rate.
    const int slotBand = BandCount(wt) == 2 && band == 3 ? 2 : band;
    return BandWeekdayRate(wages, slotBand, HasWeekdayRates(wt) ? weekday : 1);
}

MonthResult CalcHourlyMonth(const TimeWagesRecord& wages, const CalcSetSettings& rules,
                            const std::vector<PayDay>& period, const std::vector<DayCells>& cells) {
    MonthResult result = StartMonth(PayScheme::Hourly, wages.WorkType);
    const BandCounter counter(MakeBandBounds(wages.WorkType, wages.ChargeDivideTime1,
                                             wages.ChargeDivideTime2, wages.ChargeDivideTime3));
    std::array<std::int64_t, 3> minutes{};
    std::array<std::int64_t, 3> yen{};
    result.days.reserve(period.size());
    for (std::size_t i = 0; i < period.size(); ++i) {
        HourlyDay day = ClassifyHourlyDay(wages, rules, counter, period[i], TypedRow(cells, i));
        if (day.row.complete) {
            ++result.totals.WorkDays;
            for (int d = 0; d < 3; ++d) {
                minutes[d] += day.minutes[d];
                yen[d] += day.yen[d];
            }
        }
        result.days.push_back(std::move(day.row));
    }
    SumHourlyMonth(result, minutes, yen);
    return result;
}

}  // namespace pb
