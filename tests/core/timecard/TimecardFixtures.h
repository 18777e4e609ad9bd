#pragma once
// Wage records and periods shared by the calculation tests.

#include <cstdint>
#include <string>
#include <vector>

#include "core/common/Routines.h"
#include "core/model/Records.h"
#include "core/timecard/MonthCalc.h"

namespace pb::testing {

// Work pattern 7 with S 08:00, F 17:00, N 22:00, M 05:00, half-day finish
// 12:00 on Saturday, Sunday the weekly holiday.
inline DailyWagesRecord DailyWages(std::int32_t workType = 7) {
    DailyWagesRecord w;
    w.ID = "001";
    w.Current = 1;
    w.Generation = 1;
    w.WorkType = workType;
    w.ClosingDay = 20;
    w.HalfHoliday = 7;
    w.Holiday = 1;
    w.Holiday1 = 1;
    w.WeekdayEarMornPay = 1100;
    w.WeekdayMorningPay = 1000;
    w.WeekdayOverPay = 1000;
    w.WeekdayNightPay = 1100;
    w.HolidayEarMornPay = 1200;
    w.HolidayMorningPay = 1100;
    w.HolidayOverPay = 1100;
    w.HolidayNightPay = 1200;
    w.TimeToStartWork = TextToTime("08:00");
    w.TimeToFinishWork = TextToTime("17:00");
    w.TimeToStartNight = TextToTime("22:00");
    w.TimeToFinishMorning = TextToTime("05:00");
    w.TimeToFinishWorkHH = TextToTime("12:00");
    return w;
}

// Bands ending 08:00, 17:00 and 20:20; first-slot rates 1,200 / 1,000 / 1,100,
// Saturday rates 2,000 / 1,500 / 1,800, other weekdays 1,000 everywhere.
inline TimeWagesRecord HourlyWages(std::int32_t workType = 13) {
    TimeWagesRecord w;
    w.ID = "002";
    w.Current = 1;
    w.Generation = 1;
    w.WorkType = workType;
    w.ClosingDay = 0;
    w.TimePay = 900;
    w.Band1Pays.fill(1000);
    w.Band2Pays.fill(1000);
    w.Band3Pays.fill(1000);
    w.Band1Pays[0] = 1200;
    w.Band3Pays[0] = 1100;
    w.Band1Pays[6] = 2000;
    w.Band2Pays[6] = 1500;
    w.Band3Pays[6] = 1800;
    w.ChargeDivideTime1 = 96;
    w.ChargeDivideTime2 = 204;
    w.ChargeDivideTime3 = 244;
    return w;
}

inline CalcSetSettings Rules(std::int32_t unit, std::int32_t mode = 0, std::int32_t perMonth = 0) {
    CalcSetSettings rules;
    rules.OvertimeWorkFigure = unit;
    rules.TimeAdjustFigure = mode;
    rules.FractionsHandle = perMonth;
    return rules;
}

// 1999-03-21 is a Sunday: the day of the week `weekday` (1 = Sunday) after it.
inline PayDay DayOn(std::int32_t weekday) {
    return PayDay{1999, 3, 20 + weekday, weekday};
}

inline DayCells Typed(std::initializer_list<std::string> texts) {
    DayCells cells;
    int column = 1;
    for (const std::string& text : texts) {
        cells[column++] = text;
    }
    return cells;
}

}  // namespace pb::testing
