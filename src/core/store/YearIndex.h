#pragma once
// Where each employee's months lie in a year's work-data file. With 999
// employees a year file holds 18.8 MB; with its index, finding a month is a
// stat and a lookup, and reading one is a read of its 1568 bytes.
//
// An index is filled by reading the file from the start through a 64 KiB
// buffer, only as far as a lookup needs (the start of the program looks at one
// month), and completed while the program is idle. It is kept while the file's
// stamp (size, times, inode) is the one it was read at; the program's own
// writes bring it up to date. Another program or another PC that changes the
// file changes its stamp, and the next look starts the index afresh. Readers
// also check the key of each record they read, so a change that kept the stamp
// is caught as well.

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/store/FileSystem.h"

namespace pb {

// How a file's records stand to the months asked for: none of them is one,
// some are, or every record is.
enum class Share { None, Some, All };

// What a look-up that may read only a little says: whether it knows, and the
// record number when it knows there is one.
struct KnownRecord {
    bool known = false;
    std::optional<std::uint32_t> record;
};

class YearIndex {
  public:
    explicit YearIndex(const FileStamp& stamp);

    // Number of the first record of the ID (as stored) and month, reading on
    // from where the index stopped until it is found or the file ends.
    std::optional<std::uint32_t> Find(const FileSystem& fs, const std::string& path,
                                      std::string_view storedId, int month);
    // How the file's records stand to the month of the ID, or to all its
    // months for month 0 (the whole file is indexed).
    Share ShareOf(const FileSystem& fs, const std::string& path, std::string_view storedId,
                  int month);
    // Answers from the index, reading on for the key at most `budget` bytes
    // (whole pieces of 64 KiB); does not know when that was not enough.
    KnownRecord Look(const FileSystem& fs, const std::string& path, std::string_view storedId,
                     int month, std::uint64_t budget);
    // Reads the rest of the file; with `stop`, only until it is set.
    void Complete(const FileSystem& fs, const std::string& path,
                  const std::atomic<bool>* stop = nullptr) {
        ReadOn(fs, path, std::nullopt, stop);
    }
    bool IsComplete() const { return scanned_ == Records(); }

    // Whole records in the file (a ragged tail is left out).
    std::uint64_t Records() const;
    const FileStamp& Stamp() const { return stamp_; }
    // The program appended `record` (its first bytes at least: ID and month).
    void Appended(const std::uint8_t* record);
    // The file has been written by the program and now has this stamp.
    void Restamp(const FileStamp& stamp) { stamp_ = stamp; }

  private:
    // Reads pieces from the first record not yet indexed until `key` is
    // indexed or the file ends.
    // Reads no more than `limit` bytes, in whole pieces.
    void ReadOn(const FileSystem& fs, const std::string& path, std::optional<std::uint64_t> key,
                const std::atomic<bool>* stop = nullptr, std::uint64_t limit = UINT64_MAX);
    void Add(const std::uint8_t* record);
    std::optional<std::uint32_t> Lookup(std::uint64_t key) const;

    // IDs "000" … "999" with months 0 … 12, as nearly every record has,
    // straight by number: record + 1, 0 for none. Other keys in `other_`.
    std::vector<std::uint32_t> direct_;
    std::unordered_map<std::uint64_t, std::uint32_t> other_;
    std::uint64_t scanned_ = 0;  // records indexed, from the start
    FileStamp stamp_;
};

// A year file's whole index, read apart from the indexes the program looks
// things up in, as a worker thread does it; nothing when the file does not
// exist or `stop` was set before the end. Throws FileError.
std::optional<YearIndex> ReadYearIndex(const FileSystem& fs, const std::string& path,
                                       const std::atomic<bool>& stop);

// The indexes of the year files looked at so far. Every copy of a DataFiles
// shares one, so the main window and each entry window use the same indexes.
// They belong to the thread that owns the DataFiles (the window's): a worker
// reads an index apart (ReadYearIndex) and that thread adopts it.
class YearIndexes {
  public:
    // See YearIndex; nothing and Share::None when the file does not exist.
    std::optional<std::uint32_t> Find(const FileSystem& fs, const std::string& path,
                                      std::string_view storedId, int month);
    Share ShareOf(const FileSystem& fs, const std::string& path, std::string_view storedId,
                  int month);
    void Complete(const FileSystem& fs, const std::string& path);
    // See YearIndex::Look; known and none when the file does not exist.
    KnownRecord Look(const FileSystem& fs, const std::string& path, std::string_view storedId,
                     int month, std::uint64_t budget);
    // Whether the file's index is complete and the file as it was read.
    bool IsIndexed(const FileSystem& fs, const std::string& path) const;
    // Takes over an index read apart when it is complete and the file still
    // has the stamp it was read at. True when the file's index is complete now,
    // false when the file changed since (the index read apart is dropped).
    bool Adopt(const FileSystem& fs, const std::string& path, YearIndex index);

    // The program appended `record` to the file, or wrote it in place
    // (`appended` false); the index follows when it knew the file before.
    void Wrote(const FileSystem& fs, const std::string& path, const Bytes& record, bool appended);
    // The file changed in a way the index cannot follow.
    void Forget(const std::string& path) { indexes_.erase(path); }

  private:
    // The index of the file as it is now, started afresh when the file is new
    // to it or changed; null when the file does not exist.
    YearIndex* Current(const FileSystem& fs, const std::string& path);

    std::unordered_map<std::string, YearIndex> indexes_;
};

}  // namespace pb
