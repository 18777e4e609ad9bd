#pragma once
// The texts punchbook-export prints for one calculated month: a JSON object
// whose shape other programs rely on, or a CSV table for spreadsheets.

#include <string>

#include "core/timecard/MonthCalc.h"
#include "core/timecard/MonthLoader.h"

namespace pb {

// One JSON object, keys in their fixed order, texts UTF-8, ending in a newline.
std::string MonthJson(const OpenedMonth& month, const MonthResult& result);

// A header row and one row per day (label and cells), then the sums per class
// or band and the totals, each block under its own header row; UTF-8, CRLF.
// Minutes are "hh:mm", yen plain numbers so that spreadsheets can add them.
std::string MonthCsv(const OpenedMonth& month, const MonthResult& result);

}  // namespace pb
