#include "core/convert/DataConversion.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "OldFiles.h"
#include "core/store/EmployeeFiles.h"
#include "core/store/FaultSweep.h"
#include "core/store/WorkDataFiles.h"

namespace pb {
namespace {

const char kAcrossSchemes[] =
    "従業員番号 001 は区分を跨って登録されているので\r\nデータをコンバートする事は出来ません";
const char kAlreadyHere[] =
    "従業員番号 001 は現在 PBook Ver2.0 "
    "に登録されているので\r\nデータをコンバートする事は出来ません";

class Conversion : public FaultSweep {
  protected:
    void OldFile(const std::vector<old::Employee>& list, const std::string& name = "Hiredata.dat") {
        Write(name, old::Employees(list));
    }

    // Lists the old file and chooses every employee in it, as the dialog's ＞＞ does.
    ConversionLists ChooseAll() {
        ConversionLists lists;
        LoadOldEmployeeList(files_, lists.Chosen);
        SortEmployees(lists.Chosen);
        return lists;
    }

    std::vector<std::string> Items(const std::vector<OldEmployee>& list) {
        std::vector<std::string> items;
        for (const auto& e : list)
            items.push_back(e.Item());
        return items;
    }

    std::vector<DailyWagesRecord> DailyRecords() {
        std::vector<DailyWagesRecord> records;
        const Bytes b = Has("DailyWages.dat") ? Read("DailyWages.dat") : Bytes{};
        for (std::size_t o = 0; o < b.size(); o += kDailyWagesRecordSize)
            records.push_back(DailyWagesRecordFromBytes(b, o));
        return records;
    }
};

TEST_F(Conversion, GenerationsOfADailyEmployeeBecomeWageRecords) {
    OldFile({{.id = "001", .name = "山田太郎", .current = 0, .generation = 1, .overPay = 1000},
             {.id = "002", .name = "鈴木", .workType = 9, .timePay = 900},
             {.id = "001",
              .name = "山田太郎",
              .current = 1,
              .generation = 2,
              .workType = 3,
              .halfHoliday = 7,
              .overPay = 1500,
              .nightPay = 1800,
              .earMornPay = 1600}},
            "HIREDATA.DAT");
    Write("001tc.dat", old::Months({{.generation = 2}}));

    ConversionLists lists;
    LoadOldEmployeeList(files_, lists.Old);
    EXPECT_EQ(Items(lists.Old), (std::vector<std::string>{"002 鈴木", "001 山田太郎"}));
    lists.Chosen = {{"001", "山田太郎"}};
    ScriptedOperator op;
    RunConversion(files_, lists, op);

    EXPECT_TRUE(op.calls.empty());
    EXPECT_EQ(Items(lists.Done), std::vector<std::string>{"001 山田太郎"});
    EXPECT_TRUE(lists.Chosen.empty());
    const auto daily = DailyRecords();
    ASSERT_EQ(daily.size(), 2u);
    EXPECT_EQ(daily[0].Generation, 1);
    EXPECT_EQ(daily[0].Current, 0);
    EXPECT_EQ(daily[0].WeekdayOverPay, 1000);
    const DailyWagesRecord& d = daily[1];
    EXPECT_EQ(d.Generation, 2);
    EXPECT_EQ(d.Current, 1);
    EXPECT_EQ(d.WorkType, 3);
    EXPECT_EQ(d.ClosingDay, 20);
    EXPECT_EQ(d.HalfHoliday, 7);
    EXPECT_EQ(d.Holiday, 0);
    EXPECT_EQ(d.Holiday1, -1);
    EXPECT_EQ(d.Holiday3, -1);
    EXPECT_EQ(d.WeekdayMorningPay, 1500);
    EXPECT_EQ(d.WeekdayOverPay, 1500);
    EXPECT_EQ(d.WeekdayNightPay, 1800);
    EXPECT_EQ(d.WeekdayEarMornPay, 1600);
    EXPECT_EQ(d.HolidayMorningPay + d.HolidayOverPay + d.HolidayEarMornPay + d.HolidayNightPay, 0);
    EXPECT_EQ(d.TimeToStartNight, 22.0 / 24);
    EXPECT_EQ(d.TimeToFinishWorkHH, 0.5);
    EXPECT_FALSE(Has("TimeWages.dat"));
    // The reserved words of the stored record: 0 at 12, 1 at 24.
    const Bytes stored = Read("DailyWages.dat");
    EXPECT_EQ(GetInt32(stored, kDailyWagesRecordSize + 12), 0);
    EXPECT_EQ(GetInt32(stored, kDailyWagesRecordSize + 24), 1);

    EXPECT_EQ(NameRecordFromBytes(Read("Name.dat")), (NameRecord{"001", "山田太郎", 0, 1002}));

    const auto month = ReadMonthRecord(files_, "001", 1999, 4);
    ASSERT_TRUE(month);
    EXPECT_EQ(month->PayScheme, 1);
    EXPECT_EQ(month->WagesGeneration, 2);
    EXPECT_EQ(month->TotalOverPay, 4500);
    EXPECT_EQ(month->TotalOverMinutes, 750);
    EXPECT_EQ(month->DayCount, 0);
    EXPECT_EQ(month->WorkDays, 0);
    EXPECT_EQ(month->Cells[3][30], "c4r31");
    EXPECT_EQ(month->Cells[4][0], "");

    // The old files now carry their backup names.
    EXPECT_FALSE(Has("HIREDATA.DAT"));
    EXPECT_TRUE(Has("Hiredata.cbf"));
    EXPECT_FALSE(Has("001tc.dat"));
    EXPECT_EQ(Read("001tc.cbf"), old::Months({{.generation = 2}}));
}

TEST_F(Conversion, HourlyMonthsFollowTheBreakOfTheirGeneration) {
    struct Case {
        int workType;
        std::vector<std::string> columns;  // new columns 1..4 of day 5
    };
    for (const Case& c :
         {Case{8, {"c1r05", "", "", "c2r05"}}, Case{9, {"c1r05", "c2r05", "c3r05", "c4r05"}}}) {
        SCOPED_TRACE(c.workType);
        for (const auto& entry : std::filesystem::directory_iterator(folder_))
            std::filesystem::remove(entry.path());
        OldFile({{.id = "005", .name = "佐藤", .current = 0, .generation = 1, .workType = 11},
                 {.id = "005",
                  .name = "佐藤",
                  .generation = 2,
                  .workType = c.workType,
                  .timePay = 950}});
        Write("005TC.DAT", old::Months({{.generation = 2, .month = 5}, {.generation = 1}}));

        ConversionLists lists = ChooseAll();
        ScriptedOperator op;
        RunConversion(files_, lists, op);

        const auto time = ReadTimeRecord(files_, "005", 0);
        ASSERT_TRUE(time);
        EXPECT_EQ(time->TimePay, 950);
        EXPECT_EQ(time->Generation, 2);
        EXPECT_EQ(NameRecordFromBytes(Read("Name.dat")).WagesCode, 2002);
        const auto month = ReadMonthRecord(files_, "005", 1999, 5);
        ASSERT_TRUE(month);
        EXPECT_EQ(month->PayScheme, 2);
        for (int col = 0; col < 4; ++col)
            EXPECT_EQ(month->Cells[col][4], c.columns[col]) << "column " << col + 1;
        EXPECT_EQ(month->Cells[5][4], "");
        // The April month was kept with generation 1 (work type 11: with a break).
        EXPECT_EQ(ReadMonthRecord(files_, "005", 1999, 4)->Cells[2][0], "c3r01");
    }
}

TEST_F(Conversion, RefusedEmployeesLeaveEverythingAsItWas) {
    struct Case {
        const char* what;
        std::vector<old::Employee> old;
        Bytes names;
        const char* warning;
    };
    const Bytes registered = Join({Name("001", "山田", 1001)});
    const Case cases[] = {
        {"across schemes",
         {{.id = "001", .name = "山田", .current = 0, .workType = 3},
          {.id = "001", .name = "山田", .generation = 2, .workType = 9}},
         {},
         kAcrossSchemes},
        {"work type 0", {{.id = "001", .name = "山田", .workType = 0}}, {}, kAcrossSchemes},
        {"registered here", {{.id = "001", .name = "山田"}}, registered, kAlreadyHere},
        {"registered here by another name",
         {{.id = "001", .name = "山本"}},
         registered,
         kAlreadyHere},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (const auto& entry : std::filesystem::directory_iterator(folder_))
            std::filesystem::remove(entry.path());
        OldFile(c.old);
        Write("001tc.dat", old::Months({{}}));
        if (!c.names.empty())
            Write("Name.dat", c.names);
        const FolderPicture before = Picture();

        ConversionLists lists = ChooseAll();
        ScriptedOperator op;
        RunConversion(files_, lists, op);

        ASSERT_EQ(op.calls.size(), 1u);
        EXPECT_EQ(op.calls[0].kind, "warning");
        EXPECT_EQ(op.calls[0].text, c.warning);
        // Nothing converted: the backups were put back at once.
        EXPECT_TRUE(Picture() == before);
        EXPECT_TRUE(lists.Done.empty());
        EXPECT_TRUE(lists.Refused.empty());
        EXPECT_EQ(lists.Old.size(), 1u);
    }
}

TEST_F(Conversion, AnotherNameInTheSiblingProgramIsAsked) {
    struct Case {
        Reply reply;
        const char* converted;  // item in the done list, or nothing
    };
    for (const Case& c : {Case{Reply::Yes, "001 鈴木一郎"}, Case{Reply::No, "001 鈴木"},
                          Case{Reply::Cancel, nullptr}}) {
        for (const auto& entry : std::filesystem::directory_iterator(folder_))
            std::filesystem::remove(entry.path());
        OldFile({{.id = "001", .name = "鈴木"}});
        Write("Name.dat", Join({Name("001", "鈴木一郎", 0, 1)}));
        const FolderPicture before = Picture();

        ConversionLists lists = ChooseAll();
        ScriptedOperator op;
        op.warningReplies = {c.reply};
        RunConversion(files_, lists, op);

        ASSERT_EQ(op.calls.size(), 1u);
        EXPECT_EQ(op.calls[0].buttons, Buttons::YesNoCancel);
        EXPECT_EQ(op.calls[0].text,
                  "従業員番号 001 は現在 Salarium に登録されている氏名と違います。\r\n"
                  "現在 Salarium で登録されている名前は『鈴木一郎』です。\r\n"
                  "氏名を『鈴木一郎』に変更してコンバートしますか？");
        EXPECT_TRUE(lists.Refused.empty());
        if (!c.converted) {
            EXPECT_TRUE(lists.Done.empty());
            EXPECT_TRUE(Picture() == before);
            continue;
        }
        EXPECT_EQ(Items(lists.Done), std::vector<std::string>{c.converted});
        const NameRecord name = NameRecordFromBytes(Read("Name.dat"));
        EXPECT_EQ(name.ID + " " + name.Name, c.converted);
        EXPECT_EQ(name.Linked, 1);
        EXPECT_EQ(name.WagesCode, 1001);
        // Without an old month file the employee comes over without months.
        EXPECT_FALSE(Has("1999_fv2.pbk"));
    }
}

TEST_F(Conversion, ASecondRunAsksBeforeDroppingTheEarlierBackups) {
    OldFile({{.id = "001", .name = "山田"}, {.id = "002", .name = "鈴木"}}, "hiredata.dat");
    ConversionLists lists;
    LoadOldEmployeeList(files_, lists.Old);
    lists.Chosen = {lists.Old[0]};
    lists.Old.erase(lists.Old.begin());
    ScriptedOperator first;
    RunConversion(files_, lists, first);
    ASSERT_TRUE(Has("Hiredata.cbf"));
    ASSERT_TRUE(Has("Name.dat"));

    const char question[] =
        "前回コンバート時に作成されたバックアップファイルは\r\n無効になります。\r\n\r\nよろしいです"
        "か？";
    lists.Chosen = lists.Old;
    lists.Old.clear();
    const FolderPicture before = Picture();
    ScriptedOperator no;
    no.answers = {false};
    RunConversion(files_, lists, no);
    ASSERT_EQ(no.calls.size(), 1u);
    EXPECT_EQ(no.calls[0].text, question);
    EXPECT_TRUE(Picture() == before);
    EXPECT_EQ(lists.Chosen.size(), 1u);

    ScriptedOperator yes;
    RunConversion(files_, lists, yes);
    EXPECT_EQ(yes.Kinds(), (std::vector<std::string>{"question", "warning"}));
    EXPECT_FALSE(Has("Hiredata.cbf"));
    EXPECT_EQ(Items(lists.Refused), std::vector<std::string>{"002 鈴木"});
    EXPECT_EQ(Items(lists.Done), std::vector<std::string>{"001 山田"});
}

TEST_F(Conversion, RestorePutsEveryBackupBack) {
    Write("Name.dat", Join({Name("009", "高橋", 1001)}));
    Write("DailyWages.dat", Join({Daily("009", 1)}));
    Write("1999_fv2.pbk", ToBytes(Month("009", 4)));
    OldFile({{.id = "001", .name = "山田"}, {.id = "002", .name = "鈴木", .workType = 8}},
            "HIREDATA.DAT");
    Write("001Tc.dat", old::Months({{.year = 1999}, {.year = 2000, .month = 1}}));
    const FolderPicture before = Picture();

    ConversionLists lists = ChooseAll();
    ScriptedOperator op;
    RunConversion(files_, lists, op);
    ASSERT_EQ(lists.Done.size(), 2u);
    ASSERT_TRUE(ReadMonthRecord(files_, "001", 1999, 4));
    ASSERT_TRUE(Has("2000_fv2.pbk"));
    ASSERT_TRUE(Has("TimeWages.dat"));

    RestoreBackups(files_, lists, op);
    EXPECT_TRUE(op.calls.empty());
    // The year file and the hourly wage file the run created are gone again.
    FolderPicture now = Picture();
    EXPECT_EQ(now.count("Hiredata.dat"), 1u);
    now["HIREDATA.DAT"] = now["Hiredata.dat"];
    now.erase("Hiredata.dat");
    now["001Tc.dat"] = now["001tc.dat"];
    now.erase("001tc.dat");
    EXPECT_TRUE(now == before);
    EXPECT_EQ(Items(lists.Old), (std::vector<std::string>{"001 山田", "002 鈴木"}));
    EXPECT_TRUE(lists.Done.empty());
}

class ConversionFaults : public Conversion {
  protected:
    void Folder() {
        Write("Name.dat", Join({Name("009", "高橋", 1001), Name("003", "佐藤", 0, 1)}));
        Write("DailyWages.dat", Join({Daily("009", 1)}));
        Write("TimeWages.dat", Join({Time("004", 1)}));
        Write("1999_fv2.pbk", ToBytes(Month("009", 4)));
        OldFile({{.id = "001", .name = "山田", .current = 0},
                 {.id = "001", .name = "山田", .generation = 2},
                 {.id = "002", .name = "鈴木", .workType = 8, .timePay = 1000},
                 {.id = "003", .name = "佐藤"}},
                "Hiredata.dat");
        Write("001tc.dat", old::Months({{.year = 1999}, {.year = 1999, .month = 5}}));
        Write("002tc.dat", old::Months({{.year = 1999, .month = 6}}));
    }
};

// A run failing or stopped at any step, once repaired, leaves the folder wholly
// before or after the run: nobody converted twice, nobody half converted, the
// earlier backups kept. The restore then brings back the folder byte for byte.
TEST_F(ConversionFaults, ARunEndsWholeWhereverItStopsAndCanBeUndone) {
    Folder();
    afterRepair = [this](const FolderPicture& before) {
        ConversionLists lists;
        ScriptedOperator op;
        RestoreBackups(files_, lists, op);
        EXPECT_TRUE(op.calls.empty());
        EXPECT_TRUE(Picture() == before) << Differences(Picture(), before);
    };
    Sweep([this](const DataFiles& f, ScriptedOperator& op) {
        ConversionLists lists = ChooseAll();
        RunConversion(f, lists, op);
        const bool ok = !op.Saw("error");
        EXPECT_EQ(lists.Done.size(), ok ? 3u : 0u);
        return ok;
    });
}

// So does the restore, and a second restore finishes the work.
TEST_F(ConversionFaults, ARestoreEndsWholeWhereverItStopsAndCanBeRepeated) {
    Folder();
    const FolderPicture original = Picture();
    ConversionLists lists = ChooseAll();
    ScriptedOperator op;
    RunConversion(files_, lists, op);
    ASSERT_EQ(lists.Done.size(), 3u);
    afterRepair = [&](const FolderPicture&) {
        ConversionLists again;
        ScriptedOperator quiet;
        RestoreBackups(files_, again, quiet);
        EXPECT_TRUE(quiet.calls.empty());
        EXPECT_TRUE(Picture() == original) << Names(Picture());
    };
    Sweep([](const DataFiles& f, ScriptedOperator& restoreOp) {
        ConversionLists restoreLists;
        RestoreBackups(f, restoreLists, restoreOp);
        return !restoreOp.Saw("error");
    });
}

}  // namespace
}  // namespace pb
