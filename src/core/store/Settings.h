#pragma once
// Reading and writing the settings record (core/model/Settings.h) from and to
// "PBOOK2.INI" in the program folder.

#include <cstdint>
#include <string>
#include <vector>

#include "core/model/Settings.h"
#include "core/store/FileSystem.h"

namespace pb {

inline constexpr const char* kSettingsFileName = "PBOOK2.INI";

// ProgramFolder + "PBOOK2.INI".
std::string SettingsFilePath(const Settings& settings);

// Sets every field from the settings file; a missing or unreadable file, a
// missing key, a number that is not an integer or one outside the key's range
// (what the windows offer: an overtime unit of 1 … 60 minutes, rates up to the
// forms' highest, times within the day) gives the field's default, with
// `invalidColorDefault` as the default of InvalidColor. ProgramFolder is kept.
void ReadSettings(FileSystem& fs, Settings& settings, std::int32_t invalidColorDefault);

// The values of the settings file in the folder `programFolder` (ending "/")
// that ReadSettings does not take, each as "[Calc_Set] OvertimeWorkFigure=時15min
// は整数ではありません（既定値 1 を使います）": a number key whose value is no
// integer or lies outside its range. A file that cannot be read is one line.
// A missing file or key is no finding: its default is what the program writes.
std::vector<std::string> UnusableSettings(const FileSystem& fs, const std::string& programFolder);

// Writes every field to its key, numbers in decimal and texts in the code page of
// the program's files (one line each), keeping everything else in the
// file. The new file replaces the old one in one step, so a failure leaves the old
// file whole; it throws FileError "<path> に書き込めません".
void WriteSettings(FileSystem& fs, const Settings& settings);

}  // namespace pb
