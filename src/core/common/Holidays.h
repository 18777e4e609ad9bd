#pragma once
// Japan's national holidays, worked out from the rules of the holiday law as
// they stood in each year from its start on 20 July 1948 to 2099: the days the
// law names (fixed dates and Mondays of a week, each for the years its rule was
// in force), the equinox days by the usual approximation formula, the days set
// by special laws (ceremonies, the days moved for 2020 and 2021), substitute
// holidays (振替休日: the next day from 12 April 1973, the next day that is no
// holiday from 2007) and the citizens' holiday (国民の休日) between two holidays
// (from 27 December 1985). No data file, nothing to keep current.
//
// These are marks for the operator only: the pay rules know weekly holidays and
// nothing else.

#include <cstdint>
#include <string_view>
#include <vector>

namespace pb {

struct NationalHoliday {
    std::int32_t month = 0;  // 1 … 12
    std::int32_t day = 0;    // 1 … 31
    std::string_view name;   // "元日", "振替休日", "国民の休日", …

    friend bool operator==(const NationalHoliday&, const NationalHoliday&) = default;
};

// The first and last years the rules are known for; outside them there are none.
constexpr std::int32_t kFirstHolidayYear = 1948;
constexpr std::int32_t kLastHolidayYear = 2099;

// Every holiday of `year` in date order; empty outside 1948 … 2099.
std::vector<NationalHoliday> NationalHolidays(std::int32_t year);

// The holiday's name on that date, or "" when it is none.
std::string_view NationalHolidayName(std::int32_t year, std::int32_t month, std::int32_t day);

// The day of the vernal (春分) and autumnal (秋分) equinox in March and
// September of `year` (1900 … 2099), by the approximation formula.
std::int32_t VernalEquinoxDay(std::int32_t year);
std::int32_t AutumnalEquinoxDay(std::int32_t year);

}  // namespace pb
