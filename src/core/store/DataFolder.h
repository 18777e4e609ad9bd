#pragma once
// Where the program keeps its data, and where it finds the files it was
// installed with. The program and punchbook-export choose the same way:
//
//   1. the folder given with --folder;
//   2. the folder in the environment variable PUNCHBOOK_FOLDER;
//   3. the program's own folder when the data files already lie there (an
//      older installation copied over, a portable folder, the build folder);
//   4. $XDG_DATA_HOME/punchbook, by default ~/.local/share/punchbook, made at
//      the first start.
//
// So an installed program never writes beside its executable.

#include <string>

#include "core/store/FileSystem.h"

namespace pb {

// What the choice depends on, gathered once so that it can be tested.
struct FolderEnvironment {
    std::string folderOption;    // --folder; empty when not given
    std::string folderVariable;  // PUNCHBOOK_FOLDER
    std::string programFolder;   // the folder of the running executable
    std::string xdgDataHome;     // XDG_DATA_HOME
    std::string home;            // HOME, else the home folder of the user's account
    std::string workingFolder;   // relative folders are taken from here
};

// This process's environment; `folderOption` as given on the command line.
FolderEnvironment CurrentFolderEnvironment(const std::string& folderOption);

enum class DataFolderSource { Option, Variable, ProgramFolder, UserData };

struct DataFolder {
    std::string path;  // absolute, ends with "/"
    DataFolderSource source = DataFolderSource::UserData;
};

// Chooses the data folder; creates nothing. Throws std::runtime_error with a
// message for the operator when no folder can be named at all.
DataFolder ChooseDataFolder(const FolderEnvironment& env, const FileSystem& fs = RealFileSystem());

// Makes sure the chosen folder is there. The user's data folder is created
// (missing parents too) readable by the user only. A folder named with
// --folder or PUNCHBOOK_FOLDER must exist already: a mistyped name would
// otherwise open an empty program in a new folder. Throws FileError.
void PrepareDataFolder(const DataFolder& folder);

// True when `folder` holds a file the program keeps its data in.
bool HoldsDataFiles(const FileSystem& fs, const std::string& folder);

// The folder of the files installed with the program (the cursor table, the
// manual): the program folder itself when `name` lies there (a build or
// portable folder), else ../share/punchbook beside the bin folder. Returns the
// full name of `name` there; the installed one when neither exists.
std::string InstalledFile(const FileSystem& fs, const std::string& programFolder,
                          const std::string& name);

// The cursor table: the data folder's own when it has one, else the installed one.
std::string NextCellFileFor(const FileSystem& fs, const std::string& dataFolder,
                            const std::string& programFolder);

}  // namespace pb
