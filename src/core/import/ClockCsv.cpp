#include "core/import/ClockCsv.h"

#include <algorithm>
#include <array>
#include <cerrno>

#include "core/common/Routines.h"
#include "core/common/ShiftJis.h"
#include "core/timecard/PayPeriod.h"
#include "core/timecard/TimeCells.h"

namespace pb {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::string_view kNextDay = "翌";
constexpr std::string_view kWideSpace = "\u3000";

std::string Line(int line) {
    return std::to_string(line) + "行目: ";
}

// Length of the valid UTF-8 sequence at `at`, 0 when there is none.
std::size_t Utf8Length(std::string_view text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    std::size_t length = lead < 0x80                    ? 1
                         : lead >= 0xC2 && lead <= 0xDF ? 2
                         : lead >= 0xE0 && lead <= 0xEF ? 3
                         : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                        : 0;
    if (length == 0 || at + length > text.size())
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((static_cast<unsigned char>(text[at + i]) & 0xC0) != 0x80)
            return 0;
    }
    return length;
}

// The line of the first byte that is not UTF-8; 0 when all are.
int FirstNonUtf8Line(std::string_view text) {
    int line = 1;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = Utf8Length(text, i);
        if (length == 0)
            return line;
        line += text[i] == '\n';
        i += length;
    }
    return 0;
}

// A binary file shows itself by control characters no table holds.
void RefuseControlCharacters(std::string_view text) {
    int line = 1;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\n') {
            ++line;
        } else if ((byte < 0x20 && c != '\r' && c != '\t') || byte == 0x7F) {
            throw ClockCsvError(
                line, Line(line) + "文字ではないデータがあります。CSV ファイルではありません。");
        }
    }
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (text.starts_with(kWideSpace))
        text.remove_prefix(kWideSpace.size());
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    while (text.ends_with(kWideSpace))
        text.remove_suffix(kWideSpace.size());
    return text;
}

bool AllDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int Number(std::string_view digits) {
    int value = 0;
    for (const char c : digits.substr(0, 9))
        value = value * 10 + (c - '0');
    return value;
}

struct Date {
    int year = 0;  // 0: not given
    int month = 0;
    int day = 0;
};

// "YYYY-MM-DD", "YYYY/MM/DD", "YYYY/M/D"; or the month CSV's label "mm/dd(曜)",
// which has no year.
std::optional<Date> ReadDate(std::string_view text) {
    if (const auto paren = text.find('('); paren != std::string_view::npos && text.ends_with(")"))
        text = text.substr(0, paren);
    std::array<std::string_view, 3> parts;
    std::size_t count = 0;
    const char separator = text.find('-') != std::string_view::npos ? '-' : '/';
    for (std::size_t start = 0;;) {
        if (count == parts.size())
            return std::nullopt;
        const std::size_t end = text.find(separator, start);
        parts[count] = text.substr(start, end - start);
        if (!AllDigits(parts[count++]))
            return std::nullopt;
        if (end == std::string_view::npos)
            break;
        start = end + 1;
    }
    Date date;
    if (count == 3 && parts[0].size() == 4 && parts[1].size() <= 2 && parts[2].size() <= 2) {
        date = {Number(parts[0]), Number(parts[1]), Number(parts[2])};
    } else if (count == 2 && separator == '/' && parts[0].size() == 2 && parts[1].size() == 2) {
        date = {0, Number(parts[0]), Number(parts[1])};
    } else {
        return std::nullopt;
    }
    // February 29th of a year not given is checked against the year it falls in.
    const int leapYear = 2000;
    if (date.year == 0
            ? date.month < 1 || date.month > 12 || date.day > DaysInMonth(leapYear, date.month)
            : date.year < 1000 || date.month < 1 || date.month > 12 ||
                  date.day > DaysInMonth(date.year, date.month)) {
        return std::nullopt;
    }
    if (date.day < 1)
        return std::nullopt;
    return date;
}

// The month CSV's heading: "年月日" and "日付" (or "日付" alone in older files),
// then the grid's captions.
bool IsMonthCsvHeading(const std::vector<std::string>& fields) {
    const bool dated = fields.size() > 1 && fields[0] == "年月日" && fields[1] == "日付";
    const bool labelled = !fields.empty() && fields[0] == "日付";
    return (dated || labelled) &&
           std::find(fields.begin(), fields.end(), "出社時間") != fields.end();
}

// The layout of a month CSV from its heading: the date, and the clock columns
// by caption.
ClockLayout MonthCsvLayout(const std::vector<std::string>& heading) {
    const auto column = [&](const char* caption) {
        const auto it = std::find(heading.begin(), heading.end(), caption);
        return it == heading.end() ? 0 : static_cast<std::int32_t>(it - heading.begin()) + 1;
    };
    ClockLayout layout;
    layout.IdColumn = 0;
    layout.DateColumn = 1;
    layout.ClockInColumn = column("出社時間");
    layout.BreakStartColumn = column("休憩開始");
    layout.BreakEndColumn = column("休憩終了");
    layout.ClockOutColumn = column("退社時間");
    return layout;
}

const char* const kClockNames[kClockFields + 1] = {"", "出社時間", "休憩開始", "休憩終了",
                                                   "退社時間"};

std::int32_t ClockColumn(const ClockLayout& layout, int field) {
    switch (field) {
        case 1:
            return layout.ClockInColumn;
        case 2:
            return layout.BreakStartColumn;
        case 3:
            return layout.BreakEndColumn;
        default:
            return layout.ClockOutColumn;
    }
}

ClockRow ReadRow(const CsvRow& row, const ClockLayout& layout) {
    ClockRow clock;
    clock.line = row.line;
    const auto field = [&](std::int32_t column) {
        return Trimmed(row.fields[static_cast<std::size_t>(column - 1)]);
    };
    std::vector<std::string> problems;
    if (layout.IdColumn > 0) {
        const std::string_view text = field(layout.IdColumn);
        if (auto id = ReadEmployeeId(text))
            clock.id = std::move(*id);
        else
            problems.push_back("従業員番号「" + std::string(text) + "」が正しくありません");
    }
    const std::string_view dateText = field(layout.DateColumn);
    if (const auto date = ReadDate(dateText)) {
        clock.year = date->year;
        clock.month = date->month;
        clock.day = date->day;
    } else {
        problems.push_back("日付「" + std::string(dateText) + "」が正しくありません");
    }
    for (int f = 1; f <= kClockFields; ++f) {
        const std::int32_t column = ClockColumn(layout, f);
        if (column == 0)
            continue;
        const std::string_view text = field(column);
        if (text.empty()) {
            clock.cells[f] = std::string();
        } else if (auto time = ReadClockTime(text)) {
            clock.cells[f] = std::move(*time);
        } else {
            problems.push_back(std::string(kClockNames[f]) + "「" + std::string(text) +
                               "」は時刻ではありません");
        }
    }
    for (const std::string& problem : problems)
        clock.problem += (clock.problem.empty() ? "" : "、") + problem;
    if (!clock.problem.empty())
        clock.problem += "。";
    return clock;
}

bool LooksLikeData(const std::vector<std::string>& fields, const ClockLayout& layout) {
    const auto at = [&](std::int32_t column) {
        return column >= 1 && static_cast<std::size_t>(column) <= fields.size()
                   ? Trimmed(fields[static_cast<std::size_t>(column - 1)])
                   : std::string_view();
    };
    return ReadDate(at(layout.DateColumn)).has_value() ||
           (layout.IdColumn > 0 && ReadEmployeeId(at(layout.IdColumn)).has_value());
}

}  // namespace

bool ClockRow::IsEmpty() const {
    return std::none_of(cells.begin(), cells.end(),
                        [](const auto& cell) { return cell && !cell->empty(); });
}

std::optional<std::string> ReadEmployeeId(std::string_view text) {
    if (!AllDigits(text) || text.size() > 9)
        return std::nullopt;
    const int id = Number(text);
    if (id < 1 || id > 999)
        return std::nullopt;
    return PadNumber(id, 3);
}

std::optional<std::string> ReadClockTime(std::string_view text) {
    bool nextDay = false;
    if (text.starts_with(kNextDay)) {
        nextDay = true;
        text.remove_prefix(kNextDay.size());
    }
    int hours = 0;
    int minutes = 0;
    if (const auto colon = text.find(':'); colon != std::string_view::npos) {
        std::string_view h = text.substr(0, colon);
        std::string_view rest = text.substr(colon + 1);
        if (const auto second = rest.find(':'); second != std::string_view::npos) {
            const std::string_view seconds = rest.substr(second + 1);
            if (seconds.size() != 2 || !AllDigits(seconds) || Number(seconds) > 59)
                return std::nullopt;
            rest = rest.substr(0, second);
        }
        if (h.empty() || h.size() > 2 || !AllDigits(h) || rest.size() != 2 || !AllDigits(rest))
            return std::nullopt;
        hours = Number(h);
        minutes = Number(rest);
    } else if ((text.size() == 3 || text.size() == 4) && AllDigits(text)) {
        hours = Number(text.substr(0, text.size() - 2));
        minutes = Number(text.substr(text.size() - 2));
    } else {
        return std::nullopt;
    }
    // "翌" marks a time of the next day; without it, hours from 24 on are one.
    if (minutes > 59 || hours > (nextDay ? 23 : 47))
        return std::nullopt;
    std::string cell;
    SetClockText(cell, (hours * 60 + minutes) % (24 * 60));
    return cell;
}

CsvTable SplitCsv(std::string_view bytes) {
    if (bytes.size() > kMaxClockCsvBytes)
        throw ClockCsvError(0, "ファイルが大きすぎます（" +
                                   std::to_string(kMaxClockCsvBytes / (1024 * 1024)) +
                                   " MB まで）。");
    CsvTable table;
    std::string text;
    if (bytes.starts_with(kBom)) {
        table.encoding = CsvEncoding::Utf8WithBom;
        bytes.remove_prefix(kBom.size());
        if (const int line = FirstNonUtf8Line(bytes))
            throw ClockCsvError(line, Line(line) + "UTF-8 として読めない文字があります。");
        text = bytes;
    } else if (FirstNonUtf8Line(bytes) == 0) {
        text = bytes;
    } else {
        DecodedText decoded = DecodeSjis(bytes);
        if (decoded.lossy) {
            const int line = FirstNonUtf8Line(bytes);
            throw ClockCsvError(line,
                                Line(line) + "文字コードが UTF-8 でも Shift-JIS でもありません。");
        }
        table.encoding = CsvEncoding::ShiftJis;
        text = std::move(decoded.text);
    }
    RefuseControlCharacters(text);

    int line = 1;
    CsvRow row{line, {}};
    std::string field;
    bool quoted = false;        // inside a quoted field
    int quoteLine = 0;          // where it opened
    bool fieldStarted = false;  // the row has a field (even an empty one)
    const auto endField = [&] {
        row.fields.push_back(std::move(field));
        field.clear();
        fieldStarted = true;
    };
    table.rows.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
    std::size_t width = 0;
    const auto endRow = [&] {
        const bool blank = row.fields.size() == 1 && row.fields[0].empty();
        width = row.fields.size();
        if (!blank)
            table.rows.push_back(std::move(row));
        row = CsvRow{line, {}};
        row.fields.reserve(width);
        fieldStarted = false;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"') {
                if (i + 1 < text.size() && text[i + 1] == '"') {
                    field += '"';
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                line += c == '\n';
                field += c;
            }
        } else if (c == '"' && field.empty()) {
            quoted = true;
            quoteLine = line;
        } else if (c == ',') {
            endField();
        } else if (c == '\n' || c == '\r') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            endField();
            ++line;
            endRow();
        } else {
            // A run of plain characters goes in at once.
            std::size_t end = i + 1;
            while (end < text.size() && text[end] != ',' && text[end] != '\n' &&
                   text[end] != '\r' && text[end] != '"')
                ++end;
            field.append(text, i, end - i);
            i = end - 1;
        }
    }
    if (quoted)
        throw ClockCsvError(quoteLine, Line(quoteLine) + "引用符（\"）が閉じられていません。");
    if (!field.empty() || fieldStarted) {
        endField();
        endRow();
    }
    if (table.rows.empty())
        throw ClockCsvError(0, "ファイルが空です。");
    return table;
}

ClockFile ReadClockTable(const CsvTable& table, const ClockLayout& layout) {
    ClockFile file;
    file.encoding = table.encoding;
    const std::vector<CsvRow>& rows = table.rows;
    ClockLayout used = layout;
    std::size_t first = 0;
    std::size_t end = rows.size();
    if (!rows.empty() && IsMonthCsvHeading(rows[0].fields)) {
        file.monthCsv = true;
        file.heading = true;
        used = MonthCsvLayout(rows[0].fields);
        first = 1;
        // The day table ends with the first blank line; the sums follow it.
        for (std::size_t i = 1; i < rows.size(); ++i) {
            if (rows[i].line != rows[i - 1].line + 1) {
                end = i;
                break;
            }
        }
    } else if (!rows.empty() && !LooksLikeData(rows[0].fields, layout)) {
        file.heading = true;
        first = 1;
    }
    if (first >= end)
        throw ClockCsvError(rows.front().line,
                            Line(rows.front().line) + "見出しの行のほかにデータがありません。");
    const std::size_t width = rows[first].fields.size();
    const std::int32_t widest =
        std::max({used.IdColumn, used.DateColumn, used.ClockInColumn, used.ClockOutColumn,
                  used.BreakStartColumn, used.BreakEndColumn});
    if (static_cast<std::size_t>(widest) > width)
        throw ClockCsvError(rows[first].line, Line(rows[first].line) + std::to_string(width) +
                                                  " 列しかありません。" + std::to_string(widest) +
                                                  " 列目を読む列の割り当てを見直して下さい。");
    file.rows.reserve(end - first);
    for (std::size_t i = first; i < end; ++i) {
        if (rows[i].fields.size() != width)
            throw ClockCsvError(rows[i].line, Line(rows[i].line) + "列の数（" +
                                                  std::to_string(rows[i].fields.size()) + "）が " +
                                                  std::to_string(rows[first].line) + " 行目（" +
                                                  std::to_string(width) + "）と違います。");
        file.rows.push_back(ReadRow(rows[i], used));
    }
    return file;
}

ClockFile ReadClockCsv(std::string_view bytes, const ClockLayout& layout) {
    return ReadClockTable(SplitCsv(bytes), layout);
}

std::string ReadClockCsvBytes(const FileSystem& fs, const std::string& path) {
    const auto size = fs.Size(path);
    if (!size)
        throw FileError(path, ENOENT, path + " がありません。");
    if (*size > kMaxClockCsvBytes)
        throw ClockCsvError(0, path + " は大きすぎます（" +
                                   std::to_string(kMaxClockCsvBytes / (1024 * 1024)) +
                                   " MB まで）。");
    const Bytes bytes = fs.ReadAll(path);
    return std::string(bytes.begin(), bytes.end());
}

}  // namespace pb
