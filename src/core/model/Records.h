#pragma once
// The records of the employee master files, the work-data files and the cursor
// table as the program holds them in memory: plain values, texts in UTF-8. How
// they are laid out in the files is the store's business (store/Records.h).

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace pb {

constexpr std::size_t kIdLength = 3;     // string[3]
constexpr std::size_t kNameLength = 20;  // string[20]
constexpr std::size_t kCellLength = 5;   // string[5]
constexpr int kCellColumns = 8;
constexpr int kCellRows = 31;
constexpr int kNextCellMoves = 64;

// "Name.dat": one per employee.
struct NameRecord {
    std::string ID;
    std::string Name;
    std::int32_t Linked = 0;     // 1 = also kept by the sibling payroll program
    std::int32_t WagesCode = 0;  // 1000 * pay scheme + generation in force

    bool operator==(const NameRecord&) const = default;
};

// "DailyWages.dat": one per generation of a daily-wage employee's conditions.
struct DailyWagesRecord {
    std::string ID;
    std::uint8_t Current = 0;
    std::int32_t Generation = 0;
    std::int32_t WorkType = 0;
    std::int32_t ClosingDay = 0;
    std::int32_t HalfHoliday = -1;
    std::uint8_t Holiday = 0;
    std::int32_t Holiday1 = -1;
    std::int32_t Holiday2 = -1;
    std::int32_t Holiday3 = -1;
    std::int32_t WeekdayMorningPay = 0;
    std::int32_t WeekdayOverPay = 0;
    std::int32_t WeekdayEarMornPay = 0;
    std::int32_t WeekdayNightPay = 0;
    std::int32_t HolidayMorningPay = 0;
    std::int32_t HolidayOverPay = 0;
    std::int32_t HolidayEarMornPay = 0;
    std::int32_t HolidayNightPay = 0;
    double TimeToStartWork = 0.0;  // times of day, fractions of a day
    double TimeToFinishWork = 0.0;
    double TimeToStartNight = 0.0;
    double TimeToFinishMorning = 0.0;
    double TimeToFinishWorkHH = -1.0;

    bool operator==(const DailyWagesRecord&) const = default;
};

// "TimeWages.dat": one per generation of an hourly-wage employee's conditions.
struct TimeWagesRecord {
    using WeekPays = std::array<std::int32_t, 7>;  // Sunday first

    std::string ID;
    std::uint8_t Current = 0;
    std::int32_t Generation = 0;
    std::int32_t WorkType = 0;
    std::int32_t ClosingDay = 0;
    std::int32_t TimePay = 0;
    WeekPays Band1Pays{};
    WeekPays Band2Pays{};
    WeekPays Band3Pays{};
    std::int32_t ChargeDivideTime1 = 0;  // time steps
    std::int32_t ChargeDivideTime2 = 0;
    std::int32_t ChargeDivideTime3 = 0;

    bool operator==(const TimeWagesRecord&) const = default;
};

// One employee-month of a year's work-data file.
struct MonthRecord {
    using CellTexts = std::array<std::array<std::string, kCellRows>, kCellColumns>;

    std::string ID;
    std::int32_t PayScheme = 0;
    std::int32_t WagesGeneration = 0;
    std::uint16_t Month = 0;
    std::int32_t DayCount = 0;
    CellTexts Cells{};  // Cells[column - 1][row - 1]
    std::int32_t TotalOverPay = 0;
    std::int32_t WorkDays = 0;
    std::int32_t TotalOverMinutes = 0;
    std::int32_t HolidayPay = 0;
    std::int32_t HolidayWorkDays = 0;
    std::int32_t HolidayMinutes = 0;

    bool operator==(const MonthRecord&) const = default;
};

// "NextCell.dat": where the entry grid's cursor goes after a cell was entered.
struct NextCellRecord {
    std::int32_t Pattern = 0;
    std::array<std::int32_t, kNextCellMoves> Moves{};  // (column - 1) * 16 + mask

    bool operator==(const NextCellRecord&) const = default;
};

}  // namespace pb
