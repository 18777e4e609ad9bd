#pragma once
// What the file system under the program folder can do, measured once at start
// by the copy that has just taken the folder's lock, on scratch files it
// removes again. A network share may lack hard links, refuse to remove or
// rename a file that is open, and keep advisory locks to one client: the store
// has ways around each. What it cannot do without (new files appearing whole by
// exclusive creation, writing at an offset, cutting a file back, replacing a
// file by renaming over it) makes the folder read-only, said at start, before
// anything is changed.

#include <string>

#include "core/store/FileSystem.h"

namespace pb {

struct FolderCapabilities {
    bool hardLinks = true;    // else second names are copies
    bool removeOpen = true;   // else a file is closed before it is removed or renamed
    bool sharedLocks = true;  // else only the lock file's exclusive creation keeps PCs apart
    // Empty when the folder can be written; else what it cannot do, as in
    // "ファイルの<missing>ができないため".
    std::string missing;
};

// Measures a folder on a network file system (a local disk does everything)
// with files under scratch names, all removed again (a
// start cut short leaves only scratch names, which the repair tidies). A
// folder that cannot be written at all throws the FileError of the first write.
FolderCapabilities MeasureFolder(FileSystem& fs, const std::string& folder);

// "このフォルダーではファイルの名前の置き換えができないため、書き込みできません。"
std::string CannotWriteNotice(const std::string& missing);

}  // namespace pb
