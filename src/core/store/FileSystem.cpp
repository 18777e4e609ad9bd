#include "core/store/FileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <random>
#include <set>
#include <thread>

#include "core/store/Process.h"

namespace pb {

FileError::FileError(std::string path, int error, const std::string& message)
    : std::runtime_error(message), path_(std::move(path)), error_(error) {}

std::string ErrorReason(int error) {
    switch (error) {
        case ENOENT:
            return "ファイルが見つかりません。";
        case EACCES:
        case EPERM:
            return "アクセスが拒否されました。";
        case ENOSPC:
            return "ディスクの空き容量が不足しています。";
        case EROFS:
            return "書き込みが禁止されています。";
        case EIO:
            return "入出力エラーが発生しました。";
        case EISDIR:
            return "フォルダです。";
        case ELOOP:
            return "シンボリックリンクが循環しています。";
        case ENOTDIR:
            return "パスの途中がフォルダではありません。";
        default:
            return std::strerror(error);
    }
}

void FileSystem::ReadPieces(const std::string& path, std::uint64_t offset, std::size_t pieceSize,
                            const PieceReader& read) const {
    for (;;) {
        const Bytes piece = ReadAt(path, offset, pieceSize);
        if (piece.empty() || !read(piece.data(), piece.size()) || piece.size() < pieceSize)
            return;
        offset += piece.size();
    }
}

std::string ScratchName(const std::string& path, std::string_view kind) {
    // ".<pid>-<start>-<random>-<count>.": the process id and its start keep
    // copies on one machine apart and tell whether the copy still runs, the
    // random part keeps copies on machines that share the folder apart, the
    // counter the calls of one copy.
    static const unsigned token = std::random_device{}();
    static const std::string start = [] {
        const std::string ticks = ProcessStartTicks(static_cast<long>(::getpid()));
        return ticks.empty() ? std::string("0") : ticks;
    }();
    static std::atomic<unsigned long> counter{0};
    char unique[96];
    std::snprintf(unique, sizeof unique, ".%ld-%s-%08x-%lu.", static_cast<long>(::getpid()),
                  start.c_str(), token, ++counter);
    return path + unique + std::string(kind);
}

bool IsScratchName(std::string_view name) {
    return name.ends_with(".new~") || name.ends_with(".old~");
}

bool IsScratchOfAnotherRunningCopy(std::string_view name) {
    if (!IsScratchName(name))
        return false;
    name.remove_suffix(5);
    const auto dot = name.rfind('.');
    if (dot == std::string_view::npos)
        return false;
    const std::string_view unique = name.substr(dot + 1);
    // Exactly four parts; the names of earlier versions (three) are leftovers.
    std::string_view parts[4];
    std::size_t from = 0;
    for (int i = 0; i < 4; ++i) {
        const auto dash = unique.find('-', from);
        if ((dash == std::string_view::npos) != (i == 3))
            return false;
        parts[i] = unique.substr(from, dash == std::string_view::npos ? dash : dash - from);
        from = dash + 1;
    }
    const std::optional<long> pid = ProcessIdFrom(parts[0]);
    if (!pid || *pid == static_cast<long>(::getpid()))
        return false;
    const std::string ticks(parts[1]);
    return ProcessRuns(*pid, ticks == "0" ? std::string() : ticks);
}

namespace {

[[noreturn]] void Fail(const std::string& path, const char* what, int error) {
    throw FileError(path, error, path + " " + what + "\n" + ErrorReason(error));
}

class Fd {
  public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    // Closes now so a failing close (a delayed write error) is reported.
    int Close() {
        const int rc = ::close(fd_);
        fd_ = -1;
        return rc;
    }

  private:
    int fd_;
};

void WriteFully(int fd, const std::string& path, const std::uint8_t* data, std::size_t size,
                off_t offset) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::pwrite(fd, data + done, size - done, offset + static_cast<off_t>(done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            Fail(path, "に書き込めません。", errno);
        }
        done += static_cast<std::size_t>(n);
    }
}

void WriteFully(int fd, const std::string& path, const Bytes& data, off_t offset) {
    WriteFully(fd, path, data.data(), data.size(), offset);
}

std::string FolderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

void SyncFolder(const std::string& path) {
    const int fd = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// The errors of link() on a file system without hard links.
bool NoHardLinks(int error) {
    return error == EPERM || error == EOPNOTSUPP || error == EXDEV || error == EMLINK ||
           error == ENOSYS;
}

// A share refuses to rename or remove a file that another client has open
// (EBUSY), and to rename over one (EEXIST, which a rename of files never gives
// otherwise); a reader on another PC holds a file for a moment only, so the
// call is tried again for up to two seconds. Returns false with errno set.
bool WhileOpenElsewhere(const std::function<int()>& call) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    for (;;) {
        if (call() == 0)
            return true;
        const int err = errno;
        if ((err != EBUSY && err != EEXIST) || std::chrono::steady_clock::now() > deadline) {
            errno = err;
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

// File systems whose advisory locks other clients do not see: FUSE (smbnetfs,
// sshfs), NFS, SMB/CIFS, 9p, Ceph, AFS.
bool IsNetworkFileSystem(decltype(statfs::f_type) type) {
    switch (static_cast<unsigned long>(type)) {
        case 0x65735546UL:  // FUSE
        case 0x6969UL:      // NFS
        case 0x517BUL:      // SMB
        case 0xFF534D42UL:  // CIFS
        case 0xFE534D42UL:  // SMB2
        case 0x01021997UL:  // 9p
        case 0x00C36400UL:  // Ceph
        case 0x5346414FUL:  // AFS
            return true;
        default:
            return false;
    }
}

// Closing the file releases its flock().
struct FileLock final : AdvisoryLock {
    explicit FileLock(int f) : fd(f) {}
    ~FileLock() override {
        if (fd >= 0)
            ::close(fd);
    }
    int fd;
};

int OpenForReading(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        Fail(path, "を開けません。", errno);
    return fd;
}

// Fills data[at..] with the file's bytes from position `offset` + `at` on, until
// the buffer is full or the file ends; returns the number of bytes read.
std::size_t ReadFully(int fd, const std::string& path, Bytes& data, std::size_t at,
                      std::uint64_t offset) {
    std::size_t done = 0;
    while (at + done < data.size()) {
        const ssize_t n = ::pread(fd, data.data() + at + done, data.size() - at - done,
                                  static_cast<off_t>(offset + at + done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            Fail(path, "を読み込めません。", errno);
        }
        if (n == 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    return done;
}

// Only "no such file" is absence.
bool Absent(int error) {
    return error == ENOENT || error == ENOTDIR;
}

// The status of `path`; nothing when there is no such file. Any other failure,
// or something other than a regular file where `regularFile` is asked for,
// throws FileError naming the file.
std::optional<struct stat> Status(const std::string& path, bool regularFile) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        if (Absent(errno))
            return std::nullopt;
        Fail(path, "を調べられません。", errno);
    }
    if (regularFile && !S_ISREG(st.st_mode)) {
        if (S_ISDIR(st.st_mode))
            Fail(path, "はファイルではありません。", EISDIR);
        throw FileError(path, EINVAL, path + " はファイルではありません。");
    }
    return st;
}

// The names in a folder of one kind (S_IFREG or S_IFDIR), sorted: directory order differs between
// file systems and callers get one order. A missing folder is empty where the caller allows it.
std::vector<std::string> Entries(const std::string& folder, mode_t kind, bool missingIsEmpty) {
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        if (missingIsEmpty && errno == ENOENT)
            return names;
        Fail(folder, "を開けません。", errno);
    }
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        struct stat st {};
        const std::string full =
            folder.empty() || folder.back() == '/' ? folder + name : folder + "/" + name;
        if (::stat(full.c_str(), &st) == 0) {
            if ((st.st_mode & S_IFMT) == kind)
                names.push_back(name);
        } else if (kind == S_IFREG && !Absent(errno)) {
            names.push_back(name);  // whoever opens it is told what is wrong
        }
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

class PosixFileSystem final : public FileSystem {
    // Folders where link() was refused.
    mutable std::mutex noLinksMutex_;
    std::set<std::string> noLinks_;

    bool HasNoHardLinks(const std::string& folder) const {
        const std::lock_guard<std::mutex> lock(noLinksMutex_);
        return noLinks_.count(folder) != 0;
    }
    void RememberNoHardLinks(const std::string& folder) {
        const std::lock_guard<std::mutex> lock(noLinksMutex_);
        noLinks_.insert(folder);
    }

  public:
    bool Exists(const std::string& path) const override { return Status(path, false).has_value(); }

    std::optional<std::uint64_t> Size(const std::string& path) const override {
        const auto st = Status(path, true);
        if (!st)
            return std::nullopt;
        return static_cast<std::uint64_t>(st->st_size);
    }

    Bytes ReadAll(const std::string& path) const override {
        Fd fd(OpenForReading(path));
        // Read straight into a buffer of the file's size: year files run to megabytes
        // and are read whole on every lookup.
        struct stat st {};
        std::size_t expected = 0;
        if (::fstat(fd.get(), &st) == 0 && S_ISREG(st.st_mode))
            expected = static_cast<std::size_t>(st.st_size);
        Bytes data(expected + 1);
        std::size_t done = 0;
        for (;;) {
            done += ReadFully(fd.get(), path, data, done, 0);
            if (done < data.size())
                break;
            data.resize(data.size() * 2);  // the file grew since fstat
        }
        data.resize(done);
        return data;
    }

    Bytes ReadAt(const std::string& path, std::uint64_t offset, std::size_t count) const override {
        Fd fd(OpenForReading(path));
        Bytes data(count);
        data.resize(ReadFully(fd.get(), path, data, 0, offset));
        return data;
    }

    std::optional<FileStamp> Stamp(const std::string& path) const override {
        const auto status = Status(path, true);
        if (!status)
            return std::nullopt;
        const struct stat& st = *status;
        auto nanoseconds = [](const timespec& t) {
            return static_cast<std::int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec;
        };
        return FileStamp{static_cast<std::uint64_t>(st.st_size), nanoseconds(st.st_mtim),
                         nanoseconds(st.st_ctim), static_cast<std::uint64_t>(st.st_ino)};
    }

    void ReadPieces(const std::string& path, std::uint64_t offset, std::size_t pieceSize,
                    const PieceReader& read) const override {
        Fd fd(OpenForReading(path));
        Bytes buffer(pieceSize);
        for (;;) {
            const std::size_t n = ReadFully(fd.get(), path, buffer, 0, offset);
            if (n == 0 || !read(buffer.data(), n) || n < pieceSize)
                return;
            offset += n;
        }
    }

    std::vector<std::string> List(const std::string& folder) const override {
        return Entries(folder, S_IFREG, false);
    }

    void WriteAt(const std::string& path, std::uint64_t offset, const Bytes& data) override {
        Fd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644));
        if (fd.get() < 0)
            Fail(path, "を開けません。", errno);
        WriteFully(fd.get(), path, data, static_cast<off_t>(offset));
        if (::fsync(fd.get()) != 0 || fd.Close() != 0)
            Fail(path, "に書き込めません。", errno);
    }

    void Append(const std::string& path, const Bytes& data) override {
        Fd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644));
        if (fd.get() < 0)
            Fail(path, "を開けません。", errno);
        struct stat st {};
        if (::fstat(fd.get(), &st) != 0)
            Fail(path, "に書き込めません。", errno);
        WriteFully(fd.get(), path, data, st.st_size);
        if (::fsync(fd.get()) != 0 || fd.Close() != 0)
            Fail(path, "に書き込めません。", errno);
    }

    void Truncate(const std::string& path, std::uint64_t size) override {
        // By name, not ftruncate(): a share through smbnetfs refuses the latter.
        if (::truncate(path.c_str(), static_cast<off_t>(size)) != 0)
            Fail(path, "に書き込めません。", errno);
        Fd fd(::open(path.c_str(), O_WRONLY | O_CLOEXEC));
        if (fd.get() < 0)
            Fail(path, "を開けません。", errno);
        if (::fsync(fd.get()) != 0 || fd.Close() != 0)
            Fail(path, "に書き込めません。", errno);
    }

    void Create(const std::string& path, const Bytes& content) override {
        CreateFile(path, content, true);
    }

    void CreateFile(const std::string& path, const Bytes& content, bool flushed) {
        Fd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
        if (fd.get() < 0)
            Fail(path, "に書き込めません。", errno);
        try {
            WriteFully(fd.get(), path, content, 0);
        } catch (const FileError&) {
            ::unlink(path.c_str());
            throw;
        }
        if ((flushed && ::fsync(fd.get()) != 0) || fd.Close() != 0) {
            const int err = errno;
            ::unlink(path.c_str());
            Fail(path, "に書き込めません。", err);
        }
    }

    void CreateInPieces(const std::string& path, const PieceSource& source) override {
        Fd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
        if (fd.get() < 0)
            Fail(path, "に書き込めません。", errno);
        // Pieces are gathered into writes of a quarter megabyte: a record at a
        // time would cost a system call per record.
        constexpr std::size_t kBuffer = 256 * 1024;
        Bytes buffer;
        buffer.reserve(kBuffer);
        off_t written = 0;
        const auto flush = [&] {
            WriteFully(fd.get(), path, buffer, written);
            written += static_cast<off_t>(buffer.size());
            buffer.clear();
        };
        try {
            source([&](const std::uint8_t* data, std::size_t size) {
                while (size > 0) {
                    const std::size_t n = std::min(size, kBuffer - buffer.size());
                    buffer.insert(buffer.end(), data, data + n);
                    data += n;
                    size -= n;
                    if (buffer.size() == kBuffer)
                        flush();
                }
            });
            flush();
        } catch (...) {
            ::unlink(path.c_str());
            throw;
        }
        if (::fsync(fd.get()) != 0 || fd.Close() != 0) {
            const int err = errno;
            ::unlink(path.c_str());
            Fail(path, "に書き込めません。", err);
        }
    }

    bool CreateExclusive(const std::string& path, const Bytes& content, bool flushed) override {
        if (!HasNoHardLinks(FolderOf(path))) {
            // Written whole under a name of its own, then given the wanted name
            // by a link, which fails when the name is taken: nobody sees a part.
            const std::string temp = ScratchName(path, "new~");
            CreateFile(temp, content, flushed);
            if (::link(temp.c_str(), path.c_str()) == 0) {
                ::unlink(temp.c_str());
                if (flushed)
                    SyncFolder(path);
                return true;
            }
            const int err = errno;
            ::unlink(temp.c_str());
            if (err == EEXIST)
                return false;
            if (!NoHardLinks(err))
                Fail(path, "に書き込めません。", err);
            // A share answers a refused link slowly, and refuses every one:
            // the folder's next creations go straight to the exclusive open.
            RememberNoHardLinks(FolderOf(path));
        }
        Fd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
        if (fd.get() < 0) {
            if (errno == EEXIST)
                return false;
            Fail(path, "に書き込めません。", errno);
        }
        try {
            WriteFully(fd.get(), path, content, 0);
            if ((flushed && ::fsync(fd.get()) != 0) || fd.Close() != 0)
                Fail(path, "に書き込めません。", errno);
        } catch (const FileError&) {
            ::unlink(path.c_str());
            throw;
        }
        if (flushed)
            SyncFolder(path);
        return true;
    }

    void Sync(const std::string& path) override {
        Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
        if (fd.get() < 0)
            Fail(path, "を開けません。", errno);
        if (::fsync(fd.get()) != 0 || fd.Close() != 0)
            Fail(path, "に書き込めません。", errno);
        SyncFolder(path);
    }

    void Link(const std::string& from, const std::string& to) override {
        if (::link(from.c_str(), to.c_str()) == 0)
            return;
        const int err = errno;
        if (!NoHardLinks(err))
            Fail(from, "を保存できません。", err);
        Create(to, ReadAll(from));
    }

    void Flush(const std::string& folder) override {
        const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0)
            Fail(folder, "に書き込めません。", errno);
        const int rc = ::fsync(fd);
        const int err = errno;
        ::close(fd);
        if (rc != 0 && err != EINVAL)  // EINVAL: a file system that cannot sync folders
            Fail(folder, "に書き込めません。", err);
    }

    std::unique_ptr<AdvisoryLock> TryLock(const std::string& path) const override {
        auto lock = std::make_unique<FileLock>(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
        if (lock->fd < 0)
            Fail(path, "を開けません。", errno);
        if (::flock(lock->fd, LOCK_EX | LOCK_NB) == 0)
            return lock;
        if (errno == EWOULDBLOCK || errno == EAGAIN)
            return nullptr;
        // No advisory locks on this file system: the lock file alone has to do.
        return lock;
    }

    void Copy(const std::string& from, const std::string& to) override {
        // Through one buffer: a year file of any size costs the same memory.
        constexpr std::size_t kCopyBuffer = 256 * 1024;
        Fd in(OpenForReading(from));
        ReplaceWith(to, [&](int out) {
            Bytes buffer(kCopyBuffer);
            for (std::uint64_t at = 0;;) {
                const std::size_t n = ReadFully(in.get(), from, buffer, 0, at);
                if (n == 0)
                    return;
                WriteFully(out, to, buffer.data(), n, static_cast<off_t>(at));
                at += n;
            }
        });
    }

    void Replace(const std::string& path, const Bytes& content) override {
        ReplaceWith(path, [&](int out) { WriteFully(out, path, content, 0); });
    }

    // Writes a new file with `write`, flushes it and renames it over `path`.
    void ReplaceWith(const std::string& path, const std::function<void(int fd)>& write) {
        const std::string temp = ScratchName(path, "new~");
        {
            Fd fd(::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
            if (fd.get() < 0)
                Fail(path, "に書き込めません。", errno);
            // The new file takes the old one's permissions, as an in-place write would.
            struct stat old {};
            if (::stat(path.c_str(), &old) == 0)
                ::fchmod(fd.get(), old.st_mode & 07777);
            try {
                write(fd.get());
            } catch (...) {
                ::unlink(temp.c_str());
                throw;
            }
            if (::fsync(fd.get()) != 0 || fd.Close() != 0) {
                const int err = errno;
                ::unlink(temp.c_str());
                Fail(path, "に書き込めません。", err);
            }
        }
        if (::rename(temp.c_str(), path.c_str()) != 0) {
            const int err = errno;
            ::unlink(temp.c_str());
            Fail(path, "に書き込めません。", err);
        }
        SyncFolder(path);
    }

    void Rename(const std::string& from, const std::string& to) override {
        if (!WhileOpenElsewhere([&] { return ::rename(from.c_str(), to.c_str()); }))
            Fail(from, "の名前を変更できません。", errno);
    }

    void Remove(const std::string& path) override {
        if (!WhileOpenElsewhere([&] { return ::unlink(path.c_str()); }))
            Fail(path, "を削除できません。", errno);
    }

    void Touch(const std::string& path) override {
        if (::utimensat(AT_FDCWD, path.c_str(), nullptr, 0) != 0)
            Fail(path, "に書き込めません。", errno);
    }

    bool CanRemoveOpenFiles(const std::string& folder) override {
        const std::string path =
            ScratchName(folder.empty() || folder.back() == '/' ? folder + "Punchbook.probe"
                                                               : folder + "/Punchbook.probe",
                        "new~");
        Fd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
        if (fd.get() < 0)
            Fail(path, "に書き込めません。", errno);
        const bool removed = ::unlink(path.c_str()) == 0;
        fd.Close();
        if (!removed)
            ::unlink(path.c_str());
        return removed;
    }

    bool LocksAreShared(const std::string& folder) const override {
        struct statfs st {};
        if (::statfs(folder.c_str(), &st) != 0)
            return true;  // unknown: the exclusive lock file decides anyway
        return !IsNetworkFileSystem(st.f_type);
    }
    std::vector<std::string> ListFolders(const std::string& folder) const override {
        return Entries(folder, S_IFDIR, true);
    }
    void MakeFolder(const std::string& path) override {
        if (::mkdir(path.c_str(), 0755) != 0 && errno != EEXIST)
            Fail(path, "を作れません。", errno);
    }
    void RemoveFolder(const std::string& path) override {
        if (::rmdir(path.c_str()) != 0)
            Fail(path, "を削除できません。", errno);
    }
};

}  // namespace

void ReadOnlyFileSystem::Refuse(const std::string& path) {
    throw FileError(path, EROFS,
                    path + " に書き込めません。\n読み取り専用で開いているため、保存できません。");
}

FileSystem& RealFileSystem() {
    static PosixFileSystem fs;
    return fs;
}

}  // namespace pb
