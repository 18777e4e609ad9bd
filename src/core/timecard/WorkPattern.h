#pragma once
// What a work pattern (勤務体系, `WorkType`) measures and which grid columns it
// uses. Daily-wage patterns are 0 … 7, hourly-wage patterns 8 … 19; the two
// ranges do not overlap, so one table answers for both pay schemes.

#include <cstdint>
#include <string>
#include <vector>

#include "core/model/PayScheme.h"

namespace pb {

// Grid columns of a daily-wage month (column 0 is the day label).
enum DailyColumn : int {
    kClockInColumn = 1,
    kClockOutColumn = 2,
    kEarlyMorningColumn = 3,  // 早朝残業
    kEarlyStartColumn = 4,    // 早出残業
    kOvertimeColumn = 5,      // 普通残業
    kLateNightColumn = 6,     // 深夜残業
    kDailyTotalColumn = 7,    // 合計
};

// Grid columns of an hourly-wage month.
enum HourlyColumn : int {
    kHourlyClockInColumn = 1,
    kBreakStartColumn = 2,
    kBreakEndColumn = 3,
    kHourlyClockOutColumn = 4,
    kBand1Column = 5,  // band d is shown in column 4 + d
    kHourlyTotalColumn = 8,
};

constexpr int kDailyColumnCount = 8;   // columns 0 … 7 of the entry grid
constexpr int kHourlyColumnCount = 9;  // columns 0 … 8

// True when `column` (1 … 8) plays no part for `workType`: the entry window
// greys it out and refuses to enter it, and the calculation leaves it empty.
bool IsColumnUnused(std::int32_t workType, int column);

// Hourly-wage patterns are 8 … 19, daily-wage ones 0 … 7; a pattern from 8 up
// is read as hourly, any other as daily.
bool IsHourlyPattern(std::int32_t workType);
// True when `workType` is a pattern of `payScheme`.
bool IsPatternOfScheme(PayScheme payScheme, std::int32_t workType);

bool MeasuresEarlyStart(std::int32_t workType);    // 早出: 1, 2, 4, 5, 6, 7
bool MeasuresEarlyMorning(std::int32_t workType);  // 早朝: 4, 6, 7
bool MeasuresOvertime(std::int32_t workType);      // 普通: 0, 2, 3, 5, 6, 7
bool MeasuresLateNight(std::int32_t workType);     // 深夜: 3, 5, 7

// Which clock columns a daily pattern types into: patterns 0 and 3 measure no
// early start and take only the clock-out, 1 and 4 measure no overtime and take
// only the clock-in; the others take both. Hourly patterns take both.
bool TakesClockIn(std::int32_t workType);
bool TakesClockOut(std::int32_t workType);
// A daily-wage day counts when every clock column its pattern takes is filled.
bool IsCompleteDailyDay(std::int32_t workType, bool clockIn, bool clockOut);

// The Enter-key table ("NextCell.dat" pattern) of a work pattern: 1 one clock
// column, 0 clock-in and clock-out, 2 hourly with break, 3 hourly without.
int EnterKeyTable(std::int32_t workType);

// Number of time bands of an hourly pattern: 1, 2 or 3; 0 for any other pattern.
int BandCount(std::int32_t workType);
// Odd hourly patterns have a break.
bool HasBreak(std::int32_t workType);
// Patterns 8 and 9 pay every band at the one rate `TimePay`.
bool PaysOneRate(std::int32_t workType);
// Patterns 14 … 19 pay each band at the rate of the day's weekday; the others
// at the band's first (Sunday) slot.
bool HasWeekdayRates(std::int32_t workType);

// The pattern of the registration forms' choices: which overtime classes a
// daily wage measures (early morning and late night only beside early start
// and ordinary overtime), and how an hourly wage is divided.
std::int32_t DailyWorkType(bool earlyStart, bool overtime, bool earlyMorning, bool lateNight);
std::int32_t HourlyWorkType(int bandCount, bool weekdayRates, bool withBreak);

// The entry grid's row 0: index 0 is the work pattern as two digits ("07"),
// then the caption of each column, 8 entries for the daily wage, 9 for the hourly.
std::vector<std::string> ColumnCaptions(PayScheme payScheme, std::int32_t workType);
}  // namespace pb
