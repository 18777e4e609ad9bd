#pragma once
// The lock that keeps two copies of the program (other users, other PCs on a
// shared folder) from writing one program folder at once. The first copy
// creates a lock file naming its machine, user, process and start time, and
// holds an advisory lock on it where the file system has one; every other copy
// opens the folder read-only. A lock left behind by a process that no longer
// runs on this machine is taken over silently, one from another machine only
// after the operator has agreed.

#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include "core/store/FileSystem.h"
#include "core/store/FolderCapabilities.h"
#include "core/store/Operator.h"

namespace pb {

// The lock file in the program folder.
inline constexpr char kLockName[] = "Punchbook.lock";

// The holder sets the lock file's time this often while it runs; a lock of
// another machine whose time has not moved for kLockStaleAfter is offered for
// takeover, one that moves never is.
inline constexpr std::chrono::seconds kLockRefreshEvery{30};
inline constexpr std::chrono::minutes kLockStaleAfter{5};

// Who holds a lock, as its file says.
struct LockHolder {
    std::string host;
    std::string user;
    long pid = 0;
    std::string started;  // "2025-04-01 08:30"
    std::string boot;     // the machine's boot id: a process id means nothing across boots
    std::string ticks;    // the process's start in clock ticks since boot: tells reused ids
};

// The lock of this copy; released (its file removed, if still ours) when destroyed.
class FolderLock {
  public:
    FolderLock(FileSystem& fs, std::string path, Bytes content,
               std::unique_ptr<AdvisoryLock> advisory);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    // The lock file is made without waiting for the disk, which costs a start
    // a flush or two before its first window; this writes it through. Until
    // then a crash of the machine may leave the file empty (a lock nobody is
    // named in, taken over after a question) or take it away. Failures are
    // ignored: the lock holds either way.
    void MakeDurable();

    // Sets the lock file's time to now, while the file is still ours: the other
    // PCs see that this copy runs. Failures are ignored (the next one may pass).
    void Refresh();

  private:
    FileSystem& fs_;
    std::string path_;
    Bytes content_;
    std::unique_ptr<AdvisoryLock> advisory_;
};

struct LockOutcome {
    std::unique_ptr<FolderLock> lock;  // held: this copy may write
    std::optional<LockHolder> holder;  // not held: who holds it
    std::string problem;               // not held, no holder: why the folder cannot be written
    FolderCapabilities capabilities;   // held: what the folder's file system can do
};

// Takes the program folder's lock, asking the operator (a question) before
// taking over a lock of another machine. The holder calls MakeDurable() when
// it has the time.
LockOutcome LockProgramFolder(FileSystem& fs, const std::string& folder, Operator& op);

// Whether a lock whose file names `holder` (nothing: it does not read) and
// has `stamp` is one LockProgramFolder takes over: its holder ended on this
// machine, or the lock's time has stood still for kLockStaleAfter.
bool HolderGone(const std::optional<LockHolder>& holder, const FileStamp& stamp);

// "山田 (pc01) が使用中です。読み取り専用で開きます。"
std::string ReadOnlyNotice(const LockHolder& holder);

// This process as a lock file names it.
LockHolder ThisProcess();

// The text of a lock file, and back; nothing when it does not read.
std::string FormatLock(const LockHolder& holder);
std::optional<LockHolder> ParseLock(const std::string& text);

}  // namespace pb
