#include "core/store/FileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

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

void WriteFully(int fd, const std::string& path, const Bytes& data, off_t offset) {
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n =
            ::pwrite(fd, data.data() + done, data.size() - done, offset + static_cast<off_t>(done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            Fail(path, "に書き込めません。", errno);
        }
        done += static_cast<std::size_t>(n);
    }
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

class PosixFileSystem final : public FileSystem {
  public:
    bool Exists(const std::string& path) const override {
        struct stat st {};
        return ::stat(path.c_str(), &st) == 0;
    }

    std::optional<std::uint64_t> Size(const std::string& path) const override {
        struct stat st {};
        if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
            return std::nullopt;
        return static_cast<std::uint64_t>(st.st_size);
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
        struct stat st {};
        if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
            return std::nullopt;
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
        std::vector<std::string> names;
        DIR* dir = ::opendir(folder.c_str());
        if (dir == nullptr)
            Fail(folder, "を開けません。", errno);
        while (const dirent* entry = ::readdir(dir)) {
            const std::string name = entry->d_name;
            if (name == "." || name == "..")
                continue;
            struct stat st {};
            const std::string full =
                folder.empty() || folder.back() == '/' ? folder + name : folder + "/" + name;
            if (::stat(full.c_str(), &st) == 0 && S_ISREG(st.st_mode))
                names.push_back(name);
        }
        ::closedir(dir);
        // Directory order differs between file systems; callers get one order.
        std::sort(names.begin(), names.end());
        return names;
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
        const off_t end = ::lseek(fd.get(), 0, SEEK_END);
        if (end < 0)
            Fail(path, "に書き込めません。", errno);
        WriteFully(fd.get(), path, data, end);
        if (::fsync(fd.get()) != 0 || fd.Close() != 0)
            Fail(path, "に書き込めません。", errno);
    }

    void Copy(const std::string& from, const std::string& to) override {
        Replace(to, ReadAll(from));
    }

    void Replace(const std::string& path, const Bytes& content) override {
        const std::string temp = path + ".new~";
        {
            Fd fd(::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
            if (fd.get() < 0)
                Fail(path, "に書き込めません。", errno);
            // The new file takes the old one's permissions, as an in-place write would.
            struct stat old {};
            if (::stat(path.c_str(), &old) == 0)
                ::fchmod(fd.get(), old.st_mode & 07777);
            try {
                WriteFully(fd.get(), temp, content, 0);
            } catch (const FileError& e) {
                ::unlink(temp.c_str());
                Fail(path, "に書き込めません。", e.error());
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
        if (::rename(from.c_str(), to.c_str()) != 0)
            Fail(from, "の名前を変更できません。", errno);
        SyncFolder(to);
    }

    void Remove(const std::string& path) override {
        if (::unlink(path.c_str()) != 0)
            Fail(path, "を削除できません。", errno);
        SyncFolder(path);
    }
};

}  // namespace

FileSystem& RealFileSystem() {
    static PosixFileSystem fs;
    return fs;
}

}  // namespace pb
