// A real process, killed by strace at each mutating system call of one
// operation; after each kill the repair at the next start must leave the folder
// exactly as before or exactly as after, and the operation must then run again.
// And two processes at once on one folder: nothing lost, nothing twice.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <thread>

#include "ScriptedOperator.h"
#include "StoreFixture.h"
#include "core/convert/OldFiles.h"
#include "core/store/DailyBackup.h"
#include "core/store/FolderLock.h"
#include "core/store/Recovery.h"
#include "core/store/WorkDataFiles.h"

namespace pb {
namespace {

const std::string kProbe = std::string(PUNCHBOOK_BINARY_DIR) + "/store_probe";
const char kMutating[] =
    "write,pwrite64,writev,pwritev,rename,renameat,renameat2,link,linkat,unlink,unlinkat,"
    "ftruncate,truncate,mkdir,mkdirat,rmdir";

int Shell(const std::string& command) {
    return std::system(command.c_str());
}

bool HaveStrace() {
    return Shell("strace -V >/dev/null 2>&1") == 0;
}

class KillTest : public StoreFixture {
  protected:
    // (The leak checker of a sanitizer build cannot run under strace.)
    std::string Probe(const std::string& operation) const {
        return "env ASAN_OPTIONS=detect_leaks=0 '" + kProbe + "' '" + folder_ + "' " + operation;
    }

    void Reset(const FolderPicture& picture) {
        for (const auto& entry : std::filesystem::directory_iterator(folder_))
            std::filesystem::remove(entry.path());
        for (const auto& [name, bytes] : picture)
            Write(name, bytes);
    }

    // The names of the mutating system calls of one clean run, in order.
    std::vector<std::string> MutatingCalls(const std::string& operation) {
        const std::string log = folder_ + "../strace-" + std::to_string(::getpid()) + ".log";
        EXPECT_EQ(
            Shell("strace -qq -o '" + log + "' -e trace=" + kMutating + " " + Probe(operation)), 0);
        std::vector<std::string> calls;
        std::ifstream in(log);
        std::string line;
        while (std::getline(in, line)) {
            const auto paren = line.find('(');
            if (paren != std::string::npos && line.find_first_of(" -+<") > paren)
                calls.push_back(line.substr(0, paren));
        }
        std::filesystem::remove(log);
        return calls;
    }

    // Runs the operation killed at the `when`th call of system call `name`.
    void KillAtCall(const std::string& operation, const std::string& name, long when) {
        const int status = Shell("strace -qq -o /dev/null -e trace=" + name + " -e inject=" + name +
                                 ":signal=KILL:when=" + std::to_string(when) + " " +
                                 Probe(operation) + " 2>/dev/null");
        EXPECT_FALSE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "not killed";
    }

    // Waits until `copies` racing copies have left "met-" in the folder, then
    // lets them go together (after `beforeGo`).
    void ReleaseWhenMet(int copies, const std::function<void()>& beforeGo = {}) {
        const auto Met = [&] {
            int met = 0;
            for (const auto& entry : std::filesystem::directory_iterator(folder_))
                met += entry.path().filename().string().starts_with("met-") ? 1 : 0;
            return met;
        };
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
        while (Met() < copies && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        EXPECT_EQ(Met(), copies) << "a copy never came";
        if (beforeGo)
            beforeGo();
        Write("go", {});
    }

    void RemoveRaceFiles() {
        for (const auto& entry : std::filesystem::directory_iterator(folder_)) {
            const std::string name = entry.path().filename().string();
            if (name == "go" || name.starts_with("met-"))
                std::filesystem::remove(entry.path());
        }
    }

    // Kills the operation at its mutating calls number `points` (1-based).
    void KillAt(const std::string& operation, const std::vector<int>& points) {
        const FolderPicture before = Picture();
        ASSERT_EQ(Shell(Probe(operation)), 0) << operation;
        const FolderPicture after = Picture();
        ASSERT_NE(after, before);
        Reset(before);
        const std::vector<std::string> calls = MutatingCalls(operation);
        ASSERT_FALSE(calls.empty());
        Reset(before);
        std::vector<int> chosen = points;
        if (chosen.empty()) {
            for (int n = 1; n <= static_cast<int>(calls.size()); ++n)
                chosen.push_back(n);
        }
        for (const int n : chosen) {
            if (n > static_cast<int>(calls.size()))
                continue;
            const std::string& name = calls[n - 1];
            const auto when = std::count(calls.begin(), calls.begin() + n, name);
            SCOPED_TRACE(operation + " killed at " + name + " #" + std::to_string(when) +
                         " (call " + std::to_string(n) + " of " + std::to_string(calls.size()) +
                         ")");
            KillAtCall(operation, name, when);

            ScriptedOperator op;
            EXPECT_TRUE(RecoverProgramFolder(files_, op));
            EXPECT_FALSE(op.Saw("error"));
            const FolderPicture repaired = Picture();
            EXPECT_TRUE(repaired == before || repaired == after);
            if (repaired == before) {
                EXPECT_EQ(Shell(Probe(operation)), 0);
                EXPECT_TRUE(Picture() == after);
            }
            Reset(before);
        }
    }

    void SomeEmployees() {
        Write("Name.dat", Join({Name("001", "山田", 1002), Name("002", "鈴木", 2001),
                                Name("003", "佐藤", 1001, 1)}));
        Write("DailyWages.dat",
              Join({Daily("001", 1, 1000, false), Daily("003", 1), Daily("001", 2)}));
        Write("TimeWages.dat", Join({Time("002", 1)}));
        Write("2023_fv2.pbk", Join({Month("003", 12), Month("001", 12)}));
        Write("2024_fv2.pbk", Join({Month("001", 4), Month("003", 4), Month("003", 5)}));
        Bytes info(272, 0);
        PutShortStringRaw(info, 0, 3, "003");
        Write("Info.dat", info);
    }

    void OldProgramFiles() {
        Write("Name.dat", Join({Name("009", "高橋", 1001), Name("003", "佐藤", 0, 1)}));
        Write("DailyWages.dat", Join({Daily("009", 1)}));
        Write("1999_fv2.pbk", ToBytes(Month("009", 4)));
        Write("Hiredata.dat", old::Employees({{.id = "001", .name = "山田", .current = 0},
                                              {.id = "001", .name = "山田", .generation = 2},
                                              {.id = "002", .name = "鈴木", .workType = 8},
                                              {.id = "003", .name = "佐藤"}}));
        Write("001tc.dat", old::Months({{.year = 1999}, {.year = 2000, .month = 5}}));
        Write("002tc.dat", old::Months({{.year = 1999, .month = 6}}));
    }
};

TEST_F(KillTest, EveryKillOfRegistrationDeletionAndConversionEndsBeforeOrAfter) {
    if (!HaveStrace())
        GTEST_SKIP() << "strace is not installed";
    SomeEmployees();
    for (const char* operation : {"register-new", "register-changed", "delete"})
        KillAt(operation, {});
    Reset({});
    OldProgramFiles();
    KillAt("convert", {});
}

TEST_F(KillTest, KillsOfMonthsAndOfTheRestoreEndBeforeOrAfter) {
    if (!HaveStrace())
        GTEST_SKIP() << "strace is not installed";
    SomeEmployees();
    for (const char* operation :
         {"purge", "save-new-year", "save-append", "save-replace", "import"})
        KillAt(operation, {1, 2, 3, 5, 8, 13});
    Reset({});
    OldProgramFiles();
    ASSERT_EQ(Shell(Probe("convert")), 0);
    KillAt("restore", {1, 4, 9, 16, 25, 36});
}

// Two copies on one folder, each taking the lock for every save: the one
// without it is refused with the holder's name, and no save is lost or made
// twice. Two save the same new months of one employee; the third saves a month
// of another and deletes it again each time, which rewrites the year file.
// The test holds the lock until each copy has been refused once (so they have
// met whatever the machine's load), then lets all three go at once.
TEST_F(KillTest, TwoCopiesOnOneFolderLoseNothing) {
    const std::string out = folder_ + "../race-" + std::to_string(::getpid()) + "-";
    const std::string all = Probe("race-save 001 1 100") + " >'" + out + "1' & " +
                            Probe("race-save 001 1 100") + " >'" + out + "2' & " +
                            Probe("race-purge 002 5 100") + " >'" + out + "3' & wait";
    ScriptedOperator op;
    LockOutcome held = LockProgramFolder(RealFileSystem(), folder_, op);
    ASSERT_TRUE(held.lock);
    int status = -1;
    std::thread copies([&] { status = Shell(all); });
    ReleaseWhenMet(3, [&] { held.lock.reset(); });
    copies.join();
    ASSERT_EQ(status, 0);
    RemoveRaceFiles();
    unsigned savedMonths = 0;
    int refused = 0;
    for (const char* n : {"1", "2", "3"}) {
        std::ifstream in(out + n);
        int s = 0, r = 0;
        unsigned months = 0;
        std::string notice;
        in >> s >> r >> months;
        std::getline(in, notice);
        EXPECT_EQ(s + r, 100) << n;
        if (r > 0) {
            EXPECT_NE(notice.find("が使用中です。読み取り専用で開きます。"), std::string::npos);
        }
        if (std::string(n) != "3")
            savedMonths |= months;
        refused += r;
        std::filesystem::remove(out + n);
    }
    EXPECT_GE(refused, 3);
    // Every month saved is there once; the deleted one is gone; nothing else.
    const Bytes year = Read("2024_fv2.pbk");
    ASSERT_EQ(year.size() % kMonthRecordSize, 0u);
    unsigned stored = 0;
    for (std::size_t o = 0; o < year.size(); o += kMonthRecordSize) {
        const MonthRecord m = MonthRecordFromBytes(year, o);
        EXPECT_EQ(m.ID, "001");
        EXPECT_EQ(stored & (1u << m.Month), 0u) << "month " << m.Month << " twice";
        stored |= 1u << m.Month;
    }
    EXPECT_EQ(stored, savedMonths);
    EXPECT_EQ(Picture().size(), 1u) << "a lock or temporary file left behind";
}

// Two copies started at the same instant, again and again: each start either
// holds the folder and repairs it, or is refused naming the other. The one
// refused makes and removes its lock under a scratch name meanwhile, which the
// holder's repair must neither trip over nor take away.
TEST_F(KillTest, TwoCopiesStartingAtOnceOneHoldsTheFolder) {
    SomeEmployees();
    const FolderPicture before = Picture();
    const std::string out = folder_ + "../start-" + std::to_string(::getpid()) + "-";
    int status = -1;
    std::thread copies([&] {
        status = Shell(Probe("race-start 400") + " >'" + out + "1' & " + Probe("race-start 400") +
                       " >'" + out + "2' & wait");
    });
    ReleaseWhenMet(2);
    copies.join();
    ASSERT_EQ(status, 0);
    RemoveRaceFiles();
    for (const char* n : {"1", "2"}) {
        std::ifstream in(out + n);
        int held = 0, refused = 0, failed = -1;
        std::string notice;
        in >> held >> refused >> failed;
        std::getline(in, notice);
        EXPECT_EQ(held + refused, 400) << n;
        EXPECT_EQ(failed, 0) << n << ":" << notice;
        std::filesystem::remove(out + n);
    }
    EXPECT_EQ(Picture(), before);
}

// Killed at each step of a day's backup and the pruning of the oldest day:
// every day still offered restores the folder whole, and a day that is not
// whole is refused and changes nothing.
TEST_F(KillTest, AKillWhilePruningBackupsLeavesOnlyWholeDaysToRestore) {
    if (!HaveStrace())
        GTEST_SKIP() << "strace is not installed";
    SomeEmployees();
    const FolderPicture data = Picture();
    const std::string root = folder_ + "backup";
    const auto SetUp = [&] {
        std::filesystem::remove_all(root);
        Reset(data);
        BackUpNow(files_, "2024-05-01");
        BackUpNow(files_, "2024-05-02");
    };
    SetUp();
    const std::vector<std::string> calls = MutatingCalls("backup-prune");
    ASSERT_FALSE(calls.empty());
    for (int n = 1; n <= static_cast<int>(calls.size()); ++n) {
        SetUp();
        const std::string& name = calls[n - 1];
        const auto when = std::count(calls.begin(), calls.begin() + n, name);
        SCOPED_TRACE("killed at " + name + " #" + std::to_string(when));
        KillAtCall("backup-prune", name, when);
        ScriptedOperator op;
        EXPECT_TRUE(RecoverProgramFolder(files_, op));
        const std::vector<std::string> offered = BackupNames(files_);
        EXPECT_FALSE(offered.empty());
        for (const auto& entry : std::filesystem::directory_iterator(root)) {
            const std::string day = entry.path().filename().string();
            if (day.find('~') != std::string::npos)
                continue;  // a scratch folder: no backup
            SCOPED_TRACE(day);
            if (std::find(offered.begin(), offered.end(), day) != offered.end()) {
                EXPECT_NO_THROW(RestoreBackup(files_, day));
            } else {
                EXPECT_THROW(RestoreBackup(files_, day), FileError);
            }
            EXPECT_EQ(Picture(), data);
        }
    }
}

}  // namespace
}  // namespace pb
