#include "core/month/MonthLoader.h"

#include <algorithm>
#include <cerrno>

#include "core/store/EmployeeFiles.h"
#include "core/store/RecordFile.h"
#include "core/store/WorkDataFiles.h"
#include "core/timecard/WorkPattern.h"

namespace pb {
namespace {

// The store's readers skip a ragged tail; here it must not pass unnoticed.
void CheckWholeRecords(const FileSystem& fs, const std::string& path, std::size_t recordSize) {
    if (const auto size = fs.Size(path); size && *size % recordSize != 0) {
        throw DamagedFileError(path, *size, recordSize);
    }
}

}  // namespace

std::vector<DayCells> TypedCellsOf(const MonthRecord& record, std::int32_t payScheme,
                                   std::int32_t workType, std::size_t days) {
    std::vector<int> columns;
    if (payScheme == 2) {
        columns = {1, 2, 3, 4};
    } else {
        if (workType != 0 && workType != 3) {
            columns.push_back(kClockInColumn);
        }
        if (workType != 1 && workType != 4) {
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

    CheckWholeRecords(*files.fs, files.NameFile, kNameRecordSize);
    if (FindNameIndex(files, id) < 0) {
        opened.status = OpenMonthStatus::EmployeeNotFound;
        return opened;
    }
    opened.name = FindEmployeeName(files, id, 0);

    const std::string workFile = files.WorkFile(year);
    CheckWholeRecords(*files.fs, workFile, kMonthRecordSize);
    std::int32_t payScheme = 0;
    if (const auto record = ReadMonthRecord(files, id, year, month)) {
        opened.stored = true;
        opened.record = *record;
        opened.wagesGeneration = record->WagesGeneration;
        payScheme = record->PayScheme;
        if (payScheme != 1 && payScheme != 2) {
            throw FileError(workFile, EINVAL,
                            workFile + " は壊れています。\n" + id + " の " + std::to_string(month) +
                                "月分の給与体系 " + std::to_string(payScheme) + " が不正です。");
        }
    } else if (mustBeStored) {
        opened.status = OpenMonthStatus::MonthNotStored;
        return opened;
    } else {
        payScheme = GetPayScheme(files, id);
    }

    MonthInput& input = opened.input;
    input.payScheme = payScheme;
    input.rules = rules;
    std::int32_t workType = 0;
    std::int32_t closingDay = 0;
    if (payScheme == 2) {
        CheckWholeRecords(*files.fs, files.TimeWagesFile, kTimeWagesRecordSize);
        const auto wages = ReadTimeRecord(files, id, opened.wagesGeneration);
        if (!wages) {
            opened.status = OpenMonthStatus::WagesNotFound;
            return opened;
        }
        input.hourly = *wages;
        workType = wages->WorkType;
        closingDay = wages->ClosingDay;
    } else {
        CheckWholeRecords(*files.fs, files.DailyWagesFile, kDailyWagesRecordSize);
        const auto wages = ReadDailyRecord(files, id, opened.wagesGeneration);
        if (!wages) {
            opened.status = OpenMonthStatus::WagesNotFound;
            return opened;
        }
        input.daily = *wages;
        workType = wages->WorkType;
        closingDay = wages->ClosingDay;
    }
    input.period = MakePayPeriod(year, month, closingDay, rules.EndOfMonthPayment);
    input.cells = TypedCellsOf(opened.record, payScheme, workType, input.period.size());
    return opened;
}

}  // namespace pb
