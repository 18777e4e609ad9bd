#pragma once
// The yearly work-data files ("1999_fv2.pbk": every employee's months of that
// year), the cursor table "NextCell.dat" and the folder scan that finds the years.
//
// Readers throw FileError when the file system fails; the operations the
// operator starts (writing and deleting months) report failures to the operator
// themselves and return false, leaving the year's file as it was.

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/store/DataFiles.h"
#include "core/store/Operator.h"
#include "core/store/RecordFile.h"
#include "core/store/Records.h"
#include "core/store/Transaction.h"

namespace pb {

// Index of the record of `id` and `month` in the year's file; -1 when there is
// none or the file does not exist.
int FindMonthIndex(const DataFiles& files, const std::string& id, int year, int month);

// Reads the rest of the year's file into its index, and the master files into
// theirs. Lookups read only as far as they must; called while the program is
// idle, this spares the next ones (開始 on the year then reads its three records).
void IndexYear(const DataFiles& files, int year);

// Whether the month is stored, as far as the year's index knows or learns by
// reading on at most `budget` bytes; nothing when it would have to read
// further. For the selection steps, which must not wait.
std::optional<bool> IsMonthStoredWithin(const DataFiles& files, const std::string& id, int year,
                                        int month, std::uint64_t budget);

// IndexYear for a worker thread: the master files' indexes (which lock) and
// the year's index read apart; nothing when the year has no file or `stop`
// was set. Hand the index to AdoptYearIndex on the thread owning `files`.
std::optional<YearIndex> IndexYearApart(const DataFiles& files, int year,
                                        const std::atomic<bool>& stop);
// Whether the year's index is complete and its file unchanged since (a stat).
bool IsYearIndexed(const DataFiles& files, int year);
// True when the year's index is complete now: the one read apart taken over,
// or one as good kept; false when the file changed since it was read.
bool AdoptYearIndex(const DataFiles& files, int year, YearIndex index);

// The stored month; nothing when it is not stored.
std::optional<MonthRecord> ReadMonthRecord(const DataFiles& files, const std::string& id, int year,
                                           int month);

// Writes the month over the stored one of the same ID and month, or appends it;
// creates the year's file when missing.
bool WriteMonthRecord(const DataFiles& files, int year, const MonthRecord& record, Operator& op);

// Removes the month (or, for month 0, every month) of `id` from the year's file;
// a file left without records is deleted.
bool PurgeMonthRecords(const DataFiles& files, const std::string& id, int year, int month,
                       Operator& op);

// The change PurgeMonthRecords makes, for a caller that applies it together with
// others; nothing when the file holds no month to remove.
std::optional<FileChange> PlanMonthPurge(const DataFiles& files, const std::string& id, int year,
                                         int month);

// The cursor moves of `pattern`; all zeros (the cursor stays) when the file or
// the pattern is missing.
// How many months of `id` the year files of the folder hold, all years together
// (what deleting the employee takes with it).
int CountStoredMonths(const DataFiles& files, const std::string& id);

NextCellRecord ReadNextCell(const DataFiles& files, int pattern);

// Replaces `list` by the full paths of the plain files in `folder`, in the order
// the folder listing gives them.
void ScanFolder(const DataFiles& files, const std::string& folder, std::vector<std::string>& list);

// "1999" for a path ending in "1999_fv2.pbk" (the ending compared exactly);
// nothing for any other path, including one whose four characters before the
// ending are not all digits.
std::optional<std::string> YearOfWorkFile(const std::string& path);

// A year the operator types for a work-data file: four digits, 1000 … 2998
// (blanks around are ignored). Shorter numbers would name a file whose year
// YearOfWorkFile cannot read back.
std::optional<int> TypedWorkYear(std::string_view text);

}  // namespace pb
