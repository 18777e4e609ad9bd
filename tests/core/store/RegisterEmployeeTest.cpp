#include <gtest/gtest.h>

#include "ScriptedOperator.h"
#include "StoreFixture.h"
#include "core/common/ShiftJis.h"
#include "core/store/EmployeeFiles.h"

namespace pb {
namespace {

class RegisterEmployee : public StoreFixture {
  protected:
    EmployeeEntry DailyEntry(const std::string& id, const std::string& name, int overPay = 1200) {
        EmployeeEntry e;
        e.Daily = Daily(id, 1, overPay);
        e.Name = MakeNameRecord(files_, id, name, 1001);
        return e;
    }
    EmployeeEntry TimeEntry(const std::string& id, const std::string& name, int timePay = 900) {
        EmployeeEntry e;
        e.Time = Time(id, 1, timePay);
        e.Name = MakeNameRecord(files_, id, name, 2001);
        return e;
    }
    bool Register(const EmployeeEntry& e, PayScheme scheme, ScriptedOperator& op) {
        return pb::RegisterEmployee(files_, e, scheme, op);
    }
    void ExpectNoBackups() {
        for (const char* name : {"Name.bak", "DailyWages.bak", "TimeWages.bak"}) {
            EXPECT_FALSE(Has(name)) << name;
        }
    }
};

TEST_F(RegisterEmployee, FirstRegistrationCreatesTheFilesWithoutAsking) {
    const struct {
        PayScheme scheme;
        const char* wageFile;
        const char* otherFile;
        int wagesCode;
    } cases[] = {{PayScheme::Daily, "DailyWages.dat", "TimeWages.dat", 1001},
                 {PayScheme::Hourly, "TimeWages.dat", "DailyWages.dat", 2001}};
    for (const auto& c : cases) {
        std::filesystem::remove(Path("Name.dat"));
        std::filesystem::remove(Path(c.wageFile));
        std::filesystem::remove(Path(c.otherFile));
        ScriptedOperator op;
        const EmployeeEntry e =
            c.scheme == PayScheme::Daily ? DailyEntry("001", "山田") : TimeEntry("001", "山田");
        ASSERT_TRUE(Register(e, c.scheme, op));
        EXPECT_EQ(op.Kinds(), std::vector<std::string>{"information"});
        EXPECT_EQ(op.calls[0].text, "登録完了");
        EXPECT_EQ(Read("Name.dat"), ToBytes(Name("001", "山田", c.wagesCode)));
        if (c.scheme == PayScheme::Daily) {
            EXPECT_EQ(Read(c.wageFile), ToBytes(Daily("001", 1)));
        } else {
            EXPECT_EQ(Read(c.wageFile), ToBytes(Time("001", 1)));
        }
        EXPECT_FALSE(Has(c.otherFile));
        ExpectNoBackups();
    }
}

// A name is the same as its form shows it, whatever bytes it is stored as:
// 山纊 stored with the NEC row's code (8E 52 ED 40) encodes to FA 5C.
TEST_F(RegisterEmployee, UnchangedDataIsReportedAndNothingChanges) {
    for (const std::string stored : {"\x8E\x52\x93\x63", "\x8E\x52\xED\x40"}) {
        Bytes names = ToBytes(Name("001", "", 1001));
        PutShortStringRaw(names, kNameOffset, kNameLength, stored);
        Write("Name.dat", names);
        Write("DailyWages.dat", Join({Daily("001", 1)}));
        const FolderPicture before = Picture();
        ScriptedOperator op;
        EXPECT_FALSE(Register(DailyEntry("001", DecodeSjis(stored).text), PayScheme::Daily, op));
        ASSERT_EQ(op.Kinds(), std::vector<std::string>{"warning"});
        EXPECT_EQ(op.calls[0].text, "現在登録されているデータと同じです。");
        EXPECT_EQ(op.calls[0].buttons, Buttons::Yes);
        EXPECT_EQ(Picture(), before);

        // New conditions under the same name keep the name's bytes.
        op.answers = {true};
        ASSERT_TRUE(
            Register(DailyEntry("001", DecodeSjis(stored).text, 1500), PayScheme::Daily, op));
        EXPECT_EQ(GetShortStringRaw(Read("Name.dat"), kNameOffset, kNameLength), stored);
    }
}

TEST_F(RegisterEmployee, AChangeAppendsTheNextGenerationAfterConfirmation) {
    const struct {
        std::string name;
        int overPay;
    } cases[] = {{"山田", 1500}, {"山田太郎", 1200}};  // changed pay; changed name only
    for (const auto& c : cases) {
        Write("Name.dat", Join({Name("002", "鈴木", 1001), Name("001", "山田", 1002, 1)}));
        Write("DailyWages.dat",
              Join({Daily("001", 1, 1000, false), Daily("002", 1), Daily("001", 2)}));
        ScriptedOperator op;
        ASSERT_TRUE(Register(DailyEntry("001", c.name, c.overPay), PayScheme::Daily, op));
        EXPECT_EQ(op.Kinds(), (std::vector<std::string>{"confirm", "information"}));
        ASSERT_EQ(op.dailyPending.size(), 1u);
        EXPECT_EQ(op.dailyPending[0].ID, "001");
        EXPECT_EQ(op.dailyPending[0].Name, c.name);
        EXPECT_EQ(op.dailyPending[0].Record.WeekdayOverPay, c.overPay);

        // The link survives re-registration; the code names the new generation.
        EXPECT_EQ(Read("Name.dat"),
                  Join({Name("002", "鈴木", 1001), Name("001", c.name, 1003, 1)}));
        EXPECT_EQ(Read("DailyWages.dat"),
                  Join({Daily("001", 1, 1000, false), Daily("002", 1), Daily("001", 2, 1200, false),
                        Daily("001", 3, c.overPay)}));
        ExpectNoBackups();
    }
}

TEST_F(RegisterEmployee, CancelledOrImpossibleUpdatesRestoreEverything) {
    Write("Name.dat", Join({Name("001", "山田", 1001), Name("002", "鈴木", 2001)}));
    Write("DailyWages.dat", Join({Daily("001", 1)}));
    Write("TimeWages.dat", Join({Time("002", 1)}));
    const FolderPicture before = Picture();
    const struct {
        EmployeeEntry entry;
        PayScheme scheme;
        bool answer;
    } cases[] = {
        {DailyEntry("001", "山田", 1500), PayScheme::Daily, false},  // the operator cancels
        {TimeEntry("001", "山田"), PayScheme::Hourly,
         true},  // a daily employee has no hourly record
    };
    for (const auto& c : cases) {
        ScriptedOperator op;
        op.answers = {c.answer};
        EXPECT_FALSE(Register(c.entry, c.scheme, op));
        EXPECT_EQ(op.Kinds(), (std::vector<std::string>{"confirm", "warning"}));
        EXPECT_EQ(op.calls[1].text, "従業員データの登録を中止します。");
        EXPECT_EQ(op.calls[1].buttons, Buttons::Yes);
        EXPECT_EQ(Picture(), before);
    }
}

TEST_F(RegisterEmployee, EmployeesKnownOnlyToThePayrollProgramKeepTheirLink) {
    const struct {
        std::string name;
        std::vector<std::string> asked;
    } cases[] = {{"山田", {"information"}}, {"山田花子", {"confirm", "information"}}};
    for (const auto& c : cases) {
        Write("Name.dat", Join({Name("001", "山田", 0, 1)}));
        std::filesystem::remove(Path("DailyWages.dat"));
        ScriptedOperator op;
        ASSERT_TRUE(Register(DailyEntry("001", c.name), PayScheme::Daily, op));
        EXPECT_EQ(op.Kinds(), c.asked);
        EXPECT_EQ(Read("Name.dat"), ToBytes(Name("001", c.name, 1001, 1)));
        EXPECT_EQ(Read("DailyWages.dat"), ToBytes(Daily("001", 1)));
    }
}

TEST_F(RegisterEmployee, ADamagedFileStopsBeforeAnythingIsWritten) {
    const EmployeeEntry entry = DailyEntry("002", "鈴木");  // before the damage: it reads Name.dat
    Bytes ragged = Join({Name("001", "山田", 1001)});
    ragged.push_back(0x20);
    Write("Name.dat", ragged);
    const FolderPicture before = Picture();
    ScriptedOperator op;
    EXPECT_FALSE(Register(entry, PayScheme::Daily, op));
    EXPECT_EQ(op.Kinds(), (std::vector<std::string>{"warning", "error"}));
    EXPECT_NE(op.calls[1].text.find(Path("Name.dat")), std::string::npos);
    EXPECT_NE(op.calls[1].text.find("37"), std::string::npos);
    EXPECT_EQ(Picture(), before);
}

}  // namespace
}  // namespace pb
