#pragma once
// The one door through which the program touches files. Every store operation
// takes a FileSystem&, so tests can make any single mutation fail and check that
// nothing was lost.

#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/common/RecordFields.h"

namespace pb {

// A failed file operation. what() is the message shown to the operator: it
// names the file and the reason.
class FileError : public std::runtime_error {
  public:
    FileError(std::string path, int error, const std::string& message);
    const std::string& path() const { return path_; }
    int error() const { return error_; }

  private:
    std::string path_;
    int error_;
};

// The operator-facing reason for an errno value.
std::string ErrorReason(int error);

// What tells one state of a file from another without reading it: a write
// changes the times, a replacement the inode as well.
struct FileStamp {
    std::uint64_t size = 0;
    std::int64_t modified = 0;  // nanoseconds
    std::int64_t changed = 0;   // nanoseconds; unlike `modified`, no program can set it back
    std::uint64_t inode = 0;

    bool operator==(const FileStamp&) const = default;
};

// Receives a file piece by piece; returns false to stop reading.
using PieceReader = std::function<bool(const std::uint8_t* data, std::size_t size)>;

class FileSystem {
  public:
    virtual ~FileSystem() = default;

    virtual bool Exists(const std::string& path) const = 0;
    // Size in bytes of a regular file; nothing when it does not exist.
    virtual std::optional<std::uint64_t> Size(const std::string& path) const = 0;
    virtual Bytes ReadAll(const std::string& path) const = 0;
    // Reads up to `count` bytes at `offset` (fewer at the end of the file).
    virtual Bytes ReadAt(const std::string& path, std::uint64_t offset,
                         std::size_t count) const = 0;
    // The stamp of a regular file; nothing when it does not exist.
    virtual std::optional<FileStamp> Stamp(const std::string& path) const = 0;
    // Hands the file's bytes from `offset` on to `read` in pieces of at most
    // `pieceSize` bytes, all through one buffer, until the file ends or `read`
    // returns false: a file of any size is read in bounded memory.
    virtual void ReadPieces(const std::string& path, std::uint64_t offset, std::size_t pieceSize,
                            const PieceReader& read) const;
    // Names (not paths) of the regular files in a folder, sorted bytewise.
    virtual std::vector<std::string> List(const std::string& folder) const = 0;

    // --- mutations: each call is one operation for fault injection ---

    // Writes at `offset` of an existing file, or creates it when missing.
    virtual void WriteAt(const std::string& path, std::uint64_t offset, const Bytes& data) = 0;
    // Appends to the file, creating it when missing.
    virtual void Append(const std::string& path, const Bytes& data) = 0;
    // Copies a file over `to` (replacing it atomically), flushed to disk.
    virtual void Copy(const std::string& from, const std::string& to) = 0;
    // Writes `content` completely to a new file, flushes it, then renames it over
    // `path` in one step: readers see the old file or the new one, never a part.
    virtual void Replace(const std::string& path, const Bytes& content) = 0;
    // Renames `from` over `to` in one step.
    virtual void Rename(const std::string& from, const std::string& to) = 0;
    virtual void Remove(const std::string& path) = 0;
};

// The machine's own file system (POSIX).
FileSystem& RealFileSystem();

}  // namespace pb
