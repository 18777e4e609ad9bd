#pragma once
// One employee's twelve pay months of a year with the month's days, minutes by
// class or band and yen, and beside them the limits of the overtime-agreement
// rules as hints: months over 45 hours (more than six in a year), the year
// over 360 and over 720 hours, a month over 100 hours, and two to six
// consecutive months averaging over 80 hours. The hints only look at the
// figures; nothing here changes them.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/overview/MonthOverview.h"

namespace pb {

// Months 1 … 12 as the overview shows a month (`id` and `name` the employee's).
struct EmployeeYear {
    std::string id;
    std::string name;
    std::int32_t year = 0;
    PayScheme scheme = PayScheme::Daily;  // the employee's pay scheme
    std::vector<OverviewRow> months;      // 12, month m at [m - 1]
};

// A run of consecutive months whose overtime averages over 80 hours.
struct AverageRun {
    int first = 0;                    // pay month it starts with
    int months = 0;                   // 2 … 6
    std::int32_t averageMinutes = 0;  // truncated
};

// The hints of a year, from each month's overtime minutes (daily wage: the
// month's 総残業時間; a month not stored counts 0).
struct YearHints {
    std::vector<int> monthsOver45;
    bool tooManyOver45 = false;  // more than 6
    std::int32_t yearMinutes = 0;
    bool over360 = false;
    bool over720 = false;
    std::vector<int> monthsOver100;
    std::vector<AverageRun> averagesOver80;
};

constexpr int kMonthsOver45Allowed = 6;
constexpr std::int32_t kYearAgreementLimit = 360 * 60;
constexpr std::int32_t kYearSpecialLimit = 720 * 60;
constexpr std::int32_t kMonthCeiling = 100 * 60;
constexpr std::int32_t kAverageCeiling = 80 * 60;

YearHints MakeYearHints(const std::array<std::int32_t, 12>& overtime);

// The employee's months of `year`, each read and calculated as the overview
// reads it (a refused month is a Refused row). Throws FileError when a file
// cannot be read.
EmployeeYear CollectEmployeeYearMonths(const DataFiles& files, const CalcSetSettings& rules,
                                       const std::string& id, std::int32_t year);

// Overtime of each month as the hints take it; all 0 for an hourly wage,
// whose bands are hours worked.
std::array<std::int32_t, 12> YearOvertimeMinutes(const EmployeeYear& year);

// The hints as lines for the operator, each saying what was found and which
// limit it is about; "" lines are not given. An hourly wage gets one line
// saying there is no overtime to look at.
std::vector<std::string> YearHintLines(const EmployeeYear& year, const YearHints& hints);

// The year's sums of the stored months as one row (state Stored).
OverviewRow YearTotalRow(const EmployeeYear& year);

// The column captions of the year table: 月, 状態, then the overview's
// figure columns and 注意.
std::vector<std::string> YearCaptions(PayScheme scheme);
// The cells of a month under those captions; `month` 0 for the totals row (合計).
std::vector<OverviewCell> YearCells(const EmployeeYear& year, const OverviewRow& row, int month);

// The year as CSV (UTF-8, CRLF): the table, a totals row, an empty row, then
// one row per hint line.
std::string YearCsv(const EmployeeYear& year);

}  // namespace pb
