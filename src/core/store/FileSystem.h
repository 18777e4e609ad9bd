#pragma once
// The one door through which the program touches files. Every store operation
// takes a FileSystem&, so tests can make any single mutation fail and check that
// nothing was lost.

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
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
// Takes the next bytes of a file being written.
using PieceWriter = std::function<void(const std::uint8_t* data, std::size_t size)>;
// Hands a new file's bytes, in order, to the writer it is given.
using PieceSource = std::function<void(const PieceWriter& write)>;

// A name beside `path` for a temporary ("new~") or kept ("old~") copy of it,
// unique to this process and this call, so two copies of the program writing to
// one folder never meet on a name.
std::string ScratchName(const std::string& path, std::string_view kind);
// Whether a file name is one that ScratchName gives (or a temporary of an
// earlier version of the program): nothing but a leftover once no operation is
// under way.
bool IsScratchName(std::string_view name);
// Whether a scratch name is one another copy of the program, running on this
// machine now, gave (its process id and start are in the name): that copy may
// be using it this very moment, so nobody else removes it.
bool IsScratchOfAnotherRunningCopy(std::string_view name);

// An advisory lock on a file, held until it is destroyed.
class AdvisoryLock {
  public:
    virtual ~AdvisoryLock() = default;
};

class FileSystem {
  public:
    virtual ~FileSystem() = default;

    // Only "no such file" is absence: any other failure to look at `path` (a
    // symbolic link loop, no access) throws FileError naming it and the reason.
    virtual bool Exists(const std::string& path) const = 0;
    // Size in bytes of a regular file; nothing when it does not exist. Anything
    // else in its place (a folder) throws FileError, as Exists does.
    virtual std::optional<std::uint64_t> Size(const std::string& path) const = 0;
    virtual Bytes ReadAll(const std::string& path) const = 0;
    // Reads up to `count` bytes at `offset` (fewer at the end of the file).
    virtual Bytes ReadAt(const std::string& path, std::uint64_t offset,
                         std::size_t count) const = 0;
    // The stamp of a regular file; nothing when it does not exist; throws as Size.
    virtual std::optional<FileStamp> Stamp(const std::string& path) const = 0;
    // Hands the file's bytes from `offset` on to `read` in pieces of at most
    // `pieceSize` bytes, all through one buffer, until the file ends or `read`
    // returns false: a file of any size is read in bounded memory.
    virtual void ReadPieces(const std::string& path, std::uint64_t offset, std::size_t pieceSize,
                            const PieceReader& read) const;
    // Names (not paths) of the regular files in a folder, sorted bytewise, and
    // of the entries that cannot be looked at (a link loop): whoever opens one
    // hears what is wrong with it instead of finding it absent.
    virtual std::vector<std::string> List(const std::string& folder) const = 0;
    // Names of the folders in a folder, sorted bytewise; none when it does not exist.
    virtual std::vector<std::string> ListFolders(const std::string& folder) const = 0;
    // An advisory lock on an existing file; nothing when another process holds
    // one. Where the file system has no such locks, a lock that holds nothing.
    virtual std::unique_ptr<AdvisoryLock> TryLock(const std::string& path) const = 0;
    // Whether an advisory lock taken here is seen by every other client of the
    // folder: true on a local disk, false on a network share, where another PC
    // (another mount) never sees it.
    virtual bool LocksAreShared(const std::string& folder) const = 0;
    // Whether a file that is open can be removed (a share refuses it while
    // anybody has it open); tried once on a scratch file of its own, removed again.
    virtual bool CanRemoveOpenFiles(const std::string& folder) = 0;

    // --- mutations: each call is one operation for fault injection ---

    // Writes at `offset` of an existing file, or creates it when missing.
    virtual void WriteAt(const std::string& path, std::uint64_t offset, const Bytes& data) = 0;
    // Writes at the end of the file, creating it when missing. Not O_APPEND,
    // which network shares refuse: the end is taken from the open file, and
    // only the holder of the folder's lock writes, so nobody moves it meanwhile.
    virtual void Append(const std::string& path, const Bytes& data) = 0;
    // Cuts the file back to `size` bytes (which needs no free space).
    virtual void Truncate(const std::string& path, std::uint64_t size) = 0;
    // Writes `content` to a new file under a name nobody else uses, flushed.
    virtual void Create(const std::string& path, const Bytes& content) = 0;
    // The same with the content `source` hands over piece by piece, gathered in
    // one buffer of bounded size: a file of any size written in bounded memory.
    // Should `source` throw, the file is removed and the exception passed on.
    virtual void CreateInPieces(const std::string& path, const PieceSource& source) = 0;
    // Creates `path` holding `content` unless a file of that name exists (then
    // false). Where the file system allows, the file appears complete or not at all.
    // Content and name are flushed to disk, unless `flushed` is false: then the
    // system writes them back in its own time, until a Sync(path). Between the
    // PCs of a network share it need not be exclusive (a FUSE mount of a Samba
    // share looks the name up, then creates plainly): the folder lock does not
    // rely on it there.
    virtual bool CreateExclusive(const std::string& path, const Bytes& content,
                                 bool flushed = true) = 0;
    // A second name for the file as it is now: a hard link, or a flushed copy
    // where the file system has none. Only for a file that is replaced by
    // renaming, never written in place, while the second name exists.
    virtual void Link(const std::string& from, const std::string& to) = 0;
    // Copies a file over `to` (replacing it atomically), flushed to disk.
    virtual void Copy(const std::string& from, const std::string& to) = 0;
    // Writes `content` completely to a new file, flushes it, then renames it over
    // `path` in one step: readers see the old file or the new one, never a part.
    virtual void Replace(const std::string& path, const Bytes& content) = 0;
    // Renames `from` over `to` in one step. Remove and Rename wait a moment
    // while a share refuses them because another PC has the file open.
    virtual void Rename(const std::string& from, const std::string& to) = 0;
    virtual void Remove(const std::string& path) = 0;
    // Sets the file's modification time to now (the folder lock's sign of life).
    virtual void Touch(const std::string& path) = 0;
    // Creates a folder; one that exists already is left as it is.
    virtual void MakeFolder(const std::string& path) = 0;
    // Removes an empty folder.
    virtual void RemoveFolder(const std::string& path) = 0;
    // Makes the renames, removals and new names in the folder so far durable.
    virtual void Flush(const std::string& folder) = 0;
    // Makes a file's content and its name durable.
    virtual void Sync(const std::string& path) = 0;
};

// The machine's own file system (POSIX).
FileSystem& RealFileSystem();

// Passes every call on to another file system; a base for file systems that
// change a few calls (refusing writes, failing on purpose in tests).
class ForwardingFileSystem : public FileSystem {
  public:
    explicit ForwardingFileSystem(FileSystem& inner = RealFileSystem()) : inner_(inner) {}

    bool Exists(const std::string& path) const override { return inner_.Exists(path); }
    std::optional<std::uint64_t> Size(const std::string& path) const override {
        return inner_.Size(path);
    }
    Bytes ReadAll(const std::string& path) const override { return inner_.ReadAll(path); }
    Bytes ReadAt(const std::string& path, std::uint64_t offset, std::size_t count) const override {
        return inner_.ReadAt(path, offset, count);
    }
    std::optional<FileStamp> Stamp(const std::string& path) const override {
        return inner_.Stamp(path);
    }
    void ReadPieces(const std::string& path, std::uint64_t offset, std::size_t pieceSize,
                    const PieceReader& read) const override {
        inner_.ReadPieces(path, offset, pieceSize, read);
    }
    std::vector<std::string> List(const std::string& folder) const override {
        return inner_.List(folder);
    }
    std::vector<std::string> ListFolders(const std::string& folder) const override {
        return inner_.ListFolders(folder);
    }
    std::unique_ptr<AdvisoryLock> TryLock(const std::string& path) const override {
        return inner_.TryLock(path);
    }
    bool LocksAreShared(const std::string& folder) const override {
        return inner_.LocksAreShared(folder);
    }
    bool CanRemoveOpenFiles(const std::string& folder) override {
        return inner_.CanRemoveOpenFiles(folder);
    }
    void WriteAt(const std::string& path, std::uint64_t offset, const Bytes& data) override {
        inner_.WriteAt(path, offset, data);
    }
    void Append(const std::string& path, const Bytes& data) override { inner_.Append(path, data); }
    void Truncate(const std::string& path, std::uint64_t size) override {
        inner_.Truncate(path, size);
    }
    void Create(const std::string& path, const Bytes& content) override {
        inner_.Create(path, content);
    }
    void CreateInPieces(const std::string& path, const PieceSource& source) override {
        inner_.CreateInPieces(path, source);
    }
    bool CreateExclusive(const std::string& path, const Bytes& content,
                         bool flushed = true) override {
        return inner_.CreateExclusive(path, content, flushed);
    }
    void Link(const std::string& from, const std::string& to) override { inner_.Link(from, to); }
    void Copy(const std::string& from, const std::string& to) override { inner_.Copy(from, to); }
    void Replace(const std::string& path, const Bytes& content) override {
        inner_.Replace(path, content);
    }
    void Rename(const std::string& from, const std::string& to) override {
        inner_.Rename(from, to);
    }
    void Remove(const std::string& path) override { inner_.Remove(path); }
    void Touch(const std::string& path) override { inner_.Touch(path); }
    void MakeFolder(const std::string& path) override { inner_.MakeFolder(path); }
    void RemoveFolder(const std::string& path) override { inner_.RemoveFolder(path); }
    void Flush(const std::string& folder) override { inner_.Flush(folder); }
    void Sync(const std::string& path) override { inner_.Sync(path); }

  protected:
    FileSystem& inner_;
};

// The program folder opened read-only (another copy of the program holds it):
// every write is refused with a message naming the data file, until this copy
// takes the folder's lock after all and AllowWrites() lets them through.
class ReadOnlyFileSystem final : public ForwardingFileSystem {
  public:
    using ForwardingFileSystem::ForwardingFileSystem;

    // From now on every call goes through. Called on the window's thread while
    // no other thread writes.
    void AllowWrites() { writable_ = true; }
    bool Writable() const { return writable_; }

    void WriteAt(const std::string& path, std::uint64_t offset, const Bytes& data) override {
        Check(path);
        inner_.WriteAt(path, offset, data);
    }
    void Append(const std::string& path, const Bytes& data) override {
        Check(path);
        inner_.Append(path, data);
    }
    void Truncate(const std::string& path, std::uint64_t size) override {
        Check(path);
        inner_.Truncate(path, size);
    }
    void Create(const std::string& path, const Bytes& content) override {
        Check(path);
        inner_.Create(path, content);
    }
    void CreateInPieces(const std::string& path, const PieceSource& source) override {
        Check(path);
        inner_.CreateInPieces(path, source);
    }
    bool CreateExclusive(const std::string& path, const Bytes& content,
                         bool flushed = true) override {
        Check(path);
        return inner_.CreateExclusive(path, content, flushed);
    }
    void Link(const std::string& from, const std::string& to) override {
        Check(from);
        inner_.Link(from, to);
    }
    void Copy(const std::string& from, const std::string& to) override {
        Check(to);
        inner_.Copy(from, to);
    }
    void Replace(const std::string& path, const Bytes& content) override {
        Check(path);
        inner_.Replace(path, content);
    }
    void Rename(const std::string& from, const std::string& to) override {
        Check(to);
        inner_.Rename(from, to);
    }
    void Remove(const std::string& path) override {
        Check(path);
        inner_.Remove(path);
    }
    void Touch(const std::string& path) override {
        Check(path);
        inner_.Touch(path);
    }
    void MakeFolder(const std::string& path) override {
        Check(path);
        inner_.MakeFolder(path);
    }
    void RemoveFolder(const std::string& path) override {
        Check(path);
        inner_.RemoveFolder(path);
    }
    void Flush(const std::string& folder) override {
        if (writable_)
            inner_.Flush(folder);
    }
    bool CanRemoveOpenFiles(const std::string& folder) override {
        return writable_ && inner_.CanRemoveOpenFiles(folder);
    }

  private:
    // Throws while the folder is read-only.
    void Check(const std::string& path) const {
        if (!writable_)
            Refuse(path);
    }
    [[noreturn]] static void Refuse(const std::string& path);

    std::atomic<bool> writable_ = false;
};

}  // namespace pb
