#include <gtest/gtest.h>

#include <functional>

#include "ScriptedOperator.h"
#include "StoreFixture.h"
#include "core/store/EmployeeFiles.h"
#include "core/store/WorkDataFiles.h"
#include "support/FaultyFileSystem.h"

namespace pb {
namespace {

class EmployeeFiles : public StoreFixture {};

TEST_F(EmployeeFiles, LookupStatusCoversLinkAndWagesCodeAndName) {
    Write("Name.dat", Join({Name("001", "山田", 0, 1), Name("002", "鈴木", 1003, 1),
                            Name("003", "佐藤", 2001, 0), Name("003", "後の佐藤", 1001, 0)}));
    using enum LookupStatus;
    const struct {
        std::string id, name;
        LookupStatus status;
        int number, wagesCode;
        bool sameName, linked, registeredHere;
    } cases[] = {
        {"009", "誰か", NotOnFile, 1, 0, false, false, false},
        {"001", "山田", PayrollOnly, 2, 0, true, true, false},
        {"001", "山田花子", PayrollOnlyOtherName, 3, 0, false, true, false},
        {"002", "鈴木", Linked, 4, 1003, true, true, true},
        {"002", "すずき", LinkedOtherName, 5, 1003, false, true, true},
        {"003", "佐藤", Registered, 6, 2001, true, false, true},
        // the first record of the ID counts
        {"003", "後の佐藤", RegisteredOtherName, 7, 2001, false, false, true},
    };
    for (const auto& c : cases) {
        const LookupResult r = LookupEmployee(files_, c.id, c.name);
        EXPECT_EQ(r.Status, c.status) << c.id << " " << c.name;
        EXPECT_EQ(static_cast<int>(r.Status), c.number) << c.id << " " << c.name;
        EXPECT_EQ(r.WagesCode, c.wagesCode) << c.id << " " << c.name;
        EXPECT_EQ(r.SameName(), c.sameName) << c.id << " " << c.name;
        EXPECT_EQ(r.Linked(), c.linked) << c.id << " " << c.name;
        EXPECT_EQ(r.RegisteredHere(), c.registeredHere) << c.id << " " << c.name;
        const NameRecord made = MakeNameRecord(files_, c.id, c.name, 1001);
        EXPECT_EQ(made.Linked, c.linked ? 1 : 0) << c.id;
    }
}

TEST_F(EmployeeFiles, NameComparisonUsesTheStoredTwentyBytes) {
    const std::string longName = "あいうえおかきくけこさしす";
    Write("Name.dat", ToBytes(MakeNameRecord(files_, "001", longName, 1001)));
    EXPECT_EQ(LookupEmployee(files_, "001", longName).Status, LookupStatus::Registered);
    EXPECT_EQ(FindEmployeeName(files_, "001", kBothSchemes), "あいうえおかきくけこ");
}

TEST_F(EmployeeFiles, SchemeListsAndPaySchemeFollowTheWagesCode) {
    Write("Name.dat", Join({Name("001", "a", 1001), Name("002", "b", 2500), Name("003", "c", 3500),
                            Name("004", "d", 1000), Name("005", "e", 0), Name("006", "f", 20999),
                            Name("007", "g", 1999), Name("008", "h", 2000)}));
    const struct {
        SchemeFilter scheme;
        std::vector<std::string> ids;
    } lists[] = {
        {kBothSchemes, {"001", "002", "003", "004", "005", "006", "007", "008"}},
        {PayScheme::Daily, {"001", "007"}},
        {PayScheme::Hourly, {"002", "003"}},
    };
    for (const auto& l : lists) {
        std::vector<std::string> ids = {"keep"};
        ListEmployeeIDs(files_, ids, l.scheme);
        ids.erase(ids.begin());
        EXPECT_EQ(ids, l.ids) << "list " << &l - lists;
    }
    // Only 1xxx and 2xxx name a scheme of ours; only 0 the payroll program.
    const struct {
        std::string id;
        std::optional<PayScheme> scheme;
        bool payrollOnly;
    } schemes[] = {{"001", PayScheme::Daily, false},
                   {"002", PayScheme::Hourly, false},
                   {"003", {}, false},
                   {"004", PayScheme::Daily, false},
                   {"005", {}, true},
                   {"006", {}, false},
                   {"008", PayScheme::Hourly, false}};
    for (const auto& s : schemes) {
        EXPECT_EQ(RegisteredScheme(files_, s.id), s.scheme) << s.id;
        EXPECT_EQ(FindWagesCode(files_, s.id)->PayrollOnly(), s.payrollOnly) << s.id;
    }
    EXPECT_FALSE(FindWagesCode(files_, "999"));

    EXPECT_EQ(FindEmployeeName(files_, "004", kBothSchemes), "d");
    EXPECT_EQ(FindEmployeeName(files_, "004", PayScheme::Daily), "");  // 1000 is in neither scheme
    EXPECT_EQ(FindEmployeeName(files_, "002", PayScheme::Daily), "");
    EXPECT_EQ(FindEmployeeName(files_, "002", PayScheme::Hourly), "b");
    EXPECT_EQ(FindNameIndex(files_, "006"), 5);
    EXPECT_EQ(FindNameIndex(files_, "010"), -1);
}

TEST_F(EmployeeFiles, MissingNameFileMeansNoEmployees) {
    std::vector<std::string> ids;
    ListEmployeeIDs(files_, ids, kBothSchemes);
    EXPECT_TRUE(ids.empty());
    EXPECT_FALSE(FindWagesCode(files_, "001"));
    EXPECT_EQ(FindEmployeeName(files_, "001", kBothSchemes), "");
    EXPECT_EQ(LookupEmployee(files_, "001", "a").Status, LookupStatus::NotOnFile);
    EXPECT_EQ(FindCurrentDailyIndex(files_, "001"), -1);
    EXPECT_FALSE(ReadTimeRecord(files_, "001", 0).has_value());
}

TEST_F(EmployeeFiles, GenerationsAreReadRetiredAndCompared) {
    Write("DailyWages.dat", Join({Daily("002", 1, 1000, false), Daily("001", 1, 1100, false),
                                  Daily("002", 2, 1200), Daily("001", 2, 1300)}));
    EXPECT_EQ(FindCurrentDailyIndex(files_, "001"), 3);
    EXPECT_EQ(ReadDailyRecord(files_, "001", 0)->WeekdayOverPay, 1300);
    EXPECT_EQ(ReadDailyRecord(files_, "001", 1)->WeekdayOverPay, 1100);
    EXPECT_FALSE(ReadDailyRecord(files_, "001", 3).has_value());

    EXPECT_FALSE(DailyRecordChanged(files_, "001", Daily("001", 7, 1300)));
    DailyWagesRecord later = Daily("001", 2, 1300);
    later.TimeToFinishWork += 1e-12;  // times compare exactly
    EXPECT_TRUE(DailyRecordChanged(files_, "001", later));
    EXPECT_TRUE(DailyRecordChanged(files_, "005", Daily("005", 1)));

    EXPECT_EQ(RetireDailyRecord(files_, "001"), 2);
    EXPECT_EQ(FindCurrentDailyIndex(files_, "001"), -1);
    EXPECT_EQ(RetireDailyRecord(files_, "001"), -1);
    EXPECT_EQ(FindCurrentDailyIndex(files_, "002"), 2);

    Write("TimeWages.dat", Join({Time("003", 1, 900)}));
    TimeWagesRecord t = Time("003", 1, 900);
    EXPECT_FALSE(TimeRecordChanged(files_, "003", t));
    t.Band3Pays[6] = 1;
    EXPECT_TRUE(TimeRecordChanged(files_, "003", t));
    EXPECT_EQ(RetireTimeRecord(files_, "003"), 1);
    EXPECT_EQ(ReadTimeRecord(files_, "003", 1)->Current, 0);
}

TEST_F(EmployeeFiles, SchemeEmployeesAreTheLookupsOfEachIdFromOneReadOfEachFile) {
    Write("Name.dat",
          Join({Name("003", "佐藤", 1001), Name("002", "鈴木", 2001), Name("001", "山田", 1002),
                Name("004", "登録中", 1001), Name("003", "後の佐藤", 1001)}));
    Write("DailyWages.dat", Join({Daily("001", 1, 1000, false), Daily("003", 1, 1100),
                                  Daily("001", 2, 1300), Daily("003", 2, 1400)}));
    Write("TimeWages.dat", Join({Time("002", 1, 950)}));
    FaultyFileSystem fs;
    const DataFiles files = AssignDataFiles(folder_, fs);
    for (const PayScheme scheme : {PayScheme::Daily, PayScheme::Hourly}) {
        SCOPED_TRACE(SchemeNumber(scheme));
        const std::uint64_t before = fs.BytesRead();
        const std::vector<SchemeEmployee> listed = ListSchemeEmployees(files, scheme);
        EXPECT_EQ(
            fs.BytesRead() - before,
            *fs.Size(Path("Name.dat")) +
                *fs.Size(Path(scheme == PayScheme::Daily ? "DailyWages.dat" : "TimeWages.dat")));
        std::vector<std::string> ids;
        ListEmployeeIDs(files, ids, scheme);
        ASSERT_EQ(listed.size(), ids.size());
        for (std::size_t i = 0; i < ids.size(); ++i) {
            EXPECT_EQ(listed[i].ID, ids[i]);
            EXPECT_EQ(listed[i].Name, FindEmployeeName(files, ids[i], scheme)) << ids[i];
            EXPECT_EQ(listed[i].Daily,
                      scheme == PayScheme::Daily ? ReadDailyRecord(files, ids[i], 0) : std::nullopt)
                << ids[i];
            EXPECT_EQ(listed[i].Time,
                      scheme == PayScheme::Hourly ? ReadTimeRecord(files, ids[i], 0) : std::nullopt)
                << ids[i];
        }
    }
}

// A selection step asks for a name, 開始 for a name and a wage record: once
// the files are indexed each reads its own records, and a change by another
// program is followed, with the stamp changed or not.
TEST_F(EmployeeFiles, LookupsReadTheirRecordsThroughAnIndexThatFollowsChanges) {
    Write("Name.dat",
          Join({Name("001", "山田", 1001), Name("002", "鈴木", 2001), Name("003", "佐藤", 1001)}));
    Write("DailyWages.dat",
          Join({Daily("001", 1, 1000, false), Daily("003", 1, 1100), Daily("001", 2, 1300)}));
    FaultyFileSystem fs;
    const DataFiles files = AssignDataFiles(folder_, fs);
    const auto bytesFor = [&](const std::function<void()>& step) {
        const std::uint64_t before = fs.BytesRead();
        step();
        return fs.BytesRead() - before;
    };
    EXPECT_EQ(bytesFor([&] { IndexYear(files, 2024); }),
              *fs.Size(Path("Name.dat")) + *fs.Size(Path("DailyWages.dat")));
    EXPECT_EQ(bytesFor([&] { EXPECT_EQ(FindEmployeeName(files, "003", kBothSchemes), "佐藤"); }),
              kNameRecordSize);
    EXPECT_EQ(bytesFor([&] { EXPECT_EQ(RegisteredScheme(files, "002"), PayScheme::Hourly); }),
              kNameRecordSize);
    EXPECT_EQ(bytesFor([&] { EXPECT_EQ(FindEmployeeName(files, "004", kBothSchemes), ""); }), 0u);
    EXPECT_EQ(bytesFor([&] { EXPECT_EQ(ReadDailyRecord(files, "003", 0)->WeekdayOverPay, 1100); }),
              kDailyWagesRecordSize);
    EXPECT_LE(bytesFor([&] { EXPECT_EQ(ReadDailyRecord(files, "001", 0)->Generation, 2); }),
              2 * kDailyWagesRecordSize);

    // A new employee and a new generation: the stamps change.
    Write("Name.dat", Join({Name("001", "山田", 1001), Name("002", "鈴木", 2001),
                            Name("003", "佐藤", 1001), Name("004", "高橋", 1001)}));
    Write("DailyWages.dat", Join({Daily("001", 1, 1000, false), Daily("003", 1, 1100, false),
                                  Daily("001", 2, 1300), Daily("003", 2, 1500)}));
    EXPECT_EQ(FindEmployeeName(files, "004", kBothSchemes), "高橋");
    EXPECT_EQ(ReadDailyRecord(files, "003", 0)->WeekdayOverPay, 1500);
    EXPECT_EQ(FindCurrentDailyIndex(files, "003"), 3);

    // Reordered behind an unchanged stamp: the records read show it.
    fs.HoldStamp(Path("Name.dat"));
    Write("Name.dat", Join({Name("003", "佐藤", 1001), Name("004", "高橋", 1001),
                            Name("001", "山田", 1001), Name("002", "鈴木", 2001)}));
    EXPECT_EQ(FindEmployeeName(files, "001", kBothSchemes), "山田");
    EXPECT_EQ(FindNameIndex(files, "001"), 2);
    EXPECT_EQ(RegisteredScheme(files, "002"), PayScheme::Hourly);
}

TEST_F(EmployeeFiles, RetiringChangesOnlyTheFlagByte) {
    Bytes stored = ToBytes(Daily("001", 4));
    stored[25] = 0x77;  // reserved bytes another program may have used
    stored[7] = 0x55;
    Write("DailyWages.dat", stored);
    ASSERT_EQ(RetireDailyRecord(files_, "001"), 4);
    Bytes expected = stored;
    expected[4] = 0;
    EXPECT_EQ(Read("DailyWages.dat"), expected);
}

TEST_F(EmployeeFiles, WritersReplaceByIdOrIndexAndAppend) {
    ASSERT_TRUE(WriteNameRecord(files_, Name("001", "a", 1001)));
    ASSERT_TRUE(WriteNameRecord(files_, Name("002", "b", 2001)));
    ASSERT_TRUE(WriteNameRecord(files_, Name("001", "a2", 1002, 1)));
    EXPECT_EQ(Read("Name.dat"), Join({Name("001", "a2", 1002, 1), Name("002", "b", 2001)}));

    ASSERT_TRUE(WriteTimeRecord(files_, Time("002", 1), -1));
    ASSERT_TRUE(WriteTimeRecord(files_, Time("004", 1), -1));
    ASSERT_TRUE(WriteTimeRecord(files_, Time("002", 1, 950), 0));
    EXPECT_EQ(Read("TimeWages.dat"), Join({Time("002", 1, 950), Time("004", 1)}));
    EXPECT_THROW(WriteTimeRecord(files_, Time("002", 1), 5), std::out_of_range);
}

TEST_F(EmployeeFiles, PurgeRemovesEveryGenerationAndAnEmptiedFile) {
    Write("DailyWages.dat", Join({Daily("001", 1, 1, false), Daily("002", 1), Daily("001", 2)}));
    PurgeDailyRecords(files_, "001");
    EXPECT_EQ(Read("DailyWages.dat"), Join({Daily("002", 1)}));
    PurgeDailyRecords(files_, "002");
    EXPECT_FALSE(Has("DailyWages.dat"));
    EXPECT_FALSE(Has("DailyWages.bak"));
    PurgeTimeRecords(files_, "002");  // no file: nothing to do
}

TEST_F(EmployeeFiles, ValidateEmployeeInputWarnsOnce) {
    const std::string required = "従業員番号と氏名は必ず入力して下さい";
    const std::string tooLong = "氏名は半角20文字（全角10文字）までです";
    const struct {
        std::string name;
        int id;
        std::string warning;  // empty: accepted
    } cases[] = {
        {"a", 1, ""},
        {"", 1, required},
        {"a", 0, required},
        {"a", -3, required},
        {"山田太郎花子一二三四", 1, ""},  // ten full-width characters: the 20 bytes
        {"山田太郎花子一二三四a", 1, tooLong},
        {"ｱｲｳｴｵｶｷｸｹｺｱｲｳｴｵｶｷｸｹｺ", 1, ""},  // half-width katakana take one byte
        {"ｱｲｳｴｵｶｷｸｹｺｱｲｳｴｵｶｷｸｹｺｻ", 1, tooLong},
        {"山田😀", 1, "氏名の「😀」は登録できない文字です。\r\n別の文字に置き換えて下さい"},
        {"𠮷野家の店長さん", 1,
         "氏名の「𠮷」は登録できない文字です。\r\n別の文字に置き換えて下さい"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedOperator op;
        EXPECT_EQ(ValidateEmployeeInput(c.name, c.id, op) && ValidateNameToStore(c.name, op),
                  c.warning.empty());
        if (c.warning.empty()) {
            EXPECT_TRUE(op.calls.empty());
        } else {
            ASSERT_EQ(op.calls.size(), 1u);
            EXPECT_EQ(op.calls[0].kind, "warning");
            EXPECT_EQ(op.calls[0].text, c.warning);
            EXPECT_EQ(op.calls[0].buttons, Buttons::Ok);
        }
    }
}

TEST_F(EmployeeFiles, SampleEmployeesReadBack) {
    CopySamples();
    std::vector<std::string> ids;
    ListEmployeeIDs(files_, ids, kBothSchemes);
    EXPECT_EQ(ids, (std::vector<std::string>{"001", "002"}));
    EXPECT_EQ(RegisteredScheme(files_, "001"), PayScheme::Daily);
    EXPECT_EQ(RegisteredScheme(files_, "002"), PayScheme::Hourly);
    EXPECT_EQ(FindEmployeeName(files_, "001", PayScheme::Daily), "ソ表 太郎");
    EXPECT_EQ(ReadDailyRecord(files_, "001", 0)->Generation, 1);
    EXPECT_EQ(ReadTimeRecord(files_, "002", 0)->WorkType, 19);
    EXPECT_EQ(FileSizeOf(files_, Path("Name.dat")), 72);
    EXPECT_THROW(FileSizeOf(files_, Path("None.dat")), FileError);
}

}  // namespace
}  // namespace pb
