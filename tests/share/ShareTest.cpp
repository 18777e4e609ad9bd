// The store on real network shares, as an office has them: one folder on a file
// server, two PCs with mounts of their own and host names of their own. Run by
// with_shares.sh, which starts a Samba and an SSH server and mounts each share
// twice; every program runs as store_probe in a mount and host-name namespace
// of its own ("pc01" on the first mount, "pc02" on the second).

#include <gtest/gtest.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <thread>

#include "core/store/FolderCapabilities.h"
#include "core/store/FolderLock.h"
#include "core/store/Records.h"
#include "core/store/ScriptedOperator.h"
#include "core/store/StoreFixture.h"
#include "core/store/Transaction.h"

namespace pb {
namespace {

const std::string kProbe = std::string(PUNCHBOOK_BINARY_DIR) + "/store_probe";
const char kMutating[] =
    "write,pwrite64,writev,pwritev,rename,renameat,renameat2,link,linkat,unlink,unlinkat,"
    "ftruncate,truncate,utimensat,mkdir,mkdirat,rmdir";

int Shell(const std::string& command) {
    return std::system(command.c_str());
}

int ExitCode(int status) {
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

struct Share {
    std::string kind;
    std::string mount1;
    std::string mount2;
};

std::vector<Share> Shares() {
    std::vector<Share> shares;
    for (const auto& [kind, variable] :
         {std::pair{"samba", "PB_SHARE_SAMBA"}, std::pair{"ssh", "PB_SHARE_SSH"}}) {
        if (const char* value = std::getenv(variable)) {
            std::istringstream in(value);
            Share s{kind, {}, {}};
            in >> s.mount1 >> s.mount2;
            shares.push_back(s);
        }
    }
    return shares;
}

class ShareTest : public StoreFixture, public ::testing::WithParamInterface<std::string> {
  protected:
    void SetUp() override {
        for (const Share& s : Shares()) {
            if (s.kind == GetParam())
                share_ = s;
        }
        if (share_.kind.empty())
            GTEST_SKIP() << "no " << GetParam() << " share: run through tests/share/with_shares.sh";
        std::string pattern = share_.mount1 + "pbshareXXXXXX";
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr) << pattern;
        folder_ = pattern + "/";
        other_ = share_.mount2 + pattern.substr(share_.mount1.size()) + "/";
        files_ = AssignDataFiles(folder_);
    }
    void TearDown() override {
        if (!folder_.empty())
            std::filesystem::remove_all(folder_);
    }

    // The probe on one of the two PCs, each with its own mount of the share.
    std::string OnPc(int pc, const std::string& args, const std::string& wrapper = "") const {
        return "unshare -m -u sh -c 'hostname pc0" + std::to_string(pc) + " && exec " + wrapper +
               " env ASAN_OPTIONS=detect_leaks=0 \"" + kProbe + "\" \"" +
               (pc == 1 ? folder_ : other_) + "\" " + args + "'";
    }

    void Reset(const FolderPicture& picture) {
        for (const auto& entry : std::filesystem::directory_iterator(folder_))
            std::filesystem::remove(entry.path());
        for (const auto& [name, bytes] : picture)
            Write(name, bytes);
    }

    // A lock whose holder stopped refreshing it long ago. (Both times are set:
    // smbnetfs ignores a change of the modification time alone.)
    void AgeLock() {
        if (!Has(kLockName))
            return;
        timeval old[2] = {};
        old[0].tv_sec = old[1].tv_sec = std::time(nullptr) - 20 * 60;
        ASSERT_EQ(::utimes(Path(kLockName).c_str(), old), 0);
    }

    void SomeEmployees() {
        Write("Name.dat", Join({Name("001", "山田", 1002), Name("002", "鈴木", 2001),
                                Name("003", "佐藤", 1001)}));
        Write("DailyWages.dat",
              Join({Daily("001", 1, 1000, false), Daily("003", 1), Daily("001", 2)}));
        Write("TimeWages.dat", Join({Time("002", 1)}));
        Write("2024_fv2.pbk", Join({Month("001", 4), Month("003", 4), Month("003", 5)}));
    }

    std::vector<std::string> MutatingCalls(const std::string& args) {
        const std::string log = "/tmp/pb-share-strace-" + std::to_string(::getpid()) + ".log";
        EXPECT_EQ(ExitCode(Shell(OnPc(
                      1, args, "strace -qq -f -o " + log + " -e trace=" + std::string(kMutating)))),
                  0);
        std::vector<std::string> calls;
        std::ifstream in(log);
        std::string line;
        while (std::getline(in, line)) {
            // "-f" puts the process id first.
            const auto space = line.find(' ');
            const auto name = line.find_first_not_of(' ', space);
            const std::string call = name == std::string::npos ? line : line.substr(name);
            const auto paren = call.find('(');
            if (paren != std::string::npos && call.find_first_of(" -+<") > paren)
                calls.push_back(call.substr(0, paren));
        }
        std::filesystem::remove(log);
        return calls;
    }

    // Waits until `copies` racing copies have left "met-" in the folder, then
    // lets them go together (after `beforeGo`).
    void ReleaseWhenMet(int copies, const std::function<void()>& beforeGo) {
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
        beforeGo();
        Write("go", {});
    }
    std::string Names() const {
        std::string names;
        for (const auto& entry : std::filesystem::directory_iterator(folder_))
            names += " " + entry.path().filename().string();
        return names;
    }
    void RemoveRaceFiles() {
        for (const auto& entry : std::filesystem::directory_iterator(folder_)) {
            const std::string name = entry.path().filename().string();
            if (name == "go" || name.starts_with("met-"))
                std::filesystem::remove(entry.path());
        }
    }

    // Runs the commands at once while this test holds the folder, lets them go
    // together once each has been refused, and hands back what each printed.
    std::vector<std::string> Race(const std::vector<std::string>& commands) {
        const std::string out = "/tmp/pb-share-race-" + std::to_string(::getpid()) + "-";
        std::string all;
        for (std::size_t c = 0; c < commands.size(); ++c)
            all += commands[c] + " >'" + out + std::to_string(c) + "' & ";
        ScriptedOperator op;
        LockOutcome held = LockProgramFolder(RealFileSystem(), folder_, op);
        EXPECT_TRUE(held.lock) << (held.holder ? ReadOnlyNotice(*held.holder) : held.problem)
                               << Names();
        int status = -1;
        std::thread copies([&] { status = Shell(all + "wait"); });
        ReleaseWhenMet(static_cast<int>(commands.size()), [&] { held.lock.reset(); });
        copies.join();
        EXPECT_EQ(ExitCode(status), 0);
        RemoveRaceFiles();
        std::vector<std::string> outputs;
        for (std::size_t c = 0; c < commands.size(); ++c) {
            std::ifstream in(out + std::to_string(c));
            outputs.emplace_back(std::istreambuf_iterator<char>(in),
                                 std::istreambuf_iterator<char>());
            std::filesystem::remove(out + std::to_string(c));
        }
        return outputs;
    }

    Share share_;
    std::string other_;  // the same folder through the second PC's mount
};

// What the share refuses is measured, not met in the middle of a change.
TEST_P(ShareTest, CapabilitiesAreMeasuredAndNothingIsLeft) {
    const FolderCapabilities caps = MeasureFolder(RealFileSystem(), folder_);
    EXPECT_EQ(caps.missing, "");
    EXPECT_FALSE(caps.sharedLocks);
    if (share_.kind == "samba") {
        EXPECT_FALSE(caps.hardLinks);
        EXPECT_FALSE(caps.removeOpen);
    } else {
        EXPECT_TRUE(caps.hardLinks);
    }
    EXPECT_TRUE(Picture().empty());
}

// Every change runs on the share from one PC, the lock goes at its end, and the
// other PC then takes the folder without a question.
TEST_P(ShareTest, EveryChangeRunsAndTheLockGoesWithIt) {
    SomeEmployees();
    for (const char* operation : {"save-new-year", "save-append", "save-replace", "register-new",
                                  "register-changed", "delete", "purge"}) {
        SCOPED_TRACE(operation);
        const FolderPicture before = Picture();
        EXPECT_EQ(ExitCode(Shell(OnPc(1, std::string("take ") + operation))), 0);
        const FolderPicture after = Picture();
        EXPECT_NE(after, before);
        EXPECT_FALSE(after.contains(kLockName));
        EXPECT_FALSE(after.contains(kJournalName));
        for (const auto& [name, bytes] : after)
            EXPECT_FALSE(IsScratchName(name)) << name;
        EXPECT_EQ(ExitCode(Shell(OnPc(2, "take none"))), 0);
        EXPECT_EQ(Picture(), after);
    }
}

// Killed at each mutating call of a save, a registration and a deletion, while
// holding the folder: the next start, on the same PC or (once the lock has gone
// stale) on the other, repairs it to before or after, and nothing stays locked.
TEST_P(ShareTest, AKilledPcIsRepairedByTheNextToTakeTheFolder) {
    if (Shell("strace -V >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "strace is not installed";
    SomeEmployees();
    const std::size_t prefix = MutatingCalls("take none").size();
    ASSERT_GT(prefix, 0u);
    for (const char* operation : {"save-new-year", "save-append", "register-changed", "delete"}) {
        const FolderPicture before = Picture();
        ASSERT_EQ(ExitCode(Shell(OnPc(1, std::string("take ") + operation))), 0) << operation;
        const FolderPicture after = Picture();
        Reset(before);
        const std::vector<std::string> calls = MutatingCalls(std::string("take ") + operation);
        ASSERT_GT(calls.size(), prefix) << operation;
        Reset(before);
        // The lock, the measurement and the repair of a clean folder come first:
        // the operation's own calls are the ones after them.
        for (std::size_t n = prefix; n <= calls.size(); ++n) {
            const std::string& name = calls[n - 1];
            const auto when = std::count(calls.begin(), calls.begin() + static_cast<long>(n), name);
            const int next = n % 3 == 0 ? 2 : 1;
            SCOPED_TRACE(std::string(operation) + " killed at " + name + " #" +
                         std::to_string(when) + ", repaired on pc0" + std::to_string(next));
            const int status =
                Shell(OnPc(1, std::string("take ") + operation,
                           "strace -qq -f -o /dev/null -e trace=" + name + " -e inject=" + name +
                               ":signal=KILL:when=" + std::to_string(when)) +
                      " 2>/dev/null");
            EXPECT_NE(ExitCode(status), 0) << "not killed";
            if (next == 2)
                AgeLock();
            ASSERT_EQ(ExitCode(Shell(OnPc(next, "take none"))), 0);
            const FolderPicture repaired = Picture();
            EXPECT_TRUE(repaired == before || repaired == after);
            if (repaired == before) {
                EXPECT_EQ(ExitCode(Shell(OnPc(3 - next, std::string("take ") + operation))), 0);
                EXPECT_TRUE(Picture() == after);
            }
            Reset(before);
        }
    }
}

// Runs the commands at once while holding the folder, lets them go together
// once each has been refused, and hands back what each printed.
// The two PCs race: the same new months of one employee from both and a
// deletion against those saves; then a registration from each. Whoever is
// refused hears who holds the folder; nothing is lost or made twice.
TEST_P(ShareTest, TwoPcsRacingLoseNothing) {
    constexpr int kTimes = 15;
    const std::string n = std::to_string(kTimes);
    const std::vector<std::string> saves =
        Race({OnPc(1, "race-save 001 1 " + n), OnPc(2, "race-save 001 1 " + n),
              OnPc(2, "race-purge 002 5 " + n)});
    unsigned savedMonths = 0;
    for (std::size_t c = 0; c < saves.size(); ++c) {
        std::istringstream in(saves[c]);
        int saved = -1, refused = -1;
        unsigned months = 0;
        in >> saved >> refused >> months;
        EXPECT_EQ(saved + refused, kTimes) << c << ": " << saves[c];
        std::string notice;
        std::getline(in, notice);
        EXPECT_NE(notice.find("が使用中です。読み取り専用で開きます。"), std::string::npos)
            << notice;
        if (c < 2)
            savedMonths |= months;
    }
    // Every month saved is there once; the deleted one is gone. (A copy may
    // be refused every time: then it saved nothing, and with no month saved
    // the year has no file.)
    const Bytes year = Has("2024_fv2.pbk") ? Read("2024_fv2.pbk") : Bytes{};
    ASSERT_EQ(year.size() % kMonthRecordSize, 0u);
    unsigned stored = 0;
    for (std::size_t o = 0; o < year.size(); o += kMonthRecordSize) {
        const MonthRecord m = MonthRecordFromBytes(year, o);
        EXPECT_EQ(m.ID, "001");
        EXPECT_EQ(stored & (1u << m.Month), 0u) << "month " << m.Month << " twice";
        stored |= 1u << m.Month;
    }
    EXPECT_EQ(stored, savedMonths);

    const std::vector<std::string> registrations =
        Race({OnPc(1, "race-register 005 " + n), OnPc(2, "race-register 006 " + n)});
    // Each registration a generation of its own, one in force.
    const Bytes wages = Read("DailyWages.dat");
    for (const auto& [id, output] :
         {std::pair{"005", registrations[0]}, std::pair{"006", registrations[1]}}) {
        int saved = -1, refused = -1;
        std::istringstream(output) >> saved >> refused;
        EXPECT_EQ(saved + refused, kTimes) << id << ": " << output;
        int generations = 0;
        int current = 0;
        for (std::size_t o = 0; o < wages.size(); o += kDailyWagesRecordSize) {
            const DailyWagesRecord r = DailyWagesRecordFromBytes(wages, o);
            if (r.ID == id) {
                ++generations;
                current += r.Current;
            }
        }
        EXPECT_EQ(generations, saved) << id;
        EXPECT_EQ(current, saved > 0 ? 1 : 0) << id;
    }
    const FolderPicture left = Picture();
    EXPECT_FALSE(left.contains(kLockName));
    EXPECT_FALSE(left.contains(kJournalName));
}

// Both PCs start at the same instant, again and again: each start holds the
// folder and repairs it, or is refused naming the other PC; never anything else.
TEST_P(ShareTest, TwoPcsStartingAtOnceOneHoldsTheFolder) {
    SomeEmployees();
    const FolderPicture before = Picture();
    const std::string out = "/tmp/pb-share-start-" + std::to_string(::getpid()) + "-";
    int status = -1;
    std::thread copies([&] {
        status = Shell(OnPc(1, "race-start 40") + " >'" + out + "1' & " + OnPc(2, "race-start 40") +
                       " >'" + out + "2' & wait");
    });
    ReleaseWhenMet(2, [] {});
    copies.join();
    ASSERT_EQ(ExitCode(status), 0);
    RemoveRaceFiles();
    for (const char* copy : {"1", "2"}) {
        std::ifstream in(out + copy);
        int held = 0, refused = 0, failed = -1;
        std::string notice;
        in >> held >> refused >> failed;
        notice.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        EXPECT_EQ(held + refused, 40) << copy;
        EXPECT_EQ(failed, 0) << copy << ":" << notice;
        std::filesystem::remove(out + copy);
    }
    EXPECT_EQ(Picture(), before) << Names();
}

INSTANTIATE_TEST_SUITE_P(Shares, ShareTest, ::testing::Values("samba", "ssh"));

}  // namespace
}  // namespace pb
