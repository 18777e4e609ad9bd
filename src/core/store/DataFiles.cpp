#include "core/store/DataFiles.h"

#include <chrono>

namespace pb {

std::string DataFiles::WorkFile(int year) const {
    return Folder + std::to_string(year) + "_fv2.pbk";
}

DataFiles AssignDataFiles(const std::string& programFolder, FileSystem& fs) {
    DataFiles files;
    files.fs = &fs;
    files.Folder = programFolder;
    if (files.Folder.empty() || files.Folder.back() != '/')
        files.Folder += '/';
    files.NameFile = files.Folder + "Name.dat";
    files.DailyWagesFile = files.Folder + "DailyWages.dat";
    files.TimeWagesFile = files.Folder + "TimeWages.dat";
    files.NextCellFile = files.Folder + "NextCell.dat";
    return files;
}

int CurrentYear() {
    const auto today = std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now());
    return static_cast<int>(std::chrono::year_month_day(today).year());
}

}  // namespace pb
