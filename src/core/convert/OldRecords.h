#pragma once
// The files of the program's previous generation: "HIREDATA.DAT" with every
// employee of both pay schemes (one record per generation of its conditions) and
// one month file per employee ("001tc.dat"). They are only read, field by field.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/common/RecordFields.h"

namespace pb {

constexpr std::size_t kOldEmployeeRecordSize = 88;
constexpr std::size_t kOldMonthRecordSize = 764;
constexpr int kOldCellColumns = 4;
constexpr int kOldCellRows = 31;

struct OldEmployeeRecord {
    std::string ID;
    std::string Name;
    std::uint8_t Current = 0;
    std::uint8_t Generation = 0;
    std::uint8_t WorkType = 0;  // below 8 daily wage, 8 and above hourly wage
    std::uint8_t ClosingDay = 0;
    std::int8_t HalfHoliday = -1;
    std::int32_t TimePay = 0;
    std::int32_t OverPay = 0;
    std::int32_t NightPay = 0;
    std::int32_t EarMornPay = 0;
    double TimeToStartWork = 0.0;
    double TimeToFinishWork = 0.0;
    double TimeToStartNight = 0.0;
    double TimeToFinishMorning = 0.0;
    double TimeToFinishWorkHH = 0.0;
};

struct OldMonthRecord {
    using CellTexts = std::array<std::array<std::string, kOldCellRows>, kOldCellColumns>;

    std::uint8_t WagesGeneration = 0;
    std::uint16_t Year = 0;
    std::uint16_t Month = 0;
    CellTexts Cells;  // Cells[column - 1][row - 1]; no braces: clang 14 crashes on them here
    std::int32_t TotalOverPay = 0;
    std::string TotalOverTime;  // "hh:mm", hours may pass 99
};

// The ID as the old file holds it (Shift-JIS bytes), for comparing keys.
std::string OldStoredId(const Bytes& buf, std::size_t offset);

OldEmployeeRecord OldEmployeeRecordFromBytes(const Bytes& buf, std::size_t offset = 0);
OldMonthRecord OldMonthRecordFromBytes(const Bytes& buf, std::size_t offset = 0);

}  // namespace pb
