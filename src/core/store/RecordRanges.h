#pragma once
// The ranges within which the registration forms and the entry window write the
// figures a month is paid by. A stored record outside them was damaged or
// written by another program: paying by it could give any figure, so a month
// that needs it is refused (core/month) and the folder check lists it.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/RecordFields.h"
#include "core/model/PayScheme.h"
#include "core/model/Records.h"

namespace pb {

// The highest rate in yen per hour the wage forms take.
inline constexpr std::int32_t kMaxHourlyRate = 32000;
// A band boundary is a five-minute step of the day; 288 is 24:00.
inline constexpr std::int32_t kMaxBandBoundary = 288;
// Closing days 29 … 31 come from the previous generation's files and close on
// the month's last day when the month is shorter.
inline constexpr std::int32_t kMaxClosingDay = 31;

// The fields of the wage record of pay scheme `scheme` ("DailyWages.dat",
// "TimeWages.dat") stored at `offset` of `buf` that are out of range, each as
// the operator reads it ("勤務体系 23", "時給 40000", "時刻の値"); empty when every
// field the calculation uses is in range. Times are checked as stored: a value
// that is no number reads as midnight once decoded.
std::vector<std::string> WageFieldsOutOfRange(PayScheme scheme, const Bytes& buf,
                                              std::size_t offset = 0);

// The order of an hourly record's band boundaries: each band the pattern uses
// (`bandCount`, 1 … 3, see BandCount) ends after the one before, as the hourly
// form writes them. "区分時間の順序 hh:mm, hh:mm, …" when they do not rise,
// else empty. Out of order, a band the pattern names stays empty and its
// minutes are paid at another band's rate: the hourly form refuses such ends
// and the folder check lists a record that has them. A month is still opened
// by it (the calculation classifies every minute once), as it always was.
std::vector<std::string> BandOrderOutOfRange(const TimeWagesRecord& record, int bandCount);

// The same for a month record: its pay scheme, wage generation, month and day
// count. Cell texts are not checked here: the calculation reads one that is no
// time as an empty cell (the folder check lists them, see below).
std::vector<std::string> MonthFieldsOutOfRange(const MonthRecord& record);
std::vector<std::string> MonthFieldsOutOfRange(std::int32_t payScheme, std::int32_t wagesGeneration,
                                               std::int32_t month, std::int32_t dayCount);

// The cells of a stored month: a typed column holds what the entry grid takes
// (empty, the blank mask or a time 00:00 … 23:59), a computed column a day's
// figure as the calculation writes it, "hh:mm" up to 99:59 (a clock-in later
// than the regular start counts from the previous evening, so a day reaches
// 24 hours and more).
inline constexpr int kMaxDayFigureHours = 99;
bool IsStoredTimeOfDay(std::string_view cell);
bool IsStoredDayFigure(std::string_view cell);

// "勤務体系 23、時給 40000".
std::string JoinFields(const std::vector<std::string>& fields);

}  // namespace pb
