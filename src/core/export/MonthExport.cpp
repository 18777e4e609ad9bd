#include "core/export/MonthExport.h"

#include "core/export/CsvText.h"

#include <cstdio>
#include <initializer_list>
#include <vector>

#include "core/common/Holidays.h"
#include "core/common/Routines.h"

namespace pb {
namespace {

std::string JsonText(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned>(c));
                    out += buf;
                } else {
                    out += c;
                }
        }
    }
    return out + "\"";
}

std::string JsonBool(bool value) {
    return value ? "true" : "false";
}

// Builds one object with its members in the order they are added.
class JsonObject {
  public:
    JsonObject& Add(const char* key, const std::string& rawValue) {
        // Appended piece by piece: cheaper, and GCC 12 warns (wrongly) about
        // overlapping copies in the chain of temporaries it replaces.
        text_ += text_.empty() ? '{' : ',';
        text_ += JsonText(key);
        text_ += ':';
        text_ += rawValue;
        return *this;
    }
    JsonObject& Add(const char* key, std::int64_t value) { return Add(key, std::to_string(value)); }
    std::string Done() const { return text_.empty() ? "{}" : text_ + "}"; }

  private:
    std::string text_;
};

std::string JsonArray(const std::vector<std::string>& rawValues) {
    std::string out = "[";
    for (std::size_t i = 0; i < rawValues.size(); ++i) {
        if (i > 0)
            out += ',';
        out += rawValues[i];
    }
    return out + "]";
}

std::vector<std::string> Quoted(const std::vector<std::string>& texts) {
    std::vector<std::string> out;
    for (const std::string& text : texts) {
        out.push_back(JsonText(text));
    }
    return out;
}

// Columns 1 to the last of a grid row.
std::vector<std::string> DataColumns(const std::vector<std::string>& row) {
    return std::vector<std::string>(row.begin() + 1, row.end());
}

std::vector<std::string> DataColumns(const DayCells& cells, std::size_t columnCount) {
    return std::vector<std::string>(cells.begin() + 1, cells.begin() + columnCount);
}

std::string DayTraceJson(const MonthTrace& trace, std::size_t row) {
    std::vector<std::string> cells;
    for (const CellTrace& cell : trace.days[row - 1].cells) {
        std::vector<std::string> spans;
        for (const TraceSpan& span : cell.spans) {
            spans.push_back(JsonObject()
                                .Add("from", span.from)
                                .Add("to", span.to)
                                .Add("minutes", span.minutes)
                                .Add("text", JsonText(SpanText(span)))
                                .Done());
        }
        cells.push_back(JsonObject()
                            .Add("column", cell.column)
                            .Add("name", JsonText(cell.name))
                            .Add("spans", JsonArray(spans))
                            .Add("counted", cell.counted)
                            .Add("minutes", cell.shown)
                            .Add("rounded", JsonBool(cell.roundedHere))
                            .Add("rate", cell.rate)
                            .Add("yen", cell.yen)
                            .Add("text", JsonText(CellTraceText(trace, row, cell.column)))
                            .Done());
    }
    return JsonObject()
        .Add("notes", JsonArray(Quoted(trace.days[row - 1].notes)))
        .Add("cells", JsonArray(cells))
        .Done();
}

std::string MonthTraceJson(const MonthTrace& trace) {
    std::vector<std::string> sums;
    for (const SumTrace& sum : trace.sums) {
        sums.push_back(JsonObject()
                           .Add("column", sum.column)
                           .Add("name", JsonText(sum.name))
                           .Add("holiday", JsonBool(sum.holiday))
                           .Add("days", sum.days)
                           .Add("day_sum", sum.daySum)
                           .Add("minutes", sum.minutes)
                           .Add("rate", sum.rate)
                           .Add("yen", sum.yen)
                           .Add("text", JsonText(SumTraceText(trace, sum.column)))
                           .Done());
    }
    return JsonObject()
        .Add("rounding", JsonText(RoundingRuleText(trace.rules, trace.payScheme)))
        .Add("sums", JsonArray(sums))
        .Done();
}

// A caption as a spreadsheet heading: the grid spaces its captions out to
// the column's width ("合　　計", "区 分 １"); a heading carries no padding.
std::string PlainHeading(const std::string& caption) {
    static const std::string kIdeographicSpace = "\u3000";
    std::string heading;
    for (std::size_t i = 0; i < caption.size();) {
        if (caption[i] == ' ') {
            ++i;
        } else if (caption.compare(i, kIdeographicSpace.size(), kIdeographicSpace) == 0) {
            i += kIdeographicSpace.size();
        } else {
            heading += caption[i++];
        }
    }
    return heading;
}

}  // namespace

MonthInput ExportInput(const OpenedMonth& month) {
    MonthInput input = month.input;
    for (DayCells& row : input.cells) {
        for (std::string& text : row) {
            if (!IsValidTimeText(text)) {
                text.clear();
            }
        }
    }
    return input;
}

std::string MonthJson(const OpenedMonth& month, const MonthResult& result,
                      const MonthTrace* trace) {
    const CalcSetSettings& rules = month.input.rules;
    const bool daily = result.payScheme == PayScheme::Daily;
    const std::size_t columnCount = result.captions.size();

    std::vector<std::string> days;
    for (std::size_t i = 0; i < result.days.size(); ++i) {
        const DayRow& day = result.days[i];
        const std::string_view holiday =
            NationalHolidayName(day.date.year, day.date.month, day.date.day);
        JsonObject object;
        object.Add("date", JsonText(IsoDate(day.date)))
            .Add("label", JsonText(day.cells[0]))
            .Add("weekday", day.date.weekday)
            .Add("holiday", JsonBool(daily && day.holiday))
            .Add("half_holiday", JsonBool(daily && day.halfHoliday))
            .Add("national_holiday", holiday.empty() ? "null" : JsonText(std::string(holiday)))
            .Add("cells", JsonArray(Quoted(DataColumns(day.cells, columnCount))));
        if (trace) {
            object.Add("trace", DayTraceJson(*trace, i + 1));
        }
        days.push_back(object.Done());
    }
    std::vector<std::string> classes;
    for (const ClassSum& sum : result.classes) {
        classes.push_back(JsonObject()
                              .Add("column", sum.column)
                              .Add("caption", JsonText(sum.caption))
                              .Add("used", JsonBool(sum.used))
                              .Add("weekday_minutes", sum.weekdayMinutes)
                              .Add("holiday_minutes", sum.holidayMinutes)
                              .Add("weekday_yen", sum.weekdayYen)
                              .Add("holiday_yen", sum.holidayYen)
                              .Done());
    }
    std::vector<std::string> bands;
    for (const BandSum& sum : result.bands) {
        bands.push_back(JsonObject()
                            .Add("band", sum.band)
                            .Add("column", sum.column)
                            .Add("minutes", sum.minutes)
                            .Add("yen", sum.yen)
                            .Done());
    }
    const MonthTotals& totals = result.totals;
    JsonObject object;
    object.Add("id", JsonText(month.id))
        .Add("name", JsonText(month.name))
        .Add("pay_scheme", SchemeNumber(result.payScheme))
        .Add("wages_generation", month.wagesGeneration)
        .Add("work_type", result.workType)
        .Add("year", month.year)
        .Add("month", month.month)
        .Add("rules", JsonObject()
                          .Add("unit", rules.OvertimeWorkFigure)
                          .Add("rounding", rules.TimeAdjustFigure)
                          .Add("per_month", rules.FractionsHandle)
                          .Add("end_of_month_payment", rules.EndOfMonthPayment)
                          .Done())
        .Add("columns", JsonArray(Quoted(DataColumns(result.captions))))
        .Add("days", JsonArray(days))
        .Add("classes", JsonArray(classes))
        .Add("bands", JsonArray(bands))
        .Add("totals", JsonObject()
                           .Add("work_days", totals.WorkDays)
                           .Add("holiday_work_days", totals.HolidayWorkDays)
                           .Add("total_minutes", totals.TotalOverMinutes)
                           .Add("total_yen", totals.TotalOverPay)
                           .Add("holiday_minutes", totals.HolidayMinutes)
                           .Add("holiday_yen", totals.HolidayPay)
                           .Done());
    if (trace) {
        object.Add("trace", MonthTraceJson(*trace));
    }
    return object.Done() + "\n";
}

std::string MonthCsv(const OpenedMonth&, const MonthResult& result) {
    const std::size_t columnCount = result.captions.size();
    // The date in a form spreadsheets read as a date, then the label as the
    // window shows it.
    std::vector<std::string> header{"年月日", "日付"};
    for (const std::string& caption : DataColumns(result.captions)) {
        header.push_back(PlainHeading(caption));
    }
    std::string out = CsvRow(header);
    for (const DayRow& day : result.days) {
        std::vector<std::string> row{IsoDate(day.date), day.cells[0]};
        for (const std::string& cell : DataColumns(day.cells, columnCount)) {
            row.push_back(cell);
        }
        out += CsvRow(row);
    }
    out += "\r\n";
    if (result.payScheme == PayScheme::Daily) {
        out += CsvRow({"区分", "平日残業", "休日残業", "平日賃金", "休日賃金"});
        for (const ClassSum& sum : result.classes) {
            out += CsvRow({PlainHeading(sum.caption), MinutesToText(sum.weekdayMinutes),
                           MinutesToText(sum.holidayMinutes), std::to_string(sum.weekdayYen),
                           std::to_string(sum.holidayYen)});
        }
    } else {
        out += CsvRow({"区分", "勤務時間", "賃金"});
        for (const BandSum& sum : result.bands) {
            out += CsvRow({PlainHeading(result.captions[sum.column]), MinutesToText(sum.minutes),
                           std::to_string(sum.yen)});
        }
    }
    out += "\r\n";
    const MonthTotals& totals = result.totals;
    out += CsvRow({"総勤務日数", "休日勤務", "総残業時間", "総残業賃金", "休日残業", "休日賃金"});
    out += CsvRow({std::to_string(totals.WorkDays), std::to_string(totals.HolidayWorkDays),
                   MinutesToText(totals.TotalOverMinutes), std::to_string(totals.TotalOverPay),
                   MinutesToText(totals.HolidayMinutes), std::to_string(totals.HolidayPay)});
    return out;
}

std::string MonthFileBytes(const OpenedMonth& month, const MonthFileFormat& format) {
    const MonthInput input = ExportInput(month);
    const MonthResult result = CalcMonth(input);
    if (!format.json)
        return CsvFileBytes(MonthCsv(month, result), format.shiftJis);
    if (!format.trace)
        return MonthJson(month, result);
    const MonthTrace trace = TraceMonth(input, result);
    return MonthJson(month, result, &trace);
}

}  // namespace pb
