#include "core/overview/MonthOverview.h"

#include "core/common/Routines.h"
#include "core/export/CsvText.h"
#include "core/export/MonthExport.h"
#include "core/month/MonthLoader.h"
#include "core/timecard/FigureTrace.h"

namespace pb {
namespace {

constexpr int kDailyFigures = 4;   // 早朝, 早出, 普通, 深夜
constexpr int kHourlyFigures = 3;  // 区分1 … 3

OverviewRow StoredRow(const OpenedMonth& opened) {
    OverviewRow row;
    row.id = opened.id;
    row.name = opened.name;
    row.payScheme = opened.input.payScheme;
    row.state = OverviewState::Stored;
    const MonthInput input = ExportInput(opened);
    const MonthResult result = CalcMonth(input);
    row.totals = result.totals;
    for (const ClassSum& sum : result.classes) {
        row.minutes.push_back(sum.weekdayMinutes + sum.holidayMinutes);
        row.yen.push_back(sum.weekdayYen + sum.holidayYen);
    }
    for (const BandSum& sum : result.bands) {
        row.minutes.push_back(sum.minutes);
        row.yen.push_back(sum.yen);
    }
    row.lateClockIns = CountClockInsTakenAsEveningBefore(input, result);
    return row;
}

OverviewCell Text(std::string text) {
    OverviewCell cell;
    cell.csv = text;
    cell.text = std::move(text);
    return cell;
}

OverviewCell Number(std::int64_t number, std::string text, std::string csv) {
    OverviewCell cell;
    cell.text = std::move(text);
    cell.csv = std::move(csv);
    cell.numeric = true;
    cell.number = number;
    return cell;
}

OverviewCell Days(std::int32_t days) {
    return Number(days, std::to_string(days), std::to_string(days));
}

OverviewCell Minutes(std::int32_t minutes) {
    return Number(minutes, MinutesToText(minutes), MinutesToText(minutes));
}

OverviewCell Yen(std::int32_t yen) {
    return Number(yen, FormatYen(yen), std::to_string(yen));
}

// A figure cell of a month without figures: sorts below every figure.
OverviewCell NoFigure() {
    return Number(-1, "", "");
}

std::string Joined(const std::vector<std::string>& parts, const std::string& between) {
    std::string out;
    for (const std::string& part : parts) {
        if (!out.empty()) {
            out += between;
        }
        out += part;
    }
    return out;
}

}  // namespace

OverviewRow OverviewRowOf(const OpenedMonth& opened, const DataFiles& files, PayScheme scheme) {
    if (opened.status == OpenMonthStatus::Opened) {
        return StoredRow(opened);
    }
    OverviewRow row;
    row.id = opened.id;
    row.name = opened.name;
    row.payScheme = scheme;
    if (opened.status == OpenMonthStatus::MonthNotStored) {
        row.state = OverviewState::NotStored;
    } else {
        row.state = OverviewState::Refused;
        row.refusal = RefusalText(opened, files);
    }
    return row;
}

OverviewRow RefusedRow(const std::string& id, const std::string& name, PayScheme scheme,
                       const std::string& why) {
    OverviewRow row;
    row.id = id;
    row.name = name;
    row.payScheme = scheme;
    row.state = OverviewState::Refused;
    row.refusal = why;
    return row;
}

MonthOverview CollectMonthOverview(const DataFiles& files, const CalcSetSettings& rules,
                                   PayScheme scheme, std::int32_t year, std::int32_t month) {
    MonthOverview overview;
    overview.scheme = scheme;
    overview.year = year;
    overview.month = month;
    OpenSchemeMonths(
        files, rules, overview.scheme, year, month, true,
        [&](const OpenedMonth& opened) {
            overview.rows.push_back(OverviewRowOf(opened, files, overview.scheme));
        },
        [&](const std::string& id, const std::string& name, const FileError& why) {
            overview.rows.push_back(RefusedRow(id, name, overview.scheme, why.what()));
        });
    return overview;
}

std::string StoredCountText(const MonthOverview& overview) {
    std::size_t stored = 0;
    for (const OverviewRow& row : overview.rows) {
        stored += row.state != OverviewState::NotStored ? 1 : 0;
    }
    return std::to_string(stored) + " / " + std::to_string(overview.rows.size()) + " 記録済み";
}

std::string StateText(OverviewState state) {
    switch (state) {
        case OverviewState::Stored:
            return "記録済み";
        case OverviewState::NotStored:
            return "未記録";
        case OverviewState::Refused:
            break;
    }
    return "開けません";
}

std::vector<std::string> OverviewNotes(const OverviewRow& row) {
    std::vector<std::string> notes;
    if (row.state != OverviewState::Stored || row.payScheme == PayScheme::Hourly) {
        return notes;  // an hourly wage's bands are hours worked, not overtime
    }
    if (row.totals.TotalOverMinutes > kHigherPremiumLimit) {
        notes.push_back("月60時間超");
    } else if (row.totals.TotalOverMinutes > kAgreementMonthLimit) {
        notes.push_back("月45時間超");
    }
    if (row.lateClockIns > 0) {
        notes.push_back("前日扱いの出社 " + std::to_string(row.lateClockIns) + "日");
    }
    return notes;
}

std::vector<std::string> OverviewCaptions(PayScheme scheme) {
    std::vector<std::string> captions{"従業員番号", "氏名", "状態", "勤務日数"};
    if (scheme == PayScheme::Hourly) {
        for (const char* band : {"区分１", "区分２", "区分３"}) {
            captions.push_back(band);
        }
    } else {
        for (const char* cls : {"休日勤務", "早朝残業", "早出残業", "普通残業", "深夜残業"}) {
            captions.push_back(cls);
        }
    }
    for (const char* total : {"総残業時間", "総残業賃金", "注意"}) {
        captions.push_back(total);
    }
    return captions;
}

std::vector<OverviewCell> OverviewCells(const OverviewRow& row, PayScheme scheme) {
    std::vector<OverviewCell> cells{Text(row.id), Text(row.name), Text(StateText(row.state))};
    const bool figures = row.state == OverviewState::Stored;
    const bool hourly = scheme == PayScheme::Hourly;
    const int count = hourly ? kHourlyFigures : kDailyFigures;
    cells.push_back(figures ? Days(row.totals.WorkDays) : NoFigure());
    if (!hourly) {
        cells.push_back(figures ? Days(row.totals.HolidayWorkDays) : NoFigure());
    }
    for (int k = 0; k < count; ++k) {
        const bool have = figures && k < static_cast<int>(row.minutes.size());
        cells.push_back(have ? Minutes(row.minutes[k]) : NoFigure());
    }
    cells.push_back(figures ? Minutes(row.totals.TotalOverMinutes) : NoFigure());
    cells.push_back(figures ? Yen(row.totals.TotalOverPay) : NoFigure());
    cells.push_back(
        Text(row.state == OverviewState::Refused ? row.refusal : Joined(OverviewNotes(row), "・")));
    return cells;
}

std::string OverviewCsv(const MonthOverview& overview) {
    std::string out = CsvRow(OverviewCaptions(overview.scheme));
    for (const OverviewRow& row : overview.rows) {
        std::vector<std::string> fields;
        for (const OverviewCell& cell : OverviewCells(row, overview.scheme)) {
            fields.push_back(cell.csv);
        }
        out += CsvRow(fields);
    }
    return out;
}

}  // namespace pb
