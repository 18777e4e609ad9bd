#pragma once
// The settings of the program: one record in memory, each section of
// "PBOOK2.INI" one member. Every window reads the fields it needs at the time it
// needs them; store/Settings.h reads and writes the file.

#include <cstdint>
#include <string>

namespace pb {

struct CalcSetSettings {
    std::int32_t OvertimeWorkFigure = 1;  // unit of overtime in minutes
    std::int32_t TimeAdjustFigure = 0;    // rounding: 0 half up, 1 up, 2 down
    std::int32_t FractionsHandle = 0;     // rounding applied 0 per day, 1 per month
    std::int32_t EndOfMonthPayment = 0;   // end-of-month closing paid 0 next, 1 same month

    bool operator==(const CalcSetSettings&) const = default;
};

struct FontColorSettings {
    std::int32_t ValidColor = 0x800000;  // 0x00BBGGRR, navy
    // The platform's grey-text colour; ReadSettings takes the real default from
    // its caller, this is only what a record holds before the first read.
    std::int32_t InvalidColor = 0x808080;

    bool operator==(const FontColorSettings&) const = default;
};

struct CommonSettings {
    std::int32_t ClosingDay = 20;  // 1..28, 0 = end of month

    bool operator==(const CommonSettings&) const = default;
};

// Defaults offered for a new daily-wage employee. Times are five-minute steps.
struct DailyWagesSettings {
    std::int32_t WorkType = 7;
    std::int32_t HalfHoliday = 7;
    std::int32_t Holiday = 1;
    std::int32_t Holiday1 = 1;
    std::int32_t Holiday2 = -1;
    std::int32_t Holiday3 = -1;
    std::int32_t TimeToStartWork = 96;
    std::int32_t TimeToFinishWork = 204;
    std::int32_t TimeToFinishMorning = 60;
    std::int32_t TimeToStartNight = 264;
    std::int32_t TimeToFinishWorkHH = 144;
    std::int32_t WeekdayOverPay = 1000;
    std::int32_t WeekdayNightPay = 1100;
    std::int32_t WeekdayMorningPay = 1000;
    std::int32_t WeekdayEarMornPay = 1100;
    std::int32_t HolidayOverPay = 1100;
    std::int32_t HolidayNightPay = 1200;
    std::int32_t HolidayMorningPay = 1100;
    std::int32_t HolidayEarMornPay = 1200;

    bool operator==(const DailyWagesSettings&) const = default;
};

// Defaults offered for a new hourly-wage employee. The seven keys of a band hold
// its rates from Sunday to Saturday in this order, whatever weekday their names
// say (stored files rely on it): CDTime1MondayPay is the Sunday rate of band 1 and
// CDTime1SundayPay its Saturday rate.
struct TimeWagesSettings {
    std::int32_t WorkType = 19;
    std::int32_t RestTime = 0;
    std::int32_t TimePay = 1000;
    std::int32_t CDTime1MondayPay = 1000;
    std::int32_t CDTime1TuesdayPay = 1000;
    std::int32_t CDTime1WednesdayPay = 1000;
    std::int32_t CDTime1ThursdayPay = 1000;
    std::int32_t CDTime1FridayPay = 1000;
    std::int32_t CDTime1SaturdayPay = 1000;
    std::int32_t CDTime1SundayPay = 2000;
    std::int32_t CDTime2MondayPay = 1000;
    std::int32_t CDTime2TuesdayPay = 1000;
    std::int32_t CDTime2WednesdayPay = 1000;
    std::int32_t CDTime2ThursdayPay = 1000;
    std::int32_t CDTime2FridayPay = 1000;
    std::int32_t CDTime2SaturdayPay = 1000;
    std::int32_t CDTime2SundayPay = 1000;
    std::int32_t CDTime3MondayPay = 1000;
    std::int32_t CDTime3TuesdayPay = 1100;
    std::int32_t CDTime3WednesdayPay = 1000;
    std::int32_t CDTime3ThursdayPay = 1000;
    std::int32_t CDTime3FridayPay = 1000;
    std::int32_t CDTime3SaturdayPay = 1000;
    std::int32_t CDTime3SundayPay = 1000;
    std::int32_t ChargeDivideTime1 = 96;
    std::int32_t ChargeDivideTime2 = 204;
    std::int32_t ChargeDivideTime3 = 244;

    bool operator==(const TimeWagesSettings&) const = default;
};

// The report's printer: the one last printed on, offered first the next time.
// A text in the file's code page; empty for the system's default printer.
struct PrintSettings {
    std::string Printer;

    bool operator==(const PrintSettings&) const = default;
};

// Daily backups of the data files ("backup/YYYY-MM-DD/" of the data folder).
struct BackupSettings {
    std::int32_t KeepDays = 14;  // the newest days kept; 0: no backups

    bool operator==(const BackupSettings&) const = default;
};

// Where the help window was last closed: its frame's top-left and the size of
// its page area. A width of 0: never closed yet, the desktop places it.
struct HelpSettings {
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Width = 0;
    std::int32_t Height = 0;

    bool operator==(const HelpSettings&) const = default;
};

// The column layout of the clock times imported from CSV: the column (1 = the
// first) holding each item, 0 for none. ID and date are needed; a time without
// a column is left as it is stored.
struct ImportSettings {
    std::int32_t IdColumn = 1;
    std::int32_t DateColumn = 2;
    std::int32_t ClockInColumn = 3;
    std::int32_t ClockOutColumn = 4;
    std::int32_t BreakStartColumn = 5;
    std::int32_t BreakEndColumn = 6;

    bool operator==(const ImportSettings&) const = default;
};

struct Settings {
    // The program's folder, ending in "/"; file names are appended to it.
    std::string ProgramFolder;
    CalcSetSettings Calc_Set;
    FontColorSettings FontColor;
    CommonSettings Common;
    DailyWagesSettings DailyWages;
    TimeWagesSettings TimeWages;
    PrintSettings Print;
    HelpSettings Help;
    BackupSettings Backup;
    ImportSettings Import;

    bool operator==(const Settings&) const = default;
};

}  // namespace pb
