#pragma once
// One pay month of every employee of a pay scheme, one row each, as the month
// overview shows it: stored or not, refused with the reason, and the month's
// figures as the entry window calculates them, with the notes the operator
// should look at (overtime over 45 or 60 hours, clock-ins taken as the
// evening before). The rows and their cells are the window's and the CSV's.

#include <cstdint>
#include <string>
#include <vector>

#include "core/model/Settings.h"
#include "core/store/DataFiles.h"
#include "core/timecard/MonthCalc.h"

namespace pb {

enum class OverviewState {
    Stored,     // the month record is there and opens
    NotStored,  // nothing typed for this month yet
    Refused,    // stored, but the month road refuses it (see `refusal`)
};

struct OverviewRow {
    std::string id;
    std::string name;
    PayScheme payScheme = PayScheme::Daily;
    OverviewState state = OverviewState::NotStored;
    std::string refusal;  // Refused: why, naming the file
    // Stored: the calculation's totals, and the month's minutes and yen per
    // class (daily wage: 早朝, 早出, 普通, 深夜, weekdays and holidays together)
    // or per band (hourly wage: 区分1 … 3).
    MonthTotals totals;
    std::vector<std::int32_t> minutes;
    std::vector<std::int32_t> yen;
    // Daily wage: the days whose clock-in, later than the regular start, was
    // counted as the evening before.
    int lateClockIns = 0;
};

struct MonthOverview {
    PayScheme scheme = PayScheme::Daily;
    std::int32_t year = 0;
    std::int32_t month = 0;
    std::vector<OverviewRow> rows;  // ID order
};

// Month `month` of `year` of every employee of `scheme`. Only that month's
// records are read (through the year's index) and each master file once. A
// month the month road refuses becomes a Refused row; a file that cannot be
// read at all throws FileError (DamagedFileError when ragged), as every month
// of it would be wrong.
MonthOverview CollectMonthOverview(const DataFiles& files, const CalcSetSettings& rules,
                                   PayScheme scheme, std::int32_t year, std::int32_t month);

struct OpenedMonth;
// The row of a month as OpenMonth (mustBeStored) opened it; a status other
// than Opened gives NotStored or Refused with RefusalText, under `scheme`.
OverviewRow OverviewRowOf(const OpenedMonth& opened, const DataFiles& files, PayScheme scheme);
// The row of a month the month road refused with `why` (RecordOutOfRange).
OverviewRow RefusedRow(const std::string& id, const std::string& name, PayScheme scheme,
                       const std::string& why);

// "18 / 25 記録済み": stored months (refused ones count, they are stored) of all rows.
std::string StoredCountText(const MonthOverview& overview);

// The words of a state: "記録済み", "未記録", "開けません".
std::string StateText(OverviewState state);

// Overtime of a daily-wage month above these is noted (a month's 総残業時間).
constexpr std::int32_t kAgreementMonthLimit = 45 * 60;  // the usual limit of an overtime agreement
constexpr std::int32_t kHigherPremiumLimit = 60 * 60;   // beyond it the premium is 50%

// The notes of a row, each a few words: "月60時間超", "前日扱いの出社 2日".
std::vector<std::string> OverviewNotes(const OverviewRow& row);

// One cell of the table: what it shows, what the CSV holds, and for figures
// the number it sorts by.
struct OverviewCell {
    std::string text;
    std::string csv;
    bool numeric = false;
    std::int64_t number = 0;
};

// The column captions of a scheme's table: 従業員番号, 氏名, 状態, 勤務日数,
// (daily: 休日勤務, 早朝残業, 早出残業, 普通残業, 深夜残業; hourly: 区分１ …
// 区分３), 総残業時間, 総残業賃金, 注意.
std::vector<std::string> OverviewCaptions(PayScheme scheme);

// The cells of a row under those captions. Figures are empty for a month
// that is not stored or refused; 注意 then holds the reason of a refusal.
std::vector<OverviewCell> OverviewCells(const OverviewRow& row, PayScheme scheme);

// The table as CSV text (UTF-8, CRLF): the captions, a row per employee,
// minutes "hh:mm" and yen as plain numbers.
std::string OverviewCsv(const MonthOverview& overview);

}  // namespace pb
