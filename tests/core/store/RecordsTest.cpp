#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "core/common/RecordFields.h"
#include "core/common/Routines.h"
#include "core/store/FileSystem.h"
#include "core/store/Records.h"

namespace pb {
namespace {

// A buffer of `size` zero bytes with the given bytes laid in at their offsets.
struct Patch {
    std::size_t offset;
    std::string bytes;
};

Bytes Expected(std::size_t size, std::initializer_list<Patch> patches) {
    Bytes buf(size, 0);
    for (const auto& p : patches) {
        for (std::size_t i = 0; i < p.bytes.size(); ++i) {
            buf[p.offset + i] = static_cast<std::uint8_t>(p.bytes[i]);
        }
    }
    return buf;
}

std::string Le32(std::int32_t v) {
    std::string s(4, '\0');
    for (int i = 0; i < 4; ++i)
        s[i] = static_cast<char>((static_cast<std::uint32_t>(v) >> (8 * i)) & 0xFF);
    return s;
}

std::string Le64(double d) {
    Bytes b(8, 0);
    PutDouble(b, 0, d);
    return std::string(b.begin(), b.end());
}

TEST(Records, NameRecordGoldenBytesWithBackslashSecondBytesAndHalfWidthKana) {
    NameRecord r{"001", "ソ表ｱｲ", 1, 1002};
    const Bytes expected =
        Expected(kNameRecordSize, {
                                      {0, std::string("\x03"
                                                      "001")},
                                      {4, std::string("\x06\x83\x5C\x95\x5C\xB1\xB2")},
                                      {28, Le32(1)},
                                      {32, Le32(1002)},
                                  });
    EXPECT_EQ(ToBytes(r), expected);
    EXPECT_EQ(NameRecordFromBytes(expected), r);
}

TEST(Records, NameIsCutAtTwentyBytesWithoutSplittingACharacter) {
    struct Case {
        std::string name;
        std::size_t storedLength;
        std::string readBack;
    };
    const Case cases[] = {
        {"あいうえおかきくけこ", 20, "あいうえおかきくけこ"},
        {"あいうえおかきくけこさ", 20, "あいうえおかきくけこ"},
        // One half-width letter first: the tenth full-width character would end at byte 21.
        {"aソソソソソソソソソソ", 19, "aソソソソソソソソソ"},
        {"ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅﾆ", 20, "ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄ"},
    };
    for (const auto& c : cases) {
        const Bytes b = ToBytes(NameRecord{"001", c.name, 0, 1001});
        EXPECT_EQ(b[4], c.storedLength) << c.name;
        EXPECT_EQ(b[25], 0) << "filler stays zero";
        EXPECT_EQ(NameRecordFromBytes(b).Name, c.readBack);
    }
}

TEST(Records, DailyWagesRecordGoldenBytes) {
    DailyWagesRecord r;
    r.ID = "012";
    r.Current = 1;
    r.Generation = 3;
    r.WorkType = 7;
    r.ClosingDay = 20;
    r.HalfHoliday = 7;
    r.Holiday = 1;
    r.Holiday1 = 1;
    r.Holiday2 = -1;
    r.Holiday3 = 4;
    r.WeekdayMorningPay = 1000;
    r.WeekdayOverPay = 1100;
    r.WeekdayEarMornPay = 1200;
    r.WeekdayNightPay = 1300;
    r.HolidayMorningPay = 2000;
    r.HolidayOverPay = 2100;
    r.HolidayEarMornPay = 2200;
    r.HolidayNightPay = 2300;
    r.TimeToStartWork = 0.375;
    r.TimeToFinishWork = 0.75;
    r.TimeToStartNight = 22.0 / 24;
    r.TimeToFinishMorning = 0.25;
    r.TimeToFinishWorkHH = -1.0;
    const Bytes expected = Expected(kDailyWagesRecordSize, {
                                                               {0, std::string("\x03"
                                                                               "012")},
                                                               {4, "\x01"},
                                                               {8, Le32(3)},
                                                               {16, Le32(7)},
                                                               {20, Le32(20)},
                                                               {24, Le32(1)},
                                                               {28, Le32(7)},
                                                               {32, "\x01"},
                                                               {36, Le32(1)},
                                                               {40, Le32(-1)},
                                                               {44, Le32(4)},
                                                               {48, Le32(1000)},
                                                               {52, Le32(1100)},
                                                               {56, Le32(1200)},
                                                               {60, Le32(1300)},
                                                               {64, Le32(2000)},
                                                               {68, Le32(2100)},
                                                               {72, Le32(2200)},
                                                               {76, Le32(2300)},
                                                               {80, Le64(0.375)},
                                                               {88, Le64(0.75)},
                                                               {96, Le64(22.0 / 24)},
                                                               {104, Le64(0.25)},
                                                               {112, Le64(-1.0)},
                                                           });
    EXPECT_EQ(ToBytes(r), expected);
    EXPECT_EQ(DailyWagesRecordFromBytes(expected), r);
}

TEST(Records, TimeWagesRecordGoldenBytesPutsBandRatesSundayFirst) {
    TimeWagesRecord r;
    r.ID = "7";
    r.Current = 0;
    r.Generation = 2;
    r.WorkType = 19;
    r.ClosingDay = 0;
    r.TimePay = 900;
    for (int w = 0; w < 7; ++w) {
        r.Band1Pays[w] = 1000 + w;
        r.Band2Pays[w] = 2000 + w;
        r.Band3Pays[w] = 3000 + w;
    }
    r.ChargeDivideTime1 = 108;
    r.ChargeDivideTime2 = 216;
    r.ChargeDivideTime3 = 0;
    Bytes expected = Expected(kTimeWagesRecordSize, {
                                                        {0, std::string("\x01"
                                                                        "7")},
                                                        {8, Le32(2)},
                                                        {16, Le32(19)},
                                                        {24, Le32(1)},
                                                        {28, Le32(900)},
                                                        {116, Le32(108)},
                                                        {120, Le32(216)},
                                                    });
    for (int b = 1; b <= 3; ++b) {
        for (int w = 1; w <= 7; ++w)
            PutInt32(expected, 32 + 28 * (b - 1) + 4 * (w - 1), b * 1000 + w - 1);
    }
    EXPECT_EQ(ToBytes(r), expected);
    EXPECT_EQ(TimeWagesRecordFromBytes(expected), r);
}

TEST(Records, MonthRecordGoldenBytesPlacesCellsColumnMajor) {
    MonthRecord r;
    r.ID = "002";
    r.PayScheme = 2;
    r.WagesGeneration = 0;
    r.Month = 12;
    r.DayCount = 31;
    r.Cells[0][0] = "08:30";
    r.Cells[2][1] = "17:05";
    r.Cells[7][30] = "23:55";
    r.Cells[1][3] = "12:00:00";  // cut to five bytes
    r.TotalOverPay = 12345;
    r.WorkDays = 21;
    r.TotalOverMinutes = 615;
    r.HolidayPay = 4000;
    r.HolidayWorkDays = 2;
    r.HolidayMinutes = 90;
    const Bytes expected = Expected(kMonthRecordSize, {
                                                          {0, std::string("\x03"
                                                                          "002")},
                                                          {4, Le32(2)},
                                                          {12, "\x0C"},
                                                          {16, Le32(31)},
                                                          {20,
                                                           "\x05"
                                                           "08:30"},
                                                          {20 + 2 * 186 + 1 * 6,
                                                           "\x05"
                                                           "17:05"},
                                                          {20 + 7 * 186 + 30 * 6,
                                                           "\x05"
                                                           "23:55"},
                                                          {20 + 1 * 186 + 3 * 6,
                                                           "\x05"
                                                           "12:00"},
                                                          {1508, Le32(12345)},
                                                          {1512, Le32(21)},
                                                          {1516, Le32(615)},
                                                          {1520, Le32(4000)},
                                                          {1524, Le32(2)},
                                                          {1532, Le32(90)},
                                                      });
    EXPECT_EQ(ToBytes(r), expected);
    MonthRecord back = MonthRecordFromBytes(expected);
    EXPECT_EQ(back.Cells[1][3], "12:00");
    back.Cells[1][3] = r.Cells[1][3];
    EXPECT_EQ(back, r);
}

TEST(Records, NextCellRecordGoldenBytes) {
    NextCellRecord r;
    r.Pattern = 3;
    for (int i = 0; i < kNextCellMoves; ++i)
        r.Moves[i] = i % 6;
    Bytes expected = Expected(kNextCellRecordSize, {{0, Le32(3)}});
    for (int i = 0; i < kNextCellMoves; ++i)
        PutInt32(expected, 4 + 4 * i, i % 6);
    EXPECT_EQ(ToBytes(r), expected);
    EXPECT_EQ(NextCellRecordFromBytes(expected), r);
}

TEST(Records, ReadingFromAnOffsetAndPastTheEnd) {
    Bytes two = ToBytes(NameRecord{"001", "a", 0, 1001});
    const Bytes second = ToBytes(NameRecord{"002", "b", 1, 2001});
    two.insert(two.end(), second.begin(), second.end());
    EXPECT_EQ(NameRecordFromBytes(two, kNameRecordSize).ID, "002");
    EXPECT_THROW(NameRecordFromBytes(two, kNameRecordSize + 1), std::out_of_range);
}

// The sample folder was written by another program: reading and writing back
// every record must give the same bytes.
TEST(Records, SampleFolderRecordsRoundTripByteForByte) {
    struct Case {
        const char* file;
        std::size_t size;
        Bytes (*roundTrip)(const Bytes&, std::size_t);
    };
    const Case cases[] = {
        {"Name.dat", kNameRecordSize,
         [](const Bytes& b, std::size_t o) { return ToBytes(NameRecordFromBytes(b, o)); }},
        {"DailyWages.dat", kDailyWagesRecordSize,
         [](const Bytes& b, std::size_t o) { return ToBytes(DailyWagesRecordFromBytes(b, o)); }},
        {"TimeWages.dat", kTimeWagesRecordSize,
         [](const Bytes& b, std::size_t o) { return ToBytes(TimeWagesRecordFromBytes(b, o)); }},
        {"1999_fv2.pbk", kMonthRecordSize,
         [](const Bytes& b, std::size_t o) { return ToBytes(MonthRecordFromBytes(b, o)); }},
    };
    for (const auto& c : cases) {
        const Bytes file =
            RealFileSystem().ReadAll(std::string(PUNCHBOOK_SAMPLES_DIR) + "/folder/" + c.file);
        ASSERT_EQ(file.size() % c.size, 0u) << c.file;
        ASSERT_GT(file.size(), 0u);
        for (std::size_t o = 0; o < file.size(); o += c.size) {
            const Bytes original(file.begin() + o, file.begin() + o + c.size);
            EXPECT_EQ(c.roundTrip(file, o), original) << c.file << " record at " << o;
        }
    }
}

TEST(Records, SampleFolderReadsAsDescribed) {
    const std::string folder = std::string(PUNCHBOOK_SAMPLES_DIR) + "/folder/";
    const Bytes names = RealFileSystem().ReadAll(folder + "Name.dat");
    const NameRecord first = NameRecordFromBytes(names, 0);
    const NameRecord second = NameRecordFromBytes(names, kNameRecordSize);
    EXPECT_EQ(first.ID, "001");
    EXPECT_EQ(first.Name, "ソ表 太郎");
    EXPECT_EQ(first.WagesCode, 1001);
    EXPECT_EQ(second.ID, "002");
    EXPECT_EQ(second.WagesCode, 2001);

    const DailyWagesRecord daily =
        DailyWagesRecordFromBytes(RealFileSystem().ReadAll(folder + "DailyWages.dat"));
    EXPECT_EQ(daily.WorkType, 7);
    EXPECT_EQ(daily.Holiday, 1);
    EXPECT_EQ(daily.Holiday1, 1);     // Sunday
    EXPECT_EQ(daily.HalfHoliday, 7);  // Saturday
    EXPECT_EQ(daily.Current, 1);

    const TimeWagesRecord hourly =
        TimeWagesRecordFromBytes(RealFileSystem().ReadAll(folder + "TimeWages.dat"));
    EXPECT_EQ(hourly.WorkType, 19);
    EXPECT_EQ(hourly.ClosingDay, 0);

    const Bytes months = RealFileSystem().ReadAll(folder + "1999_fv2.pbk");
    ASSERT_EQ(months.size(), 2 * kMonthRecordSize);
    for (std::size_t o = 0; o < months.size(); o += kMonthRecordSize) {
        const MonthRecord m = MonthRecordFromBytes(months, o);
        EXPECT_EQ(m.Month, 3);
        EXPECT_TRUE(m.ID == "001" || m.ID == "002") << m.ID;
        EXPECT_EQ(m.PayScheme, m.ID == "001" ? 1 : 2);
    }
}

// Times written by another program may be damaged; a value that is no number
// must not reach the screens, which cannot show it and used to end the program.
TEST(Records, DamagedWageTimesReadAsMidnight) {
    for (const double damaged :
         {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
          -std::numeric_limits<double>::infinity()}) {
        Bytes bytes = ToBytes(DailyWagesRecord{});
        for (std::size_t offset = 80; offset <= 112; offset += 8)
            PutDouble(bytes, offset, damaged);
        const DailyWagesRecord r = DailyWagesRecordFromBytes(bytes, 0);
        for (const double time : {r.TimeToStartWork, r.TimeToFinishWork, r.TimeToStartNight,
                                  r.TimeToFinishMorning, r.TimeToFinishWorkHH}) {
            EXPECT_EQ(time, 0.0);
            EXPECT_EQ(TimeToText(time), "00:00");
        }
    }
}

}  // namespace
}  // namespace pb
