#include "core/timecard/FigureTrace.h"

#include <algorithm>
#include <optional>

#include "core/common/Routines.h"
#include "core/timecard/BandCounter.h"
#include "core/timecard/DailyDay.h"
#include "core/timecard/WorkPattern.h"

namespace pb {
namespace {

constexpr const char* kClassNames[] = {"早朝", "早出", "普通", "深夜"};

// "2:00", "0:45": a length of time, hours not padded.
std::string Duration(std::int32_t minutes) {
    const std::string sign = minutes < 0 ? "-" : "";
    const std::int64_t m = minutes < 0 ? -std::int64_t{minutes} : minutes;
    return sign + std::to_string(m / 60) + ":" + PadNumber(static_cast<std::int32_t>(m % 60), 2);
}

// A time of day as the rules take it: "前日20:00" before midnight, "24:00" at
// the next one, "翌01:30" after it.
std::string Clock(std::int32_t t) {
    if (t < 0) {
        return "前日" + Clock(t + 1440);
    }
    if (t > 1440) {
        return "翌" + Clock(t - 1440);
    }
    return PadNumber(t / 60, 2) + ":" + PadNumber(t % 60, 2);
}

std::string ModeText(std::int32_t mode) {
    switch (mode) {
        case 0:
            return "四捨五入";
        case 1:
            return "切り上げ";
        case 2:
            return "切り捨て";
        default:
            return "丸めなし";
    }
}

std::string UnitRuleText(const CalcSetSettings& rules) {
    return std::to_string(rules.OvertimeWorkFigure) + "分単位・" + ModeText(rules.TimeAdjustFigure);
}

std::optional<std::int32_t> Minutes(const DayCells& cells, int column) {
    return CellMinutes(cells[column]);
}

void AddSpan(CellTrace& cell, std::int32_t from, std::int32_t to) {
    if (to != from) {
        cell.spans.push_back({from, to, to - from});
    }
}

// The lines every cell of the day shares: how the rules read its clock times.
std::vector<std::string> DailyNotes(const DailyBounds& b, const DailyDay& day, const DayRow& row,
                                    std::int32_t typedIn, std::int32_t typedOut) {
    std::vector<std::string> notes;
    if (day.inMovedBack) {
        notes.push_back("出社 " + Clock(typedIn) + " は始業 " + Clock(b.start) +
                        " より後なので、前日の " + Clock(typedIn) +
                        " に出社したものとして数えます（遅刻の日は出社時刻を確かめて下さい）。");
    }
    if (day.outMovedOn) {
        notes.push_back("退社 " + Clock(typedOut) + " は始業 " + Clock(b.start) +
                        " までなので、翌日の " + Clock(typedOut) +
                        " に退社したものとして数えます。");
    }
    if (day.outCutToEnd) {
        notes.push_back("退社 " + Clock(typedOut) + " は終業 " + Clock(day.end) +
                        " より前なので、普通残業はありません（差し引きもしません）。");
    }
    if (row.halfHoliday) {
        notes.push_back("半日勤務の曜日なので、終業は " + Clock(day.end) + " です。");
    }
    if (day.nightStart != b.night) {
        notes.push_back("深夜の始まり " + Clock(b.night) + " が終業より前なので、翌日の " +
                        Clock(b.night) + " からを深夜とします。");
    }
    return notes;
}

DayTrace TraceDailyDay(const MonthInput& input, const DailyBounds& bounds, const DayRow& row) {
    DayTrace trace;
    if (!row.complete) {
        return trace;
    }
    const std::int32_t wt = input.daily.WorkType;
    const std::int32_t typedIn = Minutes(row.cells, kClockInColumn).value_or(0);
    const std::int32_t typedOut = Minutes(row.cells, kClockOutColumn).value_or(0);
    const DailyDay day = MeasureDailyDay(bounds, wt, typedIn, typedOut, row.halfHoliday);
    trace.notes = DailyNotes(bounds, day, row, typedIn, typedOut);
    trace.clockInTakenAsEveningBefore = day.inMovedBack;

    const bool roundEachDay = input.rules.FractionsHandle == 0;
    const auto rounded = [&](std::int32_t minutes) {
        return roundEachDay ? RoundMinutes(minutes, input.rules.TimeAdjustFigure,
                                           input.rules.OvertimeWorkFigure)
                            : minutes;
    };
    CellTrace total;
    total.column = kDailyTotalColumn;
    total.name = "合計";
    total.roundedHere = roundEachDay;
    for (int k = 0; k < 4; ++k) {
        CellTrace cell;
        cell.column = kEarlyMorningColumn + k;
        cell.name = kClassNames[k];
        cell.counted = day.minutes[k];
        cell.shown = rounded(cell.counted);
        cell.roundedHere = roundEachDay;
        // Each class is one stretch; where it starts follows from the day.
        switch (k) {
            case kEarlyMorning:
                AddSpan(cell, day.in, day.in + cell.counted);
                break;
            case kEarlyStart:
                AddSpan(cell, bounds.start - cell.counted, bounds.start);
                break;
            case kOvertime:
                AddSpan(cell, day.end, day.end + cell.counted);
                break;
            case kLateNight:
                AddSpan(cell, day.nightStart, day.nightStart + cell.counted);
                break;
        }
        total.counted += cell.counted;
        if (IsColumnUnused(wt, cell.column)) {
            continue;
        }
        for (const TraceSpan& span : cell.spans) {
            total.spans.push_back(span);
        }
        trace.cells.push_back(std::move(cell));
    }
    total.shown = rounded(total.counted);
    if (!IsColumnUnused(wt, kDailyTotalColumn)) {
        trace.cells.push_back(std::move(total));
    }
    return trace;
}

// The stretches of the worked minutes by band. Minute t is the one that ends
// at t, so the minutes first … last cover the clock from first − 1 to last.
std::array<CellTrace, 3> BandStretches(const BandBounds& bounds, const WorkedRanges& worked) {
    std::array<CellTrace, 3> bands;
    for (int r = 0; r < worked.count; ++r) {
        const auto [first, last] = worked.ranges[r];
        std::int32_t t = first;
        while (t <= last) {
            const int band = ClassifyMinute(t, bounds.b1, bounds.b2, bounds.b3);
            std::int32_t end = t;
            while (end + 1 <= last &&
                   ClassifyMinute(end + 1, bounds.b1, bounds.b2, bounds.b3) == band) {
                ++end;
            }
            AddSpan(bands[band - 1], t - 1, end);
            t = end + 1;
        }
    }
    return bands;
}

// Each band's cell rounded and priced as the calculation does it, and the
// day's total over all three.
void PriceBands(const MonthInput& input, const DayRow& row, std::array<CellTrace, 3>& bands,
                DayTrace& trace) {
    const TimeWagesRecord& wages = input.hourly;
    const std::int32_t unit = input.rules.OvertimeWorkFigure;
    CellTrace total;
    total.column = kHourlyTotalColumn;
    total.name = "合計";
    total.roundedHere = true;
    total.priced = true;
    for (int d = 0; d < 3; ++d) {
        CellTrace& cell = bands[d];
        cell.column = kBand1Column + d;
        cell.name = "区分" + std::to_string(d + 1);
        for (const TraceSpan& span : cell.spans) {
            cell.counted += span.minutes;
        }
        cell.shown = RoundMinutes(cell.counted, input.rules.TimeAdjustFigure, unit);
        cell.roundedHere = true;
        cell.priced = true;
        cell.rate = BandRateOfDay(wages, d + 1, row.date.weekday);
        cell.yen = WageForMinutes(cell.shown, cell.rate, unit);
        total.counted += cell.counted;
        total.shown += cell.shown;
        total.yen += cell.yen;
        for (const TraceSpan& span : cell.spans) {
            total.spans.push_back(span);
        }
        if (!IsColumnUnused(wages.WorkType, cell.column)) {
            trace.cells.push_back(cell);
        }
    }
    std::sort(total.spans.begin(), total.spans.end(),
              [](const TraceSpan& a, const TraceSpan& b) { return a.from < b.from; });
    // Which band each stretch of the total belongs to is kept in its text.
    trace.cells.push_back(std::move(total));
}

DayTrace TraceHourlyDay(const MonthInput& input, const BandBounds& bounds, const DayRow& row) {
    DayTrace trace;
    if (!row.complete) {
        return trace;
    }
    const bool withBreak = RowPattern(row.cells) == "1111";
    const std::int32_t in = Minutes(row.cells, kHourlyClockInColumn).value_or(0);
    const std::int32_t breakStart = Minutes(row.cells, kBreakStartColumn).value_or(0);
    const std::int32_t breakEnd = Minutes(row.cells, kBreakEndColumn).value_or(0);
    const std::int32_t out = Minutes(row.cells, kHourlyClockOutColumn).value_or(0);
    const WorkedRanges worked = WorkedMinutes(in, breakStart, breakEnd, out, withBreak);

    if (withBreak) {
        trace.notes.push_back("休憩 " + Clock(breakStart) + "–" + Clock(breakEnd) +
                              ": 休憩開始の直前の1分は数えず、休憩終了の1分を数えます。");
    }
    const std::int32_t lastMinute = worked.ranges[worked.count - 1][1];
    if (lastMinute > 1440) {
        trace.notes.push_back("退社 " + Clock(out) + " は翌日の " + Clock(out) +
                              " として数えます。");
    }
    std::array<CellTrace, 3> bands = BandStretches(bounds, worked);
    PriceBands(input, row, bands, trace);
    return trace;
}

int TotalColumn(const MonthTrace& trace) {
    return trace.payScheme == PayScheme::Hourly ? int{kHourlyTotalColumn} : int{kDailyTotalColumn};
}

const CellTrace* FindCell(const MonthTrace& trace, std::size_t row, int column) {
    if (row < 1 || row > trace.days.size()) {
        return nullptr;
    }
    for (const CellTrace& cell : trace.days[row - 1].cells) {
        if (cell.column == column) {
            return &cell;
        }
    }
    return nullptr;
}

std::string RoundingLine(const MonthTrace& trace, const CellTrace& cell) {
    const std::string rule = RoundingRuleText(trace.rules, trace.payScheme);
    if (!cell.roundedHere) {
        return "丸め: 日毎には丸めません（" + rule + "）";
    }
    return "丸め: " + Duration(cell.counted) + " → " + Duration(cell.shown) + "（" + rule + "）";
}

// The name of the band or class a stretch of a total cell belongs to.
std::string SpanOwner(const MonthTrace& trace, std::size_t row, const TraceSpan& span) {
    for (const CellTrace& cell : trace.days[row - 1].cells) {
        if (cell.column == kDailyTotalColumn && trace.payScheme != PayScheme::Hourly) {
            continue;
        }
        if (cell.column == kHourlyTotalColumn && trace.payScheme == PayScheme::Hourly) {
            continue;
        }
        for (const TraceSpan& own : cell.spans) {
            if (own.from == span.from && own.to == span.to) {
                return cell.name;
            }
        }
    }
    return trace.payScheme == PayScheme::Hourly ? "区分1" : "";
}

void TraceHourlyMonth(const MonthInput& input, const MonthResult& result, MonthTrace& trace) {
    const BandBounds bounds =
        MakeBandBounds(input.hourly.WorkType, input.hourly.ChargeDivideTime1,
                       input.hourly.ChargeDivideTime2, input.hourly.ChargeDivideTime3);
    std::array<SumTrace, 3> sums;
    for (const DayRow& row : result.days) {
        trace.days.push_back(TraceHourlyDay(input, bounds, row));
    }
    for (int d = 0; d < 3; ++d) {
        const BandSum& band = result.bands[d];
        SumTrace& sum = sums[d];
        sum.column = band.column;
        sum.name = "区分" + std::to_string(band.band);
        sum.minutes = band.minutes;
        sum.yen = band.yen;
    }
    for (const DayTrace& day : trace.days) {
        for (const CellTrace& cell : day.cells) {
            if (cell.column >= kBand1Column && cell.column < kHourlyTotalColumn &&
                cell.shown != 0) {
                SumTrace& sum = sums[cell.column - kBand1Column];
                ++sum.days;
                sum.daySum += cell.shown;
            }
        }
    }
    trace.sums.assign(sums.begin(), sums.end());
}

// One class's month sum over the weekdays or over the holidays.
SumTrace ClassSumTrace(const MonthTrace& trace, const MonthResult& result, const ClassSum& cls,
                       bool holiday) {
    SumTrace sum;
    sum.column = cls.column;
    sum.name = kClassNames[cls.column - kEarlyMorningColumn];
    sum.holiday = holiday;
    sum.minutes = holiday ? cls.holidayMinutes : cls.weekdayMinutes;
    sum.roundedHere = true;
    sum.rate = holiday ? cls.holidayRate : cls.weekdayRate;
    sum.yen = holiday ? cls.holidayYen : cls.weekdayYen;
    for (std::size_t i = 0; i < result.days.size(); ++i) {
        if (result.days[i].holiday != holiday) {
            continue;
        }
        const CellTrace* cell = FindCell(trace, i + 1, cls.column);
        if (cell && cell->shown != 0) {
            ++sum.days;
            sum.daySum += cell->shown;
        }
    }
    return sum;
}

void TraceDailyMonth(const MonthInput& input, const MonthResult& result, MonthTrace& trace) {
    const DailyBounds bounds = MakeDailyBounds(input.daily);
    for (const DayRow& row : result.days) {
        trace.days.push_back(TraceDailyDay(input, bounds, row));
    }
    for (const bool holiday : {false, true}) {
        for (const ClassSum& cls : result.classes) {
            if (cls.used) {
                trace.sums.push_back(ClassSumTrace(trace, result, cls, holiday));
            }
        }
    }
}

}  // namespace

MonthTrace TraceMonth(const MonthInput& input, const MonthResult& result) {
    MonthTrace trace;
    trace.payScheme = result.payScheme;
    trace.rules = input.rules;
    trace.days.reserve(result.days.size());
    if (result.payScheme == PayScheme::Hourly) {
        TraceHourlyMonth(input, result, trace);
    } else {
        TraceDailyMonth(input, result, trace);
    }
    return trace;
}

int CountClockInsTakenAsEveningBefore(const MonthInput& input, const MonthResult& result) {
    if (result.payScheme == PayScheme::Hourly) {
        return 0;
    }
    const DailyBounds bounds = MakeDailyBounds(input.daily);
    int count = 0;
    for (const DayRow& row : result.days) {
        if (!row.complete) {
            continue;
        }
        const DailyDay day = MeasureDailyDay(
            bounds, input.daily.WorkType, Minutes(row.cells, kClockInColumn).value_or(0),
            Minutes(row.cells, kClockOutColumn).value_or(0), row.halfHoliday);
        count += day.inMovedBack ? 1 : 0;
    }
    return count;
}

std::string RoundingRuleText(const CalcSetSettings& rules, PayScheme payScheme) {
    const bool perMonth = payScheme != PayScheme::Hourly && rules.FractionsHandle != 0;
    return UnitRuleText(rules) + (perMonth ? "・月毎に丸め" : "・日毎に丸め");
}

std::string SpanText(const TraceSpan& span) {
    return Clock(span.from) + "–" + Clock(span.to);
}

std::string YenText(std::int32_t minutes, std::int32_t rate, std::int32_t unit) {
    const std::int32_t yen = WageForMinutes(minutes, rate, unit);
    const std::int32_t safeUnit = std::max(unit, 1);
    const std::int32_t unitsPerHour = 60 / safeUnit;
    const std::int32_t hours = minutes / 60;
    const std::int32_t units = unitsPerHour == 0 ? 0 : (minutes % 60) / safeUnit;
    std::string text = MinutesToText(minutes) + " → ";
    std::string terms;
    if (hours != 0 || units == 0) {
        terms = FormatYen(rate) + " × " + std::to_string(hours) + "時間";
    }
    if (units != 0) {
        const std::int32_t perUnit = rate / unitsPerHour;
        terms += (terms.empty() ? "" : " + ") + FormatYen(perUnit) + " × " + std::to_string(units) +
                 "（" + std::to_string(safeUnit) + "分あたり " + FormatYen(rate) + " ÷ " +
                 std::to_string(unitsPerHour) + "、円未満切り捨て）";
    }
    return text + terms + " = " + FormatYen(yen);
}

std::string CellTraceText(const MonthTrace& trace, std::size_t row, int column) {
    const CellTrace* cell = FindCell(trace, row, column);
    if (!cell) {
        return {};
    }
    const bool total = column == TotalColumn(trace);
    std::string text;
    for (const TraceSpan& span : cell->spans) {
        const std::string owner = total ? SpanOwner(trace, row, span) : cell->name;
        text += SpanText(span) + " " + owner + " " + Duration(span.minutes) + "\n";
    }
    if (cell->spans.empty()) {
        text += cell->name + " なし\n";
    }
    if (total && trace.payScheme == PayScheme::Hourly) {
        text += "合計 " + Duration(cell->shown) + "（各区分の丸めた時間の合計）\n";
        text += "賃金 " + FormatYen(cell->yen) + "（各区分の賃金の合計）";
    } else {
        text += RoundingLine(trace, *cell);
        if (total) {
            text += "\n（合計は丸める前の時間から丸めるので、各欄の合計と違うことがあります）";
        }
        if (cell->priced) {
            text += "\n賃金: " + YenText(cell->shown, cell->rate, trace.rules.OvertimeWorkFigure);
        }
    }
    for (const std::string& note : trace.days[row - 1].notes) {
        text += "\n" + note;
    }
    return text;
}

std::string SumTraceText(const MonthTrace& trace, int column) {
    const std::int32_t unit = trace.rules.OvertimeWorkFigure;
    std::string text;
    std::int32_t minutes = 0;
    std::int32_t yen = 0;
    const bool totalColumn = column == TotalColumn(trace);
    for (const SumTrace& sum : trace.sums) {
        if (!totalColumn && sum.column != column) {
            continue;
        }
        minutes += sum.minutes;
        yen += sum.yen;
        if (totalColumn) {
            text += sum.name +
                    (trace.payScheme == PayScheme::Hourly ? ""
                     : sum.holiday                        ? "（休日）"
                                                          : "（平日）") +
                    " " + MinutesToText(sum.minutes) + " " + FormatYen(sum.yen) + "\n";
            continue;
        }
        if (trace.payScheme == PayScheme::Hourly) {
            text += sum.name + ": " + std::to_string(sum.days) + "日 計 " +
                    MinutesToText(sum.minutes) + "（日毎に丸めた時間の合計）\n賃金 " +
                    FormatYen(sum.yen) + "（日毎の賃金の合計: 曜日の時給で日毎に計算）";
            continue;
        }
        const std::string label = sum.name + (sum.holiday ? "（休日）" : "（平日）");
        text += label + ": " + std::to_string(sum.days) + "日 計 " + MinutesToText(sum.daySum);
        if (sum.daySum != sum.minutes) {
            text += " → " + MinutesToText(sum.minutes);
        }
        text += "（月の合計を " + UnitRuleText(trace.rules) + " で丸め）\n";
        text += "賃金: " + YenText(sum.minutes, sum.rate, unit) + "\n";
    }
    if (totalColumn) {
        text += "計 " + MinutesToText(minutes) + " " + FormatYen(yen);
    }
    while (text.ends_with("\n")) {
        text.pop_back();
    }
    return text;
}

std::vector<MonthNote> MonthNotes(const MonthTrace& trace, const MonthResult& result) {
    std::vector<MonthNote> notes;
    if (trace.payScheme != PayScheme::Daily) {
        return notes;  // the bands of an hourly wage are hours worked, not overtime
    }
    constexpr std::int32_t kAgreementLimit = 45 * 60;
    constexpr std::int32_t kHigherPremium = 60 * 60;
    const std::int32_t overtime = result.totals.TotalOverMinutes;
    if (overtime > kHigherPremium) {
        notes.push_back(
            {"月60時間超", "残業が月60時間を超えています。超えた分の法定の割増率は50%以上です。"});
    } else if (overtime > kAgreementLimit) {
        notes.push_back(
            {"月45時間超", "残業が月45時間を超えています。36協定の一般の上限を確かめて下さい。"});
    }
    if (trace.rules.FractionsHandle == 0 && trace.rules.OvertimeWorkFigure > 1) {
        notes.push_back({"日毎に丸め",
                         "残業時間を日毎に丸める設定です。端数の丸めは月の合計で"
                         "行うのが認められた扱いです（計算設定で変えられます）。"});
    }
    return notes;
}

}  // namespace pb
