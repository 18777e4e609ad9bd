#include "core/convert/DataConversion.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>

#include "core/common/Routines.h"
#include "core/model/PayScheme.h"
#include "core/store/EmployeeFiles.h"
#include "core/store/RecordFile.h"
#include "core/store/Transaction.h"
#include "core/store/WorkDataFiles.h"
#include "core/timecard/WorkPattern.h"

namespace pb {
namespace {

const char kOldEmployeeName[] = "HIREDATA.DAT";
const char kOldEmployeeBackup[] = "Hiredata.cbf";
const char kBackupEnding[] = ".cbf";

const char kEarlierBackups[] =
    "前回コンバート時に作成されたバックアップファイルは\r\n無効になります。\r\n\r\nよろしいですか"
    "？";

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return lower;
}

bool SameName(std::string_view a, std::string_view b) {
    return Lower(a) == Lower(b);
}

bool EndsWithNoCase(std::string_view name, std::string_view ending) {
    return name.size() >= ending.size() &&
           SameName(name.substr(name.size() - ending.size()), ending);
}

std::string NameOf(const std::string& path) {
    return path.substr(path.rfind('/') + 1);
}

// The full path of the file in the program folder named `name` in any case;
// empty when there is none.
std::string FindNoCase(const DataFiles& files, std::string_view name) {
    for (const auto& listed : files.fs->List(files.Folder)) {
        if (SameName(listed, name))
            return files.Folder + listed;
    }
    return {};
}

std::string OldMonthFile(const DataFiles& files, const std::string& id) {
    return FindNoCase(files, id + "tc.dat");
}

std::vector<OldEmployeeRecord> OldRecordsOf(const DataFiles& files, const std::string& id) {
    std::vector<OldEmployeeRecord> records;
    const std::string path = OldEmployeeFile(files);
    if (path.empty())
        return records;
    const Bytes content = ReadRecords(*files.fs, path, kOldEmployeeRecordSize);
    const std::string storedId = StoredIdOf(id);
    for (std::size_t o = 0; o < content.size(); o += kOldEmployeeRecordSize) {
        if (OldStoredId(content, o) == storedId)
            records.push_back(OldEmployeeRecordFromBytes(content, o));
    }
    return records;
}

// Every file a conversion run changes, gathered before anything is written so
// that the whole run, backups included, is one transaction: a run that stops on
// the way has converted nobody and still has the earlier run's backups.
class ChangePlan {
  public:
    explicit ChangePlan(const DataFiles& files) : files_(files) {}

    // The planned content of a record file, read on first use.
    Bytes& Content(const std::string& path, std::size_t recordSize) {
        auto it = rebuilt_.find(path);
        if (it == rebuilt_.end()) {
            std::optional<Bytes> original = ReadForUpdate(*files_.fs, path, recordSize);
            Bytes content = original.value_or(Bytes{});
            it = rebuilt_.emplace(path, Rebuilt{std::move(original), std::move(content)}).first;
            order_.push_back(path);
        }
        return it->second.content;
    }

    // Any other change; a later one of the same file replaces an earlier one.
    void Put(FileChange change) {
        const std::string path = change.path;
        if (!others_.contains(path))
            order_.push_back(path);
        others_.insert_or_assign(path, std::move(change));
    }
    bool Plans(const std::string& path) const { return others_.contains(path); }

    // A data file the run creates gets an empty backup together with it, so
    // that the restore removes it again: otherwise its records would stay
    // behind and a second conversion would add them once more.
    void Apply(const std::string& operation) {
        for (const auto& [path, file] : rebuilt_) {
            if (file.original || file.content.empty())
                continue;
            const std::string marker = files_.Folder + BaseFileName(path) + kBackupEnding;
            const auto planned = others_.find(marker);
            if (planned == others_.end())
                Put(RewriteFile(marker, files_.fs->Exists(marker), Bytes{}));
            else if (!planned->second.write)
                planned->second = RewriteFile(marker, true, Bytes{});
        }
        std::vector<FileChange> changes;
        for (const auto& path : order_) {
            if (const auto other = others_.find(path); other != others_.end()) {
                changes.push_back(other->second);
                continue;
            }
            const Rebuilt& file = rebuilt_.at(path);
            if (file.original ? file.content != *file.original : !file.content.empty())
                changes.push_back(RewriteFile(path, file.original.has_value(), file.content));
        }
        RunTransaction(files_, operation, std::move(changes));
    }

  private:
    struct Rebuilt {
        std::optional<Bytes> original;
        Bytes content;
    };
    const DataFiles& files_;
    std::map<std::string, Rebuilt> rebuilt_;
    std::map<std::string, FileChange> others_;
    std::vector<std::string> order_;
};

void Append(Bytes& content, const Bytes& record) {
    content.insert(content.end(), record.begin(), record.end());
}

// Writes `record` over the first one for which `match` holds, or appends it.
template <typename Match>
void ReplaceOrAppend(Bytes& content, std::size_t recordSize, const Bytes& record, Match match) {
    for (std::size_t o = 0; o + recordSize <= content.size(); o += recordSize) {
        if (match(content, o)) {
            std::copy(record.begin(), record.end(), content.begin() + static_cast<long>(o));
            return;
        }
    }
    Append(content, record);
}

// The work type of the hourly record of `generation` as planned (0: the one
// in force), as ReadTimeRecord would find it once written.
std::optional<std::int32_t> PlannedTimeWorkType(const Bytes& timeWages, const std::string& id,
                                                int generation) {
    const std::string storedId = StoredIdOf(id);
    for (std::size_t o = 0; o + kTimeWagesRecordSize <= timeWages.size();
         o += kTimeWagesRecordSize) {
        if (StoredId(timeWages, o) != storedId)
            continue;
        const TimeWagesRecord r = TimeWagesRecordFromBytes(timeWages, o);
        if (generation == 0 ? r.Current != 0 : r.Generation == generation)
            return r.WorkType;
    }
    return std::nullopt;
}

std::int32_t OverMinutes(const std::string& text) {
    try {
        return TextToMinutes(text);
    } catch (const std::exception&) {
        // An unreadable total is recomputed when the month is next opened.
        return 0;
    }
}

// Plans the employee's old months into the years' files and the old month
// file's move to its backup name.
void ConvertOldWorkData(const DataFiles& files, ChangePlan& plan, const std::string& id,
                        PayScheme scheme) {
    const std::string oldPath = OldMonthFile(files, id);
    if (oldPath.empty())
        return;
    const Bytes oldFile = files.fs->ReadAll(oldPath);
    const std::string storedId = StoredIdOf(id);

    MonthRecord month;
    month.ID = id;
    month.PayScheme = SchemeNumber(scheme);
    for (std::size_t o = 0; o + kOldMonthRecordSize <= oldFile.size(); o += kOldMonthRecordSize) {
        const OldMonthRecord old = OldMonthRecordFromBytes(oldFile, o);
        month.WagesGeneration = old.WagesGeneration;
        month.Month = old.Month;
        month.TotalOverPay = old.TotalOverPay;
        month.TotalOverMinutes = OverMinutes(old.TotalOverTime);

        // Hourly work without a break kept its clock-out in the second column.
        bool withoutBreak = false;
        if (scheme == PayScheme::Hourly) {
            const Bytes& timeWages = plan.Content(files.TimeWagesFile, kTimeWagesRecordSize);
            const auto workType = PlannedTimeWorkType(timeWages, id, old.WagesGeneration);
            withoutBreak = workType && !HasBreak(*workType);
        }
        for (auto& column : month.Cells)
            column.fill(std::string());
        for (int r = 0; r < kOldCellRows; ++r) {
            if (withoutBreak) {
                month.Cells[0][r] = old.Cells[0][r];
                month.Cells[3][r] = old.Cells[1][r];
            } else {
                for (int c = 0; c < kOldCellColumns; ++c)
                    month.Cells[c][r] = old.Cells[c][r];
            }
        }

        Bytes& year = plan.Content(files.WorkFile(old.Year), kMonthRecordSize);
        ReplaceOrAppend(year, kMonthRecordSize, ToBytes(month),
                        [&](const Bytes& b, std::size_t at) {
                            return StoredId(b, at) == storedId &&
                                   MonthRecordFromBytes(b, at).Month == month.Month;
                        });
    }

    // The old month file moves to its backup name, replacing one of an earlier run.
    const std::string backup = files.Folder + id + "tc" + kBackupEnding;
    const std::string existing = FindNoCase(files, NameOf(backup));
    if (!existing.empty() && existing != backup && !plan.Plans(existing))
        plan.Put(RemoveFile(existing));
    plan.Put(MoveOfFile(backup, !existing.empty() && existing == backup, oldPath));
    plan.Put(RemoveFile(oldPath));
}

}  // namespace

void SortEmployees(std::vector<OldEmployee>& list) {
    std::stable_sort(list.begin(), list.end(), [](const OldEmployee& a, const OldEmployee& b) {
        return a.Item() < b.Item();
    });
}

std::string OldEmployeeFile(const DataFiles& files) {
    return FindNoCase(files, kOldEmployeeName);
}

void LoadOldEmployeeList(const DataFiles& files, std::vector<OldEmployee>& list) {
    const std::string path = OldEmployeeFile(files);
    if (path.empty())
        return;
    const Bytes content = ReadRecords(*files.fs, path, kOldEmployeeRecordSize);
    for (std::size_t o = 0; o < content.size(); o += kOldEmployeeRecordSize) {
        const OldEmployeeRecord r = OldEmployeeRecordFromBytes(content, o);
        if (r.Current != 0)
            list.push_back({r.ID, r.Name});
    }
}

bool CheckOldPayScheme(const DataFiles& files, const std::string& id) {
    const std::vector<OldEmployeeRecord> records = OldRecordsOf(files, id);
    if (records.empty() || records.front().WorkType == 0)
        return false;
    const bool hourly = IsHourlyPattern(records.front().WorkType);
    return std::all_of(records.begin(), records.end(), [&](const OldEmployeeRecord& r) {
        return IsHourlyPattern(r.WorkType) == hourly;
    });
}

DailyWagesRecord ConvertOldDailyRecord(const OldEmployeeRecord& old) {
    DailyWagesRecord r;
    r.ID = old.ID;
    r.Current = old.Current;
    r.Generation = old.Generation;
    r.WorkType = old.WorkType;
    r.ClosingDay = old.ClosingDay;
    r.HalfHoliday = old.HalfHoliday;
    r.Holiday = 0;
    r.Holiday1 = r.Holiday2 = r.Holiday3 = -1;
    r.WeekdayMorningPay = old.OverPay;
    r.WeekdayOverPay = old.OverPay;
    r.WeekdayEarMornPay = old.EarMornPay;
    r.WeekdayNightPay = old.NightPay;
    r.TimeToStartWork = old.TimeToStartWork;
    r.TimeToFinishWork = old.TimeToFinishWork;
    r.TimeToStartNight = old.TimeToStartNight;
    r.TimeToFinishMorning = old.TimeToFinishMorning;
    r.TimeToFinishWorkHH = old.TimeToFinishWorkHH;
    return r;
}

TimeWagesRecord ConvertOldHourlyRecord(const OldEmployeeRecord& old) {
    TimeWagesRecord r;
    r.ID = old.ID;
    r.Current = old.Current;
    r.Generation = old.Generation;
    r.WorkType = old.WorkType;
    r.ClosingDay = old.ClosingDay;
    r.TimePay = old.TimePay;
    return r;
}

namespace {

const char kConversion[] = "データコンバート";

// Plans one employee: every old generation becomes a wage record, the name
// record carries the one in force, the old months go into the years' files and
// the old month file moves to its backup name. False when the old file holds
// nothing of the ID.
bool PlanOldEmployee(const DataFiles& files, ChangePlan& plan, const std::string& id,
                     const std::string& name) {
    const std::vector<OldEmployeeRecord> records = OldRecordsOf(files, id);
    if (records.empty())
        return false;
    const std::string storedId = StoredIdOf(id);
    PayScheme scheme = PayScheme::Daily;
    for (const auto& old : records) {
        if (IsHourlyPattern(old.WorkType)) {
            Append(plan.Content(files.TimeWagesFile, kTimeWagesRecordSize),
                   ToBytes(ConvertOldHourlyRecord(old)));
            scheme = PayScheme::Hourly;
        } else {
            Append(plan.Content(files.DailyWagesFile, kDailyWagesRecordSize),
                   ToBytes(ConvertOldDailyRecord(old)));
            scheme = PayScheme::Daily;
        }
        if (old.Current != 0) {
            const NameRecord record =
                MakeNameRecord(files, id, name, WagesCode::Of(scheme, old.Generation).Stored());
            ReplaceOrAppend(
                plan.Content(files.NameFile, kNameRecordSize), kNameRecordSize, ToBytes(record),
                [&](const Bytes& b, std::size_t at) { return StoredId(b, at) == storedId; });
        }
    }
    ConvertOldWorkData(files, plan, id, scheme);
    return true;
}

std::string Refusal(const std::string& id, const std::string& reason) {
    return "従業員番号 " + id + reason + "\r\nデータをコンバートする事は出来ません";
}

std::string OtherNameQuestion(const std::string& id, const std::string& known) {
    return "従業員番号 " + id + " は現在 Salarium に登録されている氏名と違います。\r\n" +
           "現在 Salarium で登録されている名前は『" + known + "』です。\r\n" + "氏名を『" + known +
           "』に変更してコンバートしますか？";
}

// Drops the backups of an earlier run and copies every current data file to
// its backup name.
void PlanBackups(const DataFiles& files, ChangePlan& plan, const std::vector<std::string>& listed) {
    for (const auto& path : listed) {
        if (EndsWithNoCase(path, kBackupEnding))
            plan.Put(RemoveFile(path));
    }
    std::vector<std::string> sources;
    for (const auto& path : listed) {
        if (YearOfWorkFile(path))
            sources.push_back(path);
    }
    for (const auto* path : {&files.NameFile, &files.DailyWagesFile, &files.TimeWagesFile}) {
        if (files.fs->Exists(*path))
            sources.push_back(*path);
    }
    for (const auto& source : sources) {
        const std::string backup = files.Folder + BaseFileName(source) + kBackupEnding;
        plan.Put(CopyOfFile(backup, files.fs->Exists(backup), source));
    }
}

// The results of one run, listed once the run has been written.
struct RunResults {
    std::vector<OldEmployee> done;
    std::vector<OldEmployee> refused;
};

// Plans or refuses one chosen employee; one the operator skips is listed
// nowhere.
void PlanChosen(const DataFiles& files, ChangePlan& plan, RunResults& results,
                const OldEmployee& chosen, Operator& op) {
    if (!CheckOldPayScheme(files, chosen.ID)) {
        op.Warning(Refusal(chosen.ID, " は区分を跨って登録されているので"), Buttons::Ok);
        results.refused.push_back(chosen);
        return;
    }
    std::string name = chosen.Name;
    const LookupResult found = LookupEmployee(files, chosen.ID, chosen.Name);
    // An ID listed twice is taken over once: the second finds it registered.
    const bool plannedBefore = std::any_of(results.done.begin(), results.done.end(),
                                           [&](const OldEmployee& e) { return e.ID == chosen.ID; });
    if (found.RegisteredHere() || plannedBefore) {
        op.Warning(Refusal(chosen.ID, " は現在 PBook Ver2.0 に登録されているので"), Buttons::Ok);
        results.refused.push_back(chosen);
        return;
    }
    if (found.PayrollOnly() && !found.SameName()) {
        const std::string known = FindEmployeeName(files, chosen.ID, kBothSchemes);
        switch (op.Warning(OtherNameQuestion(chosen.ID, known), Buttons::YesNoCancel)) {
            case Reply::Yes:
                name = known;
                break;
            case Reply::No:
                break;
            default:
                return;
        }
    }
    if (PlanOldEmployee(files, plan, chosen.ID, name))
        results.done.push_back({chosen.ID, name});
    else
        results.refused.push_back(chosen);
}

}  // namespace

bool ConvertOldEmployee(const DataFiles& files, const std::string& id, const std::string& name) {
    ChangePlan plan(files);
    if (!PlanOldEmployee(files, plan, id, name))
        return false;
    plan.Apply(std::string(kConversion) + " " + id);
    return true;
}

void RunConversion(const DataFiles& files, ConversionLists& lists, Operator& op) {
    RunResults results;
    try {
        std::vector<std::string> listed;
        ScanFolder(files, files.Folder, listed);
        const bool earlierRun = std::any_of(listed.begin(), listed.end(), [](const auto& path) {
            return SameName(NameOf(path), kOldEmployeeBackup);
        });
        if (earlierRun && !op.Question(kEarlierBackups))
            return;
        ChangePlan plan(files);
        PlanBackups(files, plan, listed);
        SortEmployees(lists.Chosen);
        for (const auto& chosen : lists.Chosen)
            PlanChosen(files, plan, results, chosen, op);
        const std::string oldFile = OldEmployeeFile(files);
        if (!oldFile.empty()) {
            const std::string backup = files.Folder + kOldEmployeeBackup;
            plan.Put(MoveOfFile(backup, files.fs->Exists(backup), oldFile));
            plan.Put(RemoveFile(oldFile));
        }
        plan.Apply(kConversion);
    } catch (const FileError& e) {
        // Nobody is converted and the earlier backups are as they were; the
        // chosen employees stay chosen for another run.
        op.Error(e.what());
        return;
    }
    lists.Chosen.clear();
    lists.Done.insert(lists.Done.end(), results.done.begin(), results.done.end());
    lists.Refused.insert(lists.Refused.end(), results.refused.begin(), results.refused.end());
    SortEmployees(lists.Done);
    SortEmployees(lists.Refused);
    if (lists.Done.empty())
        RestoreBackups(files, lists, op);
}

void RestoreBackups(const DataFiles& files, ConversionLists& lists, Operator& op) {
    lists = ConversionLists{};
    try {
        std::vector<std::string> listed;
        ScanFolder(files, files.Folder, listed);
        std::vector<FileChange> changes;
        for (const auto& path : listed) {
            if (!EndsWithNoCase(path, kBackupEnding))
                continue;
            const std::string base = BaseFileName(path);
            const std::string name = base + (EndsWithNoCase(base, "fv2") ? ".pbk" : ".dat");
            const std::string existing = FindNoCase(files, name);
            if (files.fs->Size(path).value_or(1) == 0) {
                // The file did not exist before the conversion made it.
                if (!existing.empty())
                    changes.push_back(RemoveFile(existing));
            } else {
                changes.push_back(MoveOfFile(existing.empty() ? files.Folder + name : existing,
                                             !existing.empty(), path));
            }
            changes.push_back(RemoveFile(path));
        }
        RunTransaction(files, std::string(kConversion) + "の取り消し", std::move(changes));
    } catch (const FileError& e) {
        op.Error(e.what());
    }
    try {
        LoadOldEmployeeList(files, lists.Old);
        SortEmployees(lists.Old);
    } catch (const FileError& e) {
        op.Error(e.what());
    }
}

}  // namespace pb
