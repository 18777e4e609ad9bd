// The transactions of the store under the fault sweep (FaultSweep.h): failed,
// torn and stopped at every mutating call, then repaired at the next start.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "FaultSweep.h"
#include "core/import/ClockImport.h"
#include "core/store/EmployeeFiles.h"
#include "core/store/Journal.h"
#include "core/store/PayrollFiles.h"
#include "core/store/WorkDataFiles.h"

namespace pb {
namespace {

class StoreSweep : public FaultSweep {
  protected:
    EmployeeEntry DailyEntry(const std::string& id, const std::string& name, int overPay) {
        EmployeeEntry e;
        e.Daily = Daily(id, 1, overPay);
        e.Name = MakeNameRecord(files_, id, name, 1001);
        return e;
    }

    void SomeEmployees() {
        Write("Name.dat", Join({Name("001", "山田", 1002), Name("002", "鈴木", 2001),
                                Name("003", "佐藤", 1001, 1)}));
        Write("DailyWages.dat",
              Join({Daily("001", 1, 1000, false), Daily("003", 1), Daily("001", 2)}));
        Write("TimeWages.dat", Join({Time("002", 1)}));
    }
};

TEST_F(StoreSweep, RegisterANewEmployee) {
    SomeEmployees();
    const EmployeeEntry entry = DailyEntry("004", "高橋", 1300);
    Sweep([&](const DataFiles& f, ScriptedOperator& op) {
        return RegisterEmployee(f, entry, PayScheme::Daily, op);
    });
}

TEST_F(StoreSweep, RegisterAChangedEmployee) {
    SomeEmployees();
    const EmployeeEntry entry = DailyEntry("001", "山田", 1700);
    Sweep([&](const DataFiles& f, ScriptedOperator& op) {
        return RegisterEmployee(f, entry, PayScheme::Daily, op);
    });
}

TEST_F(StoreSweep, RegisterTheFirstEmployee) {
    const EmployeeEntry entry = DailyEntry("001", "山田", 1700);
    Sweep([&](const DataFiles& f, ScriptedOperator& op) {
        return RegisterEmployee(f, entry, PayScheme::Daily, op);
    });
}

TEST_F(StoreSweep, ACancelledRegistrationWritesNothingAtAll) {
    SomeEmployees();
    const EmployeeEntry entry = DailyEntry("001", "山田", 1700);
    FaultyFileSystem fs;
    ScriptedOperator op;
    op.answers = {false};
    EXPECT_FALSE(RegisterEmployee(AssignDataFiles(folder_, fs), entry, PayScheme::Daily, op));
    EXPECT_EQ(fs.MutationCount(), 0);
}

TEST_F(StoreSweep, DeleteALinkedEmployeeWithMonthsInTwoYears) {
    SomeEmployees();
    Write("2023_fv2.pbk", Join({Month("003", 12), Month("001", 12)}));
    Write("2024_fv2.pbk", Join({Month("003", 1)}));
    Bytes info(272, 0);
    PutShortStringRaw(info, 0, 3, "003");
    Write("Info.dat", info);
    Bytes pay(428, 0);
    PutInt32(pay, 4, 3);
    Write("Salarium.Dat", pay);
    Write("2024_RH.dat", Bytes(32, 0));
    Sweep([](const DataFiles& f, ScriptedOperator& op) { return DeleteEmployee(f, "003", op); });
}

TEST_F(StoreSweep, DeleteTheLastEmployee) {
    Write("Name.dat", Join({Name("001", "山田", 1001)}));
    Write("DailyWages.dat", Join({Daily("001", 1)}));
    Write("2024_fv2.pbk", Join({Month("001", 1)}));
    Sweep([](const DataFiles& f, ScriptedOperator& op) { return DeleteEmployee(f, "001", op); });
}

TEST_F(StoreSweep, PurgeMonthRecords) {
    Write("2024_fv2.pbk", Join({Month("001", 4), Month("002", 4), Month("001", 5)}));
    Sweep([](const DataFiles& f, ScriptedOperator& op) {
        return PurgeMonthRecords(f, "001", 2024, 4, op);
    });
    Sweep([](const DataFiles& f, ScriptedOperator& op) {
        return PurgeMonthRecords(f, "001", 2024, 0, op);
    });
    Write("2024_fv2.pbk", Join({Month("001", 4)}));
    Sweep([](const DataFiles& f, ScriptedOperator& op) {
        return PurgeMonthRecords(f, "001", 2024, 0, op);
    });
}

TEST_F(StoreSweep, WriteMonthRecord) {
    // Changed in both halves: a write torn in the middle leaves a record that is
    // neither the old nor the new one, at the same size.
    MonthRecord changed = Month("002", 4, 3);
    changed.Cells[0][1] = "17:30";
    const MonthRecord added = Month("003", 4, 9);
    Sweep([&](const DataFiles& f, ScriptedOperator& op) {
        return WriteMonthRecord(f, 2025, added, op);
    });
    Write("2025_fv2.pbk", Join({Month("001", 4), Month("002", 4)}));
    Sweep([&](const DataFiles& f, ScriptedOperator& op) {
        return WriteMonthRecord(f, 2025, changed, op);
    });
    Sweep([&](const DataFiles& f, ScriptedOperator& op) {
        return WriteMonthRecord(f, 2025, added, op);
    });
}

// The same on a share: no hard links (the before-states are copies), no
// O_APPEND (a month is added at the end the save read), no removing an open file.
TEST_F(StoreSweep, OnAShareSavesRegistrationsAndDeletionsAreAllOrNothing) {
    onAShare = true;
    SomeEmployees();
    Write("2024_fv2.pbk", Join({Month("001", 4), Month("003", 4)}));
    const EmployeeEntry entry = DailyEntry("001", "山田", 1700);
    Sweep([&](const DataFiles& f, ScriptedOperator& op) {
        return RegisterEmployee(f, entry, PayScheme::Daily, op);
    });
    Sweep([](const DataFiles& f, ScriptedOperator& op) {
        return WriteMonthRecord(f, 2024, Month("002", 5, 9), op);
    });
    Sweep([](const DataFiles& f, ScriptedOperator& op) {
        return WriteMonthRecord(f, 2025, Month("002", 5, 9), op);
    });
    Sweep([](const DataFiles& f, ScriptedOperator& op) { return DeleteEmployee(f, "003", op); });
}

// An import of three months into two year files, one of them new: all or none.
TEST_F(StoreSweep, ImportClockTimes) {
    SomeEmployees();
    Write("2024_fv2.pbk", Join({Month("002", 4), Month("001", 4)}));
    const ImportPlan plan = PlanImport(files_, CalcSetSettings{},
                                       ReadClockCsv("1,2024/4/1,9:00,18:00,,\n"
                                                    "3,2024/4/2,9:00,翌1:00,,\n"
                                                    "1,2024/12/25,9:00,18:00,,\n",
                                                    ClockLayout{}));
    ASSERT_EQ(plan.months.size(), 3u);
    ASSERT_TRUE(plan.refused.empty()) << plan.refused.front().reason;
    Sweep([&](const DataFiles& f, ScriptedOperator& op) {
        try {
            WriteImport(f, plan, ImportChoice::Replace);
            return true;
        } catch (const FileError& e) {
            op.Error(e.what());
            return false;
        }
    });
}

// A folder opened read-only (or failing) is reported once per failure, naming
// the data file the operator knows, never a temporary or the journal.
TEST_F(StoreSweep, AFailingFolderNamesTheDataFileOnce) {
    SomeEmployees();
    Write("2024_fv2.pbk", Join({Month("001", 4)}));
    const FolderPicture before = Picture();
    ReadOnlyFileSystem readOnly;
    const DataFiles files = AssignDataFiles(folder_, readOnly);
    const EmployeeEntry entry = DailyEntry("001", "山田", 1700);
    const struct {
        const char* file;
        std::function<bool(ScriptedOperator&)> run;
    } cases[] = {
        {"Name.dat",
         [&](ScriptedOperator& op) {
             return RegisterEmployee(files, entry, PayScheme::Daily, op);
         }},
        {"Name.dat", [&](ScriptedOperator& op) { return DeleteEmployee(files, "002", op); }},
        {"2024_fv2.pbk",
         [&](ScriptedOperator& op) { return WriteMonthRecord(files, 2024, Month("002", 4), op); }},
        {"2025_fv2.pbk",
         [&](ScriptedOperator& op) { return WriteMonthRecord(files, 2025, Month("002", 4), op); }},
        {"2024_fv2.pbk",
         [&](ScriptedOperator& op) { return PurgeMonthRecords(files, "001", 2024, 4, op); }},
    };
    for (const auto& c : cases) {
        ScriptedOperator op;
        EXPECT_FALSE(c.run(op));
        const auto errors = std::count_if(op.calls.begin(), op.calls.end(),
                                          [](const auto& call) { return call.kind == "error"; });
        ASSERT_EQ(errors, 1) << c.file;
        const std::string& text = op.calls.back().text;
        EXPECT_EQ(text.find(Path(c.file) + " に書き込めません。\n読み取り専用"), 0u) << text;
    }
    EXPECT_EQ(Picture(), before);
}

// The repair tells the operator once, in words, what it found and did.
TEST_F(StoreSweep, TheRepairSaysOnceWhatItDid) {
    const EmployeeEntry entry = DailyEntry("004", "高橋", 1300);
    const auto stopAt = [&](const std::string& call, bool torn) {
        SomeEmployees();
        Write("2024_fv2.pbk", Join({Month("001", 4)}));
        FaultyFileSystem fs;
        fs.CrashAt(1000);
        const DataFiles f = AssignDataFiles(folder_, fs);
        ScriptedOperator op;
        if (call.starts_with("write")) {
            WriteMonthRecord(f, 2024, Month("004", 4), op);
        } else {
            RegisterEmployee(f, entry, PayScheme::Daily, op);
        }
        const auto& log = fs.Log();
        const auto at = std::find_if(log.begin(), log.end(),
                                     [&](const std::string& l) { return l.starts_with(call); });
        ASSERT_NE(at, log.end()) << call;
        FaultyFileSystem again;
        again.CrashAt(static_cast<int>(at - log.begin()) + 1, torn);
        Reset({});
        SomeEmployees();
        Write("2024_fv2.pbk", Join({Month("001", 4)}));
        ScriptedOperator stopped;
        if (call.starts_with("write")) {
            WriteMonthRecord(AssignDataFiles(folder_, again), 2024, Month("004", 4), stopped);
        } else {
            RegisterEmployee(AssignDataFiles(folder_, again), entry, PayScheme::Daily, stopped);
        }
    };
    const struct {
        std::string call;
        bool torn;
        std::string said;
    } cases[] = {
        {"create ", true, "作業用のファイルを片付けました"},  // before the journal
        {"rename ", false, "「従業員 004 の登録」の途中で"},  // after it: finished
        {"write ", true, "始める前の状態に戻しました"},       // half a record: taken back
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.call);
        Reset({});
        stopAt(c.call, c.torn);
        ScriptedOperator op;
        ASSERT_TRUE(RecoverProgramFolder(files_, op));
        ASSERT_EQ(op.Kinds(), std::vector<std::string>{"information"});
        EXPECT_NE(op.calls[0].text.find(c.said), std::string::npos) << op.calls[0].text;
        ScriptedOperator quiet;
        ASSERT_TRUE(RecoverProgramFolder(files_, quiet));
        EXPECT_TRUE(quiet.calls.empty());
    }
    EXPECT_EQ(Read("2024_fv2.pbk"), Join({Month("001", 4)}));
}

// A journal that does not read is left alone with every file, and one that
// names anything but a file of this folder and its own temporaries does not
// read: the repair must never rename or remove a file it was not given.
TEST_F(StoreSweep, ADamagedJournalTouchesNothing) {
    SomeEmployees();
    Write("Name.dat.1-00000000-1.new~", Bytes(36, 1));
    const std::string ini = "[Common]\r\nClosingDay=5\r\n";
    Write("PBOOK2.INI", Bytes(ini.begin(), ini.end()));
    const std::string start = "Punchbook journal 1\noperation 従業員 001 の登録\n";
    const std::string cases[] = {
        "garbage\n",
        start + "file ../Name.dat\nbefore 108 ../Name.dat.1-00000000-1.old~\nafter - -\nend\n",
        start + "file Name.dat\nbefore - -\nafter 36 DailyWages.dat\nend\n",
        start + "file Name.dat\nbefore - -\nafter 36 Name.dat.1-00000000-1.new~\nend\nmore\n",
        start + "file Name.dat\nrecord 108 200 - 00\nend\n",
        start + "file PBOOK2.INI\nrecord 4 4 - 00\nend\n",  // no file a change touches
    };
    for (const auto& journal : cases) {
        SCOPED_TRACE(journal);
        Write(kJournalName, Bytes(journal.begin(), journal.end()));
        const FolderPicture before = Picture();
        ScriptedOperator op;
        EXPECT_FALSE(RecoverProgramFolder(files_, op));
        ASSERT_EQ(op.Kinds(), std::vector<std::string>{"error"});
        EXPECT_NE(op.calls[0].text.find(kJournalName), std::string::npos);
        EXPECT_EQ(Picture(), before);
        EXPECT_TRUE(PendingRepair(files_).has_value());
        // Nothing more is written while it is there.
        ScriptedOperator refused;
        EXPECT_FALSE(WriteMonthRecord(files_, 2024, Month("001", 4), refused));
        ASSERT_EQ(refused.Kinds(), std::vector<std::string>{"error"});
        EXPECT_NE(refused.calls[0].text.find(Path("2024_fv2.pbk")), std::string::npos);
        EXPECT_EQ(Picture(), before);
    }
    // A journal that cannot be looked at is no absent journal.
    std::filesystem::remove(Path(kJournalName));
    std::filesystem::create_symlink(kJournalName, Path(kJournalName));
    ScriptedOperator looped;
    EXPECT_FALSE(RecoverProgramFolder(files_, looped));
    ASSERT_EQ(looped.Kinds(), std::vector<std::string>{"error"});
    EXPECT_NE(looped.calls[0].text.find(Path(kJournalName)), std::string::npos);
    EXPECT_TRUE(PendingRepair(files_).has_value());
    std::filesystem::remove(Path(kJournalName));

    // Cut short while it was written: nothing happened under it.
    const std::string cut = start + "file Name.dat\nbefore 108 Name";
    Write(kJournalName, Bytes(cut.begin(), cut.end()));
    ScriptedOperator op;
    EXPECT_TRUE(RecoverProgramFolder(files_, op));
    EXPECT_FALSE(Has(kJournalName));
    EXPECT_FALSE(Has("Name.dat.1-00000000-1.new~"));
    EXPECT_FALSE(PendingRepair(files_).has_value());
}

// Another copy starting at this moment takes the lock under a scratch name of
// its own, and may remove it any moment: the repair leaves a running copy's
// files alone, and one already gone counts as removed.
TEST_F(StoreSweep, TheRepairLeavesAnotherRunningCopysFilesAlone) {
    SomeEmployees();
    const pid_t other = ::fork();
    if (other == 0) {
        RealFileSystem().Create(ScratchName(Path("Punchbook.lock"), "new~"), Bytes{'x'});
        ::pause();
        ::_exit(0);
    }
    const auto Scratch = [&] {
        std::vector<std::string> names;
        for (const auto& name : RealFileSystem().List(folder_)) {
            if (IsScratchName(name))
                names.push_back(name);
        }
        return names;
    };
    while (Scratch().empty())
        ::usleep(1000);
    const std::vector<std::string> theirs = Scratch();
    ScriptedOperator op;
    EXPECT_TRUE(RecoverProgramFolder(files_, op));
    EXPECT_EQ(Scratch(), theirs);
    ::kill(other, SIGKILL);
    ::waitpid(other, nullptr, 0);
    EXPECT_TRUE(RecoverProgramFolder(files_, op));
    EXPECT_TRUE(Scratch().empty());

    // Listed a moment ago, gone now.
    class Vanished final : public ForwardingFileSystem {
      public:
        std::vector<std::string> List(const std::string& folder) const override {
            auto names = inner_.List(folder);
            names.push_back("Punchbook.lock.2147483647-1-00000000-1.new~");
            return names;
        }
    } vanished;
    ScriptedOperator quiet;
    EXPECT_TRUE(RecoverProgramFolder(AssignDataFiles(folder_, vanished), quiet));
    EXPECT_TRUE(quiet.calls.empty()) << quiet.calls.front().text;
}

}  // namespace
}  // namespace pb
