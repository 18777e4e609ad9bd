#include <gtest/gtest.h>

#include "core/timecard/TimeCells.h"
#include "core/timecard/WorkPattern.h"

namespace pb {
namespace {

TEST(TimeCells, WhichTextsAreValidTimes) {
    struct Case {
        const char* text;
        bool valid;
        std::optional<std::int32_t> minutes;  // what the calculation counts
    };
    const Case cases[] = {
        {"", true, std::nullopt},
        {"  :  ", true, std::nullopt},
        {"00:00", true, 0},
        {"23:59", true, 1439},
        {"08:05", true, 485},
        {"24:00", false, std::nullopt},
        {"12:60", false, std::nullopt},
        {"1 :3 ", false, std::nullopt},
        {"12:3 ", false, std::nullopt},
        {" 1:30", false, std::nullopt},
        {"1:30", false, std::nullopt},
        {"12:30:00", false, std::nullopt},
        {"ab:cd", false, std::nullopt},
        {"１２:３０", false, std::nullopt},
        {"12-30", false, std::nullopt},
        // The time conversion takes it, but it holds no "hh:mm" to count.
        {"1:2:3", false, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsValidTimeText(c.text), c.valid) << "'" << c.text << "'";
        EXPECT_EQ(CellMinutes(c.text), c.minutes) << "'" << c.text << "'";
    }
    // The looser current-cell check lets a partly typed time through; the
    // calculation still never counts it.
    EXPECT_TRUE(IsTimeText("12:3 "));
    EXPECT_FALSE(IsTimeText("  :  "));
}

TEST(TimeCells, ClockTextsOfFiguresAreThoseOfMinutesToText) {
    for (std::int32_t minutes = -130; minutes <= 6100; ++minutes) {
        std::string cell = "old";
        SetClockText(cell, minutes);
        ASSERT_EQ(cell, MinutesToText(minutes)) << minutes;
    }
    std::string negative;
    SetClockText(negative, -90);
    EXPECT_EQ(negative, "-01:30");  // how a negative figure would show
}

TEST(TimeCells, RowPatternMarksFilledCellsColumnOneFirst) {
    DayCells row;
    EXPECT_EQ(RowPattern(row), "0000");
    row[1] = "08:00";
    row[4] = "17:00";
    EXPECT_EQ(RowPattern(row), "1001");
    row[2] = "  :  ";  // the blank mask is an empty cell
    row[3] = "25:00";  // typed, though not valid
    row[5] = "01:00";  // columns past 4 play no part
    EXPECT_EQ(RowPattern(row), "1011");
}

TEST(WorkPattern, UnusedDailyColumnsAreExactlyTheUnmeasuredClasses) {
    for (std::int32_t wt = 0; wt <= 7; ++wt) {
        EXPECT_EQ(IsColumnUnused(wt, 3), !MeasuresEarlyMorning(wt)) << wt;
        EXPECT_EQ(IsColumnUnused(wt, 4), !MeasuresEarlyStart(wt)) << wt;
        EXPECT_EQ(IsColumnUnused(wt, 5), !MeasuresOvertime(wt)) << wt;
        EXPECT_EQ(IsColumnUnused(wt, 6), !MeasuresLateNight(wt)) << wt;
        EXPECT_FALSE(IsColumnUnused(wt, 7)) << wt;
        EXPECT_EQ(IsColumnUnused(wt, 1), wt == 0 || wt == 3) << wt;
        EXPECT_EQ(IsColumnUnused(wt, 2), wt == 1 || wt == 4) << wt;
        // The registration form's check boxes make the pattern back.
        EXPECT_EQ(DailyWorkType(MeasuresEarlyStart(wt), MeasuresOvertime(wt),
                                MeasuresEarlyMorning(wt), MeasuresLateNight(wt)),
                  wt);
    }
}

TEST(WorkPattern, UnusedHourlyColumnsFollowBreakAndBands) {
    for (std::int32_t wt = 8; wt <= 19; ++wt) {
        EXPECT_FALSE(IsColumnUnused(wt, 1)) << wt;
        EXPECT_EQ(IsColumnUnused(wt, 2), !HasBreak(wt)) << wt;
        EXPECT_EQ(IsColumnUnused(wt, 3), !HasBreak(wt)) << wt;
        EXPECT_FALSE(IsColumnUnused(wt, 4)) << wt;
        for (int band = 1; band <= 3; ++band) {
            // One band shows no band column; two bands show 5 and 6.
            EXPECT_EQ(IsColumnUnused(wt, 4 + band), BandCount(wt) == 1 || band > BandCount(wt))
                << wt << "/" << band;
        }
        EXPECT_FALSE(IsColumnUnused(wt, 8)) << wt;
        EXPECT_EQ(HourlyWorkType(BandCount(wt), HasWeekdayRates(wt), HasBreak(wt)), wt);
    }
}

}  // namespace
}  // namespace pb
