#pragma once
// Month totals of several employee-months in one table, one row each, in the
// layout payroll programs import: one month of every employee of a pay scheme,
// or every month of one employee's year. The figures are the calculation's,
// exactly as the entry window and the month export show them.

#include <cstdint>
#include <string>
#include <vector>

#include "core/model/Settings.h"
#include "core/store/DataFiles.h"
#include "core/timecard/MonthCalc.h"

namespace pb {

struct SummaryRow {
    std::int32_t year = 0;
    std::int32_t month = 0;
    std::string id;
    std::string name;
    PayScheme payScheme = PayScheme::Daily;
    MonthTotals totals;
    std::vector<ClassSum> classes;  // daily wage
    std::vector<BandSum> bands;     // hourly wage
};

struct SummaryTable {
    // The columns of one scheme, or of both.
    SchemeFilter scheme = kBothSchemes;
    std::vector<SummaryRow> rows;
    // What has no row, for the operator: "003 山田 花子: 記録がありません".
    std::vector<std::string> missing;
};

// Month `month` of `year` of every employee of `scheme` (one, or both),
// in ID order. Employees without a stored month are listed in `missing`.
// Throws FileError (DamagedFileError for a damaged file) when a file cannot be
// read: a table with a row silently left out would be paid wrong.
SummaryTable CollectSchemeMonth(const DataFiles& files, const CalcSetSettings& rules,
                                SchemeFilter scheme, std::int32_t year, std::int32_t month);

// Every stored month 1 … 12 of `year` of one employee; the months not stored
// are listed in `missing`. Throws like CollectSchemeMonth.
SummaryTable CollectEmployeeYear(const DataFiles& files, const CalcSetSettings& rules,
                                 const std::string& id, std::int32_t year);

// The table as CSV text (UTF-8, CRLF): a header row, then one row per month:
// 年, 月, 従業員番号, 氏名, 給与体系 (日給制 / 時給制), 勤務日数, 休日勤務日数,
// then for daily wage the time and yen of each class on weekdays and on
// holidays (早朝残業(平日)時間, 早朝残業(平日)賃金, 早朝残業(休日)時間 …, 深夜残業(休日)賃金),
// for hourly wage the time and yen of each band (区分1時間, 区分1賃金 …), and
// 総残業時間, 総残業賃金. Times "hh:mm", yen plain numbers; a scheme's columns
// stay empty in the other scheme's rows.
std::string SummaryCsv(const SummaryTable& table);

}  // namespace pb
