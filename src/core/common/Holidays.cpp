#include "core/common/Holidays.h"

#include <algorithm>
#include <chrono>

namespace pb {
namespace {

using std::chrono::sys_days;
using std::chrono::year_month_day;

// A day the law names, for the years its rule was in force. `nthMonday` 0 is a
// fixed date; 2 or 3 is that Monday of the month (the 2000 and 2003 changes).
struct Rule {
    std::int32_t from;
    std::int32_t to;
    std::int32_t month;
    std::int32_t day;
    std::int32_t nthMonday;
    std::string_view name;
};

constexpr Rule kRules[] = {
    {1949, 9999, 1, 1, 0, "元日"},
    {1949, 1999, 1, 15, 0, "成人の日"},
    {2000, 9999, 1, 0, 2, "成人の日"},
    {1967, 9999, 2, 11, 0, "建国記念の日"},
    {2020, 9999, 2, 23, 0, "天皇誕生日"},
    {1949, 1988, 4, 29, 0, "天皇誕生日"},
    {1989, 2006, 4, 29, 0, "みどりの日"},
    {2007, 9999, 4, 29, 0, "昭和の日"},
    {1949, 9999, 5, 3, 0, "憲法記念日"},
    {2007, 9999, 5, 4, 0, "みどりの日"},
    {1949, 9999, 5, 5, 0, "こどもの日"},
    {1996, 2002, 7, 20, 0, "海の日"},
    // 2020 and 2021 moved these three for the games: see kSpecialDays.
    {2003, 2019, 7, 0, 3, "海の日"},
    {2022, 9999, 7, 0, 3, "海の日"},
    {2016, 2019, 8, 11, 0, "山の日"},
    {2022, 9999, 8, 11, 0, "山の日"},
    {1966, 2002, 9, 15, 0, "敬老の日"},
    {2003, 9999, 9, 0, 3, "敬老の日"},
    {1966, 1999, 10, 10, 0, "体育の日"},
    {2000, 2019, 10, 0, 2, "体育の日"},
    {2022, 9999, 10, 0, 2, "スポーツの日"},
    {1948, 9999, 11, 3, 0, "文化の日"},
    {1948, 9999, 11, 23, 0, "勤労感謝の日"},
    {1989, 2018, 12, 23, 0, "天皇誕生日"},
};

// Days set by laws of their own; each counts as a national holiday for the
// substitute and citizens' holiday rules.
struct SpecialDay {
    std::int32_t year;
    std::int32_t month;
    std::int32_t day;
    std::string_view name;
};

constexpr SpecialDay kSpecialDays[] = {
    {1959, 4, 10, "結婚の儀"}, {1989, 2, 24, "大喪の礼"},      {1990, 11, 12, "即位礼正殿の儀"},
    {1993, 6, 9, "結婚の儀"},  {2019, 5, 1, "天皇の即位の日"}, {2019, 10, 22, "即位礼正殿の儀"},
    {2020, 7, 23, "海の日"},   {2020, 7, 24, "スポーツの日"},  {2020, 8, 10, "山の日"},
    {2021, 7, 22, "海の日"},   {2021, 7, 23, "スポーツの日"},  {2021, 8, 8, "山の日"},
};

constexpr std::string_view kSubstitute = "振替休日";
constexpr std::string_view kCitizens = "国民の休日";

sys_days Date(std::int32_t year, std::int32_t month, std::int32_t day) {
    return sys_days{std::chrono::year{year} / static_cast<unsigned>(month) /
                    static_cast<unsigned>(day)};
}

sys_days NthMonday(std::int32_t year, std::int32_t month, std::int32_t n) {
    return sys_days{std::chrono::year{year} / static_cast<unsigned>(month) /
                    std::chrono::weekday_indexed{std::chrono::Monday, static_cast<unsigned>(n)}};
}

bool IsSunday(sys_days date) {
    return std::chrono::weekday{date} == std::chrono::Sunday;
}

struct Dated {
    sys_days date;
    std::string_view name;
};

// The equinox formula with its constants scaled by a million, so that whole
// numbers decide the day exactly. Division truncates toward zero, as the
// formula's int() does for the years before 1983.
std::int32_t EquinoxDay(std::int32_t year, std::int64_t before1980, std::int64_t since1980) {
    const std::int64_t y = year;
    const std::int64_t scaled = year < 1980
                                    ? before1980 + 242194 * (y - 1980) - 1000000 * ((y - 1983) / 4)
                                    : since1980 + 242194 * (y - 1980) - 1000000 * ((y - 1980) / 4);
    return static_cast<std::int32_t>(scaled / 1000000);
}

// The days the holiday law itself names in `year` (no substitute or citizens'
// holidays), in date order.
std::vector<Dated> LawHolidays(std::int32_t year) {
    std::vector<Dated> days;
    for (const Rule& rule : kRules) {
        if (year >= rule.from && year <= rule.to) {
            days.push_back({rule.nthMonday ? NthMonday(year, rule.month, rule.nthMonday)
                                           : Date(year, rule.month, rule.day),
                            rule.name});
        }
    }
    if (year >= 1949) {
        days.push_back({Date(year, 3, VernalEquinoxDay(year)), "春分の日"});
    }
    days.push_back({Date(year, 9, AutumnalEquinoxDay(year)), "秋分の日"});
    for (const SpecialDay& special : kSpecialDays) {
        if (special.year == year) {
            days.push_back({Date(year, special.month, special.day), special.name});
        }
    }
    std::sort(days.begin(), days.end(),
              [](const Dated& a, const Dated& b) { return a.date < b.date; });
    return days;
}

}  // namespace

std::int32_t VernalEquinoxDay(std::int32_t year) {
    return EquinoxDay(year, 20835700, 20843100);
}

std::int32_t AutumnalEquinoxDay(std::int32_t year) {
    return EquinoxDay(year, 23258800, 23248800);
}

std::vector<NationalHoliday> NationalHolidays(std::int32_t year) {
    if (year < kFirstHolidayYear || year > kLastHolidayYear) {
        return {};
    }
    const std::vector<Dated> law = LawHolidays(year);
    const auto isLawHoliday = [&law](sys_days date) {
        return std::any_of(law.begin(), law.end(),
                           [date](const Dated& d) { return d.date == date; });
    };
    std::vector<Dated> days = law;

    // A holiday on a Sunday gives the next day off from 12 April 1973; from
    // 2007 the first following day that is no holiday itself.
    const sys_days substitutesFrom = Date(1973, 4, 12);
    std::vector<sys_days> substitutes;
    for (const Dated& holiday : law) {
        if (holiday.date < substitutesFrom || !IsSunday(holiday.date)) {
            continue;
        }
        sys_days next = holiday.date + std::chrono::days{1};
        if (year >= 2007) {
            while (isLawHoliday(next)) {
                next += std::chrono::days{1};
            }
        }
        if (!isLawHoliday(next)) {
            substitutes.push_back(next);
            days.push_back({next, kSubstitute});
        }
    }

    // A day between two holidays is one too, from 27 December 1985; until
    // 2006 not when it is a Sunday or already a substitute holiday.
    if (year >= 1986) {
        for (std::size_t i = 0; i + 1 < law.size(); ++i) {
            const sys_days between = law[i].date + std::chrono::days{1};
            if (law[i + 1].date != between + std::chrono::days{1}) {
                continue;
            }
            const bool substitute =
                std::find(substitutes.begin(), substitutes.end(), between) != substitutes.end();
            if (!substitute && (year >= 2007 || !IsSunday(between))) {
                days.push_back({between, kCitizens});
            }
        }
    }

    std::sort(days.begin(), days.end(),
              [](const Dated& a, const Dated& b) { return a.date < b.date; });
    std::vector<NationalHoliday> out;
    out.reserve(days.size());
    for (const Dated& d : days) {
        const year_month_day ymd{d.date};
        out.push_back({static_cast<std::int32_t>(static_cast<unsigned>(ymd.month())),
                       static_cast<std::int32_t>(static_cast<unsigned>(ymd.day())), d.name});
    }
    return out;
}

std::string_view NationalHolidayName(std::int32_t year, std::int32_t month, std::int32_t day) {
    for (const NationalHoliday& holiday : NationalHolidays(year)) {
        if (holiday.month == month && holiday.day == day) {
            return holiday.name;
        }
    }
    return {};
}

}  // namespace pb
