#include <gtest/gtest.h>

#include <cerrno>
#include <string>

#include "core/TempFolder.h"
#include "core/common/Routines.h"
#include "core/common/ShiftJis.h"
#include "core/store/Settings.h"
#include "support/FaultyFileSystem.h"

namespace pb {
namespace {

constexpr std::int32_t kGrey = 0x6D6D6D;  // stands in for the palette's disabled text colour

class SettingsTest : public ::testing::Test {
  protected:
    SettingsTest() { settings.ProgramFolder = folder.path(); }

    std::string IniPath() const { return folder / "PBOOK2.INI"; }
    void WriteIni(const std::string& text) {
        RealFileSystem().Replace(IniPath(), Bytes(text.begin(), text.end()));
    }
    std::string ReadIni() const {
        const Bytes bytes = RealFileSystem().ReadAll(IniPath());
        return std::string(bytes.begin(), bytes.end());
    }
    Settings Read() {
        ReadSettings(RealFileSystem(), settings, kGrey);
        return settings;
    }

    test::TempFolder folder;
    Settings settings;
};

// Every key of a fresh file in its order, with its default, ending in CRLF.
std::string FreshFile() {
    const char* const lines[] = {
        "[Calc_Set]",
        "OvertimeWorkFigure=1",
        "TimeAdjustFigure=0",
        "FractionsHandle=0",
        "EndOfMonthPayment=0",
        "[FontColor]",
        "ValidColor=8388608",
        "InvalidColor=7171437",
        "[Common]",
        "ClosingDay=20",
        "[DailyWages]",
        "WorkType=7",
        "HalfHoliday=7",
        "Holiday=1",
        "Holiday1=1",
        "Holiday2=-1",
        "Holiday3=-1",
        "TimeToStartWork=96",
        "TimeToFinishWork=204",
        "TimeToFinishMorning=60",
        "TimeToStartNight=264",
        "TimeToFinishWorkHH=144",
        "WeekdayOverPay=1000",
        "WeekdayNightPay=1100",
        "WeekdayMorningPay=1000",
        "WeekdayEarMornPay=1100",
        "HolidayOverPay=1100",
        "HolidayNightPay=1200",
        "HolidayMorningPay=1100",
        "HolidayEarMornPay=1200",
        "[TimeWages]",
        "WorkType=19",
        "RestTime=0",
        "TimePay=1000",
        "CDTime1MondayPay=1000",
        "CDTime1TuesdayPay=1000",
        "CDTime1WednesdayPay=1000",
        "CDTime1ThursdayPay=1000",
        "CDTime1FridayPay=1000",
        "CDTime1SaturdayPay=1000",
        "CDTime1SundayPay=2000",
        "CDTime2MondayPay=1000",
        "CDTime2TuesdayPay=1000",
        "CDTime2WednesdayPay=1000",
        "CDTime2ThursdayPay=1000",
        "CDTime2FridayPay=1000",
        "CDTime2SaturdayPay=1000",
        "CDTime2SundayPay=1000",
        "CDTime3MondayPay=1000",
        "CDTime3TuesdayPay=1100",
        "CDTime3WednesdayPay=1000",
        "CDTime3ThursdayPay=1000",
        "CDTime3FridayPay=1000",
        "CDTime3SaturdayPay=1000",
        "CDTime3SundayPay=1000",
        "ChargeDivideTime1=96",
        "ChargeDivideTime2=204",
        "ChargeDivideTime3=244",
        "[Help]",
        "Left=0",
        "Top=0",
        "Width=0",
        "Height=0",
        "[Backup]",
        "KeepDays=14",
        "[Import]",
        "IdColumn=1",
        "DateColumn=2",
        "ClockInColumn=3",
        "ClockOutColumn=4",
        "BreakStartColumn=5",
        "BreakEndColumn=6",
        "[Print]",
        "Printer=",
    };
    std::string text;
    for (const char* line : lines)
        text += std::string(line) + "\r\n";
    return text;
}

TEST_F(SettingsTest, WithoutAFileEveryFieldHasItsDefaultAndNothingIsCreated) {
    settings.Calc_Set.OvertimeWorkFigure = 30;
    settings.DailyWages.WorkType = 3;
    const Settings read = Read();
    Settings expected;
    expected.ProgramFolder = folder.path();
    expected.FontColor.InvalidColor = kGrey;
    EXPECT_EQ(read, expected);
    EXPECT_FALSE(RealFileSystem().Exists(IniPath()));
}

TEST_F(SettingsTest, FirstWriteOnAFreshFolderListsTheSectionsAndKeysInOrder) {
    Read();
    WriteSettings(RealFileSystem(), settings);
    EXPECT_EQ(ReadIni(), FreshFile());
}

// Read through RestTime, the one key that takes any number (its default is 0).
TEST_F(SettingsTest, ValuesAreDecimalOrHexadecimalAndAnythingElseGivesTheDefault) {
    const struct {
        const char* value;
        std::int32_t restTime;
    } cases[] = {
        {"25", 25},         {"abc", 0},
        {"0x14", 20},       {"0X14", 20},
        {"$14", 20},        {"$1a", 26},
        {"0x1", 1},         {"0x", 0},
        {"$", 0},           {"", 0},
        {"  25  ", 25},     {"\"25\"", 25},
        {"+5", 5},          {"-1", -1},
        {"7", 7},           {"1.5", 0},
        {"25 ; note", 0},   {"0x1G", 0},
        {"2147483648", 0},  {"0xFFFFFFFF", -1},
        {"0x100000000", 0}, {"-2147483648", -2147483647 - 1},
    };
    for (const auto& c : cases) {
        WriteIni(std::string("[TimeWages]\r\nRestTime=") + c.value + "\r\n");
        EXPECT_EQ(Read().TimeWages.RestTime, c.restTime) << "RestTime=" << c.value;
    }
}

// A value no window offers reads as the default: an overtime unit of 2^31-1
// overflowed the rounding (a month total of -¥1,431,612,332), a rate of 2^31-1
// the forms' amount bar. Both ends of each range are kept.
TEST_F(SettingsTest, ValuesOutsideTheirRangeGiveTheDefault) {
#define FIELD(member) [](const Settings& s) { return s.member; }
    const struct {
        const char* section;
        const char* line;
        std::int32_t (*field)(const Settings&);
        std::int32_t read;
    } cases[] = {
        {"Calc_Set", "OvertimeWorkFigure=2147483647", FIELD(Calc_Set.OvertimeWorkFigure), 1},
        {"Calc_Set", "OvertimeWorkFigure=61", FIELD(Calc_Set.OvertimeWorkFigure), 1},
        {"Calc_Set", "OvertimeWorkFigure=60", FIELD(Calc_Set.OvertimeWorkFigure), 60},
        {"TimeWages", "ChargeDivideTime1=2147483647", FIELD(TimeWages.ChargeDivideTime1), 96},
        {"TimeWages", "ChargeDivideTime2=-2147483648", FIELD(TimeWages.ChargeDivideTime2), 204},
        {"TimeWages", "ChargeDivideTime3=287", FIELD(TimeWages.ChargeDivideTime3), 287},
        {"TimeWages", "CDTime2FridayPay=2147483647", FIELD(TimeWages.CDTime2FridayPay), 1000},
        {"TimeWages", "TimePay=32000", FIELD(TimeWages.TimePay), 32000},
        {"DailyWages", "HolidayNightPay=-1", FIELD(DailyWages.HolidayNightPay), 1200},
        {"TimeWages", "WorkType=7", FIELD(TimeWages.WorkType), 19},
        {"DailyWages", "WorkType=8", FIELD(DailyWages.WorkType), 7},
        {"DailyWages", "Holiday1=0x80000000", FIELD(DailyWages.Holiday1), 1},
        {"Common", "ClosingDay=29", FIELD(Common.ClosingDay), 20},
        {"Common", "ClosingDay=0", FIELD(Common.ClosingDay), 0},
        {"FontColor", "ValidColor=-1", FIELD(FontColor.ValidColor), 0x800000},
        {"Backup", "KeepDays=-1", FIELD(Backup.KeepDays), 14},
        {"Backup", "KeepDays=0", FIELD(Backup.KeepDays), 0},
        {"Help", "Left=-1200", FIELD(Help.Left), -1200},  // a screen left of the first
        {"Help", "Width=-5", FIELD(Help.Width), 0},
        {"Import", "IdColumn=0", FIELD(Import.IdColumn), 1},
        {"Import", "BreakEndColumn=0", FIELD(Import.BreakEndColumn), 0},
        {"Import", "ClockOutColumn=100", FIELD(Import.ClockOutColumn), 4},
    };
#undef FIELD
    for (const auto& c : cases) {
        WriteIni(std::string("[") + c.section + "]\r\n" + c.line + "\r\n");
        EXPECT_EQ(c.field(Read()), c.read) << c.line;
    }
}

TEST_F(SettingsTest, SectionAndKeyNamesMatchWithoutRegardToCase) {
    WriteIni(
        "[COMMON]\r\nclosingday=5\r\n[calc_set]\r\nOVERTIMEWORKFIGURE=15\r\n"
        "[ dailywages ]\r\n  workType  =  3\r\n[TimeWages]\r\nWORKTYPE=9\r\n");
    const Settings read = Read();
    EXPECT_EQ(read.Common.ClosingDay, 5);
    EXPECT_EQ(read.Calc_Set.OvertimeWorkFigure, 15);
    EXPECT_EQ(read.DailyWages.WorkType, 3);
    EXPECT_EQ(read.TimeWages.WorkType, 9);

    // Writing updates those lines as they are spelled instead of adding new ones.
    settings.Common.ClosingDay = 10;
    WriteSettings(RealFileSystem(), settings);
    const std::string text = ReadIni();
    EXPECT_NE(text.find("[COMMON]\r\nclosingday=10\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("  workType  =  3\r\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("[Common]"), std::string::npos) << text;
    EXPECT_EQ(text.find("ClosingDay"), std::string::npos) << text;
}

TEST_F(SettingsTest, OvertimeUnitOfZeroOrBelowIsReadAsOneMinute) {
    const struct {
        const char* line;
        std::int32_t unit;
    } cases[] = {
        {"OvertimeWorkFigure=0", 1},   {"OvertimeWorkFigure=-15", 1}, {"OvertimeWorkFigure=0x0", 1},
        {"OvertimeWorkFigure=15", 15}, {"OvertimeWorkFigure=abc", 1}, {"", 1},
    };
    for (const auto& c : cases) {
        WriteIni(std::string("[Calc_Set]\r\n") + c.line + "\r\n");
        EXPECT_EQ(Read().Calc_Set.OvertimeWorkFigure, c.unit) << c.line;
    }
}

// A default working time outside the day used to end the program when the
// daily-wage form turned it into a time of day.
TEST_F(SettingsTest, DefaultWorkingTimesOutsideTheDayGiveTheDefault) {
    const struct {
        const char* line;
        std::int32_t steps;
    } cases[] = {
        {"TimeToStartWork=0", 0},    {"TimeToStartWork=287", 287},
        {"TimeToStartWork=288", 96}, {"TimeToStartWork=300", 96},
        {"TimeToStartWork=-1", 96},  {"TimeToStartWork=0xFFFFFFFF", 96},
    };
    for (const auto& c : cases) {
        WriteIni(std::string("[DailyWages]\r\n") + c.line + "\r\n");
        const Settings read = Read();
        EXPECT_EQ(read.DailyWages.TimeToStartWork, c.steps) << c.line;
        EXPECT_NO_THROW(StepsToTime(read.DailyWages.TimeToStartWork)) << c.line;
    }
    WriteIni(
        "[DailyWages]\r\nTimeToFinishWork=999\r\nTimeToFinishMorning=-5\r\n"
        "TimeToStartNight=1000\r\nTimeToFinishWorkHH=290\r\n");
    const DailyWagesSettings read = Read().DailyWages;
    const DailyWagesSettings defaults;
    EXPECT_EQ(read.TimeToFinishWork, defaults.TimeToFinishWork);
    EXPECT_EQ(read.TimeToFinishMorning, defaults.TimeToFinishMorning);
    EXPECT_EQ(read.TimeToStartNight, defaults.TimeToStartNight);
    EXPECT_EQ(read.TimeToFinishWorkHH, defaults.TimeToFinishWorkHH);
}

TEST_F(SettingsTest, HandEditedFileKeepsEverythingButTheValuesItChanges) {
    const std::string original =
        "\xEF\xBB\xBF; 設定ファイル\r\n"
        "[Calc_Set]\r\n"
        "OvertimeWorkFigure = 15\r\n"
        "TimeAdjustFigure=2\r\n"
        "TimeAdjustFigure=1\r\n"  // the first one counts
        "this line has no equals sign\r\n"
        "\r\n"
        "; the next section is someone else's\r\n"
        "[Other]\r\n"
        "Path=C:\\x\r\n"
        "\r\n"
        "[Common]\r\n"
        "ClosingDay=0\r\n";
    WriteIni(original);
    Read();
    EXPECT_EQ(settings.Calc_Set.OvertimeWorkFigure, 15);
    EXPECT_EQ(settings.Calc_Set.TimeAdjustFigure, 2);
    EXPECT_EQ(settings.Common.ClosingDay, 0);

    settings.Calc_Set.OvertimeWorkFigure = 30;
    WriteSettings(RealFileSystem(), settings);
    const std::string expectedStart =
        "\xEF\xBB\xBF; 設定ファイル\r\n"
        "[Calc_Set]\r\n"
        "OvertimeWorkFigure = 30\r\n"
        "TimeAdjustFigure=2\r\n"
        "TimeAdjustFigure=1\r\n"
        "FractionsHandle=0\r\n"  // missing keys follow the section's last key
        "EndOfMonthPayment=0\r\n"
        "this line has no equals sign\r\n"
        "\r\n"
        "; the next section is someone else's\r\n"
        "[Other]\r\n"
        "Path=C:\\x\r\n"
        "\r\n"
        "[Common]\r\n"
        "ClosingDay=0\r\n"
        "[FontColor]\r\n"
        "ValidColor=8388608\r\n"
        "InvalidColor=7171437\r\n"
        "[DailyWages]\r\n"
        "WorkType=7\r\n";
    const std::string text = ReadIni();
    EXPECT_EQ(text.substr(0, expectedStart.size()), expectedStart);
    EXPECT_TRUE(text.ends_with(
        "\r\nChargeDivideTime3=244\r\n[Help]\r\nLeft=0\r\nTop=0\r\nWidth=0\r\nHeight=0\r\n"
        "[Backup]\r\nKeepDays=14\r\n[Import]\r\nIdColumn=1\r\nDateColumn=2\r\nClockInColumn=3\r\n"
        "ClockOutColumn=4\r\nBreakStartColumn=5\r\nBreakEndColumn=6\r\n[Print]\r\nPrinter=\r\n"));
}

TEST_F(SettingsTest, AnExistingFileKeepsItsLineEndings) {
    const struct {
        const char* original;
        const char* expectedStart;
    } cases[] = {
        {"[Common]\nClosingDay=5\n", "[Common]\nClosingDay=5\n[Calc_Set]\nOvertimeWorkFigure=1\n"},
        {"[Common]\nClosingDay=5", "[Common]\nClosingDay=5\n[Calc_Set]\n"},
        {"[Common]\r\nClosingDay=5", "[Common]\r\nClosingDay=5\r\n[Calc_Set]\r\n"},
        {"", "[Calc_Set]\r\nOvertimeWorkFigure=1\r\n"},
    };
    for (const auto& c : cases) {
        WriteIni(c.original);
        Read();
        WriteSettings(RealFileSystem(), settings);
        const std::string text = ReadIni();
        EXPECT_EQ(text.substr(0, std::string(c.expectedStart).size()), c.expectedStart)
            << c.original;
    }
}

TEST_F(SettingsTest, EveryFieldSurvivesWriteAndRead) {
    Settings changed = Read();
    // A distinct value in every field, through the record's own key order.
    std::int32_t next = -3;
    const auto fill = [&next](auto& section) {
        auto* field = reinterpret_cast<std::int32_t*>(&section);
        for (std::size_t i = 0; i < sizeof section / sizeof(std::int32_t); ++i)
            field[i] = next++;
    };
    fill(changed.Calc_Set);
    fill(changed.FontColor);
    fill(changed.Common);
    fill(changed.DailyWages);
    fill(changed.TimeWages);
    fill(changed.Help);
    // Where that count leaves a key's range, a value of the range unlike its default.
    changed.Calc_Set.OvertimeWorkFigure = 60;
    changed.DailyWages.Holiday = 0;
    changed.DailyWages.Holiday2 = 2;
    changed.DailyWages.Holiday3 = 3;
    changed.TimeWages.WorkType = 12;
    changed.Backup.KeepDays = 30;
    changed.Print.Printer = "経理部_レーザー";
    WriteSettings(RealFileSystem(), changed);
    settings = Settings{};
    settings.ProgramFolder = folder.path();
    EXPECT_EQ(Read(), changed);
    // The printer's name is kept in the code page of the program's files.
    EXPECT_TRUE(
        ReadIni().ends_with("[Print]\r\nPrinter=" + EncodeSjis("経理部_レーザー") + "\r\n"));

    // A line break would start a line of its own in the file.
    changed.Print.Printer = "Office\r\n[Common]\r\nClosingDay=1";
    WriteSettings(RealFileSystem(), changed);
    EXPECT_EQ(Read().Print.Printer, "Office");
    EXPECT_EQ(settings.Common.ClosingDay, changed.Common.ClosingDay);
}

TEST_F(SettingsTest, TheSampleFolderFileIsRead) {
    RealFileSystem().Copy(PUNCHBOOK_SAMPLES_DIR "/folder/PBOOK2.INI", IniPath());
    const Settings read = Read();
    EXPECT_EQ(read.Calc_Set.OvertimeWorkFigure, 15);
    EXPECT_EQ(read.Calc_Set.TimeAdjustFigure, 0);
    EXPECT_EQ(read.Calc_Set.FractionsHandle, 0);
    EXPECT_EQ(read.Calc_Set.EndOfMonthPayment, 1);
    EXPECT_EQ(read.Common.ClosingDay, 20);
    EXPECT_EQ(read.FontColor.InvalidColor, kGrey);
}

TEST_F(SettingsTest, AFailedWriteLeavesTheOldFileAndNamesIt) {
    const std::string original = "[Common]\r\nClosingDay=5\r\n";
    for (const int error : {EIO, ENOSPC, EACCES}) {
        for (const bool shortWrite : {false, true}) {
            WriteIni(original);
            Read();
            settings.Common.ClosingDay = 25;
            FaultyFileSystem faulty;
            faulty.FailAt(1, error, shortWrite);
            try {
                WriteSettings(faulty, settings);
                ADD_FAILURE() << "no error for errno " << error;
            } catch (const FileError& e) {
                EXPECT_EQ(std::string(e.what()).rfind(IniPath() + " に書き込めません\n", 0), 0u)
                    << e.what();
                EXPECT_EQ(e.path(), IniPath());
                EXPECT_EQ(e.error(), error);
            }
            EXPECT_EQ(ReadIni(), original);
            EXPECT_EQ(settings.Common.ClosingDay, 25);  // the record keeps the new value
            EXPECT_EQ(faulty.MutationCount(), 1);       // the whole file in one replace
            EXPECT_EQ(RealFileSystem().List(folder.path()).size(), 1u);
        }
    }
}

TEST_F(SettingsTest, ASettingsFileThatCannotBeReadIsNeitherTrustedNorOverwritten) {
    // A folder where the file should be: reading fails, so does writing.
    std::filesystem::create_directory(IniPath());
    EXPECT_EQ(Read().Common.ClosingDay, 20);
    EXPECT_THROW(WriteSettings(RealFileSystem(), settings), FileError);
    EXPECT_TRUE(std::filesystem::is_directory(IniPath()));
}

}  // namespace
}  // namespace pb
