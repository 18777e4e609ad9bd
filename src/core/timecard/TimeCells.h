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
// the blank mask "  :  ", and for a text of exactly five characters without a
// blank that `IsTimeText` accepts (00:00 … 23:59). It rejects 24:00, 12:60 and
// every partly typed time such as "1 :3 ".
//
// The looser check that decides whether leaving the current cell recalculates
// at all is `pb::IsTimeText` of core/common/Routines.h itself (the text-to-time
// conversion's own test); the grid needs no second version of it.
bool IsValidTimeText(std::string_view text);

// The minutes of a cell that the calculation counts: a valid, non-blank time.
// Anything else, including a text that would fail `IsValidTimeText`, reads as
// an empty cell, the way a save empties it, so a damaged stored cell can never
// stop a calculation.
std::optional<std::int32_t> CellMinutes(std::string_view text);

// True when the cell holds something: neither empty nor the blank mask.
bool IsCellFilled(std::string_view text);

// Four characters for columns 1 … 4 of the row, column 1 first: "1" for a
// filled cell, "0" for an empty one ("1001" = clock-in and clock-out, no
// break). Used for completeness and for the Enter-key movement; a daily row
// uses only the first two characters.
std::string RowPattern(const DayCells& row);

}  // namespace pb
