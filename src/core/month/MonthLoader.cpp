#include "core/month/MonthLoader.h"

#include <algorithm>
#include <cerrno>

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
    throw FileError(path, EINVAL,
                    path + " は壊れています。\n" + employee + record + "の値が範囲外です（" +
                        JoinFields(fields) + "）。");
}

}  // namespace

std::vector<DayCells> TypedCellsOf(const MonthRecord& record, std::int32_t payScheme,
                                   std::int32_t workType, std::size_t days) {
    std::vector<int> columns;
    if (payScheme == 2) {
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

OpenedMonth OpenMonth(const DataFiles& files, const CalcSetSettings& rules, const std::string& id,
                      std::int32_t year, std::int32_t month, bool mustBeStored) {
    OpenedMonth opened;
    opened.id = id;
    opened.year = year;
    opened.month = month;

    CheckRecordCount(*files.fs, files.NameFile, kNameRecordSize, kMaxNameRecords);
    if (FindNameIndex(files, id) == kNoRecord) {
        opened.status = OpenMonthStatus::EmployeeNotFound;
        return opened;
    }
    opened.name = FindEmployeeName(files, id, 0);

    const std::string workFile = files.WorkFile(year);
    CheckRecordCount(*files.fs, workFile, kMonthRecordSize);
    std::int32_t payScheme = 0;
    if (const auto record = ReadMonthRecord(files, id, year, month)) {
        opened.stored = true;
        opened.record = *record;
        opened.wagesGeneration = record->WagesGeneration;
        payScheme = record->PayScheme;
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
        payScheme = GetPayScheme(files, id) == 2 ? 2 : 1;
    }

    MonthInput& input = opened.input;
    input.payScheme = payScheme;
    input.rules = rules;
    const std::string& wagesFile = payScheme == 2 ? files.TimeWagesFile : files.DailyWagesFile;
    CheckRecordCount(*files.fs, wagesFile,
                     payScheme == 2 ? kTimeWagesRecordSize : kDailyWagesRecordSize);
    const auto wages = ReadWageRecordBytes(files, payScheme, id, opened.wagesGeneration);
    if (!wages) {
        opened.status = OpenMonthStatus::WagesNotFound;
        return opened;
    }
    std::int32_t generation = 0;
    std::int32_t workType = 0;
    std::int32_t closingDay = 0;
    if (payScheme == 2) {
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
                   (month.input.payScheme == 2 ? files.TimeWagesFile : files.DailyWagesFile) + "）";
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
    record.PayScheme = input.payScheme;
    record.WagesGeneration = month.wagesGeneration;
    record.Month = static_cast<std::uint16_t>(month.month);
    const std::size_t days = std::min<std::size_t>(result.days.size(), kCellRows);
    record.DayCount = static_cast<std::int32_t>(days);
    const int lastColumn = input.payScheme == 2 ? kHourlyColumnCount - 1 : kDailyColumnCount - 1;
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
    if (input.payScheme == 1 && input.daily.Holiday != 0) {
        record.HolidayWorkDays = result.totals.HolidayWorkDays;
        record.HolidayMinutes = result.totals.HolidayMinutes;
        record.HolidayPay = result.totals.HolidayPay;
    }
    return record;
}

}  // namespace pb
