#include "core/timecard/DailyDay.h"

#include "core/common/Routines.h"
#include "core/timecard/WorkPattern.h"

namespace pb {

DailyBounds MakeDailyBounds(const DailyWagesRecord& wages) {
    DailyBounds bounds;
    bounds.start = TimeToMinutes(wages.TimeToStartWork);
    bounds.finish = TimeToMinutes(wages.TimeToFinishWork);
    bounds.night = TimeToMinutes(wages.TimeToStartNight);
    bounds.morning = TimeToMinutes(wages.TimeToFinishMorning);
    bounds.halfFinish = TimeToMinutes(wages.TimeToFinishWorkHH);
    if (bounds.morning > bounds.start && bounds.morning < 1440) {
        bounds.morning -= 1440;
    }
    return bounds;
}

bool IsWeeklyHoliday(const DailyWagesRecord& wages, std::int32_t weekday) {
    return weekday == wages.Holiday1 || weekday == wages.Holiday2 || weekday == wages.Holiday3;
}

DailyDay MeasureDailyDay(const DailyBounds& b, std::int32_t workType, std::int32_t in,
                         std::int32_t out, bool halfHoliday) {
    DailyDay day;
    day.end = halfHoliday ? b.halfFinish : b.finish;
    // A late-night band that would start before the regular day ends starts
    // on the next day, for this day only: every day starts again from the
    // record, so a half holiday never depends on the day before it.
    day.nightStart = b.night < day.end ? b.night + 1440 : b.night;
    if (in > b.start) {
        in -= 1440;  // clocked in the evening before
        day.inMovedBack = true;
    }
    if (out < day.end) {
        // Before the regular start it is after midnight; otherwise leaving
        // early earns nothing and costs nothing.
        if (out <= b.start) {
            out += 1440;
            day.outMovedOn = true;
        } else {
            out = day.end;
            day.outCutToEnd = true;
        }
    }
    day.in = in;
    day.out = out;

    if (MeasuresEarlyStart(workType)) {
        if (MeasuresEarlyMorning(workType) && b.morning > in) {
            day.minutes[kEarlyMorning] = b.morning - in;
            day.minutes[kEarlyStart] = b.start - b.morning;
        } else {
            day.minutes[kEarlyStart] = b.start - in;
        }
    }
    if (MeasuresOvertime(workType)) {
        if (MeasuresLateNight(workType) && day.nightStart < out) {
            day.minutes[kOvertime] = day.nightStart - day.end;
            day.minutes[kLateNight] = out - day.nightStart;
        } else {
            day.minutes[kOvertime] = out - day.end;
        }
    }
    return day;
}

}  // namespace pb
