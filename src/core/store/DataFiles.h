#pragma once
// The full names of the program's data files, formed once from the program
// folder, and the file system they are reached through.

#include <memory>
#include <string>

#include "core/store/FileSystem.h"
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
    // Days of daily backups kept (0: none), shared by the copies so that the
    // setting holds in every window; the program sets it from its settings.
    std::shared_ptr<int> keepBackupDays = std::make_shared<int>(0);

    // "1999_fv2.pbk" in the program folder.
    std::string WorkFile(int year) const;
};

DataFiles AssignDataFiles(const std::string& programFolder, FileSystem& fs = RealFileSystem());

// The year of the system date.
int CurrentYear();

}  // namespace pb
