#include "core/store/Settings.h"

#include <string_view>

#include "core/common/ShiftJis.h"
#include "core/store/IniFile.h"

namespace pb {
namespace {

// A key holds a number (`field`) or, where `text` is set, a text in the file's
// code page.
struct Key {
    const char* section;
    const char* name;
    std::int32_t& (*field)(Settings&);
    std::string& (*text)(Settings&) = nullptr;
};

// Field names are the key names, so one macro keeps the two from drifting apart.
#define PB_KEY(section, key)                                                        \
    Key {                                                                           \
#section, #key, [](Settings & s) -> std::int32_t& { return s.section.key; } \
    }
#define PB_TEXT_KEY(section, key)                                                           \
    Key {                                                                                   \
#section, #key, nullptr, [](Settings & s) -> std::string& { return s.section.key; } \
    }

// The order in which keys are written, and so the order of a new file.
const Key kKeys[] = {
    PB_KEY(Calc_Set, OvertimeWorkFigure),
    PB_KEY(Calc_Set, TimeAdjustFigure),
    PB_KEY(Calc_Set, FractionsHandle),
    PB_KEY(Calc_Set, EndOfMonthPayment),
    PB_KEY(FontColor, ValidColor),
    PB_KEY(FontColor, InvalidColor),
    PB_KEY(Common, ClosingDay),
    PB_KEY(DailyWages, WorkType),
    PB_KEY(DailyWages, HalfHoliday),
    PB_KEY(DailyWages, Holiday),
    PB_KEY(DailyWages, Holiday1),
    PB_KEY(DailyWages, Holiday2),
    PB_KEY(DailyWages, Holiday3),
    PB_KEY(DailyWages, TimeToStartWork),
    PB_KEY(DailyWages, TimeToFinishWork),
    PB_KEY(DailyWages, TimeToFinishMorning),
    PB_KEY(DailyWages, TimeToStartNight),
    PB_KEY(DailyWages, TimeToFinishWorkHH),
    PB_KEY(DailyWages, WeekdayOverPay),
    PB_KEY(DailyWages, WeekdayNightPay),
    PB_KEY(DailyWages, WeekdayMorningPay),
    PB_KEY(DailyWages, WeekdayEarMornPay),
    PB_KEY(DailyWages, HolidayOverPay),
    PB_KEY(DailyWages, HolidayNightPay),
    PB_KEY(DailyWages, HolidayMorningPay),
    PB_KEY(DailyWages, HolidayEarMornPay),
    PB_KEY(TimeWages, WorkType),
    PB_KEY(TimeWages, RestTime),
    PB_KEY(TimeWages, TimePay),
    PB_KEY(TimeWages, CDTime1MondayPay),
    PB_KEY(TimeWages, CDTime1TuesdayPay),
    PB_KEY(TimeWages, CDTime1WednesdayPay),
    PB_KEY(TimeWages, CDTime1ThursdayPay),
    PB_KEY(TimeWages, CDTime1FridayPay),
    PB_KEY(TimeWages, CDTime1SaturdayPay),
    PB_KEY(TimeWages, CDTime1SundayPay),
    PB_KEY(TimeWages, CDTime2MondayPay),
    PB_KEY(TimeWages, CDTime2TuesdayPay),
    PB_KEY(TimeWages, CDTime2WednesdayPay),
    PB_KEY(TimeWages, CDTime2ThursdayPay),
    PB_KEY(TimeWages, CDTime2FridayPay),
    PB_KEY(TimeWages, CDTime2SaturdayPay),
    PB_KEY(TimeWages, CDTime2SundayPay),
    PB_KEY(TimeWages, CDTime3MondayPay),
    PB_KEY(TimeWages, CDTime3TuesdayPay),
    PB_KEY(TimeWages, CDTime3WednesdayPay),
    PB_KEY(TimeWages, CDTime3ThursdayPay),
    PB_KEY(TimeWages, CDTime3FridayPay),
    PB_KEY(TimeWages, CDTime3SaturdayPay),
    PB_KEY(TimeWages, CDTime3SundayPay),
    PB_KEY(TimeWages, ChargeDivideTime1),
    PB_KEY(TimeWages, ChargeDivideTime2),
    PB_KEY(TimeWages, ChargeDivideTime3),
    PB_KEY(Backup, KeepDays),
    PB_TEXT_KEY(Print, Printer),
};

#undef PB_KEY
#undef PB_TEXT_KEY

constexpr std::int32_t kLastTimeStep = 24 * 12 - 1;  // 23:55

std::string AsText(const Bytes& bytes) {
    return std::string(bytes.begin(), bytes.end());
}
Bytes AsBytes(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

// A text value is one line of the file: what follows a line break would become
// a line of its own.
std::string FirstLine(const std::string& text) {
    return text.substr(0, text.find_first_of("\r\n"));
}

[[noreturn]] void CannotWrite(const std::string& path, int error) {
    throw FileError(path, error, path + " に書き込めません\n" + ErrorReason(error));
}

}  // namespace

std::string SettingsFilePath(const Settings& settings) {
    return settings.ProgramFolder + kSettingsFileName;
}

void ReadSettings(FileSystem& fs, Settings& settings, std::int32_t invalidColorDefault) {
    Settings defaults;
    defaults.FontColor.InvalidColor = invalidColorDefault;

    IniFile file;
    const std::string path = SettingsFilePath(settings);
    try {
        if (fs.Exists(path))
            file = IniFile::Parse(AsText(fs.ReadAll(path)));
    } catch (const FileError&) {
        // An unreadable file is treated like a missing one: every setting has a default.
    }
    for (const Key& key : kKeys) {
        const auto value = file.Value(key.section, key.name);
        if (key.text != nullptr) {
            key.text(settings) = value ? DecodeSjis(*value).text : key.text(defaults);
            continue;
        }
        const auto number = value ? ProfileInteger(*value) : std::nullopt;
        key.field(settings) = number ? *number : key.field(defaults);
    }
    // The calculation divides by the overtime unit; a unit below one minute is one.
    if (settings.Calc_Set.OvertimeWorkFigure <= 0)
        settings.Calc_Set.OvertimeWorkFigure = 1;
    if (settings.Backup.KeepDays < 0)
        settings.Backup.KeepDays = 0;
    // The default working times are five-minute steps of one day; a count outside
    // the day is no time of day, and the wage forms could not show it.
    DailyWagesSettings& times = settings.DailyWages;
    const DailyWagesSettings& fallback = defaults.DailyWages;
    for (auto field :
         {&DailyWagesSettings::TimeToStartWork, &DailyWagesSettings::TimeToFinishWork,
          &DailyWagesSettings::TimeToFinishMorning, &DailyWagesSettings::TimeToStartNight,
          &DailyWagesSettings::TimeToFinishWorkHH}) {
        if (times.*field < 0 || times.*field > kLastTimeStep)
            times.*field = fallback.*field;
    }
}

void WriteSettings(FileSystem& fs, const Settings& settings) {
    const std::string path = SettingsFilePath(settings);
    IniFile file;
    try {
        // What the file holds besides our keys is kept, so it must be read first;
        // a file that cannot be read is not written over.
        if (fs.Exists(path))
            file = IniFile::Parse(AsText(fs.ReadAll(path)));
    } catch (const FileError& e) {
        CannotWrite(path, e.error());
    }
    Settings values = settings;
    for (const Key& key : kKeys) {
        file.SetValue(key.section, key.name,
                      key.text != nullptr ? EncodeSjis(FirstLine(key.text(values)))
                                          : std::to_string(key.field(values)));
    }
    try {
        fs.Replace(path, AsBytes(file.Text()));
    } catch (const FileError& e) {
        CannotWrite(path, e.error());
    }
}

}  // namespace pb
