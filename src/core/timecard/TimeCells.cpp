#include "core/timecard/TimeCells.h"

namespace pb {

bool IsValidTimeText(std::string_view text) {
    if (text.empty() || text == kBlankTimeMask) {
        return true;
    }
    return text.size() == 5 && text.find(' ') == std::string_view::npos && IsTimeText(text);
}

std::optional<std::int32_t> CellMinutes(std::string_view text) {
    if (text.empty() || text == kBlankTimeMask || !IsValidTimeText(text)) {
        return std::nullopt;
    }
    return TextToMinutes(text);
}

bool IsCellFilled(std::string_view text) {
    return !text.empty() && text != kBlankTimeMask;
}

std::string RowPattern(const DayCells& row) {
    std::string pattern;
    for (int column = 1; column <= 4; ++column) {
        pattern += IsCellFilled(row[column]) ? '1' : '0';
    }
    return pattern;
}

}  // namespace pb
