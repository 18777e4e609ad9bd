#pragma once
// The employee master files: "Name.dat" (one NameRecord per employee),
// "DailyWages.dat" and "TimeWages.dat" (every generation of each employee's wage
// conditions, one of them in force), and the registration and deletion that
// change them together.
//
// Lookups read the files afresh each time and throw FileError when the file
// system fails; a missing file means no records. The single-record writers
// throw too, after putting the file back. RegisterEmployee and DeleteEmployee
// report every failure to the operator and leave the files wholly as they were.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/store/DataFiles.h"
#include "core/store/Operator.h"
#include "core/store/Records.h"

namespace pb {

// What a registration form hands to RegisterEmployee; only the wage record of
// the scheme being registered is used.
struct EmployeeEntry {
    DailyWagesRecord Daily;
    TimeWagesRecord Time;
    NameRecord Name;
};

struct LookupResult {
    // 1 not on file; 2/3 linked without wage code; 4/5 linked with wage code;
    // 6/7 not linked. Even: same name, odd: the stored name differs.
    int Status = 1;
    std::int32_t WagesCode = 0;
};

void CopyWholeFile(const DataFiles& files, const std::string& source, const std::string& target);
std::int64_t FileSizeOf(const DataFiles& files, const std::string& path);

// False (after the warning) when the name is empty or the ID number below 1.
bool ValidateEmployeeInput(const std::string& name, int idNumber, Operator& op);

// ID and name cut to what the record holds; linked when the sibling payroll
// program already knows the ID.
NameRecord MakeNameRecord(const DataFiles& files, const std::string& id, const std::string& name,
                          std::int32_t wagesCode);
LookupResult LookupEmployee(const DataFiles& files, const std::string& id, const std::string& name);

// Scheme 1 or 2 looks only at records of that pay scheme, 0 at every record.
std::string FindEmployeeName(const DataFiles& files, const std::string& id, int scheme);
void ListEmployeeIDs(const DataFiles& files, std::vector<std::string>& list, int scheme);

// One employee of a scheme as the employee viewer lists it.
struct SchemeEmployee {
    std::string ID;
    std::string Name;                       // FindEmployeeName(ID, scheme)
    std::optional<DailyWagesRecord> Daily;  // scheme 1: ReadDailyRecord(ID, 0)
    std::optional<TimeWagesRecord> Time;    // scheme 2: ReadTimeRecord(ID, 0)
};
// The employees of scheme 1 or 2 in file order, each with its name and wage
// record in force: what the lookups above give ID by ID, from one read of
// "Name.dat" and one of the scheme's wage file.
std::vector<SchemeEmployee> ListSchemeEmployees(const DataFiles& files, int scheme);

int FindNameIndex(const DataFiles& files, const std::string& id);
int FindCurrentDailyIndex(const DataFiles& files, const std::string& id);
int FindCurrentTimeIndex(const DataFiles& files, const std::string& id);

// 0 when the ID is not on file; otherwise WagesCode div 1000, 0 given as 3.
int GetPayScheme(const DataFiles& files, const std::string& id);

bool WriteNameRecord(const DataFiles& files, const NameRecord& record);
// Index -1 appends.
bool WriteDailyRecord(const DataFiles& files, const DailyWagesRecord& record, int index);
bool WriteTimeRecord(const DataFiles& files, const TimeWagesRecord& record, int index);

// Generation 0: the record in force; nothing when no record matches.
std::optional<DailyWagesRecord> ReadDailyRecord(const DataFiles& files, const std::string& id,
                                                int generation);
std::optional<TimeWagesRecord> ReadTimeRecord(const DataFiles& files, const std::string& id,
                                              int generation);

// Marks the record in force as superseded and returns its generation; -1 when
// the ID has none.
int RetireDailyRecord(const DataFiles& files, const std::string& id);
int RetireTimeRecord(const DataFiles& files, const std::string& id);

bool DailyRecordChanged(const DataFiles& files, const std::string& id,
                        const DailyWagesRecord& record);
bool TimeRecordChanged(const DataFiles& files, const std::string& id,
                       const TimeWagesRecord& record);

// Remove every generation of the ID; an emptied wage file is deleted.
void PurgeDailyRecords(const DataFiles& files, const std::string& id);
void PurgeTimeRecords(const DataFiles& files, const std::string& id);

// Removes the employee from the master files, from the sibling payroll
// program's files when linked, and every month of it from every year's file.
bool DeleteEmployee(const DataFiles& files, const std::string& id, Operator& op);

// Adds an employee or a new generation of its conditions, asking the operator
// to confirm a change of an employee on file; anything but success leaves the
// three files as they were.
bool RegisterEmployee(const DataFiles& files, const EmployeeEntry& entry, int scheme, Operator& op);

}  // namespace pb
