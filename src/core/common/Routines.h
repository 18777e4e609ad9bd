#pragma once
// Conversions between the forms of a clock time (text "hh:mm", minutes, five-minute
// steps, date-time value), yen texts, zero padding, weekday names, rounding of
// minutes and pay for minutes. Everything here is pure.
//
// A time step is a five-minute index since midnight (12 an hour, 288 = 24:00). A
// date-time value is a count of days since 1899-12-30 whose fraction is the time of
// day. "div" and "mod" truncate toward zero, as C++ does.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace pb {

// A text that is not an integer, or a time that cannot be encoded.
class ConversionError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// base to the power exponent, through exp(exponent × ln(base)) rounded to the
// nearest integer. Throws ConversionError when the result leaves 32 bits.
std::int32_t PowerInt(std::int32_t base, std::int32_t exponent);

// "¥" followed by the digits grouped by three with ",": 32000 gives "¥32,000".
std::string FormatYen(std::int32_t value);
// The number made of the decimal digits in `text`, everything else skipped; 0 when
// there are none or too many for 32 bits ("¥32,000" and "\32,000" give 32000).
// Never raises.
std::int32_t ParseYen(std::string_view text);

// `value` in decimal, zero-padded on the left to `width` digits (width capped at 9);
// longer values are not cut.
std::string PadNumber(std::int32_t value, std::int32_t width);

// 1 "日曜日" … 7 "土曜日", -1 "無し"; any other number gives "".
std::string WeekdayText(std::int32_t weekday);
// "設定" or "未設定".
std::string SetStateText(bool set);

std::string TimeToText(double time);
std::int32_t TimeToSteps(double time);
std::int32_t TimeToMinutes(double time);

// Hours from characters 1–2, minutes from 4–5.
std::int32_t TextToSteps(std::string_view text);
// Hours from characters 1–2, minutes from 4–5; throws ConversionError for hours
// above 23 or minutes above 59.
double TextToTime(std::string_view text);
// Hours before the first colon, minutes after it; "" is 0. A text without a
// colon throws ConversionError.
std::int32_t TextToMinutes(std::string_view text);

// An hours part of 24 is written "00", so 288 gives "00:00".
std::string StepsToText(std::int32_t steps);
double StepsToTime(std::int32_t steps);
std::int32_t StepsToMinutes(std::int32_t steps);
// Hours may pass 99 for totals: 6000 gives "100:00".
std::string MinutesToText(std::int32_t minutes);

// Optional sign and decimal digits, within 32 bits.
bool IsIntegerText(std::string_view text);
// Hours 0–23, ":", minutes 0–59, optionally ":" and seconds 0–59, each of one or
// two digits; blanks around the whole allowed.
bool IsTimeText(std::string_view text);

// Rounds within the hour to `unit` minutes. mode 0: to nearest (half rounds up),
// 1: up, 2: down, anything else: unchanged.
std::int32_t RoundMinutes(std::int32_t minutes, std::int32_t mode, std::int32_t unit);
// Whole hours at `rate`; the rest of the hour per whole unit at the unit rate,
// itself truncated to whole yen.
std::int32_t WageForMinutes(std::int32_t minutes, std::int32_t rate, std::int32_t unit);

// "1001" gives 9; the first character is the most significant.
std::int32_t BinaryTextToInt(std::string_view text);

// "/dir/2024_fv2.pbk" gives "2024_fv2": the folder and a four-character extension
// dropped.
std::string BaseFileName(std::string_view path);

}  // namespace pb
