#pragma once
// Importing clock times read from a CSV file (ClockCsv) into the employees'
// months: first a plan that changes nothing, then the write.
//
// The plan finds each row's employee and pay month (the employee's closing day
// decides it, as the entry window's pay period does), lists per month the days
// that will be filled and those that differ from what is stored, with the
// stored and the new times side by side, and every row it refuses with its
// line and why. Whether the stored times of a differing day are kept or
// replaced is chosen once for the whole import.
//
// How a window shows it (the import dialog over the core):
//  - ReadClockCsvBytes, then SplitCsv for a preview of the first rows while the
//    operator chooses the layout (the settings' [Import] keys remember it);
//    ReadClockTable with the chosen layout; ClockCsvError is a message box
//    naming the line, and nothing else happens.
//  - PlanImport; show Months() (per month FilledDays(), the DifferingDays()
//    with stored and incoming cells of `Columns()` side by side) and Refused().
//  - The operator chooses keep or replace (an ImportChoice) and confirms:
//    WriteImport(files, plan, choice) writes it all in one transaction and
//    gives the report; every window showing one of Report().months follows.
//    A read-only copy offers no import (the write would be refused, naming the
//    year's file). ImportOutdated: a month changed since the plan (another
//    window saved it); plan again.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/import/ClockCsv.h"
#include "core/month/MonthLoader.h"
#include "core/store/DataFiles.h"
#include "core/timecard/PayPeriod.h"
#include "core/timecard/TimeCells.h"

namespace pb {

enum class ImportChoice {
    Keep,     // a day that differs keeps the stored times
    Replace,  // it takes the file's
};

struct ImportOptions {
    // The employee of a file without an ID column (the program's month CSV).
    std::string id;
    // The pay month of dates written without a year (older month CSVs).
    std::int32_t payYear = 0;
    std::int32_t payMonth = 0;
};

// One day an import changes.
struct ImportDay {
    int line = 0;  // of the file
    int row = 0;   // the day's row in the pay month, 1 = the first day
    PayDay date;
    DayCells stored;    // the typed columns as stored
    DayCells incoming;  // as the import makes them
    // The stored day holds times the import would change or empty: only
    // ImportChoice::Replace changes it. Otherwise the day is only filled.
    bool differs = false;
};

// One employee's pay month an import touches.
struct ImportMonth {
    std::string id;
    std::string name;
    std::int32_t year = 0;  // the pay month
    std::int32_t month = 0;
    PayScheme payScheme = PayScheme::Daily;
    bool stored = false;          // the month is stored already
    std::vector<int> columns;     // the typed columns of its work pattern, in order
    std::vector<ImportDay> days;  // in date order
    int unchanged = 0;            // rows that give what is stored already
    OpenedMonth opened;           // the month as planned: what the write starts from

    int FilledDays() const;
    int DifferingDays() const;
};

struct RefusedRow {
    int line = 0;
    std::string reason;

    bool operator==(const RefusedRow&) const = default;
};

struct ImportPlan {
    std::vector<ImportMonth> months;  // by ID, then pay month
    std::vector<RefusedRow> refused;  // by line
    int emptyRows = 0;                // rows without a time: nothing to fill

    // True when `choice` writes anything.
    bool Writes(ImportChoice choice) const;
};

// The plan of importing `file`; reads the folder, writes nothing. Throws
// ClockCsvError when the file has no ID column and `options` names no
// employee, or has dates without a year and no pay month; FileError for a file
// of the folder that cannot be read or is damaged.
ImportPlan PlanImport(const DataFiles& files, const CalcSetSettings& rules, const ClockFile& file,
                      const ImportOptions& options = {});

// What was written.
struct ImportReport {
    struct Month {
        std::string id;
        std::string name;
        std::int32_t year = 0;
        std::int32_t month = 0;
        int filled = 0;
        int replaced = 0;
        int kept = 0;  // differing days that kept the stored times
    };
    std::vector<Month> months;  // every month written
    int keptOnly = 0;           // months with nothing to write but kept days

    // One line per month ("001 山田 2024年4月分: 20日記入、2日置き換え") and a
    // last line with the sums.
    std::string Text() const;
};

// A month the plan read is no longer what the folder holds.
class ImportOutdated : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Writes the plan's months, recalculated and stored as the entry window's save
// stores them, all in one transaction (the day's backup first): every month or
// none. Throws FileError (the folder is as before) or ImportOutdated (nothing
// written).
ImportReport WriteImport(const DataFiles& files, const ImportPlan& plan, ImportChoice choice);

}  // namespace pb
