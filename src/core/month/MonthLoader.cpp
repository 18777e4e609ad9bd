#include "core/month/MonthLoader.h"

#include <algorithm>
#include <cerrno>
#include <optional>
#include <unordered_map>

#include "core/common/ShiftJis.h"
#include "core/model/PayScheme.h"
#include "core/store/EmployeeFiles.h"
#include "core/store/RecordFile.h"
#include "core/store/RecordRanges.h"
#include "core/store/WorkDataFiles.h"
#include "core/timecard/WorkPattern.h"

namespace pb {
namespace {

// A record that lies outside what this program writes is refused like a
// ragged file: the message names the file, the employee and the values.
[[noreturn]] void RefuseOutOfRange(const std::string& path, const OpenedMonth& month,
                                   const std::string& record,
                                   const std::vector<std::string>& fields) {
    const std::string employee =
        month.name.empty() ? month.id + " の " : month.id + "（" + month.name + "）の";
    throw RecordOutOfRange(path, EINVAL,
                           path + " は壊れています。\n" + employee + record + "の値が範囲外です（" +
                               JoinFields(fields) + "）。");
}

}  // namespace

std::vector<DayCells> TypedCellsOf(const MonthRecord& record, PayScheme payScheme,
                                   std::int32_t workType, std::size_t days) {
    std::vector<int> columns;
    if (payScheme == PayScheme::Hourly) {
        columns = {1, 2, 3, 4};
    } else {
        if (TakesClockIn(workType)) {
            columns.push_back(kClockInColumn);
        }
        if (TakesClockOut(workType)) {
            columns.push_back(kClockOutColumn);
        }
    }
    std::vector<DayCells> cells(std::min<std::size_t>(days, kCellRows));
    for (std::size_t row = 0; row < cells.size(); ++row) {
        for (const int column : columns) {
            cells[row][column] = record.Cells[column - 1][row];
        }
    }
    return cells;
}

namespace {

// Where a month's master records come from: looked up in the files one by one
// (one month), or from one read of each file (the months of many employees).
class Masters {
  public:
    virtual ~Masters() = default;
    // Each throws DamagedFileError when the file it looks in is ragged.
    virtual bool Registered(const std::string& id) = 0;
    virtual std::string Name(const std::string& id) = 0;  // FindEmployeeName, both schemes
    // The scheme "Name.dat" gives the ID: hourly, or else daily.
    virtual PayScheme SchemeOf(const std::string& id) = 0;
    virtual std::optional<Bytes> Wages(PayScheme scheme, const std::string& id, int generation) = 0;
    virtual void CheckYear(const std::string& path) = 0;
};

const std::string& WagesFileOf(const DataFiles& files, PayScheme payScheme) {
    return payScheme == PayScheme::Hourly ? files.TimeWagesFile : files.DailyWagesFile;
}

std::size_t WagesRecordSize(PayScheme payScheme) {
    return payScheme == PayScheme::Hourly ? kTimeWagesRecordSize : kDailyWagesRecordSize;
}

class LookedUpMasters final : public Masters {
  public:
    explicit LookedUpMasters(const DataFiles& files) : files_(files) {}
    bool Registered(const std::string& id) override {
        CheckRecordCount(*files_.fs, files_.NameFile, kNameRecordSize, kMaxNameRecords);
        return FindNameIndex(files_, id) != kNoRecord;
    }
    std::string Name(const std::string& id) override {
        return FindEmployeeName(files_, id, kBothSchemes);
    }
    PayScheme SchemeOf(const std::string& id) override { return SchemeOnFile(files_, id); }
    std::optional<Bytes> Wages(PayScheme scheme, const std::string& id, int generation) override {
        CheckRecordCount(*files_.fs, WagesFileOf(files_, scheme), WagesRecordSize(scheme));
        return ReadWageRecordBytes(files_, scheme, id, generation);
    }
    void CheckYear(const std::string& path) override {
        CheckRecordCount(*files_.fs, path, kMonthRecordSize);
    }

  private:
    const DataFiles& files_;
};

// The master files read once each, a wage file when a month first needs it;
// each answer the one the lookups above give.
class ReadMasters final : public Masters {
  public:
    explicit ReadMasters(const DataFiles& files) : files_(files) {
        names_ =
            files.masters->ReadAll(*files.fs, files.NameFile, kNameRecordSize, kMaxNameRecords);
        for (std::size_t o = 0; o < names_.size(); o += kNameRecordSize)
            firstName_.try_emplace(StoredId(names_, o), o);
    }
    const Bytes& Names() const { return names_; }

    bool Registered(const std::string& id) override { return NameAt(id).has_value(); }
    std::string Name(const std::string& id) override {
        const auto o = NameAt(id);
        return o ? VisibleText(GetShortString(names_, *o + kNameOffset, kNameLength))
                 : std::string();
    }
    PayScheme SchemeOf(const std::string& id) override {
        const auto o = NameAt(id);
        if (!o)
            return PayScheme::Daily;
        return SchemeOfNumber(
            WagesCode::Read(GetInt32(names_, *o + kWagesCodeOffset)).schemeNumber);
    }
    std::optional<Bytes> Wages(PayScheme scheme, const std::string& id, int generation) override {
        WageFile& file = scheme == PayScheme::Hourly ? time_ : daily_;
        const std::size_t size = WagesRecordSize(scheme);
        if (!file.read) {
            const std::string& path = WagesFileOf(files_, scheme);
            file.content = files_.masters->ReadAll(*files_.fs, path, size);
            for (std::size_t o = 0; o < file.content.size(); o += size)
                file.records[StoredId(file.content, o)].push_back(o);
            file.read = true;
        }
        const auto found = file.records.find(StoredIdOf(id));
        if (found == file.records.end())
            return std::nullopt;
        for (const std::size_t o : found->second) {
            const bool match =
                generation == 0 ? GetByte(file.content, o + kWageCurrentOffset) != 0
                                : GetInt32(file.content, o + kWageGenerationOffset) == generation;
            if (match)
                return Bytes(file.content.begin() + static_cast<std::ptrdiff_t>(o),
                             file.content.begin() + static_cast<std::ptrdiff_t>(o + size));
        }
        return std::nullopt;
    }
    void CheckYear(const std::string& path) override {
        if (checkedYear_ != path)
            CheckRecordCount(*files_.fs, path, kMonthRecordSize);
        checkedYear_ = path;
    }

  private:
    std::optional<std::size_t> NameAt(const std::string& id) const {
        const auto found = firstName_.find(StoredIdOf(id));
        if (found == firstName_.end())
            return std::nullopt;
        return found->second;
    }

    struct WageFile {
        bool read = false;
        Bytes content;
        std::unordered_map<std::string, std::vector<std::size_t>> records;  // offsets, file order
    };
    const DataFiles& files_;
    Bytes names_;
    std::unordered_map<std::string, std::size_t> firstName_;
    WageFile daily_, time_;
    std::string checkedYear_;
};

OpenedMonth OpenWith(Masters& masters, const DataFiles& files, const CalcSetSettings& rules,
                     const std::string& id, std::int32_t year, std::int32_t month,
                     bool mustBeStored) {
    OpenedMonth opened;
    opened.id = id;
    opened.year = year;
    opened.month = month;

    if (!masters.Registered(id)) {
        opened.status = OpenMonthStatus::EmployeeNotFound;
        return opened;
    }
    opened.name = masters.Name(id);

    const std::string workFile = files.WorkFile(year);
    masters.CheckYear(workFile);
    PayScheme payScheme = PayScheme::Daily;
    if (const auto record = ReadMonthRecord(files, id, year, month)) {
        opened.stored = true;
        opened.record = *record;
        opened.wagesGeneration = record->WagesGeneration;
        payScheme = SchemeOfNumber(record->PayScheme);
        if (const auto wrong = MonthFieldsOutOfRange(*record); !wrong.empty()) {
            RefuseOutOfRange(workFile, opened,
                             std::to_string(year) + "年" + std::to_string(month) + "月分", wrong);
        }
    } else if (mustBeStored) {
        opened.status = OpenMonthStatus::MonthNotStored;
        return opened;
    } else {
        // A month is stored as daily or hourly wage, nothing else: an index entry
        // of no scheme of ours is looked up as daily wage and refused there.
        payScheme = masters.SchemeOf(id);
    }

    MonthInput& input = opened.input;
    input.payScheme = payScheme;
    input.rules = rules;
    const std::string& wagesFile = WagesFileOf(files, payScheme);
    const auto wages = masters.Wages(payScheme, id, opened.wagesGeneration);
    if (!wages) {
        opened.status = OpenMonthStatus::WagesNotFound;
        return opened;
    }
    std::int32_t generation = 0;
    std::int32_t workType = 0;
    std::int32_t closingDay = 0;
    if (payScheme == PayScheme::Hourly) {
        input.hourly = TimeWagesRecordFromBytes(*wages);
        generation = input.hourly.Generation;
        workType = input.hourly.WorkType;
        closingDay = input.hourly.ClosingDay;
    } else {
        input.daily = DailyWagesRecordFromBytes(*wages);
        generation = input.daily.Generation;
        workType = input.daily.WorkType;
        closingDay = input.daily.ClosingDay;
    }
    if (const auto wrong = WageFieldsOutOfRange(payScheme, *wages); !wrong.empty()) {
        RefuseOutOfRange(wagesFile, opened,
                         "賃金データ（第" + std::to_string(generation) + "世代）", wrong);
    }
    input.period = MakePayPeriod(year, month, closingDay, rules.EndOfMonthPayment);
    input.cells = TypedCellsOf(opened.record, payScheme, workType, input.period.size());
    return opened;
}

}  // namespace

OpenedMonth OpenMonth(const DataFiles& files, const CalcSetSettings& rules, const std::string& id,
                      std::int32_t year, std::int32_t month, bool mustBeStored) {
    LookedUpMasters masters(files);
    return OpenWith(masters, files, rules, id, year, month, mustBeStored);
}

void OpenSchemeMonths(const DataFiles& files, const CalcSetSettings& rules, SchemeFilter scheme,
                      std::int32_t year, std::int32_t month, bool mustBeStored,
                      const std::function<void(const OpenedMonth&)>& each,
                      const RefusedMonth& refused) {
    ReadMasters masters(files);
    std::vector<std::string> ids;
    for (const PayScheme s : {PayScheme::Daily, PayScheme::Hourly}) {
        if (!scheme || scheme == s)
            ListEmployeeIDsIn(masters.Names(), ids, s);
    }
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    for (const std::string& id : ids) {
        if (!refused) {
            each(OpenWith(masters, files, rules, id, year, month, mustBeStored));
            continue;
        }
        OpenedMonth opened;
        try {
            opened = OpenWith(masters, files, rules, id, year, month, mustBeStored);
        } catch (const RecordOutOfRange& e) {
            refused(id, masters.Name(id), e);
            continue;
        }
        each(opened);
    }
}

std::string RefusalText(const OpenedMonth& month, const DataFiles& files) {
    const std::string when =
        std::to_string(month.year) + "年" + std::to_string(month.month) + "月分";
    switch (month.status) {
        case OpenMonthStatus::Opened:
            break;
        case OpenMonthStatus::EmployeeNotFound:
            return "従業員番号 " + month.id + " は登録されていません。（" + files.NameFile + "）";
        case OpenMonthStatus::MonthNotStored:
            return month.id + " の " + when + "のデータは記録されていません。（" +
                   files.WorkFile(month.year) + "）";
        case OpenMonthStatus::WagesNotFound: {
            const std::string generation =
                month.wagesGeneration == 0
                    ? std::string("現在の賃金データ")
                    : "第" + std::to_string(month.wagesGeneration) + "世代の賃金データ";
            return month.id + " の" + generation + "が見つかりません。（" +
                   WagesFileOf(files, month.input.payScheme) + "）";
        }
    }
    return {};
}

NextCellRecord EnterKeyMoves(const DataFiles& files, std::int32_t workType) {
    return ReadNextCell(files, EnterKeyTable(workType));
}

MonthRecord UpdatedMonthRecord(MonthRecord record, const OpenedMonth& month,
                               const MonthResult& result) {
    const MonthInput& input = month.input;
    record.ID = month.id;
    record.PayScheme = SchemeNumber(input.payScheme);
    record.WagesGeneration = month.wagesGeneration;
    record.Month = static_cast<std::uint16_t>(month.month);
    const std::size_t days = std::min<std::size_t>(result.days.size(), kCellRows);
    record.DayCount = static_cast<std::int32_t>(days);
    const int lastColumn =
        input.payScheme == PayScheme::Hourly ? kHourlyColumnCount - 1 : kDailyColumnCount - 1;
    for (int column = 1; column <= kCellColumns; ++column) {
        for (std::size_t row = 0; row < kCellRows; ++row) {
            std::string& cell = record.Cells[column - 1][row];
            cell = column <= lastColumn && row < days ? result.days[row].cells[column] : "";
            // Computed figures of 100 hours or more do not fit; the file keeps five.
            if (cell.size() > kCellLength) {
                cell.resize(kCellLength);
            }
        }
    }
    record.WorkDays = result.totals.WorkDays;
    record.TotalOverMinutes = result.totals.TotalOverMinutes;
    record.TotalOverPay = result.totals.TotalOverPay;
    if (input.payScheme == PayScheme::Daily && input.daily.Holiday != 0) {
        record.HolidayWorkDays = result.totals.HolidayWorkDays;
        record.HolidayMinutes = result.totals.HolidayMinutes;
        record.HolidayPay = result.totals.HolidayPay;
    }
    return record;
}

}  // namespace pb
