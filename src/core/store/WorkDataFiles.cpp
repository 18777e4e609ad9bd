#include "core/store/WorkDataFiles.h"

#include <algorithm>
#include <cctype>

#include "core/store/RecordFile.h"

namespace pb {
namespace {

constexpr std::size_t kMonthOffset = 12;
const std::string kWorkFileEnding = "_fv2.pbk";

bool IsMonth(const Bytes& content, std::size_t offset, const std::string& storedId, int month) {
    return StoredId(content, offset) == storedId &&
           GetUInt16(content, offset + kMonthOffset) == month;
}

int IndexOfMonth(const Bytes& content, const std::string& storedId, int month) {
    for (std::size_t o = 0; o + kMonthRecordSize <= content.size(); o += kMonthRecordSize) {
        if (IsMonth(content, o, storedId, month))
            return static_cast<int>(o / kMonthRecordSize);
    }
    return -1;
}

}  // namespace

int FindMonthIndex(const DataFiles& files, const std::string& id, int year, int month) {
    return IndexOfMonth(ReadRecords(*files.fs, files.WorkFile(year), kMonthRecordSize),
                        StoredIdOf(id), month);
}

std::optional<MonthRecord> ReadMonthRecord(const DataFiles& files, const std::string& id, int year,
                                           int month) {
    const Bytes content = ReadRecords(*files.fs, files.WorkFile(year), kMonthRecordSize);
    const int index = IndexOfMonth(content, StoredIdOf(id), month);
    if (index < 0)
        return std::nullopt;
    return MonthRecordFromBytes(content, static_cast<std::size_t>(index) * kMonthRecordSize);
}

bool WriteMonthRecord(const DataFiles& files, int year, const MonthRecord& record, Operator& op) {
    const std::string path = files.WorkFile(year);
    try {
        const std::optional<Bytes> current = ReadForUpdate(*files.fs, path, kMonthRecordSize);
        const int index =
            current ? IndexOfMonth(*current, StoredIdOf(record.ID), record.Month) : -1;
        WriteRecordAt(*files.fs, path, current, kMonthRecordSize, index, ToBytes(record));
    } catch (const FileError& e) {
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
    FileChange change{path, files.WorkTempFile(year), std::move(current), std::nullopt};
    // A year without months has no file, so it drops out of the year list.
    if (!kept.empty())
        change.content = std::move(kept);
    return change;
}

bool PurgeMonthRecords(const DataFiles& files, const std::string& id, int year, int month,
                       Operator& op) {
    try {
        if (auto change = PlanMonthPurge(files, id, year, month)) {
            ApplyChange(*files.fs, *change);
        }
    } catch (const FileError& e) {
        op.Error(e.what());
        return false;
    }
    return true;
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
