#pragma once
// Clock times from a CSV file, as time recorders and spreadsheets write them:
// one row per employee and day. The bytes are decoded (UTF-8 with or without a
// byte-order mark, or Shift-JIS), split into rows of fields, and each row read
// by a column layout (which column holds the ID, the date and the times) into
// the cell texts the entry grid types. The program's own month CSV is
// recognised by its heading and read by it.
//
// A file that is not a table (binary data, a quote left open, rows of
// differing widths, nothing but a heading, too large) is refused whole with
// ClockCsvError naming the line; a row whose ID, date or time does not read is
// kept with the reason, so the preview can list it.

#include <array>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/model/Settings.h"
#include "core/store/FileSystem.h"

namespace pb {

// Which column (1 = first, 0 = none) holds what; remembered in the settings.
using ClockLayout = ImportSettings;

// Files larger than this are refused before they are read: a year of 999
// employees is about 16 MB.
inline constexpr std::uint64_t kMaxClockCsvBytes = 32u * 1024 * 1024;

// A file that cannot be read as a table; `line` is the file's line (1 = first)
// the message names, 0 for the file as a whole.
class ClockCsvError : public std::runtime_error {
  public:
    ClockCsvError(int line, const std::string& message)
        : std::runtime_error(message), line_(line) {}
    int line() const { return line_; }

  private:
    int line_;
};

enum class CsvEncoding { Utf8, Utf8WithBom, ShiftJis };

// One row of a CSV table, its fields in UTF-8, and the file line it starts on.
struct CsvRow {
    int line = 0;
    std::vector<std::string> fields;
};

// A file's rows as fields, before any layout: what a dialog previews.
struct CsvTable {
    CsvEncoding encoding = CsvEncoding::Utf8;
    std::vector<CsvRow> rows;  // blank lines left out
};

// Decodes and splits the bytes. Throws ClockCsvError for an empty file, bytes
// that are neither UTF-8 nor Shift-JIS, control characters of a binary file,
// a quote left open, or more than kMaxClockCsvBytes. Rows may differ in width
// here; ReadClockCsv checks that.
CsvTable SplitCsv(std::string_view bytes);

// The typed columns of a day as the hourly grid counts them: 1 clock-in,
// 2 break start, 3 break end, 4 clock-out.
inline constexpr int kClockFields = 4;

// One day of one employee as a row gives it.
struct ClockRow {
    int line = 0;
    std::string id;  // three digits ("007"); empty when it did not read
    // The date; a year of 0 when the row gives only month and day (an older
    // month CSV): the pay month the import is made for decides it.
    std::int32_t year = 0;
    std::int32_t month = 0;
    std::int32_t day = 0;
    // Clock texts "hh:mm" (after midnight as the time of day), index 1 … 4 as
    // kClockFields counts; empty where the row has no time, nothing where the
    // layout has no column.
    std::array<std::optional<std::string>, kClockFields + 1> cells;
    // Why the row cannot be imported; empty when it can.
    std::string problem;

    // True when the row gives no time at all: nothing to fill.
    bool IsEmpty() const;
};

struct ClockFile {
    CsvEncoding encoding = CsvEncoding::Utf8;
    bool heading = false;   // the first row was a heading and was skipped
    bool monthCsv = false;  // the program's month CSV: one employee, no ID column
    std::vector<ClockRow> rows;
};

// The rows of `table` read by `layout`, or by its own heading for a month CSV
// (its rows end at the first blank line; the ID is the caller's). Throws
// ClockCsvError for a table with nothing but a heading, rows of a width other
// than the first row's, or a layout naming a column the rows lack.
ClockFile ReadClockTable(const CsvTable& table, const ClockLayout& layout);

// SplitCsv and ReadClockTable.
ClockFile ReadClockCsv(std::string_view bytes, const ClockLayout& layout);

// The file at `path` (any path, not only of the program folder), its size
// checked before it is read. FileError when it cannot be read.
std::string ReadClockCsvBytes(const FileSystem& fs, const std::string& path);

// A time as recorders write it: "8:05", "08:05", "0805", "805", with seconds
// ("08:05:30", dropped), after midnight as "25:30" or "翌1:30". The cell text
// the grid stores ("01:30" for both of the last); nothing when it is no time.
std::optional<std::string> ReadClockTime(std::string_view text);

// "3" or "003" as "003" for IDs 1 … 999; nothing for anything else.
std::optional<std::string> ReadEmployeeId(std::string_view text);

}  // namespace pb
