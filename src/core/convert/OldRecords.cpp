#include "core/convert/OldRecords.h"

#include <stdexcept>

namespace pb {
namespace {

void CheckWhole(const Bytes& buf, std::size_t offset, std::size_t size) {
    if (offset + size > buf.size())
        throw std::out_of_range("old record cut short");
}

std::size_t CellOffset(int column, int row) {
    return 6 + static_cast<std::size_t>(column) * 186 + static_cast<std::size_t>(row) * 6;
}

}  // namespace

std::string OldStoredId(const Bytes& buf, std::size_t offset) {
    return GetShortStringRaw(buf, offset, 3);
}

OldEmployeeRecord OldEmployeeRecordFromBytes(const Bytes& buf, std::size_t o) {
    CheckWhole(buf, o, kOldEmployeeRecordSize);
    OldEmployeeRecord r;
    r.ID = GetShortString(buf, o, 3);
    r.Name = GetShortString(buf, o + 4, 20);
    r.Current = GetByte(buf, o + 25);
    r.Generation = GetByte(buf, o + 26);
    r.WorkType = GetByte(buf, o + 27);
    r.ClosingDay = GetByte(buf, o + 28);
    r.HalfHoliday = static_cast<std::int8_t>(GetByte(buf, o + 29));
    r.TimePay = GetInt32(buf, o + 32);
    r.OverPay = GetInt32(buf, o + 36);
    r.NightPay = GetInt32(buf, o + 40);
    r.EarMornPay = GetInt32(buf, o + 44);
    r.TimeToStartWork = GetTimeValue(buf, o + 48);
    r.TimeToFinishWork = GetTimeValue(buf, o + 56);
    r.TimeToStartNight = GetTimeValue(buf, o + 64);
    r.TimeToFinishMorning = GetTimeValue(buf, o + 72);
    r.TimeToFinishWorkHH = GetTimeValue(buf, o + 80);
    return r;
}

OldMonthRecord OldMonthRecordFromBytes(const Bytes& buf, std::size_t o) {
    CheckWhole(buf, o, kOldMonthRecordSize);
    OldMonthRecord r;
    r.WagesGeneration = GetByte(buf, o);
    r.Year = GetUInt16(buf, o + 2);
    r.Month = GetUInt16(buf, o + 4);
    for (int c = 0; c < kOldCellColumns; ++c) {
        for (int row = 0; row < kOldCellRows; ++row)
            r.Cells[c][row] = GetShortString(buf, o + CellOffset(c, row), 5);
    }
    r.TotalOverPay = GetInt32(buf, o + 752);
    r.TotalOverTime = GetShortString(buf, o + 756, 7);
    return r;
}

}  // namespace pb
