#include "core/store/WorkDataFiles.h"

#include <algorithm>
#include <cctype>

#include "core/store/RecordFile.h"
#include "core/store/Transaction.h"
#include "core/store/YearIndex.h"

namespace pb {
namespace {

const std::string kWorkFileEnding = "_fv2.pbk";

bool IsMonth(const Bytes& content, std::size_t offset, const std::string& storedId, int month) {
    return StoredId(content, offset) == storedId &&
           GetUInt16(content, offset + kMonthOffset) == month;
}

// A month the year's index names, with the record as read.
struct Located {
    std::uint32_t index;
    Bytes record;
};

// Looks the month up in the index and reads its record. A record that does not
// carry the key the index promised means the file changed behind an unchanged
// stamp: the index is built again once.
std::optional<Located> Locate(const DataFiles& files, const std::string& path,
                              const std::string& storedId, int month) {
    for (int attempt = 0; attempt < 2; ++attempt) {
        const std::optional<std::uint32_t> found =
            files.years->Find(*files.fs, path, storedId, month);
        if (!found)
            return std::nullopt;
        Bytes record =
            files.fs->ReadAt(path, std::uint64_t{*found} * kMonthRecordSize, kMonthRecordSize);
        if (record.size() == kMonthRecordSize && IsMonth(record, 0, storedId, month))
            return Located{*found, std::move(record)};
        files.years->Forget(path);
    }
    return std::nullopt;
}

// "従業員 001 の 2024年4月の記録", as the operator is told of it after a repair.
std::string MonthOperation(const std::string& id, int year, int month, const char* what) {
    const std::string months = month == 0 ? "全月" : std::to_string(month) + "月";
    return "従業員 " + id + " の " + std::to_string(year) + "年" + months + what;
}

}  // namespace

int FindMonthIndex(const DataFiles& files, const std::string& id, int year, int month) {
    const auto found = files.years->Find(*files.fs, files.WorkFile(year), StoredIdOf(id), month);
    return found ? static_cast<int>(*found) : -1;
}

void IndexYear(const DataFiles& files, int year) {
    files.years->Complete(*files.fs, files.WorkFile(year));
}

std::optional<MonthRecord> ReadMonthRecord(const DataFiles& files, const std::string& id, int year,
                                           int month) {
    const auto located = Locate(files, files.WorkFile(year), StoredIdOf(id), month);
    if (!located)
        return std::nullopt;
    return MonthRecordFromBytes(located->record);
}

bool WriteMonthRecord(const DataFiles& files, int year, const MonthRecord& record, Operator& op) {
    const std::string path = files.WorkFile(year);
    try {
        const std::optional<FileStamp> stamp = files.fs->Stamp(path);
        if (stamp && stamp->size % kMonthRecordSize != 0)
            throw DamagedFileError(path, stamp->size, kMonthRecordSize);
        RecordWrite write;
        write.path = path;
        write.record = ToBytes(record);
        const auto located = Locate(files, path, StoredIdOf(record.ID), record.Month);
        if (located) {
            write.offset = std::uint64_t{located->index} * kMonthRecordSize;
            write.overwritten = located->record;
        }
        if (stamp)
            write.sizeBefore = stamp->size;
        RunRecordWrite(files, MonthOperation(record.ID, year, record.Month, "の記録"), write);
        files.years->Wrote(*files.fs, path, write.record, !located);
    } catch (const FileError& e) {
        files.years->Forget(path);
        op.Error(e.what());
        return false;
    }
    return true;
}

std::optional<FileChange> PlanMonthPurge(const DataFiles& files, const std::string& id, int year,
                                         int month) {
    const std::string path = files.WorkFile(year);
    std::optional<Bytes> current = ReadForUpdate(*files.fs, path, kMonthRecordSize);
    if (!current)
        return std::nullopt;
    const std::string storedId = StoredIdOf(id);
    Bytes kept = DropRecords(*current, kMonthRecordSize, [&](const Bytes& b, std::size_t o) {
        return StoredId(b, o) == storedId &&
               (month == 0 || GetUInt16(b, o + kMonthOffset) == month);
    });
    if (kept.size() == current->size())
        return std::nullopt;
    // A year without months has no file, so it drops out of the year list.
    if (kept.empty())
        return RemoveFile(path);
    return RewriteFile(path, true, std::move(kept));
}

bool PurgeMonthRecords(const DataFiles& files, const std::string& id, int year, int month,
                       Operator& op) {
    try {
        if (auto change = PlanMonthPurge(files, id, year, month)) {
            RunTransaction(files, MonthOperation(id, year, month, "の削除"), {std::move(*change)});
        }
    } catch (const FileError& e) {
        op.Error(e.what());
        return false;
    }
    return true;
}

int CountStoredMonths(const DataFiles& files, const std::string& id) {
    std::vector<std::string> paths;
    ScanFolder(files, files.Folder, paths);
    const std::string storedId = StoredIdOf(id);
    int count = 0;
    for (const std::string& path : paths) {
        if (!YearOfWorkFile(path))
            continue;
        const Bytes content = ReadRecords(*files.fs, path, kMonthRecordSize);
        for (std::size_t o = 0; o + kMonthRecordSize <= content.size(); o += kMonthRecordSize)
            count += StoredId(content, o) == storedId ? 1 : 0;
    }
    return count;
}

NextCellRecord ReadNextCell(const DataFiles& files, int pattern) {
    const Bytes content = ReadRecords(*files.fs, files.NextCellFile, kNextCellRecordSize);
    for (std::size_t o = 0; o < content.size(); o += kNextCellRecordSize) {
        if (GetInt32(content, o) == pattern)
            return NextCellRecordFromBytes(content, o);
    }
    return NextCellRecord{};
}

void ScanFolder(const DataFiles& files, const std::string& folder, std::vector<std::string>& list) {
    std::string prefix = folder;
    if (prefix.empty() || prefix.back() != '/')
        prefix += '/';
    list.clear();
    for (const auto& name : files.fs->List(prefix))
        list.push_back(prefix + name);
}

std::optional<std::string> YearOfWorkFile(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name.size() != 4 + kWorkFileEnding.size() || !name.ends_with(kWorkFileEnding)) {
        return std::nullopt;
    }
    const std::string year = name.substr(0, 4);
    if (!std::all_of(year.begin(), year.end(), [](unsigned char c) { return std::isdigit(c); })) {
        return std::nullopt;
    }
    return year;
}

}  // namespace pb
