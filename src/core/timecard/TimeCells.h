#pragma once
// The clock cells of a day row: which texts count as a time, which cells are
// filled, and how a figure is written back into a cell.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/common/Routines.h"

namespace pb {

// The texts of one row of the entry grid, indexed by grid column: [0] is the
// day label, [1] … [8] the cells ("hh:mm" or empty). A daily-wage row uses
// columns 1 … 7, an hourly-wage row 1 … 8.
using DayCells = std::array<std::string, 9>;

// What the grid's editor shows for a cell with nothing typed in it.
inline constexpr std::string_view kBlankTimeMask = "  :  ";

// The check made when the operator leaves a cell: true for an empty text, for
// the blank mask "  :  ", and for a time 00:00 … 23:59 written "hh:mm" (five
// characters that `IsTimeText` accepts). It rejects 24:00, 12:60, every partly
// typed time such as "1 :3 ", and "1:2:3", which the time conversion would take
// but from which no minutes can be read.
//
// The looser check that decides whether leaving the current cell recalculates
// at all is `pb::IsTimeText` of core/common/Routines.h itself (the text-to-time
// conversion's own test); the grid needs no second version of it.
bool IsValidTimeText(std::string_view text);

// The minutes of a cell that the calculation counts: a valid, non-blank time.
// The same as `TextToMinutes` for every such text.
// Anything else, including a text that would fail `IsValidTimeText`, reads as
// an empty cell, the way a save empties it, so a damaged stored cell can never
// stop a calculation.
inline std::optional<std::int32_t> CellMinutes(std::string_view text);

// True when the cell holds something: neither empty nor the blank mask.
bool IsCellFilled(std::string_view text);

// Sets `cell` to `MinutesToText(minutes)`, writing the figures a day row shows
// (0 … 99:59) straight into it; anything else is passed on to `MinutesToText`.
inline void SetClockText(std::string& cell, std::int32_t minutes);

// Four characters for columns 1 … 4 of the row, column 1 first: "1" for a
// filled cell, "0" for an empty one ("1001" = clock-in and clock-out, no
// break). Used for completeness and for the Enter-key movement; a daily row
// uses only the first two characters.
std::string RowPattern(const DayCells& row);

// --- the two above are called for every cell of every calculation ---

namespace detail {

inline bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// "hh:mm" with two digits each side: the only shape the grid's edit mask makes.
inline bool IsClockShape(std::string_view text) {
    return text.size() == 5 && IsDigit(text[0]) && IsDigit(text[1]) && text[2] == ':' &&
           IsDigit(text[3]) && IsDigit(text[4]);
}

}  // namespace detail

inline std::optional<std::int32_t> CellMinutes(std::string_view text) {
    if (!detail::IsClockShape(text)) {
        return std::nullopt;
    }
    const std::int32_t hours = (text[0] - '0') * 10 + (text[1] - '0');
    const std::int32_t minutes = (text[3] - '0') * 10 + (text[4] - '0');
    if (hours > 23 || minutes > 59) {
        return std::nullopt;
    }
    return hours * 60 + minutes;
}

inline void SetClockText(std::string& cell, std::int32_t minutes) {
    if (minutes < 0 || minutes >= 100 * 60) {
        cell = MinutesToText(minutes);
        return;
    }
    const std::int32_t hours = minutes / 60;
    const std::int32_t rest = minutes % 60;
    const char text[] = {static_cast<char>('0' + hours / 10), static_cast<char>('0' + hours % 10),
                         ':', static_cast<char>('0' + rest / 10),
                         static_cast<char>('0' + rest % 10)};
    cell.assign(text, sizeof text);
}

}  // namespace pb
