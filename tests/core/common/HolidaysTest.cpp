#include <gtest/gtest.h>

#include <string>

#include "core/common/Holidays.h"

namespace pb {
namespace {

std::string Dates(std::int32_t year) {
    std::string out;
    for (const NationalHoliday& h : NationalHolidays(year)) {
        out += (out.empty() ? "" : " ") + std::to_string(h.month * 100 + h.day + 10000).substr(1);
    }
    return out;
}

// Every holiday of the years where a rule started, ended, moved or met another,
// worked out by hand from the law and a calendar.
TEST(Holidays, TrickyYearsHoldExactlyTheDaysOfTheLaw) {
    const struct {
        std::int32_t year;
        const char* dates;
    } cases[] = {
        // The law starts on 20 July: only the autumn days.
        {1948, "0923 1103 1123"},
        // Wedding ceremony 04-10; 05-03 is a Sunday before substitutes existed.
        {1959, "0101 0115 0321 0410 0429 0503 0505 0924 1103 1123"},
        // 02-11 Sunday before 12 April: none; 04-29 and 09-23 Sundays: 04-30, 09-24.
        {1973, "0101 0115 0211 0321 0429 0430 0503 0505 0915 0923 0924 1010 1103 1123"},
        // Funeral 02-24; 04-29 becomes みどりの日, the birthday 12-23; 05-04 between two.
        {1989,
         "0101 0102 0115 0116 0211 0224 0321 0429 0503 0504 0505 0915 0923 1010 1103 1123 1223"},
        // Enthronement ceremony 11-12; four Sundays, four substitutes.
        {1990,
         "0101 0115 0211 0212 0321 0429 0430 0503 0504 0505 0915 0923 0924 1010 1103 1112 1123 "
         "1223 1224"},
        {1993, "0101 0115 0211 0320 0429 0503 0504 0505 0609 0915 0923 1010 1011 1103 1123 1223"},
        // Second Mondays of January and October.
        {2000, "0101 0110 0211 0320 0429 0503 0504 0505 0720 0915 0923 1009 1103 1123 1223"},
        // Third Mondays of July and September; 05-04 a Sunday: no citizens' holiday.
        {2003, "0101 0113 0211 0321 0429 0503 0505 0721 0915 0923 1013 1103 1123 1124 1223"},
        // 昭和の日, みどりの日 on 05-04.
        {2007,
         "0101 0108 0211 0212 0321 0429 0430 0503 0504 0505 0716 0917 0923 0924 1008 1103 1123 "
         "1223 1224"},
        // 05-03 Sunday: the substitute skips 05-04 and 05-05; 09-22 between two.
        {2009,
         "0101 0112 0211 0320 0429 0503 0504 0505 0506 0720 0921 0922 0923 1012 1103 1123 1223"},
        {2015,
         "0101 0112 0211 0321 0429 0503 0504 0505 0506 0720 0921 0922 0923 1012 1103 1123 1223"},
        // 山の日 begins.
        {2016,
         "0101 0111 0211 0320 0321 0429 0503 0504 0505 0718 0811 0919 0922 1010 1103 1123 1223"},
        // Enthronement: ten days from 04-27 (04-30 and 05-02 between two), 10-22; no birthday.
        {2019,
         "0101 0114 0211 0321 0429 0430 0501 0502 0503 0504 0505 0506 0715 0811 0812 0916 0923 "
         "1014 1022 1103 1104 1123"},
        // The birthday on 02-23; the games' moves; no October holiday.
        {2020,
         "0101 0113 0211 0223 0224 0320 0429 0503 0504 0505 0506 0723 0724 0810 0921 0922 1103 "
         "1123"},
        {2021,
         "0101 0111 0211 0223 0320 0429 0503 0504 0505 0722 0723 0808 0809 0920 0923 1103 1123"},
        {2026,
         "0101 0112 0211 0223 0320 0429 0503 0504 0505 0506 0720 0811 0921 0922 0923 1012 1103 "
         "1123"},
        {2032,
         "0101 0112 0211 0223 0320 0429 0503 0504 0505 0719 0811 0920 0921 0922 1011 1103 1123"},
        // Outside the years the rules are known for.
        {1947, ""},
        {2100, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Dates(c.year), c.dates) << c.year;
    }
}

TEST(Holidays, NamesFollowTheRuleInForce) {
    const struct {
        std::int32_t year, month, day;
        const char* name;
    } cases[] = {
        {1988, 4, 29, "天皇誕生日"},
        {1989, 4, 29, "みどりの日"},
        {2007, 4, 29, "昭和の日"},
        {2007, 5, 4, "みどりの日"},
        {1988, 5, 4, "国民の休日"},
        {1998, 5, 4, "振替休日"},  // 05-03 a Sunday
        {2009, 5, 6, "振替休日"},
        {2009, 9, 22, "国民の休日"},
        {1990, 11, 12, "即位礼正殿の儀"},
        {2019, 5, 1, "天皇の即位の日"},
        {2019, 4, 30, "国民の休日"},
        {2019, 10, 14, "体育の日"},
        {2020, 7, 24, "スポーツの日"},
        {2022, 10, 10, "スポーツの日"},
        {2021, 8, 9, "振替休日"},
        {1973, 4, 30, "振替休日"},
        {2024, 1, 2, ""},
        {2018, 12, 23, "天皇誕生日"},
        {2019, 12, 23, ""},
        {1966, 9, 15, "敬老の日"},
        {1967, 2, 11, "建国記念の日"},
        {1966, 2, 11, ""},
        {1995, 7, 20, ""},
        {1996, 7, 20, "海の日"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NationalHolidayName(c.year, c.month, c.day), c.name)
            << c.year << "-" << c.month << "-" << c.day;
    }
}

// The formula against the equinox days of the almanac, across its two eras.
TEST(Holidays, EquinoxDays) {
    const struct {
        std::int32_t year, vernal, autumnal;
    } cases[] = {
        {1948, 21, 23}, {1960, 20, 23}, {1976, 20, 23}, {1979, 21, 24}, {1980, 20, 23},
        {2012, 20, 22}, {2025, 20, 23}, {2044, 20, 22}, {2099, 20, 23},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(VernalEquinoxDay(c.year), c.vernal) << c.year;
        EXPECT_EQ(AutumnalEquinoxDay(c.year), c.autumnal) << c.year;
    }
}

}  // namespace
}  // namespace pb
