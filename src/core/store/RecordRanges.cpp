#include "core/store/RecordRanges.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/common/Routines.h"
#include "core/store/Records.h"

namespace pb {
namespace {

// Weekday numbers 1 (Sunday) … 7, or -1 for none.
bool IsWeekdayOrNone(std::int32_t weekday) {
    return weekday == -1 || (weekday >= 1 && weekday <= 7);
}

// A time of day is the fraction of a day; -1.0 stands for "none" (the half
// working day's finish), so the range is a day either side of midnight.
bool IsTimeOfDay(double value) {
    return std::isfinite(value) && value > -1.0 - 1e-9 && value < 1.0 + 1e-9;
}

// The fields out of range, each phrase once: 21 rates of 2^31-1 are one finding.
class Fields {
  public:
    void Range(const char* caption, std::int32_t value, std::int32_t low, std::int32_t high) {
        if (value < low || value > high)
            Add(std::string(caption) + " " + std::to_string(value));
    }
    void Weekday(std::int32_t value) {
        if (!IsWeekdayOrNone(value))
            Add("曜日 " + std::to_string(value));
    }
    void Rate(std::int32_t value) { Range("時給", value, 0, kMaxHourlyRate); }
    void Add(std::string phrase) {
        if (std::find(wrong_.begin(), wrong_.end(), phrase) == wrong_.end())
            wrong_.push_back(std::move(phrase));
    }
    std::vector<std::string> Take() { return std::move(wrong_); }

  private:
    std::vector<std::string> wrong_;
};

// Empty, the blank mask, or "hh:mm" with hh up to `maxHours` and mm up to 59.
bool IsClockUpTo(std::string_view cell, int maxHours) {
    if (cell.empty() || cell == "  :  ")
        return true;
    const auto digit = [&](std::size_t i) { return cell[i] >= '0' && cell[i] <= '9'; };
    return cell.size() == 5 && digit(0) && digit(1) && cell[2] == ':' && digit(3) && digit(4) &&
           (cell[0] - '0') * 10 + (cell[1] - '0') <= maxHours && cell[3] <= '5';
}

// The five times of a daily-wage record, at 80, 88, … 112.
constexpr std::size_t kFirstDailyTime = 80;
constexpr std::size_t kDailyTimes = 5;

}  // namespace

std::vector<std::string> WageFieldsOutOfRange(PayScheme scheme, const Bytes& buf,
                                              std::size_t offset) {
    Fields fields;
    if (scheme == PayScheme::Daily) {
        const DailyWagesRecord r = DailyWagesRecordFromBytes(buf, offset);
        fields.Range("勤務体系", r.WorkType, 0, 7);
        fields.Range("締日", r.ClosingDay, 0, kMaxClosingDay);
        for (const std::int32_t weekday : {r.HalfHoliday, r.Holiday1, r.Holiday2, r.Holiday3})
            fields.Weekday(weekday);
        for (const std::int32_t rate :
             {r.WeekdayMorningPay, r.WeekdayOverPay, r.WeekdayEarMornPay, r.WeekdayNightPay,
              r.HolidayMorningPay, r.HolidayOverPay, r.HolidayEarMornPay, r.HolidayNightPay})
            fields.Rate(rate);
        for (std::size_t i = 0; i < kDailyTimes; ++i) {
            if (!IsTimeOfDay(GetDouble(buf, offset + kFirstDailyTime + 8 * i)))
                fields.Add("時刻の値");
        }
        return fields.Take();
    }
    const TimeWagesRecord r = TimeWagesRecordFromBytes(buf, offset);
    fields.Range("勤務体系", r.WorkType, 8, 19);
    fields.Range("締日", r.ClosingDay, 0, kMaxClosingDay);
    fields.Rate(r.TimePay);
    for (const TimeWagesRecord::WeekPays* band : {&r.Band1Pays, &r.Band2Pays, &r.Band3Pays}) {
        for (const std::int32_t rate : *band)
            fields.Rate(rate);
    }
    for (const std::int32_t boundary :
         {r.ChargeDivideTime1, r.ChargeDivideTime2, r.ChargeDivideTime3})
        fields.Range("区分時間", boundary, 0, kMaxBandBoundary);
    return fields.Take();
}

std::vector<std::string> BandOrderOutOfRange(const TimeWagesRecord& record, int bandCount) {
    const std::int32_t ends[] = {record.ChargeDivideTime1, record.ChargeDivideTime2,
                                 record.ChargeDivideTime3};
    const int used = std::clamp(bandCount, 1, 3);
    bool rising = true;
    std::string shown;
    for (int band = 0; band < used; ++band) {
        if (band > 0 && ends[band] <= ends[band - 1])
            rising = false;
        shown += (band > 0 ? ", " : " ") + StepsToText(ends[band]);
    }
    if (rising)
        return {};
    return {"区分時間の順序" + shown};
}

std::vector<std::string> MonthFieldsOutOfRange(const MonthRecord& record) {
    return MonthFieldsOutOfRange(record.PayScheme, record.WagesGeneration, record.Month,
                                 record.DayCount);
}

std::vector<std::string> MonthFieldsOutOfRange(std::int32_t payScheme, std::int32_t wagesGeneration,
                                               std::int32_t month, std::int32_t dayCount) {
    Fields fields;
    fields.Range("給与体系", payScheme, 1, 2);
    fields.Range("賃金の世代", wagesGeneration, 0, std::numeric_limits<std::int32_t>::max());
    fields.Range("月", month, 1, 12);
    fields.Range("日数", dayCount, 0, kCellRows);
    return fields.Take();
}

bool IsStoredTimeOfDay(std::string_view cell) {
    return IsClockUpTo(cell, 23);
}

bool IsStoredDayFigure(std::string_view cell) {
    return IsClockUpTo(cell, kMaxDayFigureHours);
}

std::string JoinFields(const std::vector<std::string>& fields) {
    std::string joined;
    for (const std::string& field : fields)
        joined += (joined.empty() ? "" : "、") + field;
    return joined;
}

}  // namespace pb
