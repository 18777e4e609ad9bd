#include "core/store/DataFiles.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <iterator>
#include <string_view>

#include "core/store/FolderLock.h"
#include "core/store/Settings.h"
#include "core/store/Transaction.h"
#include "core/store/WorkDataFiles.h"

namespace pb {

std::string DataFiles::WorkFile(int year) const {
    return Folder + std::to_string(year) + "_fv2.pbk";
}

namespace {

bool SameNameAnyCase(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

}  // namespace

bool IsDataFileName(const std::string& name) {
    return std::ranges::find(kMasterFileNames, name) != std::end(kMasterFileNames) ||
           YearOfWorkFile(name).has_value();
}

bool IsProgramFileName(const std::string& name) {
    const std::string_view fixed[] = {kNameFileName,     kDailyWagesFileName, kTimeWagesFileName,
                                      kNextCellFileName, kSettingsFileName,   kJournalName,
                                      kLockName};
    for (const std::string_view own : fixed)
        if (SameNameAnyCase(name, own))
            return true;
    // Any name of a year file's ending: the program would read it as one.
    constexpr std::string_view kEnding = "_fv2.pbk";
    return name.size() >= kEnding.size() &&
           SameNameAnyCase(std::string_view(name).substr(name.size() - kEnding.size()), kEnding);
}

DataFiles AssignDataFiles(const std::string& programFolder, FileSystem& fs) {
    DataFiles files;
    files.fs = &fs;
    files.Folder = programFolder;
    if (files.Folder.empty() || files.Folder.back() != '/')
        files.Folder += '/';
    files.NameFile = files.Folder + kNameFileName;
    files.DailyWagesFile = files.Folder + kDailyWagesFileName;
    files.TimeWagesFile = files.Folder + kTimeWagesFileName;
    files.NextCellFile = files.Folder + kNextCellFileName;
    return files;
}

int CurrentYear() {
    const auto today = std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now());
    return static_cast<int>(std::chrono::year_month_day(today).year());
}

}  // namespace pb
