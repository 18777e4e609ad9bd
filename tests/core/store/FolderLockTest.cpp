#include "core/store/FolderLock.h"
#include "core/store/FolderWatch.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <functional>
#include <future>
#include <thread>
#include <vector>

#include "ScriptedOperator.h"
#include "StoreFixture.h"
#include "support/FaultyFileSystem.h"

namespace pb {
namespace {

class FolderLockTest : public StoreFixture {
  protected:
    LockOutcome Lock(ScriptedOperator& op) { return LockProgramFolder(fs_, folder_, op); }
    std::string LockText() const {
        const Bytes b = Read(kLockName);
        return std::string(b.begin(), b.end());
    }
    void LeaveLock(LockHolder holder) {
        const std::string text = FormatLock(holder);
        Write(kLockName, Bytes(text.begin(), text.end()));
    }
    // A process id that ran on this machine and ended.
    static long EndedProcess() {
        const pid_t child = ::fork();
        if (child == 0)
            ::_exit(0);
        ::waitpid(child, nullptr, 0);
        return child;
    }

    FileSystem& fs_ = RealFileSystem();
};

TEST_F(FolderLockTest, OneCopyHoldsTheFolderTheOthersAreToldWho) {
    ScriptedOperator op;
    auto first = Lock(op);
    ASSERT_NE(first.lock, nullptr);
    const auto written = ParseLock(LockText());
    ASSERT_TRUE(written.has_value());
    EXPECT_EQ(written->pid, ::getpid());
    EXPECT_EQ(written->host, ThisProcess().host);

    // A second copy (here the same process, through a second open file) is refused.
    FolderWatch watch(fs_);
    EXPECT_FALSE(watch.FolderFree(folder_));
    auto second = Lock(op);
    EXPECT_EQ(second.lock, nullptr);
    ASSERT_TRUE(second.holder.has_value());
    EXPECT_EQ(ReadOnlyNotice(*second.holder),
              written->user + " (" + written->host + ") が使用中です。読み取り専用で開きます。");
    EXPECT_TRUE(op.calls.empty());

    first.lock.reset();
    EXPECT_FALSE(Has(kLockName));
    EXPECT_TRUE(watch.FolderFree(folder_));
    auto third = Lock(op);
    EXPECT_FALSE(watch.FolderFree(folder_));
    EXPECT_NE(third.lock, nullptr);

    // Whoever holds the advisory lock holds the folder, whatever its file says
    // (here nothing readable, as after a crash of the machine): no question.
    Write(kLockName, Bytes{'x'});
    ScriptedOperator asked;
    asked.answers = {true};
    EXPECT_EQ(Lock(asked).lock, nullptr);
    EXPECT_TRUE(asked.calls.empty());
}

TEST_F(FolderLockTest, ALeftLockIsTakenOverSilentlyHereAndAfterAQuestionFromElsewhere) {
    LockHolder ended = ThisProcess();
    ended.pid = EndedProcess();
    LockHolder reused = ThisProcess();  // this very id, but started at another time
    reused.ticks = "1";
    // An id now of a process that started after the holder (this one) did.
    ::usleep(30000);
    const pid_t later = ::fork();
    if (later == 0) {
        ::pause();
        ::_exit(0);
    }
    struct Reaper {
        pid_t pid;
        ~Reaper() {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
        }
    } reaper{later};
    LockHolder reusedByAnother = ThisProcess();
    reusedByAnother.pid = later;
    // Numbers no process id can be: not a process that runs.
    const auto withPid = [](const std::string& pid) {
        std::string text = FormatLock(ThisProcess());
        const auto at = text.find("pid=") + 4;
        return text.replace(at, text.find('\n', at) - at, pid);
    };
    LockHolder elsewhere = ThisProcess();
    elsewhere.host = "keiri-pc";
    elsewhere.user = "佐藤";
    const struct {
        const char* what;
        std::string lockText;
        std::deque<bool> answers;
        bool taken;
        std::vector<std::string> asked;
        int minutesUnrefreshed = 10;
    } cases[] = {
        {"ended here", FormatLock(ended), {}, true, {}, 0},
        {"id reused here", FormatLock(reused), {}, true, {}},
        {"id reused by a later process", FormatLock(reusedByAnother), {}, true, {}},
        {"id past 32 bits", withPid("4294967297"), {}, true, {}},
        {"id of 20 digits", withPid("18446744073709551617"), {}, true, {}},
        {"other machine, no", FormatLock(elsewhere), {false}, false, {"question"}},
        {"other machine, yes", FormatLock(elsewhere), {true}, true, {"question"}},
        // Its holder still refreshes it: never offered, whatever the answer would be.
        {"other machine, refreshed", FormatLock(elsewhere), {true}, false, {}, 4},
        {"unreadable, yes", "garbage", {true}, true, {"question"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Write(kLockName, Bytes(c.lockText.begin(), c.lockText.end()));
        std::filesystem::last_write_time(Path(kLockName),
                                         std::filesystem::file_time_type::clock::now() -
                                             std::chrono::minutes(c.minutesUnrefreshed));
        ScriptedOperator op;
        op.answers = c.answers;
        // The read-only copy's look says free exactly when a start would take
        // the lock, silently or after its question.
        EXPECT_EQ(FolderWatch(fs_).FolderFree(folder_), c.taken || !c.asked.empty());
        auto outcome = Lock(op);
        EXPECT_EQ(outcome.lock != nullptr, c.taken);
        EXPECT_EQ(op.Kinds(), c.asked);
        if (!c.asked.empty()) {
            const char* named =
                c.lockText == "garbage" ? "別のプログラム" : "から応答がありません。\nkeiri-pc";
            EXPECT_NE(op.calls[0].text.find(named), std::string::npos) << op.calls[0].text;
        }
        if (c.taken) {
            EXPECT_EQ(ParseLock(LockText())->pid, ::getpid());
        } else {
            EXPECT_EQ(LockText(), c.lockText);
            EXPECT_EQ(ReadOnlyNotice(*outcome.holder),
                      "佐藤 (keiri-pc) が使用中です。読み取り専用で開きます。");
        }
        outcome.lock.reset();
        EXPECT_EQ(Has(kLockName), !c.taken);
        std::filesystem::remove(Path(kLockName));
    }
}

TEST_F(FolderLockTest, ALockTakenOverElsewhereIsNotRemovedAndAReadOnlyFolderIsNamed) {
    ScriptedOperator op;
    auto mine = Lock(op);
    ASSERT_NE(mine.lock, nullptr);
    LockHolder other = ThisProcess();
    other.host = "keiri-pc";
    LeaveLock(other);  // what a copy on keiri-pc writes after taking over
    mine.lock.reset();
    EXPECT_EQ(ParseLock(LockText())->host, "keiri-pc");

    std::filesystem::remove(Path(kLockName));
    ReadOnlyFileSystem readOnly;
    const LockOutcome refused = LockProgramFolder(readOnly, folder_, op);
    EXPECT_EQ(refused.lock, nullptr);
    EXPECT_FALSE(refused.holder.has_value());
    EXPECT_EQ(refused.problem.find(folder_ + " に書き込めません。"), 0u) << refused.problem;
}

// On a share the lock file cannot be removed or renamed while it is open, hard
// links are copies and nobody else sees the advisory lock: the lock still goes
// at the end (also when its removal fails for a moment), a lock left here is still taken over
// silently, and the lock's time moves while its holder runs.
TEST_F(FolderLockTest, OnAShareTheLockGoesIsTakenOverAndShowsItsHolderRuns) {
    FaultyFileSystem share;
    share.ActLikeShare();
    ScriptedOperator op;
    auto held = LockProgramFolder(share, folder_, op);
    ASSERT_NE(held.lock, nullptr);
    EXPECT_FALSE(held.capabilities.hardLinks);
    EXPECT_FALSE(held.capabilities.removeOpen);
    EXPECT_FALSE(held.capabilities.sharedLocks);
    EXPECT_EQ(Picture().size(), 1u) << "the measurement left a file";

    std::filesystem::last_write_time(
        Path(kLockName), std::filesystem::file_time_type::clock::now() - std::chrono::minutes(10));
    const auto before = std::filesystem::last_write_time(Path(kLockName));
    held.lock->Refresh();
    EXPECT_GT(std::filesystem::last_write_time(Path(kLockName)), before);
    // Its removal fails for a moment (another PC looking at it): tried again.
    share.FailAt(1, EIO);
    held.lock.reset();
    EXPECT_TRUE(share.Failed());
    EXPECT_FALSE(Has(kLockName));

    LockHolder ended = ThisProcess();
    ended.pid = EndedProcess();
    LeaveLock(ended);
    auto again = LockProgramFolder(share, folder_, op);
    EXPECT_NE(again.lock, nullptr);
    EXPECT_TRUE(op.calls.empty());
}

// On a share whose exclusive creation looks the name up and then creates the
// file plainly, a second PC looks in between: only one of the two holds the
// folder, and the other hears who does.
TEST_F(FolderLockTest, OnAShareTwoPcsMakingTheLockAtOnceOnlyOneHoldsIt) {
    FaultyFileSystem pc1;
    FaultyFileSystem pc2;
    pc1.ActLikeShare();
    pc2.ActLikeShare();
    ScriptedOperator op1;
    ScriptedOperator op2;
    LockOutcome second;
    std::thread other;
    pc1.BetweenLookAndCreate(Path(kLockName), [&] {
        std::promise<void> done;
        std::future<void> finished = done.get_future();
        other = std::thread([&, done = std::move(done)]() mutable {
            second = LockProgramFolder(pc2, folder_, op2);
            done.set_value();
        });
        finished.wait_for(std::chrono::milliseconds(300));
    });
    const LockOutcome first = LockProgramFolder(pc1, folder_, op1);
    other.join();
    EXPECT_NE(first.lock, nullptr);
    EXPECT_EQ(second.lock, nullptr);
    ASSERT_TRUE(second.holder.has_value());
    EXPECT_EQ(second.holder->pid, static_cast<long>(::getpid()));
}

// A share that cannot replace a file by renaming over it is said at start,
// before anything is changed, and left as it was.
TEST_F(FolderLockTest, WhatAShareCannotDoIsSaidAndNothingIsLeft) {
    class NoReplace final : public ForwardingFileSystem {
      public:
        bool LocksAreShared(const std::string&) const override { return false; }
        void Rename(const std::string& from, const std::string& to) override {
            if (Exists(to))
                throw FileError(from, EACCES, "refused");
            inner_.Rename(from, to);
        }
    } share;
    Write("Name.dat", Bytes{1});
    ScriptedOperator op;
    const LockOutcome refused = LockProgramFolder(share, folder_, op);
    EXPECT_EQ(refused.lock, nullptr);
    EXPECT_EQ(refused.problem,
              "このフォルダーではファイルの名前の置き換えができないため、書き込みできません。\n"
              "読み取り専用で開きます。");
    EXPECT_EQ(Picture().size(), 1u);
}

// The read-only copy looks at stamps only: a record written over in place (same
// size), a file appearing, replaced by renaming or going are each seen once.
TEST_F(FolderLockTest, AWatchSeesEachChangeOfAFileOnce) {
    Write("Name.dat", Bytes(4, 1));
    const std::vector<std::string> paths = {Path("Name.dat"), Path("2024_fv2.pbk")};
    FaultyFileSystem fs;
    FolderWatch watch(fs);
    EXPECT_TRUE(watch.Changed(paths).empty());  // the first look only notes
    const struct {
        const char* what;
        std::function<void()> change;
        std::vector<std::string> seen;
    } steps[] = {
        {"nothing", [] {}, {}},
        {"written in place", [&] { fs.WriteAt(Path("Name.dat"), 0, Bytes(4, 2)); }, {paths[0]}},
        {"appears", [&] { fs.Append(Path("2024_fv2.pbk"), Bytes(8, 3)); }, {paths[1]}},
        {"replaced", [&] { fs.Replace(Path("2024_fv2.pbk"), Bytes(8, 4)); }, {paths[1]}},
        {"goes", [&] { fs.Remove(Path("Name.dat")); }, {paths[0]}},
        {"still gone", [] {}, {}},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        step.change();
        EXPECT_EQ(watch.Changed(paths), step.seen);
    }
}

}  // namespace
}  // namespace pb
