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

// A month record's ID as stored, and its month.
std::string_view IdAt(const std::uint8_t* record) {
    return {reinterpret_cast<const char*>(record + 1), std::min<std::size_t>(record[0], kIdLength)};
}
int MonthAt(const std::uint8_t* record) {
    return record[kMonthOffset] | record[kMonthOffset + 1] << 8;
}

// Year files are read through a buffer of this many bytes, never whole.
constexpr std::size_t kPieceSize = 64 * kMonthRecordSize;

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
    // 開始 on a month of the year looks up a name and a wage record as well.
    files.masters->Index(*files.fs, files.NameFile, kNameRecordSize, kMaxNameRecords);
    files.masters->Index(*files.fs, files.DailyWagesFile, kDailyWagesRecordSize);
    files.masters->Index(*files.fs, files.TimeWagesFile, kTimeWagesRecordSize);
}

std::optional<bool> IsMonthStoredWithin(const DataFiles& files, const std::string& id, int year,
                                        int month, std::uint64_t budget) {
    const KnownRecord known =
        files.years->Look(*files.fs, files.WorkFile(year), StoredIdOf(id), month, budget);
    if (!known.known)
        return std::nullopt;
    return known.record.has_value();
}

std::optional<YearIndex> IndexYearApart(const DataFiles& files, int year,
                                        const std::atomic<bool>& stop) {
    files.masters->Index(*files.fs, files.NameFile, kNameRecordSize, kMaxNameRecords);
    files.masters->Index(*files.fs, files.DailyWagesFile, kDailyWagesRecordSize);
    files.masters->Index(*files.fs, files.TimeWagesFile, kTimeWagesRecordSize);
    return ReadYearIndex(*files.fs, files.WorkFile(year), stop);
}

bool IsYearIndexed(const DataFiles& files, int year) {
    return files.years->IsIndexed(*files.fs, files.WorkFile(year));
}

bool AdoptYearIndex(const DataFiles& files, int year, YearIndex index) {
    return files.years->Adopt(*files.fs, files.WorkFile(year), std::move(index));
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
    // Year files are large (18.8 MB with 999 employees): the index tells which
    // hold the months, and those are filtered through a buffer, never held whole.
    FileSystem& fs = *files.fs;
    const std::string path = files.WorkFile(year);
    const std::optional<FileStamp> stamp = fs.Stamp(path);
    if (!stamp)
        return std::nullopt;
    if (stamp->size % kMonthRecordSize != 0)
        throw DamagedFileError(path, stamp->size, kMonthRecordSize);
    const std::string storedId = StoredIdOf(id);
    const auto purged = [storedId, month](const std::uint8_t* r) {
        return IdAt(r) == storedId && (month == 0 || MonthAt(r) == month);
    };
    switch (files.years->ShareOf(fs, path, storedId, month)) {
        case Share::None:
            return std::nullopt;
        case Share::All: {
            // A year without months has no file, so it drops out of the year list.
            // The file is read once more before it goes: a file is removed only
            // for what it holds, not for what an index says of it.
            bool onlyPurged = true;
            fs.ReadPieces(path, 0, kPieceSize, [&](const std::uint8_t* data, std::size_t size) {
                for (std::size_t o = 0; o + kMonthRecordSize <= size; o += kMonthRecordSize)
                    onlyPurged = onlyPurged && purged(data + o);
                return onlyPurged;
            });
            if (onlyPurged)
                return RemoveFile(path);
            break;
        }
        case Share::Some:
            break;
    }
    return FilteredFile(path, kMonthRecordSize,
                        [purged](const std::uint8_t* r) { return !purged(r); });
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
        // Through a buffer: year files are large. A ragged tail is no record.
        files.fs->ReadPieces(path, 0, kPieceSize, [&](const std::uint8_t* data, std::size_t size) {
            for (std::size_t o = 0; o + kMonthRecordSize <= size; o += kMonthRecordSize)
                count += IdAt(data + o) == storedId ? 1 : 0;
            return true;
        });
    }
    return count;
}

NextCellRecord ReadNextCell(const DataFiles& files, int pattern) {
    // The table only steers the cursor: a ragged tail (which the folder check
    // names) must not keep a month from being entered, so the whole records serve.
    Bytes content;
    if (files.fs->Exists(files.NextCellFile))
        content = files.fs->ReadAll(files.NextCellFile);
    content.resize(content.size() - content.size() % kNextCellRecordSize);
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

std::optional<int> TypedWorkYear(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    if (text.size() != 4 ||
        !std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); }))
        return std::nullopt;
    const int year = std::stoi(std::string(text));
    if (year < 1000 || year >= 2999)
        return std::nullopt;
    return year;
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
