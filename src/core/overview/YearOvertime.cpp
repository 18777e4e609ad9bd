#include "core/overview/YearOvertime.h"

#include "core/common/Routines.h"
#include "core/export/CsvText.h"
#include "core/month/MonthLoader.h"
#include "core/store/EmployeeFiles.h"

namespace pb {
namespace {

std::string MonthText(int month) {
    return std::to_string(month) + "月";
}

std::string MonthList(const std::vector<int>& months) {
    std::string out;
    for (const int m : months) {
        out += (out.empty() ? "" : "・") + MonthText(m);
    }
    return out;
}

}  // namespace

YearHints MakeYearHints(const std::array<std::int32_t, 12>& overtime) {
    YearHints hints;
    for (int m = 1; m <= 12; ++m) {
        const std::int32_t minutes = overtime[m - 1];
        hints.yearMinutes += minutes;
        if (minutes > kAgreementMonthLimit) {
            hints.monthsOver45.push_back(m);
        }
        if (minutes > kMonthCeiling) {
            hints.monthsOver100.push_back(m);
        }
    }
    hints.tooManyOver45 = static_cast<int>(hints.monthsOver45.size()) > kMonthsOver45Allowed;
    hints.over360 = hints.yearMinutes > kYearAgreementLimit;
    hints.over720 = hints.yearMinutes > kYearSpecialLimit;
    // Compared as sums, so an average of exactly 80 hours is not over it.
    for (int first = 1; first <= 12; ++first) {
        std::int64_t sum = overtime[first - 1];
        for (int months = 2; months <= 6 && first + months - 1 <= 12; ++months) {
            sum += overtime[first + months - 2];
            if (sum > std::int64_t{kAverageCeiling} * months) {
                hints.averagesOver80.push_back(
                    {first, months, static_cast<std::int32_t>(sum / months)});
            }
        }
    }
    return hints;
}

EmployeeYear CollectEmployeeYearMonths(const DataFiles& files, const CalcSetSettings& rules,
                                       const std::string& id, std::int32_t year) {
    EmployeeYear out;
    out.id = id;
    out.name = FindEmployeeName(files, id, kBothSchemes);
    out.year = year;
    out.scheme = SchemeOnFile(files, id);
    for (std::int32_t month = 1; month <= 12; ++month) {
        try {
            out.months.push_back(
                OverviewRowOf(OpenMonth(files, rules, id, year, month, true), files, out.scheme));
        } catch (const RecordOutOfRange& e) {
            out.months.push_back(RefusedRow(id, out.name, out.scheme, e.what()));
        }
    }
    return out;
}

std::array<std::int32_t, 12> YearOvertimeMinutes(const EmployeeYear& year) {
    std::array<std::int32_t, 12> overtime{};
    for (std::size_t m = 0; m < year.months.size() && m < overtime.size(); ++m) {
        const OverviewRow& row = year.months[m];
        if (row.state == OverviewState::Stored && row.payScheme != PayScheme::Hourly) {
            overtime[m] = row.totals.TotalOverMinutes;
        }
    }
    return overtime;
}

std::vector<std::string> YearHintLines(const EmployeeYear& year, const YearHints& hints) {
    if (year.scheme == PayScheme::Hourly) {
        return {
            "時給制の区分の時間は勤務した時間で、残業時間ではないため、上限の目安は出しません。"};
    }
    std::vector<std::string> lines;
    if (!hints.monthsOver45.empty()) {
        lines.push_back("月45時間超: " + std::to_string(hints.monthsOver45.size()) + "か月（" +
                        MonthList(hints.monthsOver45) + "）" +
                        (hints.tooManyOver45 ? "。年6か月を超えています" : ""));
    }
    const std::string yearText = "年間の残業 " + MinutesToText(hints.yearMinutes);
    if (hints.over720) {
        lines.push_back(yearText + ": 年720時間を超えています");
    } else if (hints.over360) {
        lines.push_back(yearText + ": 年360時間を超えています");
    }
    if (!hints.monthsOver100.empty()) {
        lines.push_back("月100時間超: " + MonthList(hints.monthsOver100));
    }
    for (const AverageRun& run : hints.averagesOver80) {
        lines.push_back(std::to_string(run.months) + "か月平均80時間超: " + MonthText(run.first) +
                        "〜" + MonthText(run.first + run.months - 1) + " 平均 " +
                        MinutesToText(run.averageMinutes));
    }
    if (lines.empty()) {
        lines.push_back("上限の目安を超えた月はありません（年間の残業 " +
                        MinutesToText(hints.yearMinutes) + "）。");
    }
    return lines;
}

OverviewRow YearTotalRow(const EmployeeYear& year) {
    OverviewRow total;
    total.id = year.id;
    total.name = year.name;
    total.payScheme = year.scheme;
    total.state = OverviewState::Stored;
    for (const OverviewRow& row : year.months) {
        if (row.state != OverviewState::Stored) {
            continue;
        }
        total.totals.WorkDays += row.totals.WorkDays;
        total.totals.HolidayWorkDays += row.totals.HolidayWorkDays;
        total.totals.TotalOverMinutes += row.totals.TotalOverMinutes;
        total.totals.TotalOverPay += row.totals.TotalOverPay;
        total.minutes.resize(std::max(total.minutes.size(), row.minutes.size()));
        total.yen.resize(std::max(total.yen.size(), row.yen.size()));
        for (std::size_t k = 0; k < row.minutes.size(); ++k) {
            total.minutes[k] += row.minutes[k];
        }
        for (std::size_t k = 0; k < row.yen.size(); ++k) {
            total.yen[k] += row.yen[k];
        }
        total.lateClockIns += row.lateClockIns;
    }
    return total;
}

std::vector<std::string> YearCaptions(PayScheme scheme) {
    std::vector<std::string> captions = OverviewCaptions(scheme);
    // 従業員番号 and 氏名 are the window's title here; the month leads.
    captions.erase(captions.begin(), captions.begin() + 2);
    captions.insert(captions.begin(), "月");
    return captions;
}

std::vector<OverviewCell> YearCells(const EmployeeYear& year, const OverviewRow& row, int month) {
    std::vector<OverviewCell> cells = OverviewCells(row, year.scheme);
    cells.erase(cells.begin(), cells.begin() + 2);
    OverviewCell first;
    first.text = first.csv = month == 0 ? std::string("合計") : MonthText(month);
    first.numeric = true;
    first.number = month == 0 ? 13 : month;
    cells.insert(cells.begin(), first);
    if (month == 0) {
        // A year's sum has no state, and the month's notes do not apply to it.
        cells[1] = OverviewCell{};
        cells.back() = OverviewCell{};
    }
    return cells;
}

std::string YearCsv(const EmployeeYear& year) {
    std::string out = CsvRow({year.id, year.name, std::to_string(year.year) + "年"});
    out += CsvRow(YearCaptions(year.scheme));
    const auto add = [&](const OverviewRow& row, int month) {
        std::vector<std::string> fields;
        for (const OverviewCell& cell : YearCells(year, row, month)) {
            fields.push_back(cell.csv);
        }
        out += CsvRow(fields);
    };
    for (std::size_t m = 0; m < year.months.size(); ++m) {
        add(year.months[m], static_cast<int>(m) + 1);
    }
    add(YearTotalRow(year), 0);
    out += "\r\n";
    for (const std::string& line : YearHintLines(year, MakeYearHints(YearOvertimeMinutes(year)))) {
        out += CsvRow({line});
    }
    return out;
}

}  // namespace pb
