#include "core/store/Settings.h"

#include <limits>
#include <string_view>

#include "core/common/ShiftJis.h"
#include "core/store/IniFile.h"
#include "core/store/RecordRanges.h"

namespace pb {
namespace {

constexpr std::int32_t kLeast = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMost = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kLastTimeStep = 24 * 12 - 1;  // 23:55
constexpr std::int32_t kWhite = 0xFFFFFF;
// The farthest a window can be placed on a desktop, in pixels.
constexpr std::int32_t kScreenReach = 32767;
constexpr std::int32_t kMaxImportColumn = 99;  // columns of a CSV file a layout can name

// A key holds a number (`field`) within `low` … `high` or, where `text` is set,
// a text in the file's code page. A number outside its range is read as the
// default: it was not written by this program, and the windows and the
// calculation only know what to do with the values they offer.
struct Key {
    const char* section;
    const char* name;
    std::int32_t& (*field)(Settings&);
    std::string& (*text)(Settings&) = nullptr;
    std::int32_t low = kLeast;
    std::int32_t high = kMost;
};

Key NumberKey(const char* section, const char* name, std::int32_t& (*field)(Settings&),
              std::int32_t low, std::int32_t high) {
    return Key{section, name, field, nullptr, low, high};
}

// Field names are the key names, so one macro keeps the two from drifting apart.
#define PB_KEY(section, key, low, high) \
    NumberKey(                          \
        #section, #key, [](Settings& s) -> std::int32_t& { return s.section.key; }, low, high)
#define PB_TEXT_KEY(section, key)                                                           \
    Key {                                                                                   \
#section, #key, nullptr, [](Settings & s) -> std::string& { return s.section.key; } \
    }

// The order in which keys are written, and so the order of a new file.
const Key kKeys[] = {
    PB_KEY(Calc_Set, OvertimeWorkFigure, 1, 60),
    // Any number is a rule: a rounding mode the calculation does not know leaves
    // the minutes as they are, and the dialog shows such a value with no choice.
    PB_KEY(Calc_Set, TimeAdjustFigure, kLeast, kMost),
    PB_KEY(Calc_Set, FractionsHandle, kLeast, kMost),
    PB_KEY(Calc_Set, EndOfMonthPayment, kLeast, kMost),
    PB_KEY(FontColor, ValidColor, 0, kWhite),
    PB_KEY(FontColor, InvalidColor, 0, kWhite),
    PB_KEY(Common, ClosingDay, 0, 28),
    PB_KEY(DailyWages, WorkType, 0, 7),
    PB_KEY(DailyWages, HalfHoliday, -1, 7),
    PB_KEY(DailyWages, Holiday, 0, 1),
    PB_KEY(DailyWages, Holiday1, -1, 7),
    PB_KEY(DailyWages, Holiday2, -1, 7),
    PB_KEY(DailyWages, Holiday3, -1, 7),
    PB_KEY(DailyWages, TimeToStartWork, 0, kLastTimeStep),
    PB_KEY(DailyWages, TimeToFinishWork, 0, kLastTimeStep),
    PB_KEY(DailyWages, TimeToFinishMorning, 0, kLastTimeStep),
    PB_KEY(DailyWages, TimeToStartNight, 0, kLastTimeStep),
    PB_KEY(DailyWages, TimeToFinishWorkHH, 0, kLastTimeStep),
    PB_KEY(DailyWages, WeekdayOverPay, 0, kMaxHourlyRate),
    PB_KEY(DailyWages, WeekdayNightPay, 0, kMaxHourlyRate),
    PB_KEY(DailyWages, WeekdayMorningPay, 0, kMaxHourlyRate),
    PB_KEY(DailyWages, WeekdayEarMornPay, 0, kMaxHourlyRate),
    PB_KEY(DailyWages, HolidayOverPay, 0, kMaxHourlyRate),
    PB_KEY(DailyWages, HolidayNightPay, 0, kMaxHourlyRate),
    PB_KEY(DailyWages, HolidayMorningPay, 0, kMaxHourlyRate),
    PB_KEY(DailyWages, HolidayEarMornPay, 0, kMaxHourlyRate),
    PB_KEY(TimeWages, WorkType, 8, 19),
    PB_KEY(TimeWages, RestTime, kLeast, kMost),  // kept for the file, used by nothing
    PB_KEY(TimeWages, TimePay, 0, kMaxHourlyRate),
    PB_KEY(TimeWages, CDTime1MondayPay, 0, kMaxHourlyRate),
    PB_KEY(TimeWages, CDTime1TuesdayPay, 0, kMaxHourlyRate),
    PB_KEY(TimeWages, CDTime1WednesdayPay, 0, kMaxHourlyRate),
    PB_KEY(TimeWages, CDTime1ThursdayPay, 0, kMaxHourlyRate),
    PB_KEY(TimeWages, CDTime1FridayPay, 0, kMaxHourlyRate),
    PB_KEY(TimeWages, CDTime1SaturdayPay, 0, kMaxHourlyRate),
    PB_KEY(TimeWages, CDTime1SundayPay, 0, kMaxHourlyRate),
    PB_KEY(TimeWages, CDTime2MondayPay, 0, kMaxHourlyRate),
    PB_KEY(TimeWages, CDTime2TuesdayPay, 0, kMaxHourlyRate),
    PB_KEY(TimeWages, CDTime2WednesdayPay, 0, kMaxHourlyRate),
    PB_KEY(TimeWages, CDTime2ThursdayPay, 0, kMaxHourlyRate),
    PB_KEY(TimeWages, CDTime2FridayPay, 0, kMaxHourlyRate),
    PB_KEY(TimeWages, CDTime2SaturdayPay, 0, kMaxHourlyRate),
    PB_KEY(TimeWages, CDTime2SundayPay, 0, kMaxHourlyRate),
    PB_KEY(TimeWages, CDTime3MondayPay, 0, kMaxHourlyRate),
    PB_KEY(TimeWages, CDTime3TuesdayPay, 0, kMaxHourlyRate),
    PB_KEY(TimeWages, CDTime3WednesdayPay, 0, kMaxHourlyRate),
    PB_KEY(TimeWages, CDTime3ThursdayPay, 0, kMaxHourlyRate),
    PB_KEY(TimeWages, CDTime3FridayPay, 0, kMaxHourlyRate),
    PB_KEY(TimeWages, CDTime3SaturdayPay, 0, kMaxHourlyRate),
    PB_KEY(TimeWages, CDTime3SundayPay, 0, kMaxHourlyRate),
    PB_KEY(TimeWages, ChargeDivideTime1, 0, kLastTimeStep),
    PB_KEY(TimeWages, ChargeDivideTime2, 0, kLastTimeStep),
    PB_KEY(TimeWages, ChargeDivideTime3, 0, kLastTimeStep),
    PB_KEY(Help, Left, -kScreenReach, kScreenReach),
    PB_KEY(Help, Top, -kScreenReach, kScreenReach),
    PB_KEY(Help, Width, 0, kScreenReach),
    PB_KEY(Help, Height, 0, kScreenReach),
    PB_KEY(Backup, KeepDays, 0, kMost),
    PB_KEY(Import, IdColumn, 1, kMaxImportColumn),
    PB_KEY(Import, DateColumn, 1, kMaxImportColumn),
    PB_KEY(Import, ClockInColumn, 0, kMaxImportColumn),
    PB_KEY(Import, ClockOutColumn, 0, kMaxImportColumn),
    PB_KEY(Import, BreakStartColumn, 0, kMaxImportColumn),
    PB_KEY(Import, BreakEndColumn, 0, kMaxImportColumn),
    PB_TEXT_KEY(Print, Printer),
};

#undef PB_KEY
#undef PB_TEXT_KEY

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
        key.field(settings) =
            number && *number >= key.low && *number <= key.high ? *number : key.field(defaults);
    }
}

std::vector<std::string> UnusableSettings(const FileSystem& fs, const std::string& programFolder) {
    const std::string path = programFolder + kSettingsFileName;
    IniFile file;
    try {
        if (!fs.Exists(path))
            return {};
        file = IniFile::Parse(AsText(fs.ReadAll(path)));
    } catch (const FileError& e) {
        return {"読めません（" + ErrorReason(e.error()) + "）。すべての設定に既定値を使います"};
    }
    Settings defaults;
    std::vector<std::string> found;
    for (const Key& key : kKeys) {
        const auto value = file.Value(key.section, key.name);
        if (key.text != nullptr || !value)
            continue;
        const auto number = ProfileInteger(*value);
        if (number && *number >= key.low && *number <= key.high)
            continue;
        std::string why = "は整数ではありません";
        if (number) {
            why = "は " + std::to_string(key.low) +
                  (key.high == kMost ? " 以上ではありません"
                                     : "～" + std::to_string(key.high) + " ではありません");
        }
        // The colour of what cannot be entered follows the screen's grey.
        const std::string fallback = std::string_view(key.name) == "InvalidColor"
                                         ? std::string("画面の灰色")
                                         : std::to_string(key.field(defaults));
        found.push_back(std::string("[") + key.section + "] " + key.name + "=" +
                        VisibleText(DecodeSjis(*value).text) + " " + why + "（既定値 " + fallback +
                        " を使います）");
    }
    return found;
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
