#pragma once
// The yardsticks of the store's benchmarks: the same file work done with plain
// POSIX calls, outside the program's file layer, with the same flushes (fsync
// of each written file, of the folder after a rename or removal). What the
// store costs above these is its own.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace raw {

constexpr std::size_t kBuffer = 65536;

// A call that failed, or read or wrote less than asked (then errno says nothing).
[[noreturn]] inline void Die(const std::string& what) {
    std::perror(what.c_str());
    std::abort();
}

inline int Open(const std::string& path, int flags) {
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC, 0644);
    if (fd < 0)
        Die(path);
    return fd;
}

inline void SyncFolderOf(const std::string& path) {
    const std::string folder = path.substr(0, path.rfind('/'));
    const int fd = Open(folder, O_RDONLY | O_DIRECTORY);
    ::fsync(fd);
    ::close(fd);
}

inline std::uint64_t Size(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        Die(path);
    return static_cast<std::uint64_t>(st.st_size);
}

// The whole file through one 64 KiB buffer; returns the bytes read.
inline std::uint64_t ReadThrough(const std::string& path) {
    const int fd = Open(path, O_RDONLY);
    static char buffer[kBuffer];
    std::uint64_t total = 0;
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;)
        total += static_cast<std::uint64_t>(n);
    ::close(fd);
    return total;
}

// The whole file into memory, as a reader that keeps it.
inline std::vector<char> ReadWhole(const std::string& path) {
    std::vector<char> bytes(Size(path));
    const int fd = Open(path, O_RDONLY);
    std::size_t done = 0;
    errno = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0)
            Die(path);
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
    return bytes;
}

inline std::vector<char> ReadAt(const std::string& path, std::uint64_t offset, std::size_t n) {
    std::vector<char> bytes(n);
    const int fd = Open(path, O_RDONLY);
    errno = 0;
    if (::pread(fd, bytes.data(), n, static_cast<off_t>(offset)) != static_cast<ssize_t>(n))
        Die(path);
    ::close(fd);
    return bytes;
}

// An in-place write made durable.
inline void WriteAt(const std::string& path, std::uint64_t offset, const std::vector<char>& bytes) {
    const int fd = Open(path, O_WRONLY);
    if (::pwrite(fd, bytes.data(), bytes.size(), static_cast<off_t>(offset)) !=
            static_cast<ssize_t>(bytes.size()) ||
        ::fsync(fd) != 0)
        Die(path);
    ::close(fd);
}

// The floor of a change: only the bytes that must change, written once in
// place, and one flush of their data.
inline void WriteOnceFlushOnce(const std::string& path, std::uint64_t offset,
                               const std::vector<char>& bytes) {
    const int fd = Open(path, O_WRONLY);
    if (::pwrite(fd, bytes.data(), bytes.size(), static_cast<off_t>(offset)) !=
            static_cast<ssize_t>(bytes.size()) ||
        ::fdatasync(fd) != 0)
        Die(path);
    ::close(fd);
}

// The floor of taking records out of a file of `size`-byte records: the
// records after the first that goes move down in place through a 64 KiB
// buffer (each byte that must change written once), the file is cut to its
// new length and flushed once. `goes` tells a record that is taken out.
template <typename Goes>
inline void CompactOnceFlushOnce(const std::string& path, std::size_t size, const Goes& goes) {
    const int fd = Open(path, O_RDWR);
    static char buffer[kBuffer];
    const std::size_t piece = kBuffer / size * size;
    std::uint64_t readAt = 0, writeAt = 0;
    bool moving = false;
    for (ssize_t n; (n = ::pread(fd, buffer, piece, static_cast<off_t>(readAt))) > 0;) {
        readAt += static_cast<std::uint64_t>(n);
        std::size_t kept = 0;
        for (std::size_t o = 0; o + size <= static_cast<std::size_t>(n); o += size) {
            if (goes(buffer + o)) {
                moving = true;
                continue;
            }
            if (moving && kept != o)
                std::memmove(buffer + kept, buffer + o, size);
            kept += moving ? size : 0;
            if (!moving)
                writeAt += size;
        }
        if (moving && kept > 0) {
            if (::pwrite(fd, buffer, kept, static_cast<off_t>(writeAt)) !=
                static_cast<ssize_t>(kept))
                Die(path);
            writeAt += kept;
        }
    }
    if (::ftruncate(fd, static_cast<off_t>(writeAt)) != 0 || ::fdatasync(fd) != 0)
        Die(path);
    ::close(fd);
}

inline void Append(const std::string& path, const std::vector<char>& bytes) {
    const int fd = Open(path, O_WRONLY | O_APPEND | O_CREAT);
    if (::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()) ||
        ::fsync(fd) != 0)
        Die(path);
    ::close(fd);
}

// Copies `from` to `temp` through a 64 KiB buffer, flushes it and renames it
// over `to`: one durable copy.
inline void CopyDurably(const std::string& from, const std::string& temp, const std::string& to) {
    const int in = Open(from, O_RDONLY);
    const int out = Open(temp, O_WRONLY | O_CREAT | O_TRUNC);
    static char buffer[kBuffer];
    for (ssize_t n; (n = ::read(in, buffer, sizeof buffer)) > 0;)
        if (::write(out, buffer, static_cast<std::size_t>(n)) != n)
            Die(temp);
    if (::fsync(out) != 0)
        Die(temp);
    ::close(out);
    ::close(in);
    if (::rename(temp.c_str(), to.c_str()) != 0)
        Die(to);
    SyncFolderOf(to);
}

// A file written whole under a new name and flushed, as a temporary file is.
inline void Create(const std::string& path, const std::vector<char>& bytes) {
    const int fd = Open(path, O_WRONLY | O_CREAT | O_TRUNC);
    if (::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()) ||
        ::fsync(fd) != 0)
        Die(path);
    ::close(fd);
}

inline void Link(const std::string& from, const std::string& to) {
    if (::link(from.c_str(), to.c_str()) != 0)
        Die(to);
}

inline void Rename(const std::string& from, const std::string& to) {
    if (::rename(from.c_str(), to.c_str()) != 0)
        Die(to);
}

inline void Unlink(const std::string& path) {
    if (::unlink(path.c_str()) != 0)
        Die(path);
}

// A small file that appears whole or not at all: written and flushed under a
// name of its own, linked to its name, the folder flushed.
inline void CreateWhole(const std::string& path, const std::vector<char>& bytes) {
    Create(path + "~", bytes);
    Link(path + "~", path);
    Unlink(path + "~");
    SyncFolderOf(path);
}

inline void Remove(const std::string& path) {
    if (::unlink(path.c_str()) != 0)
        Die(path);
    SyncFolderOf(path);
}

// Bytes this process has read through read(2) and friends so far, page cache
// or not.
inline std::uint64_t BytesReadByProcess() {
    std::ifstream io("/proc/self/io");
    std::string key;
    std::uint64_t value = 0;
    while (io >> key >> value)
        if (key == "rchar:")
            return value;
    return 0;
}

// The resident set now and at its peak since the last ResetPeakMemory(), in bytes.
inline std::uint64_t StatusField(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string key;
    for (std::string line; std::getline(status, line);)
        if (line.rfind(field, 0) == 0)
            return std::strtoull(line.c_str() + std::string(field).size(), nullptr, 10) * 1024;
    return 0;
}
inline std::uint64_t ResidentMemory() {
    return StatusField("VmRSS:");
}
inline std::uint64_t PeakMemory() {
    return StatusField("VmHWM:");
}
inline void ResetPeakMemory() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

}  // namespace raw
