#include "core/export/CsvText.h"

#include "core/common/ShiftJis.h"

namespace pb {

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        return text;
    }
    std::string out = "\"";
    for (const char c : text) {
        out += c == '"' ? std::string("\"\"") : std::string(1, c);
    }
    return out + "\"";
}

std::string CsvRow(const std::vector<std::string>& fields) {
    std::string out;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        out += (i ? "," : "") + CsvField(fields[i]);
    }
    return out + "\r\n";
}

std::string CsvFileBytes(const std::string& utf8, bool shiftJis) {
    return shiftJis ? EncodeSjis(utf8) : "\xEF\xBB\xBF" + utf8;
}

}  // namespace pb
