// Importing clock times: the plan (which days, which refusals), keep or
// replace, and the months written as the entry window saves them.
#include "core/import/ClockImport.h"

#include <gtest/gtest.h>

#include "core/export/MonthExport.h"
#include "core/month/MonthEntry.h"
#include "core/store/ScriptedOperator.h"
#include "core/store/StoreFixture.h"
#include "core/store/WorkDataFiles.h"
#include "core/timecard/TimecardFixtures.h"
#include "core/timecard/WorkPattern.h"

namespace pb {
namespace {

class ClockImportTest : public StoreFixture {
  protected:
    void SetUp() override {
        StoreFixture::SetUp();
        DailyWagesRecord only = Daily("003", 1);
        only.WorkType = 0;  // clock-out only
        TimeWagesRecord hourly = Time("002", 1);
        hourly.ClosingDay = 20;
        Write("Name.dat", Join({Name("001", "山田", 1001), Name("002", "鈴木", 2001),
                                Name("003", "佐藤", 1001)}));
        Write("DailyWages.dat", Join({Daily("001", 1), only}));
        Write("TimeWages.dat", Join({hourly}));
    }

    // The month as the entry window saves it after these cells were typed.
    MonthRecord Saved(const std::string& id, int year, int month,
                      const std::vector<std::pair<EntryCell, std::string>>& typed) {
        MonthEntry entry(OpenMonth(files_, rules_, id, year, month, false));
        for (const auto& [cell, text] : typed)
            EXPECT_TRUE(entry.Type(cell, text));
        return entry.Collect(rules_);
    }
    void Store(int year, const MonthRecord& record) {
        ScriptedOperator op;
        ASSERT_TRUE(WriteMonthRecord(files_, year, record, op));
    }
    ImportPlan Plan(const std::string& csv, const ImportOptions& options = {}) {
        return PlanImport(files_, rules_, ReadClockCsv(csv, ClockLayout{}), options);
    }

    CalcSetSettings rules_ = testing::Rules(15);
};

TEST_F(ClockImportTest, ThePlanFillsComparesAndRefusesRowByRow) {
    // Pay month April 2024 of a closing day of 20: March 21 … April 20; 04/01 is row 12.
    Store(2024,
          Saved("001", 2024, 4,
                {{{1, 13}, "09:00"}, {{2, 13}, "18:00"}, {{1, 14}, "09:00"}, {{2, 14}, "18:00"}}));
    const ImportPlan plan = Plan(
        "ID,日付,出勤,退勤,休憩開始,休憩終了\n"
        "1,2024/4/1,9:00,18:00,,\n"              // 2: filled
        "001,2024/4/2,9:00,19:00,,\n"            // 3: differs from the stored 18:00
        "1,2024-04-03,0900,1800,,\n"             // 4: as stored
        "5,2024/4/1,9:00,18:00,,\n"              // 5: unknown ID
        "1,2024/4/5,9:00,18:00,,\n"              // 6: the same day twice
        "1,2024/04/05,9:00,17:00,,\n"            // 7
        "1,2024/4/6,9:00,18:61,,\n"              // 8: no time
        "3,2024/4/1,9:00,,,\n"                   // 9: pattern 0 records no clock-in
        "2,2024/4/21,9:00,翌1:30,12:00,13:00\n"  // 10: hourly, pay month May
        "1,2024/4/7,,,,\n"                       // 11: nothing to fill
        "3,2024/4/2,9:00,18:00,,\n");            // 12: only the clock-out is taken
    const std::vector<RefusedRow> refused{
        {5, "従業員番号 005 は登録されていません。（" + files_.NameFile + "）"},
        {6, "7行目と同じ日です。"},
        {7, "6行目と同じ日です。"},
        {8, "退社時間「18:61」は時刻ではありません。"},
        {9, "勤務体系 00 では記録しない時刻です。"},
    };
    EXPECT_EQ(plan.refused.size(), refused.size());
    for (std::size_t i = 0; i < std::min(refused.size(), plan.refused.size()); ++i)
        EXPECT_EQ(plan.refused[i], refused[i]) << i;
    EXPECT_EQ(plan.emptyRows, 1);

    ASSERT_EQ(plan.months.size(), 3u);
    const ImportMonth& yamada = plan.months[0];
    EXPECT_EQ(std::tie(yamada.id, yamada.year, yamada.month), std::make_tuple("001", 2024, 4));
    EXPECT_TRUE(yamada.stored);
    EXPECT_EQ(yamada.unchanged, 1);
    ASSERT_EQ(yamada.days.size(), 2u);
    EXPECT_EQ(yamada.days[0].row, 12);
    EXPECT_FALSE(yamada.days[0].differs);
    EXPECT_TRUE(yamada.days[1].differs);
    EXPECT_EQ(yamada.days[1].stored[2], "18:00");
    EXPECT_EQ(yamada.days[1].incoming[2], "19:00");
    const ImportMonth& suzuki = plan.months[1];
    EXPECT_EQ(std::tie(suzuki.id, suzuki.year, suzuki.month), std::make_tuple("002", 2024, 5));
    ASSERT_EQ(suzuki.days.size(), 1u);
    EXPECT_EQ(suzuki.days[0].row, 1);
    EXPECT_EQ(suzuki.days[0].incoming, (DayCells{"", "09:00", "12:00", "13:00", "01:30"}));
    EXPECT_EQ(plan.months[2].days[0].incoming[kClockInColumn], "");
    EXPECT_EQ(plan.months[2].days[0].incoming[kClockOutColumn], "18:00");

    // Keep leaves the differing day, replace takes it; both store the month as
    // the entry window would with the same cells typed.
    const FolderPicture before = Picture();
    const MonthRecord hourly =
        Saved("002", 2024, 5,
              {{{1, 1}, "09:00"}, {{2, 1}, "12:00"}, {{3, 1}, "13:00"}, {{4, 1}, "01:30"}});
    const MonthRecord replaced =
        Saved("001", 2024, 4, {{{1, 12}, "09:00"}, {{2, 12}, "18:00"}, {{2, 13}, "19:00"}});
    const ImportReport kept = WriteImport(files_, plan, ImportChoice::Keep);
    ASSERT_EQ(kept.months.size(), 3u);
    EXPECT_EQ(kept.months[0].kept, 1);
    EXPECT_EQ(ReadMonthRecord(files_, "001", 2024, 4)->Cells[1][13], "18:00");
    EXPECT_EQ(*ReadMonthRecord(files_, "002", 2024, 5), hourly);
    EXPECT_NE(kept.Text().find("3か月分を記録しました（3日記入、0日置き換え、1日そのまま）"),
              std::string::npos);

    std::filesystem::remove(Path("2024_fv2.pbk"));
    Write("2024_fv2.pbk", before.at("2024_fv2.pbk"));
    const DataFiles fresh = AssignDataFiles(folder_);
    WriteImport(fresh, plan, ImportChoice::Replace);
    EXPECT_EQ(*ReadMonthRecord(fresh, "001", 2024, 4), replaced);
}

TEST_F(ClockImportTest, NothingIsWrittenOverAMonthSavedSinceThePlanOrIntoAReadOnlyFolder) {
    const ImportPlan plan = Plan("1,2024/4/1,9:00,18:00,,\n2,2024/4/1,9:00,18:00,,\n");
    ASSERT_EQ(plan.months.size(), 2u);
    Store(2024, Saved("002", 2024, 4, {{{1, 1}, "08:00"}}));
    const FolderPicture before = Picture();
    EXPECT_THROW(WriteImport(files_, plan, ImportChoice::Replace), ImportOutdated);
    EXPECT_EQ(Picture(), before);

    ReadOnlyFileSystem readOnly;
    const ImportPlan again = Plan("1,2024/4/1,9:00,18:00,,\n");
    EXPECT_THROW(WriteImport(AssignDataFiles(folder_, readOnly), again, ImportChoice::Replace),
                 FileError);
    EXPECT_EQ(Picture(), before);
}

// A month exported as CSV, removed and imported again is the same record,
// byte for byte, whether the CSV is UTF-8 or Shift-JIS.
TEST_F(ClockImportTest, AnExportedMonthImportsBackToTheSameRecord) {
    const struct {
        std::string id;
        int month;
        std::vector<std::pair<EntryCell, std::string>> typed;
    } months[] = {
        {"001",
         4,
         {{{1, 1}, "07:40"},
          {{2, 1}, "01:30"},
          {{1, 2}, "09:00"},
          {{2, 2}, "21:10"},
          {{2, 3}, "18:00"},
          {{1, 31}, "08:00"},
          {{2, 31}, "19:00"}}},
        {"002",
         6,
         {{{1, 1}, "09:00"},
          {{2, 1}, "12:00"},
          {{3, 1}, "13:00"},
          {{4, 1}, "23:30"},
          {{1, 5}, "22:00"},
          {{4, 5}, "06:00"}}},
    };
    for (const auto& m : months) {
        const MonthRecord saved = Saved(m.id, 2024, m.month, m.typed);
        Store(2024, saved);
        for (const bool shiftJis : {false, true}) {
            const OpenedMonth opened = OpenMonth(files_, rules_, m.id, 2024, m.month, true);
            const std::string csv = MonthFileBytes(opened, {false, false, shiftJis});
            ScriptedOperator op;
            ASSERT_TRUE(PurgeMonthRecords(files_, m.id, 2024, m.month, op));
            ASSERT_FALSE(ReadMonthRecord(files_, m.id, 2024, m.month));
            const ImportPlan plan = Plan(csv, {m.id, 2024, m.month});
            EXPECT_TRUE(plan.refused.empty()) << plan.refused.front().reason;
            WriteImport(files_, plan, ImportChoice::Keep);
            const auto back = ReadMonthRecord(files_, m.id, 2024, m.month);
            ASSERT_TRUE(back);
            EXPECT_EQ(ToBytes(*back), ToBytes(saved)) << m.id << shiftJis;
        }
    }
}

}  // namespace
}  // namespace pb
