#include "core/store/FolderCapabilities.h"

#include <cerrno>

namespace pb {
namespace {

Bytes AsBytes(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

// Runs one step of the measurement; false when the file system refuses it.
template <typename Step>
bool Can(Step step) {
    try {
        return step();
    } catch (const FileError&) {
        return false;
    }
}

void RemoveIfThere(FileSystem& fs, const std::string& path) {
    try {
        if (fs.Exists(path))
            fs.Remove(path);
    } catch (const FileError&) {
        // A scratch name: the next repair removes it.
    }
}

}  // namespace

std::string CannotWriteNotice(const std::string& missing) {
    return "このフォルダーではファイルの" + missing + "ができないため、書き込みできません。";
}

FolderCapabilities MeasureFolder(FileSystem& fs, const std::string& folder) {
    const std::string base = folder + "Punchbook.probe";
    const std::string first = ScratchName(base, "new~");
    const std::string second = ScratchName(base, "new~");
    const std::string third = ScratchName(base, "new~");
    FolderCapabilities caps;
    // A local disk does all of it; only a network file system is measured.
    if (fs.LocksAreShared(folder))
        return caps;
    caps.sharedLocks = false;
    if (!fs.CreateExclusive(first, AsBytes("ab"), false))
        throw FileError(first, EEXIST, first + " に書き込めません。");
    try {
        const auto check = [&](const char* missing, auto step) {
            if (caps.missing.empty() && !Can(step))
                caps.missing = missing;
        };
        check("排他的な作成", [&] {
            return fs.CreateExclusive(second, AsBytes("1"), false) &&
                   !fs.CreateExclusive(second, AsBytes("2"), false) &&
                   fs.ReadAll(second) == AsBytes("1");
        });
        check("追記", [&] {
            fs.WriteAt(first, 2, AsBytes("cd"));
            return fs.ReadAll(first) == AsBytes("abcd");
        });
        check("切り詰め", [&] {
            fs.Truncate(first, 3);
            return fs.Size(first) == 3u;
        });
        check("名前の置き換え", [&] {
            fs.Rename(second, first);
            return fs.ReadAll(first) == AsBytes("1") && !fs.Exists(second);
        });
        if (caps.missing.empty()) {
            // A second name where the share has hard links, else a copy (FUSE
            // numbers inodes of its own: a write through one name tells).
            fs.Link(first, third);
            fs.WriteAt(first, 0, AsBytes("2"));
            caps.hardLinks = fs.ReadAll(third) == AsBytes("2");
            fs.Remove(third);
            caps.removeOpen = fs.CanRemoveOpenFiles(folder);
        }
    } catch (const FileError&) {
        for (const auto& path : {first, second, third})
            RemoveIfThere(fs, path);
        throw;
    }
    for (const auto& path : {first, second, third})
        RemoveIfThere(fs, path);
    return caps;
}

}  // namespace pb
