#include "core/timecard/WorkPattern.h"

#include <algorithm>
#include <initializer_list>

#include "core/common/Routines.h"

namespace pb {
namespace {

bool In(std::int32_t value, std::initializer_list<std::int32_t> set) {
    return std::find(set.begin(), set.end(), value) != set.end();
}

}  // namespace

bool IsColumnUnused(std::int32_t workType, int column) {
    switch (column) {
        case 1:
            return In(workType, {0, 3});
        case 2:
            return In(workType, {1, 4, 8, 10, 12, 14, 16, 18});
        case 3:
            return In(workType, {0, 1, 2, 3, 5, 8, 10, 12, 14, 16, 18});
        case 4:
            return In(workType, {0, 3});
        case 5:
            return In(workType, {1, 4, 8, 9, 14, 15});
        case 6:
            return In(workType, {0, 1, 2, 4, 6, 8, 9, 14, 15});
        case 7:
            return In(workType, {8, 9, 10, 11, 14, 15, 16, 17});
        default:
            return false;
    }
}

bool IsHourlyPattern(std::int32_t workType) {
    return workType >= 8;
}

bool IsPatternOfScheme(PayScheme payScheme, std::int32_t workType) {
    return payScheme == PayScheme::Hourly ? workType >= 8 && workType <= 19
                                          : workType >= 0 && workType <= 7;
}

bool MeasuresEarlyStart(std::int32_t workType) {
    return In(workType, {1, 2, 4, 5, 6, 7});
}
bool MeasuresEarlyMorning(std::int32_t workType) {
    return In(workType, {4, 6, 7});
}
bool MeasuresOvertime(std::int32_t workType) {
    return In(workType, {0, 2, 3, 5, 6, 7});
}
bool MeasuresLateNight(std::int32_t workType) {
    return In(workType, {3, 5, 7});
}

bool TakesClockIn(std::int32_t workType) {
    return !In(workType, {0, 3});
}
bool TakesClockOut(std::int32_t workType) {
    return !In(workType, {1, 4});
}

bool IsCompleteDailyDay(std::int32_t workType, bool clockIn, bool clockOut) {
    return (clockIn || !TakesClockIn(workType)) && (clockOut || !TakesClockOut(workType));
}

int EnterKeyTable(std::int32_t workType) {
    if (IsHourlyPattern(workType)) {
        return HasBreak(workType) ? 2 : 3;
    }
    return TakesClockIn(workType) && TakesClockOut(workType) ? 0 : 1;
}

int BandCount(std::int32_t workType) {
    if (In(workType, {8, 9, 14, 15})) {
        return 1;
    }
    if (In(workType, {10, 11, 16, 17})) {
        return 2;
    }
    return In(workType, {12, 13, 18, 19}) ? 3 : 0;
}

bool HasBreak(std::int32_t workType) {
    return IsHourlyPattern(workType) && workType % 2 == 1;
}

bool PaysOneRate(std::int32_t workType) {
    return In(workType, {8, 9});
}

bool HasWeekdayRates(std::int32_t workType) {
    return workType >= 14 && workType <= 19;
}

std::int32_t DailyWorkType(bool earlyStart, bool overtime, bool earlyMorning, bool lateNight) {
    if (!earlyStart) {
        return lateNight ? 3 : 0;
    }
    if (!overtime) {
        return earlyMorning ? 4 : 1;
    }
    return earlyMorning ? (lateNight ? 7 : 6) : (lateNight ? 5 : 2);
}

std::int32_t HourlyWorkType(int bandCount, bool weekdayRates, bool withBreak) {
    return 8 + (weekdayRates ? 6 : 0) + 2 * (std::clamp(bandCount, 1, 3) - 1) + (withBreak ? 1 : 0);
}

std::vector<std::string> ColumnCaptions(PayScheme payScheme, std::int32_t workType) {
    std::vector<std::string> captions{PadNumber(workType, 2)};
    if (payScheme == PayScheme::Hourly) {
        captions.insert(captions.end(), {"出社時間", "休憩開始", "休憩終了", "退社時間", "区 分 １",
                                         "区 分 ２", "区 分 ３", "合　　計"});
    } else {
        captions.insert(captions.end(), {"出社時間", "退社時間", "早朝残業", "早出残業", "普通残業",
                                         "深夜残業", "合　　計"});
    }
    return captions;
}

}  // namespace pb
