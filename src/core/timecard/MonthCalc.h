#pragma once
// The hours and wage calculation of one pay month, for either pay scheme.
//
// Everything here is a pure function of its input: the wage record, the four
// calculation rules, the pay period and the texts typed into each day row go in;
// the text of every cell of every day row, the month's sums per overtime class
// or time band, their yen and the month totals come out. Nothing is read from a
// file and nothing is kept between runs, so the entry window simply renders the
// result of each run, and the report and the exporter use the same figures.
//
// Daily wage (pay scheme 1): only overtime is measured, split into the classes
// 早朝 (early morning), 早出 (early start), 普通 (ordinary) and 深夜 (late night),
// weekdays and weekly holidays apart. Hourly wage (pay scheme 2): all worked
// time, less an optional break, split into up to three time bands.

#include <cstdint>
#include <string>
#include <vector>

#include "core/model/PayScheme.h"
#include "core/model/Records.h"
#include "core/model/Settings.h"
#include "core/timecard/BandCounter.h"
#include "core/timecard/PayPeriod.h"
#include "core/timecard/TimeCells.h"

namespace pb {

// Everything one run needs. `cells[i]` holds the texts of day row i + 1 (the
// date `period[i]`); only the columns typed into are read (daily 1 and 2,
// hourly 1 … 4), the others are ignored and computed afresh. Rows missing from
// `cells` count as empty.
struct MonthInput {
    PayScheme payScheme = PayScheme::Daily;
    DailyWagesRecord daily;  // used for the daily wage
    TimeWagesRecord hourly;  // used for the hourly wage
    CalcSetSettings rules;   // the settings' calculation rules, read at each run
    std::vector<PayDay> period;
    std::vector<DayCells> cells;
};

// One day row after the calculation.
struct DayRow {
    // A row starts with its date and its label.
    explicit DayRow(const PayDay& day) : date(day), cells{DayLabel(day)} {}

    PayDay date;
    bool holiday = false;      // daily wage: the weekday is `Holiday1`, `Holiday2` or `Holiday3`
    bool halfHoliday = false;  // daily wage: the weekday is `HalfHoliday`
    bool complete = false;     // counted in `WorkDays`
    // Every column as the grid shows it: [0] the label "mm/dd(曜)", the typed
    // columns as given (the blank mask "  :  " shown as empty), the computed
    // columns as "hh:mm" or empty (a day that is not complete, or an unused
    // column). Negative minutes, which sane records never produce, read "-hh:mm".
    DayCells cells;
};

// One daily-wage overtime class over the month.
struct ClassSum {
    int column = 0;  // 3 早朝残業, 4 早出残業, 5 普通残業, 6 深夜残業
    std::string caption;
    bool used = false;  // not `IsColumnUnused`: an unused class stays at 0 minutes and 0 yen
    std::int32_t weekdayRate = 0;  // yen per hour
    std::int32_t holidayRate = 0;
    // The month's sums of the class cells, rounded to the unit.
    std::int32_t weekdayMinutes = 0;
    std::int32_t holidayMinutes = 0;
    std::int32_t weekdayYen = 0;
    std::int32_t holidayYen = 0;
};

// One hourly-wage time band over the month.
struct BandSum {
    int band = 0;              // 1 … 3
    int column = 0;            // 5, 6, 7
    bool shown = false;        // the pattern has the band (its column is not unused)
    std::int32_t minutes = 0;  // the sum of the day-rounded minutes
    std::int32_t yen = 0;
};

// The month totals, under the names of the month record fields that keep them.
struct MonthTotals {
    std::int32_t WorkDays = 0;          // 総勤務日数
    std::int32_t HolidayWorkDays = 0;   // 休日勤務 (daily wage only)
    std::int32_t TotalOverMinutes = 0;  // 総残業時間
    std::int32_t TotalOverPay = 0;      // 総残業賃金
    std::int32_t HolidayMinutes = 0;    // holiday overtime minutes (daily wage only)
    std::int32_t HolidayPay = 0;        // holiday overtime yen (daily wage only)
};

// The four figures of the entry window's totals box, as it shows them.
struct TotalsTexts {
    std::string totalMinutes;  // 総残業時間, "hh:mm"
    std::string totalYen;      // 総残業賃金, "¥10,750"
    std::string workDays;  // 総勤務日数: two digits for daily wage ("01"), plain for hourly ("1")
    std::string holidayWorkDays;  // 休日勤務, two digits
};

struct MonthResult {
    PayScheme payScheme = PayScheme::Daily;
    std::int32_t workType = 0;
    // Row 0 of the entry grid: [0] the work pattern as two digits, then the
    // column captions; 8 entries for daily wage, 9 for hourly wage.
    std::vector<std::string> captions;
    std::vector<DayRow> days;       // one per date of the period, in order
    std::vector<ClassSum> classes;  // daily wage: columns 3, 4, 5, 6 in this order; else empty
    std::vector<BandSum> bands;     // hourly wage: bands 1, 2, 3; else empty
    MonthTotals totals;
    TotalsTexts totalsTexts;
};

// Runs the calculation of the input's pay scheme (any scheme but 2 is daily).
// The entry window's needs-recalculation flag stays with the window: it calls
// this when the flag is set and then clears it.
MonthResult CalcMonth(const MonthInput& input);

MonthResult CalcDailyMonth(const DailyWagesRecord& wages, const CalcSetSettings& rules,
                           const std::vector<PayDay>& period, const std::vector<DayCells>& cells);

// Hourly months always round each day's band minutes; `FractionsHandle` plays no
// part.
MonthResult CalcHourlyMonth(const TimeWagesRecord& wages, const CalcSetSettings& rules,
                            const std::vector<PayDay>& period, const std::vector<DayCells>& cells);

// The registered rate of band `band` (1 … 3) on weekday `weekday` (1 = Sunday):
// `Band1Pays` … `Band3Pays`. 0 outside those ranges.
std::int32_t BandWeekdayRate(const TimeWagesRecord& wages, int band, std::int32_t weekday);

// The rate a day's minutes of `band` are paid at, by work pattern: `TimePay`
// for one-rate patterns (8, 9), the band's first slot for patterns without
// weekday rates (10 … 13), the weekday's slot for 14 … 19; two-band patterns
// pay band 3 (which never has minutes) at the band-2 rate.
std::int32_t BandRateOfDay(const TimeWagesRecord& wages, int band, std::int32_t weekday);

}  // namespace pb
