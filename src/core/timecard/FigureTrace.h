#pragma once
// How each figure of a calculated month came about, for the operator to read:
// which stretch of the day fell into which overtime class or time band, how
// the minutes were rounded and by which rule, and how the yen follow from the
// minutes and the rate. It only explains: the figures themselves are those of
// `CalcMonth`, and nothing here changes them.

#include <cstdint>
#include <string>
#include <vector>

#include "core/timecard/MonthCalc.h"

namespace pb {

// A stretch of clock time [from, to), minutes from the day's midnight: below 0
// is the day before, from 1440 on the day after.
struct TraceSpan {
    std::int32_t from = 0;
    std::int32_t to = 0;
    std::int32_t minutes = 0;  // what the stretch adds to its class or band
};

// One computed cell of a day row.
struct CellTrace {
    int column = 0;
    std::string name;  // "早朝", "深夜", "合計", "区分1" …
    std::vector<TraceSpan> spans;
    std::int32_t counted = 0;  // before rounding
    std::int32_t shown = 0;    // the cell's minutes
    bool roundedHere = false;  // rounded on the day (else left for the month)
    bool priced = false;       // hourly bands are priced day by day
    std::int32_t rate = 0;     // yen an hour
    std::int32_t yen = 0;
};

struct DayTrace {
    // How the rules read the clock times of the day, in the operator's words.
    std::vector<std::string> notes;
    // Set when a clock-in later than the regular start was taken as the evening
    // before (daily wage): almost always a late arrival typed in the wrong cell.
    bool clockInTakenAsEveningBefore = false;
    std::vector<CellTrace> cells;  // empty for a day that is not complete
};

// One figure of the month summary: a class on weekdays or holidays, or a band.
struct SumTrace {
    int column = 0;
    std::string name;
    bool holiday = false;
    int days = 0;              // days with minutes in it
    std::int32_t daySum = 0;   // the sum of those days' cells
    std::int32_t minutes = 0;  // the month's figure
    bool roundedHere = false;  // daily wage: the month sum is rounded
    std::int32_t rate = 0;     // daily wage: one rate for the month
    std::int32_t yen = 0;
};

struct MonthTrace {
    PayScheme payScheme = PayScheme::Daily;
    CalcSetSettings rules;
    std::vector<DayTrace> days;  // one per day row
    std::vector<SumTrace> sums;  // daily: weekday classes, then holiday classes; hourly: bands
};

MonthTrace TraceMonth(const MonthInput& input, const MonthResult& result);

// How many days of a daily-wage month had their clock-in taken as the evening
// before (`clockInTakenAsEveningBefore`), without tracing the whole month: a
// table of every employee asks it of each month. 0 for an hourly month.
int CountClockInsTakenAsEveningBefore(const MonthInput& input, const MonthResult& result);

// "15分単位・四捨五入・日毎に丸め" — the unit, the mode and when it is applied.
std::string RoundingRuleText(const CalcSetSettings& rules, PayScheme payScheme);

// "22:00–24:00"; times before the day's midnight read "前日05:00", after the
// next one "翌01:30".
std::string SpanText(const TraceSpan& span);

// How `WageForMinutes(minutes, rate, unit)` comes out, e.g.
// "10:30 → ¥1,000 × 10時間 + ¥250 × 2（15分あたり ¥1,000 ÷ 4、円未満切り捨て） = ¥10,500".
std::string YenText(std::int32_t minutes, std::int32_t rate, std::int32_t unit);

// The explanation of cell `column` of day row `row` (1-based) as lines of text;
// "" for a cell that is not computed or a day that is not complete.
std::string CellTraceText(const MonthTrace& trace, std::size_t row, int column);

// The explanation of the summary figure of `column`: minutes and yen of the
// class or band (both weekday and holiday for a daily class), or of the totals
// for the total column.
std::string SumTraceText(const MonthTrace& trace, int column);

// Notes beside the month's totals, none of which changes a figure: overtime
// of a daily-wage month above 45 hours (the usual monthly limit of an overtime
// agreement) and above 60 hours (beyond which the legal premium is 50%), and
// overtime rounded day by day (rounding the month's total is the accepted way).
struct MonthNote {
    std::string mark;  // a few words to stand beside the figures: "月45時間超"
    std::string text;  // what it means and what to do about it
};
std::vector<MonthNote> MonthNotes(const MonthTrace& trace, const MonthResult& result);

}  // namespace pb
