#pragma once
// What a copy of the program that only reads the folder sees of the copy that
// writes it. A network share sends no notice of a change (an inotify watch on
// a mount sees only this machine's own writes, and a FUSE mount not even
// those), so the files that matter are looked at by their stamps, a stat each
// and nothing read, every few seconds; and the folder's lock, to tell when
// the folder frees.

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/store/FileSystem.h"
#include "core/store/FolderLock.h"

namespace pb {

class FolderWatch {
  public:
    explicit FolderWatch(const FileSystem& fs) : fs_(fs) {}

    // Those of `paths` whose stamp (size, times, inode; appearing or going)
    // differs from the last look at them. A path looked at for the first time
    // only has its stamp noted; one that cannot be looked at this moment
    // counts as unchanged and is looked at again next time.
    std::vector<std::string> Changed(const std::vector<std::string>& paths);

    // Whether LockProgramFolder would now give this copy the folder: no lock,
    // one whose holder ended on this machine, or one whose time has stood
    // still (taken over after its question). The lock file is read only when
    // its stamp moved.
    bool FolderFree(const std::string& folder);

  private:
    const FileSystem& fs_;
    std::map<std::string, std::optional<FileStamp>> seen_;
    std::optional<FileStamp> lockStamp_;
    std::optional<LockHolder> lockHolder_;
};

}  // namespace pb
