// Every mutating file operation of a transaction is made to fail in turn, as a
// plain failure and as a torn write. Whatever fails, the program folder must end
// up exactly as before or exactly as after, with no temporary or backup file
// left, and the operator must have been told.

#include <gtest/gtest.h>

#include <functional>

#include "ScriptedOperator.h"
#include "StoreFixture.h"
#include "core/store/EmployeeFiles.h"
#include "core/store/FaultyFileSystem.h"
#include "core/store/WorkDataFiles.h"

namespace pb {
namespace {

using Transaction = std::function<bool(const DataFiles&, ScriptedOperator&)>;

bool IsScratch(const std::string& name) {
    for (const char* ending : {".bak", ".tmp", "~"}) {
        if (name.ends_with(ending))
            return true;
    }
    return false;
}

std::string Names(const FolderPicture& picture) {
    std::string names;
    for (const auto& [name, bytes] : picture)
        names += name + "(" + std::to_string(bytes.size()) + ") ";
    return names;
}

class FaultSweep : public StoreFixture {
  protected:
    void Reset(const FolderPicture& picture) {
        for (const auto& entry : std::filesystem::directory_iterator(folder_)) {
            std::filesystem::remove(entry.path());
        }
        for (const auto& [name, bytes] : picture)
            Write(name, bytes);
    }

    // The answers the operator gives in every run.
    std::function<void(ScriptedOperator&)> script = [](ScriptedOperator&) {};

    void Sweep(const Transaction& run) {
        const FolderPicture before = Picture();
        FaultyFileSystem clean;
        ScriptedOperator cleanOp;
        script(cleanOp);
        const bool succeeds = run(AssignDataFiles(folder_, clean), cleanOp);
        const FolderPicture after = Picture();
        const int mutations = clean.MutationCount();
        ASSERT_GT(mutations, 0);
        for (const auto& [name, bytes] : after)
            EXPECT_FALSE(IsScratch(name)) << name;

        for (int n = 1; n <= mutations; ++n) {
            for (bool torn : {false, true}) {
                Reset(before);
                FaultyFileSystem fs;
                fs.FailAt(n, 5, torn);
                ScriptedOperator op;
                script(op);
                const bool ok = run(AssignDataFiles(folder_, fs), op);
                const std::string failed =
                    fs.Log().size() >= static_cast<std::size_t>(n) ? fs.Log()[n - 1] : "?";
                SCOPED_TRACE("failing " + failed + (torn ? " (torn)" : ""));
                ASSERT_TRUE(fs.Failed());
                EXPECT_TRUE(op.Saw("error"));

                FolderPicture now = Picture();
                // Removing a backup after a finished registration can fail like any
                // other removal; that file stays behind, reported, and harms nothing.
                for (auto it = now.begin(); it != now.end();) {
                    const bool reported =
                        failed.starts_with("remove ") && failed.ends_with("/" + it->first);
                    it = IsScratch(it->first) && reported && !before.contains(it->first)
                             ? now.erase(it)
                             : std::next(it);
                }
                if (ok) {
                    EXPECT_TRUE(succeeds);
                    EXPECT_TRUE(now == after) << Names(now) << "\nexpected " << Names(after);
                } else {
                    EXPECT_TRUE(now == before) << Names(now) << "\nexpected " << Names(before);
                }
            }
        }
    }

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

TEST_F(FaultSweep, RegisterANewEmployee) {
    SomeEmployees();
    const EmployeeEntry entry = DailyEntry("004", "高橋", 1300);
    Sweep([&](const DataFiles& f, ScriptedOperator& op) {
        return RegisterEmployee(f, entry, 1, op);
    });
}

TEST_F(FaultSweep, RegisterAChangedEmployee) {
    SomeEmployees();
    const EmployeeEntry entry = DailyEntry("001", "山田", 1700);
    Sweep([&](const DataFiles& f, ScriptedOperator& op) {
        return RegisterEmployee(f, entry, 1, op);
    });
}

TEST_F(FaultSweep, RegisterTheFirstEmployee) {
    const EmployeeEntry entry = DailyEntry("001", "山田", 1700);
    Sweep([&](const DataFiles& f, ScriptedOperator& op) {
        return RegisterEmployee(f, entry, 1, op);
    });
}

TEST_F(FaultSweep, RegisterCancelled) {
    SomeEmployees();
    const EmployeeEntry entry = DailyEntry("001", "山田", 1700);
    script = [](ScriptedOperator& op) { op.answers = {false}; };
    Sweep([&](const DataFiles& f, ScriptedOperator& op) {
        return RegisterEmployee(f, entry, 1, op);
    });
}

TEST_F(FaultSweep, DeleteALinkedEmployeeWithMonthsInTwoYears) {
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

TEST_F(FaultSweep, DeleteTheLastEmployee) {
    Write("Name.dat", Join({Name("001", "山田", 1001)}));
    Write("DailyWages.dat", Join({Daily("001", 1)}));
    Write("2024_fv2.pbk", Join({Month("001", 1)}));
    Sweep([](const DataFiles& f, ScriptedOperator& op) { return DeleteEmployee(f, "001", op); });
}

TEST_F(FaultSweep, PurgeMonthRecords) {
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

TEST_F(FaultSweep, WriteMonthRecord) {
    const MonthRecord changed = Month("002", 4, 3);
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

}  // namespace
}  // namespace pb
