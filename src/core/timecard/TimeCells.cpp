#include "core/timecard/TimeCells.h"

namespace pb {

bool IsValidTimeText(std::string_view text) {
    if (text.empty() || text == kBlankTimeMask) {
        return true;
    }
    // Five characters without a blank that the time conversion accepts could
    // also be "1:2:3", which no minute count can be read from.
    return detail::IsClockShape(text) && IsTimeText(text);
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
