#include "core/store/EmployeeFiles.h"

#include <algorithm>
#include <cerrno>
#include <functional>
#include <map>

#include "core/common/ShiftJis.h"
#include "core/model/PayScheme.h"
#include "core/store/PayrollFiles.h"
#include "core/store/RecordFile.h"
#include "core/store/Transaction.h"
#include "core/store/WorkDataFiles.h"

namespace pb {
namespace {

const char kRegistrationCancelled[] = "従業員データの登録を中止します。";
const char kSameAsRegistered[] = "現在登録されているデータと同じです。";
const char kRegistered[] = "登録完了";
const char kIdAndNameRequired[] = "従業員番号と氏名は必ず入力して下さい";
const char kNameTooLong[] = "氏名は半角20文字（全角10文字）までです";

std::string StoredName(const std::string& name) {
    return CutSjis(EncodeSjis(name), kNameLength);
}

// A name on file is the name typed when its bytes are those the typed name is
// stored as, or when they read as the same text: the forms show the name
// decoded, and characters with two codes in the code page (the NEC row's
// 纊 is ED 40 and FA 5C) come back encoded the other way.
bool IsSameName(const std::string& stored, const std::string& typed) {
    const std::string typedBytes = StoredName(typed);
    return stored == typedBytes || DecodeSjis(stored).text == DecodeSjis(typedBytes).text;
}

// The name of record `o` of "Name.dat" as it is shown and quoted.
std::string NameAt(const Bytes& names, std::size_t o) {
    return VisibleText(GetShortString(names, o + kNameOffset, kNameLength));
}

bool InScheme(std::int32_t wagesCode, SchemeFilter scheme) {
    return !scheme || WagesCode::IsOfScheme(wagesCode, *scheme);
}

// The first record of Name.dat with this ID: its offset in `names`.
std::optional<std::size_t> FindName(const Bytes& names, const std::string& storedId) {
    for (std::size_t o = 0; o < names.size(); o += kNameRecordSize) {
        if (StoredId(names, o) == storedId)
            return o;
    }
    return std::nullopt;
}

Bytes ReadNames(const DataFiles& files) {
    return files.masters->ReadAll(*files.fs, files.NameFile, kNameRecordSize, kMaxNameRecords);
}

// The first record of the ID in "Name.dat" for which `wanted` holds, through the index.
std::optional<FoundRecord> FindNameRecord(const DataFiles& files, const std::string& id,
                                          const std::function<bool(const Bytes&)>& wanted = {}) {
    return files.masters->Find(*files.fs, files.NameFile, kNameRecordSize, StoredIdOf(id), wanted,
                               kMaxNameRecords);
}

// What differs between the two wage files.
struct DailyFile {
    using Record = DailyWagesRecord;
    static constexpr std::size_t kSize = kDailyWagesRecordSize;
    static const std::string& Path(const DataFiles& f) { return f.DailyWagesFile; }
    static Record Decode(const Bytes& b, std::size_t o) { return DailyWagesRecordFromBytes(b, o); }
};

struct TimeFile {
    using Record = TimeWagesRecord;
    static constexpr std::size_t kSize = kTimeWagesRecordSize;
    static const std::string& Path(const DataFiles& f) { return f.TimeWagesFile; }
    static Record Decode(const Bytes& b, std::size_t o) { return TimeWagesRecordFromBytes(b, o); }
};

template <typename File>
int FindCurrent(const Bytes& content, const std::string& storedId) {
    for (std::size_t o = 0; o < content.size(); o += File::kSize) {
        if (StoredId(content, o) == storedId && GetByte(content, o + kWageCurrentOffset) != 0) {
            return static_cast<int>(o / File::kSize);
        }
    }
    return kNoRecord;
}

// The first record of the ID and generation (0: the one in force) in the
// wage file, through the index.
template <typename File>
std::optional<FoundRecord> FindWageRecord(const DataFiles& files, const std::string& id,
                                          int generation) {
    return files.masters->Find(
        *files.fs, File::Path(files), File::kSize, StoredIdOf(id), [generation](const Bytes& r) {
            return generation == 0 ? GetByte(r, kWageCurrentOffset) != 0
                                   : GetInt32(r, kWageGenerationOffset) == generation;
        });
}

template <typename File>
int FindCurrentIndex(const DataFiles& files, const std::string& id) {
    const auto found = FindWageRecord<File>(files, id, 0);
    return found ? static_cast<int>(found->number) : kNoRecord;
}

// The record of the ID and generation (0: the one in force) as the file holds it.
template <typename File>
std::optional<Bytes> ReadWageBytes(const DataFiles& files, const std::string& id, int generation) {
    if (auto found = FindWageRecord<File>(files, id, generation))
        return std::move(found->bytes);
    return std::nullopt;
}

template <typename File>
std::optional<typename File::Record> ReadWageRecord(const DataFiles& files, const std::string& id,
                                                    int generation) {
    if (const std::optional<Bytes> stored = ReadWageBytes<File>(files, id, generation))
        return File::Decode(*stored, 0);
    return std::nullopt;
}

template <typename File>
bool WriteWageRecord(const DataFiles& files, const typename File::Record& record, int index) {
    const std::string& path = File::Path(files);
    const std::optional<Bytes> current = ReadForUpdate(*files.fs, path, File::kSize);
    RunRecordWrite(files, "従業員 " + record.ID + " の賃金データの記録",
                   RecordAt(path, current, File::kSize, index, ToBytes(record)));
    return true;
}

template <typename File>
int RetireWageRecord(const DataFiles& files, const std::string& id) {
    const std::string& path = File::Path(files);
    const std::optional<Bytes> current = ReadForUpdate(*files.fs, path, File::kSize);
    if (!current)
        return kNoRecord;
    const int index = FindCurrent<File>(*current, StoredIdOf(id));
    if (index == kNoRecord)
        return kNoRecord;
    // Only the flag changes; the rest of the record stays exactly as stored.
    const std::size_t offset = static_cast<std::size_t>(index) * File::kSize;
    Bytes record(current->begin() + static_cast<std::ptrdiff_t>(offset),
                 current->begin() + static_cast<std::ptrdiff_t>(offset + File::kSize));
    PutByte(record, kWageCurrentOffset, 0);
    RunRecordWrite(files, "従業員 " + id + " の賃金データの記録",
                   RecordAt(path, current, File::kSize, index, record));
    return GetInt32(record, kWageGenerationOffset);
}

template <typename File>
std::optional<FileChange> PlanWagePurge(const DataFiles& files, const std::string& id) {
    const std::string& path = File::Path(files);
    std::optional<Bytes> current = ReadForUpdate(*files.fs, path, File::kSize);
    if (!current)
        return std::nullopt;
    const std::string storedId = StoredIdOf(id);
    Bytes kept = DropRecords(*current, File::kSize, [&](const Bytes& b, std::size_t o) {
        return StoredId(b, o) == storedId;
    });
    if (kept.size() == current->size())
        return std::nullopt;
    if (kept.empty())
        return RemoveFile(path);
    return RewriteFile(path, true, std::move(kept));
}

bool SameConditions(const DailyWagesRecord& a, const DailyWagesRecord& b) {
    return a.WorkType == b.WorkType && a.ClosingDay == b.ClosingDay &&
           a.HalfHoliday == b.HalfHoliday && a.Holiday == b.Holiday && a.Holiday1 == b.Holiday1 &&
           a.Holiday2 == b.Holiday2 && a.Holiday3 == b.Holiday3 &&
           a.WeekdayMorningPay == b.WeekdayMorningPay && a.WeekdayOverPay == b.WeekdayOverPay &&
           a.WeekdayEarMornPay == b.WeekdayEarMornPay && a.WeekdayNightPay == b.WeekdayNightPay &&
           a.HolidayMorningPay == b.HolidayMorningPay && a.HolidayOverPay == b.HolidayOverPay &&
           a.HolidayEarMornPay == b.HolidayEarMornPay && a.HolidayNightPay == b.HolidayNightPay &&
           a.TimeToStartWork == b.TimeToStartWork && a.TimeToFinishWork == b.TimeToFinishWork &&
           a.TimeToStartNight == b.TimeToStartNight &&
           a.TimeToFinishMorning == b.TimeToFinishMorning &&
           a.TimeToFinishWorkHH == b.TimeToFinishWorkHH;
}

bool SameConditions(const TimeWagesRecord& a, const TimeWagesRecord& b) {
    return a.WorkType == b.WorkType && a.ClosingDay == b.ClosingDay &&
           a.ChargeDivideTime1 == b.ChargeDivideTime1 &&
           a.ChargeDivideTime2 == b.ChargeDivideTime2 &&
           a.ChargeDivideTime3 == b.ChargeDivideTime3 && a.TimePay == b.TimePay &&
           a.Band1Pays == b.Band1Pays && a.Band2Pays == b.Band2Pays && a.Band3Pays == b.Band3Pays;
}

LookupResult LookupIn(const Bytes& names, const std::string& id, const std::string& name) {
    const auto found = FindName(names, StoredIdOf(id));
    if (!found)
        return {};
    const std::size_t o = *found;
    const std::int32_t wagesCode = GetInt32(names, o + kWagesCodeOffset);
    const bool sameName = IsSameName(GetShortStringRaw(names, o + kNameOffset, kNameLength), name);
    const bool linked = GetInt32(names, o + kLinkedOffset) != 0;
    LookupStatus status = LookupStatus::Registered;
    if (linked && wagesCode == 0)
        status = sameName ? LookupStatus::PayrollOnly : LookupStatus::PayrollOnlyOtherName;
    else if (linked)
        status = sameName ? LookupStatus::Linked : LookupStatus::LinkedOtherName;
    else if (!sameName)
        status = LookupStatus::RegisteredOtherName;
    return {status, wagesCode};
}

}  // namespace

void CopyWholeFile(const DataFiles& files, const std::string& source, const std::string& target) {
    files.fs->Copy(source, target);
}

std::int64_t FileSizeOf(const DataFiles& files, const std::string& path) {
    const auto size = files.fs->Size(path);
    if (!size)
        throw FileError(path, ENOENT, path + " を開けません。\n" + ErrorReason(ENOENT));
    return static_cast<std::int64_t>(*size);
}

bool ValidateEmployeeInput(const std::string& name, int idNumber, Operator& op) {
    if (!name.empty() && idNumber >= 1)
        return true;
    op.Warning(kIdAndNameRequired, Buttons::Ok);
    return false;
}

bool ValidateNameToStore(const std::string& name, Operator& op) {
    // What the record cannot hold would otherwise be stored as "?" or cut off.
    if (const std::string lacking = FirstUnencodable(name); !lacking.empty()) {
        op.Warning(
            "氏名の「" + lacking + "」は登録できない文字です。\r\n別の文字に置き換えて下さい",
            Buttons::Ok);
        return false;
    }
    if (EncodeSjis(name).size() > kNameLength) {
        op.Warning(kNameTooLong, Buttons::Ok);
        return false;
    }
    return true;
}

NameRecord MakeNameRecord(const DataFiles& files, const std::string& id, const std::string& name,
                          std::int32_t wagesCode) {
    NameRecord record;
    record.ID = DecodeSjis(StoredIdOf(id)).text;
    record.Name = DecodeSjis(StoredName(name)).text;
    record.WagesCode = wagesCode;
    record.Linked = LookupEmployee(files, id, name).Linked() ? 1 : 0;
    return record;
}

LookupResult LookupEmployee(const DataFiles& files, const std::string& id,
                            const std::string& name) {
    return LookupIn(ReadNames(files), id, name);
}

std::string FindEmployeeName(const DataFiles& files, const std::string& id, SchemeFilter scheme) {
    const auto found = FindNameRecord(files, id, [scheme](const Bytes& r) {
        return InScheme(GetInt32(r, kWagesCodeOffset), scheme);
    });
    return found ? NameAt(found->bytes, 0) : std::string();
}

void ListEmployeeIDs(const DataFiles& files, std::vector<std::string>& list, SchemeFilter scheme) {
    ListEmployeeIDsIn(ReadNames(files), list, scheme);
}

void ListEmployeeIDsIn(const Bytes& names, std::vector<std::string>& list, SchemeFilter scheme) {
    for (std::size_t o = 0; o < names.size(); o += kNameRecordSize) {
        if (InScheme(GetInt32(names, o + kWagesCodeOffset), scheme)) {
            list.push_back(GetShortString(names, o, kIdLength));
        }
    }
}

namespace {

// The record in force of each ID of a wage file, by stored ID.
template <typename File>
std::map<std::string, typename File::Record> CurrentRecords(const DataFiles& files) {
    const Bytes content = files.masters->ReadAll(*files.fs, File::Path(files), File::kSize);
    std::map<std::string, typename File::Record> current;
    for (std::size_t o = 0; o < content.size(); o += File::kSize) {
        if (GetByte(content, o + kWageCurrentOffset) != 0)
            current.try_emplace(StoredId(content, o), File::Decode(content, o));
    }
    return current;
}

template <typename File>
std::optional<typename File::Record> Lookup(
    const std::map<std::string, typename File::Record>& records, const std::string& storedId) {
    const auto found = records.find(storedId);
    if (found == records.end())
        return std::nullopt;
    return found->second;
}

}  // namespace

std::vector<SchemeEmployee> ListSchemeEmployees(const DataFiles& files, PayScheme scheme) {
    const Bytes names = ReadNames(files);
    std::map<std::string, std::string> firstNames;  // an ID listed twice shows its first name
    std::vector<std::string> storedIds;
    for (std::size_t o = 0; o < names.size(); o += kNameRecordSize) {
        if (!InScheme(GetInt32(names, o + kWagesCodeOffset), scheme))
            continue;
        const std::string storedId = StoredId(names, o);
        firstNames.try_emplace(storedId, NameAt(names, o));
        storedIds.push_back(storedId);
    }
    std::map<std::string, DailyWagesRecord> daily;
    std::map<std::string, TimeWagesRecord> hourly;
    if (!storedIds.empty()) {
        if (scheme == PayScheme::Daily)
            daily = CurrentRecords<DailyFile>(files);
        else
            hourly = CurrentRecords<TimeFile>(files);
    }
    std::vector<SchemeEmployee> employees;
    employees.reserve(storedIds.size());
    for (const std::string& storedId : storedIds) {
        SchemeEmployee e;
        e.ID = DecodeSjis(storedId).text;
        e.Name = firstNames[storedId];
        if (scheme == PayScheme::Daily)
            e.Daily = Lookup<DailyFile>(daily, storedId);
        else
            e.Time = Lookup<TimeFile>(hourly, storedId);
        employees.push_back(std::move(e));
    }
    return employees;
}

int FindNameIndex(const DataFiles& files, const std::string& id) {
    const auto found = FindNameRecord(files, id);
    return found ? static_cast<int>(found->number) : kNoRecord;
}

int FindCurrentDailyIndex(const DataFiles& files, const std::string& id) {
    return FindCurrentIndex<DailyFile>(files, id);
}

int FindCurrentTimeIndex(const DataFiles& files, const std::string& id) {
    return FindCurrentIndex<TimeFile>(files, id);
}

std::optional<WagesCode> FindWagesCode(const DataFiles& files, const std::string& id) {
    const auto found = FindNameRecord(files, id);
    if (!found)
        return std::nullopt;
    return WagesCode::Read(GetInt32(found->bytes, kWagesCodeOffset));
}

std::optional<PayScheme> RegisteredScheme(const DataFiles& files, const std::string& id) {
    const std::optional<WagesCode> code = FindWagesCode(files, id);
    return code ? code->Scheme() : std::nullopt;
}

PayScheme SchemeOnFile(const DataFiles& files, const std::string& id) {
    const std::optional<WagesCode> code = FindWagesCode(files, id);
    return code ? SchemeOfNumber(code->schemeNumber) : PayScheme::Daily;
}

bool WriteNameRecord(const DataFiles& files, const NameRecord& record) {
    const std::optional<Bytes> current =
        ReadForUpdate(*files.fs, files.NameFile, kNameRecordSize, kMaxNameRecords);
    long index = -1;
    if (current) {
        if (const auto found = FindName(*current, StoredIdOf(record.ID))) {
            index = static_cast<long>(*found / kNameRecordSize);
        }
    }
    RunRecordWrite(files, "従業員 " + record.ID + " の記録",
                   RecordAt(files.NameFile, current, kNameRecordSize, index, ToBytes(record)));
    return true;
}

bool WriteDailyRecord(const DataFiles& files, const DailyWagesRecord& record, int index) {
    return WriteWageRecord<DailyFile>(files, record, index);
}

bool WriteTimeRecord(const DataFiles& files, const TimeWagesRecord& record, int index) {
    return WriteWageRecord<TimeFile>(files, record, index);
}

std::optional<DailyWagesRecord> ReadDailyRecord(const DataFiles& files, const std::string& id,
                                                int generation) {
    return ReadWageRecord<DailyFile>(files, id, generation);
}

std::optional<TimeWagesRecord> ReadTimeRecord(const DataFiles& files, const std::string& id,
                                              int generation) {
    return ReadWageRecord<TimeFile>(files, id, generation);
}

std::optional<Bytes> ReadWageRecordBytes(const DataFiles& files, PayScheme scheme,
                                         const std::string& id, int generation) {
    return scheme == PayScheme::Hourly ? ReadWageBytes<TimeFile>(files, id, generation)
                                       : ReadWageBytes<DailyFile>(files, id, generation);
}

int RetireDailyRecord(const DataFiles& files, const std::string& id) {
    return RetireWageRecord<DailyFile>(files, id);
}

int RetireTimeRecord(const DataFiles& files, const std::string& id) {
    return RetireWageRecord<TimeFile>(files, id);
}

bool DailyRecordChanged(const DataFiles& files, const std::string& id,
                        const DailyWagesRecord& record) {
    const auto stored = ReadDailyRecord(files, id, 0);
    return !stored || !SameConditions(*stored, record);
}

bool TimeRecordChanged(const DataFiles& files, const std::string& id,
                       const TimeWagesRecord& record) {
    const auto stored = ReadTimeRecord(files, id, 0);
    return !stored || !SameConditions(*stored, record);
}

void PurgeDailyRecords(const DataFiles& files, const std::string& id) {
    if (auto change = PlanWagePurge<DailyFile>(files, id))
        RunTransaction(files, "従業員 " + id + " の賃金データの削除", {std::move(*change)});
}

void PurgeTimeRecords(const DataFiles& files, const std::string& id) {
    if (auto change = PlanWagePurge<TimeFile>(files, id))
        RunTransaction(files, "従業員 " + id + " の賃金データの削除", {std::move(*change)});
}

bool DeleteEmployee(const DataFiles& files, const std::string& id, Operator& op) {
    // Every change is worked out before the first is made, so a file that cannot
    // be read or is damaged stops the deletion with nothing written.
    try {
        std::vector<FileChange> changes;
        const std::string storedId = StoredIdOf(id);
        std::optional<PayScheme> scheme;
        bool linked = false;
        bool noneLeft = true;
        if (std::optional<Bytes> names =
                ReadForUpdate(*files.fs, files.NameFile, kNameRecordSize, kMaxNameRecords)) {
            if (const auto found = FindName(*names, storedId)) {
                scheme = WagesCode::Read(GetInt32(*names, *found + kWagesCodeOffset)).Scheme();
                linked = GetInt32(*names, *found + kLinkedOffset) == 1;
            }
            Bytes kept = DropRecords(*names, kNameRecordSize, [&](const Bytes& b, std::size_t o) {
                return StoredId(b, o) == storedId;
            });
            noneLeft = kept.empty();
            if (noneLeft) {
                changes.push_back(RemoveFile(files.NameFile));
            } else if (kept.size() != names->size()) {
                changes.push_back(RewriteFile(files.NameFile, true, std::move(kept)));
            }
        }
        if (linked) {
            for (auto& change : PlanPayrollRemoval(files, id, CurrentYear())) {
                changes.push_back(std::move(change));
            }
        }
        if (noneLeft) {
            // Without employees the wage files go too.
            for (const std::string* path : {&files.DailyWagesFile, &files.TimeWagesFile}) {
                if (files.fs->Exists(*path))
                    changes.push_back(RemoveFile(*path));
            }
        } else {
            auto change = scheme == PayScheme::Daily ? PlanWagePurge<DailyFile>(files, id)
                                                     : PlanWagePurge<TimeFile>(files, id);
            if (change)
                changes.push_back(std::move(*change));
        }
        std::vector<std::string> paths;
        ScanFolder(files, files.Folder, paths);
        for (const auto& path : paths) {
            const auto year = YearOfWorkFile(path);
            if (!year)
                continue;
            if (auto change = PlanMonthPurge(files, id, std::stoi(*year), 0)) {
                changes.push_back(std::move(*change));
            }
        }
        RunTransaction(files, "従業員 " + id + " の削除", std::move(changes));
    } catch (const FileError& e) {
        op.Error(e.what());
        return false;
    }
    return true;
}

namespace {

// A master file as a registration plans it: as read, and as it is to become.
struct PlannedFile {
    const std::string& path;
    std::size_t recordSize;
    std::optional<Bytes> original;
    Bytes content;

    PlannedFile(const FileSystem& fs, const std::string& p, std::size_t size,
                std::uint64_t maxRecords = UINT64_MAX)
        : path(p),
          recordSize(size),
          original(ReadForUpdate(fs, p, size, maxRecords)),
          content(original.value_or(Bytes{})) {}

    void Put(long index, const Bytes& record) {
        if (index == kNoRecord) {
            content.insert(content.end(), record.begin(), record.end());
        } else {
            std::copy(record.begin(), record.end(),
                      content.begin() + index * static_cast<long>(recordSize));
        }
    }
    void AddTo(std::vector<FileChange>& changes) const {
        if (content != original.value_or(Bytes{}) || (!original && !content.empty()))
            changes.push_back(RewriteFile(path, original.has_value(), content));
    }
};

template <typename File>
bool ConditionsChanged(const Bytes& wages, const std::string& storedId,
                       const typename File::Record& record) {
    const int index = FindCurrent<File>(wages, storedId);
    return index == kNoRecord ||
           !SameConditions(File::Decode(wages, static_cast<std::size_t>(index) * File::kSize),
                           record);
}

// Marks the record in force as superseded in the plan; its generation, or
// kNoRecord.
template <typename File>
int Retire(PlannedFile& wages, const std::string& storedId) {
    const int index = FindCurrent<File>(wages.content, storedId);
    if (index == kNoRecord)
        return kNoRecord;
    const std::size_t offset = static_cast<std::size_t>(index) * File::kSize;
    PutByte(wages.content, offset + kWageCurrentOffset, 0);
    return GetInt32(wages.content, offset + kWageGenerationOffset);
}

}  // namespace

bool RegisterEmployee(const DataFiles& files, const EmployeeEntry& request, PayScheme scheme,
                      Operator& op) {
    const FileSystem& fs = *files.fs;
    EmployeeEntry entry = request;
    const std::string id = entry.Name.ID;
    const std::string storedId = StoredIdOf(id);
    std::string pending = kRegistrationCancelled;
    try {
        // Confirm, plan, then apply: nothing is written before the operator has
        // agreed and every new record is in place in the plan.
        PlannedFile names(fs, files.NameFile, kNameRecordSize, kMaxNameRecords);
        // The other scheme's wage file is read only when a record goes there.
        std::optional<PlannedFile> daily, time;
        const auto wagesOf = [&](PayScheme of) -> PlannedFile& {
            const bool isDaily = of == PayScheme::Daily;
            auto& file = isDaily ? daily : time;
            if (!file) {
                file.emplace(fs, isDaily ? files.DailyWagesFile : files.TimeWagesFile,
                             isDaily ? kDailyWagesRecordSize : kTimeWagesRecordSize);
            }
            return *file;
        };
        const LookupResult lookup = LookupIn(names.content, id, entry.Name.Name);
        const bool changed = scheme == PayScheme::Daily
                                 ? ConditionsChanged<DailyFile>(wagesOf(PayScheme::Daily).content,
                                                                storedId, entry.Daily)
                                 : ConditionsChanged<TimeFile>(wagesOf(PayScheme::Hourly).content,
                                                               storedId, entry.Time);
        if (!changed && lookup.SameName()) {
            op.Warning(kSameAsRegistered, Buttons::Yes);
            return false;
        }
        int d = 0;
        // An employee on file changes only when the operator confirms it, unless
        // the payroll program alone knows it under this very name.
        if (lookup.OnFile() && !(lookup.PayrollOnly() && lookup.SameName())) {
            const bool go =
                scheme == PayScheme::Daily
                    ? op.ConfirmDailyUpdate({entry.Name.ID, entry.Name.Name, entry.Daily})
                    : op.ConfirmTimeUpdate({entry.Name.ID, entry.Name.Name, entry.Time});
            if (go && lookup.RegisteredHere())
                d = scheme == PayScheme::Daily
                        ? Retire<DailyFile>(wagesOf(PayScheme::Daily), storedId)
                        : Retire<TimeFile>(wagesOf(PayScheme::Hourly), storedId);
            if (!go || d == kNoRecord) {
                op.Warning(pending, Buttons::Yes);
                return false;
            }
        }
        WagesCode code = WagesCode::Read(entry.Name.WagesCode);
        code.generation += d;
        entry.Name.WagesCode = code.Stored();
        const auto nameAt = FindName(names.content, storedId);
        Bytes nameRecord = ToBytes(entry.Name);
        if (nameAt && lookup.SameName()) {
            // The same name keeps its bytes: they need not be what it encodes to.
            std::copy_n(names.content.begin() + static_cast<std::ptrdiff_t>(*nameAt + kNameOffset),
                        1 + kNameLength, nameRecord.begin() + kNameOffset);
        }
        names.Put(nameAt ? static_cast<long>(*nameAt / kNameRecordSize) : -1, nameRecord);
        if (WagesCode::Read(entry.Name.WagesCode).Scheme() != PayScheme::Hourly) {
            entry.Daily.Generation = d + 1;
            entry.Daily.Current = 1;
            wagesOf(PayScheme::Daily).Put(-1, ToBytes(entry.Daily));
        } else {
            entry.Time.Generation = d + 1;
            entry.Time.Current = 1;
            wagesOf(PayScheme::Hourly).Put(-1, ToBytes(entry.Time));
        }
        std::vector<FileChange> changes;
        names.AddTo(changes);
        for (const auto* file : {&daily, &time}) {
            if (*file)
                (*file)->AddTo(changes);
        }
        RunTransaction(files, "従業員 " + id + " の登録", std::move(changes));
    } catch (const FileError& e) {
        op.Warning(pending, Buttons::Yes);
        op.Error(e.what());
        return false;
    }
    op.Information(kRegistered);
    return true;
}

}  // namespace pb
