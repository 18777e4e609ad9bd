#pragma once
// The rows of the summary grid below the entry grid: band times, rates, and the
// month's minutes and yen per class or band, as the entry window and the
// monthly report show them.

#include <cstdint>
#include <vector>

#include "core/timecard/MonthCalc.h"

namespace pb {

// The summary rows, each indexed by grid column like a day row ([0] the row
// caption). Daily wage with weekly holidays (`Holiday` set): 時間区分, 平日時給,
// 休日時給, 平日残業, 休日残業, 平日賃金, 休日賃金; daily wage without: 時間区分,
// 時給, 残業, 賃金 (weekday figures only); hourly wage: 時間区分, 時給金額,
// 勤務時間, 賃金. The minutes and yen rows carry their sum in the total column
// (7 daily, 8 hourly).
//
// `currentWeekday` is the weekday of the grid's current row (1 = Sunday; 0 for
// none): on the half holiday the 普通残業 band time is the half-day finish, and
// hourly patterns 16 … 19 show that weekday's rates.
//
// Row 0 fills only columns that are not unused; the other rows fill every class
// or band column, and the window draws an unused column's texts invisibly.
std::vector<DayCells> SummaryRows(const MonthInput& input, const MonthResult& result,
                                  std::int32_t currentWeekday);

}  // namespace pb
