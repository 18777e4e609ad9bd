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

#include "core/model/PayScheme.h"
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

// What LookupEmployee finds of an ID in "Name.dat", under the numbers the
// registration rules are written in. Each even status has an odd twin for a
// stored name that differs from the one given.
enum class LookupStatus : int {
    NotOnFile = 1,  // no record of the ID, or no "Name.dat"
    // Linked, WagesCode 0: only the payroll program keeps the employee.
    PayrollOnly = 2,
    PayrollOnlyOtherName = 3,
    // Linked, with a WagesCode of ours.
    Linked = 4,
    LinkedOtherName = 5,
    // Ours alone (not linked).
    Registered = 6,
    RegisteredOtherName = 7,
};

struct LookupResult {
    LookupStatus Status = LookupStatus::NotOnFile;
    std::int32_t WagesCode = 0;

    bool OnFile() const { return Status != LookupStatus::NotOnFile; }
    // On file under the name given (compared as stored: 20 bytes of Shift-JIS).
    bool SameName() const { return OnFile() && static_cast<int>(Status) % 2 == 0; }
    // The sibling payroll program keeps the employee too.
    bool Linked() const {
        return Status >= LookupStatus::PayrollOnly && Status <= LookupStatus::LinkedOtherName;
    }
    // Known to the payroll program alone: no wage conditions of ours to supersede.
    bool PayrollOnly() const {
        return Status == LookupStatus::PayrollOnly || Status == LookupStatus::PayrollOnlyOtherName;
    }
    // Registered in this program, with wage conditions in force.
    bool RegisteredHere() const { return OnFile() && !PayrollOnly(); }
};

// What an index or generation lookup answers when it finds nothing; as the
// index of a write, it appends.
constexpr int kNoRecord = -1;

void CopyWholeFile(const DataFiles& files, const std::string& source, const std::string& target);
std::int64_t FileSizeOf(const DataFiles& files, const std::string& path);

// False (after the warning) when the name is empty or the ID number below 1.
bool ValidateEmployeeInput(const std::string& name, int idNumber, Operator& op);
// False (after a warning) when the name holds a character Shift-JIS lacks (the
// warning names it) or takes more than the record's 20 bytes.
bool ValidateNameToStore(const std::string& name, Operator& op);

// ID and name cut to what the record holds; linked when the sibling payroll
// program already knows the ID.
NameRecord MakeNameRecord(const DataFiles& files, const std::string& id, const std::string& name,
                          std::int32_t wagesCode);
LookupResult LookupEmployee(const DataFiles& files, const std::string& id, const std::string& name);

// A scheme looks only at records of that pay scheme, kBothSchemes at every record.
std::string FindEmployeeName(const DataFiles& files, const std::string& id, SchemeFilter scheme);
void ListEmployeeIDs(const DataFiles& files, std::vector<std::string>& list, SchemeFilter scheme);
// The same over the whole records of "Name.dat" as read.
void ListEmployeeIDsIn(const Bytes& names, std::vector<std::string>& list, SchemeFilter scheme);

// One employee of a scheme as the employee viewer lists it.
struct SchemeEmployee {
    std::string ID;
    std::string Name;                       // FindEmployeeName(ID, scheme)
    std::optional<DailyWagesRecord> Daily;  // daily wage: ReadDailyRecord(ID, 0)
    std::optional<TimeWagesRecord> Time;    // hourly wage: ReadTimeRecord(ID, 0)
};
// The employees of a scheme in file order, each with its name and wage
// record in force: what the lookups above give ID by ID, from one read of
// "Name.dat" and one of the scheme's wage file.
std::vector<SchemeEmployee> ListSchemeEmployees(const DataFiles& files, PayScheme scheme);

int FindNameIndex(const DataFiles& files, const std::string& id);
int FindCurrentDailyIndex(const DataFiles& files, const std::string& id);
int FindCurrentTimeIndex(const DataFiles& files, const std::string& id);

// The wage code "Name.dat" keeps for the ID; nothing when the ID is not on file.
std::optional<WagesCode> FindWagesCode(const DataFiles& files, const std::string& id);
// The scheme of ours the ID is registered under; nothing when it is not on
// file, is only the payroll program's or has a code of neither scheme.
std::optional<PayScheme> RegisteredScheme(const DataFiles& files, const std::string& id);
// The scheme the ID's months are paid by as "Name.dat" gives it: hourly, or else
// daily (also for an ID not on file or of the payroll program only).
PayScheme SchemeOnFile(const DataFiles& files, const std::string& id);

bool WriteNameRecord(const DataFiles& files, const NameRecord& record);
// Index kNoRecord appends.
bool WriteDailyRecord(const DataFiles& files, const DailyWagesRecord& record, int index);
bool WriteTimeRecord(const DataFiles& files, const TimeWagesRecord& record, int index);

// Generation 0: the record in force; nothing when no record matches.
std::optional<DailyWagesRecord> ReadDailyRecord(const DataFiles& files, const std::string& id,
                                                int generation);
std::optional<TimeWagesRecord> ReadTimeRecord(const DataFiles& files, const std::string& id,
                                              int generation);

// The record ReadTimeRecord (hourly) or ReadDailyRecord (daily) gives,
// as the file holds it: its times before a value that is no number is read as
// midnight.
std::optional<Bytes> ReadWageRecordBytes(const DataFiles& files, PayScheme scheme,
                                         const std::string& id, int generation);

// Marks the record in force as superseded and returns its generation;
// kNoRecord when the ID has none.
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
bool RegisterEmployee(const DataFiles& files, const EmployeeEntry& entry, PayScheme scheme,
                      Operator& op);

}  // namespace pb
