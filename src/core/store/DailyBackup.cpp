#include "core/store/DailyBackup.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <ctime>
#include <functional>
#include <map>
#include <set>
#include <sstream>

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

// Removes a folder with the files in it, as far as it can: what is left of an
// old backup harms nobody.
void RemoveFolderQuietly(FileSystem& fs, const std::string& folder) {
    try {
        for (const std::string& name : fs.List(folder)) {
            fs.Remove(folder + "/" + name);
        }
        fs.RemoveFolder(folder);
    } catch (const FileError&) {
    }
}

// Removes a backup day: first it gives up its name for a scratch one, so that
// a day is whole or gone, never listed with part of its files.
void RemoveDay(FileSystem& fs, const std::string& root, const std::string& name) {
    const std::string aside = ScratchName(root + "/" + name, "old~");
    try {
        fs.Rename(root + "/" + name, aside);
        fs.Flush(root);
    } catch (const FileError&) {
        return;  // still whole, under its name
    }
    RemoveFolderQuietly(fs, aside);
}

[[noreturn]] void BackupFailed(const std::string& root, const std::string& target,
                               const FileError& e) {
    // A data file that cannot be read is named; the backup's own files are not.
    const bool ours = e.path() == root || e.path().starts_with(root + "/");
    throw FileError(target, e.error(),
                    "バックアップ " + target + " を作れません。\n" +
                        (ours ? ErrorReason(e.error()) : std::string(e.what())));
}

// Written last into a backup: every data file it holds, one line each: name
// and size, then the stamp the data file had when it was copied (size,
// modified, changed, inode) where that stamp can be trusted. A day without
// it, or lacking what it names, is not whole.
constexpr char kWholeName[] = "Punchbook.whole";
// Where the backups of earlier versions noted the stamps, one line each:
// name, size, modified, changed, inode.
constexpr char kStampsName[] = "Punchbook.stamps";

// What backup `folder` lacks of what its list names (the list itself when it
// has none); nothing when the backup is whole.
std::vector<std::string> Missing(const FileSystem& fs, const std::string& folder,
                                 std::vector<std::string>* held = nullptr) {
    std::string text;
    try {
        const Bytes bytes = fs.ReadAll(folder + "/" + kWholeName);
        text.assign(bytes.begin(), bytes.end());
    } catch (const FileError&) {
        return {kWholeName};
    }
    std::vector<std::string> missing;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string name;
        std::uint64_t size = 0;
        if (!std::getline(fields, name, '\t') || !(fields >> size) || name.empty() ||
            name.find('/') != std::string::npos) {
            return {kWholeName};
        }
        std::optional<std::uint64_t> actual;
        try {
            actual = fs.Size(folder + "/" + name);
        } catch (const FileError&) {
        }
        if (actual != size)
            missing.push_back(name);
        else if (held)
            held->push_back(name);
    }
    return missing;
}
using Stamps = std::map<std::string, FileStamp>;

// The stamps noted in `file`, each line a name and, after `skip` numbers, a stamp.
Stamps ReadStampLines(const FileSystem& fs, const std::string& file, int skip) {
    Stamps stamps;
    std::string text;
    try {
        const Bytes bytes = fs.ReadAll(file);
        text.assign(bytes.begin(), bytes.end());
    } catch (const FileError&) {
        return stamps;  // none noted: every file is copied
    }
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string name;
        std::uint64_t skipped = 0;
        FileStamp stamp;
        if (!std::getline(fields, name, '\t'))
            continue;
        for (int i = 0; i < skip; ++i)
            fields >> skipped;
        if (fields >> stamp.size >> stamp.modified >> stamp.changed >> stamp.inode)
            stamps[name] = stamp;
    }
    return stamps;
}

Stamps ReadStamps(const FileSystem& fs, const std::string& folder) {
    Stamps stamps = ReadStampLines(fs, folder + "/" + kWholeName, 1);
    return stamps.empty() ? ReadStampLines(fs, folder + "/" + kStampsName, 0) : stamps;
}

std::string StampFields(const FileStamp& stamp) {
    return "\t" + std::to_string(stamp.size) + "\t" + std::to_string(stamp.modified) + "\t" +
           std::to_string(stamp.changed) + "\t" + std::to_string(stamp.inode);
}

// A file's stamp is trusted to tell a later change only when its times lie
// this far in the past: on a file system with a coarse clock, a write within
// the same tick would leave the times as they were.
constexpr std::int64_t kSettledNanoseconds = 3'000'000'000;

std::int64_t NowNanoseconds() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// The pieces a file is copied in: the copy holds two of them at most (this
// and the writer's buffer), whatever the file's size.
constexpr std::size_t kCopyPiece = 256 * 1024;

// Copies `from` into the new file `to` piece by piece, adding each piece's
// bytes to `done`.
void CopyInPieces(FileSystem& fs, const std::string& from, const std::string& to,
                  const std::function<void(std::size_t)>& copied) {
    fs.CreateInPieces(to, [&](const PieceWriter& write) {
        fs.ReadPieces(from, 0, kCopyPiece, [&](const std::uint8_t* data, std::size_t size) {
            write(data, size);
            copied(size);
            return true;
        });
    });
}

// Copies the data files into `target` by way of a scratch folder renamed when
// complete. A file whose stamp is the one noted by the newest backup so far
// is linked to that backup's copy instead.
void CopyInto(const DataFiles& files, const std::vector<std::string>& names,
              const std::string& target) {
    FileSystem& fs = *files.fs;
    const std::string root = BackupRoot(files);
    fs.MakeFolder(root);
    std::string previous;
    for (const std::string& name : BackupNames(files)) {
        if (root + "/" + name != target) {
            previous = root + "/" + name;
            break;
        }
    }
    const Stamps noted = previous.empty() ? Stamps{} : ReadStamps(fs, previous);
    const std::int64_t settled = NowNanoseconds() - kSettledNanoseconds;
    const std::string scratch = ScratchName(target, "new~");
    const auto& progress = files.backup->progress;
    try {
        // Stamps taken before the copies: a change during one shows as a new stamp.
        std::vector<std::optional<FileStamp>> stamps;
        std::vector<bool> linked;
        std::uint64_t total = 0;
        for (const std::string& name : names) {
            const std::optional<FileStamp> stamp = fs.Stamp(files.Folder + name);
            const auto known = noted.find(name);
            linked.push_back(stamp && known != noted.end() && known->second == *stamp &&
                             fs.Size(previous + "/" + name) == stamp->size);
            total += stamp && !linked.back() ? stamp->size : 0;
            stamps.push_back(stamp);
        }
        std::uint64_t done = 0;
        if (progress)
            progress(done, total);
        fs.MakeFolder(scratch);
        for (std::size_t i = 0; i < names.size(); ++i) {
            const std::string& name = names[i];
            if (linked[i]) {
                fs.Link(previous + "/" + name, scratch + "/" + name);
            } else {
                CopyInPieces(fs, files.Folder + name, scratch + "/" + name, [&](std::size_t n) {
                    done += n;
                    if (progress)
                        progress(std::min(done, total), total);
                });
            }
        }
        std::string whole;
        for (std::size_t i = 0; i < names.size(); ++i) {
            whole +=
                names[i] + "\t" + std::to_string(fs.Size(scratch + "/" + names[i]).value_or(0));
            if (stamps[i] && stamps[i]->modified < settled && stamps[i]->changed < settled)
                whole += StampFields(*stamps[i]);
            whole += "\n";
        }
        fs.Create(scratch + "/" + kWholeName, Bytes(whole.begin(), whole.end()));
        // The copies and their names are on the disk before the day is named.
        fs.Flush(scratch);
        fs.Rename(scratch, target);
    } catch (const FileError& e) {
        RemoveFolderQuietly(fs, scratch);
        BackupFailed(root, target, e);
    }
    try {
        fs.Flush(root);
    } catch (const FileError& e) {
        RemoveDay(fs, root, target.substr(root.size() + 1));
        BackupFailed(root, target, e);
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

void KeepDailyBackups(const DataFiles& files, int keepDays) {
    files.backup->keepDays = keepDays;
    files.backup->beforeChange = [](const DataFiles& changed) { BackUpBeforeChange(changed); };
}

void BackUpBeforeChange(const DataFiles& files) {
    DataFiles::Backup& backup = *files.backup;
    const std::string today = TodayText();
    if (backup.keepDays <= 0 || backup.skippedDay == today || backup.doneDay == today)
        return;
    try {
        const auto work = [&] { BackUpBeforeChange(files, today, backup.keepDays); };
        if (backup.run)
            backup.run(work);
        else
            work();
        // Made now or found there: either way the day is backed up.
        backup.doneDay = today;
    } catch (const FileError& e) {
        if (!backup.goOnWithout || !backup.goOnWithout(e.what()))
            throw;
        backup.skippedDay = today;
    }
}

bool BackUpBeforeChange(const DataFiles& files, const std::string& today, int keepDays) {
    if (keepDays <= 0) {
        return false;
    }
    FileSystem& fs = *files.fs;
    const std::string root = BackupRoot(files);
    std::vector<std::string> present;
    std::vector<std::string> names;
    try {
        present = fs.ListFolders(root);
        names = DataFileNames(files);
    } catch (const FileError& e) {
        BackupFailed(root, root + "/" + today, e);
    }
    if (std::binary_search(present.begin(), present.end(), today)) {
        return false;
    }
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
        if (IsBackupName(name) && !days.count(name.substr(0, 10)))
            RemoveDay(fs, root, name);
        else if (IsScratchName(name) && !IsScratchOfAnotherRunningCopy(name))
            RemoveFolderQuietly(fs, root + "/" + name);
    }
    return true;
}

std::vector<std::string> BackupNames(const DataFiles& files) {
    std::vector<std::string> names;
    const std::string root = BackupRoot(files);
    for (const std::string& name : files.fs->ListFolders(root)) {
        if (IsBackupName(name) && Missing(*files.fs, root + "/" + name).empty()) {
            names.push_back(name);
        }
    }
    std::reverse(names.begin(), names.end());
    return names;
}

void BackUpNow(const DataFiles& files, const std::string& name) {
    CopyInto(files, DataFileNames(files), BackupRoot(files) + "/" + name);
}

std::string BackUpBeforeRestore(const DataFiles& files, const std::string& now) {
    const std::string today = now.substr(0, 10);
    if (BackUpBeforeChange(files, today, files.backup->keepDays))
        return today;
    BackUpNow(files, now);
    return now;
}

std::vector<std::string> BackupFiles(const DataFiles& files, const std::string& name) {
    std::vector<std::string> names;
    if (!IsBackupName(name))
        return names;
    for (const std::string& file : files.fs->List(BackupRoot(files) + "/" + name)) {
        if (IsDataFileName(file))
            names.push_back(file);
    }
    return names;
}

RestoredFiles RestoreBackup(const DataFiles& files, const std::string& name) {
    FileSystem& fs = *files.fs;
    const std::string folder = BackupRoot(files) + "/" + name;
    RestoredFiles done;
    if (!IsBackupName(name) || !fs.Exists(folder))
        throw FileError(folder, ENOENT, "バックアップ " + folder + " がありません。");
    // Only a whole day: restoring part of one would remove every data file it lacks.
    const std::vector<std::string> missing = Missing(fs, folder, &done.restored);
    if (!missing.empty()) {
        std::string names;
        for (const std::string& file : missing)
            names += "\n" + file;
        throw FileError(folder, ENOENT,
                        "バックアップ " + folder +
                            " はそろっていないため、復元できません。\n欠けているファイル:" + names);
    }
    std::erase_if(done.restored, [](const std::string& file) { return !IsDataFileName(file); });
    std::sort(done.restored.begin(), done.restored.end());
    std::vector<FileChange> changes;
    for (const std::string& file : done.restored) {
        const std::string path = files.Folder + file;
        changes.push_back(CopyOfFile(path, fs.Exists(path), folder + "/" + file));
    }
    if (changes.empty()) {
        throw FileError(folder, ENOENT, "バックアップ " + folder + " にデータがありません。");
    }
    for (const std::string& file : DataFileNames(files)) {
        if (!std::binary_search(done.restored.begin(), done.restored.end(), file)) {
            changes.push_back(RemoveFile(files.Folder + file));
            done.removed.push_back(file);
        }
    }
    RunTransaction(files, "バックアップ " + name + " からの復元", std::move(changes));
    return done;
}

}  // namespace pb
