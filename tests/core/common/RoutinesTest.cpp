#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "core/common/Routines.h"

namespace pb {
namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

TEST(Routines, FormatYenGroupsDigitsByThree) {
    const struct {
        std::int32_t value;
        const char* text;
    } cases[] = {
        {0, "¥0"},
        {500, "¥500"},
        {999, "¥999"},
        {1000, "¥1,000"},
        {1234, "¥1,234"},
        {32000, "¥32,000"},
        {999999, "¥999,999"},
        {1234567, "¥1,234,567"},
        {kMax, "¥2,147,483,647"},
        {-123, "¥-123"},
        {-1234, "¥-1,234"},
        {kMin, "¥-2,147,483,648"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatYen(c.value), c.text) << c.value;
        if (c.value >= 0) {
            EXPECT_EQ(ParseYen(FormatYen(c.value)), c.value) << c.value;
        }
    }
}

TEST(Routines, ParseYenKeepsOnlyDecimalDigits) {
    const struct {
        const char* text;
        std::int32_t value;
    } cases[] = {
        {"¥32,000", 32000},
        {"\\32,000", 32000},
        {"3月", 3},
        {"12月", 12},
        {"", 0},
        {"¥", 0},
        {"abc", 0},
        {"007", 7},
        {"１２", 0},  // full-width digits are
                      // not decimal digits
                      // here
        {"1 2 3", 123},
        {"2147483647", kMax},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseYen(c.text), c.value) << c.text;
    EXPECT_EQ(ParseYen("¥2,147,483,648"), 0);
}

TEST(Routines, PadNumber) {
    const struct {
        std::int32_t value, width;
        const char* text;
    } cases[] = {
        {7, 2, "07"},  {12, 2, "12"},        {0, 2, "00"},        {100, 2, "100"},
        {5, 3, "005"}, {3, 12, "000000003"}, {3, 9, "000000003"}, {0, 1, "0"},
        {0, 0, "0"},   {42, -1, "42"},       {-5, 2, "-05"},      {kMin, 2, "-2147483648"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PadNumber(c.value, c.width), c.text) << c.value;
}

TEST(Routines, WeekdayAndStateTexts) {
    const char* names[] = {"",       "日曜日", "月曜日", "火曜日", "水曜日",
                           "木曜日", "金曜日", "土曜日", ""};
    for (int day = 0; day <= 8; ++day)
        EXPECT_EQ(WeekdayText(day), names[day]) << day;
    EXPECT_EQ(WeekdayText(-1), "無し");
    EXPECT_EQ(WeekdayText(-2), "");
    EXPECT_EQ(SetStateText(true), "設定");
    EXPECT_EQ(SetStateText(false), "未設定");
}

TEST(Routines, StepsToText) {
    const struct {
        std::int32_t steps;
        const char* text;
        std::int32_t minutes;
    } cases[] = {
        {0, "00:00", 0},      {7, "00:35", 35},     {11, "00:55", 55},
        {12, "01:00", 60},    {96, "08:00", 480},   {107, "08:55", 535},
        {244, "20:20", 1220}, {287, "23:55", 1435}, {288, "00:00", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StepsToText(c.steps), c.text) << c.steps;
        EXPECT_EQ(StepsToMinutes(c.steps), c.minutes) << c.steps;
    }
}

TEST(Routines, StepsToMinutesReadsWhatStepsToTextWrites) {
    // Hand-edited records may hold any count, past 24:00 or below zero.
    for (std::int32_t s = -400; s <= 1500; ++s)
        ASSERT_EQ(StepsToMinutes(s), TextToMinutes(StepsToText(s))) << s;
}

TEST(Routines, EveryStepSurvivesTheDateTimeValue) {
    for (std::int32_t s = 0; s < 288; ++s) {
        ASSERT_EQ(TimeToSteps(StepsToTime(s)), s);
        ASSERT_EQ(TimeToMinutes(StepsToTime(s)), s * 5);
        ASSERT_EQ(TextToSteps(StepsToText(s)), s);
    }
    EXPECT_EQ(TimeToSteps(StepsToTime(288)), 0);
    EXPECT_EQ(StepsToText(289), "00:05");             // any hours part of 24 is written 00
    EXPECT_THROW(StepsToTime(300), ConversionError);  // "25:00"
}

TEST(Routines, TimeOfDayOfDateTimeValues) {
    const struct {
        double time;
        const char* text;
        std::int32_t minutes;
    } cases[] = {
        {0.0, "00:00", 0},
        {-1.0, "00:00", 0},
        {0.5, "12:00", 720},
        {36525.75, "18:00", 1080},  // the date does not matter
        {-1.25, "06:00", 360},      // before the epoch: the fraction's magnitude
        {(8 * 60 + 59 + 59.0 / 60) / 1440, "08:59", 539},  // seconds dropped
        {(9 * 60 - 0.0001 / 60) / 1440, "09:00", 540},     // 0.1 ms below rounds up
        {1.0 - 1e-12, "00:00", 0},                         // rounds up to the next midnight
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TimeToText(c.time), c.text) << c.time;
        EXPECT_EQ(TimeToMinutes(c.time), c.minutes) << c.time;
    }
    EXPECT_EQ(TimeToSteps((8 * 60 + 57) / 1440.0), 107);
}

TEST(Routines, TextToTimeAndSteps) {
    EXPECT_EQ(TextToSteps("08:57"), 107);
    EXPECT_EQ(TextToSteps("23:59"), 287);
    EXPECT_DOUBLE_EQ(TextToTime("12:00"), 0.5);
    EXPECT_DOUBLE_EQ(TextToTime("00:00"), 0.0);
    EXPECT_EQ(TimeToText(TextToTime("17:45")), "17:45");
    for (const char* bad : {"24:00", "12:60", "-1:00", "ab:cd", "", "12"}) {
        EXPECT_THROW(TextToTime(bad), ConversionError) << bad;
    }
    for (const char* bad : {"ab:00", "08:xx", "", "8"}) {
        EXPECT_THROW(TextToSteps(bad), ConversionError) << bad;
    }
}

TEST(Routines, TextToMinutesAndMinutesToText) {
    const struct {
        const char* text;
        std::int32_t minutes;
    } cases[] = {
        {"00:00", 0}, {"08:30", 510}, {"23:59", 1439}, {"100:00", 6000},
        {"1:5", 65},  {" 8:30", 510}, {"-01:30", -90}, {"-00:30", -30},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TextToMinutes(c.text), c.minutes) << c.text;
    EXPECT_EQ(TextToMinutes(""), 0);
    for (const char* bad : {"0830", "ab:00", "08:", ":30", "08:30:00"}) {
        EXPECT_THROW(TextToMinutes(bad), ConversionError) << bad;
    }

    const struct {
        std::int32_t minutes;
        const char* text;
    } texts[] = {
        {0, "00:00"},     {59, "00:59"},   {60, "01:00"},   {1439, "23:59"},
        {6000, "100:00"}, {-30, "-00:30"}, {-90, "-01:30"},
    };
    for (const auto& c : texts) {
        EXPECT_EQ(MinutesToText(c.minutes), c.text) << c.minutes;
        EXPECT_EQ(TextToMinutes(MinutesToText(c.minutes)), c.minutes) << c.minutes;
    }
}

TEST(Routines, IsIntegerText) {
    for (const char* good : {"0", "7", "-7", "+7", "007", "2147483647", "-2147483648"}) {
        EXPECT_TRUE(IsIntegerText(good)) << good;
    }
    for (const char* bad : {"", "-", "+", " 7", "7 ", "1.5", "1e3", "0x14", "$14", "2147483648",
                            "-2147483649", "99999999999999999999", "７", "7a"}) {
        EXPECT_FALSE(IsIntegerText(bad)) << bad;
    }
}

TEST(Routines, IsTimeText) {
    for (const char* good : {"00:00", "23:59", "8:05", "8:5", "08:30:59", " 08:30 ", "0:0"}) {
        EXPECT_TRUE(IsTimeText(good)) << good;
    }
    for (const char* bad :
         {"", "  :  ", "24:00", "12:60", "12:30:60", "1 :3 ", "08 :30", "123:00", "08:300", "08",
          "08:", ":30", "08:30:", "-1:00", "08.30", "08:30pm", "０８:３０"}) {
        EXPECT_FALSE(IsTimeText(bad)) << bad;
    }
}

TEST(Routines, RoundMinutes) {
    const struct {
        std::int32_t minutes, mode, unit, result;
    } cases[] = {
        {67, 0, 15, 60},
        {68, 0, 15, 75},
        {61, 1, 15, 75},
        {74, 2, 15, 60},
        {74, 0, 1, 74},
        {75, 1, 15, 75},
        {65, 0, 10, 70},
        {64, 0, 10, 60},
        {62, 0, 5, 60},
        {63, 0, 5, 65},
        {74, 3, 15, 74},
        {74, -1, 15, 74},
        // Units that do not divide 60 restart at the full hour: 125 → 120, not 119.
        {125, 2, 7, 120},
        {68, 2, 7, 67},
        {60, 1, 7, 60},
        {74, 1, 0, 74},
        {74, 0, -5, 74},
        {29, 0, 30, 30},
        {14, 0, 30, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RoundMinutes(c.minutes, c.mode, c.unit), c.result)
            << c.minutes << " mode " << c.mode << " unit " << c.unit;
    }
}

TEST(Routines, WageForMinutes) {
    const struct {
        std::int32_t minutes, rate, unit, yen;
    } cases[] = {
        {70, 1000, 15, 1000},        {100, 1000, 15, 1500},
        {60, 1000, 1, 1000},         {59, 1000, 1, 944},
        {45, 1100, 30, 550},         {29, 1100, 30, 0},
        {125, 1000, 20, 2000},       {0, 1000, 15, 0},
        {10, 1000, 7, 125},    // 60 div 7 = 8 units an hour at 125 yen
        {90, 1000, 0, 1480},   // unit 0 counts as 1 minute (16 yen a minute)
        {90, 1000, 90, 1000},  // a unit over an hour pays whole hours only
        {600, 5000000, 1, 50000000},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WageForMinutes(c.minutes, c.rate, c.unit), c.yen)
            << c.minutes << " at " << c.rate << " unit " << c.unit;
    }
}

TEST(Routines, PowerAndBinaryText) {
    EXPECT_EQ(PowerInt(2, 0), 1);
    EXPECT_EQ(PowerInt(2, 10), 1024);
    EXPECT_EQ(PowerInt(2, 30), 1 << 30);
    EXPECT_EQ(PowerInt(10, 9), 1000000000);
    EXPECT_EQ(PowerInt(3, 5), 243);
    EXPECT_EQ(PowerInt(-2, 3), -8);
    EXPECT_EQ(PowerInt(0, 3), 0);
    EXPECT_THROW(PowerInt(2, 31), ConversionError);

    const struct {
        const char* text;
        std::int32_t value;
    } cases[] = {
        {"1111", 15}, {"1001", 9}, {"000", 0}, {"011", 3}, {"100", 4},
        {"110", 6},   {"111", 7},  {"1", 1},   {"", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BinaryTextToInt(c.text), c.value) << c.text;
    EXPECT_THROW(BinaryTextToInt("1x1"), ConversionError);
}

TEST(Routines, BaseFileName) {
    const struct {
        const char* path;
        const char* base;
    } cases[] = {
        {"/opt/pb/1999_fv2.cbf", "1999_fv2"},
        {"/opt/pb/001tc.dat", "001tc"},
        {"/x/Name.dat", "Name"},
        {"relative.pbk", "relative"},
        {"/a.b/c.dat", "c"},
        {".dat", ""},
        {"abc", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BaseFileName(c.path), c.base) << c.path;
}

}  // namespace
}  // namespace pb
