#pragma once
// The dates of a pay month: which calendar days one entry grid shows, one row
// per day, with the weekday that decides holidays and hourly rates.

#include <cstdint>
#include <string>
#include <vector>

namespace pb {

// One date of a pay period. `weekday` is 1 = Sunday, 2 = Monday … 7 = Saturday.
struct PayDay {
    std::int32_t year = 0;
    std::int32_t month = 0;  // 1 … 12
    std::int32_t day = 0;    // 1 … 31
    std::int32_t weekday = 0;

    friend bool operator==(const PayDay&, const PayDay&) = default;
};

// The dates of the pay month `month` of `year`, first to last (28 … 31 of them).
// `closingDay` 1 … 28 runs from the day after the closing day of the previous
// month to the closing day of this one; 0 (end of month) gives the previous
// calendar month when `endOfMonthPayment` is 0 and this calendar month when it
// is 1. A closing day of 29 … 31 that a month lacks is taken as that month's
// last day, and one outside 0 … 31 as the end of the month, so a hand-edited
// record still yields a period of 28 … 31 days. A month outside 1 … 12 gives
// no dates.
std::vector<PayDay> MakePayPeriod(std::int32_t year, std::int32_t month, std::int32_t closingDay,
                                  std::int32_t endOfMonthPayment);

// 1 = Sunday … 7 = Saturday, Gregorian calendar.
std::int32_t WeekdayOf(std::int32_t year, std::int32_t month, std::int32_t day);
std::int32_t DaysInMonth(std::int32_t year, std::int32_t month);

// The day column's text: "mm/dd(曜)", e.g. "03/21(日)".
std::string DayLabel(const PayDay& day);
// "1999-03-21".
std::string IsoDate(const PayDay& day);

}  // namespace pb
