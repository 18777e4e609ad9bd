#pragma once
// The full names of the program's data files, formed once from the program
// folder, and the file system they are reached through.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "core/store/FileSystem.h"
#include "core/store/MasterIndex.h"
#include "core/store/YearIndex.h"

namespace pb {

struct DataFiles {
    FileSystem* fs = &RealFileSystem();
    std::string Folder;  // ends with "/"
    std::string NameFile;
    std::string DailyWagesFile;
    std::string TimeWagesFile;
    std::string NextCellFile;
    // Shared by the copies: every window finds months through the same indexes.
    std::shared_ptr<YearIndexes> years = std::make_shared<YearIndexes>();
    // The same for "Name.dat" and the wage files.
    std::shared_ptr<MasterIndexes> masters = std::make_shared<MasterIndexes>();
    // The daily backup, shared by the copies so that it holds in every window.
    struct Backup {
        int keepDays = 0;  // days kept; 0: none (the program sets it from its settings)
        // Asked with the reason when the day's backup cannot be made: true goes
        // on with the change without one. Unset, the change stops.
        std::function<bool(const std::string& failure)> goOnWithout;
        // The day the operator chose to go on without a backup; no more tries
        // that day, as a later one would no longer hold the day's first state.
        std::string skippedDay;
        // The day whose backup is known to be there: later changes that day
        // look no further.
        std::string doneDay;
        // Runs a backup's work (its copies, flushes and pruning) and passes on
        // what it throws; unset, the work runs here and now. The program runs
        // it beside its window, which shows a progress dialog when it lasts.
        std::function<void(const std::function<void()>& work)> run;
        // Told, on the thread doing the work, the bytes copied so far of those
        // the backup copies (files linked to the day before cost nothing).
        std::function<void(std::uint64_t done, std::uint64_t total)> progress;
        // Makes the day's backup before a change; every transaction and record
        // write calls it. Set by KeepDailyBackups (store/DailyBackup), so that
        // the writing code needs no knowledge of the backups. Unset: none.
        std::function<void(const DataFiles& files)> beforeChange;
    };
    std::shared_ptr<Backup> backup = std::make_shared<Backup>();

    // "1999_fv2.pbk" in the program folder.
    std::string WorkFile(int year) const;
};

// The fixed names of the files the program keeps in its folder, as written.
inline constexpr char kNameFileName[] = "Name.dat";
inline constexpr char kDailyWagesFileName[] = "DailyWages.dat";
inline constexpr char kTimeWagesFileName[] = "TimeWages.dat";
inline constexpr char kNextCellFileName[] = "NextCell.dat";
// The master files; with every year's work-data file they are the data files
// (what a daily backup copies and a restore brings back).
inline constexpr const char* kMasterFileNames[] = {kNameFileName, kDailyWagesFileName,
                                                   kTimeWagesFileName};

// A data file: a master file or a year's "YYYY_fv2.pbk", named as the program
// writes them.
bool IsDataFileName(const std::string& name);
// A file of the program in its folder, named in any case: the data files, the
// cursor table, the settings, the journal and the lock. An export never writes
// over one.
bool IsProgramFileName(const std::string& name);

DataFiles AssignDataFiles(const std::string& programFolder, FileSystem& fs = RealFileSystem());

// The year of the system date.
int CurrentYear();

}  // namespace pb
