#pragma once
// The texts a calculated month is exported as (punchbook-export, and the entry
// window's export): a JSON object whose shape other programs rely on, or a CSV
// table for spreadsheets.

#include <string>

#include "core/month/MonthLoader.h"
#include "core/timecard/FigureTrace.h"
#include "core/timecard/MonthCalc.h"

namespace pb {

// One JSON object, keys in this order, texts UTF-8, ending in a newline:
//   id, name, pay_scheme (1 daily, 2 hourly), wages_generation (0 = in force),
//   work_type, year, month,
//   rules {unit, rounding, per_month, end_of_month_payment} (the settings),
//   columns: the captions of grid columns 1 to the last,
//   days [{date "YYYY-MM-DD", label "mm/dd(曜)", weekday (1 = Sunday), holiday,
//          half_holiday (both false for hourly wage), national_holiday (the
//          name of the day's national holiday or null; a mark only, the pay
//          follows the weekly holidays), cells: the texts of columns 1 to the
//          last as the grid shows them}],
//   classes (daily wage; columns 3 … 6) [{column, caption, used, weekday_minutes,
//          holiday_minutes, weekday_yen, holiday_yen}],
//   bands (hourly wage; bands 1 … 3) [{band, column, minutes, yen}],
//   totals {work_days, holiday_work_days, total_minutes, total_yen,
//           holiday_minutes, holiday_yen}.
// Minutes and yen are numbers; the month sums are those after rounding.
//
// With `trace` (the month's `TraceMonth`), each day also gets
//   trace {notes: [texts], cells: [{column, name, spans [{from, to, minutes,
//          text "22:00–23:40"}], counted, minutes, rounded, rate, yen, text}]}
// (spans in minutes from the day's midnight, below 0 the day before; rate and
// yen for hourly bands only, 0 otherwise; text as the window's tool tip), and
// the object ends with
//   trace {rounding "15分単位・四捨五入・日毎に丸め", sums [{column, name,
//          holiday, days, day_sum, minutes, rate, yen, text}]}.
std::string MonthJson(const OpenedMonth& month, const MonthResult& result,
                      const MonthTrace* trace = nullptr);

// The input an export calculates: the opened month with every stored text that
// is not a valid time emptied, as the entry window empties it before a print.
MonthInput ExportInput(const OpenedMonth& month);

// A header row and one row per day (the date "YYYY-MM-DD", the label
// "mm/dd(曜)" and the cells), then the sums per class or band and the totals,
// each block under its own header row; UTF-8, CRLF. Headings are the captions
// without the spaces that pad them in the grid ("合計", "区分１"). Minutes are
// "hh:mm", yen plain numbers so that spreadsheets can add them.
std::string MonthCsv(const OpenedMonth& month, const MonthResult& result);

// The file of an opened month as punchbook-export writes it and the window's
// export saves it: calculated from ExportInput, then JSON (with the trace when
// asked) or CSV in UTF-8 with a byte-order mark or in Shift-JIS.
struct MonthFileFormat {
    bool json = false;
    bool trace = false;     // JSON only
    bool shiftJis = false;  // CSV only
};
std::string MonthFileBytes(const OpenedMonth& month, const MonthFileFormat& format);

}  // namespace pb
