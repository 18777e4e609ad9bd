#pragma once
// One complete day of a daily-wage month measured by overtime class, before any
// rounding: the step the month calculation takes for every day, kept apart so
// that the explanation of a figure follows the very same clock times.

#include <array>
#include <cstdint>

#include "core/model/Records.h"

namespace pb {

// The band times of a daily-wage record as minutes of the day, read once a month.
struct DailyBounds {
    std::int32_t start = 0;       // S, TimeToStartWork
    std::int32_t finish = 0;      // F, TimeToFinishWork
    std::int32_t night = 0;       // N, TimeToStartNight
    std::int32_t morning = 0;     // M, TimeToFinishMorning; below 0 when it lies the day before
    std::int32_t halfFinish = 0;  // H, TimeToFinishWorkHH
};

// An early-morning band that ends after the regular start belongs to the night
// before, so `morning` is then moved back a day.
DailyBounds MakeDailyBounds(const DailyWagesRecord& wages);

// True when `weekday` is one of the record's weekly holidays (`Holiday1` …
// `Holiday3`; -1 there matches nothing). The `Holiday` flag only chooses the
// summary's layout.
bool IsWeeklyHoliday(const DailyWagesRecord& wages, std::int32_t weekday);

// The overtime classes in the order of their grid columns 3 … 6.
enum DailyClass : int { kEarlyMorning = 0, kEarlyStart = 1, kOvertime = 2, kLateNight = 3 };

struct DailyDay {
    // The clock times as the rules take them, minutes from the day's midnight:
    // `in` below 0 is the evening before, `out` from 1440 on is after midnight.
    std::int32_t in = 0;
    std::int32_t out = 0;
    std::int32_t end = 0;         // E: the regular finish of the day (H on the half holiday)
    std::int32_t nightStart = 0;  // N, or N + 1440 when N lies before E
    bool inMovedBack = false;     // a clock-in after the regular start, taken as the evening before
    bool outMovedOn = false;   // a clock-out not after the regular start, taken as after midnight
    bool outCutToEnd = false;  // left before the regular finish: no overtime, no deduction
    std::array<std::int32_t, 4> minutes{};  // by DailyClass
};

// `in` and `out` are the minutes of the clock cells (0 when empty).
DailyDay MeasureDailyDay(const DailyBounds& bounds, std::int32_t workType, std::int32_t in,
                         std::int32_t out, bool halfHoliday);

}  // namespace pb
