#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <limits>

#include "core/check/FolderCheck.h"
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
         "1999_fv2.pbk: 3 件目: 001 の給与体系 7 は 1（日給制）でも 2（時給制）でもありません\n"
         "1999_fv2.pbk: 3 件目: 001 の 4月に時刻として読めない値が 1 個あります（3 行 1 列 "
         "「25:00」 など）"},
        {"a month priced by a generation that is gone",
         [&] {
             MonthRecord m = March();
             m.Month = 5;
             m.WagesGeneration = 9;
             Append("1999_fv2.pbk", ToBytes(m));
         },
         "001 の 5月が使う第9世代の賃金データがありません"},
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
    // reported as of nobody because of it.
    Reset();
    Append("Name.dat", Bytes{1});
    const FolderCheckResult result = CheckFolder(files_);
    EXPECT_EQ(result.problems, 1) << CheckReport(result);
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

}  // namespace
}  // namespace pb
