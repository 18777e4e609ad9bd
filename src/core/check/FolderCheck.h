#pragma once
// The check of a whole program folder, without changing anything: every
// record file a whole number of records, every record readable with its fields
// in their ranges, one wage record in force per employee matching its wage
// code, no months of unknown employees or of wage generations that do not
// exist, no month stored twice, no change cut short, and no value of the
// settings file that the program replaces by its default.

#include <cstdint>
#include <string>
#include <vector>

#include "core/store/DataFiles.h"

namespace pb {

struct FolderFinding {
    std::string file;     // the file's name in the program folder
    std::string message;  // what is wrong, for the operator
};

struct FolderCheckResult {
    std::vector<FolderFinding> findings;
    int problems = 0;           // all found, including those only counted
    int files = 0;              // data files looked at
    std::uint64_t records = 0;  // records read
    bool Sound() const { return problems == 0; }
};

// At most this many findings of one file are listed one by one; the rest are
// counted in one more line.
inline constexpr int kFindingsPerFile = 20;

// The files of `files.Folder` (not the installed NextCell.dat the program may
// fall back on), read through `files.fs`. Throws FileError only when a file
// that exists cannot be read at all.
FolderCheckResult CheckFolder(const DataFiles& files);

// "1999_fv2.pbk: 12 件目: 給与体系 7 は 1（日給制）でも 2（時給制）でもありません".
std::string FindingText(const FolderFinding& finding);

// Every finding a line, then one line of the outcome ("異常はありません。…").
std::string CheckReport(const FolderCheckResult& result);

}  // namespace pb
