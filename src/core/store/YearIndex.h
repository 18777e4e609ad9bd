#pragma once
// Where each employee's months lie in a year's work-data file. With 999
// employees a year file holds 18.8 MB; with its index, finding a month is a
// stat and a lookup, and reading one is a read of its 1568 bytes.
//
// An index is built in one pass over the file through a fixed buffer and kept
// while the file's stamp (size, times, inode) is the one it was built at; the
// program's own writes bring it up to date. Another program or another PC that
// changes the file changes its stamp, and the next look rebuilds the index.
// Readers also check the key of each record they read, so a change that kept
// the stamp is caught as well.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/store/FileSystem.h"

namespace pb {

class YearIndex {
  public:
    // Reads the whole records of the file (a ragged tail is left out).
    static YearIndex Build(const FileSystem& fs, const std::string& path, const FileStamp& stamp);

    // Number of the first record of the ID (as stored) and month.
    std::optional<std::uint32_t> Find(std::string_view storedId, int month) const;
    // Whether the file holds any month of the ID.
    bool Holds(std::string_view storedId) const;
    // Whole records in the file.
    std::uint64_t Records() const { return records_; }
    const FileStamp& Stamp() const { return stamp_; }

    // The record `record` (its first bytes at least: ID and month) follows the
    // ones the index knows, as in the file.
    void Add(const std::uint8_t* record);
    // The file has been written by the program and now has this stamp.
    void Restamp(const FileStamp& stamp) { stamp_ = stamp; }

  private:
    // The stored ID (length byte and up to three bytes) above the month.
    struct Entry {
        std::uint64_t key;
        std::uint32_t record;
    };
    static std::uint64_t KeyOf(std::string_view storedId, int month);

    std::vector<Entry> entries_;  // sorted by key; each key's first record only
    std::uint64_t records_ = 0;
    FileStamp stamp_;
};

// The indexes of the year files looked at so far. Every copy of a DataFiles
// shares one, so the main window and each entry window use the same indexes.
class YearIndexes {
  public:
    // The index of the file as it is now, built or rebuilt when the file is new
    // to it or changed; nothing when the file does not exist.
    const YearIndex* Current(const FileSystem& fs, const std::string& path);
    // The program appended `record` to the file, or wrote it in place
    // (`appended` false); the index follows when it knew the file before.
    void Wrote(const FileSystem& fs, const std::string& path, const Bytes& record, bool appended);
    // The file changed in a way the index cannot follow.
    void Forget(const std::string& path) { indexes_.erase(path); }

  private:
    std::unordered_map<std::string, YearIndex> indexes_;
};

}  // namespace pb
