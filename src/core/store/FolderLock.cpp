#include "core/store/FolderLock.h"

#include "core/store/Process.h"

#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <random>
#include <sstream>
#include <thread>
#include <vector>

namespace pb {
namespace {

// What a share answers for a moment while another PC has the file open or is
// removing it.
bool IsMomentary(int error) {
    return error == EIO || error == EBUSY || error == EAGAIN || error == ETXTBSY;
}

std::string FirstLine(const std::string& path) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    return line;
}

std::string UserName() {
    if (const passwd* pw = ::getpwuid(::geteuid()); pw != nullptr && pw->pw_name != nullptr)
        return pw->pw_name;
    if (const char* user = std::getenv("USER"))
        return user;
    return std::to_string(::geteuid());
}

// Whether the holder, on this machine, still runs.
bool Running(const LockHolder& holder) {
    const std::string boot = FirstLine("/proc/sys/kernel/random/boot_id");
    if (!boot.empty() && !holder.boot.empty() && boot != holder.boot)
        return false;
    return ProcessRuns(holder.pid, holder.ticks);
}

std::string Text(const Bytes& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

Bytes AsBytes(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

std::string LocalTime(std::int64_t nanoseconds) {
    const std::time_t t = static_cast<std::time_t>(nanoseconds / 1000000000);
    std::tm local{};
    ::localtime_r(&t, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local);
    return text;
}

// Whether the lock file's time has not moved for kLockStaleAfter: its holder
// no longer runs (or its PC lost the share). A time ahead of this clock (the
// PCs' clocks differ) counts as fresh.
bool IsStale(const std::optional<FileStamp>& stamp) {
    if (!stamp)
        return false;
    const auto now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                         std::chrono::system_clock::now().time_since_epoch())
                         .count();
    return now - stamp->modified >
           std::chrono::duration_cast<std::chrono::nanoseconds>(kLockStaleAfter).count();
}

std::string TakeOverQuestion(const std::optional<LockHolder>& holder,
                             const std::optional<FileStamp>& stamp) {
    if (holder && stamp) {
        return "このフォルダは " + holder->user + " (" + holder->host + ") が " + holder->started +
               " から使用中ですが、" + LocalTime(stamp->modified) + " から応答がありません。\n" +
               holder->host +
               " でプログラムが動いていないことを確かめてから、使用を引き継いでください。\n\n"
               "使用を引き継ぎますか？\n（「いいえ」で読み取り専用で開きます。）";
    }
    if (!holder) {
        return "このフォルダは別のプログラムが使用中です。\n"
               "どこでも使用していないことを確かめてから、使用を引き継いでください。\n\n"
               "使用を引き継ぎますか？\n（「いいえ」で読み取り専用で開きます。）";
    }
    return "このフォルダは " + holder->user + " (" + holder->host + ") が " + holder->started +
           " から使用中です。\n" + holder->host +
           " でプログラムが動いていないことを確かめてから、使用を引き継いでください。\n\n"
           "使用を引き継ぎますか？\n（「いいえ」で読み取り専用で開きます。）";
}

}  // namespace

FolderLock::FolderLock(FileSystem& fs, std::string path, Bytes content,
                       std::unique_ptr<AdvisoryLock> advisory)
    : fs_(fs),
      path_(std::move(path)),
      content_(std::move(content)),
      advisory_(std::move(advisory)) {}

void FolderLock::MakeDurable() {
    try {
        fs_.Sync(path_);
    } catch (const FileError&) {
    }
}

void FolderLock::Refresh() {
    try {
        if (fs_.ReadAll(path_) == content_)
            fs_.Touch(path_);
    } catch (const FileError&) {
    }
}

FolderLock::~FolderLock() {
    // Closed first: a share does not remove a file that is open.
    advisory_.reset();
    // A share answers an I/O error, or refuses the removal, for a moment while
    // another PC looks at the lock: tried again for a few seconds, since a lock
    // left behind keeps the other PCs out until its time has stood still.
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    for (;;) {
        try {
            // Taken over meanwhile (after a question on another machine): not ours to remove.
            if (fs_.Exists(path_) && fs_.ReadAll(path_) == content_)
                fs_.Remove(path_);
            return;
        } catch (const FileError& e) {
            // Left behind, it names a process that no longer runs: the next start here takes it
            // over.
            if (!IsMomentary(e.error()) || std::chrono::steady_clock::now() > giveUp)
                return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

LockHolder ThisProcess() {
    LockHolder me;
    char host[256] = {};
    if (::gethostname(host, sizeof host - 1) == 0)
        me.host = host;
    me.user = UserName();
    me.pid = static_cast<long>(::getpid());
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    char started[32];
    std::strftime(started, sizeof started, "%Y-%m-%d %H:%M", &local);
    me.started = started;
    me.boot = FirstLine("/proc/sys/kernel/random/boot_id");
    me.ticks = ProcessStartTicks(me.pid);
    return me;
}

std::string FormatLock(const LockHolder& h) {
    return "host=" + h.host + "\nuser=" + h.user + "\npid=" + std::to_string(h.pid) +
           "\nstarted=" + h.started + "\nboot=" + h.boot + "\nticks=" + h.ticks + "\n";
}

std::optional<LockHolder> ParseLock(const std::string& text) {
    LockHolder h;
    bool havePid = false;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        const auto eq = line.find('=');
        if (eq == std::string::npos)
            return std::nullopt;
        const std::string key = line.substr(0, eq);
        const std::string value = line.substr(eq + 1);
        if (key == "host") {
            h.host = value;
        } else if (key == "user") {
            h.user = value;
        } else if (key == "pid") {
            // A number that cannot be a process id names no process that runs.
            const std::string digits = value.starts_with('-') ? value.substr(1) : value;
            havePid =
                !digits.empty() && digits.find_first_not_of("0123456789") == std::string::npos;
            h.pid = ProcessIdFrom(value).value_or(0);
        } else if (key == "started") {
            h.started = value;
        } else if (key == "boot") {
            h.boot = value;
        } else if (key == "ticks") {
            h.ticks = value;
        }
    }
    if (h.host.empty() || !havePid)
        return std::nullopt;
    return h;
}

std::string ReadOnlyNotice(const LockHolder& holder) {
    if (holder.host.empty())
        return "別のプログラムが使用中です。読み取り専用で開きます。";
    return holder.user + " (" + holder.host + ") が使用中です。読み取り専用で開きます。";
}

bool HolderGone(const std::optional<LockHolder>& holder, const FileStamp& stamp) {
    if (holder && holder->host == ThisProcess().host)
        return !Running(*holder);
    return IsStale(stamp);
}

namespace {

// On a network share, creating a file only when its name is free is not
// always exclusive between PCs: a FUSE mount of a Samba share looks the name
// up and then creates the file plainly, so two PCs that look at the same
// moment both make the lock file and both write the folder. There the lock
// file is made only by a copy that has left a claim (a file under a name of
// its own, naming it as the lock does) and then sees no live claim of another
// copy beside it. Of two copies claiming at once at least one sees the
// other's claim (each lists after its own claim is there), and a copy that
// sees only its own keeps it until it has made the lock file or found one:
// whoever sees another claim takes its own back and tries again in a moment.
constexpr char kClaimKind[] = "claim~";
// A claim lives for a few file operations; one of another PC this much older
// than ours was left by a copy that stopped (a claim of this PC is judged by
// its process at once).
constexpr std::chrono::seconds kClaimStaleAfter{30};
// How long a copy waits for the others' claims to go before it gives up.
constexpr std::chrono::seconds kClaimWait{3};

enum class Creation { Made, Exists, Contended };

struct LockCreation {
    Creation result = Creation::Exists;
    std::optional<LockHolder> claimant;  // Contended: who claimed the folder last
};

bool IsClaimOf(const std::string& name, const std::string& lockName) {
    return name.size() > lockName.size() + 1 && name.starts_with(lockName + ".") &&
           name.ends_with(std::string(".") + kClaimKind);
}

// Whether the claim `name` beside ours (stamped `ours`) is of a copy
// that may still be claiming; a claim left by a copy that stopped is removed.
// Its holder, when it says one, goes to `claimant`.
bool IsLiveClaim(FileSystem& fs, const std::string& folder, const std::string& name,
                 const FileStamp& ours, const LockHolder& me, std::optional<LockHolder>& claimant) {
    const std::string path = folder + name;
    std::optional<FileStamp> stamp;
    std::optional<LockHolder> holder;
    try {
        stamp = fs.Stamp(path);
        if (!stamp)
            return false;  // taken back meanwhile
        holder = ParseLock(Text(fs.ReadAll(path)));
    } catch (const FileError&) {
        return true;  // being written or removed right now
    }
    // Both times are the file server's: the PCs' clocks do not matter.
    const bool stale =
        holder && holder->host == me.host
            ? !Running(*holder)
            : ours.modified - stamp->modified >
                  std::chrono::duration_cast<std::chrono::nanoseconds>(kClaimStaleAfter).count();
    if (stale) {
        try {
            fs.Remove(path);
        } catch (const FileError&) {
        }
        return false;
    }
    if (holder)
        claimant = holder;
    return true;
}

void TakeBackClaim(FileSystem& fs, const std::string& claim) {
    // A share refuses for a moment to remove a file another PC is looking at;
    // a claim left behind holds the others back until it is judged stale.
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    for (;;) {
        try {
            fs.Remove(claim);
            return;
        } catch (const FileError& e) {
            if (e.error() == ENOENT || !IsMomentary(e.error()) ||
                std::chrono::steady_clock::now() > giveUp)
                return;  // left behind, it is judged stale by the next to look
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

// Makes the lock file unless it exists; on a network share under a claim.
LockCreation CreateLockFile(FileSystem& fs, const std::string& folder, const std::string& path,
                            const Bytes& content, const LockHolder& me) {
    if (fs.LocksAreShared(folder))
        return {fs.CreateExclusive(path, content, false) ? Creation::Made : Creation::Exists, {}};
    thread_local std::minstd_rand pause(std::random_device{}());
    const std::string lockName = path.substr(folder.size());
    const auto giveUp = std::chrono::steady_clock::now() + kClaimWait;
    for (;;) {
        const std::string claim = ScratchName(path, kClaimKind);
        fs.Create(claim, content);
        std::optional<LockHolder> claimant;
        bool alone = true;
        try {
            const std::optional<FileStamp> ours = fs.Stamp(claim);
            alone = ours.has_value();  // taken away meanwhile: tried again
            for (const std::string& name : fs.List(folder)) {
                if (alone && IsClaimOf(name, lockName) && folder + name != claim)
                    alone = !IsLiveClaim(fs, folder, name, *ours, me, claimant);
            }
            if (alone) {
                const bool made = fs.CreateExclusive(path, content, false);
                TakeBackClaim(fs, claim);
                return {made ? Creation::Made : Creation::Exists, {}};
            }
        } catch (const FileError&) {
            TakeBackClaim(fs, claim);
            throw;
        }
        TakeBackClaim(fs, claim);
        if (std::chrono::steady_clock::now() > giveUp)
            return {Creation::Contended, claimant};
        // Apart again at a moment of each copy's own, so that two never meet twice.
        std::this_thread::sleep_for(std::chrono::milliseconds(5 + pause() % 40));
    }
}

// The lock just made: kept when the folder can be written, else given back
// before anything else is changed.
LockOutcome Held(FileSystem& fs, const std::string& folder, const std::string& path,
                 const Bytes& content) {
    auto lock = std::make_unique<FolderLock>(fs, path, content, fs.TryLock(path));
    FolderCapabilities capabilities;
    try {
        capabilities = MeasureFolder(fs, folder);
    } catch (const FileError&) {
        lock.reset();
        throw;
    }
    if (!capabilities.missing.empty()) {
        lock.reset();
        return {nullptr, std::nullopt,
                CannotWriteNotice(capabilities.missing) + "\n読み取り専用で開きます。",
                capabilities};
    }
    return {std::move(lock), std::nullopt, {}, capabilities};
}

}  // namespace

LockOutcome LockProgramFolder(FileSystem& fs, const std::string& folder, Operator& op) {
    const std::string path = folder + kLockName;
    const LockHolder me = ThisProcess();
    const Bytes content = AsBytes(FormatLock(me));
    bool asked = false;
    std::optional<LockHolder> holder;
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    for (int attempt = 0; attempt < 5; ++attempt) {
        try {
            // Not flushed: the holder writes it through once its window is up.
            const LockCreation made = CreateLockFile(fs, folder, path, content, me);
            if (made.result == Creation::Made)
                return Held(fs, folder, path, content);
            if (made.result == Creation::Contended)
                return {nullptr, made.claimant.value_or(LockHolder{}), {}, {}};
        } catch (const FileError& e) {
            // A Samba share answers an I/O error for a moment while another PC
            // removes the lock file it still has open: tried again.
            if (IsMomentary(e.error()) && std::chrono::steady_clock::now() < giveUp) {
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
                --attempt;
                continue;
            }
            // A folder nobody may write to (read-only share, no permission).
            return {nullptr,
                    std::nullopt,
                    folder + " に書き込めません。\n" + ErrorReason(e.error()) +
                        "\n読み取り専用で開きます。",
                    {}};
        }
        Bytes existing;
        std::optional<FileStamp> stamp;
        std::unique_ptr<AdvisoryLock> advisory;
        try {
            existing = fs.ReadAll(path);
            stamp = fs.Stamp(path);
            advisory = fs.TryLock(path);
        } catch (const FileError&) {
            // Released meanwhile (or a share still names the file just removed).
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            continue;
        }
        holder = ParseLock(Text(existing));
        // Whoever holds the advisory lock runs, whatever the file says.
        if (advisory == nullptr)
            return {nullptr, holder.value_or(LockHolder{}), {}, {}};
        const bool sameHost = holder && holder->host == me.host;
        if (sameHost && Running(*holder))
            return {nullptr, holder, {}, {}};
        if (!sameHost) {
            // Another PC's lock whose time still moves is held, whatever anybody answers.
            if (!IsStale(stamp) || asked || !op.Question(TakeOverQuestion(holder, stamp)))
                return {nullptr, holder.value_or(LockHolder{}), {}, {}};
            asked = true;
        }
        // The stale lock goes aside under a name of its own; the advisory lock
        // held on it keeps a second copy taking over at the same moment out.
        // Where other clients do not see that lock it protects nothing, and the
        // share would refuse to rename the open file: closed first.
        if (!fs.LocksAreShared(folder))
            advisory.reset();
        const std::string aside = ScratchName(path, "old~");
        try {
            fs.Rename(path, aside);
            if (fs.ReadAll(aside) != existing) {
                // Another copy took it over in between: give it back.
                const Bytes theirs = fs.ReadAll(aside);
                fs.Remove(aside);
                fs.CreateExclusive(path, theirs);
                continue;
            }
            fs.Remove(aside);
        } catch (const FileError&) {
            continue;
        }
    }
    return {nullptr, holder.value_or(LockHolder{}), {}, {}};
}

}  // namespace pb
