#pragma once
// Rows of a CSV table as spreadsheets and payroll programs read them: fields
// quoted only where they must be, rows ending in CRLF.

#include <string>
#include <vector>

namespace pb {

// The field as it stands, or between double quotes (inner ones doubled) when it
// holds a comma, a quote or a line break.
std::string CsvField(const std::string& text);

// The fields joined by commas, ending in "\r\n".
std::string CsvRow(const std::vector<std::string>& fields);

// The bytes of a CSV file: UTF-8 with a byte-order mark, or Shift-JIS.
std::string CsvFileBytes(const std::string& utf8, bool shiftJis);

}  // namespace pb
