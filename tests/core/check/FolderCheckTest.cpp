#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <limits>
#include <random>

#include "core/check/FolderCheck.h"
#include "core/month/MonthLoader.h"
#include "core/store/ScriptedOperator.h"
#include "core/store/StoreFixture.h"
#include "core/store/WorkDataFiles.h"

namespace pb {
namespace {

class FolderCheck : public StoreFixture {
  protected:
    void Reset() {
        for (const auto& entry : std::filesystem::directory_iterator(folder_)) {
            std::filesystem::remove(entry.path());
        }
        CopySamples();
    }
    void Append(const std::string& name, const Bytes& record) {
        Bytes content = Read(name);
        content.insert(content.end(), record.begin(), record.end());
        Write(name, content);
    }
    // March 1999 of employee 001 as the samples hold it.
    MonthRecord March() const { return *ReadMonthRecord(files_, "001", 1999, 3); }
    std::string Report() const { return CheckReport(CheckFolder(files_)); }
};

TEST_F(FolderCheck, EachDamageIsNamedWithItsFile) {
    CopySamples();
    ASSERT_TRUE(CheckFolder(files_).Sound()) << Report();
    Bytes names = Read("Name.dat");
    PutShortString(names, kNameOffset, kNameLength, "山田山田山田山田山田");  // 20 bytes, full
    Write("Name.dat", names);
    ASSERT_TRUE(CheckFolder(files_).Sound()) << Report();

    struct Case {
        const char* what;
        std::function<void()> damage;
        const char* finding;
    };
    const Case cases[] = {
        {"a torn append",
         [&] {
             Append("1999_fv2.pbk", Bytes{1, 2});
         },
         "1999_fv2.pbk: 大きさ 3138 バイトがレコードの長さ 1568 の倍数ではありません"},
        {"a month of nobody",
         [&] {
             MonthRecord m = March();
             m.ID = "003";
             Append("1999_fv2.pbk", ToBytes(m));
         },
         "1999_fv2.pbk: 3 件目: 003 の 3月がありますが、003 は従業員として登録されていません"},
        {"a month twice", [&] { Append("1999_fv2.pbk", ToBytes(March())); },
         "1999_fv2.pbk: 3 件目: 001 の 3月が二度記録されています"},
        {"a month of no scheme with a cell that is no time",
         [&] {
             MonthRecord m = March();
             m.Month = 4;
             m.PayScheme = 7;
             m.Cells[0][2] = "25:00";
             Append("1999_fv2.pbk", ToBytes(m));
         },
         "1999_fv2.pbk: 3 件目: 001 の 4月の値が範囲外です（給与体系 7）\n"
         "1999_fv2.pbk: 3 件目: 001 の 4月に時刻として読めない値が 1 個あります（3 行 1 列 "
         "「25:00」 など）"},
        {"a clock-out of 24:30",
         [&] {
             MonthRecord m = March();
             m.Month = 6;
             m.Cells[1][0] = "24:30";
             Append("1999_fv2.pbk", ToBytes(m));
         },
         "001 の 6月に時刻として読めない値が 1 個あります（1 行 2 列 「24:30」 など）"},
        {"a negative wage generation",
         [&] {
             MonthRecord m = March();
             m.Month = 7;
             m.WagesGeneration = -1;
             Append("1999_fv2.pbk", ToBytes(m));
         },
         "001 の 7月の値が範囲外です（賃金の世代 -1）"},
        {"a month priced by a generation that is gone",
         [&] {
             MonthRecord m = March();
             m.Month = 5;
             m.WagesGeneration = 9;
             Append("1999_fv2.pbk", ToBytes(m));
         },
         "001 の 5月が使う第9世代の賃金データがありません"},
        {"a month paid by wages in force of an employee only the payroll program pays",
         [&] {
             MonthRecord m = March();
             m.Month = 8;
             m.WagesGeneration = 0;
             Append("1999_fv2.pbk", ToBytes(m));
             std::filesystem::remove(Path("DailyWages.dat"));
             Bytes names = Read("Name.dat");
             PutInt32(names, kWagesCodeOffset, 0);
             Write("Name.dat", names);
         },
         "001 の 8月が使う現在の賃金データがありません"},
        {"two wage records in force", [&] { Append("DailyWages.dat", ToBytes(Daily("001", 9))); },
         "Name.dat: 001 の現在の賃金データが DailyWages.dat に 2 件あります"},
        {"a rate above the forms' limit and a time that is no number",
         [&] {
             DailyWagesRecord wages = Daily("001", 9, 32001, false);
             wages.TimeToFinishWork = std::numeric_limits<double>::quiet_NaN();
             Append("DailyWages.dat", ToBytes(wages));
         },
         "DailyWages.dat: 2 件目: 001 の賃金データの値が範囲外です（時給 32001、時刻の値）"},
        {"wages of nobody", [&] { Append("TimeWages.dat", ToBytes(Time("004", 1))); },
         "Name.dat: TimeWages.dat に 004 の賃金データがありますが、従業員として登録されていません"},
        {"a wage code of another generation",
         [&] {
             NameRecord first = NameRecordFromBytes(Read("Name.dat"));
             first.WagesCode += 4;
             Bytes names = Read("Name.dat");
             const Bytes changed = ToBytes(first);
             std::copy(changed.begin(), changed.end(), names.begin());
             Write("Name.dat", names);
         },
         "の現在の賃金データは第"},
        {"settings the program cannot take",
         [&] {
             const std::string ini =
                 "[Calc_Set]\r\nOvertimeWorkFigure=\x8E\x9E"
                 "15min\r\n[Common]\r\nClosingDay=29\r\n";
             Write("PBOOK2.INI", Bytes(ini.begin(), ini.end()));
         },
         "PBOOK2.INI: [Calc_Set] OvertimeWorkFigure=時15min は整数ではありません（既定値 1 "
         "を使います）\n"
         "PBOOK2.INI: [Common] ClosingDay=29 は 0～28 ではありません（既定値 20 を使います）\n"},
        {"a change cut short", [&] { Write("Punchbook.jnl", Bytes{'x'}); },
         "Punchbook.jnl: 途中で止まった変更があります"},
    };
    for (const Case& c : cases) {
        Reset();
        c.damage();
        const FolderCheckResult result = CheckFolder(files_);
        EXPECT_FALSE(result.Sound()) << c.what;
        EXPECT_NE(CheckReport(result).find(c.finding), std::string::npos) << c.what << "\n"
                                                                          << CheckReport(result);
    }

    // A damaged Name.dat does not tell who is registered: no wage or month is
    // reported as of nobody because of it. More than 999 employees is damage
    // too, told from the size.
    for (const std::size_t size : {73ul, 1000 * kNameRecordSize}) {
        Reset();
        std::filesystem::resize_file(Path("Name.dat"), size);
        const FolderCheckResult result = CheckFolder(files_);
        EXPECT_EQ(result.problems, 1) << CheckReport(result);
        EXPECT_TRUE(CheckReport(result).starts_with("Name.dat: 大きさ " + std::to_string(size)))
            << CheckReport(result);
    }
}

TEST_F(FolderCheck, ManyFindingsOfOneFileAreCountedBeyondTheLimit) {
    CopySamples();
    MonthRecord m = March();
    m.ID = "003";
    for (int month = 1; month <= 12; ++month) {
        for (const char* id : {"003", "005", "006"}) {
            m.ID = id;
            m.Month = static_cast<std::uint16_t>(month);
            Append("1999_fv2.pbk", ToBytes(m));
        }
    }
    const FolderCheckResult result = CheckFolder(files_);
    EXPECT_EQ(result.problems, 36);
    ASSERT_EQ(result.findings.size(), static_cast<std::size_t>(kFindingsPerFile + 1));
    EXPECT_EQ(FindingText(result.findings.back()), "1999_fv2.pbk: ほかに 16 件あります");
    EXPECT_TRUE(CheckReport(result).ends_with(
        "36 件の問題が見つかりました。4 ファイル、42 レコードを調べました。\n"))
        << CheckReport(result);
}

// Months as the entry window stores them, calculated from random typed times
// under random wage conditions and rules, all pass: a clock-in after the
// regular start counts from the previous evening and gives days of 24 hours
// and more, which are no damage.
TEST_F(FolderCheck, EveryMonthTheCalculationStoresPasses) {
    std::mt19937 random(22);
    const auto pick = [&](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    ScriptedOperator op;
    for (int e = 1; e <= 8; ++e) {
        const std::string id = "00" + std::to_string(e);
        const bool hourly = e > 4;
        if (hourly) {
            TimeWagesRecord t = Time(id, 1, pick(0, 32000));
            t.WorkType = pick(8, 19);
            t.ClosingDay = pick(0, 31);
            for (auto* band : {&t.Band1Pays, &t.Band2Pays, &t.Band3Pays})
                for (std::int32_t& rate : *band)
                    rate = pick(0, 32000);
            t.ChargeDivideTime1 = pick(0, 288);
            t.ChargeDivideTime2 = pick(0, 288);
            t.ChargeDivideTime3 = pick(0, 288);
            WriteTimeRecord(files_, t, -1);
        } else {
            DailyWagesRecord d = Daily(id, 1, pick(0, 32000));
            d.WorkType = pick(0, 7);
            d.ClosingDay = pick(0, 31);
            const auto weekday = [&] { return std::max(pick(0, 7), -1 + 2 * pick(0, 1)); };
            d.HalfHoliday = weekday();
            d.Holiday = static_cast<std::uint8_t>(pick(0, 1));
            d.Holiday1 = weekday();
            for (double* time : {&d.TimeToStartWork, &d.TimeToFinishWork, &d.TimeToStartNight,
                                 &d.TimeToFinishMorning})
                *time = StepsToTime(pick(0, 287));
            d.TimeToFinishWorkHH = pick(0, 1) ? -1.0 : StepsToTime(pick(0, 287));
            d.WeekdayMorningPay = d.WeekdayNightPay = d.HolidayOverPay = pick(0, 32000);
            WriteDailyRecord(files_, d, -1);
        }
        WriteNameRecord(files_, Name(id, "社員" + id, (hourly ? 2001 : 1001)));
        for (int month = 1; month <= 12; ++month) {
            CalcSetSettings rules;
            rules.OvertimeWorkFigure = pick(1, 60);
            rules.TimeAdjustFigure = pick(0, 3);
            rules.FractionsHandle = pick(0, 1);
            rules.EndOfMonthPayment = pick(0, 1);
            OpenedMonth opened = OpenMonth(files_, rules, id, 2001, month, false);
            ASSERT_EQ(opened.status, OpenMonthStatus::Opened);
            for (DayCells& row : opened.input.cells) {
                for (int column = 1; column <= 4; ++column) {
                    if (pick(0, 4) != 0)
                        row[column] = MinutesToText(pick(0, 24 * 60 - 1));
                }
            }
            const MonthResult result = CalcMonth(opened.input);
            ASSERT_TRUE(WriteMonthRecord(files_, 2001,
                                         UpdatedMonthRecord(opened.record, opened, result), op));
        }
    }
    const FolderCheckResult result = CheckFolder(files_);
    EXPECT_TRUE(result.Sound()) << CheckReport(result);
    EXPECT_EQ(result.records, 8u + 8u + 96u);
}

// Whatever the month road (the entry window and the exporter) refuses to pay
// by, the check calls damaged: random fields of the samples' records set to
// values at and beyond their ranges, and every stored month opened.
TEST_F(FolderCheck, RefusesEveryFolderTheMonthRoadRefuses) {
    constexpr std::int32_t kMost = std::numeric_limits<std::int32_t>::max();
    constexpr std::int32_t kLeast = std::numeric_limits<std::int32_t>::min();
    const std::int32_t values[] = {kLeast, -2, -1, 0,  1,   2,   3,    7,    8,     9,
                                   19,     20, 31, 32, 288, 289, 1001, 2001, 32001, kMost};
    const double times[] = {std::numeric_limits<double>::quiet_NaN(), -1.5, -1.0, 0.5, 1.5};
    std::mt19937 random(8);
    const auto pick = [&](std::size_t count) {
        return std::uniform_int_distribution<std::size_t>(0, count - 1)(random);
    };
    const auto value = [&] { return values[pick(std::size(values))]; };

    // Decodes record `which` of `file`, lets `change` alter it, and writes it back.
    const auto alter = [&]<typename Record>(const std::string& file, std::size_t size,
                                            Record (*decode)(const Bytes&, std::size_t),
                                            const std::function<void(Record&)>& change) {
        Bytes content = Read(file);
        const std::size_t at = pick(content.size() / size) * size;
        Record record = decode(content, at);
        change(record);
        const Bytes changed = ToBytes(record);
        std::copy(changed.begin(), changed.end(), content.begin() + static_cast<long>(at));
        Write(file, content);
    };
    const std::function<void()> damages[] = {
        [&] {
            alter("1999_fv2.pbk", kMonthRecordSize, &MonthRecordFromBytes,
                  std::function<void(MonthRecord&)>([&](MonthRecord& m) {
                      std::int32_t* fields[] = {&m.PayScheme, &m.WagesGeneration, &m.DayCount};
                      *fields[pick(3)] = value();
                  }));
        },
        [&] {
            alter("Name.dat", kNameRecordSize, &NameRecordFromBytes,
                  std::function<void(NameRecord&)>([&](NameRecord& n) { n.WagesCode = value(); }));
        },
        [&] {
            alter("DailyWages.dat", kDailyWagesRecordSize, &DailyWagesRecordFromBytes,
                  std::function<void(DailyWagesRecord&)>([&](DailyWagesRecord& d) {
                      std::int32_t* fields[] = {
                          &d.Generation, &d.WorkType,          &d.ClosingDay,     &d.HalfHoliday,
                          &d.Holiday3,   &d.WeekdayEarMornPay, &d.HolidayNightPay};
                      const std::size_t which = pick(std::size(fields) + 2);
                      if (which == std::size(fields))
                          d.Current = static_cast<std::uint8_t>(pick(3));
                      else if (which > std::size(fields))
                          d.TimeToStartNight = times[pick(std::size(times))];
                      else
                          *fields[which] = value();
                  }));
        },
        [&] {
            alter("TimeWages.dat", kTimeWagesRecordSize, &TimeWagesRecordFromBytes,
                  std::function<void(TimeWagesRecord&)>([&](TimeWagesRecord& t) {
                      std::int32_t* fields[] = {&t.Generation,         &t.WorkType,
                                                &t.ClosingDay,         &t.TimePay,
                                                &t.Band2Pays[pick(7)], &t.ChargeDivideTime2};
                      const std::size_t which = pick(std::size(fields) + 1);
                      if (which == std::size(fields))
                          t.Current = static_cast<std::uint8_t>(pick(3));
                      else
                          *fields[which] = value();
                  }));
        },
    };
    int refusedFolders = 0;
    for (int run = 0; run < 300; ++run) {
        Reset();
        for (std::size_t n = pick(3) + 1; n > 0; --n)
            damages[pick(std::size(damages))]();
        bool refused = false;
        const Bytes year = Read("1999_fv2.pbk");
        for (std::size_t at = 0; at < year.size(); at += kMonthRecordSize) {
            const MonthRecord m = MonthRecordFromBytes(year, at);
            try {
                refused |= OpenMonth(files_, CalcSetSettings{}, m.ID, 1999, m.Month, true).status !=
                           OpenMonthStatus::Opened;
            } catch (const FileError&) {
                refused = true;
            }
        }
        refusedFolders += refused;
        if (refused) {
            EXPECT_FALSE(CheckFolder(files_).Sound()) << "run " << run << "\n" << Report();
        }
    }
    EXPECT_GT(refusedFolders, 100);  // the damages reach what the month road reads
}

}  // namespace
}  // namespace pb
