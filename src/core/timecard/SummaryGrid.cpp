#include "core/timecard/SummaryGrid.h"

#include "core/common/Routines.h"
#include "core/timecard/WorkPattern.h"

namespace pb {
namespace {

DayCells Captioned(const char* caption) {
    DayCells row;
    row[0] = caption;
    return row;
}

std::vector<DayCells> DailyRows(const DailyWagesRecord& wages, const MonthResult& result,
                                std::int32_t currentWeekday) {
    const bool split = wages.Holiday != 0;
    std::vector<DayCells> rows;
    DayCells times = Captioned("時間区分");
    const std::int32_t wt = wages.WorkType;
    const double classTimes[4] = {
        wages.TimeToFinishMorning, wages.TimeToStartWork,
        currentWeekday == wages.HalfHoliday ? wages.TimeToFinishWorkHH : wages.TimeToFinishWork,
        wages.TimeToStartNight};
    for (int k = 0; k < 4; ++k) {
        if (!IsColumnUnused(wt, kEarlyMorningColumn + k)) {
            times[kEarlyMorningColumn + k] = TimeToText(classTimes[k]);
        }
    }
    rows.push_back(times);

    DayCells weekdayRates = Captioned(split ? "平日時給" : "時    給");
    DayCells holidayRates = Captioned("休日時給");
    DayCells weekdayMinutes = Captioned(split ? "平日残業" : "残    業");
    DayCells holidayMinutes = Captioned("休日残業");
    DayCells weekdayYen = Captioned(split ? "平日賃金" : "賃    金");
    DayCells holidayYen = Captioned("休日賃金");
    std::int32_t sums[4] = {0, 0, 0, 0};
    for (const ClassSum& sum : result.classes) {
        weekdayRates[sum.column] = FormatYen(sum.weekdayRate);
        holidayRates[sum.column] = FormatYen(sum.holidayRate);
        weekdayMinutes[sum.column] = MinutesToText(sum.weekdayMinutes);
        holidayMinutes[sum.column] = MinutesToText(sum.holidayMinutes);
        weekdayYen[sum.column] = FormatYen(sum.weekdayYen);
        holidayYen[sum.column] = FormatYen(sum.holidayYen);
        sums[0] += sum.weekdayMinutes;
        sums[1] += sum.holidayMinutes;
        sums[2] += sum.weekdayYen;
        sums[3] += sum.holidayYen;
    }
    weekdayMinutes[kDailyTotalColumn] = MinutesToText(sums[0]);
    holidayMinutes[kDailyTotalColumn] = MinutesToText(sums[1]);
    weekdayYen[kDailyTotalColumn] = FormatYen(sums[2]);
    holidayYen[kDailyTotalColumn] = FormatYen(sums[3]);
    if (split) {
        rows.insert(rows.end(), {weekdayRates, holidayRates, weekdayMinutes, holidayMinutes,
                                 weekdayYen, holidayYen});
    } else {
        rows.insert(rows.end(), {weekdayRates, weekdayMinutes, weekdayYen});
    }
    return rows;
}

std::vector<DayCells> HourlyRows(const TimeWagesRecord& wages, const MonthResult& result,
                                 std::int32_t currentWeekday) {
    const std::int32_t wt = wages.WorkType;
    const std::int32_t bandEnds[3] = {wages.ChargeDivideTime1, wages.ChargeDivideTime2,
                                      wages.ChargeDivideTime3};
    const bool weekdayRates = HasWeekdayRates(wt) && !IsColumnUnused(wt, kBand1Column);
    DayCells times = Captioned("時間区分");
    DayCells rates = Captioned("時給金額");
    DayCells minutes = Captioned("勤務時間");
    DayCells yen = Captioned("賃　　金");
    if (wages.TimePay != 0) {
        rates[1] = FormatYen(wages.TimePay);
    }
    std::int32_t minuteSum = 0;
    std::int32_t yenSum = 0;
    for (const BandSum& sum : result.bands) {
        if (sum.shown) {
            times[sum.column] = StepsToText(bandEnds[sum.band - 1]);
            rates[sum.column] = FormatYen(BandWeekdayRate(
                wages, sum.band,
                weekdayRates && currentWeekday >= 1 && currentWeekday <= 7 ? currentWeekday : 1));
        }
        minutes[sum.column] = MinutesToText(sum.minutes);
        yen[sum.column] = FormatYen(sum.yen);
        minuteSum += sum.minutes;
        yenSum += sum.yen;
    }
    minutes[kHourlyTotalColumn] = MinutesToText(minuteSum);
    yen[kHourlyTotalColumn] = FormatYen(yenSum);
    return {times, rates, minutes, yen};
}

}  // namespace

std::vector<DayCells> SummaryRows(const MonthInput& input, const MonthResult& result,
                                  std::int32_t currentWeekday) {
    if (input.payScheme == PayScheme::Hourly) {
        return HourlyRows(input.hourly, result, currentWeekday);
    }
    return DailyRows(input.daily, result, currentWeekday);
}

}  // namespace pb
