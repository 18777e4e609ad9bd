#pragma once
// A file system for tests and benchmarks: it passes every call to another file
// system, counts the mutating calls and can make one of them fail, or stop
// every mutation from one call on as a killed process would.

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core/store/FileSystem.h"

namespace pb {

class FaultyFileSystem final : public ForwardingFileSystem {
  public:
    explicit FaultyFileSystem(FileSystem& inner = RealFileSystem()) : ForwardingFileSystem(inner) {}

    // Makes the `n`th mutating call from now on (1-based) fail with `error`.
    // With `shortWrite`, a WriteAt/Append/Create first writes half its bytes
    // (straight into the target, as a torn write would); a CreateInPieces
    // fails in the middle of its first piece, its source half read.
    void FailAt(int n, int error = 5 /* EIO */, bool shortWrite = false);
    // From the `n`th mutating call on, nothing is written any more and every
    // mutation throws, as if the process had been killed there. With `torn`,
    // the `n`th call leaves half its bytes behind (a Replace or CreateExclusive
    // in its temporary file).
    void CrashAt(int n, bool torn = false);
    // From now on refuse what a file server's share refuses: no hard links (a
    // link is a copy, as the real one falls back to), no O_APPEND (EIO), no
    // removing or renaming a file that is open (EBUSY; held open by a TryLock
    // here), advisory locks nobody else sees (every TryLock is granted), and a
    // CreateExclusive that looks the name up and then creates the file plainly,
    // as a FUSE mount of a Samba share does.
    void ActLikeShare() { share_ = true; }
    // On a share: `other` runs once between the look and the creation of the
    // next CreateExclusive of `path`, as another PC doing the same at that
    // moment would.
    void BetweenLookAndCreate(const std::string& path, std::function<void()> other) {
        racePath_ = path;
        race_ = std::move(other);
    }
    void Disarm() {
        failAt_ = 0;
        crashed_ = false;
    }
    // Mutating calls since construction or the last ResetCount().
    int MutationCount() const { return count_; }
    // An armed failure stays on the same call.
    void ResetCount() {
        if (failAt_ != 0)
            failAt_ -= count_;
        count_ = 0;
    }
    // "op path" of every mutating call, in order.
    const std::vector<std::string>& Log() const { return log_; }
    bool Failed() const { return failed_; }
    // Bytes handed out by the reading calls so far.
    std::uint64_t BytesRead() const { return bytesRead_; }
    // From now on the stamp of `path` stays what it is now, as when another
    // program changes the file within the clock's resolution.
    void HoldStamp(const std::string& path) { held_[path] = inner_.Stamp(path); }
    // From now on no file can be read (ReadAll, ReadAt, ReadPieces and the
    // source of Copy fail with `error`), as when the folder's permissions change
    // under the running program; 0 makes them readable again.
    void FailReads(int error = 13 /* EACCES */) { readError_ = error; }

    Bytes ReadAll(const std::string& path) const override {
        CheckRead(path);
        return Counted(inner_.ReadAll(path));
    }
    Bytes ReadAt(const std::string& path, std::uint64_t offset, std::size_t count) const override {
        CheckRead(path);
        return Counted(inner_.ReadAt(path, offset, count));
    }
    std::optional<FileStamp> Stamp(const std::string& path) const override {
        const auto held = held_.find(path);
        return held != held_.end() ? held->second : inner_.Stamp(path);
    }
    void ReadPieces(const std::string& path, std::uint64_t offset, std::size_t pieceSize,
                    const PieceReader& read) const override {
        CheckRead(path);
        inner_.ReadPieces(path, offset, pieceSize, [&](const std::uint8_t* data, std::size_t size) {
            bytesRead_ += size;
            return read(data, size);
        });
    }

    std::unique_ptr<AdvisoryLock> TryLock(const std::string& path) const override;
    bool LocksAreShared(const std::string& folder) const override {
        return !share_ && inner_.LocksAreShared(folder);
    }
    bool CanRemoveOpenFiles(const std::string& folder) override {
        return !share_ && inner_.CanRemoveOpenFiles(folder);
    }

    void WriteAt(const std::string& path, std::uint64_t offset, const Bytes& data) override;
    void Append(const std::string& path, const Bytes& data) override;
    void Truncate(const std::string& path, std::uint64_t size) override;
    void Create(const std::string& path, const Bytes& content) override;
    void CreateInPieces(const std::string& path, const PieceSource& source) override;
    bool CreateExclusive(const std::string& path, const Bytes& content,
                         bool flushed = true) override;
    void Link(const std::string& from, const std::string& to) override;
    void Copy(const std::string& from, const std::string& to) override;
    void Replace(const std::string& path, const Bytes& content) override;
    void Rename(const std::string& from, const std::string& to) override;
    void Remove(const std::string& path) override;
    void Touch(const std::string& path) override;
    void MakeFolder(const std::string& path) override;
    void RemoveFolder(const std::string& path) override;
    // A folder's flush is a call of its own ("flush <folder>" in the log), so a
    // test sees whether renames and removals were made durable before the
    // journal or a backup day's name said they were.
    void Flush(const std::string& folder) override;

  private:
    // Counts the call; true when this one is to fail (the failure not yet thrown).
    bool Next(const std::string& op, const std::string& path);
    bool Torn() const { return shortWrite_ && !dead_; }
    [[noreturn]] void Throw(const std::string& path);
    // On a share: refuses with EBUSY when `path` is held open.
    void RefuseWhileOpen(const std::string& path) const;
    void CheckRead(const std::string& path) const;
    Bytes Counted(Bytes bytes) const {
        bytesRead_ += bytes.size();
        return bytes;
    }

    int count_ = 0;
    int failAt_ = 0;
    int error_ = 5;
    bool shortWrite_ = false;
    bool failed_ = false;
    bool crashed_ = false;  // armed to stop everything from failAt_ on
    bool dead_ = false;     // stopped: every mutation fails at once
    std::vector<std::string> log_;
    // Reads may come from a worker thread (the year index read apart).
    mutable std::atomic<std::uint64_t> bytesRead_ = 0;
    std::atomic<int> readError_ = 0;
    std::map<std::string, std::optional<FileStamp>> held_;
    bool share_ = false;
    std::string racePath_;
    std::function<void()> race_;
    // The files a TryLock holds open, for as long as its lock lives.
    std::shared_ptr<std::multiset<std::string>> open_ =
        std::make_shared<std::multiset<std::string>>();
};

}  // namespace pb
