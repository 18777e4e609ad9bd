#pragma once
// Daily backups of the data files: before the first change of each day the
// employee files and every year file are copied into "backup/YYYY-MM-DD/" of
// the data folder, and only the newest days are kept. A backup day can be
// restored as a whole, after the present state has been backed up in its turn.
//
// Every backup folder holds every data file, but a file unchanged since the
// newest backup is a second name (hard link) of that backup's copy rather than
// a copy: the years nobody touches cost no space and no time. Each backup notes
// the stamps its files had (in its list "Punchbook.whole") to know them unchanged.

#include <string>
#include <vector>

#include "core/store/DataFiles.h"

namespace pb {

inline constexpr char kBackupFolderName[] = "backup";

// "backup/" in the data folder.
std::string BackupRoot(const DataFiles& files);

// The names of the data files a backup holds, as they are in the folder now:
// "Name.dat", "DailyWages.dat", "TimeWages.dat" and every "YYYY_fv2.pbk".
std::vector<std::string> DataFileNames(const DataFiles& files);

// Today's date as "YYYY-MM-DD", local time.
std::string TodayText();

// Keeps `keepDays` days of backups for `files` (0: none): the backup hook of
// every transaction and record write is BackUpBeforeChange below.
void KeepDailyBackups(const DataFiles& files, int keepDays);

// The day's backup before a change, as every transaction asks for it: with the
// days kept of `files.backup`; when it fails, the operator's `goOnWithout`
// decides whether the change goes on. Throws FileError when it does not.
void BackUpBeforeChange(const DataFiles& files);

// Makes the backup of day `today` unless it exists or `keepDays` is 0 or the
// folder holds no data file yet, then removes all but the newest `keepDays`
// days. The copies are made in a scratch folder that is renamed to the day's
// name when complete, so a backup folder is never half there. True when a
// backup was made. A failure throws FileError naming the backup folder, and
// leaves no partial folder.
bool BackUpBeforeChange(const DataFiles& files, const std::string& today, int keepDays);

// The backups that can be restored, newest first: the names of the folders
// under "backup/" ("2024-05-01", and "2024-05-01-103000" for the state before
// a restore made that day).
std::vector<std::string> BackupNames(const DataFiles& files);

// The data files as they are now, copied into "backup/<name>/" (e.g. the
// moment before a restore: "2024-05-01-103000"). Throws FileError.
void BackUpNow(const DataFiles& files, const std::string& name);

// The data files as they are now, kept before a restore: as today's backup when
// there is none yet, else as "<today>-<time>" (`now` is "2024-05-01-103000").
// Returns the backup's name. Throws FileError: no restore without it.
std::string BackUpBeforeRestore(const DataFiles& files, const std::string& now);

// The data files backup `name` holds, sorted.
std::vector<std::string> BackupFiles(const DataFiles& files, const std::string& name);

// What a restore did: the files put back and the data files removed because
// the backup had none of that name.
struct RestoredFiles {
    std::vector<std::string> restored;
    std::vector<std::string> removed;
};

// Makes the data files those of backup `name`: each file of the backup copied
// over the present one, and each data file the backup lacks removed, all in
// one transaction (all or nothing). Throws FileError; an unknown or empty
// backup changes nothing and throws too.
RestoredFiles RestoreBackup(const DataFiles& files, const std::string& name);

}  // namespace pb
