#include "core/store/DailyBackup.h"

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <set>

#include "core/store/Transaction.h"
#include "core/store/WorkDataFiles.h"

namespace pb {
namespace {

// "2024-05-01" or "2024-05-01-103000": a backup's name begins with its day.
bool IsBackupName(const std::string& name) {
    const auto digits = [&](std::size_t from, std::size_t count) {
        return name.size() >= from + count &&
               name.find_first_not_of("0123456789", from) >= from + count;
    };
    return (name.size() == 10 || (name.size() == 17 && name[10] == '-' && digits(11, 6))) &&
           digits(0, 4) && name[4] == '-' && digits(5, 2) && name[7] == '-' && digits(8, 2);
}

// Removes a backup folder with the files in it, as far as it can: what is left
// of an old backup harms nobody.
void RemoveFolderQuietly(FileSystem& fs, const std::string& folder) {
    try {
        for (const std::string& name : fs.List(folder)) {
            fs.Remove(folder + "/" + name);
        }
        fs.RemoveFolder(folder);
    } catch (const FileError&) {
    }
}

// Copies the data files into `target` by way of a scratch folder renamed when
// complete.
void CopyInto(const DataFiles& files, const std::vector<std::string>& names,
              const std::string& target) {
    FileSystem& fs = *files.fs;
    const std::string root = BackupRoot(files);
    fs.MakeFolder(root);
    const std::string scratch = ScratchName(target, "new~");
    try {
        fs.MakeFolder(scratch);
        for (const std::string& name : names) {
            fs.Copy(files.Folder + name, scratch + "/" + name);
        }
        fs.Flush(scratch);
        fs.Rename(scratch, target);
        fs.Flush(root);
    } catch (const FileError& e) {
        RemoveFolderQuietly(fs, scratch);
        // A data file that cannot be read is named; the backup's own files are not.
        const bool ours = e.path() == root || e.path().starts_with(root + "/");
        throw FileError(target, e.error(),
                        "バックアップ " + target + " を作れません。\n" +
                            (ours ? ErrorReason(e.error()) : std::string(e.what())));
    }
}

}  // namespace

std::string BackupRoot(const DataFiles& files) {
    return files.Folder + kBackupFolderName;
}

std::vector<std::string> DataFileNames(const DataFiles& files) {
    std::vector<std::string> names;
    for (const std::string* path : {&files.NameFile, &files.DailyWagesFile, &files.TimeWagesFile}) {
        if (files.fs->Exists(*path)) {
            names.push_back(path->substr(files.Folder.size()));
        }
    }
    for (const std::string& name : files.fs->List(files.Folder)) {
        if (YearOfWorkFile(name)) {
            names.push_back(name);
        }
    }
    return names;
}

std::string TodayText() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[16];
    std::strftime(text, sizeof text, "%Y-%m-%d", &local);
    return text;
}

bool BackUpBeforeChange(const DataFiles& files, const std::string& today, int keepDays) {
    if (keepDays <= 0) {
        return false;
    }
    FileSystem& fs = *files.fs;
    const std::string root = BackupRoot(files);
    const std::vector<std::string> present = fs.ListFolders(root);
    if (std::binary_search(present.begin(), present.end(), today)) {
        return false;
    }
    const std::vector<std::string> names = DataFileNames(files);
    if (names.empty()) {
        return false;
    }
    CopyInto(files, names, root + "/" + today);

    // The newest days stay; a folder left by a backup cut short goes as well.
    std::set<std::string> days;
    for (const std::string& name : fs.ListFolders(root)) {
        if (IsBackupName(name)) {
            days.insert(name.substr(0, 10));
        }
    }
    while (days.size() > static_cast<std::size_t>(keepDays)) {
        days.erase(days.begin());
    }
    for (const std::string& name : fs.ListFolders(root)) {
        const bool kept = IsBackupName(name) && days.count(name.substr(0, 10));
        if (!kept && (IsBackupName(name) || IsScratchName(name))) {
            RemoveFolderQuietly(fs, root + "/" + name);
        }
    }
    return true;
}

std::vector<std::string> BackupNames(const DataFiles& files) {
    std::vector<std::string> names;
    for (const std::string& name : files.fs->ListFolders(BackupRoot(files))) {
        if (IsBackupName(name)) {
            names.push_back(name);
        }
    }
    std::reverse(names.begin(), names.end());
    return names;
}

void BackUpNow(const DataFiles& files, const std::string& name) {
    CopyInto(files, DataFileNames(files), BackupRoot(files) + "/" + name);
}

void RestoreBackup(const DataFiles& files, const std::string& name) {
    FileSystem& fs = *files.fs;
    const std::string folder = BackupRoot(files) + "/" + name;
    const std::vector<std::string> saved =
        IsBackupName(name) ? fs.List(folder) : std::vector<std::string>{};
    std::vector<FileChange> changes;
    for (const std::string& file : saved) {
        if (file == "Name.dat" || file == "DailyWages.dat" || file == "TimeWages.dat" ||
            YearOfWorkFile(file)) {
            const std::string path = files.Folder + file;
            changes.push_back(CopyOfFile(path, fs.Exists(path), folder + "/" + file));
        }
    }
    if (changes.empty()) {
        throw FileError(folder, ENOENT, "バックアップ " + folder + " にデータがありません。");
    }
    for (const std::string& file : DataFileNames(files)) {
        if (std::find(saved.begin(), saved.end(), file) == saved.end()) {
            changes.push_back(RemoveFile(files.Folder + file));
        }
    }
    RunTransaction(files, "バックアップ " + name + " からの復元", std::move(changes));
}

}  // namespace pb
