#include "core/export/SummaryExport.h"

#include "core/common/Routines.h"
#include "core/export/CsvText.h"
#include "core/export/MonthExport.h"
#include "core/month/MonthLoader.h"
#include "core/store/EmployeeFiles.h"

namespace pb {
namespace {

constexpr const char* kClassCaptions[] = {"早朝残業", "早出残業", "普通残業", "深夜残業"};

enum class Outcome { Row, NotStored, NoWages };

void AddRow(const OpenedMonth& opened, SummaryTable& table) {
    const MonthResult result = CalcMonth(ExportInput(opened));
    table.rows.push_back(SummaryRow{opened.year, opened.month, opened.id, opened.name,
                                    result.payScheme, result.totals, result.classes, result.bands});
}

Outcome AddMonth(const DataFiles& files, const CalcSetSettings& rules, const std::string& id,
                 std::int32_t year, std::int32_t month, SummaryTable& table) {
    const OpenedMonth opened = OpenMonth(files, rules, id, year, month, true);
    switch (opened.status) {
        case OpenMonthStatus::Opened:
            break;
        case OpenMonthStatus::WagesNotFound:
            return Outcome::NoWages;
        default:
            return Outcome::NotStored;
    }
    AddRow(opened, table);
    return Outcome::Row;
}

std::string Missing(const std::string& id, const std::string& name, const std::string& why) {
    return id + " " + name + ": " + why;
}

}  // namespace

SummaryTable CollectSchemeMonth(const DataFiles& files, const CalcSetSettings& rules,
                                SchemeFilter scheme, std::int32_t year, std::int32_t month) {
    SummaryTable table;
    table.scheme = scheme;
    OpenSchemeMonths(files, rules, scheme, year, month, true, [&](const OpenedMonth& opened) {
        switch (opened.status) {
            case OpenMonthStatus::Opened:
                AddRow(opened, table);
                break;
            case OpenMonthStatus::WagesNotFound:
                table.missing.push_back(
                    Missing(opened.id, opened.name, "賃金データが見つかりません"));
                break;
            default:
                table.missing.push_back(
                    Missing(opened.id, opened.name, "この月の記録がありません"));
                break;
        }
    });
    return table;
}

SummaryTable CollectEmployeeYear(const DataFiles& files, const CalcSetSettings& rules,
                                 const std::string& id, std::int32_t year) {
    SummaryTable table;
    table.scheme = SchemeOnFile(files, id);
    for (std::int32_t month = 1; month <= 12; ++month) {
        if (AddMonth(files, rules, id, year, month, table) == Outcome::NoWages) {
            table.missing.push_back(
                Missing(id, FindEmployeeName(files, id, kBothSchemes),
                        std::to_string(month) + "月の賃金データが見つかりません"));
        }
    }
    return table;
}

std::string SummaryCsv(const SummaryTable& table) {
    const bool daily = table.scheme != PayScheme::Hourly;
    const bool hourly = table.scheme != PayScheme::Daily;
    std::vector<std::string> header{"年",       "月",       "従業員番号",  "氏名",
                                    "給与体系", "勤務日数", "休日勤務日数"};
    if (daily) {
        for (const char* caption : kClassCaptions) {
            for (const char* when : {"(平日)", "(休日)"}) {
                header.push_back(std::string(caption) + when + "時間");
                header.push_back(std::string(caption) + when + "賃金");
            }
        }
    }
    if (hourly) {
        for (int band = 1; band <= 3; ++band) {
            header.push_back("区分" + std::to_string(band) + "時間");
            header.push_back("区分" + std::to_string(band) + "賃金");
        }
    }
    header.push_back("総残業時間");
    header.push_back("総残業賃金");
    std::string out = CsvRow(header);

    for (const SummaryRow& row : table.rows) {
        const bool rowDaily = row.payScheme != PayScheme::Hourly;
        std::vector<std::string> fields{std::to_string(row.year),
                                        std::to_string(row.month),
                                        row.id,
                                        row.name,
                                        rowDaily ? "日給制" : "時給制",
                                        std::to_string(row.totals.WorkDays),
                                        std::to_string(row.totals.HolidayWorkDays)};
        if (daily) {
            for (std::size_t k = 0; k < 4; ++k) {
                const bool have = rowDaily && k < row.classes.size();
                const ClassSum sum = have ? row.classes[k] : ClassSum{};
                for (const bool holiday : {false, true}) {
                    fields.push_back(
                        have ? MinutesToText(holiday ? sum.holidayMinutes : sum.weekdayMinutes)
                             : "");
                    fields.push_back(
                        have ? std::to_string(holiday ? sum.holidayYen : sum.weekdayYen) : "");
                }
            }
        }
        if (hourly) {
            for (std::size_t d = 0; d < 3; ++d) {
                const bool have = !rowDaily && d < row.bands.size();
                fields.push_back(have ? MinutesToText(row.bands[d].minutes) : "");
                fields.push_back(have ? std::to_string(row.bands[d].yen) : "");
            }
        }
        fields.push_back(MinutesToText(row.totals.TotalOverMinutes));
        fields.push_back(std::to_string(row.totals.TotalOverPay));
        out += CsvRow(fields);
    }
    return out;
}

}  // namespace pb
