#include "core/timecard/PayPeriod.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

namespace pb {
namespace {

PayDay MakeDay(std::int32_t year, std::int32_t month, std::int32_t day) {
    return PayDay{year, month, day, WeekdayOf(year, month, day)};
}

PayDay NextDay(const PayDay& d) {
    if (d.day < DaysInMonth(d.year, d.month)) {
        return MakeDay(d.year, d.month, d.day + 1);
    }
    if (d.month < 12) {
        return MakeDay(d.year, d.month + 1, 1);
    }
    return MakeDay(d.year + 1, 1, 1);
}

}  // namespace

std::int32_t DaysInMonth(std::int32_t year, std::int32_t month) {
    static const std::int32_t kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month == 2) {
        const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
        return leap ? 29 : 28;
    }
    return month >= 1 && month <= 12 ? kDays[month - 1] : 0;
}

std::int32_t WeekdayOf(std::int32_t year, std::int32_t month, std::int32_t day) {
    // Days from 1970-01-01 (a Thursday) by the civil-from-days inverse.
    const std::int64_t y = month <= 2 ? year - 1 : year;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t mp = (month + 9) % 12;
    const std::int64_t doy = (153 * mp + 2) / 5 + day - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    const std::int64_t days = era * 146097 + doe - 719468;
    const std::int64_t fromThursday = ((days % 7) + 7) % 7;  // 0 = Thursday
    return static_cast<std::int32_t>((fromThursday + 4) % 7 + 1);
}

std::vector<PayDay> MakePayPeriod(std::int32_t year, std::int32_t month, std::int32_t closingDay,
                                  std::int32_t endOfMonthPayment) {
    if (month < 1 || month > 12) {
        return {};
    }
    const std::int32_t prevYear = month == 1 ? year - 1 : year;
    const std::int32_t prevMonth = month == 1 ? 12 : month - 1;
    PayDay first;
    PayDay last;
    if (closingDay >= 1 && closingDay <= 31) {
        const std::int32_t prevClose = std::min(closingDay, DaysInMonth(prevYear, prevMonth));
        first = NextDay(MakeDay(prevYear, prevMonth, prevClose));
        last = MakeDay(year, month, std::min(closingDay, DaysInMonth(year, month)));
    } else if (endOfMonthPayment == 1) {
        first = MakeDay(year, month, 1);
        last = MakeDay(year, month, DaysInMonth(year, month));
    } else {
        first = MakeDay(prevYear, prevMonth, 1);
        last = MakeDay(prevYear, prevMonth, DaysInMonth(prevYear, prevMonth));
    }
    std::vector<PayDay> days;
    for (PayDay d = first;; d = NextDay(d)) {
        days.push_back(d);
        if (d == last) {
            break;
        }
    }
    return days;
}

std::string DayLabel(const PayDay& day) {
    static constexpr std::string_view kNames[7] = {"日", "月", "火", "水", "木", "金", "土"};
    const std::string_view name = kNames[((day.weekday + 6) % 7 + 7) % 7];
    std::string label(6 + name.size() + 1, ')');
    // Written through one pointer straight into the label: a buffer copied in
    // afterwards is read back before its byte stores land.
    char* text = label.data();
    text[0] = static_cast<char>('0' + day.month / 10 % 10);
    text[1] = static_cast<char>('0' + day.month % 10);
    text[2] = '/';
    text[3] = static_cast<char>('0' + day.day / 10 % 10);
    text[4] = static_cast<char>('0' + day.day % 10);
    text[5] = '(';
    name.copy(text + 6, name.size());
    return label;
}

std::string IsoDate(const PayDay& day) {
    char buf[24];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", static_cast<int>(day.year),
                  static_cast<int>(day.month), static_cast<int>(day.day));
    return buf;
}

}  // namespace pb
