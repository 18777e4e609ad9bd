#pragma once
// Taking over the previous generation's employees and months into the current
// files. A run copies every current data file to a ".cbf" backup and converts
// the chosen employees in one change of all the files: should it fail or be cut
// short, nobody is converted and the backups of an earlier run are still there.
// The restore puts all backups back, again in one change.
//
// Old file names are matched without regard to case: the old program ran on a
// file system that ignored it.

#include <string>
#include <vector>

#include "core/convert/OldRecords.h"
#include "core/store/DataFiles.h"
#include "core/store/Operator.h"
#include "core/store/Records.h"

namespace pb {

struct OldEmployee {
    std::string ID;
    std::string Name;

    // "001 山田太郎", as the lists show it.
    std::string Item() const { return ID + " " + Name; }
    bool operator==(const OldEmployee&) const = default;
};

// The four lists of the conversion dialog, each kept sorted by item text.
struct ConversionLists {
    std::vector<OldEmployee> Old;      // in the old file, not chosen
    std::vector<OldEmployee> Chosen;   // to be converted by the next run
    std::vector<OldEmployee> Done;     // converted while the dialog is open
    std::vector<OldEmployee> Refused;  // refused while the dialog is open
};

void SortEmployees(std::vector<OldEmployee>& list);

// The old employee file's full path, whatever the case of its name; empty when
// it is missing.
std::string OldEmployeeFile(const DataFiles& files);

// Appends every employee of the old file with a record in force, in file order;
// nothing when the file is missing. Throws FileError.
void LoadOldEmployeeList(const DataFiles& files, std::vector<OldEmployee>& list);

// False when the old file is missing, has no record of the ID, its first record
// has work type 0, or its records mix the two pay schemes. Throws FileError.
bool CheckOldPayScheme(const DataFiles& files, const std::string& id);

DailyWagesRecord ConvertOldDailyRecord(const OldEmployeeRecord& old);
TimeWagesRecord ConvertOldHourlyRecord(const OldEmployeeRecord& old);

// Converts one employee: every old generation becomes a wage record, the name
// record carries the one in force, the old months go into the years' files and
// the old month file takes its backup name. All of it or nothing: throws
// FileError after putting every file back. Returns false when the old file
// holds nothing of the ID.
bool ConvertOldEmployee(const DataFiles& files, const std::string& id, const std::string& name);

// The conversion run over `lists.Chosen`; the results go to Done and Refused.
// A failure is reported to the operator and leaves the files and the lists as
// they were.
void RunConversion(const DataFiles& files, ConversionLists& lists, Operator& op);

// Puts every ".cbf" backup back in place of its file, empties the lists and
// lists the old employees anew. A failure is reported to the operator and
// leaves every file as it was.
void RestoreBackups(const DataFiles& files, ConversionLists& lists, Operator& op);

}  // namespace pb
