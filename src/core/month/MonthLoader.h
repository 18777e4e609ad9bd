#pragma once
// One employee's pay month between the files and the calculation: opening it
// (the stored month record if any, the wage record of its generation, the pay
// period, the typed cells copied from the record, ready for `CalcMonth`) and
// the month record that stores a calculated month again. The entry window and
// the exporter both open months here, so they show and refuse the same months.

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/model/PayScheme.h"
#include "core/store/DataFiles.h"
#include "core/store/Records.h"
#include "core/store/Settings.h"
#include "core/timecard/MonthCalc.h"

namespace pb {

enum class OpenMonthStatus {
    Opened,
    EmployeeNotFound,  // the ID is not in "Name.dat"
    MonthNotStored,    // asked for a stored month, and the year's file holds none
    WagesNotFound,     // no wage record of the month's generation (or none in force)
};

struct OpenedMonth {
    OpenMonthStatus status = OpenMonthStatus::Opened;
    std::string id;
    std::string name;  // `FindEmployeeName(ID, kBothSchemes)`
    std::int32_t year = 0;
    std::int32_t month = 0;
    bool stored = false;  // a month record was found
    // The month record as loaded; all zero for a month not yet stored.
    MonthRecord record;
    // The generation of the wage record used: the record's `WagesGeneration`
    // (0 = the one in force) or 0 for a new month.
    std::int32_t wagesGeneration = 0;
    // Pay scheme, wage record, rules, pay period and typed cells.
    MonthInput input;
};

// A month record or wage record with a field outside what this program writes:
// the one employee's month is refused, the file as a whole may still be read.
class RecordOutOfRange : public FileError {
  public:
    using FileError::FileError;
};

// Opens the month. A month that is not stored opens empty with the employee's
// pay scheme and the wage record in force, unless `mustBeStored` is set, which
// gives `MonthNotStored` instead. `rules` are the settings' calculation rules.
//
// Throws FileError when a file cannot be read, and DamagedFileError when one of
// the files it reads ("Name.dat", the wage file, the year's file) is not a whole
// number of records: a damaged month must not be shown as an empty one. A
// month record or wage record with a field outside what this program writes
// (store/RecordRanges.h) is damaged too: FileError naming the file, the
// employee and the fields, so no month is paid by figures nobody entered.
OpenedMonth OpenMonth(const DataFiles& files, const CalcSetSettings& rules, const std::string& id,
                      std::int32_t year, std::int32_t month, bool mustBeStored);

// The month of every employee of `scheme` (one scheme, or both), in ID order, each
// handed to `each` as OpenMonth opens it: the same statuses, refusals and
// exceptions. "Name.dat" and each wage file are read once and each month
// record through the year's index, so the work grows with the employees.
// With `refused`, a month whose record lies outside what this program writes
// goes there (ID, name, the refusal) and the others are opened all the same:
// a table of every employee shows which month cannot be opened and why.
using RefusedMonth =
    std::function<void(const std::string& id, const std::string& name, const FileError& why)>;
void OpenSchemeMonths(const DataFiles& files, const CalcSetSettings& rules, SchemeFilter scheme,
                      std::int32_t year, std::int32_t month, bool mustBeStored,
                      const std::function<void(const OpenedMonth&)>& each,
                      const RefusedMonth& refused = nullptr);

// Why a month that did not open cannot be shown, naming the file in which the
// employee, the month or the wage record was looked for. Empty for an opened month.
std::string RefusalText(const OpenedMonth& month, const DataFiles& files);

// A month that cannot be opened, for a caller that cannot show it: what() is
// the RefusalText.
class MonthRefused : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The Enter-key table of the month's work pattern; all zeros (the cursor
// stays) when "NextCell.dat" or the table is missing.
NextCellRecord EnterKeyMoves(const DataFiles& files, std::int32_t workType);

// `record` brought up to date from a calculated month, as the entry window
// saves and prints it: the month's identity, one cell text per grid column and
// day row as `result` shows it (at most five characters; columns and rows
// outside the grid emptied) and the totals of `result`. The holiday figures are
// written only for a daily-wage month with weekly holidays; otherwise they keep
// the values `record` holds. Typed cells that are not valid times must have
// been emptied before the calculation.
MonthRecord UpdatedMonthRecord(MonthRecord record, const OpenedMonth& month,
                               const MonthResult& result);

// The typed cells of the month record as the entry window loads them: daily
// wage column 1 unless the pattern has no clock-in (0, 3) and column 2 unless
// it has no clock-out (1, 4); hourly wage columns 1 … 4. `days` rows, at most 31.
std::vector<DayCells> TypedCellsOf(const MonthRecord& record, PayScheme payScheme,
                                   std::int32_t workType, std::size_t days);

}  // namespace pb
