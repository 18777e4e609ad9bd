#include "core/store/Records.h"

#include <stdexcept>

#include "core/common/ShiftJis.h"

namespace pb {
namespace {

// Offsets shared by both wage records.
constexpr std::size_t kWageId = 0;
constexpr std::size_t kWageCurrent = 4;
constexpr std::size_t kWageGeneration = 8;
constexpr std::size_t kWageReserved12 = 12;
constexpr std::size_t kWageWorkType = 16;
constexpr std::size_t kWageClosingDay = 20;
constexpr std::size_t kWageReserved24 = 24;

constexpr std::size_t kCellsOffset = 20;
constexpr std::size_t kCellColumnStride = kCellRows * (kCellLength + 1);  // 186

std::size_t CellOffset(int column, int row) {
    return kCellsOffset + static_cast<std::size_t>(column) * kCellColumnStride +
           static_cast<std::size_t>(row) * (kCellLength + 1);
}

// Both wage records start alike; the reserved word at 24 has always been 1 in
// the files the payroll program reads, so it is written that way.
void PutWageHead(Bytes& buf, const std::string& id, std::uint8_t current, std::int32_t generation,
                 std::int32_t workType, std::int32_t closingDay) {
    PutShortString(buf, kWageId, kIdLength, id);
    PutByte(buf, kWageCurrent, current);
    PutInt32(buf, kWageGeneration, generation);
    PutInt32(buf, kWageReserved12, 0);
    PutInt32(buf, kWageWorkType, workType);
    PutInt32(buf, kWageClosingDay, closingDay);
    PutInt32(buf, kWageReserved24, 1);
}

void CheckWhole(const Bytes& buf, std::size_t offset, std::size_t size) {
    if (offset > buf.size() || size > buf.size() - offset) {
        throw std::out_of_range("record outside the buffer");
    }
}

}  // namespace

Bytes ToBytes(const NameRecord& record) {
    Bytes buf(kNameRecordSize, 0);
    PutShortString(buf, 0, kIdLength, record.ID);
    PutShortString(buf, 4, kNameLength, record.Name);
    PutInt32(buf, 28, record.Linked);
    PutInt32(buf, 32, record.WagesCode);
    return buf;
}

NameRecord NameRecordFromBytes(const Bytes& buf, std::size_t offset) {
    CheckWhole(buf, offset, kNameRecordSize);
    NameRecord r;
    r.ID = GetShortString(buf, offset, kIdLength);
    r.Name = GetShortString(buf, offset + 4, kNameLength);
    r.Linked = GetInt32(buf, offset + 28);
    r.WagesCode = GetInt32(buf, offset + 32);
    return r;
}

Bytes ToBytes(const DailyWagesRecord& r) {
    Bytes buf(kDailyWagesRecordSize, 0);
    PutWageHead(buf, r.ID, r.Current, r.Generation, r.WorkType, r.ClosingDay);
    PutInt32(buf, 28, r.HalfHoliday);
    PutByte(buf, 32, r.Holiday);
    PutInt32(buf, 36, r.Holiday1);
    PutInt32(buf, 40, r.Holiday2);
    PutInt32(buf, 44, r.Holiday3);
    PutInt32(buf, 48, r.WeekdayMorningPay);
    PutInt32(buf, 52, r.WeekdayOverPay);
    PutInt32(buf, 56, r.WeekdayEarMornPay);
    PutInt32(buf, 60, r.WeekdayNightPay);
    PutInt32(buf, 64, r.HolidayMorningPay);
    PutInt32(buf, 68, r.HolidayOverPay);
    PutInt32(buf, 72, r.HolidayEarMornPay);
    PutInt32(buf, 76, r.HolidayNightPay);
    PutDouble(buf, 80, r.TimeToStartWork);
    PutDouble(buf, 88, r.TimeToFinishWork);
    PutDouble(buf, 96, r.TimeToStartNight);
    PutDouble(buf, 104, r.TimeToFinishMorning);
    PutDouble(buf, 112, r.TimeToFinishWorkHH);
    return buf;
}

DailyWagesRecord DailyWagesRecordFromBytes(const Bytes& buf, std::size_t o) {
    CheckWhole(buf, o, kDailyWagesRecordSize);
    DailyWagesRecord r;
    r.ID = GetShortString(buf, o + kWageId, kIdLength);
    r.Current = GetByte(buf, o + kWageCurrent);
    r.Generation = GetInt32(buf, o + kWageGeneration);
    r.WorkType = GetInt32(buf, o + kWageWorkType);
    r.ClosingDay = GetInt32(buf, o + kWageClosingDay);
    r.HalfHoliday = GetInt32(buf, o + 28);
    r.Holiday = GetByte(buf, o + 32);
    r.Holiday1 = GetInt32(buf, o + 36);
    r.Holiday2 = GetInt32(buf, o + 40);
    r.Holiday3 = GetInt32(buf, o + 44);
    r.WeekdayMorningPay = GetInt32(buf, o + 48);
    r.WeekdayOverPay = GetInt32(buf, o + 52);
    r.WeekdayEarMornPay = GetInt32(buf, o + 56);
    r.WeekdayNightPay = GetInt32(buf, o + 60);
    r.HolidayMorningPay = GetInt32(buf, o + 64);
    r.HolidayOverPay = GetInt32(buf, o + 68);
    r.HolidayEarMornPay = GetInt32(buf, o + 72);
    r.HolidayNightPay = GetInt32(buf, o + 76);
    r.TimeToStartWork = GetTimeValue(buf, o + 80);
    r.TimeToFinishWork = GetTimeValue(buf, o + 88);
    r.TimeToStartNight = GetTimeValue(buf, o + 96);
    r.TimeToFinishMorning = GetTimeValue(buf, o + 104);
    r.TimeToFinishWorkHH = GetTimeValue(buf, o + 112);
    return r;
}

Bytes ToBytes(const TimeWagesRecord& r) {
    Bytes buf(kTimeWagesRecordSize, 0);
    PutWageHead(buf, r.ID, r.Current, r.Generation, r.WorkType, r.ClosingDay);
    PutInt32(buf, 28, r.TimePay);
    const TimeWagesRecord::WeekPays* bands[] = {&r.Band1Pays, &r.Band2Pays, &r.Band3Pays};
    for (std::size_t b = 0; b < 3; ++b) {
        for (std::size_t w = 0; w < 7; ++w)
            PutInt32(buf, 32 + 28 * b + 4 * w, (*bands[b])[w]);
    }
    PutInt32(buf, 116, r.ChargeDivideTime1);
    PutInt32(buf, 120, r.ChargeDivideTime2);
    PutInt32(buf, 124, r.ChargeDivideTime3);
    return buf;
}

TimeWagesRecord TimeWagesRecordFromBytes(const Bytes& buf, std::size_t o) {
    CheckWhole(buf, o, kTimeWagesRecordSize);
    TimeWagesRecord r;
    r.ID = GetShortString(buf, o + kWageId, kIdLength);
    r.Current = GetByte(buf, o + kWageCurrent);
    r.Generation = GetInt32(buf, o + kWageGeneration);
    r.WorkType = GetInt32(buf, o + kWageWorkType);
    r.ClosingDay = GetInt32(buf, o + kWageClosingDay);
    r.TimePay = GetInt32(buf, o + 28);
    TimeWagesRecord::WeekPays* bands[] = {&r.Band1Pays, &r.Band2Pays, &r.Band3Pays};
    for (std::size_t b = 0; b < 3; ++b) {
        for (std::size_t w = 0; w < 7; ++w)
            (*bands[b])[w] = GetInt32(buf, o + 32 + 28 * b + 4 * w);
    }
    r.ChargeDivideTime1 = GetInt32(buf, o + 116);
    r.ChargeDivideTime2 = GetInt32(buf, o + 120);
    r.ChargeDivideTime3 = GetInt32(buf, o + 124);
    return r;
}

Bytes ToBytes(const MonthRecord& r) {
    Bytes buf(kMonthRecordSize, 0);
    PutShortString(buf, 0, kIdLength, r.ID);
    PutInt32(buf, 4, r.PayScheme);
    PutInt32(buf, 8, r.WagesGeneration);
    PutUInt16(buf, 12, r.Month);
    PutInt32(buf, 16, r.DayCount);
    for (int c = 0; c < kCellColumns; ++c) {
        for (int row = 0; row < kCellRows; ++row) {
            PutShortString(buf, CellOffset(c, row), kCellLength, r.Cells[c][row]);
        }
    }
    PutInt32(buf, 1508, r.TotalOverPay);
    PutInt32(buf, 1512, r.WorkDays);
    PutInt32(buf, 1516, r.TotalOverMinutes);
    PutInt32(buf, 1520, r.HolidayPay);
    PutInt32(buf, 1524, r.HolidayWorkDays);
    PutInt32(buf, 1532, r.HolidayMinutes);
    return buf;
}

MonthRecord MonthRecordFromBytes(const Bytes& buf, std::size_t o) {
    CheckWhole(buf, o, kMonthRecordSize);
    MonthRecord r;
    r.ID = GetShortString(buf, o, kIdLength);
    r.PayScheme = GetInt32(buf, o + 4);
    r.WagesGeneration = GetInt32(buf, o + 8);
    r.Month = GetUInt16(buf, o + 12);
    r.DayCount = GetInt32(buf, o + 16);
    for (int c = 0; c < kCellColumns; ++c) {
        for (int row = 0; row < kCellRows; ++row) {
            r.Cells[c][row] = GetShortString(buf, o + CellOffset(c, row), kCellLength);
        }
    }
    r.TotalOverPay = GetInt32(buf, o + 1508);
    r.WorkDays = GetInt32(buf, o + 1512);
    r.TotalOverMinutes = GetInt32(buf, o + 1516);
    r.HolidayPay = GetInt32(buf, o + 1520);
    r.HolidayWorkDays = GetInt32(buf, o + 1524);
    r.HolidayMinutes = GetInt32(buf, o + 1532);
    return r;
}

Bytes ToBytes(const NextCellRecord& r) {
    Bytes buf(kNextCellRecordSize, 0);
    PutInt32(buf, 0, r.Pattern);
    for (std::size_t i = 0; i < r.Moves.size(); ++i)
        PutInt32(buf, 4 + 4 * i, r.Moves[i]);
    return buf;
}

NextCellRecord NextCellRecordFromBytes(const Bytes& buf, std::size_t o) {
    CheckWhole(buf, o, kNextCellRecordSize);
    NextCellRecord r;
    r.Pattern = GetInt32(buf, o);
    for (std::size_t i = 0; i < r.Moves.size(); ++i)
        r.Moves[i] = GetInt32(buf, o + 4 + 4 * i);
    return r;
}

std::string StoredId(const Bytes& buf, std::size_t offset) {
    return GetShortStringRaw(buf, offset, kIdLength);
}

std::string StoredIdOf(const std::string& utf8Id) {
    return CutSjis(EncodeSjis(utf8Id), kIdLength);
}

}  // namespace pb
