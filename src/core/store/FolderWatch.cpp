#include "core/store/FolderWatch.h"

namespace pb {

std::vector<std::string> FolderWatch::Changed(const std::vector<std::string>& paths) {
    std::vector<std::string> changed;
    for (const std::string& path : paths) {
        std::optional<FileStamp> stamp;
        try {
            stamp = fs_.Stamp(path);
        } catch (const FileError&) {
            continue;
        }
        const auto [seen, first] = seen_.try_emplace(path, stamp);
        if (!first && seen->second != stamp) {
            seen->second = stamp;
            changed.push_back(path);
        }
    }
    return changed;
}

bool FolderWatch::FolderFree(const std::string& folder) {
    const std::string path = folder + kLockName;
    try {
        const std::optional<FileStamp> stamp = fs_.Stamp(path);
        if (!stamp) {
            lockStamp_.reset();
            return true;
        }
        if (stamp != lockStamp_) {
            const Bytes text = fs_.ReadAll(path);
            lockHolder_ = ParseLock(std::string(text.begin(), text.end()));
            lockStamp_ = stamp;
        }
        if (!HolderGone(lockHolder_, *stamp))
            return false;
        // Whoever holds the advisory lock holds the folder, whatever the file says.
        return fs_.TryLock(path) != nullptr;
    } catch (const FileError&) {
        // Removed or replaced this moment: looked at again next time.
        lockStamp_.reset();
        return false;
    }
}

}  // namespace pb
